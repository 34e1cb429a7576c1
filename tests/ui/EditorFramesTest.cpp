// The editors' frames as a whole on the offscreen platform: the count under each list after every way
// the rows change, empty pages while nothing is focused, the list's width against the pages of the
// person shown, pages that scroll in a small window, and sorting, filters and accents reaching the
// pages through the frame.
#include "KordoDialogs.h"
#include "KordoGenerator.h"
#include "KordoListView.h"
#include "KordoSearch.h"
#include "KordoSearchPanel.h"
#include "frameClubUnit.h"
#include "frameStaffUnit.h"
#include "frmMainUnit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A main window over a generated installation, loaded, with every person and every club listed.
struct TWindow {
    QTemporaryDir Dir;
    std::unique_ptr<TfrmMain> Window;
    TframeStaff& Staff;
    TframeClub& Clubs;

    TWindow() : Window(Make(Dir)), Staff(*Window->frameStaff), Clubs(*Window->frameClub) {
        Window->resize(1000, 640);
        Window->show();
        Window->mnuLoadDataClick();
        Staff.pnlList->btnSearchClick();
        Clubs.pnlList->btnSearchClick();
    }
    static std::unique_ptr<TfrmMain> Make(const QTemporaryDir& dir) {
        std::string error;
        if (!KordoGenerateFiles(std::filesystem::path(dir.filePath("data").toStdU16String()), {400, 6, false},
                                error))
            qFatal("cannot generate: %s", error.c_str());
        return std::make_unique<TfrmMain>(dir.path());
    }
    static TKordoSearch& Search(const TKordoSearchPanel* panel) { return *panel->Search(); }
    // The count under the list says how many rows it lists.
    static void CountsTheRows(const TKordoSearchPanel* panel, const char* found) {
        QCOMPARE(panel->sbarSearchResult->text(), QString::number(panel->List->model()->rowCount()) + found);
    }
    void CountsBothLists() const {
        CountsTheRows(Staff.pnlList, " People Found");
        CountsTheRows(Clubs.pnlList, " Club Found");
    }
    // Focuses the first listed person for whom the test holds.
    TKordoStaff* Focus(const std::function<bool(const TKordoStaff&)>& test) const {
        TKordoSearch& search = Search(Staff.pnlList);
        for (int32_t row = 0; row < search.RowCount(); ++row)
            if (auto* staff = search.RowRecord<TKordoStaff>(row); test(*staff)) {
                Staff.pnlList->List->FocusRow(row);
                return staff;
            }
        qFatal("no such person");
    }
    TKordoClub* FocusClub(const std::function<bool(const TKordoClub&)>& test) const {
        TKordoSearch& search = Search(Clubs.pnlList);
        for (int32_t row = 0; row < search.RowCount(); ++row)
            if (auto* club = search.RowRecord<TKordoClub>(row); test(*club)) {
                Clubs.pnlList->List->FocusRow(row);
                return club;
            }
        qFatal("no such club");
    }
    static void Settle() {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
};

// No widget of the pages shows a value: boxes and dates blank, lists empty, nothing chosen or ticked.
void ShowsNothing(QWidget* pages) {
    QVERIFY(!pages->isEnabled());
    for (QLineEdit* edit : pages->findChildren<QLineEdit*>())
        QVERIFY2(edit->displayText().trimmed().isEmpty(), qPrintable(edit->parent()->objectName()));
    for (QComboBox* box : pages->findChildren<QComboBox*>())
        QVERIFY2(box->currentIndex() == -1, qPrintable(box->objectName()));
    for (QListWidget* list : pages->findChildren<QListWidget*>())
        QVERIFY2(list->count() == 0, qPrintable(list->objectName()));
    for (QCheckBox* check : pages->findChildren<QCheckBox*>())
        QVERIFY2(!check->isChecked(), qPrintable(check->objectName()));
}

// Every number and date box shows its value as text again, also one that holds the value it had.
void ShowsEveryValue(QWidget* pages) {
    for (QSpinBox* spin : pages->findChildren<QSpinBox*>())
        QVERIFY2(spin->text() == QString::number(spin->value()), qPrintable(spin->objectName()));
    for (QDateEdit* date : pages->findChildren<QDateEdit*>())
        QVERIFY2(date->text() == date->date().toString("dd/MM/yyyy") || date->text() == "not set",
                 qPrintable(date->objectName()));
}

// The text without its accents, as a user types a name on a keyboard that has none.
QString WithoutAccents(const QString& text) {
    QString plain;
    for (QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            plain += c;
    return plain;
}

} // namespace

class EditorFramesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { TKordoDialogs::SetTesting(true); }

