#include "app/cli/StandardOutputPlatform.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace trawlit {

FileHandle StandardOutputPlatform::Open(
    const std::string& path, OpenAccess access, PlatformError& error)
{
    if (path != kStandardOutputName || access == OpenAccess::Read) {
        return PosixPlatform::Open(path, access, error);
    }
    error = {};
    // A copy of the descriptor: closing the results file leaves standard output open.
    const int fd = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
    if (fd < 0) {
        error = ErrorFromErrno(errno, path);
        return kNoFileHandle;
    }
    return fd;
}

// Standard output is no file by name: nothing is emptied, deleted or made writable in its place.
EntryKind StandardOutputPlatform::Examine(const std::string& path)
{
    return path == kStandardOutputName ? EntryKind::Other : PosixPlatform::Examine(path);
}

} // namespace trawlit
