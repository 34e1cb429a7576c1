#include "KordoSearch.h"

#include "KordoFunctions.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <limits>
#include <unordered_map>

namespace {

constexpr uint32_t NoEntry = std::numeric_limits<uint32_t>::max();
constexpr uint32_t Unranked = std::numeric_limits<uint32_t>::max();

// Open addressing from keys to the numbers 0, 1, 2... in the order the keys were first seen.
template <class Key, class Hash> class TIndexMap {
public:
    // The key's number and false, or for a new key the next number and true.
    std::pair<uint32_t, bool> Insert(const Key& key) {
        if ((Size + 1) * 2 > Slots.size())
            Grow(Slots.size() * 2);
        size_t mask = Slots.size() - 1;
        size_t i = Hash()(key) & mask;
        for (;; i = (i + 1) & mask) {
            TSlot& slot = Slots[i];
            if (slot.Index == NoEntry) {
                slot = {key, Size};
                return {Size++, true};
            }
            if (slot.Stored == key)
                return {slot.Index, false};
        }
    }
    // The key's number, or NoEntry.
    uint32_t Find(const Key& key) const {
        if (Slots.empty())
            return NoEntry;
        size_t mask = Slots.size() - 1;
        for (size_t i = Hash()(key) & mask;; i = (i + 1) & mask) {
            const TSlot& slot = Slots[i];
            if (slot.Index == NoEntry || slot.Stored == key)
                return slot.Index;
        }
    }
    void Reserve(size_t count) {
        if (count * 2 > Slots.size())
            Grow(count * 2);
    }
    void Clear() {
        Slots.clear();
        Size = 0;
    }

private:
    struct TSlot {
        Key Stored{};
        uint32_t Index = NoEntry;
    };
    void Grow(size_t least) {
        size_t size = 64;
        while (size < least)
            size *= 2;
        std::vector<TSlot> old = std::move(Slots);
        Slots.assign(size, TSlot{});
        size_t mask = Slots.size() - 1;
        for (const TSlot& slot : old) {
            if (slot.Index == NoEntry)
                continue;
            size_t i = Hash{}(slot.Stored) & mask;
            while (Slots[i].Index != NoEntry)
                i = (i + 1) & mask;
            Slots[i] = slot;
        }
    }
    std::vector<TSlot> Slots;
    uint32_t Size = 0;
};

struct TPointerHash {
    size_t operator()(const void* pointer) const {
        uint64_t value = reinterpret_cast<uintptr_t>(pointer) * 0x9E3779B97F4A7C15ull;
        return static_cast<size_t>(value ^ (value >> 29));
    }
};

std::u16string Folded(std::u16string_view text) {
    std::u16string folded;
    TKordoCollation::AppendFolded(folded, text);
    return folded;
}

} // namespace

// Display names with their place in the collation order. Entries are only added; entries that collate
// equal share one rank.
class TKordoSearch::TDisplayNames {
public:
    struct TEntry {
        uint32_t Start = 0, Length = 0;
        uint32_t Rank = Unranked;
        bool Regular = false;
    };
    // Entries with their texts, numbered from 0.
    struct TBatch {
        std::vector<TEntry> Entries;
        std::u16string Texts;
    };

    std::u16string_view Text(uint32_t entry) const {
        return std::u16string_view(All.Texts).substr(All.Entries[entry].Start, All.Entries[entry].Length);
    }
    // A new entry of `batch`; appendText appends its text to the string it is given. Reads nothing
    // but the collation's fixed tables, so another thread may fill a batch of its own meanwhile.
    template <class AppendText> uint32_t AddTo(TBatch& batch, AppendText&& appendText) const {
        size_t start = batch.Texts.size();
        appendText(batch.Texts);
        std::u16string_view text = std::u16string_view(batch.Texts).substr(start);
        batch.Entries.push_back({static_cast<uint32_t>(start), static_cast<uint32_t>(text.size()), Unranked,
                                 Collation.Regular(text)});
        return static_cast<uint32_t>(batch.Entries.size() - 1);
    }
    template <class AppendText> uint32_t Add(AppendText&& appendText) {
        uint32_t entry = AddTo(All, std::forward<AppendText>(appendText));
        Fresh.push_back(entry);
        return entry;
    }
    // Adds a batch's entries in their order; answers the number the batch's first entry now has.
    uint32_t AddBatch(const TBatch& batch) {
        const auto first = static_cast<uint32_t>(All.Entries.size());
        const auto shift = static_cast<uint32_t>(All.Texts.size());
        All.Texts += batch.Texts;
        All.Entries.reserve(All.Entries.size() + batch.Entries.size());
        for (TEntry entry : batch.Entries) {
            entry.Start += shift;
            Fresh.push_back(static_cast<uint32_t>(All.Entries.size()));
            All.Entries.push_back(entry);
        }
        return first;
    }
    void Reserve(size_t count, size_t length) {
        All.Entries.reserve(All.Entries.size() + count);
        All.Texts.reserve(All.Texts.size() + count * length);
    }
    const TEntry& operator[](uint32_t entry) const { return All.Entries[entry]; }

    // Ranks the entries added since the last call: sorted among themselves, merged into those ranked
    // before, and every rank renumbered.
    void RankFresh() {
        if (Fresh.empty())
            return;
        TKordoSorted sorted = Collation.Sort(Fresh, [&](uint32_t entry) { return Text(entry); });
        Fresh.clear();
        Ordered = KordoMergeSorted(
            Ordered, sorted, [&](uint32_t a, uint32_t b) { return Collation.Compare(Text(a), Text(b)); });
        uint32_t rank = 0;
        for (size_t i = 0; i < Ordered.Size(); ++i) {
            if (i > 0 && !Ordered.Same[i])
                ++rank;
            All.Entries[Ordered.Entries[i]].Rank = rank;
        }
        RankCount = Ordered.Size() ? rank + 1 : 0;
    }
    uint32_t Ranks() const { return RankCount; }

    // The lists' collation, a collator of its own: preparing may run on a second thread.
    TKordoCollation Collation;

private:
    TBatch All;
    std::vector<uint32_t> Fresh;
    TKordoSorted Ordered; // the ranked entries
    uint32_t RankCount = 0;
};

TKordoSearch::TKordoSearch(TKordoPregameDatabase& database, TTable table)
    : Database(database), Kind(table), NamesStore(new TDisplayNames) {}

TKordoSearch::~TKordoSearch() {
    Await();
}

