#include "ClubForm.h"

#include "KordoDataWrappers.h"
#include "KordoFunctions.h"
#include "KordoGenerator.h"
#include "KordoSearch.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

namespace {

using Numbers = std::vector<int64_t>;

// Every test loads the same generated files afresh, so that the clubs' index and every link are those
// of a real load.
class ClubFormWorld : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Scratch = new TScratch;
        std::string error;
        ASSERT_TRUE(KordoGenerateFiles(Scratch->Folder("generated"), {3000, 7, false}, error)) << error;
    }
    static void TearDownTestSuite() {
        delete Scratch;
        Scratch = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(Db.Load(Scratch->Root / "generated")) << Db.LastError();
        Form.Bind(&Db);
    }

    std::string Saved(TKordoPregameDatabase& database, const std::string& name) {
        std::filesystem::path folder = Scratch->Folder(name);
        EXPECT_TRUE(database.Save(folder)) << database.LastError();
        return FileContents(KordoServerFile(folder)) + FileContents(KordoPeopleFile(folder));
    }
    TKordoClub* ClubWithSquads(size_t squads) {
        for (TKordoClub& club : Db.Clubs.Records)
            if (club.Squads.size() >= squads && club.Nation)
                return &club;
        ADD_FAILURE() << "no club with " << squads << " squads";
        return &Db.Clubs.Records[0];
    }
    std::vector<TKordoRecordRef> Lines(const char* list) {
        std::vector<TKordoRecordRef> lines;
        for (const TKordoListItem& item : Form.Control(list).Items)
            lines.push_back(item.Record);
        return lines;
    }

    static TScratch* Scratch;
    TKordoPregameDatabase Db;
    ClubForm Form;
};

TScratch* ClubFormWorld::Scratch = nullptr;

} // namespace

TEST_F(ClubFormWorld, SquadPagesAreBuiltAfreshForEveryClubWithTheirOwnersNames) {
    TKordoClub* club = ClubWithSquads(2);
    club->BoardMembers = {Db.Staffs.Item(5), Db.Staffs.Item(4), Db.Staffs.Item(3)};
    Form.Focus(club);
    ASSERT_EQ(Form.Squads.size(), club->Squads.size());
    for (size_t i = 0; i < club->Squads.size(); ++i) {
        const TKordoClub* owner = Db.Clubs.FindClub(club->Squads[i]->OwnerClubID());
        EXPECT_EQ(Form.Squads[i].Caption, owner ? owner->ClubName : u"");
        EXPECT_EQ(Form.Squads[i].Squad, club->Squads[i]);
    }
    const auto& board = Form.Control("lboxBoardMembers").Items;
    ASSERT_EQ(board.size(), 3u);
    EXPECT_TRUE(KordoCompareNames(board[0].Text, board[1].Text) <= 0 &&
                KordoCompareNames(board[1].Text, board[2].Text) <= 0);

    TKordoClub* bare = &Db.Clubs.Records[club == &Db.Clubs.Records[0] ? 1 : 0];
    bare->Squads.clear();
    Form.Focus(bare);
    EXPECT_TRUE(Form.Squads.empty());
}

TEST_F(ClubFormWorld, ARivalNamedTwiceIsListedOnceAndDeletedOneEntryAtATime) {
    TKordoClub* club = &Db.Clubs.Records[0];
    TKordoClub* rival = &Db.Clubs.Records[1];
    club->Relations = {{KordoKindClub, KordoRelationRivalClub, 60, 0, rival},
                       {KordoKindPerson, KordoRelationDislikedPerson, 20, 0, Db.Staffs.Item(1)},
                       {KordoKindClub, KordoRelationRivalClub, 80, 0, rival}};
    Form.Focus(club);
    EXPECT_EQ(Lines("lboxRivals"), std::vector<TKordoRecordRef>{rival});
    EXPECT_EQ(Lines("lboxDislikedStaff"), std::vector<TKordoRecordRef>{Db.Staffs.Item(1)});
    Form.DeletePreference("lboxRivals", 0);
    EXPECT_EQ(Lines("lboxRivals"), std::vector<TKordoRecordRef>{rival});
    EXPECT_EQ(club->Relations.back().Amount, 80);
    Form.DeletePreference("lboxRivals", 0);
    EXPECT_TRUE(Lines("lboxRivals").empty());
    EXPECT_EQ(club->Relations.size(), 1u);
}

