#include "KordoSearch.h"

#include "KordoCollation.h"
#include "KordoFunctions.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <QString>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace {

constexpr uint32_t NoEntry = std::numeric_limits<uint32_t>::max();
constexpr uint32_t Unranked = std::numeric_limits<uint32_t>::max();
constexpr uint32_t Queued = Unranked - 1;

// The locale of the lists' collation, chosen once. The C locale has no collation of its own: it
// compares code points (every accented name after Z) and its sort keys ignore the case setting.
QLocale CollationLocale() {
    static const QLocale locale = [] {
        QLocale lists = KordoCollator().locale();
        if (lists.language() == QLocale::C)
            return QLocale(QLocale::English, QLocale::UnitedStates);
        return lists;
    }();
    return locale;
}

QStringView View(std::u16string_view text) {
    return QStringView(text.data(), static_cast<qsizetype>(text.size()));
}

bool IsAsciiLetter(char16_t c) {
    auto lower = static_cast<char16_t>(c | 0x20);
    return lower >= u'a' && lower <= u'z';
}

bool AllAsciiLetters(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), IsAsciiLetter);
}

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

    void Reserve(size_t count) {
        if (count * 2 > Slots.size())
            Grow(count * 2);
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

size_t MixBits(uint64_t value) {
    value *= 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(value ^ (value >> 29));
}

struct TPointerHash {
    size_t operator()(const void* pointer) const { return MixBits(reinterpret_cast<uintptr_t>(pointer)); }
};

struct TDisplayKeyHash {
    size_t operator()(const TKordoDisplayKey& key) const {
        return MixBits(reinterpret_cast<uintptr_t>(key.First) ^
                       MixBits(reinterpret_cast<uintptr_t>(key.Second) + 1));
    }
};

// Entries in collation order; Same[i] tells whether entry i collates equal to entry i - 1.
struct TSorted {
    std::vector<uint32_t> Entries;
    std::vector<uint8_t> Same;
    size_t Size() const { return Entries.size(); }
    void Push(uint32_t entry, bool same) {
        Same.push_back(same && !Entries.empty());
        Entries.push_back(entry);
    }
    void Pop() {
        Entries.pop_back();
        Same.pop_back();
    }
};

// Merges two sorted lists. Each entry of b is placed by galloping from where the previous one went,
// so a few entries cost a few comparisons each and many cost about one each.
template <class Compare> TSorted Merge(const TSorted& a, const TSorted& b, Compare compare) {
    auto place = [&](size_t from, uint32_t entry) {
        auto less = [&](uint32_t old) { return compare(old, entry) < 0; };
        size_t low = from, high = from, step = 1;
        while (high < a.Size() && less(a.Entries[high])) {
            low = high + 1;
            high = from + step;
            step *= 2;
        }
        high = std::min(high, a.Size());
        auto first = a.Entries.begin();
        return static_cast<size_t>(std::partition_point(first + static_cast<ptrdiff_t>(low),
                                                        first + static_cast<ptrdiff_t>(high), less) -
                                   first);
    };
    TSorted merged;
    merged.Entries.reserve(a.Size() + b.Size());
    merged.Same.reserve(a.Size() + b.Size());
    size_t next = 0; // the first entry of a not merged yet
    bool lastFromB = false, lastEqualsNext = false;
    auto takeFromA = [&](size_t end) {
        for (; next < end; ++next) {
            merged.Push(a.Entries[next], lastFromB ? lastEqualsNext : a.Same[next] != 0);
            lastFromB = false;
        }
    };
    for (size_t i = 0; i < b.Size(); ++i) {
        uint32_t entry = b.Entries[i];
        size_t at = place(next, entry);
        // Everything of a before `at` collates below the entry; only the previous entry of b, when
        // nothing came between, can equal it.
        bool same = at == next && lastFromB && b.Same[i] != 0;
        takeFromA(at);
        merged.Push(entry, same);
        lastFromB = true;
        lastEqualsNext = at < a.Size() && compare(entry, a.Entries[at]) == 0;
    }
    takeFromA(a.Size());
    return merged;
}

// The collator, with shortcuts whose agreement with it is established once per process:
// - whether strings of ASCII letters are equal under it exactly when equal but for case (not so where
//   letters contract, as "ch", "cs" or "aa" do in some languages, or where a letter's case partner is
//   another letter, as the dotless i's is in Turkish);
// - which characters never contract with a letter, so that texts made of them collate piece by piece;
// - a model of its first two levels for the Latin characters, which orders most names without the
//   collator. Nothing trusts the model: its order is checked with the collator.
class TCollation {
public:
    TCollation() : Collator(CollationLocale()) {
        Collator.setCaseSensitivity(Qt::CaseInsensitive);
        static const bool lettersByCase = LettersCompareByCase();
        static const std::vector<TWeight> weights = BuildModel();
        static const std::vector<uint8_t> regular = FindRegular();
        LettersByCase = lettersByCase;
        Weights = &weights;
        RegularChars = &regular;
    }

    // Whether the text is made only of characters that form no contraction with a letter, so that
    // it collates as the concatenation of any split of it: no prefix of it collates above it, and
    // none of it reaches the bound of its prefix followed by U+FFFF.
    bool Regular(std::u16string_view text) const {
        return std::all_of(text.begin(), text.end(),
                           [&](char16_t c) { return c < RegularChars->size() && (*RegularChars)[c]; });
    }

    int Compare(std::u16string_view a, std::u16string_view b) const {
        return Collator.compare(View(a), View(b));
    }
    QCollatorSortKey SortKey(std::u16string_view text) const {
        return Collator.sortKey(QString::fromRawData(reinterpret_cast<const QChar*>(text.data()),
                                                     static_cast<qsizetype>(text.size())));
    }
    // Equal under the collation; typedLetters tells whether `typed` is made of ASCII letters only.
    bool Equal(std::u16string_view text, std::u16string_view typed, bool typedLetters) const {
        if (LettersByCase && typedLetters && AllAsciiLetters(text)) {
            if (text.size() != typed.size())
                return false;
            for (size_t i = 0; i < text.size(); ++i)
                if ((text[i] | 0x20) != (typed[i] | 0x20))
                    return false;
            return true;
        }
        return Compare(text, typed) == 0;
    }

    // The entries in collation order: ordered by the model, that order checked pair by pair with the
    // collator, and whatever the model cannot place, or placed wrongly, sorted by the collator's sort
    // keys and merged in.
    template <class Text> TSorted Sort(const std::vector<uint32_t>& entries, Text text) const;

private:
    struct TWeight {
        uint8_t Primary = 0; // 0: not modelled
        uint8_t Secondary = 0;
    };
    static constexpr char16_t ModelLimit = 0x250; // Latin-1 and the Latin Extended-A and -B blocks

    bool LettersCompareByCase() const;
    std::vector<TWeight> BuildModel() const;
    std::vector<uint8_t> FindRegular() const;
    bool AppendModelKey(std::u16string_view text, std::string& key) const;
    template <class Comparison>
    TSorted CheckOrder(const std::vector<uint32_t>& approximate, Comparison compare,
                       std::vector<uint32_t>& misplaced) const;

    QCollator Collator;
    bool LettersByCase = false;
    const std::vector<TWeight>* Weights = nullptr;
    const std::vector<uint8_t>* RegularChars = nullptr;
};

bool TCollation::LettersCompareByCase() const {
    auto upper = [](std::u16string text) {
        for (char16_t& c : text)
            c = static_cast<char16_t>(c & ~0x20);
        return text;
    };
    std::vector<std::u16string> texts;
    for (char16_t x = u'a'; x <= u'z'; ++x) {
        std::u16string single(1, x);
        if (Compare(single, upper(single)) != 0)
            return false;
        texts.push_back(single);
        for (char16_t y = u'a'; y <= u'z'; ++y) {
            std::u16string pair{x, y}, mixed{x, static_cast<char16_t>(y & ~0x20)};
            // A pair that contracts has a weight of its own and sorts outside its first letter's words.
            if (Compare(single, pair) >= 0 || Compare(pair, single + u'\uFFFF') >= 0)
                return false;
            if (Compare(pair, upper(pair)) != 0 || Compare(pair, mixed) != 0)
                return false;
            texts.push_back(pair);
        }
    }
    std::sort(texts.begin(), texts.end(), [&](const auto& a, const auto& b) { return Compare(a, b) < 0; });
    for (size_t i = 1; i < texts.size(); ++i)
        if (Compare(texts[i - 1], texts[i]) == 0)
            return false;
    return true;
}

// ASCII and the Latin letters, tried against every ASCII letter before and after: a pair that
// contracts gets a weight of its own and sorts outside the words of its first character. Where "ch"
// contracts, c and h are irregular and the other letters are not.
std::vector<uint8_t> TCollation::FindRegular() const {
    std::vector<uint8_t> regular(ModelLimit, 0);
    auto contracts = [&](const std::u16string& first, char16_t second) {
        std::u16string pair = first + second;
        return Compare(first, pair) >= 0 || Compare(pair, first + u'\uFFFF') >= 0;
    };
    for (char16_t c = 0x20; c < ModelLimit; ++c) {
        if ((c >= 0x7F && c < 0xC0) || c == 0xD7 || c == 0xF7)
            continue;
        std::u16string single(1, c);
        bool ok = Compare(single, u"") != 0;
        for (char16_t x = u'a'; x <= u'z' && ok; ++x)
            ok = !contracts(std::u16string(1, x), c) && !contracts(single, x);
        regular[c] = ok;
    }
    return regular;
}

// Sorts the characters one by one and tells a primary from a secondary difference between neighbours
// by whether a following b < a outweighs it. Characters the collation ignores stay unmodelled.
std::vector<TCollation::TWeight> TCollation::BuildModel() const {
    std::vector<std::u16string> chars;
    for (char16_t c = 0x20; c < ModelLimit; ++c)
        if ((c < 0x7F || c >= 0xA0) && Compare(std::u16string(1, c), u"") != 0)
            chars.emplace_back(1, c);
    std::stable_sort(chars.begin(), chars.end(),
                     [&](const auto& a, const auto& b) { return Compare(a, b) < 0; });
    std::vector<TWeight> weights(ModelLimit);
    int primary = 1, secondary = 0;
    for (size_t i = 0; i < chars.size(); ++i) {
        if (i > 0 && Compare(chars[i - 1], chars[i]) != 0) {
            if (Compare(chars[i - 1] + u'b', chars[i] + u'a') > 0) {
                ++secondary;
            } else {
                ++primary;
                secondary = 0;
            }
        }
        // One byte per level; the rare characters beyond are left to the collator.
        if (primary <= 255 && secondary <= 255)
            weights[chars[i][0]] = {static_cast<uint8_t>(primary), static_cast<uint8_t>(secondary)};
    }
    return weights;
}

// The primary weight of every character, a zero, then the secondary weights.
bool TCollation::AppendModelKey(std::u16string_view text, std::string& key) const {
    size_t start = key.size(), length = text.size();
    key.resize(start + 2 * length + 1);
    char* out = key.data() + start;
    for (size_t i = 0; i < length; ++i) {
        TWeight weight = text[i] < ModelLimit ? (*Weights)[text[i]] : TWeight{};
        if (weight.Primary == 0) {
            key.resize(start);
            return false;
        }
        out[i] = static_cast<char>(weight.Primary);
        out[length + 1 + i] = static_cast<char>(weight.Secondary);
    }
    out[length] = '\0';
    return true;
}

// Keeps the entries of the approximate order that the collator agrees with, in order, and moves the
// others to `misplaced`. One entry out of place costs one more comparison; a run of entries that do
// not fit shows that the ones before them are out of place instead.
template <class Comparison>
TSorted TCollation::CheckOrder(const std::vector<uint32_t>& approximate, Comparison compare,
                               std::vector<uint32_t>& misplaced) const {
    constexpr size_t Run = 8;
    TSorted kept;
    kept.Entries.reserve(approximate.size());
    kept.Same.reserve(approximate.size());
    auto offer = [&](uint32_t entry) {
        if (kept.Size() == 0) {
            kept.Push(entry, false);
            return true;
        }
        int order = compare(kept.Entries.back(), entry);
        if (order <= 0) {
            kept.Push(entry, order == 0);
            return true;
        }
        order = kept.Size() >= 2 ? compare(kept.Entries[kept.Size() - 2], entry) : -1;
        if (order > 0)
            return false;
        misplaced.push_back(kept.Entries.back());
        kept.Pop();
        kept.Push(entry, order == 0);
        return true;
    };
    std::vector<uint32_t> pending;
    for (uint32_t entry : approximate) {
        if (offer(entry)) {
            misplaced.insert(misplaced.end(), pending.begin(), pending.end());
            pending.clear();
            continue;
        }
        pending.push_back(entry);
        if (pending.size() < Run)
            continue;
        while (kept.Size() > 0 && compare(kept.Entries.back(), pending[0]) > 0) {
            misplaced.push_back(kept.Entries.back());
            kept.Pop();
        }
        for (uint32_t waiting : pending)
            if (!offer(waiting))
                misplaced.push_back(waiting);
        pending.clear();
    }
    misplaced.insert(misplaced.end(), pending.begin(), pending.end());
    return kept;
}

template <class Text> TSorted TCollation::Sort(const std::vector<uint32_t>& entries, Text text) const {
    auto compare = [&](uint32_t a, uint32_t b) { return Compare(text(a), text(b)); };

    struct TModelled {
        uint64_t Head; // the key's first eight bytes, big-endian, zero-padded
        uint32_t Entry, Start, Length;
    };
    std::string keys;
    std::vector<TModelled> modelled;
    std::vector<uint32_t> misplaced;
    size_t keySize = 0;
    for (uint32_t entry : entries)
        keySize += 2 * text(entry).size() + 1;
    keys.reserve(keySize);
    modelled.reserve(entries.size());
    for (uint32_t entry : entries) {
        size_t start = keys.size();
        if (!AppendModelKey(text(entry), keys)) {
            misplaced.push_back(entry);
            continue;
        }
        uint64_t head = 0;
        for (size_t i = 0; i < 8; ++i)
            head = head << 8 | (start + i < keys.size() ? static_cast<uint8_t>(keys[start + i]) : 0);
        modelled.push_back(
            {head, entry, static_cast<uint32_t>(start), static_cast<uint32_t>(keys.size() - start)});
    }
    std::sort(modelled.begin(), modelled.end(), [&](const TModelled& a, const TModelled& b) {
        if (a.Head != b.Head)
            return a.Head < b.Head;
        int order = std::memcmp(keys.data() + a.Start, keys.data() + b.Start, std::min(a.Length, b.Length));
        if (order != 0)
            return order < 0;
        return a.Length != b.Length ? a.Length < b.Length : a.Entry < b.Entry;
    });
    std::vector<uint32_t> approximate(modelled.size());
    for (size_t i = 0; i < modelled.size(); ++i)
        approximate[i] = modelled[i].Entry;
    modelled = {};
    keys = {};

    TSorted kept = CheckOrder(approximate, compare, misplaced);
    if (misplaced.empty())
        return kept;

    struct TKeyed {
        QCollatorSortKey Key;
        uint32_t Entry;
    };
    std::vector<TKeyed> keyed;
    keyed.reserve(misplaced.size());
    for (uint32_t entry : misplaced)
        keyed.push_back({SortKey(text(entry)), entry});
    std::sort(keyed.begin(), keyed.end(), [](const TKeyed& a, const TKeyed& b) {
        int order = a.Key.compare(b.Key);
        return order < 0 || (order == 0 && a.Entry < b.Entry);
    });
    TSorted rest;
    for (size_t i = 0; i < keyed.size(); ++i)
        rest.Push(keyed[i].Entry, i > 0 && keyed[i].Key.compare(keyed[i - 1].Key) == 0);
    return Merge(kept, rest, compare);
}

// Display names with their place in the collation order. Records whose display keys are equal share
// one entry; entries that collate equal share one rank.
class TDisplayNames {
public:
    struct TEntry {
        uint32_t Start = 0, Length = 0;
        uint32_t Rank = Unranked;
        bool Regular = false;
        TKordoDisplayKey Key;
    };

    explicit TDisplayNames(const TCollation& collation) : Collation(&collation) {}

    std::u16string_view Text(uint32_t entry) const {
        return std::u16string_view(Texts).substr(Entries[entry].Start, Entries[entry].Length);
    }
    // The key's entry; for a new key, appendText appends the text to the string it is given.
    template <class AppendText> uint32_t Find(const TKordoDisplayKey& key, AppendText&& appendText) {
        auto [entry, added] = Index.Insert(key);
        if (added)
            Add(key, appendText);
        return entry;
    }
    template <class AppendText> uint32_t Add(const TKordoDisplayKey& key, AppendText&& appendText) {
        size_t start = Texts.size();
        appendText(Texts);
        std::u16string_view text = std::u16string_view(Texts).substr(start);
        Entries.push_back({static_cast<uint32_t>(start), static_cast<uint32_t>(text.size()), Unranked,
                           Collation->Regular(text), key});
        return static_cast<uint32_t>(Entries.size() - 1);
    }
    // Room for a first fill of `count` names of about `length` units each.
    void Reserve(size_t count, size_t length) {
        if (!Entries.empty())
            return;
        Entries.reserve(count);
        Texts.reserve(count * length);
        Index.Reserve(count);
    }
    TEntry& operator[](uint32_t entry) { return Entries[entry]; }
    const TEntry& operator[](uint32_t entry) const { return Entries[entry]; }

    // Ranks the new entries: sorted among themselves, merged into those ranked before, and every rank
    // renumbered.
    void Rank(const std::vector<uint32_t>& fresh) {
        if (fresh.empty())
            return;
        auto text = [&](uint32_t entry) { return Text(entry); };
        TSorted sorted = Collation->Sort(fresh, text);
        Ordered = Merge(Ordered, sorted,
                        [&](uint32_t a, uint32_t b) { return Collation->Compare(Text(a), Text(b)); });
        uint32_t rank = 0;
        for (size_t i = 0; i < Ordered.Size(); ++i) {
            if (i > 0 && !Ordered.Same[i])
                ++rank;
            Entries[Ordered.Entries[i]].Rank = rank;
        }
    }

private:
    const TCollation* Collation;
    std::vector<TEntry> Entries;
    std::u16string Texts;
    TIndexMap<TKordoDisplayKey, TDisplayKeyHash> Index;
    TSorted Ordered; // the ranked entries
};

} // namespace

