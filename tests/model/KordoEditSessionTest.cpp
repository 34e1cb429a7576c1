// The editing session: seeded random sequences of edits over a generated database and over damaged
// ones, checked by what saving writes. Undoing every command must give what saving the untouched
// database gives, redoing them what the edits gave, and undoing one what the sequence without that
// command gives; a command that changes nothing is not recorded.
#include "KordoEditSession.h"
#include "KordoCheck.h"
#include "KordoExport.h"
#include "KordoFunctions.h"
#include "KordoGenerator.h"
#include "TestDamagedDatabases.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using TBytes = std::vector<uint8_t>;

// A database's files, loaded as often as a check needs a fresh copy, and saved into memory.
class TBase {
public:
    TBase(const fs::path& folder, const fs::path& saveFolder)
        : Server(FileContents(KordoServerFile(folder))), People(FileContents(KordoPeopleFile(folder))),
          SaveFolder(saveFolder) {}

    std::unique_ptr<TKordoPregameDatabase> Load() const {
        auto database = std::make_unique<TKordoPregameDatabase>();
        auto read = [](const std::string& bytes, const char* name) {
            return TKordoFileStream(TBytes(bytes.begin(), bytes.end()), name);
        };
        TKordoFileStream server = read(Server, TKordoPregameDatabase::ServerFileName);
        TKordoFileStream people = read(People, TKordoPregameDatabase::PeopleFileName);
        database->ReadServerFile(server);
        database->ReadPeopleFile(people);
        database->IndexAll();
        return database;
    }

    // Both files as a save writes them; the save's own files stay empty.
    std::string Saved(TKordoEditSession& session) const {
        TBytes server, people;
        session.Database()->WrapDevice = [&](std::unique_ptr<TKordoByteDevice>, const fs::path& target) {
            return std::make_unique<TKordoMemoryDevice>(
                target.filename() == TKordoPregameDatabase::ServerFileName ? server : people);
        };
        EXPECT_TRUE(session.Save(SaveFolder)) << session.Database()->LastError();
        return std::string(server.begin(), server.end()) + "|" + std::string(people.begin(), people.end());
    }

private:
    std::string Server, People;
    fs::path SaveFolder;
};

// A session on a fresh copy of the database.
struct TEditing {
    explicit TEditing(const TBase& base) : Database(base.Load()) { Session.Bind(Database.get()); }
    std::unique_ptr<TKordoPregameDatabase> Database;
    TKordoEditSession Session;
};

// One edit of a sequence: its kind and the random numbers it draws its choices from, so that running
// a sequence again (or a part of it) on another copy makes the same edits.
struct TStep {
    int Kind;
    uint64_t Seed;
};

constexpr const char16_t* Texts[] = {u"Abaist", u"Braistdail", u"Ouvrard", u"", u"Étienne", u"Zed"};

// Sets a few controls of a form the user could set (shown, enabled, not read-only, not a list box) to
// random values, running each list's change handler.
template <class Form> void SetRandomControls(Form& form, std::mt19937_64& random) {
    auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
    for (int set = 1 + static_cast<int>(pick(4)); set > 0; --set) {
        std::vector<TKordoControl*> settable;
        for (TKordoControl& control : form.Controls)
            if (form.Visible(control) && control.Enabled && !control.ReadOnly &&
                control.Kind != TKordoControlKind::ListBox)
                settable.push_back(&control);
        if (settable.empty())
            return;
        TKordoControl& control = *settable[pick(settable.size())];
        switch (control.Kind) {
        case TKordoControlKind::Edit:
            control.Text = Texts[pick(std::size(Texts))];
            break;
        case TKordoControlKind::Spin:
            control.Number = control.Minimum +
                             static_cast<int32_t>(pick(static_cast<size_t>(
                                 std::min<int64_t>(int64_t{control.Maximum} - control.Minimum, 100000) + 1)));
            break;
        case TKordoControlKind::Date:
            control.Date = std::chrono::sys_days(std::chrono::year(1950 + static_cast<int>(pick(60))) /
                                                 std::chrono::month(1 + static_cast<unsigned>(pick(12))) /
                                                 std::chrono::day(1 + static_cast<unsigned>(pick(28))));
            break;
        case TKordoControlKind::IntegerList:
        case TKordoControlKind::PointerList:
            if (!control.Items.empty()) {
                control.SelectIndex(static_cast<int32_t>(pick(control.Items.size())));
                if constexpr (requires { form.RunChangeHandler(control.Name); })
                    form.RunChangeHandler(control.Name);
            }
            break;
        case TKordoControlKind::ListBox:
            break;
        }
    }
}

