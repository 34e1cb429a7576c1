#include "KordoSearchPanel.h"

#include "KordoListView.h"
#include "StatusForm.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace {

// The birth-year boxes: the lowest value stands for no bound.
constexpr int AnyYear = 1799;
constexpr int LastYear = 2100;

// A list that is filled when it is first opened or focused: ten thousand clubs are not worth sorting
// for a user who never filters by club.
class TFilledWhenUsedComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> Fill;
    void FillNow() {
        if (Fill)
            std::exchange(Fill, nullptr)();
    }
    void showPopup() override {
        FillNow();
        QComboBox::showPopup();
    }

protected:
    void focusInEvent(QFocusEvent* event) override {
        FillNow();
        QComboBox::focusInEvent(event);
    }
};

QComboBox* FilterList(const char* name, QWidget* parent, QComboBox* list = nullptr) {
    if (!list)
        list = new QComboBox(parent);
    list->setObjectName(name);
    // The list's width does not follow its longest item, which would mean measuring every one.
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(8);
    if (auto* view = qobject_cast<QListView*>(list->view()))
        view->setUniformItemSizes(true);
    return list;
}

QSpinBox* YearBox(const char* name, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(AnyYear, LastYear);
    box->setSpecialValueText("Any");
    box->setValue(AnyYear);
    return box;
}

int32_t YearOf(const QSpinBox* box) {
    return box->value() == AnyYear ? 0 : box->value();
}

} // namespace

TKordoSearchPanel::TKordoSearchPanel(const QString& listName, const QString& foundText, QWidget* parent)
    : QWidget(parent), FoundText(foundText) {
    setObjectName("pnlList");
    edSearch = new QLineEdit(this);
    edSearch->setObjectName("edSearch");
    edSearch->setClearButtonEnabled(true);
    btnSearch = new QPushButton("Search", this);
    btnSearch->setObjectName("btnSearch");
    cmbFilterStaffType = FilterList("cmbFilterStaffType", this);
    cmbFilterStaffType->addItem("Any Type");
    for (uint8_t type = KordoStaffNonPlayer; type <= KordoStaffReferee; ++type)
        cmbFilterStaffType->addItem(QString::fromStdU16String(StaffTypeText(type)));
    cmbFilterNation = FilterList("cmbFilterNation", this);
    cmbFilterNation->addItem("Any Nation");
    cmbFilterClub = FilterList("cmbFilterClub", this, new TFilledWhenUsedComboBox(this));
    cmbFilterClub->addItem("Any Club");
    seFilterBornFrom = YearBox("seFilterBornFrom", this);
    seFilterBornTo = YearBox("seFilterBornTo", this);
    btnClearFilters = new QPushButton("Clear", this);
    btnClearFilters->setObjectName("btnClearFilters");
    btnClearFilters->setToolTip("Clear the search text and the filters");
    List = new TKordoListView(this);
    List->setObjectName(listName);
    sbarSearchResult = new QLabel(this);
    sbarSearchResult->setObjectName("sbarSearchResult");
    sbarSearchResult->setFrameShape(QFrame::StyledPanel);
    sbarSearchResult->setMinimumWidth(200);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(edSearch, 1);
    searchRow->addWidget(btnSearch);
    auto* filters = Filters = new QGridLayout;
    filters->addWidget(cmbFilterStaffType, 0, 0);
    filters->addWidget(cmbFilterNation, 0, 1);
    filters->addWidget(cmbFilterClub, 0, 2);
    auto* born = new QHBoxLayout;
    auto* bornLabel = new QLabel("Born:", this);
    bornLabel->setObjectName("lblFilterBorn");
    bornLabel->setBuddy(seFilterBornFrom);
    auto* toLabel = new QLabel("to", this);
    toLabel->setObjectName("lblFilterBornTo");
    born->addWidget(bornLabel);
    born->addWidget(seFilterBornFrom);
    born->addWidget(toLabel);
    born->addWidget(seFilterBornTo);
    born->addStretch(1);
    filters->addLayout(born, 1, 0, 1, 2);
    filters->addWidget(btnClearFilters, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(searchRow);
    layout->addLayout(filters);
    layout->addWidget(List, 1);
    layout->addWidget(sbarSearchResult);

    connect(btnSearch, &QPushButton::clicked, this, &TKordoSearchPanel::btnSearchClick);
    // Enter in the box runs the search while the box has the focus.
    connect(edSearch, &QLineEdit::returnPressed, this, &TKordoSearchPanel::btnSearchClick);
    connect(edSearch, &QLineEdit::textChanged, this, [this] {
        if (!Setting)
            SearchAsTyped();
    });
    auto filterChanged = [this] {
        if (!Setting)
            SearchAsTyped();
    };
    for (QComboBox* list : {cmbFilterStaffType, cmbFilterNation, cmbFilterClub})
        connect(list, &QComboBox::currentIndexChanged, this, filterChanged);
    for (QSpinBox* box : {seFilterBornFrom, seFilterBornTo})
        connect(box, &QSpinBox::valueChanged, this, filterChanged);
    connect(btnClearFilters, &QPushButton::clicked, this, &TKordoSearchPanel::btnClearFiltersClick);
    // Whatever changes the rows (a search, a filter, a delete, an add, a jump to one record, an undo),
    // the count follows them here.
    TKordoListModel* rows = List->ListModel();
    connect(rows, &QAbstractItemModel::modelReset, this, &TKordoSearchPanel::ShowCount);
    connect(rows, &QAbstractItemModel::rowsInserted, this, &TKordoSearchPanel::ShowCount);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, &TKordoSearchPanel::ShowCount);
    edSearch->installEventFilter(this);
    setEnabled(false);
}

