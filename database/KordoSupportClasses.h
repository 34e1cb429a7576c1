// The file stream every table reads itself from and writes itself to, and the error it raises.
#pragma once

#include "KordoPlatform.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

static_assert(std::endian::native == std::endian::little,
              "the database files are little-endian and records are copied as raw images");

// Any failure while reading or writing a database file. The text names the file, the table, the
// record and the byte offset where they are known, or the system's reason.
class TKordoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where a write stream's bytes go. A save writes into a temporary file's device; a caller may put
// another device around it (tests: one that fails after a given number of bytes).
class TKordoByteDevice {
public:
    virtual ~TKordoByteDevice() = default;
    // Writes all n bytes or throws TKordoError with the system's reason.
    virtual void Write(const uint8_t* data, size_t n) = 0;
    // Pushes everything written so far to permanent storage (no-op for memory devices).
    virtual void Sync() {}
};

// Appends every byte to a vector; used by tests and by in-memory round trips.
class TKordoMemoryDevice : public TKordoByteDevice {
public:
    explicit TKordoMemoryDevice(std::vector<uint8_t>& target) : Target(target) {}
    void Write(const uint8_t* data, size_t n) override { Target.insert(Target.end(), data, data + n); }

private:
    std::vector<uint8_t>& Target;
};

// A buffered file stream. Reading pulls the file through a large block buffer, so the many small
// piecewise reads of the tables cost a memcpy each; every read is checked and a short one throws.
// Writing collects bytes in a block buffer and hands full blocks to a device; every write is checked.
class TKordoFileStream {
public:
    // A read stream over a file on disk, which must be a regular file (nothing else is opened, so
    // nothing can make the open wait).
    explicit TKordoFileStream(const std::filesystem::path& fileName);
    // A read stream over bytes in memory; displayName stands for the file in error texts.
    TKordoFileStream(std::vector<uint8_t> bytes, std::string displayName);
    // A write stream into a device.
    TKordoFileStream(std::unique_ptr<TKordoByteDevice> device, std::string displayName);
    ~TKordoFileStream();
    TKordoFileStream(const TKordoFileStream&) = delete;
    TKordoFileStream& operator=(const TKordoFileStream&) = delete;

    // Reads exactly n bytes or throws (naming file, table, record and offset).
    void Read(void* buffer, size_t n);
    void Write(const void* buffer, size_t n);
    void SeekFromBeginning(int64_t offset);
    void SeekFromCurrent(int64_t offset);
    int64_t Position() const { return Pos; }
    int64_t Size() const { return FileSize; }
    int64_t Remaining() const { return FileSize - Pos; }

    template <class T> T ReadValue() {
        T value;
        Read(&value, sizeof(T));
        return value;
    }
    template <class T> void WriteValue(T value) { Write(&value, sizeof(T)); }

    // Wide string: a signed 32-bit count of UTF-16 code units, the code units, and a 16-bit
    // terminator present only when the count is above 0. A count below 1 reads as empty; the
    // terminator is passed over unchecked.
    void ReadWideString(std::u16string& value);
    void WriteWideString(const std::u16string& value);

    // Fails unless count items of at least minBytesEach bytes can still lie in the file. Used before
    // anything is sized from a count read from the file.
    void CheckCount(int64_t count, int64_t minBytesEach, const char* what);

    // Sends buffered bytes to the device; Sync also makes them durable on disk.
    void Flush();
    void Sync();

    // Context for error texts: the table being read or written and the record within it (-1: none).
    void SetTable(std::string table) {
        Table = std::move(table);
        Record = -1;
    }
    void SetRecord(int64_t record) { Record = record; }
    const std::string& FileName() const { return DisplayName; }
    [[noreturn]] void Fail(const std::string& reason) const;

private:
    void Refill(size_t atLeast);
    bool Writing = false;
    std::string DisplayName;
    std::string Table;
    int64_t Record = -1;
    TKordoFile File;
    std::unique_ptr<TKordoByteDevice> Device;
    std::vector<uint8_t> Buffer;
    size_t BufferStart = 0; // read: index of the next unread byte in Buffer
    size_t BufferEnd = 0;   // read: bytes valid in Buffer; write: bytes pending
    int64_t Pos = 0;
    int64_t FileSize = 0;
    bool Failed = false;
};
