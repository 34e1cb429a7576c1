// The searches behind the editors' lists: they fill a list with every record of a table or with the
// records whose names contain a text, order the rows by display name, give each row's text and answer
// the list's type-ahead. The list itself is a view over the rows held here; rows cost nothing until
// their text is asked for.
//
// Texts are compared as Unicode throughout: containment after full Unicode upper-casing, order and
// type-ahead by the lists' case-insensitive collation (KordoCollator's locale, or English where that
// is the C locale, which has no collation of its own).
//
// A search object caches texts per shared name record, so it must not outlive the records loaded at
// its creation: make a new one whenever a database is bound.
#pragma once

#include "KordoFunctions.h"
#include "KordoPregameDatabase.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Names what a record's display name is made of, by the records that hold the texts: two records with
// equal keys have equal display names for as long as those records live.
struct TKordoDisplayKey {
    const void* First = nullptr;
    const void* Second = nullptr;
    bool operator==(const TKordoDisplayKey&) const = default;
};

// Compares two texts as the lists order them: by the case-insensitive collation; <0, 0 or >0.
int KordoCompareNames(std::u16string_view a, std::u16string_view b);

class TKordoSearch {
public:
    explicit TKordoSearch(TKordoPregameDatabase& database);
    virtual ~TKordoSearch();
    TKordoSearch(const TKordoSearch&) = delete;
    TKordoSearch& operator=(const TKordoSearch&) = delete;

    // Rows := the records whose names contain the text, ordered by display name. Reports "Searching",
    // the percentage after every record, then "Sorting Search Result". An empty text finds nothing.
    void Search(const std::u16string& text);
    // Rows := every record of the table, ordered by display name.
    void ShowAll();
    // One row for the record, focused; the results are emptied.
    void ShowSingle(void* record);
    // Appends a row for the record and focuses it; the results and the mode stay as they are.
    void AddRecord(void* record);
    void RemoveRow(int32_t row);
    // To be called when the display name of the row's record has changed, so that type-ahead sees the
    // new name (the row keeps its place until the next search).
    void RowChanged(int32_t row);

    // Does ahead of time what the first search or list of every record would do for each record
    // (collating the display names, caching what searching compares), so that the first one is as
    // quick as the next. Worth calling when a database has just been bound.
    void Prepare();

    // In show-all mode the size of the table, otherwise the number of records the last search found
    // (rows added or removed since do not count).
    int32_t Count() const;
    bool ShowingAll() const { return AllRecords; }

    int32_t RowCount() const { return static_cast<int32_t>(Rows.size()); }
    void* RowRecord(int32_t row) const { return Rows.at(static_cast<size_t>(row)); }
    // The row's display name as it is now, or the placeholder for an empty one.
    std::u16string RowText(int32_t row) const;
    // The first row carrying the record, or -1.
    int32_t RowOf(const void* record) const;
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

protected:
    virtual int32_t GetCount() const = 0;
    // Whether the record at the table index has a name containing upperText, which is already
    // upper-cased and not empty.
    virtual bool Matches(int32_t index, const std::u16string& upperText) = 0;
    virtual void* GetItem(int32_t index) const = 0;
    virtual std::u16string GetDisplayName(const void* record) const = 0;
    virtual std::u16string GetNoNameText() const { return KordoNoNameText; }
    // A key for the record's display name, for descendants whose display names are made only of
    // records that never change their text; such a descendant gives a key for every record, and each
    // name is then collated once for the life of the search. The default gives none, and names are
    // collated afresh on every sort.
    virtual bool GetDisplayKey(const void* record, TKordoDisplayKey& key) const;
    // Appends GetDisplayName(record); descendants may build it in place.
    virtual void AppendDisplayName(const void* record, std::u16string& out) const {
        out += GetDisplayName(record);
    }

    // Caches what Matches needs of every record; the default caches nothing.
    virtual void PrepareMatching() {}

    // Appends the full Unicode upper case of the text.
    static void AppendUpper(std::u16string& out, std::u16string_view text);
    static bool Contains(std::u16string_view upperName, std::u16string_view upperText) {
        return !upperText.empty() && upperName.find(upperText) != std::u16string_view::npos;
    }

    TKordoPregameDatabase& Database;

private:
    struct TState;
    // A row's display name now and when the rows were sorted, as entries of the name cache.
    struct TRowName {
        uint32_t Entry;
        uint32_t SortEntry;
    };

    void SetRows(std::vector<void*> records);
    void SortRows();
    std::vector<uint32_t> RankNames(const std::vector<void*>& records);
    std::vector<void*> TableRecords() const;
    bool Keyed(const void* record);
    uint32_t EntryOf(const void* record);
    void ReportStatus(const std::string& text) const;

    std::unique_ptr<TState> State;
    bool AllRecords = false;
    std::vector<void*> Results;
    std::vector<void*> Rows;
    std::vector<TRowName> RowNames;
    // Rows below SortedRows are in collation order of their names when sorted. Among them, those
    // whose names hold characters that may combine with their neighbours in collation, or whose names
    // changed since, in row order: type-ahead looks at each of them.
    size_t SortedRows = 0;
    std::vector<uint32_t> Irregular;
    int32_t Focused = -1;
};

// The people of the staff table, shown by StaffDisplayName and found by common name, or by first and
// second name joined with a blank.
class TKordoStaffSearch : public TKordoSearch {
public:
    explicit TKordoStaffSearch(TKordoPregameDatabase& database);
    ~TKordoStaffSearch() override;

protected:
    int32_t GetCount() const override;
    bool Matches(int32_t index, const std::u16string& upperText) override;
    void* GetItem(int32_t index) const override;
    std::u16string GetDisplayName(const void* record) const override;
    bool GetDisplayKey(const void* record, TKordoDisplayKey& key) const override;
    void AppendDisplayName(const void* record, std::u16string& out) const override;
    void PrepareMatching() override;

private:
    struct TUpperNames;
    uint32_t UpperName(const TKordoName* name);
    // Caches the upper-cased names of the person at the table index.
    void CacheUpper(int32_t index);

    std::unique_ptr<TUpperNames> UpperNames;
    std::u16string Built;
};

// The clubs, shown by ShortClubName and found by any of their four names; a club without squads is
// never found, though ShowAll lists it.
class TKordoClubSearch : public TKordoSearch {
public:
    explicit TKordoClubSearch(TKordoPregameDatabase& database) : TKordoSearch(database) {}

protected:
    int32_t GetCount() const override;
    bool Matches(int32_t index, const std::u16string& upperText) override;
    void* GetItem(int32_t index) const override;
    std::u16string GetDisplayName(const void* record) const override;

private:
    std::u16string Upper;
};
