#include "KordoPlatform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

std::FILE* KordoOpenFile(const fs::path& file, const char* mode) {
#ifdef _WIN32
    std::wstring wideMode(mode, mode + std::strlen(mode));
    return ::_wfopen(file.c_str(), wideMode.c_str());
#else
    return std::fopen(file.c_str(), mode);
#endif
}

bool KordoSyncFile(std::FILE* file, std::string& reason) {
#ifdef _WIN32
    if (_commit(_fileno(file)) == 0)
        return true;
#else
    if (::fsync(fileno(file)) == 0)
        return true;
#endif
    reason = std::strerror(errno);
    return false;
}

void KordoSyncFolder(const fs::path& folder) {
#ifndef _WIN32
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    (void)folder;
#endif
}

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
