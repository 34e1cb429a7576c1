#include "KordoComboBox.h"

#include <QtTest>

class KordoComboBoxTest : public QObject {
    Q_OBJECT
private slots:
    void selectsByValueWhereverSortingPutTheItem() {
        TKordoClub zeta, alpha;
        TPointerComboBox box(nullptr, true);
        box.AddItem("Zeta", &zeta);
        box.AddItem("alpha", &alpha);
        box.AddItem("<No Club>", nullptr);
        QCOMPARE(box.itemText(0), QString("<No Club>"));
        QCOMPARE(box.itemText(1), QString("alpha")); // case does not decide the order
        box.SelectValue(&zeta);
        QCOMPARE(box.currentText(), QString("Zeta"));
        QVERIFY(box.SelectedValue() == TKordoRecordRef(&zeta));
        box.SelectValue(nullptr); // the "none" item
        QCOMPARE(box.currentIndex(), 0);
        TKordoClub absent;
        box.SelectValue(&absent);
        QCOMPARE(box.currentIndex(), -1);
        QVERIFY(!box.SelectedValue());
    }

    void bulkAddingGivesTheSameOrderAsAddingOneByOne() {
        TKordoNation values[4];
        std::vector<std::pair<QString, TKordoRecordRef>> items{
            {"Östlich", &values[0]}, {"zeta", &values[1]}, {"Alpha", &values[2]}, {"alpha", &values[3]}};
        for (bool sorted : {true, false}) {
            for (bool noneItem : {true, false}) {
                TPointerComboBox one(nullptr, sorted), bulk(nullptr, sorted);
                if (noneItem) {
                    one.AddItem("<unspecified>", nullptr);
                    bulk.AddItem("<unspecified>", nullptr);
                }
                for (const auto& [text, value] : items)
                    one.AddItem(text, value);
                bulk.AddItems(items);
                QCOMPARE(bulk.count(), one.count());
                for (int i = 0; i < one.count(); ++i) {
                    QCOMPARE(bulk.itemText(i), one.itemText(i));
                    QCOMPARE(bulk.itemData(i), one.itemData(i));
                }
                bulk.SelectValue(&values[1]);
                QCOMPARE(bulk.currentText(), QString("zeta"));
            }
        }
    }

    void integerListsAnswerMinusOneWithoutSelection() {
        TIntegerComboBox box(nullptr, false);
        box.AddItem("Player", 2);
        box.AddItem("Non Player", 1);
        QCOMPARE(box.itemText(0), QString("Player")); // unsorted: insertion order
        box.SelectValue(7);
        QCOMPARE(box.SelectedValue(), -1);
        box.SelectValue(1);
        QCOMPARE(box.SelectedValue(), 1);
    }

    void listBoxesCarryTheirRecords() {
        TKordoStaff a, b;
        TPointerListBox list(nullptr, true);
        list.AddItem("b", &b);
        list.AddItem("a", &a);
        QVERIFY(!list.SelectedValue());
        list.setCurrentRow(0);
        QVERIFY(list.SelectedValue() == TKordoRecordRef(&a));
    }
};

QTEST_MAIN(KordoComboBoxTest)
#include "KordoComboBoxTest.moc"
