#include "frmMainUnit.h"

#include "KordoDialogs.h"
#include "KordoListView.h"
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
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
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
    mnuOpenDataFolder = file->addAction("&Open Data Folder…", QKeySequence("Ctrl+O"), this,
                                        &TfrmMain::mnuOpenDataFolderClick);
    mnuOpenDataFolder->setObjectName("mnuOpenDataFolder");
    mnuRecentFolders = file->addMenu("&Recent Folders");
    mnuRecentFolders->setObjectName("mnuRecentFolders");
    connect(mnuRecentFolders, &QMenu::aboutToShow, this, &TfrmMain::FillRecentMenu);
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
    mnuFind = edit->addAction("&Find", QKeySequence::Find, this, &TfrmMain::mnuFindClick);
    mnuFind->setObjectName("mnuFind");
    mnuConfirmWhenLeaving =
        edit->addAction("&Confirm Changes When Leaving", this, &TfrmMain::mnuConfirmWhenLeavingClick);
    mnuConfirmWhenLeaving->setObjectName("mnuConfirmWhenLeaving");
    mnuConfirmWhenLeaving->setCheckable(true);
    mnuConfirmWhenLeaving->setChecked(QSettings().value(KordoConfirmWhenLeavingKey, false).toBool());
    Session.ConfirmWhenLeaving = mnuConfirmWhenLeaving->isChecked();
    mnuStaff = menuBar()->addMenu("&Add")->addAction("&Staff", this, &TfrmMain::mnuStaffClick);
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
    AddEditorKeys(frameStaff, frameStaff->btnConfirmChanges, frameStaff->btnCancelChanges,
                  [this] { return Session.StaffEdited(); });
    AddEditorKeys(frameClub, frameClub->btnConfirmChanges, frameClub->btnCancelChanges,
                  [this] { return Session.ClubEdited(); });
    // The Delete key deletes the focused person while the list of people has the focus; typing in a
    // box keeps it.
    auto* deleteKey =
        new QShortcut(QKeySequence::Delete, frameStaff->pnlList->List, nullptr, nullptr, Qt::WidgetShortcut);
    deleteKey->setObjectName("keyDeleteStaff");
    connect(deleteKey, &QShortcut::activated, this, [this] {
        if (mnuDeleteStaff->isEnabled())
            frameStaff->DeleteStaff();
    });
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

    FillTimer = new QTimer(this);
    FillTimer->setInterval(5);
    connect(FillTimer, &QTimer::timeout, this, &TfrmMain::FillPreparedLists);

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
    return ChosenDataFolder.isEmpty() ? QDir(InstallPath).filePath("data") : ChosenDataFolder;
}

void TfrmMain::AddEditorKeys(QWidget* frame, QPushButton* confirm, QPushButton* cancel,
                             const std::function<bool()>& edited) {
    for (QKeySequence key :
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(key, frame, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, confirm, [confirm] {
            if (confirm->isEnabled())
                confirm->click();
        });
    }
    // Escape drops edits only: a popup or a dialog open takes its own Escape before the window does,
    // and without edits the key is left alone.
    auto* escape =
        new QShortcut(QKeySequence(Qt::Key_Escape), frame, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, cancel, [cancel, edited] {
        if (cancel->isEnabled() && edited())
            cancel->click();
    });
    confirm->setToolTip("Confirm the changes (Ctrl+Return)");
    cancel->setToolTip("Cancel the changes (Escape)");
}

void TfrmMain::UpdateTitle() {
    setWindowModified(Session.Modified() || Session.StaffEdited() || Session.ClubEdited());
    // The folder the data come from names the window; "[*]" is where the modified mark shows.
    setWindowTitle(LoadedFolder.isEmpty()
                       ? QString("Kordo Pregame Editor[*]")
                       : "Kordo Pregame Editor - " + QDir::toNativeSeparators(LoadedFolder) + "[*]");
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
    // The tables report after every record, a million times in a load: only a new percentage goes on.
    Database.OnProgress = [&status, last = -1](int32_t percent) mutable {
        if (percent != last) {
            last = percent;
            status.SetProgress(percent);
        }
    };
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
    LoadFolder(DataFolder());
}