int KordoCompareNames(std::u16string_view a, std::u16string_view b) {
    static const TCollation collation;
    return collation.Compare(a, b);
}

struct TKordoSearch::TState {
    TCollation Collation;
    // With display keys, every name seen for the life of the search; without, the names of the rows
    // since they were last filled.
    TDisplayNames Names{Collation};
    enum { Unknown, WithKeys, WithoutKeys } Keys = Unknown;
};

TKordoSearch::TKordoSearch(TKordoPregameDatabase& database) : Database(database), State(new TState) {}

TKordoSearch::~TKordoSearch() = default;

bool TKordoSearch::GetDisplayKey(const void*, TKordoDisplayKey&) const {
    return false;
}

void TKordoSearch::ReportStatus(const std::string& text) const {
    if (OnStatus)
        OnStatus(text);
}

void TKordoSearch::Search(const std::u16string& text) {
    ReportStatus("Searching");
    AllRecords = false;
    Rows.clear();
    RowNames.clear();
    Irregular.clear();
    SortedRows = 0;
    Focused = -1;
    Results.clear();
    // The text is taken as it is, blanks included.
    std::u16string upperText;
    AppendUpper(upperText, text);
    int32_t count = GetCount();
    for (int32_t i = 0; i < count; ++i) {
        if (!upperText.empty() && Matches(i, upperText))
            Results.push_back(GetItem(i));
        if (OnProgress)
            OnProgress(KordoPercentage(count, i));
    }
    ReportStatus("Sorting Search Result");
    SetRows(Results);
}

