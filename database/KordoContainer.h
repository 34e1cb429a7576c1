// What every table shares: progress reporting, a virtual Clear, record images with typed field
// access, and the list sort that orders names, people and club relation entries for saving.
#pragma once

#include "KordoPlatform.h"
#include "KordoSupportClasses.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Allocates the large arrays of a table (a quarter of a million people take over 100 MB) in huge
// pages where the system offers them: touching fresh memory a small page at a time costs more than
// reading the files. Small arrays come from the ordinary allocator.
template <class T> struct TKordoLargeAllocator {
    using value_type = T;
    static constexpr size_t LargeBytes = size_t{4} << 20;
    TKordoLargeAllocator() = default;
    template <class U> TKordoLargeAllocator(const TKordoLargeAllocator<U>&) {}
    T* allocate(size_t n) {
        if (n > SIZE_MAX / sizeof(T))
            throw std::bad_alloc();
        if (n * sizeof(T) >= LargeBytes)
            return static_cast<T*>(KordoAllocateLarge(n * sizeof(T)));
        return std::allocator<T>().allocate(n);
    }
    void deallocate(T* p, size_t n) {
        if (n * sizeof(T) >= LargeBytes)
            KordoFreeLarge(p, n * sizeof(T));
        else
            std::allocator<T>().deallocate(p, n);
    }
    template <class U> bool operator==(const TKordoLargeAllocator<U>&) const { return true; }
};

// The array of a table's records, sized once from the record count.
template <class T> using TKordoRecordArray = std::vector<T, TKordoLargeAllocator<T>>;

using TKordoProgressEvent = std::function<void(int32_t)>;

class TKordoChangeJournal;

// The percentage after item `row` (from 0) of `total` items; 100 when there are no items.
inline int32_t KordoPercentage(int64_t total, int64_t row) {
    if (total <= 0)
        return 100;
    return static_cast<int32_t>((static_cast<double>(row) + 1.0) / static_cast<double>(total) * 100.0);
}

class TKordoContainer {
public:
    TKordoContainer() = default;
    TKordoContainer(const TKordoContainer&) = delete;
    TKordoContainer& operator=(const TKordoContainer&) = delete;
    virtual ~TKordoContainer() = default;
    virtual void Clear() = 0;

    TKordoProgressEvent OnProgress;
    // While set, the table reports its list changes here, and touches the records it writes.
    TKordoChangeJournal* Journal = nullptr;
    // The name the table goes by in status and error texts ("Clubs", "First Names").
    std::string TableName;

protected:
    // Called after every record read or written, also when the percentage has not changed.
    void ReportProgress(int64_t total, int64_t row) const {
        if (OnProgress)
            OnProgress(KordoPercentage(total, row));
    }
};

// Puts the item into the list at the row, or at the end when the row lies beyond it; returns the row.
template <class T> int32_t KordoInsertAt(std::vector<T*>& list, int32_t row, T* item) {
    row = std::clamp(row, 0, static_cast<int32_t>(list.size()));
    list.insert(list.begin() + row, item);
    return row;
}

// Takes the item out of the list: from the row when it holds the item, else from the item's first
// place. Returns the row it had, or -1 when it was not listed.
template <class T> int32_t KordoEraseFrom(std::vector<T*>& list, const T* item, int32_t row) {
    auto found = row >= 0 && static_cast<size_t>(row) < list.size() && list[static_cast<size_t>(row)] == item
                     ? list.begin() + row
                     : std::find(list.begin(), list.end(), item);
    if (found == list.end())
        return -1;
    row = static_cast<int32_t>(found - list.begin());
    list.erase(found);
    return row;
}

// A fixed-size packed record image with little-endian fields at fixed offsets.
template <size_t Size> struct TKordoImage {
    static constexpr size_t ImageSize = Size;
    std::array<uint8_t, Size> Image{};

    template <class T> T Get(size_t offset) const {
        T value;
        std::memcpy(&value, Image.data() + offset, sizeof(T));
        return value;
    }
    template <class T> void Put(size_t offset, T value) {
        std::memcpy(Image.data() + offset, &value, sizeof(T));
    }
    bool operator==(const TKordoImage&) const = default;
};

// Getter and setter for one field of a record image.
#define KORDO_FIELD(Type, Name, Offset)                                                                      \
    Type Name() const {                                                                                      \
        return this->template Get<Type>(Offset);                                                             \
    }                                                                                                        \
    void Set##Name(Type value) {                                                                             \
        this->template Put<Type>(Offset, value);                                                             \
    }

// A game date: day of the year from 0, then the year. Day 0 of 1900 stands for "no date".
struct TKordoGameDate {
    uint16_t Day = 0;
    uint16_t Year = 1900;
    friend bool operator==(const TKordoGameDate&, const TKordoGameDate&) = default;
};
static_assert(sizeof(TKordoGameDate) == 4);

// A counted sub-list of entries the program does not interpret, kept as their raw bytes.
struct TKordoOpaqueList {
    std::vector<uint8_t> Bytes;
    bool operator==(const TKordoOpaqueList&) const = default;
};

// The unstable in-place quicksort every ordering step uses. Its order of equal elements is part of
// the file format: an unchanged database is written back in exactly the order this procedure
// leaves, so it must not be replaced by another sort. `compare` answers <0, 0 or >0.
// The two ranges left after each partition are disjoint, so sorting them from an explicit stack
// gives the same result as the recursive form without deep recursion on hostile input.
template <class T, class Compare> void KordoListSort(std::vector<T>& list, Compare compare) {
    if (list.size() < 2)
        return;
    std::vector<std::pair<int64_t, int64_t>> pending{{0, static_cast<int64_t>(list.size()) - 1}};
    while (!pending.empty()) {
        auto [left, right] = pending.back();
        pending.pop_back();
        int64_t i;
        do {
            i = left;
            int64_t j = right;
            T pivot = list[static_cast<size_t>((left + right) / 2)];
            do {
                while (compare(list[static_cast<size_t>(i)], pivot) < 0)
                    ++i;
                while (compare(list[static_cast<size_t>(j)], pivot) > 0)
                    --j;
                if (i <= j) {
                    std::swap(list[static_cast<size_t>(i)], list[static_cast<size_t>(j)]);
                    ++i;
                    --j;
                }
            } while (i <= j);
            if (left < j)
                pending.emplace_back(left, j);
            left = i;
        } while (i < right);
    }
}
