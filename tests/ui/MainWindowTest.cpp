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
#include "frameClubUnit.h"
#include "frameStaffUnit.h"
#include "frmMainUnit.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
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

// An installation folder holding a small generated database in data/.
struct TInstallation {
    QTemporaryDir Dir;
    QString Data() const { return Dir.filePath("data"); }
    explicit TInstallation(int32_t people = 200) {
        std::string error;
        if (!KordoGenerateFiles(Path(Data()), {people, 3, false}, error))
            qFatal("cannot generate: %s", error.c_str());
    }
};

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

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { TKordoDialogs::SetTesting(true); }

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
        auto confirmEach = [](auto& frame, const std::vector<void*>& records) {
            frame.pnlList->btnSearchClick(); // an empty box lists every record
            TKordoSearch* search = frame.pnlList->Search();
            for (void* record : records) {
                frame.pnlList->List->FocusRow(search->RowOf(record));
                QVERIFY(frame.btnConfirmChanges->isEnabled());
                frame.btnConfirmChanges->click();
            }
        };
        std::vector<void*> people, clubs;
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
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