void TKordoSearch::ShowAll() {
    ReportStatus("Sorting Search Result");
    AllRecords = true;
    SetRows(TableRecords());
}

std::vector<void*> TKordoSearch::TableRecords() const {
    std::vector<void*> records(static_cast<size_t>(std::max(GetCount(), 0)));
    for (size_t i = 0; i < records.size(); ++i)
        records[i] = GetItem(static_cast<int32_t>(i));
    return records;
}

void TKordoSearch::ShowSingle(void* record) {
    Results.clear();
    AllRecords = false;
    Rows.clear();
    RowNames.clear();
    Irregular.clear();
    if (!Keyed(record))
        State->Names = TDisplayNames(State->Collation);
    AddRecord(record);
    SortedRows = 1;
    if (!State->Names[RowNames[0].Entry].Regular)
        Irregular.push_back(0);
}

void TKordoSearch::AddRecord(void* record) {
    Rows.push_back(record);
    uint32_t entry = EntryOf(record);
    RowNames.push_back({entry, entry});
    Focused = RowCount() - 1;
}

void TKordoSearch::RemoveRow(int32_t row) {
    if (row < 0 || row >= RowCount())
        return;
    Rows.erase(Rows.begin() + row);
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
    if (row < 0 || row >= RowCount())
        return;
    // The row keeps its place, which no longer tells anything about its name.
    RowNames[static_cast<size_t>(row)].Entry = EntryOf(Rows[static_cast<size_t>(row)]);
    auto at = std::lower_bound(Irregular.begin(), Irregular.end(), static_cast<uint32_t>(row));
    if (static_cast<size_t>(row) < SortedRows && (at == Irregular.end() || *at != static_cast<uint32_t>(row)))
        Irregular.insert(at, static_cast<uint32_t>(row));
}

