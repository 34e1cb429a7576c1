// The main window's ways in: loading at start, Open Data Folder and the recent folders, the title, the
// keys, the Alt letters, Add > Staff from the clubs, and what the window remembers between runs. The
// settings live in a temporary folder of this test alone.
#include "KordoDialogs.h"
#include "KordoListView.h"
#include "KordoSearch.h"
#include "KordoSearchPanel.h"
#include "TestInstallation.h"
#include "frameClubUnit.h"
#include "frameStaffUnit.h"
#include "frmMainUnit.h"

#include <QAbstractButton>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <QTabBar>
#include <QtTest>

#include <map>

namespace {

// Every Alt letter of what the window shows now: the menu bar's titles, the visible tabs of visible
// tab bars, the visible buttons and the visible labels that lead to a buddy. Each letter with the
// texts that claim it.
std::map<QString, QStringList> Mnemonics(QMainWindow& window) {
    std::map<QString, QStringList> letters;
    auto add = [&](const QString& text) {
        if (QKeySequence key = QKeySequence::mnemonic(text); !key.isEmpty())
            letters[key.toString()] << text;
    };
    for (QAction* menu : window.menuBar()->actions())
        if (menu->isVisible())
            add(menu->text());
    for (QTabBar* bar : window.findChildren<QTabBar*>())
        if (bar->isVisibleTo(&window))
            for (int tab = 0; tab < bar->count(); ++tab)
                if (bar->isTabVisible(tab))
                    add(bar->tabText(tab));
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
        if (button->isVisibleTo(&window))
            add(button->text());
    for (QLabel* label : window.findChildren<QLabel*>())
        if (label->buddy() && label->isVisibleTo(&window))
            add(label->text());
    return letters;
}

QString Clashes(const std::map<QString, QStringList>& letters, const QString& where) {
    QStringList clashes;
    for (const auto& [letter, texts] : letters)
        if (texts.size() > 1)
            clashes << letter + ": " + texts.join(", ");
    return clashes.isEmpty() ? QString() : where + ": " + clashes.join("; ");
}

// Shows each visible page of the tab widget in turn and collects the clashes of each.
void EachPage(QTabWidget& pages, const std::function<void()>& onPage) {
    for (int page = 0; page < pages.count(); ++page)
        if (pages.isTabVisible(page)) {
            pages.setCurrentIndex(page);
            onPage();
        }
}

} // namespace

class MainWindowNavigationTest : public QObject {
    Q_OBJECT
    QTemporaryDir Settings;