// Runs one step on the session as the editors would.
void Run(TKordoEditSession& session, const TStep& step) {
    std::mt19937_64 random(step.Seed);
    TKordoPregameDatabase& db = *session.Database();
    auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
    auto person = [&]() -> TKordoStaff* {
        const auto& people = db.Staffs.List();
        return people.empty() ? nullptr : people[pick(people.size())];
    };
    auto club = [&]() -> TKordoClub* {
        return db.Clubs.Count()
                   ? db.Clubs.Item(static_cast<int32_t>(pick(static_cast<size_t>(db.Clubs.Count()))))
                   : nullptr;
    };
    switch (step.Kind) {
    case 0:
    case 1:
    case 2: // the most common edit: a person's pages
        if (TKordoStaff* staff = person()) {
            session.Staff.Focus(staff);
            SetRandomControls(session.Staff, random);
            session.ConfirmStaff();
        }
        break;
    case 3:
        if (TKordoClub* target = club()) {
            session.Club.Focus(target);
            SetRandomControls(session.Club, random);
            for (SquadForm& squad : session.Club.Squads)
                if (pick(2) == 0)
                    SetRandomControls(squad, random);
            session.ConfirmClub();
        }
        break;
    case 4:
        session.AddStaff();
        break;
    case 5:
        if (TKordoStaff* staff = person())
            session.DeleteStaff(staff);
        break;
    default: { // a preference of a person or a club: added, edited or deleted
        const bool ofPerson = pick(2) == 0;
        const char* const staffLists[] = {"lboxFavouriteStaff", "lboxDislikedStaff", "lboxFavouriteClubs",
                                          "lboxDislikedClubs"};
        const char* const clubLists[] = {"lboxRivals", "lboxFavouriteStaff", "lboxDislikedStaff"};
        const char* list = ofPerson ? staffLists[pick(4)] : clubLists[pick(3)];
        TKordoEditor editor = ofPerson ? TKordoEditor::Staff : TKordoEditor::Club;
        TKordoForm* form;
        if (ofPerson) {
            session.Staff.Focus(person());
            form = &session.Staff;
        } else {
            session.Club.Focus(club());
            form = &session.Club;
        }
        const bool ofPeople = KordoPreferenceListOf(list).StaffMode;
        TKordoRecordRef target = ofPeople ? TKordoRecordRef(person()) : TKordoRecordRef(club());
        const int32_t amount = static_cast<int32_t>(pick(120));
        const auto lines = static_cast<int32_t>(form->Control(list).Items.size());
        switch (pick(3)) {
        case 0:
            session.AddPreference(editor, list, target, amount);
            break;
        case 1:
            if (lines > 0)
                session.EditPreference(editor, list, static_cast<int32_t>(pick(static_cast<size_t>(lines))),
                                       target, amount);
            break;
        default:
            if (lines > 0)
                session.DeletePreference(editor, list,
                                         static_cast<int32_t>(pick(static_cast<size_t>(lines))));
            break;
        }
    }
    }
}

// Runs the steps; returns the index of the step that made the last recorded command (-1: none).
int RunAll(TKordoEditSession& session, const std::vector<TStep>& steps) {
    int last = -1;
    for (size_t i = 0; i < steps.size(); ++i) {
        const size_t before = session.Count();
        Run(session, steps[i]);
        if (session.Count() != before)
            last = static_cast<int>(i);
    }
    return last;
}

std::vector<TStep> RandomSteps(std::mt19937_64& random) {
    std::vector<TStep> steps(1 + random() % 30);
    for (TStep& step : steps)
        step = {static_cast<int>(random() % 8), random()};
    return steps;
}

