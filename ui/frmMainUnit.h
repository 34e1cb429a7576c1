// The main window: finds the installation, owns the database and the editing session, loads and saves
// with the progress window, fills the selection lists, hosts the two editors and maps the session's
// undo stack to the Edit menu.
#pragma once

#include "KordoEditSession.h"
#include "KordoPregameDatabase.h"

#include <QMainWindow>
#include <memory>

class QAction;
class QStatusBar;
class QTabWidget;
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
    // Returns whether the data were saved.
    bool mnuSaveDataClick();
    void mnuKordoPathClick();
    void mnuAboutClick();
    void mnuUndoClick();
    void mnuRedoClick();
    void mnuConfirmWhenLeavingClick(bool checked);
    void ShowStaffRequest(TKordoStaff* staff);

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
    QAction* mnuKordoPath;
    QAction* mnuExit;
    QAction* mnuUndo;
    QAction* mnuRedo;
    QAction* mnuConfirmWhenLeaving;
    QAction* mnuStaff;
    QAction* mnuDeleteStaff;
    QAction* mnuAbout;
    TfrmAbout* frmAbout;
    TfrmEditPreference* frmEditPreference; // the one preference dialog of both editors

protected:
    void closeEvent(QCloseEvent* event) override;

private:
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

    int ShownPage = 0;      // the page of pcStaffAllData the user is on
    bool Returning = false; // the page goes back to the editor the user stays with
};

// The message texts of the main window.
namespace KordoMessages {
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
