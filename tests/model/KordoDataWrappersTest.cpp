#include "KordoDataWrappers.h"
#include "KordoClubRelations.h"

#include <gtest/gtest.h>

using namespace std::chrono;

namespace {

// A club with one squad and a few people, linked as indexing links them.
struct TWorld {
    TKordoClub Club, OtherClub, ThirdClub;
    TKordoSquad Squad, NationalSquad;
    TKordoNation Nation;
    TKordoStaff P, Q, R;
    TWorld() {
        Squad.SetSquadKind(KordoClubSquad);
        Squad.OwnerClub = &Club;
        Club.Squads.push_back(&Squad);
        NationalSquad.SetSquadKind(KordoNationalSquad);
        NationalSquad.OwnerNation = &Nation;
    }
};

TKordoRelation Entry(uint8_t kind, uint8_t relation, uint16_t amount, TKordoRecordRef target) {
    TKordoRelation entry;
    entry.Kind = kind;
    entry.Relation = relation;
    entry.Amount = amount;
    entry.Target = target;
    return entry;
}

std::vector<std::pair<TKordoRecordRef, uint16_t>> Targets(const std::vector<TKordoRelation>& relations) {
    std::vector<std::pair<TKordoRecordRef, uint16_t>> result;
    for (const TKordoRelation& e : relations)
        result.emplace_back(e.Target, e.Amount);
    return result;
}

} // namespace

TEST(StaffWrapper, ContractSettersActOnlyOnAPresentBlock) {
    TKordoStaff staff;
    TKordoStaffWrapper wrapper(&staff);
    wrapper.SetClubWage(500);
    wrapper.SetClubSquadNumber(7);
    wrapper.SetClubContractExpires(sys_days(2010y / June / 30));
    EXPECT_EQ(staff.ClubEstimatedWage(), 0u);
    EXPECT_EQ(staff.ClubSquadNumber(), 0);
    staff.SetClubEstimatedWage(42);
    staff.SetStoredClubEmployer(9);
    wrapper.InitClubContract();
    // The fixed bytes are written; employer, wage, expiry and number are left for the editor.
    EXPECT_EQ(staff.HasClubContract(), 1);
    EXPECT_EQ(staff.ClubEstimatedWage(), 42u);
    EXPECT_EQ(staff.StoredClubEmployer(), 9u);
    EXPECT_EQ(staff.Image[KordoClubContract + 52], 25);
    wrapper.SetClubSquadNumber(-1);
    EXPECT_EQ(staff.ClubSquadNumber(), 255);
    wrapper.SetClubWage(500);
    EXPECT_EQ(staff.ClubEstimatedWage(), 500u);

    staff.SetNationEstimatedWage(77);
    staff.SetNationSquadNumber(5);
    wrapper.InitNationContract();
    EXPECT_EQ(staff.NationEstimatedWage(), 0u);
    EXPECT_EQ(staff.NationSquadNumber(), 0);
    EXPECT_EQ(staff.Image[KordoNationContract + KordoContractIsNation], 1);
    EXPECT_EQ(staff.Image[KordoNationContract + 40], 255);
}

TEST(StaffWrapper, IsListedForClubJobFollowsTheJobsLists) {
    TWorld w;
    TKordoStaffWrapper p(&w.P);
    EXPECT_FALSE(p.IsListedForClubJob(0)); // no squad: false whatever the code
    w.P.ClubSquad = &w.Squad;
    EXPECT_TRUE(p.IsListedForClubJob(0));
    EXPECT_FALSE(p.IsListedForClubJob(5));
    w.Squad.Players.push_back(&w.P);
    EXPECT_TRUE(p.IsListedForClubJob(1));
    EXPECT_FALSE(p.IsListedForClubJob(3)); // a player who is not also a coach
    w.Squad.Coaches.push_back(&w.P);
    EXPECT_TRUE(p.IsListedForClubJob(3));
    EXPECT_TRUE(p.IsListedForClubJob(20)); // assistant managers are kept among the coaches
}

