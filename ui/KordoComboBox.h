// Drop-down lists and list boxes whose items carry a value besides their text: a record reference
// behind a name, or a code behind a label. A sorted control places each new item at its place in the
// collation order of the search, so item positions are not insertion order.
#pragma once

#include "KordoRecords.h"

#include <QComboBox>
#include <QListWidget>

#include <utility>
#include <vector>

Q_DECLARE_METATYPE(TKordoRecordRef)

class TPointerComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TPointerComboBox(QWidget* parent = nullptr, bool sorted = false);
    void AddItem(const QString& text, const TKordoRecordRef& value);
    // Adds many items at once: the same result as adding them one by one, in one pass.
    void AddItems(const std::vector<std::pair<QString, TKordoRecordRef>>& items);
    // Selects the first item carrying the value, or nothing when none does; no change signal.
    void SelectValue(const TKordoRecordRef& value);
    // The selected item's value; none with nothing selected.
    TKordoRecordRef SelectedValue() const;
    bool Sorted;
};

class TIntegerComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TIntegerComboBox(QWidget* parent = nullptr, bool sorted = false);
    void AddItem(const QString& text, int32_t value);
    void SelectValue(int32_t value);
    // The selected item's value; -1 with nothing selected.
    int32_t SelectedValue() const;
    bool Sorted;
};

class TPointerListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TPointerListBox(QWidget* parent = nullptr, bool sorted = false);
    void AddItem(const QString& text, const TKordoRecordRef& value);
    TKordoRecordRef SelectedValue() const;
    bool Sorted;
};

// Where a new item with this text goes among a sorted control's items.
int KordoSortedPosition(const QStringList& texts, const QString& text);
