#include "KordoCommit.h"

#include "KordoPregameDatabase.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <set>

namespace fs = std::filesystem;

// Checksum -------------------------------------------------------------------------------------------------

namespace {

constexpr uint64_t Prime1 = 0x9E3779B185EBCA87u;
constexpr uint64_t Prime2 = 0xC2B2AE3D27D4EB4Fu;
constexpr uint64_t Prime3 = 0x165667B19E3779F9u;
constexpr uint64_t Prime4 = 0x85EBCA77C2B2AE63u;
constexpr uint64_t Prime5 = 0x27D4EB2F165667C5u;

uint64_t Rotate(uint64_t value, int bits) {
    return (value << bits) | (value >> (64 - bits));
}
uint64_t Mix(uint64_t lane, uint64_t word) {
    return Rotate(lane + word * Prime2, 31) * Prime1;
}
uint64_t Word(const uint8_t* bytes) {
    uint64_t word;
    std::memcpy(&word, bytes, 8);
    return word;
}

} // namespace

void TKordoChecksum::Stripe(const uint8_t* data) {
    Lanes[0] = Mix(Lanes[0], Word(data));
    Lanes[1] = Mix(Lanes[1], Word(data + 8));
    Lanes[2] = Mix(Lanes[2], Word(data + 16));
    Lanes[3] = Mix(Lanes[3], Word(data + 24));
}

void TKordoChecksum::Add(const uint8_t* data, size_t n) {
    Total += n;
    if (TailSize > 0) {
        const size_t take = std::min(n, sizeof Tail - TailSize);
        std::memcpy(Tail + TailSize, data, take);
        TailSize += take;
        data += take;
        n -= take;
        if (TailSize < sizeof Tail)
            return;
        Stripe(Tail);
        TailSize = 0;
    }
    for (; n >= sizeof Tail; data += sizeof Tail, n -= sizeof Tail)
        Stripe(data);
    if (n > 0)
        std::memcpy(Tail, data, n);
    TailSize = n;
}

uint64_t TKordoChecksum::Value() const {
    uint64_t value = Rotate(Lanes[0], 1) + Rotate(Lanes[1], 7) + Rotate(Lanes[2], 12) + Rotate(Lanes[3], 18);
    for (uint64_t lane : Lanes)
        value = (value ^ Mix(0, lane)) * Prime1 + Prime4;
    value += Total;
    for (size_t i = 0; i < TailSize; ++i)
        value = Rotate(value ^ (Tail[i] * Prime5), 11) * Prime1;
    value ^= value >> 33;
    value *= Prime2;
    value ^= value >> 29;
    value *= Prime3;
    value ^= value >> 32;
    return value;
}

// Names ----------------------------------------------------------------------------------------------------

namespace {

constexpr const char* TemporarySuffix = ".kordo-tmp";
constexpr size_t RandomDigits = 16;

std::string RandomDigitsText() {
    static std::mt19937_64 generator = [] {
        std::random_device device;
        int local = 0;
        std::seed_seq seed{device(), device(),
                           static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()),
                           static_cast<unsigned>(reinterpret_cast<uintptr_t>(&local))};
        return std::mt19937_64(seed);
    }();
    static const char Hex[] = "0123456789abcdef";
    uint64_t value = generator();
    std::string text(RandomDigits, '0');
    for (char& digit : text) {
        digit = Hex[value & 15];
        value >>= 4;
    }
    return text;
}

// ".server_db.dat.0123456789abcdef.kordo-tmp" beside server_db.dat.
fs::path TemporaryBeside(const fs::path& file) {
    fs::path name = ".";
    name += file.filename();
    name += "." + RandomDigitsText() + TemporarySuffix;
    return file.parent_path() / name;
}

fs::path WithBak(const fs::path& file) {
    fs::path backup = file;
    backup += ".bak";
    return backup;
}

std::string Shown(const fs::path& path) {
    return KordoPathText(path);
}

bool Exists(const fs::path& path) {
    return KordoFileKindOf(path) != TKordoFileKind::Missing;
}

void Rename(const fs::path& from, const fs::path& to) {
    std::string reason;
    if (!KordoRenameFile(from, to, reason))
        throw TKordoError("cannot rename " + Shown(from) + " to " + Shown(to) + ": " + reason);
}

