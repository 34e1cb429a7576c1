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

TEST(Hashtable, RemovingAKeyAnywhereInItsChainKeepsTheOthers) {
    // One bucket: the chain holds every key, the newest at its head.
    for (int32_t removed : {1, 2, 3, 4}) {
        THashtable table(0);
        for (int32_t key = 1; key <= 3; ++key)
            table.Put(key, &Records[key - 1]);
        EXPECT_EQ(table.Remove(removed), removed <= 3 ? &Records[removed - 1] : nullptr);
        EXPECT_EQ(table.Count(), removed <= 3 ? 2 : 3);
        for (int32_t key = 1; key <= 3; ++key)
            EXPECT_EQ(table.Get(key), key == removed ? nullptr : &Records[key - 1]) << removed << " " << key;
        // The key comes back, and so does a chain emptied to its last key.
        table.Put(removed, &Records[0]);
        EXPECT_EQ(table.Get(removed), &Records[0]);
    }
    THashtable single(4);
    single.Put(6, &Records[2]);
    EXPECT_EQ(single.Remove(6), &Records[2]);
    EXPECT_EQ(single.Get(6), nullptr);
    EXPECT_EQ(single.Remove(6), nullptr);
    EXPECT_EQ(single.Count(), 0);
}

} // namespace
