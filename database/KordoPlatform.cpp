#include "KordoPlatform.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

TKordoFileHook& Hook() {
    static TKordoFileHook hook;
    return hook;
}

bool Allowed(TKordoFileOperation operation, const fs::path& path, std::string& reason) {
    const TKordoFileHook& hook = Hook();
    return !hook || hook(operation, path, reason);
}

#ifdef _WIN32
std::string SystemReason() {
    return std::error_code(static_cast<int>(::GetLastError()), std::system_category()).message();
}
HANDLE AsHandle(intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}
#else
std::string SystemReason() {
    return std::error_code(errno, std::generic_category()).message();
}

fs::file_type TypeOf(mode_t mode) {
    if (S_ISREG(mode))
        return fs::file_type::regular;
    if (S_ISDIR(mode))
        return fs::file_type::directory;
    if (S_ISFIFO(mode))
        return fs::file_type::fifo;
    if (S_ISSOCK(mode))
        return fs::file_type::socket;
    if (S_ISCHR(mode))
        return fs::file_type::character;
    if (S_ISBLK(mode))
        return fs::file_type::block;
    return S_ISLNK(mode) ? fs::file_type::symlink : fs::file_type::unknown;
}
#endif

const char* TypeText(fs::file_type type) {
    switch (type) {
    case fs::file_type::regular:
        return "a regular file";
    case fs::file_type::directory:
        return "a directory";
    case fs::file_type::fifo:
        return "a FIFO";
    case fs::file_type::socket:
        return "a socket";
    case fs::file_type::character:
        return "a character device";
    case fs::file_type::block:
        return "a block device";
    case fs::file_type::symlink:
        return "a symbolic link";
    case fs::file_type::none:
    case fs::file_type::not_found:
        return "missing";
    default:
        return "not a regular file";
    }
}

#ifndef _WIN32
const char* KindText(mode_t mode) {
    return TypeText(TypeOf(mode));
}
#endif

} // namespace

std::string KordoPathText(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

const char* KordoFileOperationName(TKordoFileOperation operation) {
    switch (operation) {
    case TKordoFileOperation::Create:
        return "create";
    case TKordoFileOperation::Write:
        return "write";
    case TKordoFileOperation::Sync:
        return "flush to disk";
    case TKordoFileOperation::SyncFolder:
        return "flush folder";
    case TKordoFileOperation::Link:
        return "link";
    case TKordoFileOperation::Rename:
        return "rename";
    case TKordoFileOperation::Remove:
        return "remove";
    }
    return "?";
}

void KordoSetFileHook(TKordoFileHook hook) {
    Hook() = std::move(hook);
}

TKordoFileKind KordoFileKindOf(const fs::path& path) {
    std::error_code error;
    fs::file_status status = fs::symlink_status(path, error);
    if (error || !fs::exists(status))
        return TKordoFileKind::Missing;
    if (fs::is_symlink(status))
        return TKordoFileKind::SymbolicLink;
    if (fs::is_regular_file(status))
        return TKordoFileKind::Regular;
    if (fs::is_directory(status))
        return TKordoFileKind::Directory;
    return TKordoFileKind::Other;
}

std::string KordoDescribeFileKind(const fs::path& path, bool followLinks) {
    std::error_code error;
    return TypeText((followLinks ? fs::status(path, error) : fs::symlink_status(path, error)).type());
}

// TKordoFile -------------------------------------------------------------------------------------------

TKordoFile& TKordoFile::operator=(TKordoFile&& other) noexcept {
    if (this != &other) {
        Close();
        Handle = other.Handle;
        other.Handle = Closed;
    }
    return *this;
}

void TKordoFile::Close() {
    if (Handle == Closed)
        return;
#ifdef _WIN32
    ::CloseHandle(AsHandle(Handle));
#else
    ::close(static_cast<int>(Handle));
#endif
    Handle = Closed;
}

bool TKordoFile::CreateNew(const fs::path& file, const fs::path& permissionsOf, std::string& reason) {
    Close();
    if (!Allowed(TKordoFileOperation::Create, file, reason))
        return false;
#ifdef _WIN32
    (void)permissionsOf;
    // CREATE_NEW fails on any existing name, a symbolic link included.
    HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        reason = SystemReason();
        return false;
    }
    Handle = reinterpret_cast<intptr_t>(handle);
#else
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        reason = SystemReason();
        return false;
    }
    Handle = fd;
    struct stat like;
    if (!permissionsOf.empty() && ::stat(permissionsOf.c_str(), &like) == 0)
        ::fchmod(fd, like.st_mode & 0777);
