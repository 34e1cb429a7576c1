#include "frameClubUnit.h"

#include "KordoComboBox.h"
#include "KordoDialogs.h"
#include "KordoFunctions.h"
#include "KordoListView.h"
#include "KordoPregameDatabase.h"
#include "KordoSearch.h"
#include "KordoSearchPanel.h"
#include "frameSquadUnit.h"
#include "frmEditPreferenceUnit.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TframeClub::TframeClub(TKordoEditSession& session, QWidget* parent) : QWidget(parent), Session(session) {
    setObjectName("frameClub");
    pnlList = new TKordoSearchPanel("lvClub", " Club Found", this);
    pcClub = new QTabWidget(this);
    pcClub->setObjectName("pcClub");
    pcClub->setUsesScrollButtons(true);

    TKordoFormView::TOptions options;
    options.PreferenceLists = {"lboxRivals", "lboxFavouriteStaff", "lboxDislikedStaff"};
    options.Hints["tsBoardScouts"] = "Doubleclick name, to see staff info.";
    View = new TKordoFormView(Session.Club, pcClub, std::move(options));
    cmbNation = static_cast<TPointerComboBox*>(View->Widget("cmbNation"));
    cmbProfessionalStatus = static_cast<TIntegerComboBox*>(View->Widget("cmbProfessionalStatus"));
    pcSquads = new QTabWidget;
    pcSquads->setObjectName("pcSquads");
    auto* squads = new QVBoxLayout(View->Page("tsSquads"));
    squads->addWidget(pcSquads);
    KordoLayOutEditor(this, pnlList, pcClub, btnConfirmChanges, btnCancelChanges);

    // A search leaves the club shown: its edits are seen to first.
    pnlList->BeforeSearch = [this] { return Leave(); };
    connect(pnlList->List, &TKordoListView::FocusChanged, this, &TframeClub::lvClubFocusChanged);
    connect(btnConfirmChanges, &QPushButton::clicked, this, &TframeClub::btnConfirmChangesClick);
    connect(btnCancelChanges, &QPushButton::clicked, this, &TframeClub::btnCancelChangesClick);
    connect(View, &TKordoFormView::Edited, this, &TframeClub::Edited);
    connect(View, &TKordoFormView::DoubleClicked, this, &TframeClub::DoubleClicked);
    connect(View, &TKordoFormView::PreferenceClicked, this, &TframeClub::PreferenceClicked);
    lvClubFocusChanged(-1);
}

void TframeClub::ToWidgets() {
    // With no club focused the pages are empty and there are no squad pages.
    if (!Session.Club.DetailsEnabled) {
        ClearSquadPages();
        View->ShowEmpty();
        return;
    }
    View->ToWidgets();
    for (TframeSquad* frame : SquadFrames)
        frame->ToWidgets();
}

TframeClub::~TframeClub() {
    // The widgets go after the form they show: they must hear nothing more of the user.
    ClearSquadPages();
    delete View;
}

void TframeClub::ClearSquadPages() {
    // From the last page to the first, each with its frame.
    for (int page = pcSquads->count() - 1; page >= 0; --page) {
        QWidget* gone = pcSquads->widget(page);
        pcSquads->removeTab(page);
        delete gone;
    }
    SquadFrames.clear();
}

void TframeClub::BuildSquadPages(int shown) {
    for (SquadForm& squad : Session.Club.Squads) {
        auto* page = new QWidget;
        page->setObjectName("tsSquad");
        auto* frame = new TframeSquad(squad, page);
        (new QVBoxLayout(page))->addWidget(frame);
        connect(frame, &TframeSquad::ShowStaffRequest, this, &TframeClub::ShowStaffRequest);
        connect(frame, &TframeSquad::Edited, this, &TframeClub::Edited);
        // A club's name is no shortcut: its "&" shows as itself.
        pcSquads->addTab(page, QString::fromStdU16String(squad.Caption).replace("&", "&&"));
        SquadFrames.push_back(frame);
    }
    if (shown >= 0 && shown < pcSquads->count())
        pcSquads->setCurrentIndex(shown);
}

