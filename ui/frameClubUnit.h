// The "&Clubs" page: the searchable list of clubs and the pages of the focused club.
#pragma once

#include <QWidget>

class QPushButton;
class QTabWidget;
class TIntegerComboBox;
class TKordoPregameDatabase;
class TKordoSearchPanel;
class TPointerComboBox;
struct TKordoClub;

class TframeClub : public QWidget {
    Q_OBJECT
public:
    explicit TframeClub(QWidget* parent = nullptr);
    void Initialise(TKordoPregameDatabase* database);
    TKordoClub* CurrentClub() const { return Current; }

    TKordoSearchPanel* pnlList;
    QTabWidget* pcClub;
    QPushButton* btnConfirmChanges;
    QPushButton* btnCancelChanges;
    TPointerComboBox* cmbNation;
    TIntegerComboBox* cmbProfessionalStatus;

private:
    void lvClubFocusChanged(int row);
    TKordoPregameDatabase* Database = nullptr;
    TKordoClub* Current = nullptr;
};