int32_t TKordoSearch::Count() const {
    return AllRecords ? GetCount() : static_cast<int32_t>(Results.size());
}

std::u16string TKordoSearch::RowText(int32_t row) const {
    std::u16string text = GetDisplayName(RowRecord(row));
    return text.empty() ? GetNoNameText() : text;
}

int32_t TKordoSearch::RowOf(const void* record) const {
    auto found = std::find(Rows.begin(), Rows.end(), record);
    return found == Rows.end() ? -1 : static_cast<int32_t>(found - Rows.begin());
}

void TKordoSearch::SetFocusedRow(int32_t row) {
    Focused = row >= 0 && row < RowCount() ? row : -1;
}

// The first row that matches by the rule, found without trying every row: the sorted rows are in
// collation order, and a regular name that begins with the typed text collates between it and the
// typed text followed by U+FFFF, the highest weight there is. Outside that range only the irregular
// rows and those added after sorting can match.
int32_t TKordoSearch::FindTypeAhead(const std::u16string& typed) const {
    const TCollation& collation = State->Collation;
    const TDisplayNames& names = State->Names;
    bool typedLetters = AllAsciiLetters(typed);
    std::u16string previous;
    bool checkedOne = false;
    auto matches = [&](size_t row) {
        std::u16string_view prefix = names.Text(RowNames[row].Entry).substr(0, typed.size());
        // Sorted rows share prefixes in long runs; a prefix that just failed fails again.
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
        if (matches(row))
            best = row;
    return best < RowNames.size() ? static_cast<int32_t>(best) : -1;
}

bool TKordoSearch::Keyed(const void* record) {
    if (State->Keys == TState::Unknown) {
        TKordoDisplayKey key;
        State->Keys = GetDisplayKey(record, key) ? TState::WithKeys : TState::WithoutKeys;
    }
    return State->Keys == TState::WithKeys;
}

uint32_t TKordoSearch::EntryOf(const void* record) {
    TKordoDisplayKey key;
    auto appendText = [&](std::u16string& out) { AppendDisplayName(record, out); };
    if (Keyed(record) && GetDisplayKey(record, key))
        return State->Names.Find(key, appendText);
    return State->Names.Add({}, appendText);
}

void TKordoSearch::SetRows(std::vector<void*> records) {
    Rows = std::move(records);
    Focused = -1;
    SortRows();
}

// Each record's name entry, every entry ranked.
std::vector<uint32_t> TKordoSearch::RankNames(const std::vector<void*>& records) {
    TDisplayNames& names = State->Names;
    names.Reserve(records.size(), 20);
    std::vector<uint32_t> entries(records.size()), fresh;
    for (size_t i = 0; i < records.size(); ++i) {
        uint32_t entry = EntryOf(records[i]);
        if (names[entry].Rank == Unranked) {
            names[entry].Rank = Queued;
            fresh.push_back(entry);
        }
        entries[i] = entry;
    }
    names.Rank(fresh);
    return entries;
}

void TKordoSearch::Prepare() {
    std::vector<void*> records = TableRecords();
    // Without display keys nothing outlives a sort.
    if (!records.empty() && Keyed(records[0]))
        RankNames(records);
    PrepareMatching();
}

// Rows are ordered by the rank of their display names and, among equal names, by the order they were
// made in (table order).
void TKordoSearch::SortRows() {
    size_t count = Rows.size();
    if (count > 0 && !Keyed(Rows[0]))
        State->Names = TDisplayNames(State->Collation);
    TDisplayNames& names = State->Names;
    std::vector<uint32_t> entries = RankNames(Rows);
    std::vector<uint8_t> irregular(count);
    for (size_t i = 0; i < count; ++i)
        irregular[i] = !names[entries[i]].Regular;

    std::vector<uint64_t> order(count);
    for (size_t i = 0; i < count; ++i)
        order[i] = uint64_t{names[entries[i]].Rank} << 32 | i;
    std::sort(order.begin(), order.end());
    std::vector<void*> sorted(count);
    RowNames.resize(count);
    Irregular.clear();
    for (size_t i = 0; i < count; ++i) {
        auto from = static_cast<uint32_t>(order[i]);
        sorted[i] = Rows[from];
        RowNames[i] = {entries[from], entries[from]};
        if (irregular[from])
            Irregular.push_back(static_cast<uint32_t>(i));
    }
    Rows = std::move(sorted);
    SortedRows = count;
}

void TKordoSearch::AppendUpper(std::u16string& out, std::u16string_view text) {
    if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; })) {
        for (char16_t c : text)
            out.push_back(c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c);
        return;
    }
    QString upper =
        QString::fromRawData(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()))
            .toUpper();
    out.append(reinterpret_cast<const char16_t*>(upper.utf16()), static_cast<size_t>(upper.size()));
}

