// The editors' forms, the lists and the export on databases that load but are damaged: references
// that resolve to nothing, stale own numbers, codes no list carries, a club without squads.
#include "../../fuzz/KordoFuzzForms.h"

#include "ClubForm.h"
#include "KordoEditSession.h"
#include "KordoExport.h"
#include "KordoFunctions.h"
#include "KordoSearch.h"
#include "StaffForm.h"
#include "TestDamagedDatabases.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Each damage on a database of its own, loaded twice: one copy for the editors, one left alone.
class DamagedDatabase : public ::testing::TestWithParam<size_t> {
protected:
    void SetUp() override {
        const TDamage& damage = DamagedDatabases()[GetParam()];
        Damaged = WriteDamagedDatabase(Scratch.Folder("damaged"), damage);
        ASSERT_TRUE(Edited.Load(Scratch.Root / "damaged")) << Edited.LastError();
        ASSERT_TRUE(Plain.Load(Scratch.Root / "damaged")) << Plain.LastError();
    }

    std::string Saved(TKordoPregameDatabase& database, const std::string& name) {
        std::filesystem::path folder = Scratch.Folder(name);
        EXPECT_TRUE(database.Save(folder)) << database.LastError();
        return FileContents(KordoServerFile(folder)) + FileContents(KordoPeopleFile(folder));
    }

    TScratch Scratch;
    TDamaged Damaged;
    TKordoPregameDatabase Edited, Plain;
};

const TDamage& DamageNamed(const std::string& name) {
    for (const TDamage& damage : DamagedDatabases())
        if (damage.Name == name)
            return damage;
    throw std::out_of_range("no damage " + name);
}

// Every item a list shows has a text: an unresolved target shows as nameless, never as a blank line.
void ExpectEveryLineNamed(const TKordoForm& form) {
    for (const TKordoControl& control : form.Controls)
        for (const TKordoListItem& item : control.Items)
            EXPECT_FALSE(item.Text.empty() && !item.Record) << control.Name;
}

} // namespace

TEST_P(DamagedDatabase, EveryoneConfirmedUnchangedSavesWhatAPlainSaveWrites) {
    TKordoEditSession session;
    session.Bind(&Edited);
    for (TKordoStaff* staff : Edited.Staffs.List()) {
        session.Staff.Focus(staff);
        std::string refusal;
        EXPECT_TRUE(session.ConfirmStaff(&refusal)) << refusal;
    }
    for (int32_t row = 0; row < Edited.Clubs.Count(); ++row) {
        session.Club.Focus(Edited.Clubs.Item(row));
        EXPECT_TRUE(session.ConfirmClub());
    }
    EXPECT_EQ(session.Count(), 0u); // nothing changed, so nothing was recorded

    // The lists and the export read everything once more.
    TKordoStaffSearch people(Edited);
    TKordoClubSearch clubs(Edited);
    for (TKordoSearch* search : {static_cast<TKordoSearch*>(&people), static_cast<TKordoSearch*>(&clubs)})
        KordoFuzzDetail::ReadLists(*search);
    for (auto table : {TKordoExportTable::People, TKordoExportTable::Clubs, TKordoExportTable::Nations}) {
        std::ostringstream out;
        EXPECT_TRUE(KordoExportTable(Edited, table, out, TKordoExportFormat::Json));
    }

    EXPECT_FALSE(Edited.Modified);
    EXPECT_TRUE(Saved(Edited, "confirmed") == Saved(Plain, "plain"));
}

TEST_P(DamagedDatabase, AnEditOfTheDamagedRecordChangesOnlyThatField) {
    TKordoEditSession session;
    session.Bind(&Edited);
    if (Damaged.StaffID >= 0) {
        TKordoStaff* plain = Plain.Staffs.FindStaff(Damaged.StaffID);
        const auto apps = static_cast<uint8_t>(plain->Apps() + 7);
        session.Staff.Focus(Edited.Staffs.FindStaff(Damaged.StaffID));
        session.Staff.Control("seApps").Number = apps;
        std::string refusal;
        ASSERT_TRUE(session.ConfirmStaff(&refusal)) << refusal;
        plain->SetApps(apps);
    }
    if (Damaged.ClubRow >= 0) {
        TKordoClub* plain = Plain.Clubs.Item(Damaged.ClubRow);
        const auto training = static_cast<uint8_t>((plain->Training() + 1) % 21);
        session.Club.Focus(Edited.Clubs.Item(Damaged.ClubRow));
        session.Club.Control("seTraining").Number = training;
        ASSERT_TRUE(session.ConfirmClub());
        plain->SetTraining(training);
    }
    EXPECT_TRUE(Edited.Modified);
    EXPECT_TRUE(Saved(Edited, "edited") == Saved(Plain, "plain"));
}

