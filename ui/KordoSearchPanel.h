// The left panel of both editors: a search box, the "Search" button, the virtual list and the
// one-panel status bar with the number of records found.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QTabWidget;
class QLineEdit;
class QPushButton;
class TKordoListView;
class TKordoSearch;

class TKordoSearchPanel : public QWidget {
    Q_OBJECT
public:
    // foundText follows the count in the status bar (" People Found", " Club Found").
    TKordoSearchPanel(const QString& listName, const QString& foundText, QWidget* parent);
    ~TKordoSearchPanel() override;
    // Takes the search over (nullptr: none); the list starts empty.
    void Bind(std::unique_ptr<TKordoSearch> search);
    // Shows the rows of a search the caller keeps (nullptr: none).
    void Show(TKordoSearch* search);
    TKordoSearch* Search() const { return Bound; }

    // Search for the box's text, or list everything when it is empty, with a progress window.
    void btnSearchClick();
    // Shows the count again after rows came or went, once a search has shown one.
    void ShowCount();

    QLineEdit* edSearch;
    QPushButton* btnSearch;
    TKordoListView* List;
    QLabel* sbarSearchResult;

    // The editors list every record for an empty box and show the count found; the preference
    // dialog does neither.
    bool ListsAllWhenEmpty = true;
    bool ShowsCount = true;
    // Asked before a search replaces the rows; false leaves them as they are.
    std::function<bool()> BeforeSearch;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString FoundText;
    TKordoSearch* Bound = nullptr;
    std::unique_ptr<TKordoSearch> Owned; // the search taken over, if Bound is one
};

// Lays out an editor frame: the search panel on the left; on the right the pages with the buttons
// "Confirm Changes" and "Cancel Changes" below them, which are created here.
void KordoLayOutEditor(QWidget* frame, TKordoSearchPanel* panel, QTabWidget* pages, QPushButton*& confirm,
                       QPushButton*& cancel);
// The record of a newly focused row, or nullptr for none; the search remembers the row, and the pages
// and buttons are enabled exactly while a row is focused.
void* KordoFocusRecord(TKordoSearchPanel* panel, int row, QWidget* pages, QPushButton* confirm,
                       QPushButton* cancel);
// Another row got the focus while an editor shows a record: `leave` sees to the record's edits. When
// the user stays, the focus goes back to the row it came from (with `restoring` set meanwhile, so that
// the editor ignores that change) and false is returned.
bool KordoLeaveRow(TKordoSearchPanel* panel, bool& restoring, const std::function<bool()>& leave);
