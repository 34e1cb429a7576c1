#include "KordoEditSession.h"

#include "KordoFunctions.h"
#include "KordoPreferences.h"
#include "KordoStaffRemoval.h"

#include <QString>

#include <algorithm>
#include <limits>

namespace {

constexpr size_t Never = std::numeric_limits<size_t>::max();

std::string Utf8(const std::u16string& text) {
    return QString::fromStdU16String(text).toStdString();
}

// A record as its list shows it.
std::string NameOf(const TKordoStaff* staff) {
    std::u16string name = staff ? StaffDisplayName(*staff) : std::u16string();
    return Utf8(name.empty() ? KordoNoNameText : name);
}
std::string NameOf(const TKordoClub* club) {
    return Utf8(club && !club->ShortClubName.empty() ? club->ShortClubName : KordoNoNameText);
}

// What a preference list holds, as a command names it.
const char* ListNoun(std::string_view list) {
    if (list == "lboxRivals")
        return "Rival";
    const TKordoPreferenceList kind = KordoPreferenceListOf(list);
    if (kind.StaffMode)
        return kind.Favourite ? "Favourite Staff" : "Disliked Staff";
    return kind.Favourite ? "Favourite Club" : "Disliked Club";
}

} // namespace

struct TKordoEditSession::TCommand {
    TKind Kind;
    std::string Text;
    TKordoStaff* Staff;
    TKordoClub* Club;
    TKordoChangeJournal Journal;
};

// The journal of one edit, set on the database for as long as the edit runs.
class TKordoEditSession::TScope {
public:
    explicit TScope(TKordoPregameDatabase& database) : Database(database) { Database.SetJournal(&Journal); }
    ~TScope() { Database.SetJournal(nullptr); }
    TScope(const TScope&) = delete;
    TScope& operator=(const TScope&) = delete;

    TKordoPregameDatabase& Database;
    TKordoChangeJournal Journal;
};

TKordoEditSession::TKordoEditSession() = default;
TKordoEditSession::~TKordoEditSession() = default;

void TKordoEditSession::Bind(TKordoPregameDatabase* database, const TKordoProgressEvent& clubProgress,
                             const TKordoProgressEvent& staffProgress) {
    Stack.clear();
    Done = Saved = 0;
    Bound = database;
    Club.Bind(database, clubProgress);
    Staff.Bind(database, staffProgress);
    if (Bound)
        Bound->Modified = false;
}

void TKordoEditSession::Record(TScope& scope, TKind kind, std::string text, TKordoStaff* staff,
                               TKordoClub* club) {
    Bound->SetJournal(nullptr);
    scope.Journal.Finish();
    if (scope.Journal.Empty())
        return;
    // The commands undone are gone, and with them a saved state among them.
    Stack.resize(Done);
    if (Saved > Done)
        Saved = Never;
    Stack.push_back(
        std::make_unique<TCommand>(TCommand{kind, std::move(text), staff, club, std::move(scope.Journal)}));
    ++Done;
    Bound->Modified = Modified();
}

bool TKordoEditSession::ConfirmStaff(std::string* refusal) {
    if (!Bound)
        return Staff.Confirm(refusal);
    TScope scope(*Bound);
    const bool confirmed = Staff.Confirm(refusal);
    Record(scope, TKind::ConfirmStaff, "Confirm Changes to " + NameOf(Staff.Current), Staff.Current, nullptr);
    return confirmed;
}

bool TKordoEditSession::ConfirmClub(std::string* refusal) {
    if (!Bound)
        return Club.Confirm(refusal);
    TScope scope(*Bound);
    const bool confirmed = Club.Confirm(refusal);
    Record(scope, TKind::ConfirmClub, "Confirm Changes to " + NameOf(Club.Current), nullptr, Club.Current);
    return confirmed;
}

TKordoStaff* TKordoEditSession::AddStaff() {
    if (!Bound)
        return nullptr;
    TScope scope(*Bound);
    TKordoStaff* staff = Bound->Staffs.NewStaff();
    Record(scope, TKind::AddStaff, "Add Staff", staff, nullptr);
    return staff;
}

void TKordoEditSession::DeleteStaff(TKordoStaff* staff) {
    const auto& people = Bound ? Bound->Staffs.List() : std::vector<TKordoStaff*>();
    if (!staff || std::find(people.begin(), people.end(), staff) == people.end())
        return;
    std::string text = "Delete Staff " + NameOf(staff);
    if (Staff.Current == staff) {
        Staff.Focus(nullptr);
        Staff.Current = nullptr;
    }
    TScope scope(*Bound);
    KordoDeleteStaff(*Bound, staff);
    Record(scope, TKind::DeleteStaff, std::move(text), staff, nullptr);
}

