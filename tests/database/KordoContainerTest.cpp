#include "KordoContainer.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Sorts items such as "a1" by their digit and returns their letters in the new order.
std::string SortByDigit(std::vector<std::string> list) {
    KordoListSort(list, [](const std::string& a, const std::string& b) { return a[1] - b[1]; });
    std::string order;
    for (const std::string& item : list)
        order += item[0];
    return order;
}

TEST(ListSort, EqualElementsAreSwappedFromBothEnds) {
    EXPECT_EQ(SortByDigit({}), "");
    EXPECT_EQ(SortByDigit({"a0"}), "a");
    EXPECT_EQ(SortByDigit({"a0", "b0", "c0"}), "cba");
    EXPECT_EQ(SortByDigit({"a0", "b0", "c0", "d0"}), "cdab");
}

// Worked by hand through the partitioning steps; a stable sort gives "bdfhaceg" and "dgbehacfi".
TEST(ListSort, OrderOfEqualKeysFollowsTheQuicksortExactly) {
    EXPECT_EQ(SortByDigit({"a1", "b0", "c1", "d0", "e1", "f0", "g1", "h0"}), "dfhbgaec");
    EXPECT_EQ(SortByDigit({"a2", "b1", "c2", "d0", "e1", "f2", "g0", "h1", "i2"}), "dghebaifc");
    EXPECT_EQ(SortByDigit({"a5", "b3", "c9", "d1", "e7", "f0"}), "fdbaec");
}

// The quicksort in its recursive form, with the middle element as the pivot: the order equal keys
// end in is that of this form, however the sort keeps its pending ranges.
void RecursiveQuicksort(std::vector<int>& list, int64_t left, int64_t right) {
    int64_t i = left, j = right;
    const int pivot = list[static_cast<size_t>((left + right) / 2)];
    while (i <= j) {
        while (list[static_cast<size_t>(i)] / 1000 < pivot / 1000)
            ++i;
        while (list[static_cast<size_t>(j)] / 1000 > pivot / 1000)
            --j;
        if (i <= j)
            std::swap(list[static_cast<size_t>(i++)], list[static_cast<size_t>(j--)]);
    }
    if (left < j)
        RecursiveQuicksort(list, left, j);
    if (i < right)
        RecursiveQuicksort(list, i, right);
}

// Random lists with many equal keys (the thousands; the rest tells the elements apart).
TEST(ListSort, LeavesEqualKeysWhereTheRecursiveQuicksortLeavesThem) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<int> list(random() % 40);
        for (size_t i = 0; i < list.size(); ++i)
            list[i] = static_cast<int>(random() % 5) * 1000 + static_cast<int>(i);
        std::vector<int> expected = list;
        if (expected.size() > 1)
            RecursiveQuicksort(expected, 0, static_cast<int64_t>(expected.size()) - 1);
        KordoListSort(list, [](int a, int b) { return a / 1000 - b / 1000; });
        ASSERT_EQ(list, expected) << "round " << round;
    }
}

} // namespace
