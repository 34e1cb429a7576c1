// The editors' lists through their widgets on the offscreen platform: the shared find cases typed key
// by key, sorting by a heading, hiding and showing columns, the saved layout, type-ahead on the name
// column, the filters, and the preference dialog's list and labels.
#include "KordoListView.h"
#include "KordoFindCases.h"
#include "KordoSearch.h"
#include "KordoSearchPanel.h"
#include "frmEditPreferenceUnit.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

namespace {

// The world of the shared find cases, or a generated one of some thousand people.
struct TWorld {
    TKordoPregameDatabase Database;
    explicit TWorld(int32_t people = 0) {
        KordoGenerate(Database, {people, 15, true});
        Database.IndexAll();
        if (people == 0)
            AddFindRecords(Database);
    }
};

// A search panel as the editors have it, over the people or the clubs.
struct TPanel {
    TKordoSearchPanel Panel{"lvList", " Found", nullptr};
    TPanel(TKordoPregameDatabase& database, bool people) {
        if (people)
            Panel.Bind(std::make_unique<TKordoStaffSearch>(database));
        else
            Panel.Bind(std::make_unique<TKordoClubSearch>(database));
        Panel.resize(600, 500);
        Panel.show();
        Panel.SearchAsTyped();
    }
    TKordoListView& View() const { return *Panel.List; }
    QString Cell(int row, int column) const { return View().model()->index(row, column).data().toString(); }
    QStringList Column(int column) const {
        QStringList cells;
        for (int row = 0; row < View().model()->rowCount(); ++row)
            cells.push_back(Cell(row, column));
        return cells;
    }
    // Types the text one character at a time, as keys do.
    void Type(const QString& text) const {
        for (QChar c : text)
            Panel.edSearch->insert(QString(c));
    }
    void ClickHeading(int column) const {
        QHeaderView* header = View().horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 4, header->height() / 2));
    }
};

QStringList Names(const TKordoSearch& search) {
    QStringList names;
    for (int32_t row = 0; row < search.RowCount(); ++row)
        names.push_back(QString::fromStdU16String(search.RowText(row)));
    return names;
}

// What a fresh search lists for the text, the way the editors list it.
QStringList FreshNames(TKordoPregameDatabase& database, const QString& text,
                       const TKordoSearchFilter& filter = {}) {
    TKordoStaffSearch search(database);
    search.SetFilter(filter);
    search.Find(text.toStdU16String());
    return Names(search);
}

} // namespace

class KordoListViewTest : public QObject {
    Q_OBJECT

private slots:
    void everyFindCaseTypedKeyByKeyListsItsRows() {
        TWorld world;
        TPanel people(world.Database, true), clubs(world.Database, false);
        for (const TFindCase& found : FindCases()) {
            const TPanel& panel = found.People ? people : clubs;
            panel.Panel.edSearch->clear();
            panel.Type(QString::fromStdU16String(found.Text));
            std::vector<TFindRow> listed;
            for (int row = 0; row < panel.View().model()->rowCount(); ++row) {
                QString tip = panel.View().model()->index(row, 0).data(Qt::ToolTipRole).toString();
                listed.push_back(
                    {panel.Cell(row, 0).toStdU16String(),
                     tip.isEmpty() ? u"" : tip.mid(QString("Found by: ").size()).toStdU16String()});
            }
            QVERIFY2(listed == found.Rows, qPrintable(QString::fromStdU16String(found.Text)));
        }
    }

    void theListFollowsEveryKeyAndTheButtonsStillSearch() {
        TWorld world(2000);
        TPanel panel(world.Database, true);
        QCOMPARE(panel.View().model()->rowCount(), world.Database.Staffs.Count());
        QString typed;
        for (QChar key : QString("ouk")) {
            typed += key;
            panel.Type(key);
            QCOMPARE(panel.Column(0), FreshNames(world.Database, typed));
            QCOMPARE(panel.Panel.sbarSearchResult->text(),
                     QString("%1 Found").arg(panel.View().model()->rowCount()));
        }
        QStringList found = panel.Column(0);
        panel.Panel.btnSearch->click();
        QCOMPARE(panel.Column(0), found);
        QTest::keyClick(panel.Panel.edSearch, Qt::Key_Return);
        QCOMPARE(panel.Column(0), found);
    }

