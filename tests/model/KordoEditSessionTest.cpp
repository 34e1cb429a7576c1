// The editing session: seeded random sequences of edits over a generated database and over damaged
// ones, checked by what saving writes. Undoing every command must give what saving the untouched
// database gives, redoing them what the edits gave, and undoing one what the sequence without that
// command gives; a command that changes nothing is not recorded.
#include "KordoEditSession.h"
#include "KordoExport.h"
#include "KordoGenerator.h"
#include "TestDamagedDatabases.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using TBytes = std::vector<uint8_t>;

std::string Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A database's files, loaded as often as a check needs a fresh copy, and saved into memory.
class TBase {
public:
    TBase(const fs::path& folder, const fs::path& saveFolder)
        : Server(Contents(KordoServerFile(folder))), People(Contents(KordoPeopleFile(folder))),
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
        SaveFolder = (fs::is_directory(shm, error) ? shm : Scratch->Root) /
                     ("kordo-session-" + std::to_string(reinterpret_cast<uintptr_t>(Scratch)));
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

} // namespace
