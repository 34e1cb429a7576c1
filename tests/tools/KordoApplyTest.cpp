#include "KordoApply.h"

#include "KordoExport.h"
#include "KordoGenerator.h"
#include "KordoStaffRemoval.h"
#include "TestFolders.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Each test loads the same generated files twice: one copy runs a script, the other the same actions
// through the forms by hand; the saved files must be equal byte for byte.
class ApplyWorld : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Scratch = new TScratch;
        std::string error;
        ASSERT_TRUE(KordoGenerateFiles(Scratch->Folder("generated"), {1000, 11, false}, error)) << error;
    }
    static void TearDownTestSuite() {
        delete Scratch;
        Scratch = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(Scripted.Load(Scratch->Root / "generated")) << Scripted.LastError();
        ASSERT_TRUE(ByHand.Load(Scratch->Root / "generated")) << ByHand.LastError();
        Staff.Bind(&ByHand);
        Club.Bind(&ByHand);
    }
    std::string Saved(TKordoPregameDatabase& database) {
        std::filesystem::path folder = Scratch->Folder("saved" + std::to_string(++Saves));
        EXPECT_TRUE(database.Save(folder)) << database.LastError();
        return FileContents(KordoServerFile(folder)) + FileContents(KordoPeopleFile(folder));
    }
    void RunScript(const std::string& script) {
        TKordoApplier applier(Scripted);
        ASSERT_TRUE(applier.Run(script)) << applier.Error();
    }
    // Byte images are compared as a whole: a difference printed byte by byte helps nobody.
    void ExpectSameFiles() { EXPECT_TRUE(Saved(Scripted) == Saved(ByHand)); }
    std::string Failure(const std::string& script) {
        TKordoApplier applier(Scripted);
        EXPECT_FALSE(applier.Run(script)) << script;
        return applier.Error();
    }
    // The ID of a listed person of the type (the same in both copies).
    int32_t IdOf(uint8_t type, int skip = 0) {
        for (TKordoStaff* staff : ByHand.Staffs.List())
            if (staff->StaffType() == type && skip-- == 0)
                return staff->ID();
        ADD_FAILURE() << "no person of type " << int(type);
        return -1;
    }
    TKordoStaff* Person(int32_t id) { return ByHand.Staffs.FindStaff(id); }
    int32_t ClubRowWithSquads() {
        for (int32_t row = 0; row < ByHand.Clubs.Count(); ++row)
            if (!ByHand.Clubs.Item(row)->Squads.empty() && ByHand.Clubs.Item(row)->Nation)
                return row;
        ADD_FAILURE() << "no club with squads";
        return 0;
    }

    static TScratch* Scratch;
    int Saves = 0;
    TKordoPregameDatabase Scripted, ByHand;
    StaffForm Staff;
    ClubForm Club;
};

TScratch* ApplyWorld::Scratch = nullptr;

} // namespace

TEST_F(ApplyWorld, EditStaffSetsControlsRunsHandlersAndConfirmsAsTheEditorDoes) {
    const int32_t id = IdOf(KordoStaffPlayer);
    const std::string script = R"({"ops": [{"op": "edit_staff", "id": )" + std::to_string(id) +
                               R"(, "set": [["edFirstName", "Zoë"], ["dtpDateOfBirth", "1983-02-28"],
                                 ["seCrossing", 300], ["seApps", -4], ["cmbStaffType", 3],
                                 ["cmbNation", {"nation": 2}], ["cmbClubContracted", null]]}]})";
    RunScript(script);

    Staff.Focus(Person(id));
    Staff.Control("edFirstName").Text = u"Zoë";
    Staff.Control("dtpDateOfBirth").Date = std::chrono::sys_days(std::chrono::year(1983) / 2 / 28);
    Staff.Control("seCrossing").Number = 20; // pulled into 0..20
    Staff.Control("seApps").Number = 0;
    Staff.Control("cmbStaffType").SelectCode(3);
    Staff.RunChangeHandler("cmbStaffType");
    Staff.Control("cmbNation").SelectRecord(ByHand.Nations.Item(2));
    Staff.Control("cmbClubContracted").SelectRecord(nullptr);
    Staff.RunChangeHandler("cmbClubContracted");
    ASSERT_TRUE(Staff.Confirm());
    ExpectSameFiles();
}

