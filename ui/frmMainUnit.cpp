#include "frmMainUnit.h"

#include "KordoDialogs.h"
#include "KordoPlatform.h"
#include "KordoSearchPanel.h"
#include "StatusForm.h"
#include "frameClubUnit.h"
#include "frameStaffUnit.h"
#include "frmAboutUnit.h"
#include "frmEditPreferenceUnit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

std::filesystem::path ToPath(const QString& folder) {
    return std::filesystem::path(folder.toStdU16String());
}

} // namespace

TfrmMain::TfrmMain(const QString& installPath, QWidget* parent)
    : QMainWindow(parent), InstallPath(installPath) {
    setObjectName("frmMain");
    setWindowTitle("Kordo Pregame Editor[*]");

    QMenu* file = menuBar()->addMenu("&File");
    mnuLoadData = file->addAction("&Load Data", QKeySequence("Ctrl+L"), this, &TfrmMain::mnuLoadDataClick);
    mnuLoadData->setObjectName("mnuLoadData");
    mnuSaveData = file->addAction("&Save Data", QKeySequence("Ctrl+S"), this, [this] { mnuSaveDataClick(); });
    mnuSaveData->setObjectName("mnuSaveData");
    file->addSeparator()->setObjectName("mnuLine1");
    mnuKordoPath = file->addAction("&Kordo Path", this, &TfrmMain::mnuKordoPathClick);
    mnuKordoPath->setObjectName("mnuKordoPath");
    file->addSeparator()->setObjectName("mnuLine2");
    mnuExit = file->addAction("&Exit", this, &QWidget::close);
    mnuExit->setObjectName("mnuExit");
    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("mnuEdit");
    mnuUndo = edit->addAction("&Undo", this, &TfrmMain::mnuUndoClick);
    mnuUndo->setObjectName("mnuUndo");
    mnuUndo->setShortcuts(QKeySequence::Undo);
    mnuRedo = edit->addAction("&Redo", this, &TfrmMain::mnuRedoClick);
    mnuRedo->setObjectName("mnuRedo");
    // The platform's redo keys, and Ctrl+Y wherever they are others.
    QList<QKeySequence> redo = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& key : {QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")})
        if (!redo.contains(key))
            redo << key;
    mnuRedo->setShortcuts(redo);
    edit->addSeparator()->setObjectName("mnuLine3");
    mnuConfirmWhenLeaving =
        edit->addAction("&Confirm Changes When Leaving", this, &TfrmMain::mnuConfirmWhenLeavingClick);
    mnuConfirmWhenLeaving->setObjectName("mnuConfirmWhenLeaving");
    mnuConfirmWhenLeaving->setCheckable(true);
    mnuConfirmWhenLeaving->setChecked(QSettings().value(KordoConfirmWhenLeavingKey, false).toBool());
    Session.ConfirmWhenLeaving = mnuConfirmWhenLeaving->isChecked();
    mnuStaff = menuBar()->addMenu("&Add")->addAction("&Staff", this, [this] { frameStaff->AddStaff(); });
    mnuStaff->setObjectName("mnuStaff");
    mnuDeleteStaff =
        menuBar()->addMenu("&Delete")->addAction("&Staff", this, [this] { frameStaff->DeleteStaff(); });
    mnuDeleteStaff->setObjectName("mnuDeleteStaff");
    mnuAbout = menuBar()->addMenu("&Help")->addAction("&About", this, &TfrmMain::mnuAboutClick);
    mnuAbout->setObjectName("mnuAbout");

    pcStaffAllData = new QTabWidget(this);
    pcStaffAllData->setObjectName("pcStaffAllData");
    tsStaff = new QWidget;
    tsStaff->setObjectName("tsStaff");
    frameStaff = new TframeStaff(Session, tsStaff);
    (new QVBoxLayout(tsStaff))->addWidget(frameStaff);
    tsClubs = new QWidget;
    tsClubs->setObjectName("tsClubs");
    frameClub = new TframeClub(Session, tsClubs);
    (new QVBoxLayout(tsClubs))->addWidget(frameClub);
    pcStaffAllData->addTab(tsStaff, "&Staff");
    pcStaffAllData->addTab(tsClubs, "&Clubs");
    setCentralWidget(pcStaffAllData);
    // What a load or save has to tell besides success (an interrupted save finished, bytes after the
    // last table) stays here until the next one.
    sbarMain = statusBar();
    sbarMain->setObjectName("sbarMain");
    connect(frameStaff, &TframeStaff::Modified, this, &TfrmMain::UpdateTitle);
    connect(frameStaff, &TframeStaff::Edited, this, &TfrmMain::UpdateTitle);
    connect(frameClub, &TframeClub::Modified, this, &TfrmMain::UpdateTitle);
    connect(frameClub, &TframeClub::Edited, this, &TfrmMain::UpdateTitle);
    connect(frameClub, &TframeClub::ShowStaffRequest, this, &TfrmMain::ShowStaffRequest);
    connect(pcStaffAllData, &QTabWidget::currentChanged, this, &TfrmMain::pcStaffAllDataChange);

    frmAbout = new TfrmAbout(this);
    frmEditPreference = new TfrmEditPreference(this);
    frameStaff->SetPreferenceDialog(frmEditPreference);
    frameClub->SetPreferenceDialog(frmEditPreference);
    // The client area is 691 x 479 at least; it grows just enough when the platform's widgets need
    // more room to show every control whole, but never beyond the screen, title bar and frame left
    // aside (a small screen at a large scale): the pages scroll instead.
    QSize needed = sizeHint().expandedTo(QSize(691, 479 + menuBar()->sizeHint().height()));
    if (const QScreen* shownOn = screen())
        needed = needed.boundedTo(shownOn->availableSize() - QSize(16, 48));
    resize(needed);
    FormCreate();
}

TfrmMain::~TfrmMain() {
    frameStaff->Initialise(nullptr);
    frameClub->Initialise(nullptr);
    // The editors show the session's forms: they go before the session does.
    delete pcStaffAllData;
}

void TfrmMain::FormCreate() {
    UpdateTitle();
    mnuSaveData->setEnabled(false);
    mnuStaff->setEnabled(false);
    mnuDeleteStaff->setEnabled(false);
    bool installed = !InstallPath.isEmpty() && QFileInfo(InstallPath).isDir();
    mnuLoadData->setEnabled(installed);
    if (!installed)
        TKordoDialogs::Message(this, KordoMessages::NotInstalled);
}

QString TfrmMain::DataFolder() const {
    return QDir(InstallPath).filePath("data");
}

void TfrmMain::UpdateTitle() {
    setWindowModified(Session.Modified() || Session.StaffEdited() || Session.ClubEdited());
    // A name's "&" is no shortcut.
    auto text = [](const char* action, const std::string& command) {
        return command.empty() ? QString(action)
                               : QString(action) + " " + QString::fromStdString(command).replace("&", "&&");
    };
    mnuUndo->setText(text("&Undo", Session.UndoText()));
    mnuUndo->setEnabled(Session.CanUndo());
    mnuRedo->setText(text("&Redo", Session.RedoText()));
    mnuRedo->setEnabled(Session.CanRedo());
}

void TfrmMain::Bind(TfrmStatus& status) {
    Database.OnStatus = [&status](const std::string& text) { status.SetStatusText(text); };
    Database.OnProgress = [&status](int32_t percent) { status.SetProgress(percent); };
}

bool TfrmMain::LeaveEditors() {
    return frameStaff->Leave() && frameClub->Leave();
}

bool TfrmMain::ConfirmDiscard(const QString& question) {
    if (!Session.Modified())
        return true;
    switch (TKordoDialogs::AskSaveChanges(this, question)) {
    case QMessageBox::Save:
        return mnuSaveDataClick();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void TfrmMain::mnuLoadDataClick() {
    if (!LeaveEditors() || !ConfirmDiscard(KordoMessages::SaveBeforeLoading))
        return;
    TfrmStatus status(this);
    status.show();
    Bind(status);
    mnuSaveData->setEnabled(false);
    mnuStaff->setEnabled(false);
    mnuDeleteStaff->setEnabled(false);
    frameStaff->Initialise(nullptr);
    frameClub->Initialise(nullptr);
    Session.Bind(nullptr);
    frmEditPreference->SetDatabase(nullptr);
    if (Database.Load(ToPath(DataFolder()))) {
        ShowNotices();
        FillSelectionLists(status);
        frameStaff->Initialise(&Database);
        frameClub->Initialise(&Database);
        mnuSaveData->setEnabled(true);
        mnuStaff->setEnabled(true);
        mnuDeleteStaff->setEnabled(true);
    } else {
        status.hide();
        TKordoDialogs::Message(this, KordoMessages::LoadFailed, QString::fromStdString(Database.LastError()));
    }
    Database.OnStatus = nullptr;
    Database.OnProgress = nullptr;
    UpdateTitle();
}

void TfrmMain::FillSelectionLists(TfrmStatus& status) {
    status.SetStatusText("Creating Selection Lists");
    status.SetStatusText("Creating Nation List");
    // The session binds both forms: the club editor's fills its status and nation lists, then the
    // staff editor's its code, nation and club lists: the nations up to 100 percent, then the clubs
    // from the start again.
    bool clubs = false;
    int32_t last = -1;
    Session.Bind(
        &Database, [&status](int32_t percent) { status.SetProgress(percent); },
        [&](int32_t percent) {
            if (!clubs && last == 100) {
                clubs = true;
                status.SetStatusText("Creating Club List");
            }
            last = percent;
            status.SetProgress(percent);
        });
    if (!clubs)
        status.SetStatusText("Creating Club List");
}

bool TfrmMain::mnuSaveDataClick() {
    QString folder = DataFolder();
    auto server = KordoServerFile(ToPath(folder)), people = KordoPeopleFile(ToPath(folder));
    // A file that cannot be looked at (a missing one) counts as read-only.
    auto readOnly = [](const std::filesystem::path& file) {
        std::error_code error;
        return !std::filesystem::exists(file, error) || KordoIsReadOnly(file);
    };
    bool clearedReadOnly = false;
    if (readOnly(server) || readOnly(people)) {
        if (!TKordoDialogs::AskYesNo(this, KordoMessages::ReadOnlyQuestion))
            return false;
        std::string reason;
        KordoSetReadOnly(server, false, reason);
        KordoSetReadOnly(people, false, reason);
        clearedReadOnly = true;
    }
    bool saved;
    for (;;) {
        {
            TfrmStatus status(this);
            status.show();
            Bind(status);
            saved = Session.Save(ToPath(folder));
            Database.OnStatus = nullptr;
            Database.OnProgress = nullptr;
        }
        // Another program saving into the same folder holds it for a moment only.
        if (saved || !Database.FolderBusy() || !TKordoDialogs::AskYesNo(this, KordoMessages::FolderBusyRetry))
            break;
    }
    ShowNotices();
    if (!saved && !Database.FolderBusy()) {
        const char* message = readOnly(server) || readOnly(people) ? KordoMessages::SaveFailedReadOnly
                                                                   : KordoMessages::SaveFailed;
        TKordoDialogs::Message(this, message, QString::fromStdString(Database.LastError()));
    }
    if (clearedReadOnly) {
        std::string reason;
        KordoSetReadOnly(server, true, reason);
        KordoSetReadOnly(people, true, reason);
    }
    UpdateTitle();
    return saved;
}

void TfrmMain::ShowNotices() {
    QStringList notices;
    for (const std::string& notice : Database.Notices())
        notices << QString::fromStdString(notice);
    if (notices.isEmpty())
        sbarMain->clearMessage();
    else
        sbarMain->showMessage(notices.join("; "));
}

void TfrmMain::mnuKordoPathClick() {
    QString file = TKordoDialogs::OpenFile(this, InstallPath, "kordo.exe (kordo.exe)");
    if (file.isEmpty())
        return;
    InstallPath = QFileInfo(file).absolutePath();
    mnuLoadData->setEnabled(true);
}

void TfrmMain::mnuAboutClick() {
    frmAbout->exec();
}

void TfrmMain::ShowStaffRequest(TKordoStaff* staff) {
    pcStaffAllData->setCurrentWidget(tsStaff);
    if (pcStaffAllData->currentWidget() == tsStaff)
        frameStaff->ShowStaff(staff);
}

void TfrmMain::pcStaffAllDataChange(int page) {
    if (Returning)
        return;
    // Switching pages leaves the editor of the page left; the user may stay there.
    const bool left = pcStaffAllData->widget(ShownPage) == tsClubs ? frameClub->Leave() : frameStaff->Leave();
    if (!left) {
        Returning = true;
        pcStaffAllData->setCurrentIndex(ShownPage);
        Returning = false;
        return;
    }
    ShownPage = page;
}

void TfrmMain::mnuUndoClick() {
    Play(true);
}

void TfrmMain::mnuRedoClick() {
    Play(false);
}

void TfrmMain::Play(bool undo) {
    if (!(undo ? Session.CanUndo() : Session.CanRedo()) || !LeaveEditors())
        return;
    const TKordoEditTarget target = undo ? Session.Undo() : Session.Redo();
    // The editor of what the command concerned comes to the front, showing it.
    if (target.Club || target.Staff)
        pcStaffAllData->setCurrentWidget(target.Club ? tsClubs : tsStaff);
    frameStaff->Played(target);
    frameClub->Played(target);
    UpdateTitle();
}

void TfrmMain::mnuConfirmWhenLeavingClick(bool checked) {
    Session.ConfirmWhenLeaving = checked;
    QSettings().setValue(KordoConfirmWhenLeavingKey, checked);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (LeaveEditors() && ConfirmDiscard(KordoMessages::SaveBeforeClosing))
        event->accept();
    else
        event->ignore();
}