    void filtersCombineWithTheTextAndClearShowsEveryone() {
        TWorld world(2000);
        TPanel panel(world.Database, true);
        TKordoSearchPanel& widgets = panel.Panel;
        const TKordoStaff& sample = *world.Database.Staffs.Item(100);
        widgets.cmbFilterNation->setCurrentIndex(
            widgets.cmbFilterNation->findText(QString::fromStdU16String(sample.Nation->NationName)));
        widgets.cmbFilterStaffType->setCurrentIndex(sample.StaffType());
        const TKordoSearchFilter filter = widgets.Filter();
        QVERIFY(filter.Nation == sample.Nation && filter.StaffType == sample.StaffType());
        QCOMPARE(QString::fromStdU16String(filter.Nation->NationName),
                 widgets.cmbFilterNation->currentText());
        QCOMPARE(panel.Column(0), FreshNames(world.Database, "", filter));
        QVERIFY(panel.View().model()->rowCount() > 0);
        panel.Type("a");
        QCOMPARE(panel.Column(0), FreshNames(world.Database, "a", filter));
        widgets.seFilterBornFrom->setValue(1980);
        widgets.seFilterBornTo->setValue(1990);
        QCOMPARE(widgets.Filter().BornFrom, 1980);
        QCOMPARE(panel.Column(0), FreshNames(world.Database, "a", widgets.Filter()));
        // The club list is filled when it is first used.
        QCOMPARE(widgets.cmbFilterClub->count(), 1);
        widgets.cmbFilterClub->showPopup();
        widgets.cmbFilterClub->hidePopup();
        QCOMPARE(widgets.cmbFilterClub->count(), world.Database.Clubs.Count() + 1);
        widgets.btnClearFilters->click();
        QVERIFY(widgets.edSearch->text().isEmpty());
        QVERIFY(widgets.Filter().Empty());
        QCOMPARE(panel.View().model()->rowCount(), world.Database.Staffs.Count());
        // Without a database the club list stays empty, even if it was never opened before.
        TPanel unopened(world.Database, true);
        unopened.Panel.Show(nullptr);
        unopened.Panel.cmbFilterClub->showPopup();
        unopened.Panel.cmbFilterClub->hidePopup();
        QCOMPARE(unopened.Panel.cmbFilterClub->count(), 1);

        TPanel clubs(world.Database, false);
        QVERIFY(clubs.Panel.cmbFilterNation->isVisibleTo(&clubs.Panel));
        QVERIFY(!clubs.Panel.cmbFilterStaffType->isVisibleTo(&clubs.Panel));
        clubs.Panel.cmbFilterNation->setCurrentIndex(1);
        const TKordoNation* nation = clubs.Panel.Filter().Nation;
        QVERIFY(nation && clubs.View().model()->rowCount() > 0);
        for (int row = 0; row < clubs.View().model()->rowCount(); ++row)
            QCOMPARE(clubs.Cell(row, 2), QString::fromStdU16String(nation->NationName));
    }

