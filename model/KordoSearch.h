// The searches behind the editors' lists: they fill a list with every record of a table or with the
// records whose names contain a text, combined with filters, order the rows by any column (by name
// unless told otherwise), give each row's cells and answer the list's type-ahead. The list itself is
// a view over the rows held here; rows cost nothing until their cells are asked for.
//
// Matching reads texts as the collation does at its first level: case and accents do not count
// ("adatriberg" finds "Ădatriberg"), and "ß" finds "ss" where the collation takes them alike
// (TKordoCollation::AppendFolded). Order and type-ahead follow the lists' case-insensitive collation.
//
// A search caches what it reads of the records and checks it against them where that matters: names
// changed or people added or removed since are seen by the next search. Changes to anything else of a
// record (the club, the nation, the birth date a filter looks at) must be reported with RowChanged or
// RecordChanged, or the next search that narrows the previous result may miss them.
//
// A search must not outlive the records loaded at its creation: make a new one whenever a database is
// bound.
#pragma once

#include "KordoCollationEngine.h"
#include "KordoFunctions.h"
#include "KordoPregameDatabase.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <type_traits>
#include <vector>

// What the text of a search is combined with. A filter left at its default lets every record pass.
struct TKordoSearchFilter {
    uint8_t StaffType = 0;                // people of this staff type (1..4); 0: any type
    const TKordoNation* Nation = nullptr; // people or clubs of this nation; nullptr: any
    const TKordoClub* Club = nullptr;     // people whose squad belongs to this club; nullptr: any
    int32_t BornFrom = 0;                 // people born in or after this year; 0: no bound
    int32_t BornTo = 0;                   // people born in or before this year; 0: no bound

    bool Empty() const { return *this == TKordoSearchFilter{}; }
    bool operator==(const TKordoSearchFilter&) const = default;
};

// A column of a search's rows: its heading, and whether it holds numbers (sorted by value, shown
// right-aligned) or texts (sorted by the collation).
struct TKordoSearchColumn {
    std::u16string Title;
    bool Numeric = false;
};

class TKordoSearch {
public:
    enum class TTable { Staff, Clubs };

    virtual ~TKordoSearch();
    TKordoSearch(const TKordoSearch&) = delete;
    TKordoSearch& operator=(const TKordoSearch&) = delete;

    // Rows := the records whose names contain the text and that pass the filter, in the sort order.
    // Reports "Searching", the percentage after every record looked at, then "Sorting Search Result".
    // An empty text finds nothing. A text that contains the previous search's text (as matching reads
    // both), under the same filter, looks only at the records that search found.
    void Search(const std::u16string& text);
    // Rows := every record of the table that passes the filter, in the sort order.
    void ShowAll();
    // What the editors' lists show for a text: everybody who passes the filter for an empty text,
    // the records found otherwise.
    void Find(const std::u16string& text);
    // One row for the record, focused; the results are emptied. Nothing for a record of another table.
    template <class TRecord> void ShowSingle(TRecord* record) {
        if (Holds<TRecord>() && record)
            ShowSingleRecord(record);
    }
    // Appends a row for the record and focuses it; the results and the mode stay as they are.
    template <class TRecord> void AddRecord(TRecord* record) {
        if (Holds<TRecord>() && record)
            AddRow(record);
    }
    void RemoveRow(int32_t row);
    // To be called when the row's record has changed (its name, or what a column or filter shows), so
    // that type-ahead sees the new name and the next search looks at every record again (the row
    // keeps its place until the next search).
    void RowChanged(int32_t row);
    // The same for a record, wherever it is listed or not.
    template <class TRecord> void RecordChanged(const TRecord* record) {
        if (Holds<TRecord>())
            ForgetNarrowing();
        if (int32_t row = RowOf(record); row >= 0)
            RowChanged(row);
    }

    // The filter of the next Search or ShowAll.
    void SetFilter(const TKordoSearchFilter& filter) { Filter = filter; }
    const TKordoSearchFilter& CurrentFilter() const { return Filter; }

