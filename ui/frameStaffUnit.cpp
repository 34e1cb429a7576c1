#include "frameStaffUnit.h"

#include "KordoDialogs.h"
#include "KordoFunctions.h"
#include "KordoListView.h"
#include "KordoPregameDatabase.h"
#include "KordoSearch.h"
#include "KordoSearchPanel.h"
#include "frmEditPreferenceUnit.h"

#include <QPushButton>
#include <QTabWidget>

namespace {

QString NameOf(const TKordoStaff* staff) {
    std::u16string name = staff ? StaffDisplayName(*staff) : std::u16string();
    return QString::fromStdU16String(name.empty() ? KordoNoNameText : name);
}

} // namespace

TframeStaff::TframeStaff(TKordoEditSession& session, QWidget* parent) : QWidget(parent), Session(session) {
    setObjectName("frameStaff");
    pnlList = new TKordoSearchPanel("lvStaff", " People Found", this);
    pcStaff = new QTabWidget(this);
    pcStaff->setObjectName("pcStaff");
    // However many pages a person has, the tabs scroll rather than widen the pages and squeeze the list.
    pcStaff->setUsesScrollButtons(true);
    TKordoFormView::TOptions options;
    options.PreferenceLists = {"lboxFavouriteStaff", "lboxFavouriteClubs", "lboxDislikedStaff",
                               "lboxDislikedClubs"};
    options.ListChanged = [this](std::string_view name) { return Session.Staff.RunChangeHandler(name); };
    options.HeadingEnabled = [this](std::u16string_view heading) {
        return Session.Staff.HeadingEnabled(heading);
    };
    View = new TKordoFormView(Session.Staff, pcStaff, std::move(options));
    KordoLayOutEditor(this, pnlList, pcStaff, btnConfirmChanges, btnCancelChanges);

    // A search leaves the person shown: his edits are seen to first.
    pnlList->BeforeSearch = [this] { return Leave(); };
    connect(pnlList->List, &TKordoListView::FocusChanged, this, &TframeStaff::lvStaffFocusChanged);
    connect(btnConfirmChanges, &QPushButton::clicked, this, &TframeStaff::btnConfirmChangesClick);
    connect(btnCancelChanges, &QPushButton::clicked, this, &TframeStaff::btnCancelChangesClick);
    connect(View, &TKordoFormView::Edited, this, &TframeStaff::Edited);
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
    // With nobody focused the pages are empty, not the last person's values greyed out.
    if (Session.Staff.DetailsEnabled)
        View->ToWidgets();
    else
        View->ShowEmpty();
}

void TframeStaff::EnableDetails() {
    pcStaff->setEnabled(Session.Staff.DetailsEnabled);
    btnConfirmChanges->setEnabled(Session.Staff.DetailsEnabled);
    btnCancelChanges->setEnabled(Session.Staff.DetailsEnabled);
}

void TframeStaff::Initialise(TKordoPregameDatabase* database) {
    Database = database;
    pnlList->Bind(database ? std::make_unique<TKordoStaffSearch>(*database) : nullptr);
    lvStaffFocusChanged(-1);
}

bool TframeStaff::Leave() {
    return !Session.StaffEdited() || TKordoDialogs::ConfirmOnLeaving(
                                         this, NameOf(Session.Staff.Current), Session.ConfirmWhenLeaving,
                                         [this] { return Confirm(); }, [this] { btnCancelChangesClick(); });
}

void TframeStaff::lvStaffFocusChanged(int row) {
    if (Restoring || !KordoLeaveRow(pnlList, Restoring, [this] { return Leave(); }))
        return;
    Session.Staff.Focus(
        KordoFocusRecord<TKordoStaff>(pnlList, row, pcStaff, btnConfirmChanges, btnCancelChanges));
    ToWidgets();
    EnableDetails();
    emit Edited();
}

bool TframeStaff::Confirm() {
    if (!Session.Staff.DetailsEnabled)
        return false;
    View->FinishEditing();
    std::string refusal;
    const bool confirmed = Session.ConfirmStaff(&refusal);
    if (!confirmed)
        TKordoDialogs::Message(this, QString::fromStdString(refusal));
    else
        RowChanged(Session.Staff.Current);
    ToWidgets();
    emit Modified();
    return confirmed;
}

void TframeStaff::btnConfirmChangesClick() {
    Confirm();
}

void TframeStaff::RowChanged(TKordoStaff* staff) {
    TKordoSearch* search = pnlList->Search();
    int row = search ? search->RowOf(staff) : -1;
    if (row < 0)
        return;
    // The row keeps its place but may show a new name. Only its text changed, not its size: a repaint
    // does, where the model's dataChanged would lay out every row again (8 ms at a quarter of a
    // million).
    search->RowChanged(row);
    pnlList->List->RepaintRow(row);
}

void TframeStaff::btnCancelChangesClick() {
    Session.Staff.Cancel();
    ToWidgets();
    emit Edited();
}

void TframeStaff::AddStaff() {
    if (!Database || !pnlList->Search() || !Leave())
        return;
    TKordoStaff* staff = Session.AddStaff();
    pnlList->List->ListModel()->Change([staff](TKordoSearch& search) { search.AddRecord(staff); });
    emit Modified();
}

void TframeStaff::DeleteStaff() {
    TKordoSearch* search = pnlList->Search();
    int row = pnlList->List->FocusedRow();
    if (!Database || !search || row < 0 || row >= search->RowCount() || !Leave())
        return;
    TKordoStaff* staff = search->RowRecord<TKordoStaff>(row);
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
    Session.DeleteStaff(staff);
    lvStaffFocusChanged(-1);
    emit Modified();
}

void TframeStaff::ShowStaff(TKordoStaff* staff) {
    if (!pnlList->Search() || !Leave())
        return;
    pnlList->List->ListModel()->Change([staff](TKordoSearch& search) { search.ShowSingle(staff); });
}

void TframeStaff::Played(const TKordoEditTarget& target) {
    TKordoSearch* search = pnlList->Search();
    TKordoStaff* staff = target.Staff;
    if (search && staff && !target.Listed) {
        // He left the list: his rows go, and the focus with them when it was his.
        pnlList->List->ListModel()->Change([staff](TKordoSearch& rows) {
            for (int32_t at = rows.RowOf(staff); at >= 0; at = rows.RowOf(staff))
                rows.RemoveRow(at);
        });
    } else if (search && staff) {
        // He gets a row when he has none (appended and focused), or the focus on his own.
        if (int row = search->RowOf(staff); row < 0) {
            pnlList->List->ListModel()->Change([staff](TKordoSearch& rows) { rows.AddRecord(staff); });
        } else {
            RowChanged(staff);
            pnlList->List->FocusRow(row);
        }
        KordoFocusRow(pnlList, search->RowOf(staff), pcStaff, btnConfirmChanges, btnCancelChanges);
        Session.Staff.Focus(staff);
    } else if (Session.Staff.Current && Session.Staff.DetailsEnabled) {
        // Another editor's command may have changed what the pages show of the person.
        Session.Staff.Focus(Session.Staff.Current);
    }
    ToWidgets();
    EnableDetails();
    emit Edited();
}

void TframeStaff::PreferenceClicked(TKordoPreferenceAction action, const QString& list) {
    if (!PreferenceDialog || !Session.Staff.DetailsEnabled)
        return;
    KordoEditPreferences(*PreferenceDialog, Session, TKordoEditor::Staff, action, list.toStdString(), this);
    ToWidgets();
    emit Modified();
}
