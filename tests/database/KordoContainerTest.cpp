#include "KordoContainer.h"

#include <gtest/gtest.h>

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

} // namespace
