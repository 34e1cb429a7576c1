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

    btnConfirmChanges = new QPushButton("Confirm Changes", this);
    btnConfirmChanges->setObjectName("btnConfirmChanges");
    btnCancelChanges = new QPushButton("Cancel Changes", this);
    btnCancelChanges->setObjectName("btnCancelChanges");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnConfirmChanges);
    buttons->addWidget(btnCancelChanges);
    auto* details = new QVBoxLayout;
    details->addWidget(pcClub, 1);
    details->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(pnlList, 2);
    layout->addLayout(details, 3);

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
    TKordoSearch* search = pnlList->Search();
    bool focused = search && row >= 0 && row < search->RowCount();
    if (focused)
        Current = static_cast<TKordoClub*>(search->RowRecord(row));
    pcClub->setEnabled(focused);
    btnConfirmChanges->setEnabled(focused);
    btnCancelChanges->setEnabled(focused);
}