    void theCountFollowsEveryChangeOfTheRows() {
        TWindow shown;
        shown.CountsBothLists();
        TKordoSearchPanel* people = shown.Staff.pnlList;
        // Typing, key by key, and the filters.
        people->edSearch->setFocus();
        for (QChar key : QString("ra")) {
            QTest::keyClick(people->edSearch, key.toLatin1());
            shown.CountsBothLists();
        }
        people->cmbFilterStaffType->setCurrentIndex(2);
        shown.CountsBothLists();
        people->btnClearFilters->click();
        shown.CountsBothLists();
        shown.Clubs.pnlList->cmbFilterNation->setCurrentIndex(1);
        shown.CountsBothLists();
        shown.Clubs.pnlList->btnClearFilters->click();
        const int everybody = people->List->model()->rowCount();

        // Add, delete, and both undone and redone.
        shown.Window->mnuStaff->trigger();
        QCOMPARE(people->List->model()->rowCount(), everybody + 1);
        shown.CountsBothLists();
        shown.Focus([](const TKordoStaff& s) { return s.StaffType() == 2; });
        TKordoDialogs::SetNextAnswer(QMessageBox::Yes);
        shown.Window->mnuDeleteStaff->trigger();
        QCOMPARE(people->List->model()->rowCount(), everybody);
        shown.CountsBothLists();
        for (QAction* action :
             {shown.Window->mnuUndo, shown.Window->mnuUndo, shown.Window->mnuRedo, shown.Window->mnuRedo}) {
            action->trigger();
            shown.CountsBothLists();
        }
        QCOMPARE(people->List->model()->rowCount(), everybody);

        // A double-click on a club's chairman lists him alone.
        shown.Window->pcStaffAllData->setCurrentWidget(shown.Window->tsClubs);
        TKordoClub* club = shown.FocusClub([](const TKordoClub& c) { return c.Chairman != nullptr; });
        auto* chairman = shown.Clubs.findChild<QLineEdit*>("edChairman");
        QTest::mouseDClick(chairman, Qt::LeftButton);
        QCOMPARE(shown.Staff.CurrentStaff(), club->Chairman);
        QCOMPARE(people->sbarSearchResult->text(), QString("1 People Found"));
        shown.CountsBothLists();
    }

    void withNothingFocusedThePagesAreEmpty() {
        TWindow shown;
        ShowsNothing(shown.Staff.pcStaff);
        ShowsNothing(shown.Clubs.pcClub);
        QCOMPARE(shown.Clubs.pcSquads->count(), 0);

        // A search that leaves the person out empties the pages; the same person focused again shows
        // every value, also those his box held before.
        TKordoStaff* person = shown.Focus([](const TKordoStaff& s) {
            return s.StaffType() == 3 && s.FirstName && s.ClubSquad && s.Relations.size() > 1;
        });
        const QString name = QString::fromStdU16String(person->FirstName->Name);
        shown.Staff.pnlList->edSearch->setText("qqzxqq");
        QCOMPARE(shown.Staff.pnlList->List->model()->rowCount(), 0);
        ShowsNothing(shown.Staff.pcStaff);
        shown.Staff.pnlList->edSearch->setText(name);
        shown.Focus([person](const TKordoStaff& s) { return &s == person; });
        QVERIFY(shown.Staff.pcStaff->isEnabled());
        QCOMPARE(shown.Staff.findChild<QLineEdit*>("edFirstName")->text(),
                 QString::fromStdU16String(person->FirstName->Name));
        QVERIFY(shown.Staff.findChild<QListWidget*>("lboxFavouriteStaff")->count() +
                    shown.Staff.findChild<QListWidget*>("lboxFavouriteClubs")->count() +
                    shown.Staff.findChild<QListWidget*>("lboxDislikedStaff")->count() +
                    shown.Staff.findChild<QListWidget*>("lboxDislikedClubs")->count() >
                0);
        ShowsEveryValue(shown.Staff.pcStaff);

        // A deleted person leaves nothing behind on the pages.
        TKordoDialogs::SetNextAnswer(QMessageBox::Yes);
        shown.Window->mnuDeleteStaff->trigger();
        ShowsNothing(shown.Staff.pcStaff);

        // A club and its squad pages likewise.
        TKordoClub* club = shown.FocusClub([](const TKordoClub& c) { return c.Squads.size() > 1; });
        QCOMPARE(size_t(shown.Clubs.pcSquads->count()), club->Squads.size());
        shown.Clubs.pnlList->edSearch->setText("qqzxqq");
        ShowsNothing(shown.Clubs.pcClub);
        QCOMPARE(shown.Clubs.pcSquads->count(), 0);
        shown.Clubs.pnlList->edSearch->clear();
        shown.FocusClub([club](const TKordoClub& c) { return &c == club; });
        QCOMPARE(size_t(shown.Clubs.pcSquads->count()), club->Squads.size());
        QCOMPARE(shown.Clubs.findChild<QLineEdit*>("edClubName")->text(),
                 QString::fromStdU16String(club->ClubName));
        ShowsEveryValue(shown.Clubs.pcClub);
    }

