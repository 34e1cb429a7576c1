#include "KordoSearchPanel.h"

#include "KordoListView.h"
#include "KordoSearch.h"
#include "StatusForm.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

TKordoSearchPanel::TKordoSearchPanel(const QString& listName, const QString& foundText, QWidget* parent)
    : QWidget(parent), FoundText(foundText) {
    setObjectName("pnlList");
    edSearch = new QLineEdit(this);
    edSearch->setObjectName("edSearch");
    btnSearch = new QPushButton("Search", this);
    btnSearch->setObjectName("btnSearch");
    List = new TKordoListView(this);
    List->setObjectName(listName);
    sbarSearchResult = new QLabel(this);
    sbarSearchResult->setObjectName("sbarSearchResult");
    sbarSearchResult->setFrameShape(QFrame::StyledPanel);
    sbarSearchResult->setMinimumWidth(200);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(edSearch, 1);
    searchRow->addWidget(btnSearch);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(searchRow);
    layout->addWidget(List, 1);
    layout->addWidget(sbarSearchResult);

    connect(btnSearch, &QPushButton::clicked, this, &TKordoSearchPanel::btnSearchClick);
    // Enter in the box runs the search while the box has the focus.
    connect(edSearch, &QLineEdit::returnPressed, this, &TKordoSearchPanel::btnSearchClick);
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
    return QWidget::eventFilter(watched, event);
}

void TKordoSearchPanel::Bind(std::unique_ptr<TKordoSearch> search) {
    // The first search after a load must be as quick as the next.
    if (search)
        search->Prepare();
    Show(search.get());
    Owned = std::move(search);
}

void TKordoSearchPanel::Show(TKordoSearch* search) {
    Bound = search;
    List->ListModel()->SetSearch(search);
    Owned.reset();
    sbarSearchResult->clear();
    setEnabled(Bound != nullptr);
}

void TKordoSearchPanel::btnSearchClick() {
    if (!Bound || (BeforeSearch && !BeforeSearch()))
        return;
    TfrmStatus status(window());
    status.show();
    Bound->OnStatus = [&status](const std::string& text) { status.SetStatusText(text); };
    Bound->OnProgress = [&status](int32_t percent) { status.SetProgress(percent); };
    std::u16string text = edSearch->text().toStdU16String();
    List->ListModel()->Change([&](TKordoSearch& search) {
        if (text.empty() && ListsAllWhenEmpty)
            search.ShowAll();
        else
            search.Search(text);
    });
    Bound->OnStatus = nullptr;
    Bound->OnProgress = nullptr;
    if (ShowsCount)
        sbarSearchResult->setText(QString::number(Bound->Count()) + FoundText);
}

void TKordoSearchPanel::ShowCount() {
    if (Bound && ShowsCount && !sbarSearchResult->text().isEmpty())
        sbarSearchResult->setText(QString::number(Bound->Count()) + FoundText);
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
    auto* details = new QVBoxLayout;
    details->addWidget(pages, 1);
    details->addLayout(buttons);
    auto* layout = new QHBoxLayout(frame);
    layout->addWidget(panel, 2);
    layout->addLayout(details, 3);
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

void* KordoFocusRecord(TKordoSearchPanel* panel, int row, QWidget* pages, QPushButton* confirm,
                       QPushButton* cancel) {
    TKordoSearch* search = panel->Search();
    if (search)
        search->SetFocusedRow(row);
    bool focused = search && row >= 0 && row < search->RowCount();
    pages->setEnabled(focused);
    confirm->setEnabled(focused);
    cancel->setEnabled(focused);
    return focused ? search->RowRecord(row) : nullptr;
}