void TfrmMain::LoadWhenShown() {
    QTimer::singleShot(0, this, &TfrmMain::mnuLoadDataClick);
}

bool TfrmMain::LoadFolder(const QString& dataFolder) {
    if (!LeaveEditors() || !ConfirmDiscard(KordoMessages::SaveBeforeLoading))
        return false;
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
    LoadedFolder.clear();
    const bool loaded = Database.Load(ToPath(dataFolder));
    if (loaded) {
        ShowNotices();
        FillSelectionLists(status);
        frameStaff->Initialise(&Database);
        frameClub->Initialise(&Database);
        mnuSaveData->setEnabled(true);
        mnuStaff->setEnabled(true);
        mnuDeleteStaff->setEnabled(true);
        LoadedFolder = QDir(dataFolder).absolutePath();
        AddRecentFolder(LoadedFolder);
    }
    Database.OnStatus = nullptr;
    Database.OnProgress = nullptr;
    status.hide();
    if (loaded)
        ShowLoadedLists();
    else
        TKordoDialogs::Message(this, KordoMessages::LoadFailed, QString::fromStdString(Database.LastError()));
    UpdateTitle();
    return loaded;
}

void TfrmMain::ShowLoadedLists() {
    // The box is emptied without a search: the list waits for its search's preparation below.
    for (TKordoSearchPanel* panel : {frameStaff->pnlList, frameClub->pnlList}) {
        QSignalBlocker quiet(panel->edSearch);
        panel->edSearch->clear();
    }
    ShownSearchBox()->setFocus(Qt::OtherFocusReason);
    ListsToFill = {frameStaff->pnlList, frameClub->pnlList};
    FillPreparedLists();
    if (!ListsToFill.empty())
        FillTimer->start();
}

// The searches are prepared on a second thread; the window takes keys meanwhile. A list whose search
// is ready shows everybody, unless the user got there first: what he typed was searched (waiting for
// the preparation) and stays, with the row he may have focused.
void TfrmMain::FillPreparedLists() {
    std::erase_if(ListsToFill, [this](TKordoSearchPanel* panel) {
        TKordoSearch* search = panel->Search();
        if (search && search->StillPreparing())
            return false;
        if (search && search->RowCount() == 0)
            panel->SearchAsTyped();
        if (search && RemembersState) {
            const char* key = panel == frameStaff->pnlList ? KordoStaffHeaderKey : KordoClubHeaderKey;
            if (!HeadersRestored.contains(key)) {
                HeadersRestored << key;
                panel->List->RestoreHeaderState(QSettings().value(key).toByteArray());
            }
        }
        return true;
    });
    if (ListsToFill.empty())
        FillTimer->stop();
}

QWidget* TfrmMain::ShownSearchBox() const {
    return (pcStaffAllData->currentWidget() == tsClubs ? frameClub->pnlList : frameStaff->pnlList)->edSearch;
}

void TfrmMain::mnuFindClick() {
    auto* box = static_cast<QLineEdit*>(ShownSearchBox());
    box->setFocus(Qt::ShortcutFocusReason);
    box->selectAll();
}

void TfrmMain::mnuOpenDataFolderClick() {
    QString start = LoadedFolder.isEmpty() ? DataFolder() : LoadedFolder;
    QString folder = TKordoDialogs::ChooseFolder(this, start);
    if (!folder.isEmpty())
        OpenRecentFolder(folder);
}

void TfrmMain::OpenRecentFolder(const QString& folder) {
    QStringList missing;
    if (!QFileInfo(folder).isDir()) {
        TKordoDialogs::Message(this,
                               QString(KordoMessages::FolderGone).arg(QDir::toNativeSeparators(folder)));
    } else {
        for (const auto& file : {KordoServerFile(ToPath(folder)), KordoPeopleFile(ToPath(folder))})
            if (std::error_code error; !std::filesystem::is_regular_file(file, error))
                missing << QString::fromStdU16String(file.filename().u16string());
        if (missing.isEmpty()) {
            if (LoadFolder(folder)) {
                ChosenDataFolder = LoadedFolder;
                mnuLoadData->setEnabled(true);
            }
            return;
        }
        TKordoDialogs::Message(
            this,
            QString(KordoMessages::NoDataFiles).arg(QDir::toNativeSeparators(folder), missing.join(" and ")));
    }
    // A folder of the list that cannot be opened any more leaves it.
    QStringList recent = RecentFolders();
    recent.removeAll(QDir(folder).absolutePath());
    SetRecentFolders(recent);
}