// People.

// Each name upper-cased once, in one buffer; and by table index, which names a person had when last
// searched, so that searching again reads the people in order and looks nothing up.
struct TKordoStaffSearch::TUpperNames {
    TIndexMap<const void*, TPointerHash> Index;
    std::vector<std::pair<uint32_t, uint32_t>> Spans;
    std::u16string Texts;

    struct TPerson {
        std::array<const TKordoName*, 3> Names{}; // first, second, common
        std::array<uint32_t, 3> Uppers{};         // their entries in Spans
        bool Known = false;
    };
    std::vector<TPerson> People;

    std::u16string_view Upper(uint32_t name) const {
        return std::u16string_view(Texts).substr(Spans[name].first, Spans[name].second);
    }
};

TKordoStaffSearch::TKordoStaffSearch(TKordoPregameDatabase& database)
    : TKordoSearch(database), UpperNames(new TUpperNames) {}

TKordoStaffSearch::~TKordoStaffSearch() = default;

int32_t TKordoStaffSearch::GetCount() const {
    return Database.Staffs.Count();
}

void* TKordoStaffSearch::GetItem(int32_t index) const {
    return Database.Staffs.Item(index);
}

std::u16string TKordoStaffSearch::GetDisplayName(const void* record) const {
    return StaffDisplayName(*static_cast<const TKordoStaff*>(record));
}

