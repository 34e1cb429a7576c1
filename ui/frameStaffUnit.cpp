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

    KordoLayOutEditor(this, pnlList, pcStaff, btnConfirmChanges, btnCancelChanges);

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
    // With no row focused, the current record stays as it was.
    if (void* record = KordoFocusRecord(pnlList, row, pcStaff, btnConfirmChanges, btnCancelChanges))
        Current = static_cast<TKordoStaff*>(record);
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