    // The columns: the display name first, the matched name last (see RowMatchedName).
    int32_t ColumnCount() const { return static_cast<int32_t>(Columns.size()); }
    const TKordoSearchColumn& Column(int32_t column) const { return Columns.at(static_cast<size_t>(column)); }
    int32_t MatchedNameColumn() const { return ColumnCount() - 1; }
    // The cell's text as it is now; empty for a row or column out of range.
    std::u16string CellText(int32_t row, int32_t column) const;
    // Orders the rows by the column, ascending or descending, at once and in every later search.
    // Rows with equal cells keep the order of their display names (ascending either way); descending
    // by the name column reverses the whole order. The focused record stays focused. Returns the new
    // row of every old row.
    std::vector<int32_t> SortBy(int32_t column, bool descending);
    int32_t SortColumn() const { return SortedBy; }
    bool SortDescending() const { return Descending; }

    // The name that matched the last search's text when the row's display name does not show it:
    // a person's first and second name when he is shown by his common name, a club's full name or
    // nickname. Empty when the display name shows the match, or after ShowAll.
    std::u16string RowMatchedName(int32_t row) const;

    // Does ahead of time what the first search or list of every record would do for each record
    // (folding and ranking the names), so that the first one is as quick as the next. Worth calling
    // when a database has just been bound; nothing when done already for the table as it is.
    void Prepare();
    // Prepare, on a second thread; every other operation of the search waits for it first. It works
    // on the people and names the tables list when it starts, and records stay allocated, so adding
    // or removing people meanwhile is safe; nothing may change a person's names until it has finished.
    void PrepareInBackground();
    // Waits for a preparation on the second thread, if one runs.
    void Await() const;
    // Whether a preparation on the second thread is still at work (asking does not wait): a caller
    // with something better to do than waiting comes back later.
    bool StillPreparing() const { return PreparingNow.load(std::memory_order_acquire); }

    // After ShowAll and with no filter the size of the table, otherwise the number of records the last
    // search or list found (rows added or removed since do not count).
    int32_t Count() const;
    bool ShowingAll() const { return AllRecords; }

    int32_t RowCount() const { return static_cast<int32_t>(Rows.size()); }
    // The row's record; nullptr for a row out of range or records of another table.
    template <class TRecord> TRecord* RowRecord(int32_t row) const {
        return Holds<TRecord>() && row >= 0 && row < RowCount()
                   ? static_cast<TRecord*>(Rows[static_cast<size_t>(row)])
                   : nullptr;
    }
    // The first row carrying the record, or -1.
    template <class TRecord> int32_t RowOf(const TRecord* record) const {
        return Holds<TRecord>() && record ? RowOfRecord(record) : -1;
    }
    // The row's display name as it is now, or the placeholder for an empty one.
    std::u16string RowText(int32_t row) const;
    // The focused row is also the selected one; -1 for none.
    int32_t FocusedRow() const { return Focused; }
    void SetFocusedRow(int32_t row);

    // The first row, in row order, whose display name begins with the typed text: its first
    // typed.size() UTF-16 units compare equal to the typed text under the case-insensitive collation.
    // -1 when no row does. A row's name is taken as it was when the row was made or last reported
    // changed.
    int32_t FindTypeAhead(const std::u16string& typed) const;

    TKordoStatusEvent OnStatus;
    TKordoProgressEvent OnProgress;

    TTable Table() const { return Kind; }
    TKordoPregameDatabase& SearchedDatabase() const { return Database; }

protected:
    TKordoSearch(TKordoPregameDatabase& database, TTable table);
    // Descendants call it first in their destructors: a preparation may still read through them.
    void StopPreparing() { Await(); }

    virtual int32_t GetCount() const = 0;
    virtual void* GetItem(int32_t index) const = 0;
    virtual std::u16string GetDisplayName(const void* record) const = 0;
    virtual std::u16string GetNoNameText() const { return KordoNoNameText; }