void Remove(const fs::path& file) {
    std::string reason;
    if (!KordoRemoveFile(file, reason))
        throw TKordoError("cannot remove " + Shown(file) + ": " + reason);
}

void SyncFolders(const std::set<fs::path>& folders) {
    for (const fs::path& folder : folders) {
        std::string reason;
        if (!KordoSyncFolder(folder, reason))
            throw TKordoError("cannot flush the folder " + Shown(folder) + " to disk: " + reason);
    }
}

// Makes a new name with `make` under fresh temporary names beside `beside` until one is not taken.
fs::path UnderFreshName(const fs::path& beside,
                        const std::function<bool(const fs::path&, std::string&)>& make,
                        const std::string& failure) {
    for (int attempt = 0;; ++attempt) {
        fs::path name = TemporaryBeside(beside);
        std::string reason;
        if (make(name, reason))
            return name;
        // Only a name that is taken is worth another try.
        if (attempt == 7 || !Exists(name))
            throw TKordoError(failure + ": " + reason);
    }
}

// A second name, under a fresh temporary name, for the file `existing`.
fs::path LinkTemporary(const fs::path& existing) {
    return UnderFreshName(
        existing,
        [&](const fs::path& name, std::string& reason) { return KordoLinkFile(existing, name, reason); },
        "cannot make a second name for " + Shown(existing));
}

} // namespace

fs::path KordoCreateTemporary(const fs::path& beside, const fs::path& permissionsOf, TKordoFile& file) {
    return UnderFreshName(
        beside,
        [&](const fs::path& name, std::string& reason) {
            return file.CreateNew(name, permissionsOf, reason);
        },
        "cannot create a temporary file beside " + Shown(beside));
}

