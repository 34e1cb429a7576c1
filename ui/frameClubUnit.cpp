#include "frameClubUnit.h"

#include "KordoComboBox.h"
#include "KordoListView.h"
#include "KordoPregameDatabase.h"
#include "KordoSearch.h"
#include "KordoSearchPanel.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TframeClub::TframeClub(QWidget* parent) : QWidget(parent) {
    setObjectName("frameClub");
    pnlList = new TKordoSearchPanel("lvClub", " Club Found", this);
    pcClub = new QTabWidget(this);
    pcClub->setObjectName("pcClub");
    auto* general = new QWidget;
    general->setObjectName("tsGeneral");
    auto* form = new QFormLayout(general);
    cmbNation = new TPointerComboBox(general, true);
    cmbNation->setObjectName("cmbNation");
    cmbProfessionalStatus = new TIntegerComboBox(general, false);
    cmbProfessionalStatus->setObjectName("cmbProfessionalStatus");
    form->addRow("Nation:", cmbNation);
    form->addRow("Status:", cmbProfessionalStatus);
    pcClub->addTab(general, "&General");

    KordoLayOutEditor(this, pnlList, pcClub, btnConfirmChanges, btnCancelChanges);

    connect(pnlList->List, &TKordoListView::FocusChanged, this, &TframeClub::lvClubFocusChanged);
    lvClubFocusChanged(-1);
}

void TframeClub::Initialise(TKordoPregameDatabase* database) {
    Database = database;
    Current = nullptr;
    pnlList->Bind(database ? std::make_unique<TKordoClubSearch>(*database) : nullptr);
    lvClubFocusChanged(-1);
}

void TframeClub::lvClubFocusChanged(int row) {
    // With no row focused, the current record stays as it was.
    if (void* record = KordoFocusRecord(pnlList, row, pcClub, btnConfirmChanges, btnCancelChanges))
        Current = static_cast<TKordoClub*>(record);
}
