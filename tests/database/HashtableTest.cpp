#include "Hashtable.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

int Records[3];

TEST(Hashtable, KeysSharingABucketAreToldApart) {
    EXPECT_EQ(THashtable::HashIndex(-7, 5), THashtable::HashIndex(7, 5));
    EXPECT_EQ(THashtable::HashIndex(-5, 5), 0);
    EXPECT_EQ(THashtable::HashIndex(INT32_MIN, 3), 2);
    for (int32_t capacity : {0, 5}) { // 0 gives one bucket
        THashtable table(capacity);
        int32_t keys[] = {7, -7, INT32_MIN};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(table.Put(keys[i], &Records[i]), nullptr);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(table.Get(keys[i]), &Records[i]);
        EXPECT_EQ(table.Get(2), nullptr); // its bucket holds 7 and -7
        EXPECT_EQ(table.Count(), 3);
    }
}

TEST(Hashtable, PutOfAnExistingKeyReplacesAndReturnsTheOldValue) {
    THashtable table(4);
    table.Put(3, &Records[0]);
    EXPECT_EQ(table.Put(3, &Records[1]), &Records[0]);
    EXPECT_EQ(table.Count(), 1);
    EXPECT_EQ(table.Get(3), &Records[1]);
}

} // namespace
