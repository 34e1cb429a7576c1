// The "&Staff" page: the searchable list of people and the pages of the focused person.
#pragma once

#include <QWidget>

class QPushButton;
class QTabWidget;
class TIntegerComboBox;
class TKordoPregameDatabase;
class TKordoSearchPanel;
class TPointerComboBox;
struct TKordoStaff;

class TframeStaff : public QWidget {
    Q_OBJECT
public:
    explicit TframeStaff(QWidget* parent = nullptr);
    // Binds a database (nullptr: none); the list starts empty and nobody is focused.
    void Initialise(TKordoPregameDatabase* database);
    // A new blank person, appended to the listed rows and focused.
    void AddStaff();
    // Lists only this person and focuses him.
    void ShowStaff(TKordoStaff* staff);
    TKordoStaff* CurrentStaff() const { return Current; }

    TKordoSearchPanel* pnlList;
    QTabWidget* pcStaff;
    QPushButton* btnConfirmChanges;
    QPushButton* btnCancelChanges;
    TIntegerComboBox* cmbStaffType;
    TPointerComboBox* cmbNation;
    TPointerComboBox* cmbSecondNation;
    TPointerComboBox* cmbClubContracted;
    TPointerComboBox* cmbNationContracted;
    TIntegerComboBox* cmbNationJob;
    TIntegerComboBox* cmbPreferredFormation;

signals:
    // Something in the database was changed.
    void Modified();

private:
    void lvStaffFocusChanged(int row);
    TKordoPregameDatabase* Database = nullptr;
    TKordoStaff* Current = nullptr;
};
