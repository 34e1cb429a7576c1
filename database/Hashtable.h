// A fixed-size, separately chained map from 32-bit signed keys to record references. It never
// grows or rehashes and has no removal: a record taken out of its table keeps its entry.
#pragma once

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
    void Clear();

    int32_t Count() const { return NodeCount; }
    int32_t Capacity() const { return static_cast<int32_t>(Buckets.size()); }
    // The bucket of a key: the remainder with the sign of the key, made positive.
    static int32_t HashIndex(int32_t key, int32_t capacity) {
        int32_t remainder = key % capacity; // |remainder| < capacity, so negating cannot overflow
        return remainder < 0 ? -remainder : remainder;
    }

private:
    struct TNode {
        int32_t Key;
        int32_t Next; // index into Nodes, -1 at the end of a chain
        void* Value;
    };
    // Nodes live in one array and are linked by index, so a load of many keys costs no allocation
    // per key and the chains stay valid when the array grows.
    std::vector<TNode> Nodes;
    std::vector<int32_t> Buckets; // head node of each chain, -1 when empty
    int32_t NodeCount = 0;
};