void TKordoSearch::SetDataColumns(const std::vector<TKordoSearchColumn>& columns) {
    Columns.clear();
    Columns.push_back({Kind == TTable::Staff ? u"Name" : u"Short Name", false});
    Columns.insert(Columns.end(), columns.begin(), columns.end());
    Columns.push_back({u"Matched Name", false});
}

void TKordoSearch::Await() const {
    if (Preparing.joinable())
        Preparing.join();
}

void TKordoSearch::ReportStatus(const std::string& text) const {
    if (OnStatus)
        OnStatus(text);
}

void TKordoSearch::RefreshTable() {
    if (Refresh()) {
        ++TableGeneration;
        Narrowable = false;
        NameOrderValid = false;
    }
}

// A search prepared for the table as it is now is not prepared again.
void TKordoSearch::Prepare() {
    Await();
    RefreshTable();
    if (PreparedFor == TableGeneration)
        return;
    PreparedFor = TableGeneration;
    TakeRecords();
    BuildNameOrder(PrepareRecords());
}

void TKordoSearch::PrepareInBackground() {
    // One that runs, or ran and nobody waited for, covers the table as it is: nothing could change
    // what this search saw of it without waiting.
    if (Preparing.joinable())
        return;
    RefreshTable();
    if (PreparedFor == TableGeneration)
        return;
    PreparedFor = TableGeneration;
    TakeRecords();
    PreparingNow.store(true, std::memory_order_release);
    Preparing = std::thread([this] {
        BuildNameOrder(PrepareRecords());
        PreparingNow.store(false, std::memory_order_release);
    });
}

void TKordoSearch::Search(const std::u16string& text) {
    Await();
    ReportStatus("Searching");
    AllRecords = false;
    Rows.clear();
    RowNames.clear();
    Irregular.clear();
    SortedRows = 0;
    Focused = -1;
    RefreshTable();
    // The text is taken as it is, blanks included.
    std::u16string folded = Folded(text);
    const int32_t count = GetCount();
    std::vector<int32_t> found;
    if (folded.empty()) {
        // Nothing can contain it, and every record is still looked at.
        if (OnProgress)
            for (int32_t i = 0; i < count; ++i)
                OnProgress(KordoPercentage(count, i));
    } else {
        // Narrowing pays while the previous result is a small part of the table: reading most of the
        // table in order is quicker than reading most of it here and there.
        const bool narrow = Narrowable && Filter == LastFilter &&
                            folded.find(LastFolded) != std::u16string::npos &&
                            LastFound.size() * 2 <= static_cast<size_t>(count);
        const size_t total = narrow ? LastFound.size() : static_cast<size_t>(count);
        std::function<void(size_t)> tick;
        if (OnProgress)
            tick = [&](size_t i) {
                OnProgress(KordoPercentage(static_cast<int64_t>(total), static_cast<int64_t>(i)));
            };
        Match(folded, narrow ? &LastFound : nullptr, found, tick);
        found = Filtered(std::move(found));
    }
    LastFolded = folded;
    LastFilter = Filter;
    LastFound = found;
    Narrowable = !folded.empty();
    RowsFolded = folded;
    ResultCount = static_cast<int32_t>(found.size());
    ReportStatus("Sorting Search Result");
    SetRows(found);
}

void TKordoSearch::ShowAll() {
    Await();
    ReportStatus("Sorting Search Result");
    RefreshTable();
    AllRecords = true;
    AllUnfiltered = Filter.Empty();
    Narrowable = false;
    RowsFolded.clear();
    std::vector<int32_t> all(static_cast<size_t>(std::max(GetCount(), 0)));
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<int32_t>(i);
    // Names changed since are seen: every record's display name is checked.
    for (int32_t index : all)
        DisplayEntry(index, true);
    all = Filtered(std::move(all));
    ResultCount = static_cast<int32_t>(all.size());
    SetRows(all);
}

void TKordoSearch::Find(const std::u16string& text) {
    if (text.empty())
        ShowAll();
    else
        Search(text);
}

std::vector<int32_t> TKordoSearch::Filtered(std::vector<int32_t> indices) const {
    if (Filter.Empty())
        return indices;
    std::erase_if(indices, [&](int32_t index) { return !Passes(GetItem(index), Filter); });
    return indices;
}

int32_t TKordoSearch::Count() const {
    return AllRecords && AllUnfiltered ? GetCount() : ResultCount;
}

void TKordoSearch::SetRows(const std::vector<int32_t>& indices) {
    Rows.clear();
    RowIndices.clear();
    RowNames.clear();
    Irregular.clear();
    Focused = -1;
    RowsGeneration = TableGeneration;
    const size_t count = indices.size(), all = static_cast<size_t>(std::max(GetCount(), 0));
    const bool byName = SortedBy == 0, inNameOrder = byName && !Descending;
    Rows.reserve(count);
    RowIndices.reserve(count);
    RowNames.reserve(count);
    auto push = [&](int32_t index, void* record, uint32_t entry, bool irregular) {
        if (inNameOrder && irregular)
            Irregular.push_back(static_cast<uint32_t>(Rows.size()));
        Rows.push_back(record);
        RowIndices.push_back(index);
        RowNames.push_back({entry, entry});
    };
    if (byName && count > 0 && count * 8 >= all) {
        // Many rows: the table's name order, keeping the rows' records, read place by place.
        EnsureNameOrder();
        std::vector<uint8_t> wanted(all, 0);
        for (int32_t index : indices)
            wanted[static_cast<size_t>(index)] = 1;
        auto take = [&](size_t place) {
            if (wanted[static_cast<size_t>(NameOrdered[place])])
                push(NameOrdered[place], OrderedRecords[place], OrderedEntries[place],
                     OrderedIrregular[place] != 0);
        };
        if (Descending)
            for (size_t place = all; place-- > 0;)
                take(place);
        else
            for (size_t place = 0; place < all; ++place)
                take(place);
    } else {
        std::vector<int32_t> ordered = indices;
        OrderRows(ordered);
        for (int32_t index : ordered) {
            uint32_t entry = DisplayEntry(index, false);
            push(index, GetItem(index), entry, !Names()[entry].Regular);
        }
    }
    SortedRows = inNameOrder ? Rows.size() : 0;
}

void TKordoSearch::EnsureNameOrder() {
    const int32_t count = std::max(GetCount(), 0);
    if (!NameOrderValid || DisplayEntriesChanged || NameOrdered.size() != static_cast<size_t>(count))
        BuildNameOrder(count);
}