TEST(StaffWrapper, JoiningAndLeavingKeepListsInStep) {
    TWorld w;
    TKordoStaffWrapper p(&w.P);
    ASSERT_TRUE(p.JoinClubJob(&w.Squad, 1));
    ASSERT_TRUE(p.JoinClubJob(&w.Squad, 1));
    EXPECT_EQ(w.Squad.Players, std::vector<TKordoStaff*>{&w.P});
    w.P.ClubSquad = &w.Squad;
    w.P.SetClubJob(1);
    p.LeaveClubJob();
    EXPECT_TRUE(w.Squad.Players.empty());
    // A national player is in no list of the national squad.
    ASSERT_TRUE(p.JoinNationJob(&w.NationalSquad, 1));
    EXPECT_TRUE(w.NationalSquad.Players.empty());
}

TEST(Wrappers, ANewChairmanOrManagerReleasesTheOldOne) {
    TWorld w;
    w.Club.Chairman = &w.Q;
    w.Q.ClubSquad = &w.Squad;
    w.Q.SetClubJob(4);
    w.Q.SetHasClubContract(1);
    TKordoStaffWrapper(&w.P).JoinClubJob(&w.Squad, 4);
    EXPECT_EQ(w.Club.Chairman, &w.P);
    EXPECT_EQ(w.Q.ClubSquad, nullptr);
    EXPECT_EQ(w.Q.ClubJob(), 0);
    EXPECT_EQ(w.Q.DateJoined(), (TKordoGameDate{0, 1900}));
    EXPECT_EQ(w.Q.HasClubContract(), 1); // a chairman's contract is left alone

    w.Squad.Manager = &w.Q;
    w.Squad.Players.push_back(&w.Q);
    w.Q.ClubSquad = &w.Squad;
    TKordoSquadWrapper(&w.Squad).SetManager(&w.P);
    EXPECT_EQ(w.Q.ClubSquad, nullptr);
    EXPECT_EQ(w.Q.HasClubContract(), 0);
    EXPECT_EQ(w.Squad.Players, std::vector<TKordoStaff*>{&w.Q}); // other lists keep him

    // Setting the manager again releases the manager himself but keeps him in the post.
    w.P.ClubSquad = &w.Squad;
    w.P.SetHasClubContract(1);
    TKordoSquadWrapper(&w.Squad).SetManager(&w.P);
    EXPECT_EQ(w.Squad.Manager, &w.P);
    EXPECT_EQ(w.P.ClubSquad, nullptr);

    w.NationalSquad.Manager = &w.R;
    w.R.NationSquad = &w.NationalSquad;
    w.R.ClubSquad = &w.Squad;
    TKordoSquadWrapper(&w.NationalSquad).SetNationalManager(&w.P);
    EXPECT_EQ(w.R.NationSquad, nullptr);
    EXPECT_EQ(w.R.ClubSquad, &w.Squad); // only national fields change
}

TEST(StaffWrapper, SecondNationAndPreferencesKeepOneEntryPerTarget) {
    TWorld w;
    TKordoStaffWrapper p(&w.P);
    p.SetSecondNation(nullptr);
    EXPECT_TRUE(w.P.Relations.empty());
    TKordoNation other;
    p.SetSecondNation(&w.Nation);
    p.SetSecondNation(&other);
    ASSERT_EQ(w.P.Relations.size(), 1u);
    EXPECT_EQ(p.GetSecondNation(), &other);
    EXPECT_EQ(w.P.Relations[0].Amount, 15);

    p.AddStaffPreference(&w.Q, true, 50);
    p.AddStaffPreference(&w.Q, false, 80);
    TKordoRelation* entry = p.FindStaffPreference(&w.Q);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Relation, KordoRelationDislikedPerson);
    EXPECT_EQ(entry->Amount, 80);
    EXPECT_EQ(w.P.Relations.size(), 2u);

    w.P.Relations = {Entry(1, 3, 10, &w.Club), Entry(3, 1, 10, &w.Q), Entry(1, 4, 10, &w.OtherClub)};
    p.RemoveClubPreference(&w.Club);
    EXPECT_EQ(Targets(w.P.Relations),
              (std::vector<std::pair<TKordoRecordRef, uint16_t>>{{&w.Q, 10}, {&w.OtherClub, 10}}));
}

