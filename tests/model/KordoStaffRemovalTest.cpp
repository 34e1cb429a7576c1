#include "KordoStaffRemoval.h"

#include "ClubForm.h"
#include "StaffForm.h"

#include "KordoCheck.h"
#include "KordoGenerator.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

template <class List, class Value> bool Lists(const List& list, const Value& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool Names(const std::vector<TKordoRelation>& relations, TKordoStaff* staff) {
    return std::any_of(relations.begin(), relations.end(), [&](const TKordoRelation& entry) {
        return entry.Kind == KordoKindPerson && entry.Target == staff;
    });
}

// Every place a person can be named from, in memory.
int References(TKordoPregameDatabase& database, TKordoStaff* staff) {
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

// As the editors show it: clubs and people who liked or disliked a deleted person list him no more,
// and no saved entry names his ID.
TEST(StaffRemoval, PreferencesForADeletedPersonGoWithHim) {
    TKordoPregameDatabase database;
    KordoGenerate(database, {400, 4, false});
    database.IndexAll();
    TKordoStaff* gone = database.Staffs.Item(5);
    const int32_t id = gone->ID();
    ClubForm clubs;
    clubs.Bind(&database);
    StaffForm people;
    people.Bind(&database);
    auto lines = [](const TKordoForm& form, const char* list) { return form.Control(list).Items.size(); };
    for (int32_t row : {0, 1}) {
        clubs.Focus(database.Clubs.Item(row));
        ASSERT_TRUE(clubs.AddPreference(row ? "lboxDislikedStaff" : "lboxFavouriteStaff", gone, 40));
    }
    const auto& everyone = database.Staffs.List();
    TKordoStaff* fan = *std::find_if(everyone.begin(), everyone.end(), [gone](const TKordoStaff* s) {
        return s != gone && s->StaffType() != KordoStaffReferee;
    });
    people.Focus(fan);
    ASSERT_TRUE(people.AddPreference("lboxFavouriteStaff", gone, 60));
    const size_t fanLines = lines(people, "lboxFavouriteStaff");
    clubs.Focus(database.Clubs.Item(0));
    const size_t clubLines = lines(clubs, "lboxFavouriteStaff");

    people.Current = nullptr; // as the editor lets go of him before he goes
    KordoDeleteStaff(database, gone);
    clubs.Focus(database.Clubs.Item(0));
    EXPECT_EQ(lines(clubs, "lboxFavouriteStaff"), clubLines - 1);
    clubs.Focus(database.Clubs.Item(1));
    for (const TKordoListItem& item : clubs.Control("lboxDislikedStaff").Items)
        EXPECT_NE(item.Record, gone);
    people.Focus(fan);
    EXPECT_EQ(lines(people, "lboxFavouriteStaff"), fanLines - 1);

    TScratch scratch;
    ASSERT_TRUE(database.Save(scratch.Root)) << database.LastError();
    TKordoPregameDatabase loaded;
    ASSERT_TRUE(loaded.Load(scratch.Root)) << loaded.LastError();
    auto namesHim = [id](const std::vector<TKordoRelation>& relations) {
        return std::any_of(relations.begin(), relations.end(), [id](const TKordoRelation& entry) {
            return entry.Kind == KordoKindPerson && entry.StoredTarget == static_cast<uint32_t>(id);
        });
    };
    for (int32_t row = 0; row < loaded.Clubs.Count(); ++row)
        EXPECT_FALSE(namesHim(loaded.Clubs.Item(row)->Relations)) << "club " << row;
    for (const TKordoStaff* staff : loaded.Staffs.List())
        EXPECT_FALSE(namesHim(staff->Relations)) << staff->ID();
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