std::string TKordoEditSession::PreferenceText(const char* verb, TKordoEditor editor,
                                              std::string_view list) const {
    const std::string owner = editor == TKordoEditor::Staff ? NameOf(Staff.Current) : NameOf(Club.Current);
    return std::string(verb) + " " + ListNoun(list) + (std::string_view(verb) == "Add" ? " to " : " of ") +
           owner;
}

bool TKordoEditSession::AddPreference(TKordoEditor editor, std::string_view list,
                                      const TKordoRecordRef& target, int32_t amount, std::string* refusal) {
    if (!Bound)
        return false;
    TScope scope(*Bound);
    const bool added = editor == TKordoEditor::Staff ? Staff.AddPreference(list, target, amount, refusal)
                                                     : Club.AddPreference(list, target, amount, refusal);
    Record(scope, TKind::Preference, PreferenceText("Add", editor, list),
           editor == TKordoEditor::Staff ? Staff.Current : nullptr,
           editor == TKordoEditor::Club ? Club.Current : nullptr);
    return added;
}

bool TKordoEditSession::EditPreference(TKordoEditor editor, std::string_view list, int32_t line,
                                       const TKordoRecordRef& target, int32_t amount, std::string* refusal) {
    if (!Bound)
        return false;
    TScope scope(*Bound);
    const bool edited = editor == TKordoEditor::Staff
                            ? Staff.EditPreference(list, line, target, amount)
                            : Club.EditPreference(list, line, target, amount, refusal);
    Record(scope, TKind::Preference, PreferenceText("Edit", editor, list),
           editor == TKordoEditor::Staff ? Staff.Current : nullptr,
           editor == TKordoEditor::Club ? Club.Current : nullptr);
    return edited;
}

void TKordoEditSession::DeletePreference(TKordoEditor editor, std::string_view list, int32_t line) {
    if (!Bound)
        return;
    TScope scope(*Bound);
    std::string text = PreferenceText("Delete", editor, list);
    if (editor == TKordoEditor::Staff)
        Staff.DeletePreference(list, line);
    else
        Club.DeletePreference(list, line);
    Record(scope, TKind::Preference, std::move(text), editor == TKordoEditor::Staff ? Staff.Current : nullptr,
           editor == TKordoEditor::Club ? Club.Current : nullptr);
}

std::string TKordoEditSession::UndoText() const {
    return CanUndo() ? Stack[Done - 1]->Text : std::string();
}

std::string TKordoEditSession::RedoText() const {
    return CanRedo() ? Stack[Done]->Text : std::string();
}

TKordoEditTarget TKordoEditSession::Undo() {
    if (!CanUndo())
        return {};
    TCommand& command = *Stack[--Done];
    command.Journal.Undo();
    return Played(command, false);
}

TKordoEditTarget TKordoEditSession::Redo() {
    if (!CanRedo())
        return {};
    TCommand& command = *Stack[Done++];
    command.Journal.Redo();
    return Played(command, true);
}

TKordoEditTarget TKordoEditSession::Played(const TCommand& command, bool done) {
    Bound->Modified = Modified();
    TKordoEditTarget target{command.Staff, command.Club, command.Staff != nullptr};
    if (command.Kind == TKind::AddStaff)
        target.Listed = done;
    else if (command.Kind == TKind::DeleteStaff)
        target.Listed = !done;
    if (target.Staff && !target.Listed && Staff.Current == target.Staff) {
        Staff.Focus(nullptr);
        Staff.Current = nullptr;
    }
    return target;
}

size_t TKordoEditSession::UndoAll() {
    size_t count = Done;
    while (CanUndo())
        Undo();
    return count;
}

size_t TKordoEditSession::RedoAll() {
    size_t count = Stack.size() - Done;
    while (CanRedo())
        Redo();
    return count;
}

bool TKordoEditSession::Save(const std::filesystem::path& folder) {
    if (!Bound || !Bound->Save(folder))
        return false;
    Saved = Done;
    return true;
}

bool TKordoEditSession::StaffEdited() const {
    return Staff.Current && Staff.DetailsEnabled && Staff.AnyChanged();
}

bool TKordoEditSession::ClubEdited() const {
    return Club.Current && Club.DetailsEnabled &&
           (Club.AnyChanged() || std::any_of(Club.Squads.begin(), Club.Squads.end(),
                                             [](const SquadForm& s) { return s.AnyChanged(); }));
}

size_t TKordoEditSession::Bytes() const {
    size_t bytes = Stack.capacity() * sizeof(Stack[0]);
    for (const auto& command : Stack)
        bytes += sizeof(TCommand) + command->Text.capacity() + command->Journal.Bytes();
    return bytes;
}
