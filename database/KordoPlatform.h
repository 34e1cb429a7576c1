// The few operating-system calls the database layer needs, behind plain functions: files opened and
// created safely, the file operations of a save, the folder lock, permissions, large memory and a
// second thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

// A path as UTF-8 text for messages (on every system, whatever characters it holds).
std::string KordoPathText(const std::filesystem::path& path);

// The file operations a save is made of. Each one passes through the file hook first.
enum class TKordoFileOperation : uint8_t { Create, Write, Sync, SyncFolder, Link, Rename, Remove };
const char* KordoFileOperationName(TKordoFileOperation operation);

// Called before every file operation with the path it acts on. Returning false makes the operation
// fail with `reason` as the system's reason; throwing stops the caller at that point. Tests use it to
// fail or interrupt a save at any one operation. The default lets everything through.
using TKordoFileHook = std::function<bool(TKordoFileOperation operation, const std::filesystem::path& path,
                                          std::string& reason)>;
void KordoSetFileHook(TKordoFileHook hook);

// What lies at a path, without following a symbolic link at the path itself.
enum class TKordoFileKind : uint8_t { Missing, Regular, Directory, SymbolicLink, Other };
TKordoFileKind KordoFileKindOf(const std::filesystem::path& path);
// "a directory", "a FIFO", "a device", ... for messages.
std::string KordoDescribeFileKind(const std::filesystem::path& path, bool followLinks);

// An open file: a descriptor, or a handle on Windows. Closed with the object. Every operation returns
// false (or -1) with the system's reason on failure.
class TKordoFile {
public:
    TKordoFile() = default;
    ~TKordoFile() { Close(); }
    TKordoFile(TKordoFile&& other) noexcept : Handle(other.Handle) { other.Handle = Closed; }
    TKordoFile& operator=(TKordoFile&& other) noexcept;
    TKordoFile(const TKordoFile&) = delete;
    TKordoFile& operator=(const TKordoFile&) = delete;

    // Creates a file that must not exist yet, never through a symbolic link, with the permission bits
    // of `permissionsOf` when that file exists. Passes through the file hook.
    bool CreateNew(const std::filesystem::path& file, const std::filesystem::path& permissionsOf,
                   std::string& reason);
    // Opens an existing file for reading. Anything but a regular file (a FIFO, a device, a directory)
    // is refused at once, without waiting for a writer; a symbolic link is followed.
    bool OpenForReading(const std::filesystem::path& file, std::string& reason);
    // Writes all n bytes (Write passes through the file hook; so does Sync).
    bool Write(const void* data, size_t n, const std::filesystem::path& name, std::string& reason);
    bool Sync(const std::filesystem::path& name, std::string& reason);
    // Asks the system to start writing what was written so far to disk, without waiting, so that a
    // later Sync has less left to do (nothing where the system has no such call).
    void StartWriteBack();
    // Reads up to n bytes; returns the number read (0 at the end) or -1.
    int64_t Read(void* buffer, size_t n, std::string& reason);
    bool Seek(int64_t offset, std::string& reason);
    // The size of the open file, or -1.
    int64_t Size(std::string& reason) const;
    bool IsOpen() const { return Handle != Closed; }
    void Close();

private:
    friend class TKordoFolderLock;
    static constexpr intptr_t Closed = -1;
    intptr_t Handle = Closed;
};

// Makes the names created, renamed and removed inside a folder durable (nothing to do on Windows,
// whose renames are written through).
bool KordoSyncFolder(const std::filesystem::path& folder, std::string& reason);
// A second name for an existing file; fails when `link` exists.
bool KordoLinkFile(const std::filesystem::path& existing, const std::filesystem::path& link,
                   std::string& reason);
// Renames `from` to `to` in one step, replacing what `to` names (never following a link there).
bool KordoRenameFile(const std::filesystem::path& from, const std::filesystem::path& to, std::string& reason);
// Removes one name (a link itself, not what it points to). A missing name is no error.
bool KordoRemoveFile(const std::filesystem::path& file, std::string& reason);

// One writer per data folder, and no reader while it writes: two one-byte locks on a lock file in the
// folder. A save holds the writer lock, which a second save finds taken at once, and holds the data
// lock exclusively while it changes files; a load holds the data lock shared. Both are released with
// the object, and by the system when the program ends in any way.
class TKordoFolderLock {
public:
    enum class TResult { Locked, Busy, Reading, Unavailable };
    TKordoFolderLock() = default;
    ~TKordoFolderLock() { Release(); }
    TKordoFolderLock(const TKordoFolderLock&) = delete;
    TKordoFolderLock& operator=(const TKordoFolderLock&) = delete;

    // Busy: another program is saving (it holds the writer lock past `writerWait`, or for a reader the
    // data lock past `dataWait`). Reading: other programs kept reading past `dataWait`. Unavailable: the lock
    // file cannot be opened or created, or is no regular file (reason says).
    TResult LockForWriting(const std::filesystem::path& lockFile, std::chrono::milliseconds writerWait,
                           std::chrono::milliseconds dataWait, std::string& reason);
    TResult LockForReading(const std::filesystem::path& lockFile, std::chrono::milliseconds dataWait,
                           std::string& reason);
    void Release();
    bool Held() const { return File.IsOpen(); }

private:
    TResult Open(const std::filesystem::path& lockFile, bool forWriting, std::string& reason);
    TResult Lock(int64_t offset, bool exclusive, std::chrono::milliseconds wait, std::string& reason);
    TKordoFile File;
    std::filesystem::path Name;
};

// A file is read-only when nobody may write it. Clearing gives the owner write permission; setting
// removes every write permission.
bool KordoIsReadOnly(const std::filesystem::path& file);
bool KordoSetReadOnly(const std::filesystem::path& file, bool readOnly, std::string& reason);

// Memory for large arrays, in huge pages where the system offers them. Throws std::bad_alloc.
void* KordoAllocateLarge(size_t bytes);
void KordoFreeLarge(void* memory, size_t bytes);

// Runs both, the second on a thread of its own when `parallel`; an exception of either reaches the
// caller once both have ended.
void KordoRunBoth(bool parallel, const std::function<void()>& first, const std::function<void()>& second);