// Every table index in name order, ties in table order, by the display entries as last made: counted
// out by rank. Each place keeps its record and entry, so that rows in name order are read in order.
void TKordoSearch::BuildNameOrder(int32_t count) {
    const auto all = static_cast<size_t>(count);
    std::vector<uint32_t> entries(all);
    for (size_t i = 0; i < all; ++i)
        entries[i] = DisplayEntry(static_cast<int32_t>(i), false);
    DisplayEntriesChanged = false;
    TDisplayNames& names = Names();
    names.RankFresh();
    std::vector<uint32_t> starts(names.Ranks() + 1, 0);
    for (uint32_t entry : entries)
        ++starts[names[entry].Rank + 1];
    for (size_t rank = 1; rank < starts.size(); ++rank)
        starts[rank] += starts[rank - 1];
    NameOrdered.assign(all, 0);
    for (size_t i = 0; i < all; ++i)
        NameOrdered[starts[names[entries[i]].Rank]++] = static_cast<int32_t>(i);
    OrderedRecords.resize(all);
    OrderedEntries.resize(all);
    OrderedIrregular.resize(all);
    for (size_t place = 0; place < all; ++place) {
        const int32_t index = NameOrdered[place];
        const uint32_t entry = entries[static_cast<size_t>(index)];
        OrderedRecords[place] = GetItem(index);
        OrderedEntries[place] = entry;
        OrderedIrregular[place] = !names[entry].Regular;
    }
    NameOrderValid = true;
}

// The indices in the sort order: by display name, ties in table order; or by a column, ties by name
// and then in table order.
void TKordoSearch::OrderRows(std::vector<int32_t>& indices) {
    const size_t count = indices.size();
    std::vector<uint32_t> entries(count);
    for (size_t i = 0; i < count; ++i)
        entries[i] = DisplayEntry(indices[i], false);
    Names().RankFresh();
    // Sorted by two numbers: the column's key (with the sign bit flipped, so that it sorts as unsigned;
    // inverted for descending), then the name's rank and the table index.
    struct TKey {
        uint64_t Column;
        uint64_t Name;
        bool operator<(const TKey& other) const {
            return Column != other.Column ? Column < other.Column : Name < other.Name;
        }
    };
    std::vector<TKey> keys(count);
    for (size_t i = 0; i < count; ++i)
        keys[i].Name = uint64_t{Names()[entries[i]].Rank} << 32 | static_cast<uint32_t>(indices[i]);
    if (SortedBy != 0) {
        std::vector<int64_t> values = ColumnKeys(indices);
        for (size_t i = 0; i < count; ++i) {
            uint64_t key = static_cast<uint64_t>(values[i]) ^ (uint64_t{1} << 63);
            keys[i].Column = Descending ? ~key : key;
        }
    }
    std::sort(keys.begin(), keys.end());
    for (size_t i = 0; i < count; ++i)
        indices[i] = static_cast<int32_t>(static_cast<uint32_t>(keys[i].Name));
    if (SortedBy == 0 && Descending)
        std::reverse(indices.begin(), indices.end());
}

// What orders the records at the indices by the sort column: numbers by value, texts by the rank of
// each text among the records' texts.
std::vector<int64_t> TKordoSearch::ColumnKeys(const std::vector<int32_t>& indices) {
    const size_t count = indices.size();
    std::vector<int64_t> keys(count);
    if (Columns[static_cast<size_t>(SortedBy)].Numeric) {
        for (size_t i = 0; i < count; ++i)
            keys[i] = DataKey(GetItem(indices[i]), SortedBy - 1);
        return keys;
    }
    const bool matched = SortedBy == MatchedNameColumn();
    std::unordered_map<int64_t, uint32_t> groups;
    std::unordered_map<std::u16string, uint32_t> textGroups;
    std::vector<std::u16string> texts;
    std::vector<uint32_t> group(count);
    for (size_t i = 0; i < count; ++i) {
        const void* record = GetItem(indices[i]);
        if (matched) {
            std::u16string text = HiddenMatch(record, RowsFolded);
            auto [at, added] = textGroups.try_emplace(text, static_cast<uint32_t>(texts.size()));
            if (added)
                texts.push_back(std::move(text));
            group[i] = at->second;
            continue;
        }
        auto [at, added] =
            groups.try_emplace(DataKey(record, SortedBy - 1), static_cast<uint32_t>(texts.size()));
        if (added)
            texts.push_back(DataCell(record, SortedBy - 1));
        group[i] = at->second;
    }
    std::vector<uint32_t> distinct(texts.size());
    for (uint32_t i = 0; i < distinct.size(); ++i)
        distinct[i] = i;
    TKordoSorted sorted =
        Names().Collation.Sort(distinct, [&](uint32_t text) { return std::u16string_view(texts[text]); });
    std::vector<int64_t> rankOf(texts.size());
    int64_t rank = 0;
    for (size_t i = 0; i < sorted.Size(); ++i) {
        if (i > 0 && !sorted.Same[i])
            ++rank;
        rankOf[sorted.Entries[i]] = rank;
    }
    for (size_t i = 0; i < count; ++i)
        keys[i] = rankOf[group[i]];
    return keys;
}

void TKordoSearch::RemapRowIndices() {
    if (RowsGeneration == TableGeneration)
        return;
    for (size_t row = 0; row < Rows.size(); ++row)
        RowIndices[row] = IndexOf(Rows[row]);
    RowsGeneration = TableGeneration;
}

std::vector<int32_t> TKordoSearch::SortBy(int32_t column, bool descending) {
    Await();
    std::vector<int32_t> moved(Rows.size(), -1);
    if (column < 0 || column >= ColumnCount())
        return moved;
    SortedBy = column;
    Descending = descending;
    RefreshTable();
    RemapRowIndices();
    // The rows keep their records (each once), the focused one its focus; rows whose record left the
    // table go last.
    const std::vector<int32_t> before = RowIndices;
    const std::vector<void*> beforeRecords = Rows;
    const int32_t focused = Focused;
    std::vector<uint8_t> listed(static_cast<size_t>(std::max(GetCount(), 0)), 0);
    std::vector<int32_t> indices;
    std::vector<void*> gone;
    for (size_t row = 0; row < before.size(); ++row) {
        const int32_t index = before[row];
        if (index < 0) {
            gone.push_back(beforeRecords[row]);
        } else if (!listed[static_cast<size_t>(index)]) {
            listed[static_cast<size_t>(index)] = 1;
            DisplayEntry(index, true);
            indices.push_back(index);
        }
    }
    SetRows(indices);
    for (void* record : gone)
        AddRow(record);
    std::vector<int32_t> rowOf(listed.size(), -1);
    for (size_t row = 0; row < indices.size(); ++row)
        rowOf[static_cast<size_t>(RowIndices[row])] = static_cast<int32_t>(row);
    for (size_t row = 0; row < before.size(); ++row)
        moved[row] =
            before[row] >= 0 ? rowOf[static_cast<size_t>(before[row])] : RowOfRecord(beforeRecords[row]);
    Focused = focused >= 0 ? moved[static_cast<size_t>(focused)] : -1;
    return moved;
}

