// The "&Clubs" page: the searchable list of clubs and the pages of the focused club, with one squad
// frame per squad. The pages are a view of a ClubForm: the frame copies the form into the widgets,
// writes the user's edits into it and calls its rules.
#pragma once

#include "ClubForm.h"
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
    explicit TframeClub(QWidget* parent = nullptr);
    ~TframeClub() override;
    // Binds a database (nullptr: none); the list starts empty and no club is focused. The form's
    // lists are filled by the main window (Form().Bind) before; a form bound to another database is
    // bound here.
    void Initialise(TKordoPregameDatabase* database);
    // The dialog the preference buttons open.
    void SetPreferenceDialog(TfrmEditPreference* dialog) { PreferenceDialog = dialog; }
    TKordoClub* CurrentClub() const { return Club.Current; }

    ClubForm& Form() { return Club; }
    // Copies the whole form into the widgets, the squad pages' too.
    void ToWidgets();

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
    // Something in the database was changed.
    void Modified();
    // A person was double-clicked: the chairman, a board member or scout, or a squad's person.
    void ShowStaffRequest(TKordoStaff* staff);

private:
    // The squad pages go before the club's form rebuilds its squad forms, and come back after: one
    // page per squad form, in order, each with its frame, showing the page at `shown`.
    void ClearSquadPages();
    void BuildSquadPages(int shown);
    void DoubleClicked(const QString& control);
    void PreferenceClicked(TKordoPreferenceAction action, const QString& list);
    void EnableDetails();
    void NotifyModified();

    ClubForm Club;
    TKordoFormView* View;
    TKordoPregameDatabase* Database = nullptr;
    TfrmEditPreference* PreferenceDialog = nullptr;
};
