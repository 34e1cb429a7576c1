// The main window driven as a user would, on the offscreen platform; every message box is answered
// through the dialogs' test hooks.
#include "KordoComboBox.h"
#include "KordoCommit.h"
#include "KordoDialogs.h"
#include "KordoGenerator.h"
#include "KordoInstallPath.h"
#include "KordoListView.h"
#include "KordoPlatform.h"
#include "KordoSearch.h"
#include "KordoSearchPanel.h"
#include "StatusForm.h"
#include "TestDamagedDatabases.h"
#include "TestInstallation.h"
#include "frameClubUnit.h"
#include "frameSquadUnit.h"
#include "frameStaffUnit.h"
#include "frmMainUnit.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

std::filesystem::path Path(const QString& folder) {
    return std::filesystem::path(folder.toStdU16String());
}

QByteArray Bytes(const std::filesystem::path& file) {
    QFile f(QString::fromStdU16String(file.u16string()));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// A list of the staff editor's pages.
QComboBox* StaffList(const TfrmMain& window, const char* name) {
    return window.frameStaff->findChild<QComboBox*>(name);
}

// A loaded window over a generated installation, every person listed and the person on `row`
// focused, as the user leaves it for the checks of the Edit menu and of leaving a person.
struct TEditedWindow {
    TInstallation Installation;
    TfrmMain Window{Installation.Dir.path()};
    TframeStaff& Staff = *Window.frameStaff;

    TEditedWindow() {
        Window.show();
        Window.mnuLoadDataClick();
        Staff.pnlList->btnSearchClick();
        FocusRow(1);
    }
    TKordoSearch& Search() const { return *Staff.pnlList->Search(); }
    void FocusRow(int row) const { Staff.pnlList->List->FocusRow(row); }
    int FocusedRow() const { return Staff.pnlList->List->FocusedRow(); }
    QString RowText(int row) const { return QString::fromStdU16String(Search().RowText(row)); }
    QLineEdit* FirstName() const { return Staff.findChild<QLineEdit*>("edFirstName"); }
    QString Count() const { return Staff.pnlList->sbarSearchResult->text(); }
    // Types a first name as the user does: the pages then hold an edit not yet confirmed.
    void Edit(const QString& name = "Braistdail") const {
        FirstName()->selectAll();
        QTest::keyClicks(FirstName(), name);
    }
    // The keys go to the list, as after a click on it: a line being typed in keeps Ctrl+Z for itself.
    void Key(int key, Qt::KeyboardModifiers modifiers) {
        Window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Window));
        Staff.pnlList->List->setFocus();
        QTest::keyClick(Staff.pnlList->List, static_cast<Qt::Key>(key), modifiers);
    }
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        TKordoDialogs::SetTesting(true);
        QSettings().remove(KordoConfirmWhenLeavingKey);
    }

    void startsWithoutAnInstallation() {
        TfrmMain window(QString{});
        QCOMPARE(TKordoDialogs::Shown(), QStringList{KordoMessages::NotInstalled});
        QVERIFY(!window.mnuLoadData->isEnabled());
        QVERIFY(!window.mnuSaveData->isEnabled());
        QVERIFY(!window.mnuStaff->isEnabled());
        QVERIFY(window.mnuKordoPath->isEnabled());
        // Any picked file makes its folder the installation.
        TInstallation installation;
        TKordoDialogs::SetNextFileName(installation.Dir.filePath("kordo.exe"));
        window.mnuKordoPathClick();
        QCOMPARE(window.InstallPath, installation.Dir.path());
        QVERIFY(window.mnuLoadData->isEnabled());
    }

    void loadsAndFillsEveryListOnce() {
        TInstallation installation;
        TfrmMain window(installation.Dir.path());
        QVERIFY(TKordoDialogs::Shown().isEmpty());
        QStringList history;
        TfrmStatus::History = &history;
        window.mnuLoadDataClick();
        window.mnuLoadDataClick();
        TfrmStatus::History = nullptr;
        QVERIFY(window.mnuSaveData->isEnabled());
        QVERIFY(window.mnuStaff->isEnabled());
        QVERIFY(history.contains("Loading Unknown7"));
        QVERIFY(history.contains("Creating Selection Lists"));
        QCOMPARE(history.last(), QString("Creating Club List"));

        QCOMPARE(Items(StaffList(window, "cmbStaffType")),
                 (QStringList{"Non Player", "Player", "Player / Non Player", "Referee"}));
        QCOMPARE(StaffList(window, "cmbNation")->count(), window.Database.Nations.Count() + 1);
        QCOMPARE(StaffList(window, "cmbNation")->itemText(0), QString("<unspecified>"));
        QCOMPARE(StaffList(window, "cmbNationContracted")->itemText(0), QString("<No National Team>"));
        QCOMPARE(StaffList(window, "cmbNationJob")->itemText(0), QString("<Unspecified>"));
        QCOMPARE(StaffList(window, "cmbNationJob")->itemText(1), QString("Assistant Manager"));
        QCOMPARE(window.frameClub->cmbProfessionalStatus->count(), 3);
        // Clubs without squads are not offered.
        int withSquads = 0;
        for (const TKordoClub& club : window.Database.Clubs.Records)
            withSquads += !club.Squads.empty();
        QCOMPARE(StaffList(window, "cmbClubContracted")->count(), withSquads + 1);
        QCOMPARE(StaffList(window, "cmbClubContracted")->itemText(0), QString("<No Club>"));
    }

    void aFailedLoadShowsTheMessageAndTheReason() {
        QTemporaryDir empty;
        TfrmMain window(empty.path());
        window.mnuLoadDataClick();
        QCOMPARE(TKordoDialogs::Shown(), QStringList{KordoMessages::LoadFailed});
        QVERIFY(TKordoDialogs::ShownDetails().first().contains("server_db.dat"));
        QVERIFY(!window.mnuSaveData->isEnabled());
    }

    // Every damage at once: each damaged person and club is shown and confirmed through the window.
    void aDamagedDatabaseIsShownAndConfirmedWithoutChange() {
        QTemporaryDir dir;
        const std::vector<TDamaged> damaged =
            WriteDamagedDatabase(Path(dir.filePath("data")), DamagedDatabases());
        TfrmMain window(dir.path());
        window.mnuLoadDataClick();
        QVERIFY(window.mnuSaveData->isEnabled());
        auto confirmEach = [](auto& frame, const auto& records) {
            frame.pnlList->btnSearchClick(); // an empty box lists every record
            TKordoSearch* search = frame.pnlList->Search();
            for (auto* record : records) {
                frame.pnlList->List->FocusRow(search->RowOf(record));
                QVERIFY(frame.btnConfirmChanges->isEnabled());
                frame.btnConfirmChanges->click();
            }
        };
        std::vector<TKordoStaff*> people;
        std::vector<TKordoClub*> clubs;
        for (const TDamaged& damage : damaged) {
            if (damage.StaffID >= 0)
                people.push_back(window.Database.Staffs.FindStaff(damage.StaffID));
            if (damage.ClubRow >= 0)
                clubs.push_back(window.Database.Clubs.Item(damage.ClubRow));
        }
        QVERIFY(people.size() > 10 && clubs.size() > 10);
        confirmEach(*window.frameStaff, people);
        confirmEach(*window.frameClub, clubs);
        QVERIFY(!window.Database.Modified);
        QVERIFY(!window.isWindowModified());
        QVERIFY(TKordoDialogs::Shown().isEmpty());
    }

    void readOnlyFilesAreSavedOnlyWhenTheUserAgrees() {
        TInstallation installation;
        TfrmMain window(installation.Dir.path());
        window.mnuLoadDataClick();
        auto server = KordoServerFile(Path(installation.Data())),
             people = KordoPeopleFile(Path(installation.Data()));
        std::string reason;
        QVERIFY(KordoSetReadOnly(server, true, reason));
        QVERIFY(KordoSetReadOnly(people, true, reason));
        QByteArray before = Bytes(server);
        window.frameStaff->AddStaff(); // something to save

        TKordoDialogs::SetNextAnswer(QMessageBox::No);
        QVERIFY(!window.mnuSaveDataClick());
        QCOMPARE(TKordoDialogs::Shown(), QStringList{KordoMessages::ReadOnlyQuestion});
        QCOMPARE(Bytes(server), before);
        QVERIFY(KordoIsReadOnly(server) && KordoIsReadOnly(people));
        QVERIFY(window.isWindowModified());

        TKordoDialogs::SetNextAnswer(QMessageBox::Yes);
        QVERIFY(window.mnuSaveDataClick());
        QVERIFY(Bytes(people) != QByteArray());
        QVERIFY(KordoIsReadOnly(server) && KordoIsReadOnly(people));
        QVERIFY(!window.isWindowModified());
        KordoSetReadOnly(server, false, reason);
        KordoSetReadOnly(people, false, reason);
    }

    void savingIntoAMissingDataFolderFailsWithTheReadOnlyMessage() {
        TInstallation installation;
        TfrmMain window(installation.Dir.path());
        window.mnuLoadDataClick();
        window.InstallPath = installation.Dir.filePath("elsewhere");
        TKordoDialogs::SetNextAnswer(QMessageBox::Yes);
        QVERIFY(!window.mnuSaveDataClick());
        QCOMPARE(TKordoDialogs::Shown(),
                 (QStringList{KordoMessages::ReadOnlyQuestion, KordoMessages::SaveFailedReadOnly}));
    }

    void aFolderAnotherProgramSavesIntoIsOfferedAgain() {
        using namespace std::chrono_literals;
        TInstallation installation;
        TfrmMain window(installation.Dir.path());
        window.mnuLoadDataClick();
        window.frameStaff->AddStaff();
        const QByteArray before = Bytes(KordoPeopleFile(Path(installation.Data())));
        TKordoFolderLock other;
        std::string reason;
        QCOMPARE(other.LockForWriting(Path(installation.Data()) / KordoLockFileName, 0ms, 0ms, reason),
                 TKordoFolderLock::TResult::Locked);
        TKordoDialogs::SetNextAnswer(QMessageBox::Yes); // try again: still busy
        TKordoDialogs::SetNextAnswer(QMessageBox::No);
        QVERIFY(!window.mnuSaveDataClick());
        QCOMPARE(TKordoDialogs::Shown(),
                 (QStringList{KordoMessages::FolderBusyRetry, KordoMessages::FolderBusyRetry}));
        QVERIFY(window.isWindowModified());
        QCOMPARE(Bytes(KordoPeopleFile(Path(installation.Data()))), before);
        other.Release();
        QVERIFY(window.mnuSaveDataClick());
        QVERIFY(!window.isWindowModified());
    }

    void aLoadSaysWhatItFoundBesidesTheTables() {
        TInstallation installation;
        const auto data = Path(installation.Data());
        {
            QFile people(QString::fromStdU16String(KordoPeopleFile(data).u16string()));
            QVERIFY(people.open(QIODevice::Append));
            people.write(QByteArray(5, '\0'));
        }
        // A save that stopped after its commit record was in place.
        TKordoPregameDatabase other;
        QVERIFY(other.Load(data));
        KordoSetFileHook([](TKordoFileOperation operation, const std::filesystem::path& path, std::string&) {
            if (operation == TKordoFileOperation::Rename && path.filename() == "people_db.dat")
                throw 0;
            return true;
        });
        bool stopped = false;
        try {
            other.Save(data);
        } catch (int) {
            stopped = true;
        }
        KordoSetFileHook(nullptr);
        QVERIFY(stopped);
        TfrmMain window(installation.Dir.path());
        window.mnuLoadDataClick();
        QVERIFY(TKordoDialogs::Shown().isEmpty());
        QVERIFY(window.mnuSaveData->isEnabled());
        QVERIFY(window.sbarMain->currentMessage().contains("an interrupted save was finished"));
        // The save wrote the trailing bytes back; a database without them says nothing.
        QVERIFY(window.sbarMain->currentMessage().contains("people_db.dat: 5 bytes after the last table"));
        other.PeopleTrailer.clear();
        QVERIFY(other.Save(data));
        window.mnuLoadDataClick();
        QCOMPARE(window.sbarMain->currentMessage(), QString());
    }

    void unsavedChangesAreNotLostSilently() {
        TInstallation installation;
        TfrmMain window(installation.Dir.path());
        window.mnuLoadDataClick();
        window.frameStaff->AddStaff();
        QVERIFY(window.isWindowModified());
        int people = window.Database.Staffs.Count();
        TKordoDialogs::SetNextAnswer(QMessageBox::Cancel);
        window.mnuLoadDataClick();
        QCOMPARE(window.Database.Staffs.Count(), people); // cancelled: nothing reloaded
        QVERIFY(!window.close());
        TKordoDialogs::SetNextAnswer(QMessageBox::Discard);
        window.mnuLoadDataClick();
        QCOMPARE(window.Database.Staffs.Count(), people - 1);
        QCOMPARE(TKordoDialogs::Shown(),
                 (QStringList{KordoMessages::SaveBeforeLoading, KordoMessages::SaveBeforeClosing,
                              KordoMessages::SaveBeforeLoading}));
    }

    // The Edit menu ----------------------------------------------------------------------------------

    void ctrlZAfterAConfirmRestoresThePagesTheRowAndTheTitle() {
        TEditedWindow edited;
        TfrmMain& window = edited.Window;
        const QString before = edited.FirstName()->text(), row = edited.RowText(1);
        QVERIFY(!window.isWindowModified() && !window.mnuUndo->isEnabled());
        edited.Edit("Braistdail");
        QVERIFY(window.isWindowModified()); // an edit not yet confirmed
        edited.Staff.btnConfirmChanges->click();
        const QString after = edited.RowText(1);
        QVERIFY(after != row && after.contains("Braistdail"));
        QCOMPARE(window.mnuUndo->text(), "&Undo Confirm Changes to " + after);

        edited.Key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edited.FirstName()->text(), before);
        QCOMPARE(edited.RowText(edited.FocusedRow()), row);
        QCOMPARE(edited.FocusedRow(), 1);
        QVERIFY(!window.isWindowModified());
        QVERIFY(!window.mnuUndo->isEnabled());
        QCOMPARE(window.mnuRedo->text(), "&Redo Confirm Changes to " + after);

        // Both redo keys make it again; the title follows the state last saved.
        edited.Key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(edited.FirstName()->text(), QString("Braistdail"));
        QCOMPARE(edited.RowText(1), after);
        QVERIFY(window.isWindowModified());
        QVERIFY(window.mnuSaveDataClick());
        QVERIFY(!window.isWindowModified());
        edited.Key(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(window.isWindowModified());
        edited.Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(edited.FirstName()->text(), QString("Braistdail"));
        QVERIFY(!window.isWindowModified());
        QVERIFY(TKordoDialogs::Shown().isEmpty());
    }

    void undoingADeleteOrAnAddPutsTheRowAndTheCountBack() {
        TEditedWindow edited;
        TfrmMain& window = edited.Window;
        const int rows = edited.Search().RowCount();
        const QString count = edited.Count(), name = edited.RowText(1);
        auto* person = edited.Search().RowRecord<TKordoStaff>(1);
        TKordoDialogs::SetNextAnswer(QMessageBox::Yes);
        window.mnuDeleteStaff->trigger();
        QCOMPARE(edited.Search().RowCount(), rows - 1);
        QVERIFY(edited.Count() != count);
        QCOMPARE(window.mnuUndo->text(), "&Undo Delete Staff " + name);
        window.mnuUndo->trigger();
        QCOMPARE(edited.Search().RowCount(), rows);
        QCOMPARE(edited.Count(), count);
        QCOMPARE(edited.Search().RowRecord<TKordoStaff>(edited.FocusedRow()), person);
        QCOMPARE(edited.FirstName()->text(), QString::fromStdU16String(person->FirstName->Name));
        QVERIFY(edited.Staff.btnConfirmChanges->isEnabled());

        window.mnuStaff->trigger();
        QCOMPARE(edited.Search().RowCount(), rows + 1);
        window.mnuUndo->trigger();
        QCOMPARE(edited.Search().RowCount(), rows);
        QCOMPARE(edited.Count(), count);
        QVERIFY(!edited.Staff.btnConfirmChanges->isEnabled()); // the person shown is gone
        QVERIFY(!window.isWindowModified());
        // A club's command brings the club editor to the front, its club focused.
        window.pcStaffAllData->setCurrentWidget(window.tsClubs);
        TframeClub& clubs = *window.frameClub;
        clubs.pnlList->btnSearchClick();
        clubs.pnlList->List->FocusRow(3);
        auto* training = clubs.findChild<QSpinBox*>("seTraining");
        training->setValue(training->value() == 20 ? 19 : training->value() + 1);
        clubs.btnConfirmChanges->click();
        window.pcStaffAllData->setCurrentWidget(window.tsStaff);
        clubs.pnlList->List->FocusRow(5);
        window.mnuUndo->trigger();
        QCOMPARE(window.pcStaffAllData->currentWidget(), window.tsClubs);
        QCOMPARE(clubs.pnlList->List->FocusedRow(), 3);
        QCOMPARE(training->value(), static_cast<int>(clubs.CurrentClub()->Training()));
        QVERIFY(TKordoDialogs::Shown().isEmpty() ||
                TKordoDialogs::Shown() == QStringList{"Delete " + name + "?"});
    }

    void theEditMenuShowsWhatItTakesBackAndItsKeys() {
        TEditedWindow edited;
        TfrmMain& window = edited.Window;
        QMenu* menu = window.menuBar()->findChild<QMenu*>("mnuEdit");
        QVERIFY(menu && menu->actions().contains(window.mnuUndo) && menu->actions().contains(window.mnuRedo));
        QVERIFY(window.mnuUndo->shortcuts().contains(QKeySequence("Ctrl+Z")));
        QVERIFY(window.mnuRedo->shortcuts().contains(QKeySequence("Ctrl+Y")));
        QVERIFY(window.mnuRedo->shortcuts().contains(QKeySequence("Ctrl+Shift+Z")));
        QCOMPARE(window.mnuUndo->text(), QString("&Undo"));
        // A name's "&" is shown, not taken for a shortcut.
        edited.Edit("Ben & Jerry");
        edited.Staff.btnConfirmChanges->click();
        QVERIFY(window.mnuUndo->text().endsWith("Ben && Jerry"));
        // Loading forgets every command.
        TKordoDialogs::SetNextAnswer(QMessageBox::Discard);
        window.mnuLoadDataClick();
        QVERIFY(!window.mnuUndo->isEnabled() && !window.mnuRedo->isEnabled());
    }

    // Leaving edits not yet confirmed ----------------------------------------------------------------

    // Each way of leaving a person whose pages hold an edit, answered Cancel, then No, then Yes.
    void leavingAPersonWithEditsAsks_data() {
        QTest::addColumn<QString>("way");
        for (const char* way : {"row", "page", "search", "add", "delete", "load", "close", "undo"})
            QTest::newRow(way) << QString(way);
    }
    void leavingAPersonWithEditsAsks() {
        QFETCH(QString, way);
        TEditedWindow edited;
        TfrmMain& window = edited.Window;
        // Something to undo, on another person, twice.
        edited.FocusRow(4);
        for (const char* name : {"Abaist", "Zed"}) {
            edited.Edit(name);
            edited.Staff.btnConfirmChanges->click();
        }
        edited.FocusRow(1);
        auto* person = edited.Search().RowRecord<TKordoStaff>(1);
        const QString original = QString::fromStdU16String(person->FirstName->Name);
        const int people = window.Database.Staffs.Count();
        auto leave = [&] {
            if (way == "row")
                edited.FocusRow(2);
            else if (way == "page")
                window.pcStaffAllData->setCurrentWidget(window.tsClubs);
            else if (way == "search")
                edited.Staff.pnlList->btnSearch->click();
            else if (way == "add")
                window.mnuStaff->trigger();
            else if (way == "delete")
                window.mnuDeleteStaff->trigger();
            else if (way == "load")
                window.mnuLoadDataClick();
            else if (way == "close")
                window.close();
            else
                window.mnuUndo->trigger();
        };
        auto question = [&] { return "Confirm the changes to " + edited.RowText(edited.FocusedRow()) + "?"; };

        // Cancel: the user stays with his edit.
        edited.Edit("Ouvrard");
        TKordoDialogs::SetTesting(true);
        const QString asked = question();
        TKordoDialogs::SetNextAnswer(QMessageBox::Cancel);
        leave();
        QCOMPARE(TKordoDialogs::Shown(), QStringList{asked});
        QCOMPARE(edited.FocusedRow(), 1);
        QCOMPARE(edited.FirstName()->text(), QString("Ouvrard"));
        QCOMPARE(window.pcStaffAllData->currentWidget(), window.tsStaff);
        QVERIFY(window.isVisible() && window.isWindowModified());
        QCOMPARE(window.Database.Staffs.Count(), people);
        QCOMPARE(QString::fromStdU16String(person->FirstName->Name), original);

        // No: the edit is dropped and the user goes on.
        TKordoDialogs::SetTesting(true);
        TKordoDialogs::SetNextAnswer(QMessageBox::No);
        TKordoDialogs::SetNextAnswer(QMessageBox::No); // "Delete ...?", and save before loading or closing
        leave();
        QCOMPARE(TKordoDialogs::Shown().value(0), asked);
        QCOMPARE(QString::fromStdU16String(person->FirstName->Name), original);
        QVERIFY(!window.Session.StaffEdited());

        // Yes: the edit is confirmed, then the user goes on.
        if (way == "load" || way == "close")
            return; // the window was not reloaded or closed: its changes were not saved
        window.pcStaffAllData->setCurrentWidget(window.tsStaff);
        edited.FocusRow(edited.Search().RowOf(person));
        edited.Edit("Ouvrard");
        const QString again = question();
        TKordoDialogs::SetTesting(true);
        TKordoDialogs::SetNextAnswer(QMessageBox::Yes);
        TKordoDialogs::SetNextAnswer(QMessageBox::No); // "Delete ...?"
        leave();
        QCOMPARE(TKordoDialogs::Shown().value(0), again);
        QVERIFY(!window.Session.StaffEdited());
        if (way == "undo") {
            // What was confirmed on the way is what the undo takes back: it can be made again.
            QCOMPARE(QString::fromStdU16String(person->FirstName->Name), original);
            QVERIFY(window.mnuRedo->text().startsWith("&Redo Confirm Changes to "));
        } else {
            QCOMPARE(QString::fromStdU16String(person->FirstName->Name), QString("Ouvrard"));
            QVERIFY(window.mnuUndo->text().startsWith("&Undo Confirm Changes to ") || way == "add");
        }
    }

    // The club editor: each way of leaving a club whose pages hold an edit, answered Cancel, then Yes.
    void leavingAClubWithEditsAsks_data() {
        QTest::addColumn<QString>("way");
        for (const char* way : {"row", "page", "search", "load", "close"})
            QTest::newRow(way) << QString(way);
    }
    void leavingAClubWithEditsAsks() {
        QFETCH(QString, way);
        TEditedWindow edited;
        TfrmMain& window = edited.Window;
        TframeClub& clubs = *window.frameClub;
        window.pcStaffAllData->setCurrentWidget(window.tsClubs);
        clubs.pnlList->btnSearchClick();
        clubs.pnlList->List->FocusRow(2);
        TKordoClub* club = clubs.CurrentClub();
        const int training = club->Training() == 20 ? 19 : club->Training() + 1;
        clubs.findChild<QSpinBox*>("seTraining")->setValue(training);
        const QString asked =
            "Confirm the changes to " + QString::fromStdU16String(clubs.pnlList->Search()->RowText(2)) + "?";
        auto leave = [&] {
            if (way == "row")
                clubs.pnlList->List->FocusRow(3);
            else if (way == "page")
                window.pcStaffAllData->setCurrentWidget(window.tsStaff);
            else if (way == "search")
                clubs.pnlList->btnSearch->click();
            else if (way == "load")
                window.mnuLoadDataClick();
            else
                window.close();
        };
        TKordoDialogs::SetNextAnswer(QMessageBox::Cancel);
        leave();
        QCOMPARE(TKordoDialogs::Shown(), QStringList{asked});
        QCOMPARE(clubs.pnlList->List->FocusedRow(), 2);
        QCOMPARE(window.pcStaffAllData->currentWidget(), window.tsClubs);
        QCOMPARE(clubs.findChild<QSpinBox*>("seTraining")->value(), training);
        QVERIFY(window.isVisible() && window.Session.ClubEdited());

        TKordoDialogs::SetTesting(true);
        TKordoDialogs::SetNextAnswer(QMessageBox::Yes);
        TKordoDialogs::SetNextAnswer(QMessageBox::Cancel); // saving before loading or closing
        leave();
        QCOMPARE(TKordoDialogs::Shown().value(0), asked);
        QCOMPARE(static_cast<int>(club->Training()), training);
        QCOMPARE(window.mnuUndo->text(),
                 "&Undo Confirm Changes to " + QString::fromStdU16String(club->ShortClubName));
    }

    void aRefusedConfirmKeepsTheUserWhereHeIs() {
        TEditedWindow edited;
        // A name with a tab is refused by the confirm.
        edited.FirstName()->selectAll();
        QInputMethodEvent typed;
        typed.setCommitString("Ada\tLine");
        QApplication::sendEvent(edited.FirstName(), &typed);
        TKordoDialogs::SetNextAnswer(QMessageBox::Yes);
        edited.FocusRow(2);
        QCOMPARE(TKordoDialogs::Shown().size(), 2); // the question, then the refusal
        QVERIFY(TKordoDialogs::Shown()[1].contains("control character"));
        QCOMPARE(edited.FocusedRow(), 1);
        QCOMPARE(edited.FirstName()->text(), QString("Ada\tLine"));
        QVERIFY(!edited.Window.Session.CanUndo());
    }

    void theRememberedSettingConfirmsInsteadOfAsking() {
        {
            TEditedWindow edited;
            QVERIFY(!edited.Window.mnuConfirmWhenLeaving->isChecked());
            edited.Window.mnuConfirmWhenLeaving->trigger();
        }
        TEditedWindow edited; // a new run remembers it
        QVERIFY(edited.Window.mnuConfirmWhenLeaving->isChecked());
        auto* person = edited.Search().RowRecord<TKordoStaff>(1);
        edited.Edit("Zed");
        edited.FocusRow(2);
        QVERIFY(TKordoDialogs::Shown().isEmpty());
        QCOMPARE(QString::fromStdU16String(person->FirstName->Name), QString("Zed"));
        QCOMPARE(edited.FocusedRow(), 2);
        QVERIFY(edited.Window.Session.CanUndo());
    }

    void theTitleShowsEditsNotYetConfirmed() {
        TEditedWindow edited;
        QVERIFY(!edited.Window.isWindowModified());
        edited.Edit("Zed");
        QVERIFY(edited.Window.isWindowModified());
        edited.Staff.btnCancelChanges->click();
        QVERIFY(!edited.Window.isWindowModified());
        // A club's squad page counts too.
        TframeClub& clubs = *edited.Window.frameClub;
        edited.Window.pcStaffAllData->setCurrentWidget(edited.Window.tsClubs);
        clubs.pnlList->btnSearchClick();
        clubs.pnlList->List->FocusRow(0);
        auto* reputation = clubs.SquadFrames.front()->findChild<QSpinBox*>("seReputation");
        reputation->setValue(reputation->value() == 0 ? 500 : 0);
        QVERIFY(edited.Window.isWindowModified());
        TKordoDialogs::SetNextAnswer(QMessageBox::No);
        clubs.pnlList->List->FocusRow(1);
        QCOMPARE(TKordoDialogs::Shown().size(), 1);
        QVERIFY(!edited.Window.isWindowModified());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