TEST_F(ApplyWorld, AddEditLastAddedAndDeleteMatchTheEditor) {
    const int32_t gone = IdOf(KordoStaffNonPlayer);
    RunScript(R"({"ops": [{"op": "add_staff"},
        {"op": "edit_staff", "id": "last_added", "set": [["edCommonName", "Newman"], ["seRefereeing", 7]]},
        {"op": "delete_staff", "id": )" +
              std::to_string(gone) + "}]}");

    TKordoStaff* added = ByHand.Staffs.NewStaff();
    ByHand.Modified = true;
    Staff.Focus(added);
    Staff.Control("edCommonName").Text = u"Newman";
    Staff.Control("seRefereeing").Number = 7;
    ASSERT_TRUE(Staff.Confirm());
    Staff.Focus(Person(gone));
    Staff.Current = nullptr;
    KordoDeleteStaff(ByHand, Person(gone));
    ExpectSameFiles();
}

TEST_F(ApplyWorld, EditClubRoundsSquadReputationAndPullsNumbersIntoRange) {
    const int32_t row = ClubRowWithSquads();
    RunScript(R"({"ops": [{"op": "edit_club", "row": )" + std::to_string(row) +
              R"(, "set": [["seTraining", 99], ["cbPublicLimitedCompany", true], ["seBalance", -5]],
        "squads": [[["seReputation", 1234]]]}]})");

    Club.Focus(ByHand.Clubs.Item(row));
    Club.Control("seTraining").Number = 20;
    Club.Control("cbPublicLimitedCompany").Number = 1;
    Club.Control("seBalance").Number = -5;
    Club.Squads[0].Control("seReputation").Number = 1234;
    Club.Squads[0].seReputationExit();
    EXPECT_EQ(Club.Squads[0].Control("seReputation").Number, 1000);
    ASSERT_TRUE(Club.Confirm());
    ExpectSameFiles();
}