bool TKordoStaffSearch::GetDisplayKey(const void* record, TKordoDisplayKey& key) const {
    const auto* staff = static_cast<const TKordoStaff*>(record);
    // Common, first and second names are records of different tables, so the two forms never meet.
    key = staff->CommonName ? TKordoDisplayKey{staff->CommonName, nullptr}
                            : TKordoDisplayKey{staff->SecondName, staff->FirstName};
    return true;
}

// StaffDisplayName, built in place.
void TKordoStaffSearch::AppendDisplayName(const void* record, std::u16string& out) const {
    const auto* staff = static_cast<const TKordoStaff*>(record);
    if (staff->CommonName) {
        out += staff->CommonName->Name;
        return;
    }
    size_t start = out.size();
    if (staff->SecondName)
        out += staff->SecondName->Name;
    if (staff->FirstName) {
        if (out.size() > start)
            out += u", ";
        out += staff->FirstName->Name;
    }
}

uint32_t TKordoStaffSearch::UpperName(const TKordoName* name) {
    TUpperNames& names = *UpperNames;
    auto [index, added] = names.Index.Insert(name);
    if (added) {
        size_t start = names.Texts.size();
        AppendUpper(names.Texts, name->Name);
        names.Spans.emplace_back(static_cast<uint32_t>(start),
                                 static_cast<uint32_t>(names.Texts.size() - start));
    }
    return index;
}