#endif
    return true;
}

bool TKordoFile::OpenForReading(const fs::path& file, std::string& reason) {
    Close();
#ifdef _WIN32
    // Other programs may read but not write while the file is open.
    HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        reason = SystemReason();
        if (fs::is_directory(file))
            reason = "it is a directory";
        return false;
    }
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        reason = "it is not a regular file";
        return false;
    }
    Handle = reinterpret_cast<intptr_t>(handle);
#else
    // Non-blocking, so that opening a FIFO does not wait for a writer; the kind is taken from the
    // opened file itself, so nothing can be swapped in between.
    int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = SystemReason();
        return false;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        reason = SystemReason();
        ::close(fd);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = std::string("it is ") + KindText(info.st_mode);
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    Handle = fd;
#endif
    return true;
}

bool TKordoFile::Write(const void* data, size_t n, const fs::path& name, std::string& reason) {
    if (!Allowed(TKordoFileOperation::Write, name, reason))
        return false;
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (n > 0) {
#ifdef _WIN32
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(n, 1u << 30)), written = 0;
        if (!::WriteFile(AsHandle(Handle), bytes, chunk, &written, nullptr)) {
            reason = SystemReason();
            return false;
        }
#else
        ssize_t written = ::write(static_cast<int>(Handle), bytes, n);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            reason = SystemReason();
            return false;
        }
#endif
        if (written == 0) {
            reason = "no room left on the device";
            return false;
        }
        bytes += written;
        n -= static_cast<size_t>(written);
    }
    return true;
}

bool TKordoFile::Sync(const fs::path& name, std::string& reason) {
    if (!Allowed(TKordoFileOperation::Sync, name, reason))
        return false;
#ifdef _WIN32
    if (::FlushFileBuffers(AsHandle(Handle)))
        return true;
#else
    if (::fsync(static_cast<int>(Handle)) == 0)
        return true;
#endif
    reason = SystemReason();
    return false;
}