    static TKordoSearch& StaffSearch(const TfrmMain& window) { return *window.frameStaff->pnlList->Search(); }
    // Load Data, and the lists filled once their searches are prepared.
    static void Load(TfrmMain& window) {
        window.mnuLoadDataClick();
        QTRY_VERIFY(!window.ListsWaiting());
    }
    static void Activate(TfrmMain& window) {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Settings.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, Settings.path());
    }
    void init() {
        TKordoDialogs::SetTesting(true);
        QSettings().clear();
    }

    void aLoadAtStartListsEverybodyWithTheSearchBoxFocused() {
        TInstallation installation;
        TfrmMain window(installation.Dir.path());
        window.frameStaff->pnlList->edSearch->setText("text of before");
        window.show();
        window.LoadWhenShown();
        QVERIFY(!window.mnuSaveData->isEnabled()); // not before the window is up
        QTRY_VERIFY(window.mnuSaveData->isEnabled());
        QTRY_VERIFY(!window.ListsWaiting());
        TKordoSearch& people = StaffSearch(window);
        QCOMPARE(people.RowCount(), window.Database.Staffs.Count());
        QCOMPARE(window.frameStaff->pnlList->edSearch->text(), QString());
        QCOMPARE(window.frameStaff->pnlList->sbarSearchResult->text(),
                 QString::number(window.Database.Staffs.Count()) + " People Found");
        QCOMPARE(window.frameClub->pnlList->Search()->RowCount(), window.Database.Clubs.Count());
        QCOMPARE(window.focusWidget(), window.frameStaff->pnlList->edSearch);
        QVERIFY(TKordoDialogs::Shown().isEmpty());

        // Loading again from the clubs focuses their box.
        window.pcStaffAllData->setCurrentWidget(window.tsClubs);
        window.mnuLoadData->trigger();
        QTRY_VERIFY(!window.ListsWaiting());
        QCOMPARE(window.focusWidget(), window.frameClub->pnlList->edSearch);
        QCOMPARE(StaffSearch(window).RowCount(), window.Database.Staffs.Count());
    }

    // The window takes keys before the list of everybody is ready: what is typed then is what is found.
    void typingBeforeTheListIsReadyFindsWhatTheTextFinds() {
        TInstallation installation(5000);
        TfrmMain window(installation.Dir.path());
        window.show();
        window.mnuLoadDataClick();
        TKordoSearchPanel& panel = *window.frameStaff->pnlList;
        QTest::keyClicks(panel.edSearch, "an");
        QTRY_VERIFY(!window.ListsWaiting());
        TKordoStaffSearch fresh(window.Database);
        fresh.Find(u"an");
        QVERIFY(fresh.RowCount() > 0 && fresh.RowCount() < window.Database.Staffs.Count());
        QCOMPARE(StaffSearch(window).RowCount(), fresh.RowCount());
        for (int32_t row = 0; row < fresh.RowCount(); ++row)
            QCOMPARE(StaffSearch(window).RowRecord<TKordoStaff>(row), fresh.Staff(row));
        QCOMPARE(panel.sbarSearchResult->text(), QString::number(fresh.RowCount()) + " People Found");
    }

    void openDataFolderLoadsTheFolderOfTheFilesAndNamesIt() {
        TInstallation first, second(150, 5);
        TfrmMain window(first.Dir.path());
        QCOMPARE(window.windowTitle(), QString("Kordo Pregame Editor[*]"));
        Load(window);
        QCOMPARE(window.windowTitle(),
                 "Kordo Pregame Editor - " + QDir::toNativeSeparators(first.Data()) + "[*]");

        // A folder with one of the files only is refused, naming what it lacks.
        QTemporaryDir half;
        QVERIFY(QFile::copy(QDir(first.Data()).filePath("server_db.dat"), half.filePath("server_db.dat")));
        TKordoDialogs::SetNextFileName(half.path());
        window.mnuOpenDataFolder->trigger();
        QCOMPARE(TKordoDialogs::Shown(),
                 QStringList{QDir::toNativeSeparators(half.path()) + " does not hold people_db.dat."});
        QVERIFY(window.windowTitle().contains(QDir::toNativeSeparators(first.Data())));
        QVERIFY(window.mnuSaveData->isEnabled());

        // Unsaved changes are asked about as Load Data asks; Cancel stays with them.
        window.mnuStaff->trigger();
        QVERIFY(window.isWindowModified());
        const int32_t people = window.Database.Staffs.Count();
        TKordoDialogs::Shown().clear();
        TKordoDialogs::SetNextFileName(second.Data());
        TKordoDialogs::SetNextAnswer(QMessageBox::Cancel);
        window.mnuOpenDataFolder->trigger();
        QCOMPARE(TKordoDialogs::Shown(), QStringList{KordoMessages::SaveBeforeLoading});
        QCOMPARE(window.Database.Staffs.Count(), people);

        TKordoDialogs::SetNextFileName(second.Data());
        TKordoDialogs::SetNextAnswer(QMessageBox::Discard);
        window.mnuOpenDataFolder->trigger();
        QCOMPARE(window.Database.Staffs.Count(), 150);
        QCOMPARE(window.windowTitle(),
                 "Kordo Pregame Editor - " + QDir::toNativeSeparators(second.Data()) + "[*]");
        QVERIFY(!window.isWindowModified());
        QCOMPARE(window.focusWidget(), window.frameStaff->pnlList->edSearch);
        // Load Data loads the folder open now again, not the installation's.
        window.mnuLoadData->trigger();
        QTRY_VERIFY(!window.ListsWaiting());
        QCOMPARE(window.Database.Staffs.Count(), 150);
        QCOMPARE(window.RecentFolders(), (QStringList{second.Data(), first.Data()}));
    }

    void theRecentFoldersAreAFewMostRecentFirstAndGoneOnesDropped() {
        std::vector<std::unique_ptr<QTemporaryDir>> gone;
        QStringList many;
        for (int i = 0; i < KordoRecentFolderCount + 2; ++i) {
            gone.push_back(std::make_unique<QTemporaryDir>());
            many << gone.back()->path();
        }
        QSettings().setValue(KordoRecentFoldersKey, many);
        TInstallation installation;
        TfrmMain window(installation.Dir.path());
        Load(window);
        QStringList recent = window.RecentFolders();
        QCOMPARE(recent.size(), KordoRecentFolderCount);
        QCOMPARE(recent.first(), installation.Data());
        QCOMPARE(recent.mid(1), many.mid(0, KordoRecentFolderCount - 1));

        // A folder that holds no data is refused with the reason and leaves the list.
        window.OpenRecentFolder(many[0]);
        QCOMPARE(TKordoDialogs::Shown().size(), 1);
        QVERIFY(TKordoDialogs::Shown()[0].endsWith("does not hold server_db.dat and people_db.dat."));
        QVERIFY(!window.RecentFolders().contains(many[0]));
        QCOMPARE(window.Database.Staffs.Count(), 200);

        // Folders removed since are dropped when the menu opens; the others are offered, numbered.
        const QString removed = many[1];
        gone[1].reset();
        emit window.mnuRecentFolders->aboutToShow();
        QVERIFY(!window.RecentFolders().contains(removed));
        QList<QAction*> items = window.mnuRecentFolders->actions();
        QCOMPARE(items.size(), window.RecentFolders().size());
        QCOMPARE(items[0]->text(), "&1 " + QDir::toNativeSeparators(installation.Data()));
        window.OpenRecentFolder(removed);
        QCOMPARE(TKordoDialogs::Shown().last(), QDir::toNativeSeparators(removed) + " no longer exists.");

        // Choosing an item loads its folder.
        TInstallation other(120, 9);
        window.OpenRecentFolder(other.Data());
        QCOMPARE(window.Database.Staffs.Count(), 120);
        emit window.mnuRecentFolders->aboutToShow();
        window.mnuRecentFolders->actions().at(1)->trigger();
        QCOMPARE(window.Database.Staffs.Count(), 200);
    }

    void ctrlFTakesTheUserToTheSearchBoxOfThePageShown() {
        TInstallation installation;
        TfrmMain window(installation.Dir.path());
        Load(window);
        Activate(window);
        for (TKordoSearchPanel* panel : {window.frameStaff->pnlList, window.frameClub->pnlList}) {
            window.pcStaffAllData->setCurrentWidget(panel == window.frameStaff->pnlList ? window.tsStaff
                                                                                        : window.tsClubs);
            panel->edSearch->setText("ab");
            panel->List->setFocus();
            QTest::keyClick(panel->List, Qt::Key_F, Qt::ControlModifier);
            QCOMPARE(QApplication::focusWidget(), panel->edSearch);
            QCOMPARE(panel->edSearch->selectedText(), QString("ab"));
        }
    }

    void theDeleteKeyDeletesTheFocusedPersonOnlyFromTheList() {
        TInstallation installation;
        TfrmMain window(installation.Dir.path());
        Load(window);
        Activate(window);
        TKordoSearchPanel& panel = *window.frameStaff->pnlList;
        const int32_t count = window.Database.Staffs.Count();

        // In the search box Delete edits the text.
        panel.edSearch->setText("xy");
        panel.edSearch->setFocus();
        panel.edSearch->setCursorPosition(0);
        QTest::keyClick(panel.edSearch, Qt::Key_Delete);
        QCOMPARE(panel.edSearch->text(), QString("y"));
        QVERIFY(TKordoDialogs::Shown().isEmpty());
        panel.btnClearFiltersClick();

        panel.List->setFocus();
        panel.List->FocusRow(3);
        TKordoStaff* staff = window.frameStaff->CurrentStaff();
        TKordoDialogs::SetNextAnswer(QMessageBox::No);
        QTest::keyClick(panel.List, Qt::Key_Delete);
        QCOMPARE(TKordoDialogs::Shown().size(), 1);
        QVERIFY(TKordoDialogs::Shown()[0].startsWith("Delete "));
        QCOMPARE(window.Database.Staffs.Count(), count);

        TKordoDialogs::SetNextAnswer(QMessageBox::Yes);
        QTest::keyClick(panel.List, Qt::Key_Delete);
        QCOMPARE(window.Database.Staffs.Count(), count - 1);
        QCOMPARE(StaffSearch(window).RowOf(staff), -1);
        QCOMPARE(panel.sbarSearchResult->text(), QString::number(count - 1) + " People Found");
    }

    void ctrlReturnConfirmsAndEscapeCancels() {
        TInstallation installation;
        TfrmMain window(installation.Dir.path());
        Load(window);
        Activate(window);
        TframeStaff& frame = *window.frameStaff;
        frame.pnlList->List->FocusRow(2);
        TKordoStaff* staff = frame.CurrentStaff();
        auto* firstName = frame.findChild<QLineEdit*>("edFirstName");
        const QString stored = firstName->text();

        firstName->setFocus();
        firstName->selectAll();
        QTest::keyClicks(firstName, "Braistdail");
        QVERIFY(window.isWindowModified());
        QTest::keyClick(firstName, Qt::Key_Escape);
        QCOMPARE(firstName->text(), stored);
        QVERIFY(!window.isWindowModified());
        QVERIFY(!window.Session.CanUndo());

        firstName->selectAll();
        QTest::keyClicks(firstName, "Braistdail");
        QTest::keyClick(firstName, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(window.Session.CanUndo());
        QCOMPARE(QString::fromStdU16String(staff->FirstName->Name), QString("Braistdail"));
        QVERIFY(!window.Session.StaffEdited());

        // The keypad's Enter does the same; Escape without edits changes nothing.
        QTest::keyClicks(firstName, "x");
        QTest::keyClick(firstName, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
        QCOMPARE(QString::fromStdU16String(staff->FirstName->Name), QString("Braistdailx"));
        QTest::keyClick(firstName, Qt::Key_Escape);
        QCOMPARE(firstName->text(), QString("Braistdailx"));

        // The club editor has the same keys.
        window.pcStaffAllData->setCurrentWidget(window.tsClubs);
        window.frameClub->pnlList->List->FocusRow(0);
        auto* box = window.frameClub->findChild<QSpinBox*>("seTraining");
        const int training = box->value() == 20 ? 19 : box->value() + 1;
        box->setValue(training);
        QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(!window.Session.ClubEdited());
        QCOMPARE(static_cast<int>(window.frameClub->CurrentClub()->Training()), training);
    }

    // Among what shows together, no Alt letter is claimed twice; within a menu neither.
    void everyAltLetterOnScreenIsUnique() {
        TInstallation installation(400);
        TfrmMain window(installation.Dir.path());
        window.show();
        Load(window);
        QStringList clashes;
        auto check = [&](const QString& where) {
            if (QString clash = Clashes(Mnemonics(window), where); !clash.isEmpty())
                clashes << clash;
        };
        for (QAction* title : window.menuBar()->actions()) {
            std::map<QString, QStringList> letters;
            for (QAction* item : title->menu()->actions())
                if (!item->isSeparator())
                    if (QKeySequence key = QKeySequence::mnemonic(item->text()); !key.isEmpty())
                        letters[key.toString()] << item->text();
            if (QString clash = Clashes(letters, title->text()); !clash.isEmpty())
                clashes << clash;
        }
        TframeStaff& staff = *window.frameStaff;
        TKordoSearch& people = StaffSearch(window);
        for (uint8_t type = KordoStaffNonPlayer; type <= KordoStaffReferee; ++type) {
            int row = 0;
            while (row < people.RowCount() && people.RowRecord<TKordoStaff>(row)->StaffType() != type)
                ++row;
            QVERIFY2(row < people.RowCount(), "a person of every type");
            staff.pnlList->List->FocusRow(row);
            EachPage(*staff.pcStaff, [&] {
                check(QString("staff type %1, page ").arg(type) +
                      staff.pcStaff->tabText(staff.pcStaff->currentIndex()));
            });
        }
        window.pcStaffAllData->setCurrentWidget(window.tsClubs);
        TframeClub& clubs = *window.frameClub;
        TKordoSearch& clubRows = *clubs.pnlList->Search();
        int row = 0;
        while (row < clubRows.RowCount() && clubRows.RowRecord<TKordoClub>(row)->Squads.empty())
            ++row;
        clubs.pnlList->List->FocusRow(row);
        QVERIFY(!clubs.SquadFrames.empty());
        EachPage(*clubs.pcClub, [&] {
            const QString page = "club page " + clubs.pcClub->tabText(clubs.pcClub->currentIndex());
            if (clubs.pcClub->currentWidget() == clubs.pcSquads->parentWidget())
                for (QTabWidget* squad : clubs.pcSquads->currentWidget()->findChildren<QTabWidget*>())
                    EachPage(*squad,
                             [&] { check(page + ", squad page " + squad->tabText(squad->currentIndex())); });
            else
                check(page);
        });
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join("\n")));
        // The walk sees what it should: the menu titles, the two pages and the editor's pages.
        std::map<QString, QStringList> shown = Mnemonics(window);
        QVERIFY(shown.count("Alt+A") && shown.count("Alt+S") && shown.count("Alt+C") && shown.count("Alt+Q"));
    }

    void addStaffFromTheClubsShowsTheNewPersonOnTheStaffPage() {
        TInstallation installation;
        TfrmMain window(installation.Dir.path());
        window.show();
        Load(window);
        window.pcStaffAllData->setCurrentWidget(window.tsClubs);
        const int32_t count = window.Database.Staffs.Count();
        window.mnuStaff->trigger();
        QCOMPARE(window.pcStaffAllData->currentWidget(), window.tsStaff);
        QCOMPARE(window.Database.Staffs.Count(), count + 1);
        TKordoStaff* added = window.frameStaff->CurrentStaff();
        QVERIFY(added);
        QCOMPARE(added, window.Database.Staffs.Item(count));
        QCOMPARE(window.frameStaff->pnlList->List->FocusedRow(), StaffSearch(window).RowOf(added));
        QVERIFY(window.frameStaff->pcStaff->isEnabled());
    }

    void theWindowRemembersItsPlacePagesAndHeadings() {
        TInstallation installation;
        QRect place(70, 60, 1000, 700);
        int listWidth = 0;
        {
            TfrmMain window(installation.Dir.path());
            window.RestoreWindowState();
            window.show();
            Load(window);
            window.setGeometry(place);
            place = window.geometry(); // as the platform made it
            window.frameStaff->pcStaff->setCurrentIndex(1);
            window.frameClub->pcClub->setCurrentIndex(2);
            window.frameStaff->pnlList->List->sortByColumn(3, Qt::DescendingOrder);
            window.frameStaff->pnlList->List->SetColumnShown(2, false);
            window.pcStaffAllData->setCurrentWidget(window.tsClubs);
            auto* split = window.frameClub->findChild<QSplitter*>("splEditor");
            split->setSizes({split->sizes()[0] + 60, split->sizes()[1] - 60});
            listWidth = split->sizes()[0];
            QVERIFY(window.close());
        }
        TfrmMain window(installation.Dir.path());
        window.RestoreWindowState();
        window.show();
        QCOMPARE(window.geometry(), place);
        QCOMPARE(window.pcStaffAllData->currentWidget(), window.tsClubs);
        QCOMPARE(window.frameStaff->pcStaff->currentIndex(), 1);
        QCOMPARE(window.frameClub->pcClub->currentIndex(), 2);
        Load(window);
        QCOMPARE(window.frameClub->findChild<QSplitter*>("splEditor")->sizes()[0], listWidth);
        TKordoListView& list = *window.frameStaff->pnlList->List;
        QVERIFY(list.horizontalHeader()->isSectionHidden(2));
        QCOMPARE(StaffSearch(window).SortColumn(), 3);
        QVERIFY(StaffSearch(window).SortDescending());
        // The club's box gets the keys: the clubs were shown last.
        QCOMPARE(window.focusWidget(), window.frameClub->pnlList->edSearch);

        // A place no screen shows is not used.
        window.move(40000, 40000);
        QSettings().setValue(KordoGeometryKey, window.saveGeometry());
        TfrmMain later(installation.Dir.path());
        later.RestoreWindowState();
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().intersects(later.frameGeometry()));
    }
};

QTEST_MAIN(MainWindowNavigationTest)
#include "MainWindowNavigationTest.moc"
