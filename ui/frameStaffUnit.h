// The "&Staff" page: the searchable list of people and the ten pages of the focused person. The pages
// are a view of the editing session's StaffForm: the frame builds one widget per control of the form,
// copies the form into the widgets, writes the user's edits into the form and runs the session's
// commands from its handlers.
#pragma once

#include "KordoEditSession.h"
#include "KordoFormView.h"

#include <QWidget>

class QPushButton;
class QTabWidget;
class TKordoPregameDatabase;
class TKordoSearchPanel;
class TfrmEditPreference;
struct TKordoStaff;

class TframeStaff : public QWidget {
    Q_OBJECT
public:
    TframeStaff(TKordoEditSession& session, QWidget* parent = nullptr);
    ~TframeStaff() override;
    // Binds a database (nullptr: none); the list starts empty and nobody is focused. The session is
    // bound to it (and its forms filled) by the main window.
    void Initialise(TKordoPregameDatabase* database);
    // A new blank person, appended to the listed rows and focused.
    void AddStaff();
    // Asks, then takes the focused person out of the list and the database.
    void DeleteStaff();
    // Lists only this person and focuses him.
    void ShowStaff(TKordoStaff* staff);
    TKordoStaff* CurrentStaff() const { return Session.Staff.Current; }
    // The dialog the preference buttons open.
    void SetPreferenceDialog(TfrmEditPreference* dialog) { PreferenceDialog = dialog; }

    StaffForm& Form() { return Session.Staff; }
    // Copies the whole form into the widgets, without raising their change signals; with nobody
    // focused, empties them.
    void ToWidgets();

    // Leaving the person shown: with edits not yet confirmed, asks "Confirm the changes to <name>?"
    // (or confirms at once when the session says so). Yes confirms, No drops the edits; false when the
    // user cancels or the confirm is refused: he stays where he is.
    bool Leave();
    // After an undo or redo: the person it concerned gets his row back (or loses it) and the focus,
    // and the pages show the records as they now stand.
    void Played(const TKordoEditTarget& target);

    void lvStaffFocusChanged(int row);
    void btnConfirmChangesClick();
    void btnCancelChangesClick();

    TKordoSearchPanel* pnlList;
    QTabWidget* pcStaff;
    QPushButton* btnConfirmChanges;
    QPushButton* btnCancelChanges;

signals:
    // The session ran a command (the database may have changed).
    void Modified();
    // The user changed a value on the pages, or they were filled again.
    void Edited();

private:
    void EnableDetails();
    void PreferenceClicked(TKordoPreferenceAction action, const QString& list);
    bool Confirm();
    // The person's row shows his name as it now stands.
    void RowChanged(TKordoStaff* staff);

    TKordoEditSession& Session;
    TKordoPregameDatabase* Database = nullptr;
    TKordoFormView* View;
    TfrmEditPreference* PreferenceDialog = nullptr;
    bool Restoring = false; // the focus goes back to the person the user stays with
};