    void aHeadingClickSortsByItsColumnAndAgainTheOtherWay() {
        TWorld world;
        TPanel panel(world.Database, true);
        TKordoListView& view = panel.View();
        view.FocusRow(2);
        const QString focused = panel.Cell(2, 0);
        QSignalSpy focusChanges(&view, &TKordoListView::FocusChanged);
        for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            panel.ClickHeading(1);
            QCOMPARE(view.horizontalHeader()->sortIndicatorSection(), 1);
            QCOMPARE(view.horizontalHeader()->sortIndicatorOrder(), order);
            const QStringList clubs = panel.Column(1), names = panel.Column(0);
            for (int row = 1; row < clubs.size(); ++row) {
                int byClub = KordoCompareNames(clubs[row - 1].toStdU16String(), clubs[row].toStdU16String());
                QVERIFY(order == Qt::AscendingOrder ? byClub <= 0 : byClub >= 0);
                if (byClub == 0)
                    QVERIFY(KordoCompareNames(names[row - 1].toStdU16String(), names[row].toStdU16String()) <=
                            0);
            }
            // The focused person moves with his row; the editor hears of no new focus.
            QCOMPARE(panel.Cell(view.FocusedRow(), 0), focused);
        }
        QCOMPARE(focusChanges.count(), 0);
        panel.ClickHeading(0);
        QCOMPARE(panel.Column(0), FreshNames(world.Database, ""));
    }

    void columnsHideAndShowFromTheHeadingsMenuAndTheLayoutIsRestored() {
        TWorld world;
        TPanel panel(world.Database, true);
        TKordoListView& view = panel.View();
        // Every column shows in the editors but the matched name, which the name's tooltip tells.
        for (int column = 0; column + 1 < view.model()->columnCount(); ++column)
            QVERIFY(!view.isColumnHidden(column));
        QVERIFY(view.isColumnHidden(view.model()->columnCount() - 1));
        std::unique_ptr<QMenu> menu(view.CreateColumnMenu(nullptr));
        QCOMPARE(menu->actions().size(), view.model()->columnCount() - 1);
        QAction* nation = menu->actions().at(1);
        QCOMPARE(nation->text(), QString("Nation"));
        nation->toggle();
        QVERIFY(view.isColumnHidden(2));
        panel.ClickHeading(3);
        panel.ClickHeading(3);
        const QByteArray layout = view.SaveHeaderState();

        TPanel again(world.Database, true);
        QVERIFY(again.View().RestoreHeaderState(layout));
        QVERIFY(again.View().isColumnHidden(2));
        QCOMPARE(again.View().horizontalHeader()->sortIndicatorSection(), 3);
        QCOMPARE(again.Column(0), panel.Column(0));
        // A layout of another list's columns is refused.
        TPanel clubs(world.Database, false);
        QVERIFY(!clubs.View().RestoreHeaderState(layout));
        QCOMPARE(clubs.View().horizontalHeader()->sortIndicatorSection(), 0);
        std::unique_ptr<QMenu> shown(view.CreateColumnMenu(nullptr));
        shown->actions().at(1)->toggle();
        QVERIFY(!view.isColumnHidden(2));
    }

    void typeAheadFindsANameWhateverTheOrder() {
        TWorld world(2000);
        TPanel panel(world.Database, true);
        panel.ClickHeading(3); // by date of birth
        QTest::keyClicks(&panel.View(), "ma");
        const int row = panel.View().FocusedRow();
        QVERIFY(row >= 0);
        QVERIFY(panel.Cell(row, 0).startsWith("ma", Qt::CaseInsensitive));
        for (int earlier = 0; earlier < row; ++earlier)
            QVERIFY(!panel.Cell(earlier, 0).startsWith("ma", Qt::CaseInsensitive));
    }

    void thePreferenceDialogTellsPeopleAndClubsOfOneNameApart() {
        TWorld world;
        TfrmEditPreference dialog;
        dialog.SetDatabase(&world.Database);
        dialog.OpenPreferenceDialog(true, true, true);
        TKordoListView& view = *dialog.pnlSearch->List;
        // Name, club and date of birth.
        QList<bool> shown;
        for (int column = 0; column < view.model()->columnCount(); ++column)
            shown.push_back(!view.isColumnHidden(column));
        QCOMPARE(shown, (QList<bool>{true, true, false, true, false, false, false, false}));
        dialog.pnlSearch->edSearch->setText("smith");
        QCOMPARE(view.model()->rowCount(), 2);
        view.FocusRow(1);
        QCOMPARE(dialog.lblStaffName->text(), QString("Smith, John"));
        QCOMPARE(dialog.lblClubName->text(), QString("Amna"));
        QCOMPARE(dialog.lblDateOfBirth->text(), QString("2001-03-04"));
        QVERIFY(!dialog.lblFullClubName->isVisibleTo(&dialog));
        // An empty box lists nobody, unless a filter is set.
        dialog.pnlSearch->edSearch->clear();
        QCOMPARE(view.model()->rowCount(), 0);
        dialog.pnlSearch->cmbFilterStaffType->setCurrentIndex(KordoStaffReferee);
        QCOMPARE(view.model()->rowCount(), 1);

        dialog.OpenPreferenceDialog(false, true, true);
        QVERIFY(dialog.pnlSearch->Filter().Empty());
        shown.clear();
        for (int column = 0; column < view.model()->columnCount(); ++column)
            shown.push_back(!view.isColumnHidden(column));
        QCOMPARE(shown, (QList<bool>{true, true, true, false, false}));
        dialog.pnlSearch->edSearch->setText("amna");
        QCOMPARE(view.model()->rowCount(), 2);
        view.FocusRow(1);
        QCOMPARE(dialog.lblClubName->text(), QString("Amna"));
        QCOMPARE(dialog.lblFullClubName->text(), QString("Amna Athletic"));
        QVERIFY(dialog.lblFullClubName->isVisibleTo(&dialog) && !dialog.lblDateOfBirth->isVisibleTo(&dialog));
    }
};

QTEST_MAIN(KordoListViewTest)
#include "KordoListViewTest.moc"