TEST_F(ApplyWorld, PreferenceOperationsGoThroughTheDialogsRounding) {
    const int32_t owner = IdOf(KordoStaffPlayer, 3), liked = IdOf(KordoStaffNonPlayer, 2);
    const int32_t club = ClubRowWithSquads();
    const std::string ownerText = R"({"staff": )" + std::to_string(owner) + "}";
    RunScript(R"({"ops": [
        {"op": "add_preference", "owner": )" +
              ownerText + R"(, "list": "lboxFavouriteStaff", "target": {"staff": )" + std::to_string(liked) +
              R"(}, "amount": 33},
        {"op": "add_preference", "owner": {"club": )" +
              std::to_string(club) + R"(}, "list": "lboxRivals", "target": {"club": 1}, "amount": 2},
        {"op": "edit_preference", "owner": {"club": )" +
              std::to_string(club) +
              R"(}, "list": "lboxRivals", "line": 0, "target": {"club": 2}, "amount": 999},
        {"op": "add_preference", "owner": )" +
              ownerText + R"(, "list": "lboxDislikedClubs", "target": {"club": 3}, "amount": 50},
        {"op": "delete_preference", "owner": )" +
              ownerText + R"(, "list": "lboxDislikedClubs", "line": 0}]})");

    Staff.Focus(Person(owner));
    ASSERT_TRUE(Staff.AddPreference("lboxFavouriteStaff", Person(liked), 30));
    Club.Focus(ByHand.Clubs.Item(club));
    ASSERT_TRUE(Club.AddPreference("lboxRivals", ByHand.Clubs.Item(1), 5));
    ASSERT_TRUE(Club.EditPreference("lboxRivals", 0, ByHand.Clubs.Item(2), 100));
    Staff.Focus(Person(owner));
    ASSERT_TRUE(Staff.AddPreference("lboxDislikedClubs", ByHand.Clubs.Item(3), 50));
    Staff.Focus(Person(owner));
    Staff.DeletePreference("lboxDislikedClubs", 0);
    ExpectSameFiles();
}

TEST_F(ApplyWorld, EveryErrorNamesTheOperationAndItsReason) {
    const std::string player = std::to_string(IdOf(KordoStaffPlayer));
    const std::string referee = std::to_string(IdOf(KordoStaffReferee));
    const std::string nonPlayer = std::to_string(IdOf(KordoStaffNonPlayer));
    const std::string edit = R"({"op": "edit_staff", "id": )" + player + R"(, "set": [[)";
    const std::pair<std::string, std::string> cases[] = {
        {"not json", "script:"},
        {R"({"ops": [{"op": "fly"}]})", "operation 1: unknown operation"},
        {R"({"ops": [{"op": "add_staff", "colour": 1}]})", "unknown key \"colour\""},
        {R"({"ops": [{"op": "add_staff"}, {"op": "delete_staff", "id": 2000000000}]})",
         "operation 2: no person has ID"},
        {R"({"ops": [{"op": "edit_club", "row": -1}]})", "no club on row -1"},
        {"{\"ops\": [" + edit + R"("seNothing", 1]]}]})", "unknown control seNothing"},
        {"{\"ops\": [" + edit + R"("seCrossing", "12"]]}]})", "takes a whole number"},
        {"{\"ops\": [" + edit + R"("seCrossing", 1.5]]}]})", "takes a whole number"},
        {"{\"ops\": [" + edit + R"("dtpDateOfBirth", "1990-02-30"]]}]})", "no date"},
        {"{\"ops\": [" + edit + R"("edPictureID", "7"]]}]})", "read-only"},
        {R"({"ops": [{"op": "edit_club", "row": 0, "set": [["edClubName", "X"]]}]})", "read-only"},
        {R"({"ops": [{"op": "edit_club", "row": 0, "set": [["cbPublicLimitedCompany", 1]]}]})",
         "true or false"},
        {"{\"ops\": [" + edit + R"("seRefereeing", 5]]}]})", "hidden page"},
        {"{\"ops\": [" + edit + R"("cmbClubContracted", null], ["cmbJob", 1]]}]})", "disabled"},
        {"{\"ops\": [" + edit + R"("cmbStaffType", 77]]}]})", "no item of cmbStaffType carries 77"},
        {"{\"ops\": [" + edit + R"("cmbNation", {"club": 0}]]}]})",
         "no item of cmbNation carries club row 0"},
        {R"({"ops": [{"op": "edit_club", "row": 0, "squads": [[], [], [], [], [], [], [], [], []]}]})",
         "squad pages"},
        {R"({"ops": [{"op": "delete_preference", "owner": {"staff": )" + player +
             R"(}, "list": "lboxFavouriteStaff", "line": 999}]})",
         "has no line 999"},
        {R"({"ops": [{"op": "add_preference", "owner": {"staff": )" + referee +
             R"(}, "list": "lboxFavouriteStaff", "target": {"staff": )" + player + R"(}, "amount": 50}]})",
         "referee"},
        {R"({"ops": [{"op": "add_preference", "owner": {"club": 0}, "list": "lboxFavouriteClubs",
             "target": {"club": 1}, "amount": 50}]})",
         "unknown preference list"},
        {R"({"ops": [{"op": "delete_staff", "id": )" + nonPlayer + R"(}, {"op": "edit_staff", "id": )" +
             nonPlayer + "}]}",
         "operation 2: person " + nonPlayer + " is no longer in the staff list"},
        {"{\"ops\": [" + edit + R"("edFirstName", "Ada\tLine"]]}]})", "cannot hold a control character"},
        {"{\"ops\": [" + edit + R"("edCommonName", "nul\u0000"]]}]})", "cannot hold a control character"},
        {R"({"ops": [{"op": "add_preference", "owner": {"club": 3}, "list": "lboxRivals",
             "target": {"club": 3}, "amount": 50}]})",
         "cannot be its own rival"},
        {R"({"ops": [{"op": "add_preference", "owner": {"club": 3}, "list": "lboxRivals",
             "target": {"club": 4}, "amount": 50}, {"op": "edit_preference", "owner": {"club": 3},
             "list": "lboxRivals", "line": 0, "target": {"club": 3}, "amount": 50}]})",
         "operation 2: the edit was refused: A club cannot be its own rival"},
        {R"({"ops": [{"op": "edit_staff", "id": "last_added"}]})", "no person was added"},
        {R"({"ops": [{"op": "add_staff"}, {"op": "delete_staff", "id": "last_added"},
                     {"op": "edit_staff", "id": "last_added"}]})",
         "operation 3: the person last added was deleted"},
        {R"({"ops": [{"op": "undo"}]})", "operation 1: nothing to undo"},
        {R"({"ops": [{"op": "add_staff"}, {"op": "redo"}]})", "operation 2: nothing to redo"},
        {R"({"ops": [{"op": "undo_all", "steps": 2}]})", "unknown key \"steps\""},
        {R"({"ops": [{"op": "add_staff"}, {"op": "undo"}, {"op": "edit_staff", "id": "last_added"}]})",
         "operation 3: person"},
    };
    for (const auto& [script, reason] : cases)
        EXPECT_NE(Failure(script).find(reason), std::string::npos) << script << "\n-> " << Failure(script);
}