    void theListKeepsItsWidthWhateverThePagesOfThePerson() {
        TWindow shown;
        QWidget* list = shown.Staff.pnlList;
        shown.Focus([](const TKordoStaff& s) { return s.StaffType() == 4; });
        TWindow::Settle();
        const int width = list->width();
        QVERIFY(width > 0);
        // Nine pages instead of two, in a window too narrow for all their tabs.
        shown.Focus([](const TKordoStaff& s) { return s.StaffType() == 3; });
        TWindow::Settle();
        QCOMPARE(list->width(), width);
        shown.Window->resize(760, 560);
        TWindow::Settle();
        const int narrow = list->width();
        shown.Focus([](const TKordoStaff& s) { return s.StaffType() == 4; });
        TWindow::Settle();
        QCOMPARE(list->width(), narrow);
        shown.Focus([](const TKordoStaff& s) { return s.StaffType() == 3; });
        TWindow::Settle();
        QCOMPARE(list->width(), narrow);
    }

    void aSmallWindowScrollsThePagesAndFitsALargeScaleScreen() {
        TWindow shown;
        // 1366 x 768 at 150 %, less a panel and the title bar.
        QVERIFY(shown.Window->minimumSizeHint().width() <= 880);
        QVERIFY(shown.Window->minimumSizeHint().height() <= 460);
        shown.Window->resize(shown.Window->minimumSizeHint());
        shown.Focus([](const TKordoStaff& s) { return s.StaffType() == 3; });
        TWindow::Settle();
        QCOMPARE(shown.Window->size(), shown.Window->minimumSizeHint());
        for (const char* page : {"tsGeneral", "tsTechnical", "tsContract"}) {
            shown.Staff.pcStaff->setCurrentWidget(shown.Staff.findChild<QWidget*>(page));
            TWindow::Settle();
            auto* scroll = shown.Staff.findChild<QScrollArea*>(QString(page).replace("ts", "scr"));
            QVERIFY2(scroll && scroll->verticalScrollBar()->maximum() > 0, page);
            // Scrolled, not squeezed: the controls keep at least the room they ask for.
            QVERIFY(scroll->widget()->height() >= scroll->widget()->minimumSizeHint().height());
        }
    }

    void sortingFilteringAndAccentsReachThePages() {
        TWindow shown;
        TKordoSearchPanel* people = shown.Staff.pnlList;
        TKordoStaff* person =
            shown.Focus([](const TKordoStaff& s) { return s.StaffType() == 2 && s.ClubSquad; });
        auto* firstName = shown.Staff.findChild<QLineEdit*>("edFirstName");
        const QString shownName = firstName->text();

        // A click on the club heading sorts by club: the person stays focused and shown.
        QHeaderView* header = people->List->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 4, header->height() / 2));
        QCOMPARE(shown.Search(people).SortColumn(), 1);
        QCOMPARE(shown.Search(people).RowRecord<TKordoStaff>(people->List->FocusedRow()), person);
        QCOMPARE(firstName->text(), shownName);
        QVERIFY(shown.Staff.pcStaff->isEnabled());

        // A filter that leaves him out empties the pages; every row left passes it.
        people->cmbFilterStaffType->setCurrentIndex(people->cmbFilterStaffType->findText("Referee"));
        QVERIFY(people->List->model()->rowCount() > 0);
        for (int row = 0; row < people->List->model()->rowCount(); ++row)
            QCOMPARE(shown.Search(people).RowRecord<TKordoStaff>(row)->StaffType(), uint8_t(4));
        ShowsNothing(shown.Staff.pcStaff);
        people->btnClearFilters->click();

        // A name typed without its accents finds the person who has them.
        TKordoSearch& search = shown.Search(people);
        TKordoStaff* accented = nullptr;
        QString typed;
        for (int32_t row = 0; row < search.RowCount() && !accented; ++row) {
            auto* staff = search.RowRecord<TKordoStaff>(row);
            if (!staff->SecondName)
                continue;
            QString name = QString::fromStdU16String(staff->SecondName->Name);
            typed = WithoutAccents(name).toLower();
            bool ascii = std::all_of(typed.begin(), typed.end(), [](QChar c) { return c.unicode() < 128; });
            if (ascii && typed != name.toLower())
                accented = staff;
        }
        QVERIFY(accented);
        people->edSearch->clear();
        people->edSearch->setFocus();
        QTest::keyClicks(people->edSearch, typed);
        QVERIFY(search.RowOf(accented) >= 0);
        shown.CountsBothLists();
        // Down goes from the box into the list, to its first row, and shows that person.
        QTest::keyClick(people->edSearch, Qt::Key_Down);
        QCOMPARE(people->List->FocusedRow(), 0);
        QVERIFY(people->List->selectionModel()->isRowSelected(0));
        QCOMPARE(shown.Staff.CurrentStaff(), search.RowRecord<TKordoStaff>(0));
        people->List->FocusRow(search.RowOf(accented));
        QCOMPARE(shown.Staff.CurrentStaff(), accented);
    }
};

QTEST_MAIN(EditorFramesTest)
#include "EditorFramesTest.moc"
