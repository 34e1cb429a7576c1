// The lists' collation at speed: comparing, sorting many names with few calls of the collator, and
// folding texts for matching. Every answer is the collator's (KordoCollator); the shortcuts are
// established against it once per process and checked against it where they could be wrong.
#pragma once

#include "KordoPlatform.h"

#include <QCollator>
#include <QCollatorSortKey>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Compares two texts as the lists order them: by the case-insensitive collation; <0, 0 or >0.
int KordoCompareNames(std::u16string_view a, std::u16string_view b);

// Entries in collation order; Same[i] tells whether entry i collates equal to entry i - 1.
struct TKordoSorted {
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
template <class Compare>
TKordoSorted KordoMergeSorted(const TKordoSorted& a, const TKordoSorted& b, Compare compare) {
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
    TKordoSorted merged;
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

bool KordoAllAsciiLetters(std::u16string_view text);

// From this many entries on, sorting and preparing the lists work on two threads: the machine has a
// second core while the user waits.
constexpr size_t KordoParallelFrom = 40000;

// The collator, with shortcuts whose agreement with it is established once per process:
// - whether strings of ASCII letters are equal under it exactly when equal but for case (not so where
//   letters contract, as "ch", "cs" or "aa" do in some languages, or where a letter's case partner is
//   another letter, as the dotless i's is in Turkish);
// - which characters never contract with a letter, so that texts made of them collate piece by piece;
// - a model of its first two levels for the Latin characters, which orders most names without the
//   collator. Nothing trusts the model: its order is checked with the collator;
// - what each character reads as when texts are matched (AppendFolded).
class TKordoCollation {
public:
    TKordoCollation();

    // Whether the text is made only of characters that form no contraction with a letter, so that
    // it collates as the concatenation of any split of it: no prefix of it collates above it, and
    // none of it reaches the bound of its prefix followed by U+FFFF.
    bool Regular(std::u16string_view text) const {
        return std::all_of(text.begin(), text.end(),
                           [&](char16_t c) { return c < RegularChars->size() && (*RegularChars)[c]; });
    }

    int Compare(std::u16string_view a, std::u16string_view b) const;
    QCollatorSortKey SortKey(std::u16string_view text) const;
    // Equal under the collation; typedLetters tells whether `typed` is made of ASCII letters only.
    bool Equal(std::u16string_view text, std::u16string_view typed, bool typedLetters) const;

    // The entries in collation order: ordered by the model, that order checked pair by pair with the
    // collator, and whatever the model cannot place, or placed wrongly, sorted by the collator's sort
    // keys and merged in. Many entries are modelled and checked in two halves on two threads; `text`
    // must then be safe to call from both.
    TKordoSorted Sort(const std::vector<uint32_t>& entries,
                      const std::function<std::u16string_view(uint32_t)>& text) const;

    // Appends the text as matching reads it: every character that the collation sets apart from
    // another only by case or accents (a difference below its first level) becomes that other one,
    // so "Ădatriberg" reads "adatriberg", and "ß" reads "ss" where the collation takes them alike.
    // Characters the collation ignores at its first level, combining accents among them, vanish.
    // Folding works character by character: the fold of a text is the folds of its parts joined.
    static void AppendFolded(std::u16string& out, std::u16string_view text);

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
    TKordoSorted CheckOrder(const std::vector<uint32_t>& approximate, Comparison compare,
                            std::vector<uint32_t>& misplaced) const;

    QCollator Collator;
    // A collator for a second thread of Sort, made when first needed.
    mutable std::unique_ptr<TKordoCollation> Helper;
    bool LettersByCase = false;
    const std::vector<TWeight>* Weights = nullptr;
    const std::vector<uint8_t>* RegularChars = nullptr;
};
