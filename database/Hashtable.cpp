#include "Hashtable.h"

#include <algorithm>

THashtable::THashtable(int32_t capacity) : Buckets(static_cast<size_t>(capacity > 0 ? capacity : 1), -1) {
    Nodes.reserve(Buckets.size());
}

void* THashtable::Get(int32_t key) const {
    for (int32_t n = Buckets[static_cast<size_t>(HashIndex(key, Capacity()))]; n >= 0; n = Nodes[n].Next)
        if (Nodes[n].Key == key)
            return Nodes[n].Value;
    return nullptr;
}

void* THashtable::Put(int32_t key, void* value) {
    int32_t& head = Buckets[static_cast<size_t>(HashIndex(key, Capacity()))];
    for (int32_t n = head; n >= 0; n = Nodes[n].Next)
        if (Nodes[n].Key == key) {
            void* old = Nodes[n].Value;
            Nodes[n].Value = value;
            return old;
        }
    Nodes.push_back({key, head, value});
    head = static_cast<int32_t>(Nodes.size() - 1);
    ++NodeCount;
    return nullptr;
}

void THashtable::Clear() {
    Nodes.clear();
    std::fill(Buckets.begin(), Buckets.end(), -1);
    NodeCount = 0;
}
