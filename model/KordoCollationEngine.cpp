#include "KordoCollationEngine.h"

#include "KordoCollation.h"

#include <QString>

#include <array>
#include <cstring>
#include <exception>
#include <thread>

namespace {

QStringView View(std::u16string_view text) {
    return QStringView(text.data(), static_cast<qsizetype>(text.size()));
}

bool IsAsciiLetter(char16_t c) {
    auto lower = static_cast<char16_t>(c | 0x20);
    return lower >= u'a' && lower <= u'z';
}

} // namespace

bool KordoAllAsciiLetters(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), IsAsciiLetter);
}

int KordoCompareNames(std::u16string_view a, std::u16string_view b) {
    static const TKordoCollation collation;
    return collation.Compare(a, b);
}

// A collator of its own: the search may sort on a second thread while the lists' collator is in use.
TKordoCollation::TKordoCollation() : Collator(KordoCollationLocale()) {
    Collator.setCaseSensitivity(Qt::CaseInsensitive);
    static const bool lettersByCase = LettersCompareByCase();
    static const std::vector<TWeight> weights = BuildModel();
    static const std::vector<uint8_t> regular = FindRegular();
    LettersByCase = lettersByCase;
    Weights = &weights;
    RegularChars = &regular;
}

int TKordoCollation::Compare(std::u16string_view a, std::u16string_view b) const {
    return Collator.compare(View(a), View(b));
}

QCollatorSortKey TKordoCollation::SortKey(std::u16string_view text) const {
    return Collator.sortKey(QString::fromRawData(reinterpret_cast<const QChar*>(text.data()),
                                                 static_cast<qsizetype>(text.size())));
}

bool TKordoCollation::Equal(std::u16string_view text, std::u16string_view typed, bool typedLetters) const {
    if (LettersByCase && typedLetters && KordoAllAsciiLetters(text)) {
        if (text.size() != typed.size())
            return false;
        for (size_t i = 0; i < text.size(); ++i)
            if ((text[i] | 0x20) != (typed[i] | 0x20))
                return false;
        return true;
    }
    return Compare(text, typed) == 0;
}

