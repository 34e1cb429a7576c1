// The virtual list of the editors: a table view over the rows and columns of a search object. Only the
// cells on screen are asked for their text, so a quarter of a million rows cost nothing until painted.
// A click on a column's heading sorts by it (again: the other way round); the heading's context menu
// hides and shows columns; the layout of the headings can be saved and restored.
#pragma once

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QTableView>
#include <functional>
#include <vector>

class QMenu;
class TKordoSearch;

class TKordoListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TKordoListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
    // Binds the search whose rows are shown (nullptr: none). Not owned.
    void SetSearch(TKordoSearch* search);
    TKordoSearch* Search() const { return Bound; }
    // Runs an operation that changes the rows, telling the view before and after.
    void Change(const std::function<void(TKordoSearch&)>& operation);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Orders the search's rows by the column (the view calls it when a heading is clicked).
    void sort(int column, Qt::SortOrder order) override;

private:
    TKordoSearch* Bound = nullptr;
};

class TKordoListView : public QTableView {
    Q_OBJECT
public:
    explicit TKordoListView(QWidget* parent = nullptr);
    TKordoListModel* ListModel() const { return Model; }
    QSize sizeHint() const override;
    // The focused row, or -1.
    int FocusedRow() const;
    // Focuses and selects a row (-1: none).
    void FocusRow(int row);
    // Paints the row's cells again, for a record that changed: the rows keep their size, so nothing
    // needs to be laid out again (telling the model's dataChanged would lay out every row).
    void RepaintRow(int row);
    // Type-ahead: the typed text moves the focus to the first row whose name begins with it.
    void keyboardSearch(const QString& text) override;

    // Which columns show when no saved layout says otherwise, one flag per column of the search
    // (without flags every column but the matched name). The name column always shows.
    void SetDefaultColumns(const std::vector<bool>& shown);
    void SetColumnShown(int column, bool shown);
    // The heading's context menu: one checkable action per column but the name's.
    QMenu* CreateColumnMenu(QWidget* parent);

    // The headings' layout: column widths, order, hidden columns and the sort column and order.
    QByteArray SaveHeaderState() const;
    // False, changing nothing, for a state that does not fit the columns shown now.
    bool RestoreHeaderState(const QByteArray& state);

signals:
    // The focused row changed (-1: none).
    void FocusChanged(int row);

private:
    void ApplyColumns();

    TKordoListModel* Model;
    QString Typed;
    QElapsedTimer SinceTyped;
    std::vector<bool> DefaultColumns;
    int ColumnsFor = -1; // the column count the columns were set up for
    int LastFocus = -1;  // the row FocusChanged told last
};