bool KordoIsTemporaryName(const std::string& fileName) {
    const std::string suffix = TemporarySuffix;
    if (fileName.size() < 2 + RandomDigits + 1 + suffix.size() || fileName[0] != '.' ||
        !fileName.ends_with(suffix))
        return false;
    const size_t digits = fileName.size() - suffix.size() - RandomDigits;
    if (fileName[digits - 1] != '.')
        return false;
    return std::all_of(fileName.begin() + static_cast<std::ptrdiff_t>(digits),
                       fileName.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// Targets --------------------------------------------------------------------------------------------------

namespace {

// The folder as an absolute path without a trailing separator, so that names compare as written.
fs::path Normal(const fs::path& folder) {
    return (fs::absolute(folder) / "").lexically_normal().parent_path();
}

} // namespace

fs::path KordoFileBehind(const fs::path& name) {
    if (KordoFileKindOf(name) != TKordoFileKind::SymbolicLink)
        return name;
    std::error_code error;
    fs::path real = fs::canonical(name, error);
    return error ? fs::path() : real;
}

TKordoPairTargets KordoResolveTargets(const fs::path& folder) {
    TKordoPairTargets targets;
    const fs::path base = Normal(folder);
    targets.Names = {base / TKordoPregameDatabase::ServerFileName,
                     base / TKordoPregameDatabase::PeopleFileName};
    for (size_t i = 0; i < 2; ++i) {
        const fs::path& name = targets.Names[i];
        const TKordoFileKind kind = KordoFileKindOf(name);
        fs::path file = KordoFileBehind(name);
        if (file.empty()) {
            std::error_code ignored;
            throw TKordoError(Shown(name) + " is a symbolic link to " +
                              Shown(fs::read_symlink(name, ignored)) + ", which does not exist");
        }
        const TKordoFileKind fileKind = KordoFileKindOf(file);
        if (fileKind != TKordoFileKind::Missing && fileKind != TKordoFileKind::Regular)
            throw TKordoError(
                Shown(name) +
                (kind == TKordoFileKind::SymbolicLink ? " names " + Shown(file) + ", " : " is ") +
                KordoDescribeFileKind(file, false) + ", not a regular file");
        targets.Files[i] = file;
        targets.Exist[i] = fileKind == TKordoFileKind::Regular;
        const fs::path backup = WithBak(file);
        const TKordoFileKind backupKind = KordoFileKindOf(backup);
        if (backupKind == TKordoFileKind::Directory || backupKind == TKordoFileKind::Other)
            throw TKordoError(Shown(backup) + " is " + KordoDescribeFileKind(backup, false) +
                              ", not a regular file; the backup cannot be kept there");
    }
    std::error_code error;
    if (targets.Files[0] == targets.Files[1] ||
        (targets.Exist[0] && targets.Exist[1] && fs::equivalent(targets.Files[0], targets.Files[1], error)))
        throw TKordoError(Shown(targets.Names[0]) + " and " + Shown(targets.Names[1]) + " are the same file");
    return targets;
}

// The commit record ----------------------------------------------------------------------------------------

namespace {

constexpr const char* RecordHeader = "kordo-commit 1";

// One rename of a commit: Source becomes Destination. Keep is a second name of what Destination held
// before (empty when it held nothing), so that the rename can be undone.
struct TStep {
    fs::path Source, Destination, Keep;
};

struct TRecord {
    struct TFile {
        fs::path Target, Temporary;
        uint64_t Size = 0, Checksum = 0;
    };
    std::array<TFile, 2> Files;
    std::vector<TStep> Steps;
};

// Paths in the record: relative to the data folder when they lie in it (so that a folder moved after a
// crash still recovers), escaped so that a blank or a line break cannot split them.
std::string Encode(const fs::path& path, const fs::path& folder) {
    const fs::path stored = path.parent_path() == folder ? path.filename() : path;
    const std::u8string text = stored.u8string();
    std::string out;
    static const char Hex[] = "0123456789ABCDEF";
    for (char8_t unit : text) {
        const auto byte = static_cast<unsigned char>(unit);
        if (byte <= 0x20 || byte == '%' || byte == 0x7F) {
            out += '%';
            out += Hex[byte >> 4];
            out += Hex[byte & 15];
        } else {
            out += static_cast<char>(byte);
        }
    }
    return out;
}

bool Decode(const std::string& text, const fs::path& folder, fs::path& path) {
    std::u8string units;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            units += static_cast<char8_t>(text[i]);
            continue;
        }
        if (i + 2 >= text.size())
            return false;
        const std::string digits = text.substr(i + 1, 2);
        char* end = nullptr;
        const unsigned long value = std::strtoul(digits.c_str(), &end, 16);
        if (end != digits.c_str() + 2)
            return false;
        units += static_cast<char8_t>(value);
        i += 2;
    }
    if (units.empty())
        return false;
    path = fs::path(units);
    if (path.is_relative())
        path = folder / path;
    return true;
}

std::string Hex64(uint64_t value) {
    static const char Digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (size_t i = 16; i-- > 0; value >>= 4)
        text[i] = Digits[value & 15];
    return text;
}

bool ParseNumber(const std::string& text, int base, uint64_t& value) {
    if (text.empty() || text.size() > 20)
        return false;
    char* end = nullptr;
    value = std::strtoull(text.c_str(), &end, base);
    return end == text.c_str() + text.size();
}

uint64_t ChecksumOf(const std::string& text) {
    TKordoChecksum sum;
    sum.Add(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    return sum.Value();
}

std::string Format(const TRecord& record, const fs::path& folder) {
    std::string text = std::string(RecordHeader) + "\n";
    for (const TRecord::TFile& file : record.Files)
        text += "file " + Encode(file.Target, folder) + " " + Encode(file.Temporary, folder) + " " +
                std::to_string(file.Size) + " " + Hex64(file.Checksum) + "\n";
    for (const TStep& step : record.Steps)
        text += "step " + Encode(step.Source, folder) + " " + Encode(step.Destination, folder) + " " +
                (step.Keep.empty() ? std::string("-") : Encode(step.Keep, folder)) + "\n";
    return text + "end " + Hex64(ChecksumOf(text)) + "\n";
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    size_t start = 0;
    for (;;) {
        size_t blank = line.find(' ', start);
        words.push_back(line.substr(start, blank - start));
        if (blank == std::string::npos)
            return words;
        start = blank + 1;
    }
}

// Parses the record; false when it is not one this program wrote whole.
bool Parse(const std::string& text, const fs::path& folder, TRecord& record) {
    const size_t endLine = text.rfind("end ");
    if (endLine == std::string::npos || (endLine > 0 && text[endLine - 1] != '\n'))
        return false;
    uint64_t checksum = 0;
    const std::string endWord = text.substr(endLine + 4);
    if (endWord.size() != 17 || endWord.back() != '\n' || !ParseNumber(endWord.substr(0, 16), 16, checksum) ||
        checksum != ChecksumOf(text.substr(0, endLine)))
        return false;
    std::vector<std::string> lines;
    for (size_t start = 0; start < endLine;) {
        size_t newline = text.find('\n', start);
        lines.push_back(text.substr(start, newline - start));
        start = newline + 1;
    }
    if (lines.size() < 3 || lines[0] != RecordHeader)
        return false;
    for (size_t i = 0; i < 2; ++i) {
        std::vector<std::string> words = Words(lines[1 + i]);
        TRecord::TFile& file = record.Files[i];
        if (words.size() != 5 || words[0] != "file" || !Decode(words[1], folder, file.Target) ||
            !Decode(words[2], folder, file.Temporary) || !ParseNumber(words[3], 10, file.Size) ||
            !ParseNumber(words[4], 16, file.Checksum))
            return false;
    }
    for (size_t i = 3; i < lines.size(); ++i) {
        std::vector<std::string> words = Words(lines[i]);
        TStep step;
        if (words.size() != 4 || words[0] != "step" || !Decode(words[1], folder, step.Source) ||
            !Decode(words[2], folder, step.Destination) ||
            (words[3] != "-" && !Decode(words[3], folder, step.Keep)))
            return false;
        record.Steps.push_back(step);
    }
    return true;
}

std::string ReadSmallFile(const fs::path& file) {
    TKordoFile in;
    std::string reason;
    if (!in.OpenForReading(file, reason))
        throw TKordoError("cannot read " + Shown(file) + ": " + reason);
    std::string text;
    char buffer[4096];
    for (;;) {
        int64_t got = in.Read(buffer, sizeof buffer, reason);
        if (got < 0)
            throw TKordoError("cannot read " + Shown(file) + ": " + reason);
        if (got == 0)
            return text;
        text.append(buffer, static_cast<size_t>(got));
        if (text.size() > (1 << 20))
            throw TKordoError(Shown(file) + " is too large to be a commit record");
    }
}

// Whether the file holds exactly the bytes the record describes.
bool Whole(const fs::path& file, uint64_t size, uint64_t checksum) {
    TKordoFile in;
    std::string reason;
    if (!in.OpenForReading(file, reason) || in.Size(reason) != static_cast<int64_t>(size))
        return false;
    std::vector<uint8_t> buffer(1 << 20);
    TKordoChecksum sum;
    for (;;) {
        int64_t got = in.Read(buffer.data(), buffer.size(), reason);
        if (got < 0)
            return false;
        if (got == 0)
            return sum.Size() == size && sum.Value() == checksum;
        sum.Add(buffer.data(), static_cast<size_t>(got));
    }
}

// The record must describe this folder's data files and touch nothing but their temporaries, the
// files themselves and their backups: anything else is not ours to rename.
bool Describes(const TRecord& record, const fs::path& folder) {
    const fs::path base = Normal(folder);
    const std::array<fs::path, 2> names{base / TKordoPregameDatabase::ServerFileName,
                                        base / TKordoPregameDatabase::PeopleFileName};
    std::set<fs::path> places, destinations;
    for (size_t i = 0; i < 2; ++i) {
        const TRecord::TFile& file = record.Files[i];
        if (file.Target.lexically_normal() != KordoFileBehind(names[i]).lexically_normal() ||
            file.Temporary.parent_path() != file.Target.parent_path() ||
            !KordoIsTemporaryName(KordoPathText(file.Temporary.filename())))
            return false;
        places.insert(file.Target.parent_path());
        destinations.insert(file.Target);
        destinations.insert(WithBak(file.Target));
    }
    auto temporary = [&](const fs::path& path) {
        return places.count(path.parent_path()) && KordoIsTemporaryName(KordoPathText(path.filename()));
    };
    return std::all_of(record.Steps.begin(), record.Steps.end(), [&](const TStep& step) {
        return temporary(step.Source) && destinations.count(step.Destination) &&
               (step.Keep.empty() || temporary(step.Keep));
    });
}

std::set<fs::path> FoldersOf(const fs::path& folder, const TRecord& record) {
    return {folder, record.Files[0].Target.parent_path(), record.Files[1].Target.parent_path()};
}

} // namespace

bool KordoCommitPending(const fs::path& folder) {
    return Exists(folder / KordoCommitFileName);
}

std::string KordoRecoverCommit(const fs::path& folder,
                               const std::function<void(const std::string&)>& status) {
    const fs::path base = Normal(folder);
    const fs::path recordFile = base / KordoCommitFileName;
    const TKordoFileKind kind = KordoFileKindOf(recordFile);
    if (kind == TKordoFileKind::Missing)
        return {};
    if (kind != TKordoFileKind::Regular)
        throw TKordoError(Shown(recordFile) + " is " + KordoDescribeFileKind(recordFile, false) +
                          ", not a commit record; remove it to use the folder");
    if (status)
        status("Recovering Interrupted Save");
    TRecord record;
    if (!Parse(ReadSmallFile(recordFile), base, record))
        throw TKordoError("the commit record " + Shown(recordFile) +
                          " is damaged; the data files were left as they are");
    if (!Describes(record, base))
        throw TKordoError(
            "the commit record " + Shown(recordFile) +
            " names other files than this folder's data files; the data files were left as they are");

    // The save is finished when both new files are whole, either still under their temporary name or
    // already in place; otherwise every rename it made is undone.
    const bool finish = std::all_of(record.Files.begin(), record.Files.end(), [](const TRecord::TFile& file) {
        return Exists(file.Temporary) ? Whole(file.Temporary, file.Size, file.Checksum)
                                      : Whole(file.Target, file.Size, file.Checksum);
    });
    if (finish) {
        for (const TStep& step : record.Steps)
            if (Exists(step.Source))
                Rename(step.Source, step.Destination);
    } else {
        // Every step made is undone with what its destination held before, in reverse. A new file is
        // in place where its target holds its bytes; a backup step was made where its source is gone
        // and its second name of the old backup not yet put back. So a recovery stopped halfway is
        // taken up again where it stopped.
        for (auto step = record.Steps.rbegin(); step != record.Steps.rend(); ++step) {
            auto file = std::find_if(record.Files.begin(), record.Files.end(),
                                     [&](const TRecord::TFile& f) { return f.Temporary == step->Source; });
            if (Exists(step->Source) ||
                (file != record.Files.end() && !Whole(step->Destination, file->Size, file->Checksum)))
                continue;
            if (step->Keep.empty())
                Remove(step->Destination);
            else if (Exists(step->Keep))
                Rename(step->Keep, step->Destination);
            else if (file != record.Files.end())
                throw TKordoError("the interrupted save cannot be undone: " + Shown(step->Keep) +
                                  " is missing");
        }
    }
    SyncFolders(FoldersOf(base, record));
    for (const TStep& step : record.Steps) {
        Remove(step.Source);
        if (!step.Keep.empty())
            Remove(step.Keep);
    }
    Remove(recordFile);
    SyncFolders({base});
    return finish ? "an interrupted save was finished: server_db.dat and people_db.dat are the pair it saved"
                  : "an interrupted save was undone: server_db.dat and people_db.dat are the pair from "
                    "before it";
}

void KordoRemoveLeftovers(const fs::path& folder) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const fs::path& path = entry.path();
        const TKordoFileKind kind = KordoFileKindOf(path);
        std::string ignored;
        if (KordoIsTemporaryName(KordoPathText(path.filename())) &&
            (kind == TKordoFileKind::Regular || kind == TKordoFileKind::SymbolicLink))
            KordoRemoveFile(path, ignored);
    }
}

