// Builders for database fixtures, and helpers that run a table over memory streams.
#pragma once

#include "KordoSupportClasses.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

using TByteVector = std::vector<uint8_t>;
using TStreamAction = std::function<void(TKordoFileStream&)>;
inline constexpr const char* TestFileName = "test.dat";

// Little-endian integers, wide strings and byte patterns, appended in file order.
struct TBytes {
    TByteVector Data;

    TBytes& Int(int64_t value, int width = 4) {
        for (int i = 0; i < width; ++i)
            Data.push_back(static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i)));
        return *this;
    }
    TBytes& U8(int64_t value) { return Int(value, 1); }
    TBytes& U16(int64_t value) { return Int(value, 2); }
    // Bytes first, first + step, ...: distinct bytes show a piece read into the wrong place.
    TBytes& Pattern(size_t count, int first, int step = 1) {
        for (size_t i = 0; i < count; ++i)
            U8(first + step * static_cast<int64_t>(i));
        return *this;
    }
    TBytes& Text(const std::u16string& text, uint16_t terminator = 0) {
        Int(static_cast<int64_t>(text.size()));
        for (char16_t unit : text)
            U16(unit);
        return text.empty() ? *this : U16(terminator);
    }
    TBytes& Add(const TByteVector& bytes) {
        Data.insert(Data.end(), bytes.begin(), bytes.end());
        return *this;
    }
};

// A table in file form: its count, then its records.
inline TByteVector Table(std::initializer_list<TByteVector> records) {
    TBytes b;
    b.Int(static_cast<int64_t>(records.size()));
    for (const TByteVector& record : records)
        b.Add(record);
    return b.Data;
}

// The text of the TKordoError that `run` throws, or "".
inline std::string ErrorOf(const std::function<void()>& run) {
    try {
        run();
    } catch (const TKordoError& e) {
        return e.what();
    }
    return "";
}

// Runs `load` over the bytes, expecting it to read them all; returns the error text, or "".
inline std::string LoadFrom(const TByteVector& bytes, const TStreamAction& load) {
    return ErrorOf([&] {
        TKordoFileStream stream(bytes, TestFileName);
        load(stream);
        EXPECT_EQ(stream.Remaining(), 0) << "bytes left unread";
    });
}

inline TByteVector Saved(const TStreamAction& save) {
    TByteVector out;
    TKordoFileStream stream(std::make_unique<TKordoMemoryDevice>(out), TestFileName);
    save(stream);
    stream.Flush();
    return out;
}

// Loads a fixture; a failure ends the test, since the table is then only partly filled.
template <class Table> void Load(Table& table, const TByteVector& bytes) {
    std::string error = LoadFrom(bytes, [&](TKordoFileStream& s) { table.LoadFromStream(s); });
    if (!error.empty())
        throw std::runtime_error("fixture failed to load: " + error);
}
template <class Table> TByteVector Save(Table& table) {
    return Saved([&](TKordoFileStream& s) { table.SaveToStream(s); });
}
template <class Table> TStreamAction Loader() {
    return [](TKordoFileStream& s) { Table().LoadFromStream(s); };
}

inline void ExpectMentions(const std::string& text, std::initializer_list<std::string> parts) {
    for (const std::string& part : parts)
        EXPECT_NE(text.find(part), std::string::npos) << "'" << part << "' missing from: '" << text << "'";
}

// Every proper prefix of a table fails to load with an error naming the file, table and offset.
inline void ExpectEveryTruncationFails(const TByteVector& bytes, const std::string& table,
                                       const TStreamAction& load) {
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE("truncated to " + std::to_string(cut) + " bytes");
        TByteVector prefix(bytes.begin(), bytes.begin() + static_cast<long>(cut));
        ExpectMentions(LoadFrom(prefix, load), {TestFileName, "table " + table, "byte offset"});
    }
}
