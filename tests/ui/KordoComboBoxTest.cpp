#include "KordoComboBox.h"

#include <QtTest>

class KordoComboBoxTest : public QObject {
    Q_OBJECT
private slots:
    void selectsByValueWhereverSortingPutTheItem() {
        int zeta = 1, alpha = 2;
        TPointerComboBox box(nullptr, true);
        box.AddItem("Zeta", &zeta);
        box.AddItem("alpha", &alpha);
        box.AddItem("<No Club>", nullptr);
        QCOMPARE(box.itemText(0), QString("<No Club>"));
        QCOMPARE(box.itemText(1), QString("alpha")); // case does not decide the order
        box.SelectValue(&zeta);
        QCOMPARE(box.currentText(), QString("Zeta"));
        QCOMPARE(box.SelectedValue(), static_cast<void*>(&zeta));
        box.SelectValue(nullptr); // the "none" item
        QCOMPARE(box.currentIndex(), 0);
        int absent = 3;
        box.SelectValue(&absent);
        QCOMPARE(box.currentIndex(), -1);
        QCOMPARE(box.SelectedValue(), nullptr);
    }

    void bulkAddingGivesTheSameOrderAsAddingOneByOne() {
        int values[4];
        std::vector<std::pair<QString, const void*>> items{
            {"Östlich", &values[0]}, {"zeta", &values[1]}, {"Alpha", &values[2]}, {"alpha", &values[3]}};
        TPointerComboBox one(nullptr, true), bulk(nullptr, true);
        one.AddItem("<unspecified>", nullptr);
        bulk.AddItem("<unspecified>", nullptr);
        for (const auto& [text, value] : items)
            one.AddItem(text, value);
        bulk.AddItems(items);
        QCOMPARE(bulk.count(), one.count());
        for (int i = 0; i < one.count(); ++i) {
            QCOMPARE(bulk.itemText(i), one.itemText(i));
            QCOMPARE(bulk.itemData(i), one.itemData(i));
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
        int a = 0, b = 0;
        TPointerListBox list(nullptr, true);
        list.AddItem("b", &b);
        list.AddItem("a", &a);
        QCOMPARE(list.SelectedValue(), nullptr);
        list.setCurrentRow(0);
        QCOMPARE(list.SelectedValue(), static_cast<void*>(&a));
    }
};

QTEST_MAIN(KordoComboBoxTest)
#include "KordoComboBoxTest.moc"
