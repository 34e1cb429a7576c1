#include "KordoListView.h"

#include "KordoSearch.h"

#include <QApplication>

void TKordoListModel::SetSearch(TKordoSearch* search) {
    beginResetModel();
    Bound = search;
    endResetModel();
}

void TKordoListModel::Change(const std::function<void(TKordoSearch&)>& operation) {
    if (!Bound)
        return;
    beginResetModel();
    operation(*Bound);
    endResetModel();
}

int TKordoListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !Bound ? 0 : Bound->RowCount();
}

QVariant TKordoListModel::data(const QModelIndex& index, int role) const {
    if (!Bound || !index.isValid() || index.row() >= Bound->RowCount())
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdU16String(Bound->RowText(index.row()));
    return {};
}

TKordoListView::TKordoListView(QWidget* parent) : QListView(parent), Model(new TKordoListModel(this)) {
    setModel(Model);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        emit FocusChanged(current.isValid() ? current.row() : -1);
    });
    connect(Model, &QAbstractItemModel::modelReset, this, [this] {
        TKordoSearch* search = Model->Search();
        int focused = search ? search->FocusedRow() : -1;
        if (focused >= 0)
            FocusRow(focused);
        else
            emit FocusChanged(-1);
    });
}

int TKordoListView::FocusedRow() const {
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void TKordoListView::FocusRow(int row) {
    if (row < 0 || row >= Model->rowCount()) {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
        return;
    }
    QModelIndex index = Model->index(row);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void TKordoListView::keyboardSearch(const QString& text) {
    if (!Model->Search() || text.isEmpty())
        return;
    if (!SinceTyped.isValid() || SinceTyped.elapsed() > QApplication::keyboardInputInterval())
        Typed.clear();
    SinceTyped.start();
    Typed += text;
    int row = Model->Search()->FindTypeAhead(Typed.toStdU16String());
    if (row >= 0)
        FocusRow(row);
}
