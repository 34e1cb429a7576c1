#include "KordoCollationEngine.h"

#include "KordoGenerator.h"
#include "KordoPregameDatabase.h"

#include <gtest/gtest.h>

namespace {

std::u16string Folded(std::u16string_view text) {
    std::u16string out;
    TKordoCollation::AppendFolded(out, text);
    return out;
}

} // namespace

TEST(Folding, ReadsAlikeWhatTheCollationTakesAlikeAtItsFirstLevel) {
    EXPECT_EQ(Folded(u"Ădatriberg"), u"adatriberg");
    EXPECT_EQ(Folded(u"STRAẞE Straße"), u"strasse strasse");
    // Decomposed accents vanish: both spellings read alike.
    EXPECT_EQ(Folded(u"E\u0301lise"), Folded(u"Élise"));
    EXPECT_EQ(Folded(u"\U00010400"), u"\U00010428");
    // Letters the collation keeps apart stay apart: the dotless i is not an i.
    EXPECT_NE(Folded(u"ı"), Folded(u"i"));
    // Folding a text part by part gives what folding it whole gives.
    std::u16string whole = u"Ǆemal Ĳssel-Œuvray ﬁsher";
    EXPECT_EQ(Folded(whole.substr(0, 7)) + Folded(whole.substr(7)), Folded(whole));
}

// Enough names to be sorted on two threads, of every kind a generated world has, with pairs that
// differ only by case or accents and letters that collate as two: the result is the collator's order,
// equal names marked as equal.
TEST(Sorting, ManyNamesComeOutInTheCollatorsOrder) {
    TKordoPregameDatabase database;
    KordoGenerate(database, {3000, 9, false});
    std::vector<std::u16string> names;
    for (const TKordoNames* table : {&database.FirstNames, &database.SecondNames, &database.CommonNames})
        for (const TKordoName* name : table->List())
            names.push_back(name->Name);
    const size_t generated = names.size();
    for (size_t i = 0; names.size() < 60000; ++i)
        names.push_back(names[i % generated] + u", " + names[(i * 7919) % generated]);
    for (const char16_t* extra :
         {u"Straße", u"STRASSE", u"Æbelø", u"Aebeloe", u"E\u0301lise", u"élise", u"ÉLISE"})
        names.push_back(extra);
    std::vector<uint32_t> entries(names.size());
    for (uint32_t i = 0; i < entries.size(); ++i)
        entries[i] = static_cast<uint32_t>((i * 104729ull) % entries.size());
    TKordoSorted sorted =
        TKordoCollation().Sort(entries, [&](uint32_t i) { return std::u16string_view(names[i]); });
    ASSERT_EQ(sorted.Size(), names.size());
    std::vector<uint8_t> seen(names.size(), 0);
    for (size_t i = 0; i < sorted.Size(); ++i) {
        ASSERT_FALSE(seen[sorted.Entries[i]]);
        seen[sorted.Entries[i]] = 1;
        if (i == 0)
            continue;
        int order = KordoCompareNames(names[sorted.Entries[i - 1]], names[sorted.Entries[i]]);
        ASSERT_LE(order, 0) << "place " << i;
        ASSERT_EQ(sorted.Same[i] != 0, order == 0) << "place " << i;
    }
}