    // Brings what the search keeps per record in line with the table's records (added or removed);
    // true when they changed since the last call.
    virtual bool Refresh() = 0;
    // Takes, on the thread that asks for a preparation, what PrepareRecords reads of the tables.
    virtual void TakeRecords() {}
    // Makes every record's display entry (see DisplayEntry) and whatever else makes searching quick,
    // from what Refresh and TakeRecords took; may run on a second thread. Returns the number of
    // records prepared.
    virtual int32_t PrepareRecords() = 0;
    // The table index of the record, or -1, as the table was at the last Refresh.
    virtual int32_t IndexOf(const void* record) = 0;
    // Appends to `found`, in ascending order, the table indices among `candidates` (every record when
    // null; ascending) whose names contain `folded`, a folded text that is not empty. `tick(i)` after
    // each of them, when set.
    virtual void Match(const std::u16string& folded, const std::vector<int32_t>* candidates,
                       std::vector<int32_t>& found, const std::function<void(size_t)>& tick) = 0;
    virtual bool Passes(const void* record, const TKordoSearchFilter& filter) const = 0;
    // The record's name that the display name does not show and that contains `folded`; empty for none.
    virtual std::u16string HiddenMatch(const void* record, const std::u16string& folded) const = 0;
    // The entry in Names of the display name of the record at the table index: with `check`, as the
    // record is now, made afresh when its name changed; without, as last made. A descendant that
    // makes an entry sets DisplayEntriesChanged.
    virtual uint32_t DisplayEntry(int32_t index, bool check) = 0;
    bool DisplayEntriesChanged = false;

    // The columns between the name and the matched name: their cells, and what orders them: for a
    // number column the number (INT64_MIN for an empty cell), for a text column a number that is
    // equal for records whose cells are equal (a pointer or a code), the texts deciding the order.
    virtual std::u16string DataCell(const void* record, int32_t column) const = 0;
    virtual int64_t DataKey(const void* record, int32_t column) const = 0;
    void SetDataColumns(const std::vector<TKordoSearchColumn>& columns);

    static void AppendFolded(std::u16string& out, std::u16string_view text) {
        TKordoCollation::AppendFolded(out, text);
    }
    static bool Contains(std::u16string_view folded, std::u16string_view text) {
        return !text.empty() && folded.find(text) != std::u16string_view::npos;
    }

    // Display names with their place in the collation order; entries that collate equal share a rank.
    class TDisplayNames;
    TDisplayNames& Names() const { return *NamesStore; }

    TKordoPregameDatabase& Database;

private:
    // Whether the rows are records of this type; only people and clubs are ever listed.
    template <class TRecord> bool Holds() const {
        using TPlain = std::remove_const_t<TRecord>;
        static_assert(std::is_same_v<TPlain, TKordoStaff> || std::is_same_v<TPlain, TKordoClub>,
                      "a search lists people or clubs");
        return Kind == (std::is_same_v<TPlain, TKordoStaff> ? TTable::Staff : TTable::Clubs);
    }
    // A row's display name now and when the rows were sorted, as entries of Names.
    struct TRowName {
        uint32_t Entry;
        uint32_t SortEntry;
    };

    void ShowSingleRecord(void* record);
    void AddRow(void* record);
    int32_t RowOfRecord(const void* record) const;
    void ForgetNarrowing() { Narrowable = false; }
    void ReportStatus(const std::string& text) const;
    void RefreshTable();
    uint32_t EntryOf(const void* record);
    std::vector<int32_t> Filtered(std::vector<int32_t> indices) const;
    // Rows := the records at the table indices, in the sort order.
    void SetRows(const std::vector<int32_t>& indices);
    void OrderRows(std::vector<int32_t>& indices);
    std::vector<int64_t> ColumnKeys(const std::vector<int32_t>& indices);
    void EnsureNameOrder();
    void BuildNameOrder(int32_t count);
    void RemapRowIndices();

    TTable Kind;
    std::vector<TKordoSearchColumn> Columns;
    std::unique_ptr<TDisplayNames> NamesStore;
    mutable std::thread Preparing;
    std::atomic<bool> PreparingNow{false};

    TKordoSearchFilter Filter;
    bool AllRecords = false;
    bool AllUnfiltered = false; // ShowAll ran without a filter
    int32_t ResultCount = 0;
    // What the last search found, for narrowing: its folded text, filter and table indices.
    bool Narrowable = false;
    std::u16string LastFolded;
    TKordoSearchFilter LastFilter;
    std::vector<int32_t> LastFound;
    // The folded text the rows were found by, for RowMatchedName; empty for none.
    std::u16string RowsFolded;

