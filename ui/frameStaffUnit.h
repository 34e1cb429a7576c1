// The "&Staff" page: the searchable list of people and the ten pages of the focused person. The pages
// are a view of a StaffForm: the frame builds one widget per control of the form, copies the form into
// the widgets, writes the user's edits into the form and calls the form's rules from its handlers.
#pragma once

#include "StaffForm.h"

#include <QWidget>
#include <vector>

class QGridLayout;
class QLabel;
class QPushButton;
class QTabWidget;
class TKordoPregameDatabase;
class TKordoSearchPanel;
struct TKordoStaff;

class TframeStaff : public QWidget {
    Q_OBJECT
public:
    explicit TframeStaff(QWidget* parent = nullptr);
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
    // A control of the form with the widget that shows it.
    struct TShownControl {
        size_t Index; // in Staff.Controls
        QWidget* Widget;
        QLabel* Label;
        uint32_t ShownItems; // the ItemsVersion the widget's items were filled from
        bool Filled;
    };
    struct THeading {
        QLabel* Label;
        std::u16string Text;
    };

    void BuildPages();
    void LayOutColumns(const std::vector<size_t>& controls, QWidget* page, QGridLayout* grid);
    void LayOutLists(const std::vector<size_t>& controls, QWidget* page, QGridLayout* grid);
    // Makes the control's widget and its label (nullptr for none) on the page.
    QLabel* ShowOnPage(size_t index, QWidget* page, QWidget*& widget);
    QWidget* MakeWidget(const TKordoControl& control, QWidget* page);
    void Connect(size_t shown);
    void ListChanged(size_t shown, int index);
    void ShowControl(TShownControl& shown);
    void EnableDetails();
    // The control stands for the stored value until edited; a spin box typed in keeps its text
    // uncommitted until it loses the focus, so commit it first.
    void CommitTyping();

    StaffForm Staff;
    TKordoPregameDatabase* Database = nullptr;
    std::vector<TShownControl> Shown;
    std::vector<THeading> Headings;
    bool Syncing = false;
};