QStringList TfrmMain::RecentFolders() const {
    return QSettings().value(KordoRecentFoldersKey).toStringList();
}

void TfrmMain::SetRecentFolders(const QStringList& folders) {
    QSettings().setValue(KordoRecentFoldersKey, folders.mid(0, KordoRecentFolderCount));
}

void TfrmMain::AddRecentFolder(const QString& folder) {
    if (TKordoDialogs::IsUnattended())
        return;
    QStringList recent = RecentFolders();
    recent.removeAll(folder);
    recent.prepend(folder);
    SetRecentFolders(recent);
}

// Folders that are gone are dropped when the menu opens; each item names its folder.
void TfrmMain::FillRecentMenu() {
    QStringList recent = RecentFolders();
    const qsizetype before = recent.size();
    recent.removeIf([](const QString& folder) { return !QFileInfo(folder).isDir(); });
    if (recent.size() != before)
        SetRecentFolders(recent);
    mnuRecentFolders->clear();
    for (qsizetype i = 0; i < recent.size(); ++i) {
        QString text = QDir::toNativeSeparators(recent[i]).replace("&", "&&");
        QAction* item = mnuRecentFolders->addAction(QString("&%1 %2").arg(i + 1).arg(text));
        connect(item, &QAction::triggered, this, [this, folder = recent[i]] { OpenRecentFolder(folder); });
    }
    if (recent.isEmpty())
        mnuRecentFolders->addAction("(none)")->setEnabled(false);
}

void TfrmMain::mnuStaffClick() {
    pcStaffAllData->setCurrentWidget(tsStaff);
    if (pcStaffAllData->currentWidget() == tsStaff)
        frameStaff->AddStaff();
}

// The splitter between an editor's list and its pages (the editor's layout makes it).
QSplitter* TfrmMain::Splitter(QWidget* editor) {
    return editor->findChild<QSplitter*>("splEditor");
}

void TfrmMain::RestoreWindowState() {
    if (TKordoDialogs::IsUnattended())
        return;
    RemembersState = true;
    QSettings settings;
    // restoreGeometry moves a place no screen shows any more (a screen since removed) onto one.
    restoreGeometry(settings.value(KordoGeometryKey).toByteArray());
    pcStaffAllData->setCurrentIndex(settings.value(KordoShownPageKey, 0).toInt());
    frameStaff->pcStaff->setCurrentIndex(settings.value(KordoStaffPageKey, 0).toInt());
    frameClub->pcClub->setCurrentIndex(settings.value(KordoClubPageKey, 0).toInt());
    Splitter(frameStaff)->restoreState(settings.value(KordoStaffSplitterKey).toByteArray());
    Splitter(frameClub)->restoreState(settings.value(KordoClubSplitterKey).toByteArray());
}

void TfrmMain::SaveWindowState() {
    if (!RemembersState)
        return;
    QSettings settings;
    settings.setValue(KordoGeometryKey, saveGeometry());
    settings.setValue(KordoShownPageKey, pcStaffAllData->currentIndex());
    settings.setValue(KordoStaffPageKey, frameStaff->pcStaff->currentIndex());
    settings.setValue(KordoClubPageKey, frameClub->pcClub->currentIndex());
    settings.setValue(KordoStaffSplitterKey, Splitter(frameStaff)->saveState());
    settings.setValue(KordoClubSplitterKey, Splitter(frameClub)->saveState());
    // A list never filled has no headings worth keeping.
    if (frameStaff->pnlList->Search())
        settings.setValue(KordoStaffHeaderKey, frameStaff->pnlList->List->SaveHeaderState());
    if (frameClub->pnlList->Search())
        settings.setValue(KordoClubHeaderKey, frameClub->pnlList->List->SaveHeaderState());
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
    ChosenDataFolder.clear();
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
    if (LeaveEditors() && ConfirmDiscard(KordoMessages::SaveBeforeClosing)) {
        SaveWindowState();
        event->accept();
    } else
        event->ignore();
}