    int32_t SortedBy = 0;
    bool Descending = false;
    // Every table index in name order, and per place its record, display entry and whether that is
    // irregular (see Irregular); and whether it still holds.
    std::vector<int32_t> NameOrdered;
    std::vector<void*> OrderedRecords;
    std::vector<uint32_t> OrderedEntries;
    std::vector<uint8_t> OrderedIrregular;
    bool NameOrderValid = false;
    // Counts the changes of the table's records that Refresh saw; RowIndices belong to one of them.
    uint64_t TableGeneration = 0;
    uint64_t RowsGeneration = 0;
    uint64_t PreparedFor = std::numeric_limits<uint64_t>::max(); // the generation last prepared

    std::vector<void*> Rows;
    std::vector<int32_t> RowIndices; // each row's table index (-1: a record not in the table)
    std::vector<TRowName> RowNames;
    // Rows below SortedRows are in collation order of their names when sorted. Among them, those
    // whose names hold characters that may combine with their neighbours in collation, or whose names
    // changed since, in row order: type-ahead looks at each of them.
    size_t SortedRows = 0;
    std::vector<uint32_t> Irregular;
    int32_t Focused = -1;
};

// The people of the staff table, shown by StaffDisplayName and found by common name, or by first and
// second name joined with a blank. Columns: name, club (short name), nation, date of birth, staff
// type, club job, the current ability of the person's type, matched name.
class TKordoStaffSearch : public TKordoSearch {
public:
    explicit TKordoStaffSearch(TKordoPregameDatabase& database);
    ~TKordoStaffSearch() override;

    TKordoStaff* Staff(int32_t row) const { return RowRecord<TKordoStaff>(row); }

protected:
    int32_t GetCount() const override;
    void* GetItem(int32_t index) const override;
    std::u16string GetDisplayName(const void* record) const override;
    bool Refresh() override;
    void TakeRecords() override;
    int32_t PrepareRecords() override;
    int32_t IndexOf(const void* record) override;
    void Match(const std::u16string& folded, const std::vector<int32_t>* candidates,
               std::vector<int32_t>& found, const std::function<void(size_t)>& tick) override;
    bool Passes(const void* record, const TKordoSearchFilter& filter) const override;
    std::u16string HiddenMatch(const void* record, const std::u16string& folded) const override;
    uint32_t DisplayEntry(int32_t index, bool check) override;
    std::u16string DataCell(const void* record, int32_t column) const override;
    int64_t DataKey(const void* record, int32_t column) const override;

private:
    struct TCatalogue;
    uint32_t MakeDisplayEntry(const TKordoStaff& staff);
    std::unique_ptr<TCatalogue> Catalogue;
};

// The clubs, shown by ShortClubName and found by any of their four names; a club without squads is
// never found, though ShowAll lists it. Columns: short name, full name, nation, number of squads,
// matched name.
class TKordoClubSearch : public TKordoSearch {
public:
    explicit TKordoClubSearch(TKordoPregameDatabase& database);
    ~TKordoClubSearch() override;

    TKordoClub* Club(int32_t row) const { return RowRecord<TKordoClub>(row); }

protected:
    int32_t GetCount() const override;
    void* GetItem(int32_t index) const override;
    std::u16string GetDisplayName(const void* record) const override;
    bool Refresh() override { return false; }
    int32_t PrepareRecords() override;
    int32_t IndexOf(const void* record) override;
    void Match(const std::u16string& folded, const std::vector<int32_t>* candidates,
               std::vector<int32_t>& found, const std::function<void(size_t)>& tick) override;
    bool Passes(const void* record, const TKordoSearchFilter& filter) const override;
    std::u16string HiddenMatch(const void* record, const std::u16string& folded) const override;
    uint32_t DisplayEntry(int32_t index, bool check) override;
    std::u16string DataCell(const void* record, int32_t column) const override;
    int64_t DataKey(const void* record, int32_t column) const override;

private:
    // Per club: its display entry and the short name it was made from.
    std::vector<uint32_t> Entries;
    std::vector<std::u16string> EntryTexts;
};
