#include "platform/PosixPlatform.h"
#include "platform/StatKind.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include "core/files/ErrorNumbers.h"

namespace trawlit {

namespace {

bool IsFolder(const std::string& path)
{
    struct stat info { };
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string ContainingFolder(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool IsReadOnly(const struct stat& info)
{
    return (info.st_mode & S_IWUSR) == 0;
}

bool ClearNonBlocking(int fd)
{
    const int statusFlags = fcntl(fd, F_GETFL);
    return statusFlags != -1 && fcntl(fd, F_SETFL, statusFlags & ~O_NONBLOCK) != -1;
}

PlatformError BadName()
{
    return ErrorWithNumber(ErrorNumber::BadFileNameOrNumber);
}

int OpenFlagsFor(OpenAccess access)
{
    const int common = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    switch (access) {
    case OpenAccess::Read:
        return O_RDONLY | common;
    case OpenAccess::WriteTruncate:
    case OpenAccess::Write:
        return O_WRONLY | common;
    case OpenAccess::ReadWrite:
        return O_RDWR | common;
    }
    return O_RDONLY | common;
}

// Opens an existing file, or creates it when the access may create one. Returns the
// descriptor and whether this call created the file, or -1 with errno set.
int OpenOrCreate(const std::string& path, OpenAccess access, bool& created)
{
    const int flags = OpenFlagsFor(access);
    created = false;
    // Two rounds cover a file that appears or vanishes between the attempts.
    for (int round = 0; round < 2; ++round) {
        int fd = open(path.c_str(), flags);
        if (fd >= 0 || errno != ENOENT || access == OpenAccess::Read)
            return fd;
        fd = open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
        if (fd >= 0) {
            created = true;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = ENOENT; // e.g. a link that points nowhere
    return -1;
}

// What an opened descriptor must be before it is handed out. Read access takes regular files
// only (never a FIFO or device that could block); write access refuses a file whose read-only
// mark is set, even where the permissions would let the owner (or root) write.
PlatformError RefusalOf(const struct stat& info, OpenAccess access, bool created)
{
    if (access == OpenAccess::Read && S_ISDIR(info.st_mode))
        return ErrorWithCause(ErrorNumber::PathFileAccessError, "it is a folder, not a file");
    if (access == OpenAccess::Read && !S_ISREG(info.st_mode))
        return ErrorWithCause(
            ErrorNumber::PathFileAccessError, "it is a device, FIFO or socket, not a file");
    if (access == OpenAccess::Read)
        return {};
    if (S_ISREG(info.st_mode) && !created && IsReadOnly(info))
        return ErrorWithNumber(ErrorNumber::PermissionDenied);
    return {};
}

} // namespace

PlatformError ErrorFromErrno(int errorNumber, const std::string& path)
{
    switch (errorNumber) {
    case ENOENT:
        return ErrorWithNumber(IsFolder(ContainingFolder(path)) ? ErrorNumber::FileNotFound
                                                                : ErrorNumber::PathNotFound);
    case ENOTDIR:
        return ErrorWithNumber(ErrorNumber::PathNotFound);
    case EACCES:
    case EPERM:
    case ETXTBSY:
    case EBUSY:
        return ErrorWithNumber(ErrorNumber::PermissionDenied);
    case EMFILE:
    case ENFILE:
        return ErrorWithNumber(ErrorNumber::TooManyFiles);
    case ENAMETOOLONG:
        return ErrorWithNumber(ErrorNumber::BadFileNameOrNumber);
    case ENOSPC:
    case EDQUOT:
        return ErrorWithNumber(ErrorNumber::DiskFull);
    case EIO:
        return ErrorWithNumber(ErrorNumber::DeviceIoError);
    case EISDIR:
        return ErrorWithCause(ErrorNumber::PathFileAccessError, "it is a folder, not a file");
    case ELOOP:
        return ErrorWithCause(ErrorNumber::PathFileAccessError, "its links lead round in a loop");
    case ENXIO:
        return ErrorWithCause(
            ErrorNumber::PathFileAccessError, "a FIFO or device with nothing at its other end");
    default:
        return ErrorWithNumber(ErrorNumber::PathFileAccessError);
    }
}

EntryKind PosixPlatform::Examine(const std::string& path)
{
    if (path.empty() || CannotNameFile(path))
        return EntryKind::Missing;
    struct stat info { };
    return KindOfName(
        [&path](bool follow, struct stat& found) {
            return (follow ? stat(path.c_str(), &found) : lstat(path.c_str(), &found)) == 0;
        },
        info);
}

PosixPlatform::PosixPlatform()
    : unreadBytes_(std::make_unique<std::atomic<std::int64_t>[]>(kTrackedHandles))
    , heldInMemory_(std::make_unique<std::atomic<bool>[]>(kTrackedHandles))
{
    for (std::size_t slot = 0; slot < kTrackedHandles; ++slot) {
        unreadBytes_[slot].store(kUnknownLength, std::memory_order_relaxed);
        heldInMemory_[slot].store(false, std::memory_order_relaxed);
    }
}

FileHandle PosixPlatform::Open(const std::string& path, OpenAccess access, PlatformError& error)
{
    error = {};
    if (path.empty()) {
        error = ErrorWithCause(ErrorNumber::BadFileNameOrNumber, "no file name was given");
        return kNoFileHandle;
    }
    if (CannotNameFile(path)) {
        error = BadName();
        return kNoFileHandle;
    }
    bool created = false;
    const int fd = OpenOrCreate(path, access, created);
    if (fd < 0) {
        error = ErrorFromErrno(errno, path);
        return kNoFileHandle;
    }
    return AcceptOpened(fd, path, access, created, error);
}

FileHandle PosixPlatform::OpenListedFile(
    FolderListing& folder, std::string_view name, const std::string& path, PlatformError& error)
{
    const ListedFolder listed = ListedFolderOf(folder);
    if (listed.fd < 0 || name.find('/') != std::string_view::npos)
        return Open(path, OpenAccess::Read, error);
    error = {};
    if (!listed.shortReadEnds) {
        const int fd = openat(listed.fd, std::string(name).c_str(), OpenFlagsFor(OpenAccess::Read));
        if (fd < 0) {
            error = ErrorFromErrno(errno, path);
            return kNoFileHandle;
        }
        return AcceptOpened(fd, path, OpenAccess::Read, false, error);
    }
    // The listing said it is a regular file on a local file system, which saves an fstat on
    // every searched file. A link is never followed here: a name swapped since for a link
    // (to /dev/zero, which never ends) or a listed link goes the checked way. A name swapped
    // for a folder fails at its first read; for a FIFO, the non-blocking reads never wait.
    const int fd
        = openat(listed.fd, std::string(name).c_str(), OpenFlagsFor(OpenAccess::Read) | O_NOFOLLOW);
    if (fd < 0 && errno == ELOOP)
        return Open(path, OpenAccess::Read, error);
    if (fd < 0) {
        error = ErrorFromErrno(errno, path);
        return kNoFileHandle;
    }
    RememberUnread(fd, kEndsAtShortRead, listed.inMemory);
    return fd;
}

// Only where the listing vouches for a local disk file system: a hint there never waits on a
// network, and a name swapped for a link or a FIFO is left alone. A one-byte read that may not
// wait tells whether the file's start is in memory; a search of a tree read before then pays
// one probe, not a read-ahead, per file.
ReadHint PosixPlatform::HintRead(FolderListing& folder, std::string_view name, std::int64_t bytes)
{
    const ListedFolder listed = ListedFolderOf(folder);
    if (listed.fd < 0 || !listed.shortReadEnds || listed.inMemory
        || name.find('/') != std::string_view::npos)
        return ReadHint::NotGiven;
    const int fd = openat(listed.fd, std::string(name).c_str(),
        O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return ReadHint::NotGiven;
    ReadHint hint = ReadHint::NotGiven;
    char first = 0;
    iovec probe { &first, 1 };
    const ssize_t got = preadv2(fd, &probe, 1, 0, RWF_NOWAIT);
    if (got >= 0)
        hint = ReadHint::Cached;
    else if (errno == EAGAIN && posix_fadvise(fd, 0, bytes, POSIX_FADV_WILLNEED) == 0)
        hint = ReadHint::Requested;
    close(fd);
    return hint;
}

// Checks what was opened, and readies it: see RefusalOf.
FileHandle PosixPlatform::AcceptOpened(
    int fd, const std::string& path, OpenAccess access, bool created, PlatformError& error)
{
    struct stat info { };
    const PlatformError refusal = fstat(fd, &info) != 0
        ? ErrorWithNumber(ErrorNumber::PathFileAccessError)
        : RefusalOf(info, access, created);
    if (refusal) {
        close(fd);
        error = refusal;
        return kNoFileHandle;
    }
    // Non-blocking only guarded the open of something that is no regular file; a regular
    // file ignores it, which saves two system calls on every searched file.
    if (!S_ISREG(info.st_mode) && !ClearNonBlocking(fd)) {
        error = ErrorFromErrno(errno, path);
        close(fd);
        return kNoFileHandle;
    }
    if (access == OpenAccess::WriteTruncate && !created && ftruncate(fd, 0) != 0
        && errno != EINVAL) {
        error = ErrorFromErrno(errno, path);
        close(fd);
        return kNoFileHandle;
    }
    RememberUnread(fd, access == OpenAccess::Read ? static_cast<std::int64_t>(info.st_size) : 0);
    return fd;
}

void PosixPlatform::RememberUnread(FileHandle handle, std::int64_t bytes, bool inMemory)
{
    if (std::atomic<std::int64_t>* unread = UnreadOf(handle)) {
        unread->store((bytes > 0 || bytes == kEndsAtShortRead) ? bytes : kUnknownLength,
            std::memory_order_relaxed);
        heldInMemory_[static_cast<std::size_t>(handle)].store(inMemory, std::memory_order_relaxed);
    }
}

bool PosixPlatform::HeldInMemory(FileHandle handle) const
{
    const auto slot = static_cast<std::size_t>(handle);
    return handle >= 0 && slot < kTrackedHandles
        && heldInMemory_[slot].load(std::memory_order_relaxed);
}

std::atomic<std::int64_t>* PosixPlatform::UnreadOf(FileHandle handle) const
{
    const auto slot = static_cast<std::size_t>(handle);
    return handle >= 0 && slot < kTrackedHandles ? &unreadBytes_[slot] : nullptr;
}

std::int64_t PosixPlatform::AfterRead(std::int64_t unread, long got, std::size_t asked)
{
    if (unread == kEndsAtShortRead)
        return got < 0 || static_cast<std::size_t>(got) < asked ? 0 : unread;
    if (got > 0 && unread != kUnknownLength)
        return got >= unread ? 0 : unread - got;
    return unread;
}

// A file opened for reading is read up to the length it had when it was opened: the last
// read that would only say "end of file" is saved, one system call on every searched file.
std::ptrdiff_t PosixPlatform::Read(FileHandle handle, char* buffer, std::size_t size)
{
    std::atomic<std::int64_t>* unread = UnreadOf(handle);
    const std::int64_t before
        = unread != nullptr ? unread->load(std::memory_order_relaxed) : kUnknownLength;
    if (before == 0)
        return 0;
    for (;;) {
        const ssize_t got = read(handle, buffer, size);
        if (got >= 0 || errno != EINTR) {
            if (unread != nullptr)
                unread->store(AfterRead(before, got, size), std::memory_order_relaxed);
            return got;
        }
    }
}

std::ptrdiff_t PosixPlatform::ReadAt(
    FileHandle handle, std::int64_t offset, char* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t got = pread(handle, buffer, size, static_cast<off_t>(offset));
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

// Where the listing vouches for a disk of this machine or memory: nothing else is opened by
// a thread that must not wait.
bool PosixPlatform::ReadsFromMemory(FolderListing& folder)
{
    const ListedFolder listed = ListedFolderOf(folder);
    return listed.fd >= 0 && listed.shortReadEnds;
}

// A read that may not wait (RWF_NOWAIT) stops short where the cached part of a file ends, so
// a short read here never counts as the end. A memory file system cannot tell such a read,
// but its files never wait on a device: they are read as ever.
std::ptrdiff_t PosixPlatform::ReadFromMemory(
    FileHandle handle, std::int64_t offset, char* buffer, std::size_t size)
{
    const bool moving = offset == kAtReadingPosition;
    if (HeldInMemory(handle))
        return moving ? Read(handle, buffer, size) : ReadAt(handle, offset, buffer, size);
    std::atomic<std::int64_t>* unread = moving ? UnreadOf(handle) : nullptr;
    const std::int64_t before
        = unread != nullptr ? unread->load(std::memory_order_relaxed) : kUnknownLength;
    if (before == 0)
        return 0;
    iovec into { buffer, size };
    for (;;) {
        const ssize_t got = preadv2(handle, &into, 1, static_cast<off_t>(offset), RWF_NOWAIT);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EOPNOTSUPP))
            return kReadWouldWait;
        if (unread != nullptr && before != kEndsAtShortRead)
            unread->store(AfterRead(before, got, size), std::memory_order_relaxed);
        return got;
    }
}

bool PosixPlatform::Write(
    FileHandle handle, const char* data, std::size_t size, PlatformError& error)
{
    error = {};
    while (size > 0) {
        const ssize_t put = write(handle, data, size);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            error = ErrorFromErrno(errno, {});
            return false;
        }
        data += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

bool PosixPlatform::Seek(FileHandle handle, std::int64_t offset, PlatformError& error)
{
    error = {};
    if (lseek(handle, static_cast<off_t>(offset), SEEK_SET) == -1) {
        error = ErrorFromErrno(errno, {});
        return false;
    }
    return true;
}

bool PosixPlatform::Close(FileHandle handle, PlatformError& error)
{
    error = {};
    RememberUnread(handle, kUnknownLength);
    // On Linux the descriptor is released even when close reports EINTR.
    if (close(handle) != 0 && errno != EINTR) {
        error = ErrorFromErrno(errno, {});
        return false;
    }
    return true;
}

bool PosixPlatform::IdentityOf(FileHandle handle, FileIdentity& identity)
{
    struct stat info { };
    if (fstat(handle, &info) != 0)
        return false;
    identity = { static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino) };
    return true;
}

std::int64_t PosixPlatform::FileLength(FileHandle handle)
{
    struct stat info { };
    if (fstat(handle, &info) != 0)
        return -1;
    return static_cast<std::int64_t>(info.st_size);
}

std::int64_t PosixPlatform::FileLength(const std::string& path)
{
    struct stat info { };
    if (CannotNameFile(path) || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    return static_cast<std::int64_t>(info.st_size);
}

bool PosixPlatform::Remove(const std::string& path, PlatformError& error)
{
    error = {};
    if (CannotNameFile(path)) {
        error = BadName();
        return false;
    }
    struct stat info { };
    if (lstat(path.c_str(), &info) != 0) {
        error = ErrorFromErrno(errno, path);
        return false;
    }
    // A read-only file cannot be deleted, whoever asks: the mark means what it says.
    if (S_ISREG(info.st_mode) && IsReadOnly(info)) {
        error = ErrorWithNumber(ErrorNumber::PermissionDenied);
        return false;
    }
    if (unlink(path.c_str()) != 0) {
        error = ErrorFromErrno(errno, path);
        return false;
    }
    return true;
}

bool PosixPlatform::Rename(const std::string& from, const std::string& to, PlatformError& error)
{
    error = {};
    if (CannotNameFile(from) || CannotNameFile(to)) {
        error = BadName();
        return false;
    }
    // Replacing a read-only file would delete it, which the mark forbids.
    struct stat target { };
    if (lstat(to.c_str(), &target) == 0 && S_ISREG(target.st_mode) && IsReadOnly(target)) {
        error = ErrorWithNumber(ErrorNumber::PermissionDenied);
        return false;
    }
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        error = ErrorFromErrno(errno, to);
        return false;
    }
    return true;
}

bool PosixPlatform::GetReadOnly(const std::string& path, bool& readOnly)
{
    struct stat info { };
    if (CannotNameFile(path) || stat(path.c_str(), &info) != 0)
        return false;
    readOnly = IsReadOnly(info);
    return true;
}

bool PosixPlatform::SetReadOnly(const std::string& path, bool readOnly)
{
    struct stat info { };
    if (CannotNameFile(path) || stat(path.c_str(), &info) != 0)
        return false;
    mode_t mode = info.st_mode & 07777;
    mode = readOnly ? (mode & ~static_cast<mode_t>(S_IWUSR)) : (mode | S_IWUSR);
    return chmod(path.c_str(), mode) == 0;
}

// Counted by asking each descriptor below the limit; a limit that high is as good as none.
std::int64_t PosixPlatform::FreeDescriptors()
{
    constexpr rlim_t kLargestCounted = 4096; // far more than any run holds open
    rlimit limit {};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY
        || limit.rlim_cur > kLargestCounted) {
        return -1;
    }
    const auto count = static_cast<int>(limit.rlim_cur);
    std::int64_t free = 0;
    for (int fd = 0; fd < count; ++fd) {
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            ++free;
        }
    }
    return free;
}

// A thread reserves its whole stack at once: under an address-space limit the stacks of many
// would leave nothing for the buffers of the files they read.
std::int64_t PosixPlatform::ThreadsMemoryAllows()
{
    constexpr std::int64_t kMiB = 1024 * 1024;
    constexpr std::int64_t kKeptForTheRun = 48 * kMiB;
    constexpr std::int64_t kBuffersPerThread = 2 * kMiB;
    rlimit space {};
    if (getrlimit(RLIMIT_AS, &space) != 0 || space.rlim_cur == RLIM_INFINITY) {
        return -1;
    }
    rlimit stack {};
    const std::int64_t stackBytes
        = getrlimit(RLIMIT_STACK, &stack) == 0 && stack.rlim_cur != RLIM_INFINITY
        ? static_cast<std::int64_t>(stack.rlim_cur)
        : 8 * kMiB;
    long pages = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) {
        return -1;
    }
    const bool read = std::fscanf(statm, "%ld", &pages) == 1;
    std::fclose(statm);
    if (!read) {
        return -1;
    }
    const std::int64_t used = static_cast<std::int64_t>(pages) * sysconf(_SC_PAGESIZE);
    const std::int64_t free = static_cast<std::int64_t>(space.rlim_cur) - used - kKeptForTheRun;
    return std::max<std::int64_t>(free / (stackBytes + kBuffersPerThread), 0);
}

void ShareHeapsUnderAMemoryLimit()
{
    rlimit space {};
    if (getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur != RLIM_INFINITY) {
        mallopt(M_ARENA_MAX, 2);
    }
}

double PosixPlatform::MonotonicSeconds()
{
    using Seconds = std::chrono::duration<double>;
    return std::chrono::duration_cast<Seconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

LocalDateTime PosixPlatform::Now()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return { local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min };
}

} // namespace trawlit