void TKordoSearch::ShowSingleRecord(void* record) {
    Await();
    ResultCount = 0;
    AllRecords = false;
    Narrowable = false;
    RowsFolded.clear();
    Rows.clear();
    RowIndices.clear();
    RowNames.clear();
    Irregular.clear();
    AddRow(record);
    SortedRows = 1;
    if (!Names()[RowNames[0].Entry].Regular)
        Irregular.push_back(0);
}

void TKordoSearch::AddRow(void* record) {
    Await();
    RefreshTable();
    RemapRowIndices();
    uint32_t entry = EntryOf(record);
    Rows.push_back(record);
    RowIndices.push_back(IndexOf(record));
    RowNames.push_back({entry, entry});
    Focused = RowCount() - 1;
}

uint32_t TKordoSearch::EntryOf(const void* record) {
    RefreshTable();
    int32_t index = IndexOf(record);
    if (index >= 0)
        return DisplayEntry(index, true);
    return Names().Add([&](std::u16string& out) { out += GetDisplayName(record); });
}

void TKordoSearch::RemoveRow(int32_t row) {
    if (row < 0 || row >= RowCount())
        return;
    Rows.erase(Rows.begin() + row);
    RowIndices.erase(RowIndices.begin() + row);
    RowNames.erase(RowNames.begin() + row);
    if (static_cast<size_t>(row) < SortedRows)
        --SortedRows;
    Irregular.erase(std::remove(Irregular.begin(), Irregular.end(), static_cast<uint32_t>(row)),
                    Irregular.end());
    for (uint32_t& irregular : Irregular)
        if (irregular > static_cast<uint32_t>(row))
            --irregular;
    if (Focused == row)
        Focused = -1;
    else if (Focused > row)
        --Focused;
}

void TKordoSearch::RowChanged(int32_t row) {
    Await();
    Narrowable = false;
    if (row < 0 || row >= RowCount())
        return;
    // The row keeps its place, which no longer tells anything about its name.
    RowNames[static_cast<size_t>(row)].Entry = EntryOf(Rows[static_cast<size_t>(row)]);
    auto at = std::lower_bound(Irregular.begin(), Irregular.end(), static_cast<uint32_t>(row));
    if (static_cast<size_t>(row) < SortedRows && (at == Irregular.end() || *at != static_cast<uint32_t>(row)))
        Irregular.insert(at, static_cast<uint32_t>(row));
}

std::u16string TKordoSearch::RowText(int32_t row) const {
    if (row < 0 || row >= RowCount())
        return {};
    std::u16string text = GetDisplayName(Rows[static_cast<size_t>(row)]);
    return text.empty() ? GetNoNameText() : text;
}

std::u16string TKordoSearch::RowMatchedName(int32_t row) const {
    if (row < 0 || row >= RowCount() || RowsFolded.empty())
        return {};
    return HiddenMatch(Rows[static_cast<size_t>(row)], RowsFolded);
}

std::u16string TKordoSearch::CellText(int32_t row, int32_t column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount())
        return {};
    if (column == 0)
        return RowText(row);
    if (column == MatchedNameColumn())
        return RowMatchedName(row);
    return DataCell(Rows[static_cast<size_t>(row)], column - 1);
}

int32_t TKordoSearch::RowOfRecord(const void* record) const {
    auto found = std::find(Rows.begin(), Rows.end(), record);
    return found == Rows.end() ? -1 : static_cast<int32_t>(found - Rows.begin());
}

void TKordoSearch::SetFocusedRow(int32_t row) {
    Focused = row >= 0 && row < RowCount() ? row : -1;
}

// The first row that matches by the rule, found without trying every row: the sorted rows are in
// collation order, and a regular name that begins with the typed text collates between it and the
// typed text followed by U+FFFF, the highest weight there is. Outside that range only the irregular
// rows and those added after sorting can match (all rows, when the rows are not in name order).
int32_t TKordoSearch::FindTypeAhead(const std::u16string& typed) const {
    Await();
    const TDisplayNames& names = Names();
    const TKordoCollation& collation = names.Collation;
    bool typedLetters = KordoAllAsciiLetters(typed);
    std::u16string previous;
    bool checkedOne = false;
    auto matches = [&](size_t row) {
        std::u16string_view prefix = names.Text(RowNames[row].Entry).substr(0, typed.size());
        // Rows share prefixes in long runs; a prefix that just failed fails again.
        if (checkedOne && prefix == previous)
            return false;
        if (collation.Equal(prefix, typed, typedLetters))
            return true;
        previous.assign(prefix);
        checkedOne = true;
        return false;
    };
    auto firstNotBelow = [&](size_t from, std::u16string_view bound) {
        size_t low = from, high = SortedRows;
        while (low < high) {
            size_t middle = low + (high - low) / 2;
            if (collation.Compare(names.Text(RowNames[middle].SortEntry), bound) < 0)
                low = middle + 1;
            else
                high = middle;
        }
        return low;
    };
    size_t first = firstNotBelow(0, typed);
    size_t end = firstNotBelow(first, typed + u'\uFFFF');
    size_t best = RowNames.size();
    for (size_t row = first; row < end; ++row)
        if (matches(row)) {
            best = row;
            break;
        }
    for (uint32_t row : Irregular) {
        if (row >= best)
            break;
        if (matches(row))
            best = row;
    }
    for (size_t row = SortedRows; row < best; ++row)
        if (matches(row)) {
            best = row;
            break;
        }
    return best < RowNames.size() ? static_cast<int32_t>(best) : -1;
}

// People.

