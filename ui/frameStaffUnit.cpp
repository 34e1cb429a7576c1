#include "frameStaffUnit.h"

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

namespace {

template <class Box> Box* Named(const char* name, bool sorted, QWidget* parent) {
    auto* box = new Box(parent, sorted);
    box->setObjectName(name);
    return box;
}

} // namespace

TframeStaff::TframeStaff(QWidget* parent) : QWidget(parent) {
    setObjectName("frameStaff");
    pnlList = new TKordoSearchPanel("lvStaff", " People Found", this);
    pcStaff = new QTabWidget(this);
    pcStaff->setObjectName("pcStaff");

    auto* general = new QWidget;
    general->setObjectName("tsGeneral");
    auto* generalForm = new QFormLayout(general);
    cmbStaffType = Named<TIntegerComboBox>("cmbStaffType", false, general);
    cmbNation = Named<TPointerComboBox>("cmbNation", true, general);
    cmbSecondNation = Named<TPointerComboBox>("cmbSecondNation", true, general);
    generalForm->addRow("Staff Type:", cmbStaffType);
    generalForm->addRow("Nation:", cmbNation);
    generalForm->addRow("Second Nation:", cmbSecondNation);
    pcStaff->addTab(general, "&General");

    auto* contract = new QWidget;
    contract->setObjectName("tsContract");
    auto* contractForm = new QFormLayout(contract);
    cmbClubContracted = Named<TPointerComboBox>("cmbClubContracted", true, contract);
    cmbNationContracted = Named<TPointerComboBox>("cmbNationContracted", true, contract);
    cmbNationJob = Named<TIntegerComboBox>("cmbNationJob", true, contract);
    contractForm->addRow("Club Contracted:", cmbClubContracted);
    contractForm->addRow("Nation Contracted:", cmbNationContracted);
    contractForm->addRow("Job:", cmbNationJob);
    pcStaff->addTab(contract, "&Contract");

    auto* coaching = new QWidget;
    coaching->setObjectName("tsCoaching");
    auto* coachingForm = new QFormLayout(coaching);
    cmbPreferredFormation = Named<TIntegerComboBox>("cmbPreferredFormation", true, coaching);
    coachingForm->addRow("Preferred Formation:", cmbPreferredFormation);
    pcStaff->addTab(coaching, "&Coaching");

    btnConfirmChanges = new QPushButton("Confirm Changes", this);
    btnConfirmChanges->setObjectName("btnConfirmChanges");
    btnCancelChanges = new QPushButton("Cancel Changes", this);
    btnCancelChanges->setObjectName("btnCancelChanges");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnConfirmChanges);
    buttons->addWidget(btnCancelChanges);
    auto* details = new QVBoxLayout;
    details->addWidget(pcStaff, 1);
    details->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(pnlList, 2);
    layout->addLayout(details, 3);

    connect(pnlList->List, &TKordoListView::FocusChanged, this, &TframeStaff::lvStaffFocusChanged);
    lvStaffFocusChanged(-1);
}

void TframeStaff::Initialise(TKordoPregameDatabase* database) {
    Database = database;
    Current = nullptr;
    pnlList->Bind(database ? std::make_unique<TKordoStaffSearch>(*database) : nullptr);
    lvStaffFocusChanged(-1);
}

void TframeStaff::lvStaffFocusChanged(int row) {
    TKordoSearch* search = pnlList->Search();
    bool focused = search && row >= 0 && row < search->RowCount();
    if (focused)
        Current = static_cast<TKordoStaff*>(search->RowRecord(row));
    pcStaff->setEnabled(focused);
    btnConfirmChanges->setEnabled(focused);
    btnCancelChanges->setEnabled(focused);
}

void TframeStaff::AddStaff() {
    if (!Database || !pnlList->Search())
        return;
    TKordoStaff* staff = Database->Staffs.NewStaff();
    Database->Modified = true;
    pnlList->List->ListModel()->Change([staff](TKordoSearch& search) { search.AddRecord(staff); });
    emit Modified();
}

void TframeStaff::ShowStaff(TKordoStaff* staff) {
    if (!pnlList->Search())
        return;
    pnlList->List->ListModel()->Change([staff](TKordoSearch& search) { search.ShowSingle(staff); });
}
