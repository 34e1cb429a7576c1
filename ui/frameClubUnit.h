// The "&Clubs" page: the searchable list of clubs and the pages of the focused club, with one squad
// frame per squad. The pages are a view of the editing session's ClubForm: the frame copies the form
// into the widgets, writes the user's edits into it and runs the session's commands.
#pragma once

#include "KordoEditSession.h"
#include "KordoFormView.h"

#include <QWidget>
#include <vector>

class QPushButton;
class QTabWidget;
class TIntegerComboBox;
class TKordoPregameDatabase;
class TKordoSearchPanel;
class TPointerComboBox;
class TframeSquad;
class TfrmEditPreference;
struct TKordoClub;

class TframeClub : public QWidget {
    Q_OBJECT
public:
    TframeClub(TKordoEditSession& session, QWidget* parent = nullptr);
    ~TframeClub() override;
    // Binds a database (nullptr: none); the list starts empty and no club is focused. The squad pages
    // go first; the session is bound to the database (and its forms filled) by the main window.
    void Initialise(TKordoPregameDatabase* database);
    // The dialog the preference buttons open.
    void SetPreferenceDialog(TfrmEditPreference* dialog) { PreferenceDialog = dialog; }
    TKordoClub* CurrentClub() const { return Session.Club.Current; }

    ClubForm& Form() { return Session.Club; }
    // Copies the whole form into the widgets, the squad pages' too; with no club focused, empties
    // them and takes the squad pages away.
    void ToWidgets();

    // Leaving the club shown: with edits not yet confirmed, asks "Confirm the changes to <name>?" (or
    // confirms at once when the session says so). Yes confirms, No drops the edits; false when the
    // user cancels: he stays where he is.
    bool Leave();
    // After an undo or redo: the club it concerned gets the focus (and a row when it has none), and
    // the pages show the records as they now stand.
    void Played(const TKordoEditTarget& target);

    void lvClubFocusChanged(int row);
    void btnConfirmChangesClick();
    void btnCancelChangesClick();

    TKordoSearchPanel* pnlList;
    QTabWidget* pcClub;
    QTabWidget* pcSquads;
    QPushButton* btnConfirmChanges;
    QPushButton* btnCancelChanges;
    TPointerComboBox* cmbNation;
    TIntegerComboBox* cmbProfessionalStatus;
    std::vector<TframeSquad*> SquadFrames; // one per page of pcSquads

signals:
    // The session ran a command (the database may have changed).
    void Modified();
    // The user changed a value on the pages, or they were filled again.
    void Edited();
    // A person was double-clicked: the chairman, a board member or scout, or a squad's person.
    void ShowStaffRequest(TKordoStaff* staff);

private:
    // The squad pages go before the club's form rebuilds its squad forms, and come back after: one
    // page per squad form, in order, each with its frame, showing the page at `shown`.
    void ClearSquadPages();
    void BuildSquadPages(int shown);
    // The form filled from the club (or none), with squad pages of its own.
    void FocusClub(TKordoClub* club);
    void DoubleClicked(const QString& control);
    void PreferenceClicked(TKordoPreferenceAction action, const QString& list);
    void EnableDetails();
    bool Confirm();

    TKordoEditSession& Session;
    TKordoFormView* View;
    TKordoPregameDatabase* Database = nullptr;
    TfrmEditPreference* PreferenceDialog = nullptr;
    bool Restoring = false; // the focus goes back to the club the user stays with
};
