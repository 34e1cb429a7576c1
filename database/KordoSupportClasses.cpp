#include "KordoSupportClasses.h"

#include <algorithm>

namespace {

constexpr size_t BlockSize = 1 << 20;
constexpr size_t FirstWriteBlock = 64 << 10; // a write buffer grows to BlockSize as the file does

} // namespace

TKordoFileStream::TKordoFileStream(const std::filesystem::path& fileName)
    : DisplayName(fileName.filename().string()) {
    std::string reason;
    if (!File.OpenForReading(fileName, reason))
        throw TKordoError("cannot open " + fileName.string() + ": " + reason);
    FileSize = File.Size(reason);
    if (FileSize < 0)
        throw TKordoError("cannot read " + fileName.string() + ": " + reason);
    Buffer.resize(static_cast<size_t>(std::min<int64_t>(FileSize, BlockSize)));
}

TKordoFileStream::TKordoFileStream(std::vector<uint8_t> bytes, std::string displayName)
    : DisplayName(std::move(displayName)), Buffer(std::move(bytes)) {
    BufferEnd = Buffer.size();
    FileSize = static_cast<int64_t>(Buffer.size());
}

TKordoFileStream::TKordoFileStream(std::unique_ptr<TKordoByteDevice> device, std::string displayName)
    : Writing(true), DisplayName(std::move(displayName)), Device(std::move(device)) {
    Buffer.resize(FirstWriteBlock);
}

TKordoFileStream::~TKordoFileStream() = default;

void TKordoFileStream::Fail(const std::string& reason) const {
    std::string text = DisplayName;
    if (!Table.empty())
        text += ", table " + Table;
    if (Record >= 0)
        text += ", record " + std::to_string(Record);
    text += ", byte offset " + std::to_string(Pos) + ": " + reason;
    throw TKordoError(text);
}

void TKordoFileStream::Refill(size_t atLeast) {
    // Keep the unread tail, then fill the rest of the buffer from the file.
    size_t left = BufferEnd - BufferStart;
    if (!File.IsOpen()) // memory stream: everything is already in the buffer
        return;
    if (Buffer.size() < atLeast)
        Buffer.resize(atLeast);
    std::memmove(Buffer.data(), Buffer.data() + BufferStart, left);
    BufferStart = 0;
    BufferEnd = left;
    int64_t fileLeft = FileSize - Pos - static_cast<int64_t>(left);
    size_t want =
        static_cast<size_t>(std::min<int64_t>(fileLeft, static_cast<int64_t>(Buffer.size() - left)));
    while (want > 0) {
        std::string reason;
        int64_t got = File.Read(Buffer.data() + BufferEnd, want, reason);
        if (got < 0)
            Fail("read error: " + reason);
        if (got == 0) // the file shrank; the caller reports the short read
            break;
        BufferEnd += static_cast<size_t>(got);
        want -= static_cast<size_t>(got);
    }
}

void TKordoFileStream::Read(void* buffer, size_t n) {
    if (BufferEnd - BufferStart < n) {
        if (static_cast<int64_t>(n) > FileSize - Pos)
            Fail("unexpected end of file (" + std::to_string(n) + " bytes needed, " +
                 std::to_string(FileSize - Pos) + " left)");
        Refill(n);
        if (BufferEnd - BufferStart < n)
            Fail("unexpected end of file (" + std::to_string(n) + " bytes needed)");
    }
    if (n > 0)
        std::memcpy(buffer, Buffer.data() + BufferStart, n);
    BufferStart += n;
    Pos += static_cast<int64_t>(n);
}

void TKordoFileStream::Write(const void* buffer, size_t n) {
    if (Failed)
        Fail("an earlier write failed");
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    try {
        while (n > 0) {
            size_t room = Buffer.size() - BufferEnd;
            if (room == 0 && Buffer.size() < BlockSize) {
                Buffer.resize(Buffer.size() * 2);
                room = Buffer.size() - BufferEnd;
            }
            if (room == 0) {
                Device->Write(Buffer.data(), BufferEnd);
                BufferEnd = 0;
                room = Buffer.size();
            }
            size_t chunk = std::min(room, n);
            std::memcpy(Buffer.data() + BufferEnd, bytes, chunk);
            BufferEnd += chunk;
            bytes += chunk;
            n -= chunk;
            Pos += static_cast<int64_t>(chunk);
        }
    } catch (const TKordoError& e) {
        Failed = true;
        Fail(e.what());
    }
}

void TKordoFileStream::Flush() {
    if (!Writing)
        return;
    // The device may already hold part of the pending bytes; sending them again would repeat them.
    if (Failed)
        Fail("an earlier write failed");
    if (BufferEnd == 0)
        return;
    try {
        Device->Write(Buffer.data(), BufferEnd);
        BufferEnd = 0;
    } catch (const TKordoError& e) {
        Failed = true;
        Fail(e.what());
    }
}

void TKordoFileStream::Sync() {
    Flush();
    try {
        Device->Sync();
    } catch (const TKordoError& e) {
        Failed = true;
        Fail(e.what());
    }
}

void TKordoFileStream::SeekFromBeginning(int64_t offset) {
    if (Writing)
        Fail("seek on a write stream");
    if (offset < 0 || offset > FileSize)
        Fail("seek to " + std::to_string(offset) + " lies outside the file");
    int64_t bufferBase = Pos - static_cast<int64_t>(BufferStart);
    if (!File.IsOpen() || (offset >= bufferBase && offset <= bufferBase + static_cast<int64_t>(BufferEnd))) {
        BufferStart = static_cast<size_t>(offset - bufferBase);
        Pos = offset;
        return;
    }
    std::string reason;
    if (!File.Seek(offset, reason))
        Fail("seek error: " + reason);
    BufferStart = BufferEnd = 0;
    Pos = offset;
}

void TKordoFileStream::SeekFromCurrent(int64_t offset) {
    SeekFromBeginning(Pos + offset);
}

void TKordoFileStream::CheckCount(int64_t count, int64_t minBytesEach, const char* what) {
    if (count < 0)
        Fail(std::string("negative ") + what + " " + std::to_string(count));
    // Widened before multiplying, so a count near 2^31 cannot wrap.
    if (minBytesEach > 0 && count > Remaining() / minBytesEach)
        Fail(std::string(what) + " " + std::to_string(count) + " needs at least " +
             std::to_string(count * minBytesEach) + " bytes, but only " + std::to_string(Remaining()) +
             " are left");
}

void TKordoFileStream::ReadWideString(std::u16string& value) {
    value.clear();
    int32_t length = ReadValue<int32_t>();
    if (length < 1)
        return;
    CheckCount(length, 2, "string length");
    value.resize(static_cast<size_t>(length));
    Read(value.data(), static_cast<size_t>(length) * 2);
    // The terminator is passed over unchecked; a file that ends right after the text still fails.
    uint16_t terminator;
    Read(&terminator, 2);
}

void TKordoFileStream::WriteWideString(const std::u16string& value) {
    if (value.size() > static_cast<size_t>(INT32_MAX))
        Fail("string too long to store");
    WriteValue<int32_t>(static_cast<int32_t>(value.size()));
    if (!value.empty()) {
        Write(value.data(), value.size() * 2);
        WriteValue<uint16_t>(0);
    }
}