// The commit
// -------------------------------------------------------------------------------------------------

namespace {

// Writes a new file under its temporary name and sums what it wrote for the commit record.
class TTemporaryDevice : public TKordoByteDevice {
public:
    TTemporaryDevice(TKordoFile file, fs::path name, TKordoChecksum& sum)
        : File(std::move(file)), Name(std::move(name)), Sum(sum) {}
    void Write(const uint8_t* data, size_t n) override {
        std::string reason;
        if (!File.Write(data, n, Name, reason))
            throw TKordoError("cannot write " + Shown(Name) + ": " + reason);
        File.StartWriteBack();
        Sum.Add(data, n);
    }
    void Sync() override {
        std::string reason;
        if (!File.Sync(Name, reason))
            throw TKordoError("cannot flush " + Shown(Name) + " to disk: " + reason);
    }

private:
    TKordoFile File;
    fs::path Name;
    TKordoChecksum& Sum;
};

} // namespace

TKordoPairCommit::TKordoPairCommit(fs::path folder, TKordoPairTargets targets)
    : Folder(Normal(folder)), Targets(std::move(targets)) {
    for (size_t i = 0; i < 2; ++i)
        Files[i].Target = Targets.Files[i];
}

std::unique_ptr<TKordoByteDevice> TKordoPairCommit::Create(size_t index) {
    TFile& file = Files[index];
    TKordoFile handle;
    file.Temporary =
        KordoCreateTemporary(file.Target, Targets.Exist[index] ? file.Target : fs::path(), handle);
    Created.push_back(file.Temporary);
    return std::make_unique<TTemporaryDevice>(std::move(handle), file.Temporary, file.Sum);
}