class EditSessionProperty : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Scratch = new TScratch;
        // The saves write nothing but a lock and a commit record, in memory where the system has it.
        std::error_code error;
        const fs::path shm = "/dev/shm";
        // Named as the scratch folder is, which no other test process shares.
        SaveFolder = (fs::is_directory(shm, error) ? shm : Scratch->Root) /
                     ("kordo-session-" + Scratch->Root.filename().string());
        fs::create_directories(SaveFolder);
        std::string reason;
        ASSERT_TRUE(KordoGenerateFiles(Scratch->Folder("generated"), {200, 5, false}, reason)) << reason;
        Bases.push_back(new TBase(Scratch->Root / "generated", SaveFolder));
        // Every damage in one database, and each alone in one of its own.
        WriteDamagedDatabase(Scratch->Folder("damaged"), DamagedDatabases(), 200);
        Bases.push_back(new TBase(Scratch->Root / "damaged", SaveFolder));
        for (size_t i = 0; i < DamagedDatabases().size(); ++i) {
            const std::string name = "damage" + std::to_string(i);
            WriteDamagedDatabase(Scratch->Folder(name), {DamagedDatabases()[i]}, 120);
            Bases.push_back(new TBase(Scratch->Root / name, SaveFolder));
        }
    }
    static void TearDownTestSuite() {
        for (TBase* base : Bases)
            delete base;
        Bases.clear();
        std::error_code ignored;
        fs::remove_all(SaveFolder, ignored);
        delete Scratch;
        Scratch = nullptr;
    }

    static inline TScratch* Scratch = nullptr;
    static inline fs::path SaveFolder;
    static inline std::vector<TBase*> Bases;
};

TEST_F(EditSessionProperty, UndoAllRedoAllAndUndoOneMatchWhatSavingWrites) {
    std::mt19937_64 random(20240611);
    std::vector<std::string> untouched;
    for (TBase* base : Bases) {
        TEditing plain(*base);
        untouched.push_back(base->Saved(plain.Session));
    }
    int recorded = 0;
    for (int sequence = 0; sequence < 500; ++sequence) {
        // Half of the sequences on the generated database, the others spread over the damaged ones.
        const size_t which =
            sequence % 2 == 0 ? 0 : 1 + static_cast<size_t>(sequence / 2) % (Bases.size() - 1);
        const TBase& base = *Bases[which];
        const std::vector<TStep> steps = RandomSteps(random);
        SCOPED_TRACE("sequence " + std::to_string(sequence) + " on database " + std::to_string(which) + ", " +
                     std::to_string(steps.size()) + " steps");

        TEditing forward(base);
        const int last = RunAll(forward.Session, steps);
        recorded += static_cast<int>(forward.Session.Count());
        EXPECT_EQ(forward.Session.Modified(), forward.Session.Count() > 0);
        const std::string edited = base.Saved(forward.Session);

        TEditing back(base);
        RunAll(back.Session, steps);
        EXPECT_EQ(back.Session.UndoAll(), forward.Session.Count());
        EXPECT_FALSE(back.Session.Modified());
        ASSERT_EQ(base.Saved(back.Session), untouched[which]) << "undoing every command";

        TEditing again(base);
        RunAll(again.Session, steps);
        again.Session.UndoAll();
        again.Session.RedoAll();
        ASSERT_EQ(base.Saved(again.Session), edited) << "redoing every command";

        if (last < 0)
            continue;
        TEditing one(base);
        RunAll(one.Session, steps);
        one.Session.Undo();
        TEditing shorter(base);
        RunAll(shorter.Session, std::vector<TStep>(steps.begin(), steps.begin() + last));
        ASSERT_EQ(base.Saved(one.Session), base.Saved(shorter.Session)) << "undoing the last command";
    }
    // The sequences must have edited: most steps make a command.
    EXPECT_GT(recorded, 2000);
}

// A line of the nations export without the start of a name group that holds no name: undoing across
// a save leaves such a group where the save put it, which no name and no reader depends on.
std::string WithoutEmptyGroupStarts(const std::string& line) {
    std::vector<std::string> cells;
    std::istringstream in(line);
    for (std::string cell; std::getline(in, cell, ',');)
        cells.push_back(cell);
    // Row, NationIndex, NationName, NationSecondName, ClubCount, StaffCount, then start and count of
    // the first, second and common name groups.
    for (size_t start = 6; start + 1 < cells.size() && start <= 10; start += 2)
        if (cells[start + 1] == "0")
            cells[start] = "-";
    std::string joined;
    for (const std::string& cell : cells)
        joined += (joined.empty() ? "" : ",") + cell;
    return joined;
}

