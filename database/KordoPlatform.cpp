#include "KordoPlatform.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

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
