// A fixed-size, separately chained map from 32-bit signed keys to record references. It never
// grows or rehashes; a record taken out of its table keeps its entry unless it is removed.
#pragma once

#include "KordoContainer.h"

#include <cstdint>
#include <vector>

class THashtable {
public:
    // A capacity of 0 gives 1 bucket; a negative capacity is taken as 1 as well.
    explicit THashtable(int32_t capacity);

    void* Get(int32_t key) const;
    // Stores value under key; returns the value stored there before, or nullptr for a new key.
    // A new key goes to the front of its bucket's chain.
    void* Put(int32_t key, void* value);
    // Takes the key out; returns the value it held, or nullptr when it was not there.
    void* Remove(int32_t key);
    void Clear();
    // A hint that key will be looked up or stored soon: its bucket is fetched into the cache. Loads
    // touch the buckets in random order, so fetching a few keys ahead hides the memory latency.
    void Prefetch(int32_t key) const {
#if defined(__GNUC__) || defined(__clang__)
        __builtin_prefetch(&Buckets[static_cast<size_t>(HashIndex(key, Capacity()))]);
#else
        (void)key;
#endif
    }

    int32_t Count() const {
        return NodeCount;
    }
    int32_t Capacity() const {
        return static_cast<int32_t>(Buckets.size());
    }
    // The bucket of a key: the remainder with the sign of the key, made positive.
    static int32_t HashIndex(int32_t key, int32_t capacity) {
        int32_t remainder = key % capacity; // |remainder| < capacity, so negating cannot overflow
        return remainder < 0 ? -remainder : remainder;
    }

private:
    static constexpr int32_t Empty = -2; // a bucket without a node
    static constexpr int32_t End = -1;   // the end of a chain
    struct TNode {
        int32_t Key;
        int32_t Next; // index into Overflow, End at the end of a chain; Empty marks an unused bucket
        void* Value;
    };
    // The head node of each chain lives in the bucket itself, so a lookup of a key that is alone in
    // its bucket (the usual case right after a load) touches one place in memory. Later nodes of a
    // chain live in one array, linked by index.
    TKordoRecordArray<TNode> Buckets;
    std::vector<TNode> Overflow;
    int32_t NodeCount = 0;
};