// A database's tables as the export writes them, each table's lines sorted: what the database holds,
// whatever order a save left its people and names in.
std::string Exported(TKordoPregameDatabase& database) {
    std::string all;
    for (auto table : {TKordoExportTable::People, TKordoExportTable::Clubs, TKordoExportTable::Nations}) {
        std::ostringstream out;
        EXPECT_TRUE(KordoExportTable(database, table, out, TKordoExportFormat::Csv));
        std::istringstream in(out.str());
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(table == TKordoExportTable::Nations ? WithoutEmptyGroupStarts(line) : line);
        std::sort(lines.begin(), lines.end());
        for (const std::string& line : lines)
            all += line + "\n";
    }
    return all;
}

TKordoStaff* PlayerAtAClub(TKordoPregameDatabase& database) {
    for (TKordoStaff* staff : database.Staffs.List())
        if (staff->StaffType() == KordoStaffPlayer && staff->ClubSquad && staff->FirstName &&
            staff->SecondName)
            return staff;
    return nullptr;
}

TEST_F(EditSessionProperty, CommandsAreNamedAndANewOneEndsWhatCouldBeRedone) {
    TEditing editing(*Bases[0]);
    TKordoEditSession& session = editing.Session;
    TKordoStaff* staff = PlayerAtAClub(*editing.Database);
    ASSERT_TRUE(staff);
    EXPECT_FALSE(session.CanUndo() || session.CanRedo());
    EXPECT_EQ(session.UndoText(), "");

    session.Staff.Focus(staff);
    session.Staff.Control("edFirstName").Text = u"Braistdail";
    session.Staff.Control("edSecondName").Text = u"Abaist";
    ASSERT_TRUE(session.ConfirmStaff());
    EXPECT_EQ(session.UndoText(), "Confirm Changes to Abaist, Braistdail");
    TKordoClub* club = editing.Database->Clubs.Item(3);
    session.Club.Focus(club);
    ASSERT_TRUE(session.AddPreference(TKordoEditor::Club, "lboxRivals", editing.Database->Clubs.Item(4), 50));
    EXPECT_EQ(session.UndoText(), "Add Rival to " + KordoToUtf8(club->ShortClubName));
    session.DeletePreference(TKordoEditor::Club, "lboxRivals", 0);
    EXPECT_EQ(session.UndoText(), "Delete Rival of " + KordoToUtf8(club->ShortClubName));
    TKordoStaff* added = session.AddStaff();
    EXPECT_EQ(session.UndoText(), "Add Staff");
    session.DeleteStaff(staff);
    EXPECT_EQ(session.UndoText(), "Delete Staff Abaist, Braistdail");
    EXPECT_EQ(session.Count(), 5u);

    // What an undo concerned, and whether the person is listed afterwards.
    TKordoEditTarget target = session.Undo();
    EXPECT_TRUE(target.Staff == staff && target.Listed && !target.Club);
    EXPECT_EQ(session.RedoText(), "Delete Staff Abaist, Braistdail");
    session.Staff.Focus(added);
    target = session.Undo();
    EXPECT_TRUE(target.Staff == added && !target.Listed);
    EXPECT_EQ(session.Staff.Current, nullptr); // the form let go of the person who left the list
    target = session.Undo();
    EXPECT_TRUE(target.Club == club && !target.Staff);
    EXPECT_EQ(session.RedoText(), "Delete Rival of " + KordoToUtf8(club->ShortClubName));
    EXPECT_TRUE(session.Redo().Club == club);

    // A new command drops those that were undone.
    session.Club.Focus(club);
    session.Club.Control("seTraining").Number = (club->Training() + 1) % 20;
    ASSERT_TRUE(session.ConfirmClub());
    EXPECT_FALSE(session.CanRedo());
    EXPECT_EQ(session.Count(), 4u);
}