void TKordoPairCommit::Abandon() {
    std::string ignored;
    for (const fs::path& name : Created)
        KordoRemoveFile(name, ignored);
    Created.clear();
}

void TKordoPairCommit::Commit() {
    TRecord record;
    for (size_t i = 0; i < 2; ++i)
        record.Files[i] = {Files[i].Target, Files[i].Temporary, Files[i].Sum.Size(), Files[i].Sum.Value()};
    const std::set<fs::path> folders{Folder, Files[0].Target.parent_path(), Files[1].Target.parent_path()};
    const fs::path recordFile = Folder / KordoCommitFileName;
    bool recorded = false;
    size_t made = 0;
    try {
        // Each new file replaces its target; what the target held keeps a second name until the end.
        for (size_t i = 0; i < 2; ++i) {
            TStep step{Files[i].Temporary, Files[i].Target, {}};
            if (Targets.Exist[i]) {
                step.Keep = LinkTemporary(Files[i].Target);
                Created.push_back(step.Keep);
            }
            record.Steps.push_back(step);
        }
        // The old pair becomes the backup pair, after the new pair is in place, and only when there was a
        // whole old pair: the backups are always one pair from one save.
        if (Targets.Exist[0] && Targets.Exist[1]) {
            for (size_t i = 0; i < 2; ++i) {
                TStep step{LinkTemporary(Files[i].Target), WithBak(Files[i].Target), {}};
                Created.push_back(step.Source);
                if (Exists(step.Destination)) {
                    step.Keep = LinkTemporary(step.Destination);
                    Created.push_back(step.Keep);
                }
                record.Steps.push_back(step);
            }
        }
        SyncFolders(folders);

        // From the moment the record is in place, a crash is finished or undone by the next load.
        const std::string text = Format(record, Folder);
        TKordoFile file;
        const fs::path recordTemporary = KordoCreateTemporary(recordFile, {}, file);
        Created.push_back(recordTemporary);
        std::string reason;
        if (!file.Write(text.data(), text.size(), recordTemporary, reason) ||
            !file.Sync(recordTemporary, reason))
            throw TKordoError("cannot write the commit record " + Shown(recordTemporary) + ": " + reason);
        file.Close();
        Rename(recordTemporary, recordFile);
        recorded = true;
        SyncFolders({Folder});

        for (const TStep& step : record.Steps) {
            Rename(step.Source, step.Destination);
            ++made;
        }
        SyncFolders(folders);
    } catch (const std::exception& failure) {
        // Undone in reverse. Each undone step gets its source name back first, so that a crash while
        // undoing leaves a record that the next load can still finish.
        std::string reason;
        bool undone = true;
        for (size_t k = made; undone && k-- > 0;) {
            const TStep& step = record.Steps[k];
            undone = KordoLinkFile(step.Destination, step.Source, reason) &&
                     (step.Keep.empty() ? KordoRemoveFile(step.Destination, reason)
                                        : KordoRenameFile(step.Keep, step.Destination, reason));
            made = k;
        }
        // The record goes only once the undone renames are on disk.
        for (const fs::path& place : folders)
            undone = undone && (!recorded || KordoSyncFolder(place, reason));
        if (undone && recorded)
            undone = KordoRemoveFile(recordFile, reason);
        if (!undone)
            throw TKordoError(std::string(failure.what()) + "; putting the old files back failed too (" +
                              reason + "); the next load of the folder finishes or undoes the save");
        for (const TStep& step : record.Steps)
            Created.push_back(step.Source);
        Abandon();
        throw;
    }
    // The second names and the record are no longer needed; a failure here leaves only leftovers.
    std::string ignored;
    for (const TStep& step : record.Steps)
        if (!step.Keep.empty())
            KordoRemoveFile(step.Keep, ignored);
    KordoRemoveFile(recordFile, ignored);
    Created.clear();
}
