// The left panel of both editors and of the preference dialog: a search box that searches as it is
// typed in, the "Search" button, the filters (people: staff type, nation, club and a range of birth
// years; clubs: nation) with a button that clears them and the text, the virtual list and the
// one-panel status bar with the number of records found.
#pragma once

#include "KordoSearch.h"

#include <QWidget>
#include <functional>
#include <memory>

class QComboBox;
class QGridLayout;
class QLabel;
class QTabWidget;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TKordoListView;

class TKordoSearchPanel : public QWidget {
    Q_OBJECT
public:
    // foundText follows the count in the status bar (" People Found", " Club Found").
    TKordoSearchPanel(const QString& listName, const QString& foundText, QWidget* parent);
    ~TKordoSearchPanel() override;
    // Takes the search over (nullptr: none) and prepares it on a second thread; the list starts empty.
    void Bind(std::unique_ptr<TKordoSearch> search);
    // Shows the rows of a search the caller keeps (nullptr: none).
    void Show(TKordoSearch* search);
    TKordoSearch* Search() const { return Bound; }

    // Search for the box's text, or list everything when it is empty, with a progress window.
    void btnSearchClick();
    // The list for the box's text and the filters as they are, at once and without a progress window:
    // what typing and changing a filter do.
    void SearchAsTyped();

    // The filters of the widgets; setting them updates the widgets and the list.
    TKordoSearchFilter Filter() const;
    void SetFilter(const TKordoSearchFilter& filter);
    // Clears the filters and the search box: the list shows everybody (the editors) or nobody.
    void btnClearFiltersClick();
    // Shows the number of rows listed; the list's model calls it whenever its rows change.
    void ShowCount();

    QLineEdit* edSearch;
    QPushButton* btnSearch;
    QComboBox* cmbFilterStaffType;
    QComboBox* cmbFilterNation;
    QComboBox* cmbFilterClub;
    QSpinBox* seFilterBornFrom;
    QSpinBox* seFilterBornTo;
    QPushButton* btnClearFilters;
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
    void FillFilters();

    QString FoundText;
    TKordoSearch* Bound = nullptr;
    std::unique_ptr<TKordoSearch> Owned;            // the search taken over, if Bound is one
    TKordoPregameDatabase* FiltersOf = nullptr;     // the database the filters' lists were filled from
    std::vector<const TKordoNation*> NationChoices; // the nations and clubs after "Any ..."
    std::vector<const TKordoClub*> ClubChoices;
    bool Setting = false; // widgets being set: their changes run no search
    QGridLayout* Filters;
};

// Lays out an editor frame: the search panel on the left; on the right the pages with the buttons
// "Confirm Changes" and "Cancel Changes" below them, which are created here.
void KordoLayOutEditor(QWidget* frame, TKordoSearchPanel* panel, QTabWidget* pages, QPushButton*& confirm,
                       QPushButton*& cancel);
// Whether a newly focused row is one: the search remembers the row, and the pages and buttons are
// enabled exactly while a row is focused.
bool KordoFocusRow(TKordoSearchPanel* panel, int row, QWidget* pages, QPushButton* confirm,
                   QPushButton* cancel);
// The record of a newly focused row, or nullptr for none (see KordoFocusRow).
template <class TRecord>
TRecord* KordoFocusRecord(TKordoSearchPanel* panel, int row, QWidget* pages, QPushButton* confirm,
                          QPushButton* cancel) {
    return KordoFocusRow(panel, row, pages, confirm, cancel) ? panel->Search()->RowRecord<TRecord>(row)
                                                             : nullptr;
}
// Another row got the focus while an editor shows a record: `leave` sees to the record's edits. When
// the user stays, the focus goes back to the row it came from (with `restoring` set meanwhile, so that
// the editor ignores that change) and false is returned.
bool KordoLeaveRow(TKordoSearchPanel* panel, bool& restoring, const std::function<bool()>& leave);