TEST_F(ApplyWorld, UndoAndRedoTakeOperationsBackAndMakeThemAgain) {
    const std::vector<std::string> edits{
        R"({"op": "edit_staff", "id": )" + std::to_string(IdOf(KordoStaffPlayer)) +
            R"(, "set": [["edFirstName", "Zoë"], ["seCrossing", 3], ["cmbNation", {"nation": 4}]]})",
        R"({"op": "add_staff"})",
        R"({"op": "edit_staff", "id": "last_added", "set": [["edCommonName", "Newman"]]})",
        R"({"op": "edit_club", "row": 5, "set": [["seTraining", 2]]})",
        R"({"op": "add_preference", "owner": {"club": 5}, "list": "lboxRivals", "target": {"club": 6},
            "amount": 45})",
        R"({"op": "delete_staff", "id": )" + std::to_string(IdOf(KordoStaffNonPlayer)) + "}"};
    // The script of the edits (all but the last `drop`), then the further operations.
    auto script = [&](size_t drop, const std::string& then) {
        std::string ops;
        for (size_t i = 0; i + drop < edits.size(); ++i)
            ops += (i ? ", " : "") + edits[i];
        return R"({"ops": [)" + ops + then + "]}";
    };
    auto run = [&](const std::string& text) {
        auto database = std::make_unique<TKordoPregameDatabase>();
        EXPECT_TRUE(database->Load(Scratch->Root / "generated"));
        TKordoApplier applier(*database);
        EXPECT_TRUE(applier.Run(text)) << applier.Error();
        return Saved(*database);
    };
    const std::string untouched = Saved(ByHand), edited = run(script(0, ""));

    // Every operation taken back gives the files of the untouched database (twice is fine); every one
    // made again those of the edits.
    EXPECT_TRUE(run(script(0, R"(, {"op": "undo_all"}, {"op": "undo_all"})")) == untouched);
    EXPECT_TRUE(run(script(0, R"(, {"op": "undo_all"}, {"op": "redo_all"}, {"op": "redo_all"})")) == edited);
    // One undo takes back the last operation only, and a redo makes it again.
    EXPECT_TRUE(run(script(0, R"(, {"op": "undo"}, {"op": "undo"}, {"op": "redo"})")) == run(script(1, "")));
}

TEST_F(ApplyWorld, ANameThatAlreadyHoldsAControlCharacterIsKeptUnlessEdited) {
    TKordoStaff* person = Scripted.Staffs.FindStaff(IdOf(KordoStaffPlayer));
    person->FirstName->Name = u"Old\tName";
    RunScript(R"({"ops": [{"op": "edit_staff", "id": )" + std::to_string(person->ID()) +
              R"(, "set": [["seApps", 9]]}]})");
    EXPECT_TRUE(person->FirstName->Name == u"Old\tName");
    EXPECT_EQ(person->Apps(), 9);
}