TEST_F(ClubFormWorld, AddingPastWhatTheFileStoresIsRefusedCountingRivalsTwice) {
    TKordoClub* club = &Db.Clubs.Records[0];
    club->Relations.clear();
    TKordoClubWrapper wrapper(club);
    for (size_t row = 1; row <= 100; ++row) // saved as 200 entries
        ASSERT_TRUE(wrapper.AddRival(&Db.Clubs.Records[row], 50));
    for (int32_t row = 1; row <= 54; ++row)
        ASSERT_TRUE(wrapper.AddStaffPreference(Db.Staffs.Item(row), true, 50));
    Form.Focus(club);
    std::string refusal;
    EXPECT_FALSE(Form.AddPreference("lboxRivals", &Db.Clubs.Records[101], 50, &refusal));
    EXPECT_NE(refusal.find("full"), std::string::npos);
    EXPECT_EQ(club->Relations.size(), 154u);
    EXPECT_TRUE(Form.AddPreference("lboxDislikedStaff", Db.Staffs.Item(60), 50)); // the 255th entry
    EXPECT_FALSE(Form.AddPreference("lboxDislikedStaff", Db.Staffs.Item(61), 50));
    EXPECT_TRUE(Form.AddPreference("lboxRivals", &Db.Clubs.Records[1], 90)); // a listed rival needs no room
    EXPECT_EQ(club->Relations.size(), 155u);
}

TEST_F(ClubFormWorld, ANationChangeMovesOneClubCountOnce) {
    TKordoClub* club = ClubWithSquads(1);
    TKordoNation* from = club->Nation;
    TKordoNation* to = &Db.Nations.Records[from == &Db.Nations.Records[0] ? 1 : 0];
    const uint16_t fromCount = from->ClubCount(), toCount = to->ClubCount();
    Form.Focus(club);
    Form.Control("cmbNation").SelectRecord(to);
    EXPECT_TRUE(Form.Confirm());
    EXPECT_TRUE(Form.Confirm());
    EXPECT_EQ(club->Nation, to);
    EXPECT_EQ(from->ClubCount(), fromCount - 1);
    EXPECT_EQ(to->ClubCount(), toCount + 1);

    // A damaged count of 0 does not wrap round.
    to->SetClubCount(0);
    Form.Control("cmbNation").SelectRecord(from);
    EXPECT_TRUE(Form.Confirm());
    EXPECT_EQ(to->ClubCount(), 0);
    EXPECT_EQ(from->ClubCount(), fromCount);
}

TEST_F(ClubFormWorld, WhatTheUserDidNotChangeConfirmDoesNotChange) {
    TKordoClub* club = ClubWithSquads(1);
    club->SetAverageAttendance(250000);
    club->SetBalance(-300000000);
    club->SetTraining(25);
    club->SetProfessionalStatus(9);
    club->SetPublicLimitedCompany(2);
    TKordoSquad* squad = club->Squads[0];
    squad->SetReputation(12345);
    squad->SetHomeMatchDay(9);
    Form.Focus(club);
    Form.Squads[0].seReputationExit();                 // leaving the box untouched
    Form.Control("seMinimumAttendance").Number = 1234; // an edit beside them
    EXPECT_TRUE(Form.Confirm());
    EXPECT_EQ((Numbers{club->MinimumAttendance(), club->AverageAttendance(), club->Balance(),
                       club->Training(), club->ProfessionalStatus(), club->PublicLimitedCompany()}),
              (Numbers{1234, 250000, -300000000, 25, 9, 2}));
    EXPECT_EQ((Numbers{squad->Reputation(), squad->HomeMatchDay()}), (Numbers{12345, 9}));

    // What the user changes is kept within the control's range.
    Form.Control("seTraining").Number = 30;
    Form.Control("cbPublicLimitedCompany").Number = 0;
    Form.Squads[0].Control("seReputation").Number = 7420;
    Form.Squads[0].seReputationExit();
    EXPECT_EQ(Form.Squads[0].Control("seReputation").Number, 7000);
    EXPECT_TRUE(Form.Confirm());
    EXPECT_EQ((Numbers{club->Training(), club->PublicLimitedCompany(), squad->Reputation()}),
              (Numbers{20, 0, 7000}));
}