void TKordoFile::StartWriteBack() {
#ifdef SYNC_FILE_RANGE_WRITE
    ::sync_file_range(static_cast<int>(Handle), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

int64_t TKordoFile::Read(void* buffer, size_t n, std::string& reason) {
#ifdef _WIN32
    DWORD got = 0;
    if (!::ReadFile(AsHandle(Handle), buffer, static_cast<DWORD>(std::min<size_t>(n, 1u << 30)), &got,
                    nullptr)) {
        reason = SystemReason();
        return -1;
    }
    return got;
#else
    for (;;) {
        ssize_t got = ::read(static_cast<int>(Handle), buffer, n);
        if (got >= 0)
            return got;
        if (errno != EINTR) {
            reason = SystemReason();
            return -1;
        }
    }
#endif
}

bool TKordoFile::Seek(int64_t offset, std::string& reason) {
#ifdef _WIN32
    LARGE_INTEGER to;
    to.QuadPart = offset;
    if (::SetFilePointerEx(AsHandle(Handle), to, nullptr, FILE_BEGIN))
        return true;
#else
    if (::lseek(static_cast<int>(Handle), static_cast<off_t>(offset), SEEK_SET) >= 0)
        return true;
#endif
    reason = SystemReason();
    return false;
}

int64_t TKordoFile::Size(std::string& reason) const {
#ifdef _WIN32
    LARGE_INTEGER size;
    if (::GetFileSizeEx(AsHandle(Handle), &size))
        return size.QuadPart;
#else
    struct stat info;
    if (::fstat(static_cast<int>(Handle), &info) == 0)
        return info.st_size;
#endif
    reason = SystemReason();
    return -1;
}

// Names ------------------------------------------------------------------------------------------------

bool KordoSyncFolder(const fs::path& folder, std::string& reason) {
    if (!Allowed(TKordoFileOperation::SyncFolder, folder, reason))
        return false;
#ifdef _WIN32
    return true;
#else
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        reason = SystemReason();
        return false;
    }
    // Some file systems cannot flush a folder (EINVAL); their renames are as durable as they get.
    bool flushed = ::fsync(fd) == 0 || errno == EINVAL;
    if (!flushed)
        reason = SystemReason();
    ::close(fd);
    return flushed;
#endif
}

namespace {

// Where a file system has no hard links (FAT), the second name gets a copy of the bytes instead.
bool CopyFile(const fs::path& existing, const fs::path& copy, std::string& reason) {
    TKordoFile in, out;
    if (!in.OpenForReading(existing, reason) || !out.CreateNew(copy, existing, reason))
        return false;
    std::vector<uint8_t> buffer(1 << 20);
    for (;;) {
        int64_t got = in.Read(buffer.data(), buffer.size(), reason);
        if (got < 0)
            break;
        if (got == 0)
            return out.Sync(copy, reason);
        if (!out.Write(buffer.data(), static_cast<size_t>(got), copy, reason))
            break;
    }
    out.Close();
    std::string ignored;
    KordoRemoveFile(copy, ignored);
    return false;
}

} // namespace

bool KordoLinkFile(const fs::path& existing, const fs::path& link, std::string& reason) {
    if (!Allowed(TKordoFileOperation::Link, link, reason))
        return false;
#ifdef _WIN32
    if (::CreateHardLinkW(link.c_str(), existing.c_str(), nullptr))
        return true;
    if (::GetLastError() == ERROR_ALREADY_EXISTS || ::GetLastError() == ERROR_FILE_EXISTS) {
        reason = SystemReason();
        return false;
    }
#else
    if (::link(existing.c_str(), link.c_str()) == 0)
        return true;
    if (errno == EEXIST) {
        reason = SystemReason();
        return false;
    }
#endif
    return CopyFile(existing, link, reason);
}

bool KordoRenameFile(const fs::path& from, const fs::path& to, std::string& reason) {
    if (!Allowed(TKordoFileOperation::Rename, to, reason))
        return false;
#ifdef _WIN32
    if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
#else
    if (::rename(from.c_str(), to.c_str()) == 0)
        return true;
#endif
    reason = SystemReason();
    return false;
}

bool KordoRemoveFile(const fs::path& file, std::string& reason) {
    if (!Allowed(TKordoFileOperation::Remove, file, reason))
        return false;
#ifdef _WIN32
    if (::DeleteFileW(file.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND)
        return true;
#else
    if (::unlink(file.c_str()) == 0 || errno == ENOENT)
        return true;
#endif
    reason = SystemReason();
    return false;
}

// TKordoFolderLock -------------------------------------------------------------------------------------

namespace {
// The two bytes of the lock file that are locked: whoever writes, and the data files themselves.
constexpr int64_t WriterByte = 0;
constexpr int64_t DataByte = 1;
} // namespace

TKordoFolderLock::TResult TKordoFolderLock::Open(const fs::path& lockFile, bool forWriting,
                                                 std::string& reason) {
    Release();
    Name = lockFile;
#ifdef _WIN32
    HANDLE handle = ::CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (handle == INVALID_HANDLE_VALUE && !forWriting)
        handle = ::CreateFileW(lockFile.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        reason = "cannot open the lock file " + KordoPathText(lockFile) + ": " + SystemReason();
        return TResult::Unavailable;
    }
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        reason = "the lock file " + KordoPathText(lockFile) + " is not a regular file";
        return TResult::Unavailable;
    }
    File.Handle = reinterpret_cast<intptr_t>(handle);
#else
    // Never through a link, and never waiting on a FIFO planted under the lock file's name.
    int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0 && !forWriting && (errno == EACCES || errno == EROFS || errno == EPERM))
        fd = ::open(lockFile.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = "cannot open the lock file " + KordoPathText(lockFile) + ": " +
                 (errno == ELOOP ? std::string("it is a symbolic link") : SystemReason());
        return TResult::Unavailable;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = "the lock file " + KordoPathText(lockFile) + " is " +
                 (::fstat(fd, &info) == 0 ? KindText(info.st_mode) : "not readable");
        ::close(fd);
        return TResult::Unavailable;
    }
    File.Handle = fd;
#endif
    return TResult::Locked;
}

