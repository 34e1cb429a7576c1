#include "Hashtable.h"

#include <algorithm>

THashtable::THashtable(int32_t capacity)
    : Buckets(static_cast<size_t>(capacity > 0 ? capacity : 1), TNode{0, Empty, nullptr}) {}

void* THashtable::Get(int32_t key) const {
    const TNode* node = &Buckets[static_cast<size_t>(HashIndex(key, Capacity()))];
    if (node->Next == Empty)
        return nullptr;
    while (true) {
        if (node->Key == key)
            return node->Value;
        if (node->Next == End)
            return nullptr;
        node = &Overflow[static_cast<size_t>(node->Next)];
    }
}

void* THashtable::Put(int32_t key, void* value) {
    TNode& head = Buckets[static_cast<size_t>(HashIndex(key, Capacity()))];
    if (head.Next == Empty) {
        head = TNode{key, End, value};
        ++NodeCount;
        return nullptr;
    }
    for (TNode* node = &head;; node = &Overflow[static_cast<size_t>(node->Next)]) {
        if (node->Key == key) {
            void* old = node->Value;
            node->Value = value;
            return old;
        }
        if (node->Next == End)
            break;
    }
    // The new key goes to the front: the old head moves out of the bucket into the overflow array.
    Overflow.push_back(head);
    head = TNode{key, static_cast<int32_t>(Overflow.size() - 1), value};
    ++NodeCount;
    return nullptr;
}

void THashtable::Clear() {
    Overflow.clear();
    std::fill(Buckets.begin(), Buckets.end(), TNode{0, Empty, nullptr});
    NodeCount = 0;
}