TEST_F(ClubFormWorld, ATypedReputationIsPulledIntoRangeAndRoundedDownTo500) {
    TKordoClub* club = ClubWithSquads(1);
    club->Squads[0]->SetReputation(1234);
    Form.Focus(club);
    TKordoControl& reputation = Form.Squads[0].Control("seReputation");
    for (auto [typed, kept] : {std::pair{0, 0},
                               {499, 0},
                               {500, 500},
                               {9999, 9500},
                               {10000, 10000},
                               {10499, 10000},
                               {12345, 10000},
                               {-7, 0},
                               {4750, 4500}}) {
        reputation.Number = typed;
        Form.Squads[0].seReputationExit();
        EXPECT_EQ(reputation.Number, kept) << typed;
    }
    EXPECT_TRUE(Form.Confirm());
    EXPECT_EQ(club->Squads[0]->Reputation(), 4500);
}

TEST_F(ClubFormWorld, ConfirmingEveryClubUnchangedSavesTheSameBytes) {
    for (TKordoClub& club : Db.Clubs.Records) {
        Form.Focus(&club);
        EXPECT_TRUE(Form.Confirm());
    }
    TKordoPregameDatabase untouched;
    ASSERT_TRUE(untouched.Load(Scratch->Root / "generated"));
    EXPECT_TRUE(Saved(Db, "confirmed") == Saved(untouched, "untouched"));
}

TEST_F(ClubFormWorld, AnEditedClubAndItsPreferencesSurviveSaveAndLoad) {
    TKordoClub* club = ClubWithSquads(1);
    const int32_t id = club->ClubID();
    TKordoClub* rival = &Db.Clubs.Records[club == &Db.Clubs.Records[0] ? 1 : 0];
    club->Relations.clear();
    Form.Focus(club);
    Form.Control("seBalance").Number = -1234567;
    Form.Control("cmbProfessionalStatus").SelectCode(3);
    Form.Squads[0].Control("cmbHomeMatchDay").SelectCode(7);
    EXPECT_TRUE(Form.Confirm());
    ASSERT_TRUE(Form.AddPreference("lboxRivals", rival, 45));
    ASSERT_TRUE(Form.AddPreference("lboxFavouriteStaff", Db.Staffs.Item(1), 30));
    ASSERT_TRUE(Form.AddPreference("lboxDislikedStaff", Db.Staffs.Item(2), 15));
    const std::vector<int32_t> ids{id, rival->ClubID(), Db.Staffs.Item(1)->ID(), Db.Staffs.Item(2)->ID()};
    Saved(Db, "edited");

    TKordoPregameDatabase again;
    ASSERT_TRUE(again.Load(Scratch->Root / "edited"));
    ClubForm form;
    form.Bind(&again);
    TKordoClub* loaded = again.Clubs.FindClub(id);
    form.Focus(loaded);
    EXPECT_EQ((Numbers{loaded->Balance(), loaded->ProfessionalStatus(), loaded->Squads[0]->HomeMatchDay()}),
              (Numbers{-1234567, 3, 7}));
    ASSERT_EQ(form.Control("lboxRivals").Items.size(), 1u); // saved twice, loaded once
    auto* loadedRival = form.Control("lboxRivals").Items[0].Record.Get<TKordoClub>();
    EXPECT_EQ((std::vector<int32_t>{loaded->ClubID(), loadedRival->ClubID(),
                                    form.PersonOnLine("lboxFavouriteStaff", 0)->ID(),
                                    form.PersonOnLine("lboxDislikedStaff", 0)->ID()}),
              ids);
}