TKordoFolderLock::TResult TKordoFolderLock::Lock(int64_t offset, bool exclusive,
                                                 std::chrono::milliseconds wait, std::string& reason) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
#ifdef _WIN32
        OVERLAPPED where{};
        where.Offset = static_cast<DWORD>(offset);
        DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
        if (::LockFileEx(AsHandle(File.Handle), flags, 0, 1, 0, &where))
            return TResult::Locked;
        const bool taken = ::GetLastError() == ERROR_LOCK_VIOLATION;
#else
        // Locks of the open file description: released when this descriptor closes, never by another
        // descriptor of the same process.
        struct flock range {};
        range.l_type = exclusive ? F_WRLCK : F_RDLCK;
        range.l_whence = SEEK_SET;
        range.l_start = static_cast<off_t>(offset);
        range.l_len = 1;
        if (::fcntl(static_cast<int>(File.Handle), F_OFD_SETLK, &range) == 0)
            return TResult::Locked;
        if (errno == EINTR)
            continue;
        const bool taken = errno == EAGAIN || errno == EACCES;
#endif
        if (!taken) {
            reason = "cannot lock " + KordoPathText(Name) + ": " + SystemReason();
            Release();
            return TResult::Unavailable;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            Release();
            return TResult::Busy;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

TKordoFolderLock::TResult TKordoFolderLock::LockForWriting(const fs::path& lockFile,
                                                           std::chrono::milliseconds writerWait,
                                                           std::chrono::milliseconds dataWait,
                                                           std::string& reason) {
    TResult result = Open(lockFile, true, reason);
    if (result == TResult::Locked)
        result = Lock(WriterByte, true, writerWait, reason);
    if (result != TResult::Locked)
        return result;
    result = Lock(DataByte, true, dataWait, reason);
    return result == TResult::Busy ? TResult::Reading : result;
}

TKordoFolderLock::TResult TKordoFolderLock::LockForReading(const fs::path& lockFile,
                                                           std::chrono::milliseconds dataWait,
                                                           std::string& reason) {
    TResult result = Open(lockFile, false, reason);
    if (result == TResult::Locked)
        result = Lock(DataByte, false, dataWait, reason);
    return result;
}

void TKordoFolderLock::Release() {
    File.Close();
}

// Permissions ------------------------------------------------------------------------------------------

bool KordoIsReadOnly(const fs::path& file) {
    std::error_code error;
    fs::file_status status = fs::status(file, error);
    if (error || !fs::exists(status))
        return false;
    constexpr auto anyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & anyWrite) == fs::perms::none;
}

bool KordoSetReadOnly(const fs::path& file, bool readOnly, std::string& reason) {
    std::error_code error;
    constexpr auto anyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if (readOnly)
        fs::permissions(file, anyWrite, fs::perm_options::remove, error);
    else
        fs::permissions(file, fs::perms::owner_write, fs::perm_options::add, error);
    if (error)
        reason = error.message();
    return !error;
}

// Memory -----------------------------------------------------------------------------------------------

namespace {
constexpr size_t HugePage = size_t{2} << 20;
}

void* KordoAllocateLarge(size_t bytes) {
#ifdef _WIN32
    void* memory = std::malloc(bytes);
    if (!memory)
        throw std::bad_alloc();
    return memory;
#else
    size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
    void* memory = std::aligned_alloc(HugePage, rounded);
    if (!memory)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    ::madvise(memory, rounded, MADV_HUGEPAGE);
#endif
    return memory;
#endif
}

void KordoFreeLarge(void* memory, size_t) {
    std::free(memory);
}

void KordoRunBoth(bool parallel, const std::function<void()>& first, const std::function<void()>& second) {
    if (!parallel) {
        first();
        second();
        return;
    }
    std::exception_ptr failed;
    std::thread helper([&] {
        try {
            second();
        } catch (...) {
            failed = std::current_exception();
        }
    });
    try {
        first();
    } catch (...) {
        helper.join();
        throw;
    }
    helper.join();
    if (failed)
        std::rethrow_exception(failed);
}
