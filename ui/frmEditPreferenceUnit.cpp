#include "frmEditPreferenceUnit.h"

#include "ClubForm.h"
#include "KordoDataWrappers.h"
#include "KordoDialogs.h"
#include "KordoListView.h"
#include "KordoSearch.h"
#include "KordoSearchPanel.h"
#include "StaffForm.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

std::function<void(TfrmEditPreference&)> TfrmEditPreference::Testing;

namespace {

QLabel* NameLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setMinimumWidth(160);
    return label;
}

} // namespace

TfrmEditPreference::TfrmEditPreference(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("frmEditPreference");
    setModal(true);
    pnlSearch = new TKordoSearchPanel("lvSearchList", QString(), this);
    pnlSearch->ListsAllWhenEmpty = false;
    pnlSearch->ShowsCount = false;
    pnlSearch->setMinimumSize(420, 320);
    // Enter runs the search through the default button while the box has the focus.
    disconnect(pnlSearch->edSearch, &QLineEdit::returnPressed, pnlSearch, nullptr);
    pnlSearch->edSearch->installEventFilter(this);

    lblStaff = new QLabel("Staff:", this);
    lblStaffName = NameLabel("lblStaffName", this);
    lblClubName = NameLabel("lblClubName", this);
    lblNationName = NameLabel("lblNationName", this);
    lblDateOfBirth = NameLabel("lblDateOfBirth", this);
    lblFullClubName = NameLabel("lblFullClubName", this);
    seAmount = new QSpinBox(this);
    seAmount->setObjectName("seAmount");
    seAmount->setRange(5, 100);
    seAmount->setSingleStep(5);
    btnOK = new QPushButton("OK", this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnCancel = new QPushButton("Cancel", this);
    btnCancel->setObjectName("btnCancel");

    auto* details = new QGridLayout;
    details->addWidget(lblStaff, 0, 0);
    details->addWidget(lblStaffName, 0, 1);
    details->addWidget(new QLabel("Club:", this), 1, 0);
    details->addWidget(lblClubName, 1, 1);
    details->addWidget(new QLabel("Nation:", this), 2, 0);
    details->addWidget(lblNationName, 2, 1);
    // People of one name are told apart by their date of birth, clubs of one short name by the full.
    lblBorn = new QLabel("Born:", this);
    lblFullName = new QLabel("Full Name:", this);
    details->addWidget(lblBorn, 3, 0);
    details->addWidget(lblDateOfBirth, 3, 1);
    details->addWidget(lblFullName, 4, 0);
    details->addWidget(lblFullClubName, 4, 1);
    auto* amount = new QLabel("Amount:", this);
    amount->setBuddy(seAmount);
    details->addWidget(amount, 5, 0);
    details->addWidget(seAmount, 5, 1, Qt::AlignLeft);
    details->setRowStretch(6, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    details->addLayout(buttons, 7, 0, 1, 2);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(pnlSearch, 1);
    layout->addLayout(details);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(pnlSearch->List, &TKordoListView::FocusChanged, this,
            &TfrmEditPreference::lvSearchListFocusChanged);
    connect(seAmount, &QSpinBox::valueChanged, this, [this](int value) { Preference.Amount = value; });
    connect(seAmount, &QSpinBox::editingFinished, this, &TfrmEditPreference::seAmountExit);
    connect(btnOK, &QPushButton::clicked, this, &TfrmEditPreference::btnOKClick);
    // Esc closes the dialog through reject as well.
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    OpenPreferenceDialog(true, true, true);
}

TfrmEditPreference::~TfrmEditPreference() {
    // The list lets go of the rows before the searches go.
    pnlSearch->Show(nullptr);
}

bool TfrmEditPreference::eventFilter(QObject* watched, QEvent* event) {
    // "Search" is the default button while the search box has the focus, OK otherwise.
    if (watched == pnlSearch->edSearch && event->type() == QEvent::FocusOut)
        btnOK->setDefault(true);
    return QDialog::eventFilter(watched, event);
}

void TfrmEditPreference::SetDatabase(TKordoPregameDatabase* database) {
    if (database == Database)
        return;
    pnlSearch->Show(nullptr);
    StaffSearch.reset();
    ClubSearch.reset();
    Database = database;
    Preference.OpenPreferenceDialog(Preference.StaffMode, Preference.Favourite, true);
    ToWidgets();
}

void TfrmEditPreference::OpenPreferenceDialog(bool staffMode, bool favourite, bool adding) {
    Preference.OpenPreferenceDialog(staffMode, favourite, adding);
    // One search of each kind serves every use with the same database: preparing one takes a while
    // with a quarter of a million people. An empty text empties the list.
    TKordoSearch* search = nullptr;
    if (Database) {
        std::unique_ptr<TKordoSearch>& kept = staffMode ? StaffSearch : ClubSearch;
        if (!kept) {
            if (staffMode)
                kept = std::make_unique<TKordoStaffSearch>(*Database);
            else
                kept = std::make_unique<TKordoClubSearch>(*Database);
            kept->Prepare();
        }
        search = kept.get();
        search->Search(std::u16string());
    }
    // The list hears nothing of the old rows while it changes over.
    {
        QSignalBlocker quiet(pnlSearch->List);
        pnlSearch->Show(search);
        // Nothing of an earlier use survives, the filters neither.
        pnlSearch->SetFilter({});
        // What tells people of one name apart (their club and date of birth) and clubs (their full
        // name and nation) shows beside the name.
        if (staffMode)
            pnlSearch->List->SetDefaultColumns({true, true, false, true, false, false, false, false});
        else
            pnlSearch->List->SetDefaultColumns({true, true, true, false, false});
    }
    pnlSearch->edSearch->clear();
    ToWidgets();
}

void TfrmEditPreference::PresetPreferenceDialog(const TKordoRecordRef& target, int32_t amount) {
    Preference.PresetPreferenceDialog(target, amount);
    // AddRecord adds only a record of the search's own table.
    if (target)
        pnlSearch->List->ListModel()->Change([&](TKordoSearch& search) {
            search.AddRecord(target.Get<TKordoStaff>());
            search.AddRecord(target.Get<TKordoClub>());
        });
    ToWidgets();
}

void TfrmEditPreference::ToWidgets() {
    setWindowTitle(QString::fromStdU16String(Preference.Caption));
    lblStaff->setVisible(Preference.StaffMode);
    lblStaffName->setVisible(Preference.StaffMode);
    lblStaffName->setText(QString::fromStdU16String(Preference.StaffName));
    lblClubName->setText(QString::fromStdU16String(Preference.ClubName));
    lblNationName->setText(QString::fromStdU16String(Preference.NationName));
    lblBorn->setVisible(Preference.StaffMode);
    lblDateOfBirth->setVisible(Preference.StaffMode);
    lblDateOfBirth->setText(QString::fromStdU16String(Preference.DateOfBirth));
    lblFullName->setVisible(!Preference.StaffMode);
    lblFullClubName->setVisible(!Preference.StaffMode);
    lblFullClubName->setText(QString::fromStdU16String(Preference.FullClubName));
    QSignalBlocker quiet(seAmount);
    seAmount->setValue(Preference.Amount);
}

void TfrmEditPreference::FormShow() {
    btnOK->setDefault(true);
    pnlSearch->edSearch->setFocus();
}

void TfrmEditPreference::btnSearchClick() {
    pnlSearch->btnSearchClick();
}

void TfrmEditPreference::lvSearchListFocusChanged(int row) {
    TKordoSearch* search = pnlSearch->Search();
    // Leaving every row keeps the choice.
    if (search && row >= 0 && row < search->RowCount()) {
        if (Preference.StaffMode)
            Preference.Choose(search->RowRecord<TKordoStaff>(row));
        else
            Preference.Choose(search->RowRecord<TKordoClub>(row));
    }
    ToWidgets();
}

void TfrmEditPreference::seAmountExit() {
    Preference.Amount = seAmount->value();
    Preference.seAmountExit();
    ToWidgets();
}

void TfrmEditPreference::btnOKClick() {
    // What is typed in the amount box counts, rounded as leaving the box rounds it.
    seAmount->interpretText();
    seAmountExit();
    accept();
}

bool TfrmEditPreference::Execute() {
    FormShow();
    if (!Testing)
        return exec() == QDialog::Accepted;
    setResult(QDialog::Rejected);
    Testing(*this);
    return result() == QDialog::Accepted;
}

namespace {

// The amount of the entry a line of a preference list shows: the entry the edit changes.
int32_t EntryAmount(StaffForm& form, const std::string& list, const TKordoRecordRef& target) {
    if (!form.Current)
        return 100;
    TKordoStaffWrapper person(form.Current);
    const TKordoRelation* entry = KordoPreferenceListOf(list).StaffMode
                                      ? person.FindStaffPreference(target.Get<TKordoStaff>())
                                      : person.FindClubPreference(target.Get<TKordoClub>());
    return entry ? entry->Amount : 100;
}

int32_t EntryAmount(ClubForm& form, const std::string& list, const TKordoRecordRef& target) {
    if (!form.Current)
        return 100;
    TKordoClubWrapper club(form.Current);
    const TKordoRelation* entry = list == "lboxRivals" ? club.FindRival(target.Get<TKordoClub>())
                                                       : club.FindStaffPreference(target.Get<TKordoStaff>());
    return entry ? entry->Amount : 100;
}

} // namespace

void KordoEditPreferences(TfrmEditPreference& dialog, TKordoEditSession& session, TKordoEditor editor,
                          TKordoPreferenceAction action, const std::string& list, QWidget* parent) {
    TKordoForm& form = editor == TKordoEditor::Staff ? static_cast<TKordoForm&>(session.Staff) : session.Club;
    const int32_t line = form.Control(list).Selected;
    if (action == TKordoPreferenceAction::Delete) {
        session.DeletePreference(editor, list, line);
        return;
    }
    const bool adding = action == TKordoPreferenceAction::Add;
    if (!adding && line < 0)
        return;
    TKordoPreferenceList mode = KordoPreferenceListOf(list);
    dialog.SetDatabase(session.Database());
    dialog.OpenPreferenceDialog(mode.StaffMode, mode.Favourite, adding);
    if (!adding) {
        TKordoRecordRef target = KordoLineRecord(form.Control(list), line).value_or(nullptr);
        const int32_t amount = editor == TKordoEditor::Staff ? EntryAmount(session.Staff, list, target)
                                                             : EntryAmount(session.Club, list, target);
        dialog.PresetPreferenceDialog(target, amount);
    }
    if (!dialog.Execute() || !dialog.Chosen())
        return;
    std::string refusal;
    const bool done =
        adding ? session.AddPreference(editor, list, dialog.Chosen(), dialog.Amount(), &refusal)
               : session.EditPreference(editor, list, line, dialog.Chosen(), dialog.Amount(), &refusal);
    if (!done && !refusal.empty())
        TKordoDialogs::Message(parent, QString::fromStdString(refusal));
}
