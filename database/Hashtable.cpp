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

void* THashtable::Remove(int32_t key) {
    TNode& head = Buckets[static_cast<size_t>(HashIndex(key, Capacity()))];
    if (head.Next == Empty)
        return nullptr;
    if (head.Key == key) {
        void* old = head.Value;
        // The next node of the chain moves into the bucket; its place in the overflow array stays unused.
        head = head.Next == End ? TNode{0, Empty, nullptr} : Overflow[static_cast<size_t>(head.Next)];
        --NodeCount;
        return old;
    }
    for (TNode* node = &head; node->Next != End; node = &Overflow[static_cast<size_t>(node->Next)]) {
        TNode& next = Overflow[static_cast<size_t>(node->Next)];
        if (next.Key == key) {
            node->Next = next.Next;
            --NodeCount;
            return next.Value;
        }
    }
    return nullptr;
}

void THashtable::Clear() {
    Overflow.clear();
    std::fill(Buckets.begin(), Buckets.end(), TNode{0, Empty, nullptr});
    NodeCount = 0;
}
