#include "KordoComboBox.h"

#include "KordoCollation.h"

#include <QSignalBlocker>
#include <QStandardItemModel>
#include <algorithm>

int KordoSortedPosition(const QStringList& texts, const QString& text) {
    const QCollator& collator = KordoCollator();
    // After the items that sort before or equal, so equal texts keep their insertion order.
    auto at = std::upper_bound(texts.begin(), texts.end(), text, [&](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
    return static_cast<int>(at - texts.begin());
}

namespace {

QStringList ItemTexts(const QComboBox& box) {
    QStringList texts;
    for (int i = 0; i < box.count(); ++i)
        texts << box.itemText(i);
    return texts;
}

template <class Box, class Value>
void Insert(Box& box, bool sorted, const QString& text, const QVariant& value) {
    int at = sorted ? KordoSortedPosition(ItemTexts(box), text) : box.count();
    QSignalBlocker block(&box);
    box.insertItem(at, text, value);
    (void)sizeof(Value);
}

QVariant PointerData(const TKordoRecordRef& value) {
    return QVariant::fromValue(value);
}

// Appends every item at the end in one insertion: the box's model announces the new rows once rather
// than once per item, which makes filling a list of thousands several times faster.
void AppendItems(QComboBox& box, const std::vector<std::pair<QString, QVariant>>& items) {
    auto* model = qobject_cast<QStandardItemModel*>(box.model());
    if (!model) {
        for (const auto& [text, value] : items)
            box.addItem(text, value);
        return;
    }
    QList<QStandardItem*> rows;
    rows.reserve(static_cast<qsizetype>(items.size()));
    for (const auto& [text, value] : items) {
        auto* row = new QStandardItem(text);
        if (value.isValid())
            row->setData(value, Qt::UserRole);
        rows.append(row);
    }
    model->invisibleRootItem()->appendRows(rows);
}

template <class Box> int FirstWithData(const Box& box, const QVariant& data) {
    for (int i = 0; i < box.count(); ++i)
        if (box.itemData(i) == data)
            return i;
    return -1;
}

} // namespace

TPointerComboBox::TPointerComboBox(QWidget* parent, bool sorted) : QComboBox(parent), Sorted(sorted) {}

void TPointerComboBox::AddItem(const QString& text, const TKordoRecordRef& value) {
    Insert<QComboBox, TKordoRecordRef>(*this, Sorted, text, PointerData(value));
}

void TPointerComboBox::AddItems(const std::vector<std::pair<QString, TKordoRecordRef>>& items) {
    QSignalBlocker block(this);
    std::vector<std::pair<QString, QVariant>> all;
    all.reserve(static_cast<size_t>(count()) + items.size());
    if (!Sorted) {
        for (const auto& [text, value] : items)
            all.emplace_back(text, PointerData(value));
        AppendItems(*this, all);
        return;
    }
    // A stable sort by collation keys gives what inserting each item at its sorted place gives.
    for (int i = 0; i < count(); ++i)
        all.emplace_back(itemText(i), itemData(i));
    for (const auto& [text, value] : items)
        all.emplace_back(text, PointerData(value));
    const QCollator& collator = KordoCollator();
    std::vector<std::pair<QCollatorSortKey, size_t>> keys;
    keys.reserve(all.size());
    for (size_t i = 0; i < all.size(); ++i)
        keys.emplace_back(collator.sortKey(all[i].first), i);
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    std::vector<std::pair<QString, QVariant>> sorted;
    sorted.reserve(all.size());
    for (const auto& key : keys)
        sorted.push_back(std::move(all[key.second]));
    clear();
    AppendItems(*this, sorted);
}

void TPointerComboBox::SelectValue(const TKordoRecordRef& value) {
    QSignalBlocker block(this);
    setCurrentIndex(FirstWithData(*this, PointerData(value)));
}

TKordoRecordRef TPointerComboBox::SelectedValue() const {
    return currentIndex() < 0 ? TKordoRecordRef() : itemData(currentIndex()).value<TKordoRecordRef>();
}

TIntegerComboBox::TIntegerComboBox(QWidget* parent, bool sorted) : QComboBox(parent), Sorted(sorted) {}

void TIntegerComboBox::AddItem(const QString& text, int32_t value) {
    Insert<QComboBox, int32_t>(*this, Sorted, text, QVariant(value));
}

void TIntegerComboBox::SelectValue(int32_t value) {
    QSignalBlocker block(this);
    setCurrentIndex(FirstWithData(*this, QVariant(value)));
}

int32_t TIntegerComboBox::SelectedValue() const {
    return currentIndex() < 0 ? -1 : itemData(currentIndex()).toInt();
}

TPointerListBox::TPointerListBox(QWidget* parent, bool sorted) : QListWidget(parent), Sorted(sorted) {}

void TPointerListBox::AddItem(const QString& text, const TKordoRecordRef& value) {
    QStringList texts;
    for (int i = 0; i < count(); ++i)
        texts << item(i)->text();
    int at = Sorted ? KordoSortedPosition(texts, text) : count();
    auto* entry = new QListWidgetItem(text);
    entry->setData(Qt::UserRole, PointerData(value));
    insertItem(at, entry);
}

TKordoRecordRef TPointerListBox::SelectedValue() const {
    QListWidgetItem* selected = currentItem();
    return selected ? selected->data(Qt::UserRole).value<TKordoRecordRef>() : TKordoRecordRef();
}