void TKordoStaffSearch::CacheUpper(int32_t index) {
    const TKordoStaff* staff = Database.Staffs.List()[static_cast<size_t>(index)];
    TUpperNames& cache = *UpperNames;
    if (cache.People.size() <= static_cast<size_t>(index))
        cache.People.resize(static_cast<size_t>(GetCount()));
    TUpperNames::TPerson& person = cache.People[static_cast<size_t>(index)];
    std::array<const TKordoName*, 3> names{staff->FirstName, staff->SecondName, staff->CommonName};
    if (!person.Known || person.Names != names) {
        person.Names = names;
        for (size_t i = 0; i < names.size(); ++i)
            person.Uppers[i] = names[i] ? UpperName(names[i]) : NoEntry;
        person.Known = true;
    }
}

void TKordoStaffSearch::PrepareMatching() {
    int32_t count = GetCount();
    for (int32_t i = 0; i < count; ++i)
        CacheUpper(i);
}

// The common name first; then first and second name joined by a blank, the blank kept when there is
// no first name, so " smith" finds a person known only as Smith. The display form "Smith, John" is
// not searched.
bool TKordoStaffSearch::Matches(int32_t index, const std::u16string& upperText) {
    CacheUpper(index);
    const TUpperNames& cache = *UpperNames;
    const TUpperNames::TPerson& person = cache.People[static_cast<size_t>(index)];
    const std::array<const TKordoName*, 3>& names = person.Names;
    if (names[2] && Contains(cache.Upper(person.Uppers[2]), upperText))
        return true;
    // Upper-casing maps each character by itself, so the upper-cased parts join to the upper-cased
    // whole.
    Built.clear();
    if (names[0])
        Built += cache.Upper(person.Uppers[0]);
    if (names[1]) {
        Built += u' ';
        Built += cache.Upper(person.Uppers[1]);
    }
    return Contains(Built, upperText);
}

// Clubs.

int32_t TKordoClubSearch::GetCount() const {
    return Database.Clubs.Count();
}

void* TKordoClubSearch::GetItem(int32_t index) const {
    return Database.Clubs.Item(index);
}

std::u16string TKordoClubSearch::GetDisplayName(const void* record) const {
    return static_cast<const TKordoClub*>(record)->ShortClubName;
}

bool TKordoClubSearch::Matches(int32_t index, const std::u16string& upperText) {
    const TKordoClub& club = Database.Clubs.Records[static_cast<size_t>(index)];
    if (club.Squads.empty())
        return false;
    for (const std::u16string* name :
         {&club.ClubName, &club.ShortClubName, &club.Nickname1, &club.Nickname2}) {
        Upper.clear();
        AppendUpper(Upper, *name);
        if (Contains(Upper, upperText))
            return true;
    }
    return false;
}
