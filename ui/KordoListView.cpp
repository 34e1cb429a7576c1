#include "KordoListView.h"

#include "KordoSearch.h"

#include <QApplication>
#include <QDataStream>
#include <QHeaderView>
#include <QIODevice>
#include <QMenu>
#include <QScrollBar>
#include <QSignalBlocker>

namespace {

// Column widths in average characters: a name as most are long, a short name or a nation, a number.
constexpr int NameCharacters = 30;
constexpr int TextCharacters = 18;
constexpr int NumberCharacters = 9;

} // namespace

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

int TKordoListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !Bound ? 0 : Bound->ColumnCount();
}

QVariant TKordoListModel::data(const QModelIndex& index, int role) const {
    if (!Bound || !index.isValid() || index.row() >= Bound->RowCount() ||
        index.column() >= Bound->ColumnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdU16String(Bound->CellText(index.row(), index.column()));
    case Qt::ToolTipRole:
        // A name the row does not show matched the search text: the name's cell says which.
        if (index.column() == 0) {
            std::u16string matched = Bound->RowMatchedName(index.row());
            if (!matched.empty())
                return "Found by: " + QString::fromStdU16String(matched);
        }
        return {};
    case Qt::TextAlignmentRole:
        if (Bound->Column(index.column()).Numeric)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant TKordoListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!Bound || orientation != Qt::Horizontal || section < 0 || section >= Bound->ColumnCount())
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdU16String(Bound->Column(section).Title);
    // A heading clicked for the first time sorts ascending.
    if (role == Qt::InitialSortOrderRole)
        return Qt::AscendingOrder;
    if (role == Qt::TextAlignmentRole && Bound->Column(section).Numeric)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

// The rows move; the focused and selected row keeps its record, so the view hears of no new focus.
void TKordoListModel::sort(int column, Qt::SortOrder order) {
    if (!Bound || column < 0 || column >= Bound->ColumnCount())
        return;
    if (Bound->SortColumn() == column && Bound->SortDescending() == (order == Qt::DescendingOrder))
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int32_t> moved = Bound->SortBy(column, order == Qt::DescendingOrder);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    for (const QModelIndex& index : before) {
        const size_t row = static_cast<size_t>(index.row());
        const int32_t to = row < moved.size() ? moved[row] : -1;
        after.push_back(to >= 0 ? createIndex(to, index.column()) : QModelIndex());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

TKordoListView::TKordoListView(QWidget* parent) : QTableView(parent), Model(new TKordoListModel(this)) {
    setModel(Model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Every row is as high as the others: only the rows on screen are laid out.
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView* header = horizontalHeader();
    header->setSectionsMovable(true);
    header->setHighlightSections(false);
    header->setStretchLastSection(true);
    header->setSortIndicator(0, Qt::AscendingOrder);
    setSortingEnabled(true);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QHeaderView::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = CreateColumnMenu(this);
        menu->exec(horizontalHeader()->mapToGlobal(at));
        delete menu;
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                LastFocus = current.isValid() ? current.row() : -1;
                emit FocusChanged(LastFocus);
            });
    connect(Model, &QAbstractItemModel::modelReset, this, [this] {
        TKordoSearch* search = Model->Search();
        // Without a search the heading has no sections: the next one starts from the defaults
        // again, not from sections of the standard width.
        if (!search)
            ColumnsFor = -1;
        else if (search->ColumnCount() != ColumnsFor)
            ApplyColumns();
        // A new search takes the order the headings show.
        if (search &&
            (search->SortColumn() != horizontalHeader()->sortIndicatorSection() ||
             search->SortDescending() != (horizontalHeader()->sortIndicatorOrder() == Qt::DescendingOrder)))
            search->SortBy(horizontalHeader()->sortIndicatorSection(),
                           horizontalHeader()->sortIndicatorOrder() == Qt::DescendingOrder);
        // With nobody focused before and after, as while typing a search, the editors hear nothing.
        int focused = search ? search->FocusedRow() : -1;
        if (focused >= 0) {
            FocusRow(focused);
        } else if (LastFocus != -1) {
            LastFocus = -1;
            emit FocusChanged(-1);
        }
    });
}

// Columns as wide as their kind needs; those the defaults leave out hidden; sorted by name.
void TKordoListView::ApplyColumns() {
    TKordoSearch* search = Model->Search();
    if (!search)
        return;
    ColumnsFor = search->ColumnCount();
    QHeaderView* header = horizontalHeader();
    const int character = fontMetrics().averageCharWidth();
    // A person's name is the long text of his row; a club's is its full name, not its short one.
    const int longest = search->Table() == TKordoSearch::TTable::Clubs ? 1 : 0;
    for (int column = 0; column < ColumnsFor; ++column) {
        header->moveSection(header->visualIndex(column), column);
        const bool numeric = search->Column(column).Numeric;
        header->resizeSection(column, character * (column == longest ? NameCharacters
                                                   : numeric         ? NumberCharacters
                                                                     : TextCharacters));
        // The matched name shows in the name's tooltip unless asked for.
        const size_t at = static_cast<size_t>(column);
        const bool shown =
            at < DefaultColumns.size() ? DefaultColumns[at] : column != search->MatchedNameColumn();
        header->setSectionHidden(column, column > 0 && !shown);
    }
    QSignalBlocker quiet(header);
    header->setSortIndicator(0, Qt::AscendingOrder);
}

void TKordoListView::SetDefaultColumns(const std::vector<bool>& shown) {
    DefaultColumns = shown;
    ApplyColumns();
}

void TKordoListView::SetColumnShown(int column, bool shown) {
    if (column > 0)
        horizontalHeader()->setSectionHidden(column, !shown);
}

QMenu* TKordoListView::CreateColumnMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName("mnuColumns");
    for (int column = 1; column < Model->columnCount(); ++column) {
        QAction* action =
            menu->addAction(Model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
        action->setCheckable(true);
        action->setChecked(!horizontalHeader()->isSectionHidden(column));
        connect(action, &QAction::toggled, this,
                [this, column](bool shown) { SetColumnShown(column, shown); });
    }
    return menu;
}

// The headings' own state, after the columns' titles: a layout fits the list whose columns it names.
QByteArray TKordoListView::SaveHeaderState() const {
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    QStringList titles;
    for (int column = 0; column < Model->columnCount(); ++column)
        titles.push_back(Model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    out << titles << horizontalHeader()->saveState();
    return state;
}

bool TKordoListView::RestoreHeaderState(const QByteArray& state) {
    QDataStream in(state);
    QStringList titles;
    QByteArray headings;
    in >> titles >> headings;
    if (in.status() != QDataStream::Ok || titles.size() != Model->columnCount())
        return false;
    for (int column = 0; column < Model->columnCount(); ++column)
        if (titles[column] != Model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString())
            return false;
    QHeaderView* header = horizontalHeader();
    const QByteArray before = header->saveState();
    if (!header->restoreState(headings) || header->count() != Model->columnCount()) {
        header->restoreState(before);
        return false;
    }
    // The name column always shows.
    header->setSectionHidden(0, false);
    sortByColumn(header->sortIndicatorSection(), header->sortIndicatorOrder());
    return true;
}

// Wide enough for the name and the two columns after it, whatever the rows: the editors' splitter gives
// the list this width at first and keeps it.
QSize TKordoListView::sizeHint() const {
    QSize hint = QTableView::sizeHint();
    hint.setWidth(fontMetrics().averageCharWidth() * (NameCharacters + 2 * TextCharacters) +
                  verticalScrollBar()->sizeHint().width() + 2 * frameWidth());
    return hint;
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
    QModelIndex index = Model->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void TKordoListView::RepaintRow(int row) {
    QRect line = visualRect(Model->index(row, 0));
    line.setLeft(0);
    line.setRight(viewport()->width());
    viewport()->update(line);
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