TEST(Wrappers, ListsStopAtWhatTheFileCanStore) {
    TWorld w;
    std::vector<TKordoStaff> crowd(255);
    for (TKordoStaff& person : crowd)
        w.Squad.Coaches.push_back(&person);
    TKordoStaffWrapper p(&w.P);
    w.Squad.Players.clear();
    EXPECT_FALSE(p.JoinClubJob(&w.Squad, 3)); // the coaches are full: nothing changes
    EXPECT_TRUE(w.Squad.Players.empty());
    EXPECT_TRUE(TKordoStaffWrapper(&crowd[0]).JoinClubJob(&w.Squad, 2)); // already listed

    for (int i = 0; i < 255; ++i)
        w.P.Relations.push_back(Entry(3, 1, 5, &crowd[static_cast<size_t>(i)]));
    EXPECT_FALSE(p.AddClubPreference(&w.Club, true, 50));
    EXPECT_TRUE(p.AddStaffPreference(&crowd[3], false, 50)); // changing an entry is fine
    EXPECT_EQ(w.P.Relations.size(), 255u);

    // A club's rival counts twice, because saving writes a copy of it.
    TKordoClubWrapper club(&w.Club);
    std::vector<TKordoClub> rivals(127);
    for (TKordoClub& rival : rivals)
        ASSERT_TRUE(club.AddRival(&rival, 50));
    EXPECT_EQ(KordoSavedRelationCount(w.Club), 254u);
    EXPECT_FALSE(club.AddRival(&w.OtherClub, 50));
    EXPECT_TRUE(club.AddStaffPreference(&w.P, true, 50));
    EXPECT_FALSE(club.AddStaffPreference(&w.Q, true, 50));
}

TEST(ClubWrapper, SortDoublesRivalsAndCleanFoldsThemBack) {
    TWorld w;
    TKordoClub& a = w.OtherClub;
    TKordoClub& b = w.ThirdClub;
    w.Club.Relations = {Entry(3, 1, 30, &w.P), Entry(1, 5, 60, &a), Entry(1, 5, 80, &b)};
    TKordoClubWrapper club(&w.Club);
    club.SortPreferences();
    using T = std::vector<std::pair<TKordoRecordRef, uint16_t>>;
    EXPECT_EQ(Targets(w.Club.Relations), (T{{&b, 100}, {&a, 100}, {&b, 80}, {&a, 60}, {&w.P, 30}}));
    club.CleanPreferences();
    EXPECT_EQ(Targets(w.Club.Relations), (T{{&b, 80}, {&a, 60}, {&w.P, 30}}));

    // Cleaning makes every club entry a rival and merges entries whose club did not resolve.
    w.Club.Relations = {Entry(1, 3, 40, nullptr), Entry(3, 2, 5, &w.P), Entry(1, 5, 70, nullptr)};
    club.CleanPreferences();
    ASSERT_EQ(w.Club.Relations.size(), 2u);
    EXPECT_EQ(w.Club.Relations[0].Relation, KordoRelationRivalClub);
    EXPECT_EQ(w.Club.Relations[0].Amount, 70);

    w.Club.Relations.clear();
    club.SortPreferences();
    club.CleanPreferences();
    EXPECT_TRUE(w.Club.Relations.empty());
}

// A full list refuses a newcomer and is named; somebody already on it still fits.
TEST(StaffWrapper, CanJoinNamesTheFullListAndLetsAMemberStay) {
    TWorld w;
    std::vector<TKordoStaff> crowd(KordoMaxShortList);
    for (TKordoStaff& member : crowd) {
        w.Club.BoardMembers.push_back(&member);
        w.NationalSquad.Physios.push_back(&member);
    }
    TKordoStaffWrapper newcomer(&w.P), member(&crowd[7]);
    std::string list;
    EXPECT_FALSE(newcomer.CanJoinClubJob(&w.Squad, 10, &list));
    EXPECT_EQ(list, "board members");
    EXPECT_TRUE(member.CanJoinClubJob(&w.Squad, 10));
    EXPECT_TRUE(newcomer.CanJoinClubJob(&w.Squad, 2)); // coaches have room
    EXPECT_FALSE(newcomer.CanJoinNationJob(&w.NationalSquad, 12, &list));
    EXPECT_EQ(list, "physios");
    EXPECT_TRUE(member.CanJoinNationJob(&w.NationalSquad, 12));
    // Refused joins change nothing.
    EXPECT_FALSE(newcomer.JoinClubJob(&w.Squad, 10));
    EXPECT_EQ(w.Club.BoardMembers.size(), KordoMaxShortList);
}