namespace {

enum TStaffColumn : int32_t { ClubColumn, NationColumn, BornColumn, TypeColumn, JobColumn, AbilityColumn };

// Key of the club column for a person in a squad whose club did not resolve.
constexpr int64_t UnresolvedClub = 1;

const TKordoClub* ClubOf(const TKordoStaff& staff) {
    return staff.ClubSquad ? staff.ClubSquad->OwnerClub : nullptr;
}

// The current ability that goes with the person's type; none for a type without one.
std::optional<int32_t> AbilityOf(const TKordoStaff& staff) {
    switch (staff.StaffType()) {
    case KordoStaffNonPlayer:
        return staff.NonPlayerCurrentAbility();
    case KordoStaffPlayer:
    case KordoStaffPlayerNonPlayer:
        return staff.CurrentAbility();
    case KordoStaffReferee:
        return staff.RefereeCurrentAbility();
    default:
        return std::nullopt;
    }
}

std::u16string Ascii(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

// The person's display name (StaffDisplayName), appended to `out`.
void AppendDisplayName(std::u16string& out, const TKordoStaff& staff) {
    if (staff.CommonName) {
        out += staff.CommonName->Name;
        return;
    }
    size_t start = out.size();
    if (staff.SecondName)
        out += staff.SecondName->Name;
    if (staff.FirstName) {
        if (out.size() > start)
            out += u", ";
        out += staff.FirstName->Name;
    }
}

} // namespace

// What the people's search keeps: each name folded once, and per person the names he had when last
// looked at, with their places among the folded names and the entry of his display name.
struct TKordoStaffSearch::TCatalogue {
    // Slot 0 stands for a name a person does not have: empty, it contains no text.
    static constexpr uint32_t NoName = 0;

    struct TName {
        uint32_t Start = 0, Length = 0; // the folded text
        const TKordoName* Record = nullptr;
    };
    // From name to slot; made when first asked, as preparing finds most names by their rows.
    TIndexMap<const TKordoName*, TPointerHash> NameIndex;
    bool NameIndexMade = false;
    std::vector<TName> NameSlots{TName{}};
    std::u16string FoldedTexts;

    struct TPerson {
        std::array<const TKordoName*, 3> Names{}; // first, second, common
        std::array<uint32_t, 3> Slots{NoName, NoName, NoName};
        uint32_t Entry = NoEntry;
    };
    // The table's people as last taken, and by the same index what is known of each.
    std::vector<TKordoStaff*> Taken;
    std::vector<TPerson> People;
    TIndexMap<const TKordoStaff*, TPointerHash> PersonIndex;
    bool PersonIndexValid = false;
    // The name tables' lists as last taken, for preparing.
    std::array<std::vector<TKordoName*>, 3> TakenNames;

    // Per search: which names contain the text (and the list of them), and with the text split at
    // each of its blanks (up to 64), which names end with the part before (bit b of EndsWith) and
    // begin with the part after (StartsWith).
    std::u16string Text;
    std::vector<uint32_t> Blanks;
    std::vector<uint8_t> Contains;
    std::vector<uint32_t> Containing;
    std::vector<uint64_t> EndsWith, StartsWith;
    size_t Scanned = 0;

    std::u16string_view FoldedName(uint32_t slot) const {
        return std::u16string_view(FoldedTexts).substr(NameSlots[slot].Start, NameSlots[slot].Length);
    }
    TName Folded(const TKordoName* name) {
        TName slot{static_cast<uint32_t>(FoldedTexts.size()), 0, name};
        TKordoCollation::AppendFolded(FoldedTexts, name->Name);
        slot.Length = static_cast<uint32_t>(FoldedTexts.size() - slot.Start);
        return slot;
    }
    // The slot of a name, numbered from 1 in the order names are first seen.
    uint32_t SlotOf(const TKordoName* name) {
        if (!name)
            return NoName;
        if (!NameIndexMade) {
            NameIndex.Reserve(NameSlots.size());
            for (size_t slot = 1; slot < NameSlots.size(); ++slot)
                NameIndex.Insert(NameSlots[slot].Record);
            NameIndexMade = true;
        }
        auto [number, added] = NameIndex.Insert(name);
        if (added)
            NameSlots.push_back(Folded(name));
        return number + 1;
    }

    // The text split for matching: its blanks, and for every name known what it holds of the text.
    // A text that contains the previous one can only be contained by names that held the previous.
    void Start(const std::u16string& folded) {
        const bool narrower = !Text.empty() && folded.find(Text) != std::u16string::npos;
        Text = folded;
        Blanks.clear();
        for (size_t i = 0; i < folded.size(); ++i)
            if (folded[i] == u' ')
                Blanks.push_back(static_cast<uint32_t>(i));
        EndsWith.clear();
        StartsWith.clear();
        std::u16string_view text(Text);
        if (narrower) {
            std::vector<uint32_t> before = std::move(Containing);
            Containing.clear();
            for (uint32_t slot : before) {
                const bool contains = FoldedName(slot).find(text) != std::u16string_view::npos;
                Contains[slot] = contains;
                if (contains)
                    Containing.push_back(slot);
            }
            ScanSplits(0);
            ScanNew();
            return;
        }
        Contains.assign(Scanned, 0);
        Containing.clear();
        Scanned = 0;
        ScanNew();
    }
    bool FewBlanks() const { return Blanks.size() <= 64; }
    bool Split() const { return !Blanks.empty() && FewBlanks(); }
    // What the names from `from` on hold of the text's parts around its blanks.
    void ScanSplits(size_t from) {
        if (!Split())
            return;
        const size_t count = NameSlots.size();
        EndsWith.resize(count);
        StartsWith.resize(count);
        std::u16string_view text(Text);
        for (size_t slot = from; slot < count; ++slot) {
            std::u16string_view name = FoldedName(static_cast<uint32_t>(slot));
            uint64_t ends = 0, starts = 0;
            for (size_t b = 0; b < Blanks.size(); ++b) {
                if (name.ends_with(text.substr(0, Blanks[b])))
                    ends |= uint64_t{1} << b;
                if (name.starts_with(text.substr(Blanks[b] + 1)))
                    starts |= uint64_t{1} << b;
            }
            EndsWith[slot] = ends;
            StartsWith[slot] = starts;
        }
    }
    // The names added since the last scan.
    void ScanNew() {
        const size_t count = NameSlots.size();
        if (Scanned == count)
            return;
        Contains.resize(count);
        std::u16string_view text(Text);
        for (size_t slot = Scanned; slot < count; ++slot) {
            const bool contains =
                FoldedName(static_cast<uint32_t>(slot)).find(text) != std::u16string_view::npos;
            Contains[slot] = contains;
            if (contains)
                Containing.push_back(static_cast<uint32_t>(slot));
        }
        if (EndsWith.size() < count)
            ScanSplits(EndsWith.size() == 0 ? 0 : EndsWith.size());
        Scanned = count;
    }

