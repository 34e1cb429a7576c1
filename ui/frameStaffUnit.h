// The "&Staff" page: the searchable list of people and the ten pages of the focused person. The pages
// are a view of a StaffForm: the frame builds one widget per control of the form, copies the form into
// the widgets, writes the user's edits into the form and calls the form's rules from its handlers.
#pragma once

#include "KordoFormView.h"
#include "StaffForm.h"

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
    explicit TframeStaff(QWidget* parent = nullptr);
    ~TframeStaff() override;
    // Binds a database (nullptr: none); the list starts empty and nobody is focused. The form's lists
    // are filled by the main window (Form().Bind) before; a form bound to another database is bound
    // here.
    void Initialise(TKordoPregameDatabase* database);
    // A new blank person, appended to the listed rows and focused.
    void AddStaff();
    // Asks, then takes the focused person out of the list and the database.
    void DeleteStaff();
    // Lists only this person and focuses him.
    void ShowStaff(TKordoStaff* staff);
    TKordoStaff* CurrentStaff() const { return Staff.Current; }
    // The dialog the preference buttons open.
    void SetPreferenceDialog(TfrmEditPreference* dialog) { PreferenceDialog = dialog; }

    StaffForm& Form() { return Staff; }
    // Copies the whole form into the widgets, without raising their change signals.
    void ToWidgets();

    void lvStaffFocusChanged(int row);
    void btnConfirmChangesClick();
    void btnCancelChangesClick();

    TKordoSearchPanel* pnlList;
    QTabWidget* pcStaff;
    QPushButton* btnConfirmChanges;
    QPushButton* btnCancelChanges;

signals:
    // Something in the database was changed.
    void Modified();

private:
    void EnableDetails();
    void PreferenceClicked(TKordoPreferenceAction action, const QString& list);

    StaffForm Staff;
    TKordoPregameDatabase* Database = nullptr;
    TKordoFormView* View;
    TfrmEditPreference* PreferenceDialog = nullptr;
};
