// One description of a record's file layout serves both directions: a layout function takes a reader
// or a writer and names the pieces in file order, so reading and writing cannot drift apart.
#pragma once

#include "KordoRecords.h"

#include <string>

// Largest count a sub-list's count field of the given width can hold.
constexpr size_t KordoMaxListCount(int countBytes) {
    return countBytes == 1 ? 255 : 65535;
}

class TKordoReader {
public:
    static constexpr bool Reading = true;
    explicit TKordoReader(TKordoFileStream& stream) : Stream(stream) {}

    // Image bytes first..last, inclusive.
    template <size_t N> void Bytes(TKordoImage<N>& record, size_t first, size_t last) {
        Stream.Read(record.Image.data() + first, last - first + 1);
    }
    void Text(std::u16string& text) { Stream.ReadWideString(text); }
    void Opaque(TKordoOpaqueList& list, size_t entrySize, const char*) {
        size_t count = ReadCount(1, entrySize, "sub-list count");
        list.Bytes.resize(count * entrySize);
        Stream.Read(list.Bytes.data(), list.Bytes.size());
    }
    void Numbers(std::vector<uint32_t>& list, int countBytes, const char*) {
        size_t count = ReadCount(countBytes, 4, "sub-list count");
        list.resize(count);
        Stream.Read(list.data(), count * 4);
    }
    void Relations(std::vector<TKordoRelation>& list, const char*) {
        size_t count = ReadCount(1, 8, "relation count");
        ReadRelationEntries(list, count);
    }
    void ReadRelationEntries(std::vector<TKordoRelation>& list, size_t count) {
        list.resize(count);
        for (TKordoRelation& entry : list) {
            uint8_t raw[8];
            Stream.Read(raw, 8);
            entry.Kind = raw[0];
            entry.Relation = raw[1];
            std::memcpy(&entry.Amount, raw + 2, 2);
            std::memcpy(&entry.StoredTarget, raw + 4, 4);
            entry.Target = nullptr;
        }
    }
    size_t ReadCount(int countBytes, size_t entrySize, const char* what) {
        size_t count = countBytes == 1 ? Stream.ReadValue<uint8_t>() : Stream.ReadValue<uint16_t>();
        Stream.CheckCount(static_cast<int64_t>(count), static_cast<int64_t>(entrySize), what);
        return count;
    }

    TKordoFileStream& Stream;
};

class TKordoWriter {
public:
    static constexpr bool Reading = false;
    explicit TKordoWriter(TKordoFileStream& stream) : Stream(stream) {}

    template <size_t N> void Bytes(const TKordoImage<N>& record, size_t first, size_t last) {
        Stream.Write(record.Image.data() + first, last - first + 1);
    }
    void Text(const std::u16string& text) { Stream.WriteWideString(text); }
    void Opaque(const TKordoOpaqueList& list, size_t entrySize, const char* what) {
        WriteCount(1, list.Bytes.size() / entrySize, what);
        Stream.Write(list.Bytes.data(), list.Bytes.size());
    }
    void Numbers(const std::vector<uint32_t>& list, int countBytes, const char* what) {
        WriteCount(countBytes, list.size(), what);
        Stream.Write(list.data(), list.size() * 4);
    }
    void Relations(const std::vector<TKordoRelation>& list, const char* what) {
        WriteCount(1, list.size(), what);
        WriteRelationEntries(list);
    }
    void WriteRelationEntries(const std::vector<TKordoRelation>& list) {
        for (const TKordoRelation& entry : list) {
            uint8_t raw[8] = {entry.Kind, entry.Relation};
            std::memcpy(raw + 2, &entry.Amount, 2);
            std::memcpy(raw + 4, &entry.StoredTarget, 4);
            Stream.Write(raw, 8);
        }
    }
    // A list longer than its count field can hold is refused rather than written with a wrapped
    // count that would disagree with the entries after it.
    void WriteCount(int countBytes, size_t count, const char* what) {
        if (count > KordoMaxListCount(countBytes))
            Stream.Fail(std::string(what) + " holds " + std::to_string(count) +
                        " entries; the file can store at most " +
                        std::to_string(KordoMaxListCount(countBytes)));
        if (countBytes == 1)
            Stream.WriteValue<uint8_t>(static_cast<uint8_t>(count));
        else
            Stream.WriteValue<uint16_t>(static_cast<uint16_t>(count));
    }

    TKordoFileStream& Stream;
};