TEST_F(ApplyWorld, AnAdditionRefusedAtTheListLimitIsAnError) {
    const std::string owner = R"({"staff": )" + std::to_string(IdOf(KordoStaffPlayer)) + "}";
    std::string ops;
    // More people than a relation list can hold.
    for (size_t i = 0; i < 300; ++i)
        ops += std::string(ops.empty() ? "" : ",") + R"({"op": "add_preference", "owner": )" + owner +
               R"(, "list": "lboxFavouriteStaff", "target": {"staff": )" +
               std::to_string(ByHand.Staffs.List()[i + 1]->ID()) + R"(}, "amount": 50})";
    EXPECT_NE(Failure(R"({"ops": [)" + ops + "]}").find("refused"), std::string::npos);
}

TEST(ApplySheet, RowsBecomeEditStaffWithTypedValuesAndEmptyCellsSkipped) {
    QJsonObject script;
    std::string error;
    ASSERT_TRUE(KordoSheetToScript("\xEF\xBB\xBFID,edFirstName,seCrossing,cmbStaffType,dtpDateOfBirth\r\n"
                                   "12,\"Smith, \"\"Jo\"\"\",15,,1990-01-02\r\n"
                                   "\n"
                                   "13,,,2\n",
                                   script, error))
        << error;
    const QJsonDocument expected = QJsonDocument::fromJson(R"({"ops": [
        {"op": "edit_staff", "id": 12, "set": [["edFirstName", "Smith, \"Jo\""], ["seCrossing", 15],
                                              ["dtpDateOfBirth", "1990-01-02"]]},
        {"op": "edit_staff", "id": 13, "set": [["cmbStaffType", 2]]}]})");
    EXPECT_EQ(QJsonDocument(script).toJson().toStdString(), expected.toJson().toStdString());

    EXPECT_FALSE(KordoSheetToScript("Name,seCrossing\nx,1\n", script, error));
    EXPECT_FALSE(KordoSheetToScript("ID,seCrossing\n12,high\n", script, error));
    EXPECT_NE(error.find("row 1, column seCrossing"), std::string::npos) << error;
    EXPECT_FALSE(KordoSheetToScript("ID,seCrossing\n12,\"3\n", script, error));
    EXPECT_FALSE(KordoSheetToScript("ID\n12,3\n", script, error));
}

// A number is the whole cell, spaces around it allowed: a number followed by more is no number.
TEST(ApplySheet, OnlyACellThatIsAWholeNumberThroughoutIsANumber) {
    QJsonObject script;
    std::string error;
    for (const char* cell : {"3.5", "12x", "1e3", "0x1", "1 2", "--1", "-"}) {
        SCOPED_TRACE(cell);
        EXPECT_FALSE(KordoSheetToScript("ID,seCrossing\n12," + std::string(cell) + "\n", script, error));
        EXPECT_NE(error.find("row 1, column seCrossing"), std::string::npos) << error;
        EXPECT_FALSE(KordoSheetToScript("ID,seCrossing\n" + std::string(cell) + ",3\n", script, error));
        EXPECT_NE(error.find("row 1: the ID"), std::string::npos) << error;
    }
    ASSERT_TRUE(KordoSheetToScript("ID,seCrossing\n +12 , -3 \n", script, error)) << error;
    const QJsonObject op = script["ops"].toArray()[0].toObject();
    EXPECT_EQ(op["id"].toInt(), 12);
    EXPECT_EQ(op["set"].toArray()[0].toArray()[1].toInt(), -3);
}

