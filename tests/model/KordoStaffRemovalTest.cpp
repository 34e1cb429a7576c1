#include "KordoStaffRemoval.h"

#include "KordoCheck.h"
#include "KordoGenerator.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

template <class List, class Value> bool Lists(const List& list, const Value& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool Names(const std::vector<TKordoRelation>& relations, const TKordoStaff* staff) {
    return std::any_of(relations.begin(), relations.end(), [&](const TKordoRelation& entry) {
        return entry.Kind == KordoKindPerson && entry.Target == staff;
    });
}

// Every place a person can be named from, in memory.
int References(TKordoPregameDatabase& database, const TKordoStaff* staff) {
    int found = 0;
    for (TKordoSquad& squad : database.Squads.Records)
        found += Lists(squad.Players, staff) + Lists(squad.Coaches, staff) + Lists(squad.Physios, staff) +
                 (squad.Manager == staff);
    for (TKordoClub& club : database.Clubs.Records)
        found += Lists(club.BoardMembers, staff) + Lists(club.Scouts, staff) + (club.Chairman == staff) +
                 Names(club.Relations, staff);
    for (TKordoStaff* other : database.Staffs.List())
        found += Names(other->Relations, staff);
    return found;
}

TKordoRelation PersonEntry(TKordoStaff* target, uint8_t relation) {
    TKordoRelation entry;
    entry.Kind = KordoKindPerson;
    entry.Relation = relation;
    entry.Amount = 50;
    entry.Target = target;
    return entry;
}

} // namespace

// Beyond the lists of his jobs, the person is named where his jobs do not say: in another club's
// chairman field and board, a second squad's lists and as its manager, and among other people's
// and clubs' preferences. None of it may survive him.
TEST(StaffRemoval, LeavesNoReferenceAndKeepsTheCountsTrue) {
    TKordoPregameDatabase database;
    KordoGenerate(database, {2000, 3, false});
    database.IndexAll();
    auto people = database.Staffs.List();
    auto hasAll = [](const TKordoStaff* s) {
        return s->ClubSquad && s->FirstName && s->SecondName && s->MentalAtts && s->Nation;
    };
    TKordoStaff* staff = *std::find_if(people.begin(), people.end(), hasAll);
    TKordoClub* otherClub = &database.Clubs.Records.back();
    TKordoSquad* otherSquad = &database.Squads.Records.back();
    otherClub->Chairman = staff;
    otherClub->BoardMembers.push_back(staff);
    otherClub->Relations.push_back(PersonEntry(staff, KordoRelationDislikedPerson));
    otherSquad->Coaches.push_back(staff);
    otherSquad->Players.push_back(staff);
    otherSquad->Manager = staff;
    for (int i : {0, 1, 2})
        if (people[static_cast<size_t>(i)] != staff)
            people[static_cast<size_t>(i)]->Relations.push_back(
                PersonEntry(staff, KordoRelationFavouritePerson));
    ASSERT_GE(References(database, staff), 8);

    TKordoName* first = staff->FirstName;
    uint16_t firstUses = first->UseCount();
    TKordoNation* nation = staff->Nation;
    uint32_t nationCount = nation->StaffCount();
    int32_t staffCount = database.Staffs.Count(), mentalCount = database.MentalAtts.Count();
    int32_t id = staff->ID();
    database.Modified = false;

    KordoDeleteStaff(database, staff);
    EXPECT_EQ(References(database, staff), 0);
    EXPECT_EQ(database.Staffs.Count(), staffCount - 1);
    EXPECT_FALSE(Lists(database.Staffs.List(), staff));
    EXPECT_EQ(database.MentalAtts.Count(), mentalCount - 1);
    EXPECT_EQ(nation->StaffCount(), nationCount - 1);
    if (firstUses > 1)
        EXPECT_EQ(first->UseCount(), firstUses - 1);
    else
        EXPECT_FALSE(Lists(database.FirstNames.List(), first));
    EXPECT_TRUE(database.Modified);

    // Saved and loaded again, nothing points at his ID and the checker finds nothing new.
    std::vector<std::string> before = KordoCheckDatabase(database);
    TScratch scratch;
    ASSERT_TRUE(database.Save(scratch.Root)) << database.LastError();
    TKordoPregameDatabase loaded;
    ASSERT_TRUE(loaded.Load(scratch.Root)) << loaded.LastError();
    EXPECT_EQ(loaded.Staffs.Count(), staffCount - 1);
    for (TKordoSquad& squad : loaded.Squads.Records) {
        for (const auto* list : {&squad.StoredPlayers, &squad.StoredCoaches, &squad.StoredPhysios})
            EXPECT_FALSE(Lists(*list, static_cast<uint32_t>(id)));
        EXPECT_NE(squad.StoredManager(), static_cast<uint32_t>(id));
    }
    std::vector<std::string> after = KordoCheckDatabase(loaded);
    for (const std::string& finding : after)
        EXPECT_NE(std::find(before.begin(), before.end(), finding), before.end()) << finding;
}

TEST(StaffRemoval, ADamagedZeroNationCountDoesNotWrap) {
    TKordoPregameDatabase database;
    KordoGenerate(database, {300, 5, false});
    database.IndexAll();
    const auto& people = database.Staffs.List();
    TKordoStaff* staff = *std::find_if(people.begin(), people.end(), [](auto* s) { return s->Nation; });
    staff->Nation->SetStaffCount(0);
    KordoDeleteStaff(database, staff);
    EXPECT_EQ(staff->Nation->StaffCount(), 0u);
}