    // The common name, then first and second name joined by a blank, the blank kept when there is no
    // first name, so " smith" finds a person known only as Smith. The display form "Smith, John" is
    // not searched.
    template <bool Split> bool Matches(const TPerson& person) const {
        const uint32_t first = person.Slots[0], second = person.Slots[1], common = person.Slots[2];
        const bool inNames = (Contains[common] | Contains[first]) != 0;
        if (second == NoName)
            return inNames;
        // Across the blank between the names: the part before one of the text's blanks ends the first
        // name (the empty one too) and the part after it begins the second.
        if constexpr (Split)
            return inNames || Contains[second] || (EndsWith[first] & StartsWith[second]) != 0;
        return inNames || Contains[second];
    }
    bool MatchesBuilt(const TPerson& person) const {
        if (Contains[person.Slots[2]] || Contains[person.Slots[0]])
            return true;
        if (person.Slots[1] == NoName)
            return false;
        std::u16string built(FoldedName(person.Slots[0]));
        built += u' ';
        built += FoldedName(person.Slots[1]);
        return built.find(Text) != std::u16string::npos;
    }
};

TKordoStaffSearch::TKordoStaffSearch(TKordoPregameDatabase& database)
    : TKordoSearch(database, TTable::Staff), Catalogue(new TCatalogue) {
    SetDataColumns({{u"Club", false},
                    {u"Nation", false},
                    {u"Born", true},
                    {u"Type", false},
                    {u"Job", false},
                    {u"Ability", true}});
}

TKordoStaffSearch::~TKordoStaffSearch() {
    StopPreparing();
}

int32_t TKordoStaffSearch::GetCount() const {
    return Database.Staffs.Count();
}

// The people as last taken, which every operation first brings in line with the table: a preparation
// on a second thread reads them while the table may grow.
void* TKordoStaffSearch::GetItem(int32_t index) const {
    return Catalogue->Taken[static_cast<size_t>(index)];
}

std::u16string TKordoStaffSearch::GetDisplayName(const void* record) const {
    return StaffDisplayName(*static_cast<const TKordoStaff*>(record));
}

// The people as they are in the table now. Added people are appended; after a removal everything
// known is carried over by person.
bool TKordoStaffSearch::Refresh() {
    TCatalogue& catalogue = *Catalogue;
    const std::vector<TKordoStaff*>& list = Database.Staffs.List();
    std::vector<TKordoStaff*>& taken = catalogue.Taken;
    if (list == taken)
        return false;
    if (list.size() > taken.size() && std::equal(taken.begin(), taken.end(), list.begin())) {
        for (size_t i = taken.size(); i < list.size(); ++i)
            if (catalogue.PersonIndexValid)
                catalogue.PersonIndex.Insert(list[i]);
        taken = list;
        catalogue.People.resize(list.size());
        return true;
    }
    // Known people keep what is known of them.
    TIndexMap<const TKordoStaff*, TPointerHash> before;
    before.Reserve(taken.size());
    for (TKordoStaff* staff : taken)
        before.Insert(staff);
    std::vector<TCatalogue::TPerson> people(list.size());
    for (size_t i = 0; i < list.size(); ++i)
        if (uint32_t old = before.Find(list[i]); old != NoEntry)
            people[i] = catalogue.People[old];
    catalogue.People = std::move(people);
    taken = list;
    catalogue.PersonIndex.Clear();
    catalogue.PersonIndexValid = false;
    return true;
}

void TKordoStaffSearch::TakeRecords() {
    TCatalogue& catalogue = *Catalogue;
    catalogue.TakenNames = {Database.FirstNames.List(), Database.SecondNames.List(),
                            Database.CommonNames.List()};
}

// Folds every name of the three tables, in their order, while every person's display entry is made:
// on a first preparation the two go on two threads, a person's names found by the rows he stored
// (which hold as long as the tables are as loaded) and the rest by name afterwards. Folding takes
// less time than making the entries, so with many people the folding thread then makes the entries
// of the last people too, into a batch of its own that joins the names once both threads have ended.
int32_t TKordoStaffSearch::PrepareRecords() {
    TCatalogue& catalogue = *Catalogue;
    const bool first = catalogue.NameSlots.size() == 1;
    std::array<uint32_t, 3> base{};
    size_t names = 0;
    for (size_t t = 0; t < 3; ++t) {
        base[t] = static_cast<uint32_t>(1 + names);
        names += catalogue.TakenNames[t].size();
    }
    auto foldAll = [&] {
        catalogue.NameSlots.resize(1 + names);
        for (size_t t = 0; t < 3; ++t)
            for (size_t k = 0; k < catalogue.TakenNames[t].size(); ++k)
                catalogue.NameSlots[base[t] + k] = catalogue.Folded(catalogue.TakenNames[t][k]);
        catalogue.NameIndexMade = false;
    };
    auto slotOf = [&](size_t t, const TKordoName* name, uint32_t stored, bool& placed) {
        const std::vector<TKordoName*>& list = catalogue.TakenNames[t];
        if (!name)
            return TCatalogue::NoName;
        if (base[t] != NoEntry && stored < list.size() && list[stored] == name)
            return base[t] + stored;
        placed = false;
        return TCatalogue::NoName;
    };
    // The people of [from, to) whose names changed get their slots and a display entry from `add`;
    // those with a name not found by its row are listed in `unplaced`.
    auto makeEntries = [&](size_t from, size_t to, std::vector<size_t>& unplaced, auto&& add) {
        for (size_t i = from; i < to; ++i) {
            const TKordoStaff& staff = *catalogue.Taken[i];
            TCatalogue::TPerson& person = catalogue.People[i];
            std::array<const TKordoName*, 3> current{staff.FirstName, staff.SecondName, staff.CommonName};
            if (person.Entry != NoEntry && person.Names == current)
                continue;
            bool placed = true;
            person.Names = current;
            person.Slots = {slotOf(0, staff.FirstName, staff.StoredFirstName(), placed),
                            slotOf(1, staff.SecondName, staff.StoredSecondName(), placed),
                            slotOf(2, staff.CommonName, staff.StoredCommonName(), placed)};
            if (!placed)
                unplaced.push_back(i);
            person.Entry = add(i, staff);
        }
    };
    auto makeEntry = [&](size_t, const TKordoStaff& staff) { return MakeDisplayEntry(staff); };
    const size_t count = catalogue.Taken.size();
    std::vector<size_t> unplaced, unplacedLast;
    if (first) {
        const size_t split = count >= KordoParallelFrom ? count - count * 2 / 5 : count;
        TDisplayNames::TBatch last;
        std::vector<size_t> batched; // the people whose entries are in `last`
        Names().Reserve(split, 20);
        KordoRunBoth(
            true, [&] { makeEntries(0, split, unplaced, makeEntry); },
            [&] {
                foldAll();
                makeEntries(split, count, unplacedLast, [&](size_t i, const TKordoStaff& staff) {
                    batched.push_back(i);
                    return Names().AddTo(last, [&](std::u16string& out) { AppendDisplayName(out, staff); });
                });
            });
        if (!batched.empty()) {
            const uint32_t shift = Names().AddBatch(last);
            DisplayEntriesChanged = true;
            for (size_t i : batched)
                catalogue.People[i].Entry += shift;
        }
        unplaced.insert(unplaced.end(), unplacedLast.begin(), unplacedLast.end());
    } else {
        // Names known from before keep their slots: every name by name.
        for (const std::vector<TKordoName*>& list : catalogue.TakenNames)
            for (TKordoName* name : list)
                catalogue.SlotOf(name);
        base = {NoEntry, NoEntry, NoEntry};
        makeEntries(0, count, unplaced, makeEntry);
    }
    for (size_t i : unplaced) {
        TCatalogue::TPerson& person = catalogue.People[i];
        for (size_t n = 0; n < 3; ++n)
            person.Slots[n] = catalogue.SlotOf(person.Names[n]);
    }
    catalogue.TakenNames = {};
    return static_cast<int32_t>(count);
}

uint32_t TKordoStaffSearch::MakeDisplayEntry(const TKordoStaff& staff) {
    DisplayEntriesChanged = true;
    return Names().Add([&](std::u16string& out) { AppendDisplayName(out, staff); });
}

int32_t TKordoStaffSearch::IndexOf(const void* record) {
    TCatalogue& catalogue = *Catalogue;
    if (!catalogue.PersonIndexValid) {
        catalogue.PersonIndex.Clear();
        catalogue.PersonIndex.Reserve(catalogue.Taken.size());
        for (TKordoStaff* staff : catalogue.Taken)
            catalogue.PersonIndex.Insert(staff);
        catalogue.PersonIndexValid = true;
    }
    uint32_t index = catalogue.PersonIndex.Find(static_cast<const TKordoStaff*>(record));
    return index == NoEntry ? -1 : static_cast<int32_t>(index);
}

// The person's display name; made afresh when his names changed since it was made.
uint32_t TKordoStaffSearch::DisplayEntry(int32_t index, bool check) {
    TCatalogue& catalogue = *Catalogue;
    const TKordoStaff& staff = *catalogue.Taken[static_cast<size_t>(index)];
    TCatalogue::TPerson& person = catalogue.People[static_cast<size_t>(index)];
    if (person.Entry != NoEntry && !check)
        return person.Entry;
    std::array<const TKordoName*, 3> current{staff.FirstName, staff.SecondName, staff.CommonName};
    if (person.Entry != NoEntry && person.Names == current)
        return person.Entry;
    if (person.Names != current) {
        person.Names = current;
        for (size_t n = 0; n < 3; ++n)
            person.Slots[n] = catalogue.SlotOf(current[n]);
    }
    person.Entry = MakeDisplayEntry(staff);
    return person.Entry;
}

void TKordoStaffSearch::Match(const std::u16string& folded, const std::vector<int32_t>* candidates,
                              std::vector<int32_t>& found, const std::function<void(size_t)>& tick) {
    TCatalogue& catalogue = *Catalogue;
    catalogue.Start(folded);
    const size_t count = candidates ? candidates->size() : catalogue.Taken.size();
    found.resize(count);
    size_t matched = 0;
    auto run = [&](auto matches) {
        for (size_t i = 0; i < count; ++i) {
            const int32_t index = candidates ? (*candidates)[i] : static_cast<int32_t>(i);
            const TKordoStaff& staff = *catalogue.Taken[static_cast<size_t>(index)];
            const TCatalogue::TPerson& person = catalogue.People[static_cast<size_t>(index)];
            // A person renamed since he was last looked at is looked at afresh.
            if (person.Names[0] != staff.FirstName || person.Names[1] != staff.SecondName ||
                person.Names[2] != staff.CommonName || person.Entry == NoEntry) {
                DisplayEntry(index, true);
                catalogue.ScanNew();
            }
            found[matched] = index;
            matched += matches(person);
            if (tick)
                tick(i);
        }
    };
    if (!catalogue.FewBlanks())
        run([&](const TCatalogue::TPerson& person) { return catalogue.MatchesBuilt(person); });
    else if (catalogue.Split())
        run([&](const TCatalogue::TPerson& person) { return catalogue.Matches<true>(person); });
    else
        run([&](const TCatalogue::TPerson& person) { return catalogue.Matches<false>(person); });
    found.resize(matched);
}

bool TKordoStaffSearch::Passes(const void* record, const TKordoSearchFilter& filter) const {
    const auto& staff = *static_cast<const TKordoStaff*>(record);
    if (filter.StaffType != 0 && staff.StaffType() != filter.StaffType)
        return false;
    if (filter.Nation && staff.Nation != filter.Nation)
        return false;
    if (filter.Club && ClubOf(staff) != filter.Club)
        return false;
    if (filter.BornFrom == 0 && filter.BornTo == 0)
        return true;
    const int32_t born = KordoCalendarYear(staff.DateOfBirth());
    return (filter.BornFrom == 0 || born >= filter.BornFrom) && (filter.BornTo == 0 || born <= filter.BornTo);
}

std::u16string TKordoStaffSearch::HiddenMatch(const void* record, const std::u16string& folded) const {
    const auto& staff = *static_cast<const TKordoStaff*>(record);
    // Without a common name the display shows both names.
    if (!staff.CommonName || Contains(Folded(staff.CommonName->Name), folded))
        return {};
    std::u16string built = staff.FirstName ? staff.FirstName->Name : u"";
    if (staff.SecondName)
        built += u" " + staff.SecondName->Name;
    if (!Contains(Folded(built), folded))
        return {};
    // The blank that leads when there is no first name is for matching, not for showing.
    return staff.FirstName ? built : built.substr(1);
}

std::u16string TKordoStaffSearch::DataCell(const void* record, int32_t column) const {
    const auto& staff = *static_cast<const TKordoStaff*>(record);
    switch (column) {
    case ClubColumn:
        if (!staff.ClubSquad)
            return {};
        return staff.ClubSquad->OwnerClub ? staff.ClubSquad->OwnerClub->ShortClubName : u"No Club";
    case NationColumn:
        return staff.Nation ? staff.Nation->NationName : u"";
    case BornColumn:
        return Ascii(KordoDateText(staff.DateOfBirth()));
    case TypeColumn: {
        std::u16string text = StaffTypeText(staff.StaffType());
        return text.empty() ? Ascii(std::to_string(staff.StaffType())) : text;
    }
    case JobColumn: {
        if (!staff.ClubSquad)
            return {};
        std::u16string text = JobText(staff.ClubJob());
        return text.empty() ? Ascii(std::to_string(staff.ClubJob())) : text;
    }
    case AbilityColumn: {
        std::optional<int32_t> ability = AbilityOf(staff);
        return ability ? Ascii(std::to_string(*ability)) : u"";
    }
    default:
        return {};
    }
}

int64_t TKordoStaffSearch::DataKey(const void* record, int32_t column) const {
    const auto& staff = *static_cast<const TKordoStaff*>(record);
    switch (column) {
    case ClubColumn:
        if (!staff.ClubSquad)
            return 0;
        return staff.ClubSquad->OwnerClub
                   ? static_cast<int64_t>(reinterpret_cast<uintptr_t>(staff.ClubSquad->OwnerClub))
                   : UnresolvedClub;
    case NationColumn:
        return static_cast<int64_t>(reinterpret_cast<uintptr_t>(staff.Nation));
    case BornColumn:
        return int64_t{staff.DateOfBirth().Year} << 16 | staff.DateOfBirth().Day;
    case TypeColumn:
        return staff.StaffType();
    case JobColumn:
        return staff.ClubSquad ? 1 + int64_t{staff.ClubJob()} : 0;
    case AbilityColumn: {
        std::optional<int32_t> ability = AbilityOf(staff);
        return ability ? *ability : std::numeric_limits<int64_t>::min();
    }
    default:
        return 0;
    }
}

// Clubs.

namespace {

enum TClubColumn : int32_t { FullNameColumn, ClubNationColumn, SquadsColumn };

} // namespace

TKordoClubSearch::TKordoClubSearch(TKordoPregameDatabase& database) : TKordoSearch(database, TTable::Clubs) {
    SetDataColumns({{u"Full Name", false}, {u"Nation", false}, {u"Squads", true}});
}

TKordoClubSearch::~TKordoClubSearch() {
    StopPreparing();
}

int32_t TKordoClubSearch::GetCount() const {
    return Database.Clubs.Count();
}

void* TKordoClubSearch::GetItem(int32_t index) const {
    return Database.Clubs.Item(index);
}

std::u16string TKordoClubSearch::GetDisplayName(const void* record) const {
    return static_cast<const TKordoClub*>(record)->ShortClubName;
}

int32_t TKordoClubSearch::PrepareRecords() {
    for (int32_t i = 0; i < GetCount(); ++i)
        DisplayEntry(i, true);
    return GetCount();
}

int32_t TKordoClubSearch::IndexOf(const void* record) {
    const auto& records = Database.Clubs.Records;
    const auto* club = static_cast<const TKordoClub*>(record);
    if (records.empty() || std::less<const TKordoClub*>()(club, records.data()) ||
        !std::less<const TKordoClub*>()(club, records.data() + records.size()))
        return -1;
    return static_cast<int32_t>(club - records.data());
}

// The club's short name, made afresh when it changed since.
uint32_t TKordoClubSearch::DisplayEntry(int32_t index, bool check) {
    const size_t at = static_cast<size_t>(index);
    if (Entries.size() <= at) {
        Entries.resize(static_cast<size_t>(GetCount()), NoEntry);
        EntryTexts.resize(Entries.size());
    }
    const std::u16string& name = Database.Clubs.Records[at].ShortClubName;
    if (Entries[at] != NoEntry && (!check || EntryTexts[at] == name))
        return Entries[at];
    EntryTexts[at] = name;
    Entries[at] = Names().Add([&](std::u16string& out) { out += name; });
    DisplayEntriesChanged = true;
    return Entries[at];
}

void TKordoClubSearch::Match(const std::u16string& folded, const std::vector<int32_t>* candidates,
                             std::vector<int32_t>& found, const std::function<void(size_t)>& tick) {
    std::u16string name;
    auto test = [&](int32_t index) {
        const TKordoClub& club = Database.Clubs.Records[static_cast<size_t>(index)];
        if (club.Squads.empty())
            return;
        for (const std::u16string* text :
             {&club.ClubName, &club.ShortClubName, &club.Nickname1, &club.Nickname2}) {
            name.clear();
            AppendFolded(name, *text);
            if (Contains(name, folded)) {
                found.push_back(index);
                return;
            }
        }
    };
    const size_t count = candidates ? candidates->size() : static_cast<size_t>(GetCount());
    for (size_t i = 0; i < count; ++i) {
        test(candidates ? (*candidates)[i] : static_cast<int32_t>(i));
        if (tick)
            tick(i);
    }
}

bool TKordoClubSearch::Passes(const void* record, const TKordoSearchFilter& filter) const {
    return !filter.Nation || static_cast<const TKordoClub*>(record)->Nation == filter.Nation;
}

std::u16string TKordoClubSearch::HiddenMatch(const void* record, const std::u16string& folded) const {
    const auto& club = *static_cast<const TKordoClub*>(record);
    if (Contains(Folded(club.ShortClubName), folded))
        return {};
    for (const std::u16string* text : {&club.ClubName, &club.Nickname1, &club.Nickname2})
        if (Contains(Folded(*text), folded))
            return *text;
    return {};
}

std::u16string TKordoClubSearch::DataCell(const void* record, int32_t column) const {
    const auto& club = *static_cast<const TKordoClub*>(record);
    switch (column) {
    case FullNameColumn:
        return club.ClubName;
    case ClubNationColumn:
        return club.Nation ? club.Nation->NationName : u"";
    case SquadsColumn:
        return Ascii(std::to_string(KordoClubSquads(club).size()));
    default:
        return {};
    }
}

int64_t TKordoClubSearch::DataKey(const void* record, int32_t column) const {
    const auto& club = *static_cast<const TKordoClub*>(record);
    switch (column) {
    case FullNameColumn:
        return static_cast<int64_t>(reinterpret_cast<uintptr_t>(&club));
    case ClubNationColumn:
        return static_cast<int64_t>(reinterpret_cast<uintptr_t>(club.Nation));
    case SquadsColumn:
        return static_cast<int64_t>(KordoClubSquads(club).size());
    default:
        return 0;
    }
}