TEST_P(DamagedDatabase, TheDamagedRecordShowsOnlyWhatResolved) {
    if (Damaged.StaffID >= 0) {
        StaffForm form;
        form.Bind(&Edited);
        form.Focus(Edited.Staffs.FindStaff(Damaged.StaffID));
        ExpectEveryLineNamed(form);
        for (const TKordoListItem& squad : form.Control("cmbSquadContracted").Items)
            EXPECT_TRUE(squad.Record.Get<TKordoSquad>());
        for (const TKordoListItem& club : form.Control("cmbClubContracted").Items)
            EXPECT_TRUE(!club.Record || !KordoClubSquads(*club.Record.Get<TKordoClub>()).empty());
    }
    if (Damaged.ClubRow >= 0) {
        ClubForm form;
        form.Bind(&Edited);
        TKordoClub* club = Edited.Clubs.Item(Damaged.ClubRow);
        form.Focus(club);
        ExpectEveryLineNamed(form);
        EXPECT_EQ(form.Squads.size(), KordoClubSquads(*club).size());
        for (const SquadForm& squad : form.Squads)
            ExpectEveryLineNamed(squad);
    }
}

// The forms fuzz target's own checks hold on every damaged database, so that what it reports is a
// fault of the code it drives, not of its checks.
TEST_P(DamagedDatabase, TheFormsFuzzTargetFindsNothing) {
    auto bytes = [](const std::filesystem::path& file) {
        std::string text = FileContents(file);
        return TKordoFuzzBytes(text.begin(), text.end());
    };
    const std::filesystem::path folder = Scratch.Root / "damaged";
    const TKordoFuzzBytes input =
        KordoFuzzJoinFiles(bytes(KordoServerFile(folder)), bytes(KordoPeopleFile(folder)));
    bool loaded = false;
    try {
        loaded = KordoFuzzForms(input.data(), input.size());
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
    }
    EXPECT_TRUE(loaded);
}

INSTANTIATE_TEST_SUITE_P(EachDamage, DamagedDatabase, ::testing::Range<size_t>(0, DamagedDatabases().size()),
                         [](const ::testing::TestParamInfo<size_t>& param) {
                             std::string name = DamagedDatabases()[param.param].Name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

// A club whose first squad did not resolve is joined at a squad that did.
TEST(DamagedDatabaseLines, ChoosingAClubJoinsASquadThatResolved) {
    TScratch scratch;
    TDamaged damaged =
        WriteDamagedDatabase(scratch.Folder("data"), DamageNamed("club squad that names nothing"));
    TKordoPregameDatabase db;
    ASSERT_TRUE(db.Load(scratch.Root / "data")) << db.LastError();
    TKordoClub* club = db.Clubs.Item(damaged.ClubRow);
    ASSERT_EQ(club->Squads.front(), nullptr);
    const auto& people = db.Staffs.List();
    TKordoStaff* player = *std::find_if(people.begin(), people.end(), [](const TKordoStaff* s) {
        return s->StaffType() == KordoStaffPlayer && !s->ClubSquad;
    });
    StaffForm form;
    form.Bind(&db);
    form.Focus(player);
    form.Control("cmbClubContracted").SelectRecord(club);
    form.cmbClubContractedChange();
    ASSERT_TRUE(form.Confirm());
    ASSERT_NE(player->ClubSquad, nullptr);
    EXPECT_EQ(player->ClubSquad->OwnerClub, club);
}

// Unresolved preference targets keep a line each, named as nameless, and Delete takes them away.
TEST(DamagedDatabaseLines, AnUnresolvedPreferenceIsListedAsNamelessAndCanBeDeleted) {
    TScratch scratch;
    std::vector<TDamaged> damaged =
        WriteDamagedDatabase(scratch.Folder("data"), {DamageNamed("person whose relations name nothing"),
                                                      DamageNamed("club relations that name nothing")});
    TKordoPregameDatabase db;
    ASSERT_TRUE(db.Load(scratch.Root / "data")) << db.LastError();

    StaffForm staffForm;
    staffForm.Bind(&db);
    TKordoStaff* staff = db.Staffs.FindStaff(damaged[0].StaffID);
    staffForm.Focus(staff);
    std::string shown;
    size_t lines = 0;
    for (const char* list :
         {"lboxFavouriteStaff", "lboxDislikedStaff", "lboxFavouriteClubs", "lboxDislikedClubs"})
        for (const TKordoListItem& item : staffForm.Control(list).Items) {
            EXPECT_EQ(item.Text, KordoNoNameText) << list;
            shown = list;
            ++lines;
        }
    ASSERT_GE(lines, 2u);
    const size_t entries = staff->Relations.size();
    staffForm.DeletePreference(shown, 0);
    EXPECT_EQ(staff->Relations.size(), entries - 1);

    ClubForm clubForm;
    clubForm.Bind(&db);
    clubForm.Focus(db.Clubs.Item(damaged[1].ClubRow));
    EXPECT_EQ(clubForm.Control("lboxRivals").Items,
              (std::vector<TKordoListItem>{{KordoNoNameText, -1, nullptr}})); // every rival is now one
}
