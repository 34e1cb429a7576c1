// Replacing the pair of data files as one. The game needs both files from the same save, so a save
// never writes over them: it writes the new files to temporaries beside the old ones, flushes them to
// disk, records every rename it is about to make in a commit record, and only then renames. A crash
// at any moment leaves either no commit record (the old pair is untouched) or a record from which
// the next load finishes the renames (when the new files are whole) or undoes them.
#pragma once

#include "KordoPlatform.h"
#include "KordoSupportClasses.h"

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// A streaming 64-bit checksum over a file's bytes, independent of how they are cut into pieces.
class TKordoChecksum {
public:
    void Add(const uint8_t* data, size_t n);
    uint64_t Value() const;
    uint64_t Size() const { return Total; }

private:
    void Stripe(const uint8_t* data);
    uint64_t Lanes[4] = {0x60ea27eeadc0b5d6u, 0xc2b2ae3d27d4eb4fu, 0x0000000000000000u, 0x61c8864e7a143579u};
    uint8_t Tail[32] = {};
    size_t TailSize = 0;
    uint64_t Total = 0;
};

// The names a data folder holds besides the data files: the lock file, the commit record, and the
// marker every temporary name carries, by which leftovers of a crash are known.
inline constexpr const char* KordoLockFileName = ".kordo-lock";
inline constexpr const char* KordoCommitFileName = ".kordo-commit";
bool KordoIsTemporaryName(const std::string& fileName);
// Creates a new file under a fresh temporary name (with that marker) beside `beside`, with the
// permissions of `permissionsOf` when given. Throws TKordoError.
std::filesystem::path KordoCreateTemporary(const std::filesystem::path& beside,
                                           const std::filesystem::path& permissionsOf, TKordoFile& file);
// The file a name stands for: itself, or the file its symbolic link names (empty when it names
// nothing).
std::filesystem::path KordoFileBehind(const std::filesystem::path& name);

// The two data files a save replaces. A data file that is a symbolic link is saved through: the file
// it names is replaced and the link stays.
struct TKordoPairTargets {
    std::array<std::filesystem::path, 2> Names; // folder/server_db.dat, folder/people_db.dat
    std::array<std::filesystem::path, 2> Files; // the files replaced (the links' targets)
    std::array<bool, 2> Exist{};
};
// Throws TKordoError, naming the file, for anything a save must not replace: a directory, a FIFO or a
// device under a data file's name or its backup's, a link to nothing, both names for one file.
TKordoPairTargets KordoResolveTargets(const std::filesystem::path& folder);

// Finishes or undoes a save that stopped before its end. Returns what was done, for the user ("" when
// there was nothing to do). Needs the folder's exclusive lock. Throws TKordoError when the commit
// record cannot be used or the folder cannot be changed.
std::string KordoRecoverCommit(const std::filesystem::path& folder,
                               const std::function<void(const std::string&)>& status);
bool KordoCommitPending(const std::filesystem::path& folder);
// Removes the temporaries a crash left in the folder; only with the exclusive lock and no commit
// pending.
void KordoRemoveLeftovers(const std::filesystem::path& folder);

// One save of the pair: Create gives the device each new file is written through; Commit puts both
// in place (the old pair becomes the backup pair) or, on failure, undoes everything it did and
// throws; Abandon removes what a failed write left.
class TKordoPairCommit {
public:
    TKordoPairCommit(std::filesystem::path folder, TKordoPairTargets targets);
    TKordoPairCommit(const TKordoPairCommit&) = delete;
    TKordoPairCommit& operator=(const TKordoPairCommit&) = delete;

    // A device writing into a new temporary beside data file `index` (0 server, 1 people).
    std::unique_ptr<TKordoByteDevice> Create(size_t index);
    // Both files must be written, flushed and closed.
    void Commit();
    void Abandon();

    struct TFile {
        std::filesystem::path Target, Temporary;
        TKordoChecksum Sum;
    };

private:
    std::filesystem::path Folder;
    TKordoPairTargets Targets;
    std::array<TFile, 2> Files;
    std::vector<std::filesystem::path> Created; // every name this save made, to remove on failure
};
