#include "frameStaffUnit.h"

#include "KordoDialogs.h"
#include "KordoFunctions.h"
#include "KordoListView.h"
#include "KordoPregameDatabase.h"
#include "KordoSearch.h"
#include "KordoSearchPanel.h"
#include "KordoStaffRemoval.h"
#include "frmEditPreferenceUnit.h"

#include <QPushButton>
#include <QTabWidget>

TframeStaff::TframeStaff(QWidget* parent) : QWidget(parent) {
    setObjectName("frameStaff");
    pnlList = new TKordoSearchPanel("lvStaff", " People Found", this);
    pcStaff = new QTabWidget(this);
    pcStaff->setObjectName("pcStaff");
    // Every tab stays in sight: the window is made wide enough for all of them.
    pcStaff->setUsesScrollButtons(false);
    TKordoFormView::TOptions options;
    options.PreferenceLists = {"lboxFavouriteStaff", "lboxFavouriteClubs", "lboxDislikedStaff",
                               "lboxDislikedClubs"};
    options.ListChanged = [this](std::string_view name) { return Staff.RunChangeHandler(name); };
    options.HeadingEnabled = [this](std::u16string_view heading) { return Staff.HeadingEnabled(heading); };
    View = new TKordoFormView(Staff, pcStaff, std::move(options));
    KordoLayOutEditor(this, pnlList, pcStaff, btnConfirmChanges, btnCancelChanges);

    connect(pnlList->List, &TKordoListView::FocusChanged, this, &TframeStaff::lvStaffFocusChanged);
    connect(btnConfirmChanges, &QPushButton::clicked, this, &TframeStaff::btnConfirmChangesClick);
    connect(btnCancelChanges, &QPushButton::clicked, this, &TframeStaff::btnCancelChangesClick);
    connect(View, &TKordoFormView::PreferenceClicked, this, &TframeStaff::PreferenceClicked);
    connect(View, &TKordoFormView::DoubleClicked, this, [this](const QString& control) {
        if (control.startsWith("lbox"))
            PreferenceClicked(TKordoPreferenceAction::Edit, control);
    });
    lvStaffFocusChanged(-1);
}

TframeStaff::~TframeStaff() {
    // The widgets go after the form they show: they must hear nothing more of the user.
    delete View;
}

void TframeStaff::ToWidgets() {
    View->ToWidgets();
}

void TframeStaff::EnableDetails() {
    pcStaff->setEnabled(Staff.DetailsEnabled);
    btnConfirmChanges->setEnabled(Staff.DetailsEnabled);
    btnCancelChanges->setEnabled(Staff.DetailsEnabled);
}

void TframeStaff::Initialise(TKordoPregameDatabase* database) {
    Database = database;
    // Before a load the form lets go of the records it lists: they are about to be freed.
    if (Staff.Database != database)
        Staff.Bind(database);
    pnlList->Bind(database ? std::make_unique<TKordoStaffSearch>(*database) : nullptr);
    lvStaffFocusChanged(-1);
}

void TframeStaff::lvStaffFocusChanged(int row) {
    void* record = KordoFocusRecord(pnlList, row, pcStaff, btnConfirmChanges, btnCancelChanges);
    // The list's rows carry people.
    Staff.Focus(static_cast<TKordoStaff*>(record));
    ToWidgets();
    EnableDetails();
}

void TframeStaff::btnConfirmChangesClick() {
    if (!Staff.DetailsEnabled)
        return;
    View->FinishEditing();
    std::string refusal;
    if (!Staff.Confirm(&refusal)) {
        TKordoDialogs::Message(this, QString::fromStdString(refusal));
        ToWidgets();
        return;
    }
    TKordoSearch* search = pnlList->Search();
    int row = pnlList->List->FocusedRow();
    if (search && row >= 0 && row < search->RowCount()) {
        // The row keeps its place but may show a new name. Only its text changed, not its size: a
        // repaint does, where the model's dataChanged would lay out every row again (8 ms at a
        // quarter of a million).
        search->RowChanged(row);
        pnlList->List->update(pnlList->List->ListModel()->index(row));
    }
    ToWidgets();
    if (Database && Database->Modified)
        emit Modified();
}

void TframeStaff::btnCancelChangesClick() {
    Staff.Cancel();
    ToWidgets();
}

void TframeStaff::AddStaff() {
    if (!Database || !pnlList->Search())
        return;
    TKordoStaff* staff = Database->Staffs.NewStaff();
    Database->Modified = true;
    pnlList->List->ListModel()->Change([staff](TKordoSearch& search) { search.AddRecord(staff); });
    emit Modified();
}

void TframeStaff::DeleteStaff() {
    TKordoSearch* search = pnlList->Search();
    int row = pnlList->List->FocusedRow();
    if (!Database || !search || row < 0 || row >= search->RowCount())
        return;
    auto* staff = static_cast<TKordoStaff*>(search->RowRecord(row));
    QString name = QString::fromStdU16String(StaffDisplayName(*staff));
    if (name.isEmpty())
        name = QString::fromStdU16String(search->RowText(row));
    if (!TKordoDialogs::AskYesNo(this, "Delete " + name + "?"))
        return;
    // Every row showing him goes before he does; with the focused one gone, nobody is focused.
    pnlList->List->ListModel()->Change([staff, row](TKordoSearch& rows) {
        rows.SetFocusedRow(row);
        for (int32_t at = rows.RowOf(staff); at >= 0; at = rows.RowOf(staff))
            rows.RemoveRow(at);
    });
    if (Staff.Current == staff)
        Staff.Current = nullptr;
    KordoDeleteStaff(*Database, staff);
    lvStaffFocusChanged(-1);
    emit Modified();
}

void TframeStaff::ShowStaff(TKordoStaff* staff) {
    if (!pnlList->Search())
        return;
    pnlList->List->ListModel()->Change([staff](TKordoSearch& search) { search.ShowSingle(staff); });
}

void TframeStaff::PreferenceClicked(TKordoPreferenceAction action, const QString& list) {
    if (!PreferenceDialog || !Staff.DetailsEnabled)
        return;
    KordoEditPreferences(*PreferenceDialog, Staff, action, list.toStdString(), this);
    ToWidgets();
    if (Database && Database->Modified)
        emit Modified();
}
