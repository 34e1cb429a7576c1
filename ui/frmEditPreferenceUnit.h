// The preference dialog: a person or a club is searched for and chosen, with an amount, for a
// preference list of either editor. The dialog shows a TKordoPreferenceDialog, which holds its state
// and rules. One instance lives for the whole run.
#pragma once

#include "KordoEditSession.h"
#include "KordoFormView.h"
#include "KordoPreferences.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

class QLabel;
class QPushButton;
class QSpinBox;
class TKordoPregameDatabase;
class TKordoSearch;
class TKordoSearchPanel;

class TfrmEditPreference : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEditPreference(QWidget* parent = nullptr);
    ~TfrmEditPreference() override;

    // The database the dialog searches; set before each use. Another database than before (or none,
    // before a load) drops the lists, whose records may be gone.
    void SetDatabase(TKordoPregameDatabase* database);
    // Prepares one use: the caption, an empty list of people (staff mode) or clubs, empty labels,
    // nobody chosen, the amount 100.
    void OpenPreferenceDialog(bool staffMode, bool favourite, bool adding);
    // Editing: the amount, and the current target listed alone and chosen.
    void PresetPreferenceDialog(const TKordoRecordRef& target, int32_t amount);
    // Shows the dialog modally; true when it was closed with OK.
    bool Execute();
    // What OK closed the dialog with: the chosen person or club (nullptr for none) and the amount.
    TKordoRecordRef Chosen() const { return Preference.Chosen(); }
    int32_t Amount() const { return Preference.Amount; }
    const TKordoPreferenceDialog& Model() const { return Preference; }

    void btnSearchClick();
    void lvSearchListFocusChanged(int row);
    void seAmountExit();

    TKordoSearchPanel* pnlSearch;
    QLabel* lblStaff;
    QLabel* lblStaffName;
    QLabel* lblClubName;
    QLabel* lblNationName;
    QLabel* lblDateOfBirth;  // staff mode
    QLabel* lblFullClubName; // club mode
    QSpinBox* seAmount;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    // Test hook: while set, Execute opens no window but hands the dialog to the hook, which drives it
    // as a user would and closes it with btnOK or btnCancel (closing it with neither means Cancel).
    static std::function<void(TfrmEditPreference&)> Testing;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void btnOKClick();
    void ToWidgets();

    QLabel* lblBorn;
    QLabel* lblFullName;
    TKordoPreferenceDialog Preference;
    TKordoPregameDatabase* Database = nullptr;
    std::unique_ptr<TKordoSearch> StaffSearch, ClubSearch;
};

// What a preference list's Add, Delete and Edit buttons, and a double-click on one of its lines, do in
// both editors: the dialog chooses a record and an amount, and the session writes them into the person
// or club the editor shows as one command; a refusal is shown in a message box. The caller shows the
// form again.
void KordoEditPreferences(TfrmEditPreference& dialog, TKordoEditSession& session, TKordoEditor editor,
                          TKordoPreferenceAction action, const std::string& list, QWidget* parent);