TEST_F(EditSessionProperty, ACommandThatChangesNothingIsNotRecorded) {
    TEditing editing(*Bases[0]);
    TKordoEditSession& session = editing.Session;
    TKordoStaff* staff = PlayerAtAClub(*editing.Database);
    session.Staff.Focus(staff);
    ASSERT_TRUE(session.ConfirmStaff());
    // A value typed over with what it was.
    session.Staff.Control("seCrossing").Number = staff->PlayerAtts->Image[13];
    session.Staff.Control("edFirstName").Text = staff->FirstName->Name;
    ASSERT_TRUE(session.ConfirmStaff());
    session.Club.Focus(editing.Database->Clubs.Item(0));
    ASSERT_TRUE(session.ConfirmClub());
    session.DeletePreference(TKordoEditor::Staff, "lboxFavouriteStaff", 99);
    std::string refusal;
    EXPECT_FALSE(session.AddPreference(TKordoEditor::Club, "lboxRivals", editing.Database->Clubs.Item(0), 50,
                                       &refusal)); // its own rival
    EXPECT_EQ(session.Count(), 0u);
    EXPECT_FALSE(session.Modified() || editing.Database->Modified);
}

TEST_F(EditSessionProperty, ModifiedFollowsTheStateLastLoadedOrSaved) {
    TEditing editing(*Bases[0]);
    TKordoEditSession& session = editing.Session;
    auto confirmApps = [&](int32_t apps) {
        session.Staff.Focus(PlayerAtAClub(*editing.Database));
        session.Staff.Control("seApps").Number = apps;
        ASSERT_TRUE(session.ConfirmStaff());
    };
    auto modified = [&] {
        EXPECT_EQ(session.Modified(), editing.Database->Modified);
        return session.Modified();
    };
    confirmApps(201);
    EXPECT_TRUE(modified());
    session.Undo();
    EXPECT_FALSE(modified());
    session.Redo();
    EXPECT_TRUE(modified());
    Bases[0]->Saved(session);
    EXPECT_FALSE(modified());
    session.Undo();
    EXPECT_TRUE(modified());
    session.Redo();
    EXPECT_FALSE(modified());
    // Once the saved state can no longer be reached, nothing returns to it.
    session.Undo();
    confirmApps(202);
    session.Undo();
    EXPECT_TRUE(modified());
    // Loading again (binding) forgets the stack.
    session.Bind(editing.Database.get());
    EXPECT_FALSE(modified() || session.CanUndo() || session.CanRedo());
}

TEST_F(EditSessionProperty, UndoAfterASaveGivesBackTheSameDatabase) {
    // On the generated database only: a damaged one changes with every save of its own accord.
    TEditing editing(*Bases[0]), untouched(*Bases[0]);
    const std::string before = Exported(*untouched.Database);
    const size_t findings = KordoCheckDatabase(*untouched.Database).size();
    // Saves between the edits reorder the people and the names; the commands made before a save are
    // then undone by the records they moved.
    std::mt19937_64 random(7);
    for (int round = 0; round < 4; ++round) {
        std::vector<TStep> steps(25);
        for (TStep& step : steps)
            step = {static_cast<int>(random() % 8), random()};
        RunAll(editing.Session, steps);
        Bases[0]->Saved(editing.Session);
    }
    ASSERT_GT(editing.Session.Count(), 50u);
    editing.Session.UndoAll();
    // Until the next save, a name group may lie where the name that came back opened it.
    Bases[0]->Saved(editing.Session);
    EXPECT_TRUE(Exported(*editing.Database) == before);
    EXPECT_EQ(KordoCheckDatabase(*editing.Database).size(), findings);
    // And everything made again after another save.
    editing.Session.RedoAll();
    Bases[0]->Saved(editing.Session);
    EXPECT_EQ(KordoCheckDatabase(*editing.Database).size(), findings);
}

TEST_F(EditSessionProperty, UndoingAnAddedPersonTakesHisIDBack) {
    TEditing editing(*Bases[0]);
    TKordoStaffs& staffs = editing.Database->Staffs;
    const int32_t maxID = staffs.MaxStaffID;
    TKordoStaff* added = editing.Session.AddStaff();
    EXPECT_EQ(staffs.FindStaff(added->ID()), added);
    editing.Session.Undo();
    EXPECT_EQ(staffs.FindStaff(added->ID()), nullptr);
    EXPECT_EQ(staffs.MaxStaffID, maxID);
    editing.Session.Redo();
    EXPECT_EQ(staffs.FindStaff(added->ID()), added);
    EXPECT_EQ(staffs.List().back(), added);
}

} // namespace