TKordoSearchPanel::~TKordoSearchPanel() {
    // The frame that listens to the list is already being destroyed: it must hear nothing more.
    QSignalBlocker quiet(List);
    List->ListModel()->SetSearch(nullptr);
}

bool TKordoSearchPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edSearch && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        btnSearch->setDefault(event->type() == QEvent::FocusIn);
    // Down from the box goes on into the list, to the row focused or else the first.
    if (watched == edSearch && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down && Bound && Bound->RowCount() > 0) {
        // The list may take its first row as current on getting the focus, unselected: select it.
        List->setFocus(Qt::TabFocusReason);
        List->FocusRow(std::max(List->FocusedRow(), 0));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TKordoSearchPanel::Bind(std::unique_ptr<TKordoSearch> search) {
    // The first search after a load must be as quick as the next, and the load must not wait for it.
    if (search)
        search->PrepareInBackground();
    Show(search.get());
    Owned = std::move(search);
}

void TKordoSearchPanel::Show(TKordoSearch* search) {
    Bound = search;
    List->ListModel()->SetSearch(search);
    Owned.reset();
    sbarSearchResult->clear();
    setEnabled(Bound != nullptr);
    const bool people = !Bound || Bound->Table() == TKordoSearch::TTable::Staff;
    for (QWidget* filter : std::initializer_list<QWidget*>{
             cmbFilterStaffType, cmbFilterClub, seFilterBornFrom, seFilterBornTo,
             findChild<QLabel*>("lblFilterBorn"), findChild<QLabel*>("lblFilterBornTo")})
        filter->setVisible(people);
    // The clubs' one filter and Clear share the first row, from the left.
    Filters->removeWidget(cmbFilterNation);
    Filters->removeWidget(btnClearFilters);
    Filters->addWidget(cmbFilterNation, 0, people ? 1 : 0);
    Filters->addWidget(btnClearFilters, people ? 1 : 0, 2);
    FillFilters();
    if (Bound)
        Bound->SetFilter(Filter());
}

// The nations now and the clubs when first used, each in the lists' order, after "Any ...".
void TKordoSearchPanel::FillFilters() {
    TKordoPregameDatabase* database = Bound ? &Bound->SearchedDatabase() : nullptr;
    if (database == FiltersOf)
        return;
    FiltersOf = database;
    // The records of the database before are about to go.
    static_cast<TFilledWhenUsedComboBox*>(cmbFilterClub)->Fill = nullptr;
    Setting = true;
    cmbFilterStaffType->setCurrentIndex(0);
    seFilterBornFrom->setValue(AnyYear);
    seFilterBornTo->setValue(AnyYear);
    cmbFilterNation->clear();
    cmbFilterNation->addItem("Any Nation");
    cmbFilterClub->clear();
    cmbFilterClub->addItem("Any Club");
    NationChoices.clear();
    ClubChoices.clear();
    Setting = false;
    if (!database)
        return;
    auto sorted = [](size_t count, const std::function<std::u16string_view(uint32_t)>& text) {
        std::vector<uint32_t> rows(count);
        for (uint32_t i = 0; i < rows.size(); ++i)
            rows[i] = i;
        return TKordoCollation().Sort(rows, text).Entries;
    };
    QStringList nations;
    for (uint32_t row : sorted(database->Nations.Records.size(), [&](uint32_t row) {
             return std::u16string_view(database->Nations.Records[row].NationName);
         })) {
        nations.push_back(QString::fromStdU16String(database->Nations.Records[row].NationName));
        NationChoices.push_back(&database->Nations.Records[row]);
    }
    Setting = true;
    cmbFilterNation->addItems(nations);
    Setting = false;
    static_cast<TFilledWhenUsedComboBox*>(cmbFilterClub)->Fill = [this, database, sorted] {
        QStringList clubs;
        for (uint32_t row : sorted(database->Clubs.Records.size(), [&](uint32_t row) {
                 return std::u16string_view(database->Clubs.Records[row].ShortClubName);
             })) {
            const TKordoClub& club = database->Clubs.Records[row];
            QString text = QString::fromStdU16String(club.ShortClubName);
            // Clubs that share a short name are told apart by their full names.
            if (!club.ClubName.empty() && club.ClubName != club.ShortClubName)
                text += " (" + QString::fromStdU16String(club.ClubName) + ")";
            clubs.push_back(text);
            ClubChoices.push_back(&club);
        }
        QSignalBlocker quiet(cmbFilterClub);
        cmbFilterClub->addItems(clubs);
    };
}

TKordoSearchFilter TKordoSearchPanel::Filter() const {
    TKordoSearchFilter filter;
    const bool people = Bound && Bound->Table() == TKordoSearch::TTable::Staff;
    const auto nation = static_cast<size_t>(cmbFilterNation->currentIndex());
    if (nation >= 1 && nation <= NationChoices.size())
        filter.Nation = NationChoices[nation - 1];
    if (!people)
        return filter;
    filter.StaffType = static_cast<uint8_t>(std::max(cmbFilterStaffType->currentIndex(), 0));
    const auto club = static_cast<size_t>(cmbFilterClub->currentIndex());
    if (club >= 1 && club <= ClubChoices.size())
        filter.Club = ClubChoices[club - 1];
    filter.BornFrom = YearOf(seFilterBornFrom);
    filter.BornTo = YearOf(seFilterBornTo);
    return filter;
}

void TKordoSearchPanel::SetFilter(const TKordoSearchFilter& filter) {
    Setting = true;
    cmbFilterStaffType->setCurrentIndex(filter.StaffType <= KordoStaffReferee ? filter.StaffType : 0);
    auto nation = std::find(NationChoices.begin(), NationChoices.end(), filter.Nation);
    cmbFilterNation->setCurrentIndex(
        nation == NationChoices.end() ? 0 : static_cast<int>(nation - NationChoices.begin()) + 1);
    if (filter.Club)
        static_cast<TFilledWhenUsedComboBox*>(cmbFilterClub)->FillNow();
    auto club = std::find(ClubChoices.begin(), ClubChoices.end(), filter.Club);
    cmbFilterClub->setCurrentIndex(
        club == ClubChoices.end() ? 0 : static_cast<int>(club - ClubChoices.begin()) + 1);
    seFilterBornFrom->setValue(filter.BornFrom == 0 ? AnyYear : filter.BornFrom);
    seFilterBornTo->setValue(filter.BornTo == 0 ? AnyYear : filter.BornTo);
    Setting = false;
    SearchAsTyped();
}

void TKordoSearchPanel::btnClearFiltersClick() {
    Setting = true;
    edSearch->clear();
    Setting = false;
    SetFilter({});
}

// An empty box lists everybody who passes the filters in the editors; in the preference dialog it
// lists nobody unless a filter is set.
void TKordoSearchPanel::SearchAsTyped() {
    if (!Bound)
        return;
    const std::u16string text = edSearch->text().toStdU16String();
    const TKordoSearchFilter filter = Filter();
    Bound->SetFilter(filter);
    List->ListModel()->Change([&](TKordoSearch& search) {
        if (text.empty() && (ListsAllWhenEmpty || !filter.Empty()))
            search.ShowAll();
        else
            search.Search(text);
    });
}

void TKordoSearchPanel::btnSearchClick() {
    if (!Bound || (BeforeSearch && !BeforeSearch()))
        return;
    TfrmStatus status(window());
    status.show();
    Bound->OnStatus = [&status](const std::string& text) { status.SetStatusText(text); };
    Bound->OnProgress = [&status](int32_t percent) { status.SetProgress(percent); };
    SearchAsTyped();
    Bound->OnStatus = nullptr;
    Bound->OnProgress = nullptr;
}

// The rows listed, not what the last search found: rows come and go after it (a delete, an add, a
// jump to one record).
void TKordoSearchPanel::ShowCount() {
    if (ShowsCount && Bound)
        sbarSearchResult->setText(QString::number(Bound->RowCount()) + FoundText);
}

void KordoLayOutEditor(QWidget* frame, TKordoSearchPanel* panel, QTabWidget* pages, QPushButton*& confirm,
                       QPushButton*& cancel) {
    confirm = new QPushButton("Confirm Changes", frame);
    confirm->setObjectName("btnConfirmChanges");
    cancel = new QPushButton("Cancel Changes", frame);
    cancel->setObjectName("btnCancelChanges");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(confirm);
    buttons->addWidget(cancel);
    auto* detailsPanel = new QWidget(frame);
    detailsPanel->setObjectName("pnlDetails");
    auto* details = new QVBoxLayout(detailsPanel);
    details->setContentsMargins(0, 0, 0, 0);
    details->addWidget(pages, 1);
    details->addLayout(buttons);
    // The list keeps its width whatever the pages of the focused record ask for: the splitter gives
    // it its share once, and a wider or narrower window widens or narrows the pages.
    auto* splitter = new QSplitter(Qt::Horizontal, frame);
    splitter->setObjectName("splEditor");
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(panel);
    splitter->addWidget(detailsPanel);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QHBoxLayout(frame);
    layout->addWidget(splitter);
}

bool KordoLeaveRow(TKordoSearchPanel* panel, bool& restoring, const std::function<bool()>& leave) {
    TKordoSearch* search = panel->Search();
    const int previous = search ? search->FocusedRow() : -1;
    if (leave())
        return true;
    restoring = true;
    panel->List->FocusRow(previous);
    restoring = false;
    // A click that moved the focus goes on to select its own row once this returns: the row the user
    // stays on is selected again after it.
    QTimer::singleShot(0, panel->List, [list = panel->List, previous] {
        if (list->FocusedRow() == previous)
            list->FocusRow(previous);
    });
    return false;
}

bool KordoFocusRow(TKordoSearchPanel* panel, int row, QWidget* pages, QPushButton* confirm,
                   QPushButton* cancel) {
    TKordoSearch* search = panel->Search();
    if (search)
        search->SetFocusedRow(row);
    bool focused = search && row >= 0 && row < search->RowCount();
    pages->setEnabled(focused);
    confirm->setEnabled(focused);
    cancel->setEnabled(focused);
    return focused;
}