TEST(ApplySheet, ExportColumnsNameTheirControlsAndColumnsNoControlEditsAreIgnored) {
    QJsonObject script;
    std::string error;
    ASSERT_TRUE(KordoSheetToScript("ID,FirstName,Crossing,Loyalty,Apps,RefereeReputation,DisplayName,Nation,"
                                   "DateOfBirth\r\n"
                                   "12,Ada,15,9,3,40,\"Moreau, Ada\",Freedonia,1990-01-02\r\n",
                                   script, error))
        << error;
    const QJsonDocument expected = QJsonDocument::fromJson(R"({"ops": [
        {"op": "edit_staff", "id": 12, "set": [["edFirstName", "Ada"], ["seCrossing", 15], ["seLoyality", 9],
                                              ["seApps", 3], ["seReputation", 40],
                                              ["dtpDateOfBirth", "1990-01-02"]]}]})");
    EXPECT_EQ(QJsonDocument(script).toJson().toStdString(), expected.toJson().toStdString());
    // A column that is neither a control nor an export column is left for the run to name.
    ASSERT_TRUE(KordoSheetToScript("ID,Bogus\n12,1\n", script, error));
    EXPECT_EQ(script["ops"].toArray()[0].toObject()["set"].toArray()[0].toArray()[0].toString(), "Bogus");
}

TEST_F(ApplyWorld, AWholeExportAppliedUnchangedChangesNothingAndFormulaTextsComeBackExactly) {
    // Texts a spreadsheet would run as formulas, and texts that begin with the apostrophe itself.
    const std::vector<std::u16string> texts{
        u"=cmd|' /C calc'!A0", u"+1", u"-2", u"@SUM(A1)", u"'quoted", u"''", u"\tTab", u"\rReturn", u"plain"};
    std::vector<int32_t> ids;
    for (TKordoPregameDatabase* db : {&Scripted, &ByHand}) {
        ids.clear();
        std::vector<const TKordoName*> used;
        for (TKordoStaff* staff : db->Staffs.List()) {
            if (ids.size() == texts.size())
                break;
            if (staff->FirstName && std::find(used.begin(), used.end(), staff->FirstName) == used.end()) {
                used.push_back(staff->FirstName);
                staff->FirstName->Name = texts[ids.size()];
                ids.push_back(staff->ID());
            }
        }
    }
    std::ostringstream out;
    ASSERT_TRUE(KordoExportPeople(ByHand, out, TKordoExportFormat::Csv));
    const std::string csv = out.str();
    for (const char* cell : {",'=cmd|' /C calc'!A0,", ",'+1,", ",'-2,", ",'@SUM(A1),", ",''quoted,", ",''',",
                             ",\"'\rReturn\",", ",'\tTab,", ",plain,"})
        EXPECT_NE(csv.find(cell), std::string::npos) << cell;
    EXPECT_NE(csv.find(",-1,"), std::string::npos) << "a number stays a number";

    // Applied to the database it came from, the whole sheet is no edit at all.
    QJsonObject script;
    std::string error;
    ASSERT_TRUE(KordoSheetToScript(csv, script, error, &Scripted)) << error;
    for (const QJsonValue& op : script["ops"].toArray())
        ASSERT_TRUE(op.toObject()["set"].toArray().isEmpty())
            << QJsonDocument(op.toObject()).toJson().toStdString();
    TKordoApplier applier(Scripted);
    applier.OperationWord = "row";
    ASSERT_TRUE(applier.Run(script)) << applier.Error();
    ExpectSameFiles();

    // Applied to the generated database, the names come back byte for byte (those with a control
    // character, which the editor refuses to store, are given to it beforehand).
    TKordoPregameDatabase fresh;
    ASSERT_TRUE(fresh.Load(Scratch->Root / "generated"));
    for (size_t i = 6; i < texts.size(); ++i)
        fresh.Staffs.FindStaff(ids[i])->FirstName->Name = texts[i];
    ASSERT_TRUE(KordoSheetToScript(csv, script, error, &fresh)) << error;
    TKordoApplier onFresh(fresh);
    ASSERT_TRUE(onFresh.Run(script)) << onFresh.Error();
    for (size_t i = 0; i < texts.size(); ++i) {
        const TKordoStaff* staff = fresh.Staffs.FindStaff(ids[i]);
        ASSERT_TRUE(staff && staff->FirstName);
        EXPECT_TRUE(staff->FirstName->Name == texts[i]) << i;
    }
}