void TframeClub::EnableDetails() {
    pcClub->setEnabled(Session.Club.DetailsEnabled);
    btnConfirmChanges->setEnabled(Session.Club.DetailsEnabled);
    btnCancelChanges->setEnabled(Session.Club.DetailsEnabled);
}

void TframeClub::Initialise(TKordoPregameDatabase* database) {
    // Before a load the squad pages let go of the forms they show: the session rebuilds them.
    if (Database != database)
        ClearSquadPages();
    Database = database;
    pnlList->Bind(database ? std::make_unique<TKordoClubSearch>(*database) : nullptr);
    lvClubFocusChanged(-1);
}

bool TframeClub::Leave() {
    if (!Session.ClubEdited())
        return true;
    const std::u16string& name = Session.Club.Current->ShortClubName;
    return TKordoDialogs::ConfirmOnLeaving(
        this, QString::fromStdU16String(name.empty() ? KordoNoNameText : name), Session.ConfirmWhenLeaving,
        [this] { return Confirm(); }, [this] { btnCancelChangesClick(); });
}

void TframeClub::FocusClub(TKordoClub* club) {
    // Every club gets squad pages of its own; the old ones go before the forms they show.
    const int shown = club && club == Session.Club.Current ? pcSquads->currentIndex() : 0;
    if (club)
        ClearSquadPages();
    Session.Club.Focus(club);
    if (club)
        BuildSquadPages(shown);
    ToWidgets();
    EnableDetails();
    emit Edited();
}

void TframeClub::lvClubFocusChanged(int row) {
    if (Restoring || !KordoLeaveRow(pnlList, Restoring, [this] { return Leave(); }))
        return;
    // The list's rows carry clubs.
    FocusClub(KordoFocusRecord<TKordoClub>(pnlList, row, pcClub, btnConfirmChanges, btnCancelChanges));
}

bool TframeClub::Confirm() {
    if (!Session.Club.DetailsEnabled)
        return false;
    View->FinishEditing();
    for (TframeSquad* frame : SquadFrames)
        frame->FinishEditing();
    std::string refusal;
    const bool confirmed = Session.ConfirmClub(&refusal);
    if (!confirmed)
        TKordoDialogs::Message(this, QString::fromStdString(refusal));
    ToWidgets();
    emit Modified();
    return confirmed;
}

void TframeClub::btnConfirmChangesClick() {
    Confirm();
}

void TframeClub::btnCancelChangesClick() {
    if (!Session.Club.DetailsEnabled)
        return;
    FocusClub(Session.Club.Current);
}

void TframeClub::Played(const TKordoEditTarget& target) {
    TKordoSearch* search = pnlList->Search();
    if (TKordoClub* club = target.Club; club && search) {
        // The club gets a row when it has none (appended and focused), or the focus on its own.
        if (int row = search->RowOf(club); row < 0)
            pnlList->List->ListModel()->Change([club](TKordoSearch& rows) { rows.AddRecord(club); });
        else
            pnlList->List->FocusRow(row);
        KordoFocusRow(pnlList, search->RowOf(club), pcClub, btnConfirmChanges, btnCancelChanges);
        FocusClub(club);
    } else if (Session.Club.Current && Session.Club.DetailsEnabled) {
        // A person's command may have changed the lists the club's pages show.
        FocusClub(Session.Club.Current);
    }
}

void TframeClub::DoubleClicked(const QString& control) {
    TKordoStaff* staff = nullptr;
    ClubForm& form = Session.Club;
    if (control == "edChairman")
        staff = form.Chairman();
    else if (control == "lboxBoardMembers" || control == "lboxScouts")
        staff = form.PersonOnLine(control.toStdString(), form.Control(control.toStdString()).Selected);
    else if (control == "lboxRivals" || control == "lboxFavouriteStaff" || control == "lboxDislikedStaff")
        PreferenceClicked(TKordoPreferenceAction::Edit, control);
    if (staff)
        emit ShowStaffRequest(staff);
}

void TframeClub::PreferenceClicked(TKordoPreferenceAction action, const QString& list) {
    if (!PreferenceDialog || !Session.Club.DetailsEnabled)
        return;
    KordoEditPreferences(*PreferenceDialog, Session, TKordoEditor::Club, action, list.toStdString(), this);
    ToWidgets();
    emit Modified();
}