bool TKordoCollation::LettersCompareByCase() const {
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
std::vector<uint8_t> TKordoCollation::FindRegular() const {
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
std::vector<TKordoCollation::TWeight> TKordoCollation::BuildModel() const {
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
bool TKordoCollation::AppendModelKey(std::u16string_view text, std::string& key) const {
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
TKordoSorted TKordoCollation::CheckOrder(const std::vector<uint32_t>& approximate, Comparison compare,
                                         std::vector<uint32_t>& misplaced) const {
    constexpr size_t Run = 8;
    TKordoSorted kept;
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

namespace {

// An entry ordered by the model: its key's first eight bytes (big-endian, zero-padded), and where its
// whole key lies.
struct TModelled {
    uint64_t Head;
    uint32_t Entry, Start, Length;
};

struct TModelledPart {
    std::string Keys;
    std::vector<TModelled> Modelled; // in the model's order
    std::vector<uint32_t> Unmodelled;
};

bool ModelledBefore(const TModelledPart& partA, const TModelled& a, const TModelledPart& partB,
                    const TModelled& b) {
    if (a.Head != b.Head)
        return a.Head < b.Head;
    int order =
        std::memcmp(partA.Keys.data() + a.Start, partB.Keys.data() + b.Start, std::min(a.Length, b.Length));
    if (order != 0)
        return order < 0;
    return a.Length != b.Length ? a.Length < b.Length : a.Entry < b.Entry;
}

} // namespace

TKordoSorted TKordoCollation::Sort(const std::vector<uint32_t>& entries,
                                   const std::function<std::u16string_view(uint32_t)>& text) const {
    auto compare = [&](uint32_t a, uint32_t b) { return Compare(text(a), text(b)); };
    const bool parallel = entries.size() >= KordoParallelFrom;
    if (parallel && !Helper)
        Helper = std::make_unique<TKordoCollation>();

    // The model's order, each half on its own thread.
    auto model = [&](size_t from, size_t to, TModelledPart& part) {
        size_t keySize = 0;
        for (size_t i = from; i < to; ++i)
            keySize += 2 * text(entries[i]).size() + 1;
        part.Keys.reserve(keySize);
        part.Modelled.reserve(to - from);
        for (size_t i = from; i < to; ++i) {
            const uint32_t entry = entries[i];
            size_t start = part.Keys.size();
            if (!AppendModelKey(text(entry), part.Keys)) {
                part.Unmodelled.push_back(entry);
                continue;
            }
            uint64_t head = 0;
            for (size_t b = 0; b < 8; ++b)
                head = head << 8 |
                       (start + b < part.Keys.size() ? static_cast<uint8_t>(part.Keys[start + b]) : 0);
            part.Modelled.push_back(
                {head, entry, static_cast<uint32_t>(start), static_cast<uint32_t>(part.Keys.size() - start)});
        }
        std::sort(part.Modelled.begin(), part.Modelled.end(),
                  [&](const TModelled& a, const TModelled& b) { return ModelledBefore(part, a, part, b); });
    };
    std::array<TModelledPart, 2> parts;
    const size_t half = parallel ? entries.size() / 2 : entries.size();
    KordoRunBoth(
        parallel, [&] { model(0, half, parts[0]); }, [&] { model(half, entries.size(), parts[1]); });
    std::vector<uint32_t> approximate;
    approximate.reserve(parts[0].Modelled.size() + parts[1].Modelled.size());
    {
        auto a = parts[0].Modelled.begin(), aEnd = parts[0].Modelled.end();
        auto b = parts[1].Modelled.begin(), bEnd = parts[1].Modelled.end();
        while (a != aEnd || b != bEnd) {
            if (b == bEnd || (a != aEnd && !ModelledBefore(parts[1], *b, parts[0], *a)))
                approximate.push_back((a++)->Entry);
            else
                approximate.push_back((b++)->Entry);
        }
    }
    std::vector<uint32_t> misplaced = std::move(parts[0].Unmodelled);
    misplaced.insert(misplaced.end(), parts[1].Unmodelled.begin(), parts[1].Unmodelled.end());
    parts = {};

    // That order checked with the collator, each half on its own thread with a collator of its own;
    // the two kept halves are in order but where they meet, which the merge mends.
    const size_t middle = parallel ? approximate.size() / 2 : approximate.size();
    std::vector<uint32_t> firstHalf(approximate.begin(),
                                    approximate.begin() + static_cast<ptrdiff_t>(middle));
    std::vector<uint32_t> secondHalf(approximate.begin() + static_cast<ptrdiff_t>(middle), approximate.end());
    approximate = {};
    TKordoSorted keptFirst, keptSecond;
    std::vector<uint32_t> misplacedSecond;
    KordoRunBoth(
        parallel, [&] { keptFirst = CheckOrder(firstHalf, compare, misplaced); },
        [&] {
            auto helperCompare = [&](uint32_t a, uint32_t b) { return Helper->Compare(text(a), text(b)); };
            keptSecond = CheckOrder(secondHalf, helperCompare, misplacedSecond);
        });
    misplaced.insert(misplaced.end(), misplacedSecond.begin(), misplacedSecond.end());
    TKordoSorted kept =
        keptSecond.Size() ? KordoMergeSorted(keptFirst, keptSecond, compare) : std::move(keptFirst);
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
    TKordoSorted rest;
    for (size_t i = 0; i < keyed.size(); ++i)
        rest.Push(keyed[i].Entry, i > 0 && keyed[i].Key.compare(keyed[i - 1].Key) == 0);
    return KordoMergeSorted(kept, rest, compare);
}

namespace {

// Units from here up (the CJK blocks and beyond, surrogates among them) fold by case alone.
constexpr char16_t FoldLimit = 0x3000;

// What each unit below FoldLimit reads as in matching: a span of Texts, start << 4 | length.
struct TFoldTable {
    std::vector<uint32_t> Spans;
    std::u16string Texts;
};

// Whether the collation holds the two texts equal at its first level: a following "b" against a
// following "a" outweighs any difference below it, both ways round.
bool FirstLevelEqual(const QCollator& collator, const QString& a, const QString& b) {
    return collator.compare(a + u'b', b + u'a') > 0 && collator.compare(a + u'a', b + u'b') < 0;
}

// Each unit's compatibility decomposition without its combining marks, in lower case by way of upper
// case (so "ß" and "ẞ", upper-cased to "SS", become "ss"), where the collation holds the two equal at
// its first level; else its lower case where the collation holds that equal; else the unit itself.
// Found once per process.
const TFoldTable& FoldTable() {
    static const TFoldTable table = [] {
        QCollator collator(KordoCollationLocale());
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        TFoldTable built;
        built.Spans.resize(FoldLimit);
        for (uint32_t c = 0; c < FoldLimit; ++c) {
            const QString unit(QChar(static_cast<char16_t>(c)));
            QString fold = unit;
            QString plain;
            for (QChar part : unit.normalized(QString::NormalizationForm_KD))
                if (!part.isMark())
                    plain += part;
            const QString candidate = plain.toLower().toUpper().toLower();
            const QString lower = unit.toLower();
            if (candidate != unit && candidate.size() < 16 && FirstLevelEqual(collator, unit, candidate))
                fold = candidate;
            else if (lower != unit && lower.size() < 16 && FirstLevelEqual(collator, unit, lower))
                fold = lower;
            built.Spans[c] =
                static_cast<uint32_t>(built.Texts.size()) << 4 | static_cast<uint32_t>(fold.size());
            built.Texts.append(reinterpret_cast<const char16_t*>(fold.utf16()),
                               static_cast<size_t>(fold.size()));
        }
        return built;
    }();
    return table;
}

void AppendCodePoint(std::u16string& out, char32_t code) {
    if (QChar::requiresSurrogates(code)) {
        out.push_back(QChar::highSurrogate(code));
        out.push_back(QChar::lowSurrogate(code));
    } else {
        out.push_back(static_cast<char16_t>(code));
    }
}

} // namespace

void TKordoCollation::AppendFolded(std::u16string& out, std::u16string_view text) {
    const TFoldTable& table = FoldTable();
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < FoldLimit) {
            const uint32_t span = table.Spans[c];
            if ((span & 15) == 1)
                out.push_back(table.Texts[span >> 4]);
            else
                out.append(table.Texts, span >> 4, span & 15);
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1])) {
            AppendCodePoint(out, QChar::toLower(QChar::toUpper(QChar::surrogateToUcs4(c, text[i + 1]))));
            ++i;
        } else {
            AppendCodePoint(out, QChar::toLower(QChar::toUpper(static_cast<char32_t>(c))));
        }
    }
}
