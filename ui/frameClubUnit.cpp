#include "frameClubUnit.h"

#include "KordoComboBox.h"
#include "KordoDialogs.h"
#include "KordoListView.h"
#include "KordoPregameDatabase.h"
#include "KordoSearch.h"
#include "KordoSearchPanel.h"
#include "frameSquadUnit.h"
#include "frmEditPreferenceUnit.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TframeClub::TframeClub(QWidget* parent) : QWidget(parent) {
    setObjectName("frameClub");
    pnlList = new TKordoSearchPanel("lvClub", " Club Found", this);
    pcClub = new QTabWidget(this);
    pcClub->setObjectName("pcClub");
    pcClub->setUsesScrollButtons(false);

    TKordoFormView::TOptions options;
    options.PreferenceLists = {"lboxRivals", "lboxFavouriteStaff", "lboxDislikedStaff"};
    options.Hints["tsBoardScouts"] = "Doubleclick name, to see staff info.";
    View = new TKordoFormView(Club, pcClub, std::move(options));
    cmbNation = static_cast<TPointerComboBox*>(View->Widget("cmbNation"));
    cmbProfessionalStatus = static_cast<TIntegerComboBox*>(View->Widget("cmbProfessionalStatus"));
    pcSquads = new QTabWidget;
    pcSquads->setObjectName("pcSquads");
    auto* squads = new QVBoxLayout(View->Page("tsSquads"));
    squads->addWidget(pcSquads);
    KordoLayOutEditor(this, pnlList, pcClub, btnConfirmChanges, btnCancelChanges);

    connect(pnlList->List, &TKordoListView::FocusChanged, this, &TframeClub::lvClubFocusChanged);
    connect(btnConfirmChanges, &QPushButton::clicked, this, &TframeClub::btnConfirmChangesClick);
    connect(btnCancelChanges, &QPushButton::clicked, this, &TframeClub::btnCancelChangesClick);
    connect(View, &TKordoFormView::DoubleClicked, this, &TframeClub::DoubleClicked);
    connect(View, &TKordoFormView::PreferenceClicked, this, &TframeClub::PreferenceClicked);
    lvClubFocusChanged(-1);
}

void TframeClub::ToWidgets() {
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
    for (SquadForm& squad : Club.Squads) {
        auto* page = new QWidget;
        page->setObjectName("tsSquad");
        auto* frame = new TframeSquad(squad, page);
        (new QVBoxLayout(page))->addWidget(frame);
        connect(frame, &TframeSquad::ShowStaffRequest, this, &TframeClub::ShowStaffRequest);
        pcSquads->addTab(page, QString::fromStdU16String(squad.Caption));
        SquadFrames.push_back(frame);
    }
    if (shown >= 0 && shown < pcSquads->count())
        pcSquads->setCurrentIndex(shown);
}

void TframeClub::EnableDetails() {
    pcClub->setEnabled(Club.DetailsEnabled);
    btnConfirmChanges->setEnabled(Club.DetailsEnabled);
    btnCancelChanges->setEnabled(Club.DetailsEnabled);
}

void TframeClub::NotifyModified() {
    if (Database && Database->Modified)
        emit Modified();
}

void TframeClub::Initialise(TKordoPregameDatabase* database) {
    Database = database;
    // Before a load the form lets go of the records it shows: they are about to be freed.
    if (Club.Database != database) {
        ClearSquadPages();
        Club.Bind(database);
    }
    pnlList->Bind(database ? std::make_unique<TKordoClubSearch>(*database) : nullptr);
    lvClubFocusChanged(-1);
}

void TframeClub::lvClubFocusChanged(int row) {
    TKordoClub* record =
        KordoFocusRecord<TKordoClub>(pnlList, row, pcClub, btnConfirmChanges, btnCancelChanges);
    // Every club gets squad pages of its own; the old ones go before the forms they show.
    if (record)
        ClearSquadPages();
    Club.Focus(record);
    if (record)
        BuildSquadPages(0);
    ToWidgets();
    EnableDetails();
}

void TframeClub::btnConfirmChangesClick() {
    if (!Club.DetailsEnabled)
        return;
    View->FinishEditing();
    for (TframeSquad* frame : SquadFrames)
        frame->FinishEditing();
    std::string refusal;
    if (!Club.Confirm(&refusal))
        TKordoDialogs::Message(this, QString::fromStdString(refusal));
    ToWidgets();
    NotifyModified();
}

void TframeClub::btnCancelChangesClick() {
    if (!Club.DetailsEnabled)
        return;
    int shown = pcSquads->currentIndex();
    ClearSquadPages();
    Club.Cancel();
    BuildSquadPages(shown);
    ToWidgets();
}

void TframeClub::DoubleClicked(const QString& control) {
    TKordoStaff* staff = nullptr;
    if (control == "edChairman")
        staff = Club.Chairman();
    else if (control == "lboxBoardMembers" || control == "lboxScouts")
        staff = Club.PersonOnLine(control.toStdString(), Club.Control(control.toStdString()).Selected);
    else if (control == "lboxRivals" || control == "lboxFavouriteStaff" || control == "lboxDislikedStaff")
        PreferenceClicked(TKordoPreferenceAction::Edit, control);
    if (staff)
        emit ShowStaffRequest(staff);
}

void TframeClub::PreferenceClicked(TKordoPreferenceAction action, const QString& list) {
    if (!PreferenceDialog || !Club.DetailsEnabled)
        return;
    KordoEditPreferences(*PreferenceDialog, Club, action, list.toStdString(), this);
    ToWidgets();
    NotifyModified();
}
