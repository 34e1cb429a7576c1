// The main window: finds the installation, owns the database and the editing session, loads and saves
// with the progress window, fills the selection lists, hosts the two editors and maps the session's
// undo stack to the Edit menu.
#pragma once

#include "KordoEditSession.h"
#include "KordoPregameDatabase.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTimer;
class TKordoSearchPanel;
class TframeClub;
class TframeStaff;
class TfrmAbout;
class TfrmEditPreference;
class TfrmStatus;

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // installPath: the installation folder found at start-up (empty when none was found).
    explicit TfrmMain(const QString& installPath, QWidget* parent = nullptr);
    ~TfrmMain() override;

    void mnuLoadDataClick();
    // Loads the data once the event loop runs (the start with --path or --demo): the window shows
    // first, then the progress window.
    void LoadWhenShown();
    // Whether a list still waits for its search's preparation after a load (see ShowLoadedLists).
    bool ListsWaiting() const { return !ListsToFill.empty(); }
    // Picks the folder that holds server_db.dat and people_db.dat directly, and loads it.
    void mnuOpenDataFolderClick();
    // Loads a folder of the recent list; one that no longer holds both files is refused and dropped.
    void OpenRecentFolder(const QString& folder);
    // The recent data folders, most recent first.
    QStringList RecentFolders() const;
    // Returns whether the data were saved.
    bool mnuSaveDataClick();
    void mnuKordoPathClick();
    void mnuAboutClick();
    void mnuUndoClick();
    void mnuRedoClick();
    void mnuConfirmWhenLeavingClick(bool checked);
    void ShowStaffRequest(TKordoStaff* staff);
    // Add > Staff: the staff page comes to the front (its editor left first) with the new person.
    void mnuStaffClick();
    // Ctrl+F: the search box of the editor shown, its text selected.
    void mnuFindClick();

    // The window's size and place, the page shown, each editor's last page, the split between its
    // list and its pages and the lists' headings, remembered between runs (in the application's
    // QSettings). A run without a user leaves them.
    void RestoreWindowState();
    void SaveWindowState();

    QString InstallPath;
    TKordoPregameDatabase Database;
    TKordoEditSession Session;

    QTabWidget* pcStaffAllData;
    QStatusBar* sbarMain;
    QWidget* tsStaff;
    QWidget* tsClubs;
    TframeStaff* frameStaff;
    TframeClub* frameClub;
    QAction* mnuLoadData;
    QAction* mnuSaveData;
    QAction* mnuOpenDataFolder;
    QMenu* mnuRecentFolders;
    QAction* mnuKordoPath;
    QAction* mnuExit;
    QAction* mnuUndo;
    QAction* mnuRedo;
    QAction* mnuFind;
    QAction* mnuConfirmWhenLeaving;
    QAction* mnuStaff;
    QAction* mnuDeleteStaff;
    QAction* mnuAbout;
    TfrmAbout* frmAbout;
    TfrmEditPreference* frmEditPreference; // the one preference dialog of both editors

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    static QSplitter* Splitter(QWidget* editor);
    void FormCreate();
    void FillSelectionLists(TfrmStatus& status);
    // Asks to save unsaved changes first; false when the user cancels (or the save fails).
    bool ConfirmDiscard(const QString& question);
    // Both editors are left (see TframeStaff::Leave); false when the user stays.
    bool LeaveEditors();
    // The session's undo or redo, and the editors showing what it concerned.
    void Play(bool undo);
    // The title's "*" (changes not saved, or edits not confirmed) and the Edit menu's texts.
    void UpdateTitle();
    void pcStaffAllDataChange(int page);
    void ShowNotices();
    QString DataFolder() const;
    void Bind(TfrmStatus& status);
    // Leaves the editors and asks about unsaved changes (false when the user stays), then loads the
    // folder of the two files. True when the data were loaded.
    bool LoadFolder(const QString& dataFolder);
    // After a load: the search box of the editor shown has the focus at once, and both lists show
    // everybody as soon as their searches are prepared (FillPreparedLists).
    void ShowLoadedLists();
    void FillPreparedLists();
    void AddRecentFolder(const QString& folder);
    void SetRecentFolders(const QStringList& folders);
    void FillRecentMenu();
    // The keys of the editors' buttons: Ctrl+Return confirms, Escape cancels edits.
    void AddEditorKeys(QWidget* frame, QPushButton* confirm, QPushButton* cancel,
                       const std::function<bool()>& edited);
    QWidget* ShownSearchBox() const;

    // The data folder Open Data Folder or a recent folder chose; empty: the installation's "data".
    QString ChosenDataFolder;
    QString LoadedFolder;        // the folder the data shown were loaded from; empty: none
    bool RemembersState = false; // RestoreWindowState ran: closing saves the state
    QStringList HeadersRestored; // the lists whose remembered headings were applied (at the first load)
    std::vector<TKordoSearchPanel*> ListsToFill; // lists waiting for their search's preparation
    QTimer* FillTimer;

    int ShownPage = 0;      // the page of pcStaffAllData the user is on
    bool Returning = false; // the page goes back to the editor the user stays with
};

// The message texts of the main window.
namespace KordoMessages {
// A folder picked as the data folder lacks a data file (%2: one name, or both joined by "and"), or is
// gone.
inline const char* const NoDataFiles = "%1 does not hold %2.";
inline const char* const FolderGone = "%1 no longer exists.";
inline const char* const NotInstalled =
    "Kordo doesn't seem to be installed on this machine, please use File->Kordo "
    "Path to select the installation path for your Kordo game.";
inline const char* const LoadFailed = "Unable to access the data files!\nMake sure the path is correct.";
inline const char* const ReadOnlyQuestion =
    "server_db.dat and people_db.dat are currently read only, are you sure you want to overwrite them?";
inline const char* const SaveFailedReadOnly =
    "Unable to access the data files!\nMake sure the path is correct and make sure the file permissions of "
    "server_db.dat and people_db.dat aren't set to read only.";
inline const char* const SaveFailed =
    "An error occured during saving, make sure the Path for Kordo is set corrctly.";
inline const char* const FolderBusyRetry =
    "The data folder is being saved by another program.\nTry saving again?";
inline const char* const SaveBeforeLoading = "Save changes before loading the data again?";
inline const char* const SaveBeforeClosing = "Save changes before closing?";
} // namespace KordoMessages

// The setting the editor remembers between runs (in the application's QSettings): leaving edits not
// yet confirmed confirms them instead of asking.
inline const char* const KordoConfirmWhenLeavingKey = "ConfirmChangesWhenLeaving";
// The recent data folders, most recent first, and how many are kept.
inline const char* const KordoRecentFoldersKey = "RecentDataFolders";
constexpr int KordoRecentFolderCount = 6;
// The window's remembered state.
inline const char* const KordoGeometryKey = "Window/Geometry";
inline const char* const KordoShownPageKey = "Window/Page";
inline const char* const KordoStaffPageKey = "Staff/Page";
inline const char* const KordoClubPageKey = "Clubs/Page";
inline const char* const KordoStaffHeaderKey = "Staff/Header";
inline const char* const KordoClubHeaderKey = "Clubs/Header";
inline const char* const KordoStaffSplitterKey = "Staff/Splitter";
inline const char* const KordoClubSplitterKey = "Clubs/Splitter";
