// One editing session over a loaded database: the staff and club editors' forms, and every change made
// through them as one command on an undo stack without a depth limit. A command keeps the journal of
// what it touched (TKordoChangeJournal), so undoing it restores the database exactly and its memory
// follows the edit, not the database. The window and `kordo-db apply` both drive a session; nothing
// else writes to a bound database.
#pragma once

#include "ClubForm.h"
#include "KordoJournal.h"
#include "KordoPregameDatabase.h"
#include "StaffForm.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The editor a preference command goes through: the person or the club it shows owns the list.
enum class TKordoEditor { Staff, Club };

// What an undo or redo concerned: the person or the club to show, and whether the person is in the
// staff list afterwards (an undone Add Staff and a redone Delete Staff take him out of it).
struct TKordoEditTarget {
    TKordoStaff* Staff = nullptr;
    TKordoClub* Club = nullptr;
    bool Listed = false;
};

class TKordoEditSession {
public:
    TKordoEditSession();
    ~TKordoEditSession();
    TKordoEditSession(const TKordoEditSession&) = delete;
    TKordoEditSession& operator=(const TKordoEditSession&) = delete;

    // Binds a database, or none (before a load frees the records), and both forms, which fill their
    // lists: the club form's progress first, then the staff form's. The stack is emptied and the
    // database counts as unmodified.
    void Bind(TKordoPregameDatabase* database, const TKordoProgressEvent& clubProgress = {},
              const TKordoProgressEvent& staffProgress = {});
    TKordoPregameDatabase* Database() const { return Bound; }

    StaffForm Staff;
    ClubForm Club;

    // The commands: each runs the forms' and wrappers' rules as one edit; one that changes nothing is
    // not recorded. "Confirm Changes" of the person or the club the form shows; false with the
    // refusal.
    bool ConfirmStaff(std::string* refusal = nullptr);
    bool ConfirmClub(std::string* refusal = nullptr);
    // "Add Staff": a new blank person at the end of the list; nullptr without a database.
    TKordoStaff* AddStaff();
    // "Delete Staff" of a listed person; the staff form lets go of him first when it shows him.
    void DeleteStaff(TKordoStaff* staff);
    // The preference lists of the person or the club the editor shows (see StaffForm and ClubForm).
    bool AddPreference(TKordoEditor editor, std::string_view list, const TKordoRecordRef& target,
                       int32_t amount, std::string* refusal = nullptr);
    bool EditPreference(TKordoEditor editor, std::string_view list, int32_t line,
                        const TKordoRecordRef& target, int32_t amount, std::string* refusal = nullptr);
    void DeletePreference(TKordoEditor editor, std::string_view list, int32_t line);

    // Undo and redo. The texts name the command ("Confirm Changes to Abaist, Braistdail"), empty when
    // there is none.
    bool CanUndo() const { return Done > 0; }
    bool CanRedo() const { return Done < Stack.size(); }
    std::string UndoText() const;
    std::string RedoText() const;
    // Takes back or makes again one command (nothing when there is none) and tells what it concerned.
    // The forms keep what they show, except that the staff form lets go of a person who left the
    // list: the caller shows the target again.
    TKordoEditTarget Undo();
    TKordoEditTarget Redo();
    // Every command; how many there were.
    size_t UndoAll();
    size_t RedoAll();

    // Whether the database differs from what was last loaded or saved: the stack stands elsewhere than
    // it stood then. The database's Modified flag follows it.
    bool Modified() const { return Done != Saved; }
    // Saves the database; when that succeeds, the state counts as saved.
    bool Save(const std::filesystem::path& folder);
    // Whether the staff or the club editor's pages hold edits not yet confirmed.
    bool StaffEdited() const;
    bool ClubEdited() const;
    // Whether leaving a person or club with such edits confirms them at once rather than asking.
    bool ConfirmWhenLeaving = false;

    // The commands on the stack (done and undone), and the memory they hold in bytes.
    size_t Count() const { return Stack.size(); }
    size_t Bytes() const;

private:
    enum class TKind { ConfirmStaff, ConfirmClub, AddStaff, DeleteStaff, Preference };
    struct TCommand;
    class TScope;
    // Keeps the edit the scope recorded as a command, unless it changed nothing.
    void Record(TScope& scope, TKind kind, std::string text, TKordoStaff* staff, TKordoClub* club);
    TKordoEditTarget Played(const TCommand& command, bool done);
    std::string PreferenceText(const char* verb, TKordoEditor editor, std::string_view list) const;

    TKordoPregameDatabase* Bound = nullptr;
    std::vector<std::unique_ptr<TCommand>> Stack;
    size_t Done = 0;  // the commands below are done, the others undone
    size_t Saved = 0; // where the stack stood at the last load or save; none past the end
};
