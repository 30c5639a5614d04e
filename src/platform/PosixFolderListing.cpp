#include "platform/PosixPlatform.h"
#include "platform/StatKind.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include "core/files/ErrorNumbers.h"
#include "core/text/Wildcard.h"

namespace trawlit {

namespace {

// Kernel pseudo file systems: their folders list as empty, so a walk from "/" never blocks
// on a generated file or wanders through endless generated trees.
constexpr std::array<unsigned long, 16> kPseudoFileSystems = {
    0x9fa0, // proc
    0x62656572, // sysfs
    0x64626720, // debugfs
    0x74726163, // tracefs
    0x73636673, // securityfs
    0x27e0eb, // cgroup
    0x63677270, // cgroup2
    0x6165676c, // pstore
    0xcafe4a11, // bpf
    0x62656570, // configfs
    0x65735543, // fusectl
    0x1cd1, // devpts
    0xde5e81e4, // efivarfs
    0x42494e4d, // binfmt_misc
    0x19800202, // mqueue
    0x0187, // autofs
};

// Disk file systems: a regular file's read comes back short only at its end.
constexpr std::array<unsigned long, 7> kLocalFileSystems = {
    0xef53, // ext2, ext3, ext4
    0x58465342, // xfs
    0x9123683e, // btrfs
    0xf2f52010, // f2fs
    0x2fc12fc1, // zfs
    0x4d44, // vfat
    0x2011bab0, // exfat
};

// Memory file systems: the same, and every file's bytes are in memory.
constexpr std::array<unsigned long, 2> kMemoryFileSystems = {
    0x01021994, // tmpfs
    0x858458f6, // ramfs
};

template <std::size_t N> bool IsOneOf(unsigned long type, const std::array<unsigned long, N>& types)
{
    return std::find(types.begin(), types.end(), type) != types.end();
}

// On an overlay file system a file's st_dev is its layer's, not the folder's, so identities
// need one stat per entry there.
constexpr unsigned long kOverlayFileSystem = 0x794c7630;

} // namespace

// A folder's file system is asked once per device, not once per folder.
FileSystemKind FileSystemKinds::Of(int folderFd, std::uint64_t device)
{
    if (device == lastDevice_ && known_)
        return lastKind_;
    struct statfs info { };
    if (fstatfs(folderFd, &info) != 0)
        return FileSystemKind::Pseudo; // cannot tell: list nothing rather than risk blocking
    const auto type = static_cast<unsigned long>(info.f_type);
    lastKind_ = IsOneOf(type, kPseudoFileSystems) ? FileSystemKind::Pseudo
        : type == kOverlayFileSystem              ? FileSystemKind::Overlay
        : IsOneOf(type, kLocalFileSystems)        ? FileSystemKind::Local
        : IsOneOf(type, kMemoryFileSystems)       ? FileSystemKind::Memory
                                                  : FileSystemKind::Ordinary;
    lastDevice_ = device;
    known_ = true;
    return lastKind_;
}

namespace {

bool IsDotOrDotDot(const char* name)
{
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

FileIdentity IdentityOfStat(const struct stat& info)
{
    return { static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino) };
}

} // namespace

class PosixFolderListing : public FolderListing {
public:
    PosixFolderListing(
        const std::string& folder, std::string wildcard, ListMask mask, FileSystemKinds& kinds)
        : wildcard_(std::move(wildcard))
        , mask_(mask)
    {
        fd_ = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
        if (fd_ < 0) {
            openErrno_ = errno;
            return;
        }
        struct stat folderInfo { };
        FileSystemKind kind = FileSystemKind::Pseudo;
        if (fstat(fd_, &folderInfo) == 0)
            kind = kinds.Of(fd_, static_cast<std::uint64_t>(folderInfo.st_dev));
        if (kind == FileSystemKind::Pseudo) {
            // Listed as an empty folder: it exists, and holds nothing to read.
            close(fd_);
            fd_ = -1;
            pseudoIdentity_ = IdentityOfStat(folderInfo);
            pseudoDotsLeft_ = mask_ == ListMask::FilesAndFolders ? 2 : 0;
            return;
        }
        device_ = static_cast<std::uint64_t>(folderInfo.st_dev);
        statEveryEntry_ = kind == FileSystemKind::Overlay;
        inMemory_ = kind == FileSystemKind::Memory;
        shortReadEnds_
            = kind == FileSystemKind::Local || kind == FileSystemKind::Overlay || inMemory_;
    }
    ~PosixFolderListing() override
    {
        if (fd_ >= 0)
            close(fd_);
    }
    PosixFolderListing(const PosixFolderListing&) = delete;
    PosixFolderListing& operator=(const PosixFolderListing&) = delete;

    // The errno of a folder that could not be opened, 0 otherwise.
    int OpenErrno() const { return openErrno_; }
    // The listed folder, open as long as the listing lives; -1 when it could not be opened.
    int FolderFd() const { return fd_; }
    // Whether a short read of one of its regular files means the file's end.
    bool ShortReadEnds() const { return shortReadEnds_; }
    bool InMemory() const { return inMemory_; }

    bool Next(ListedEntry& entry) override
    {
        while (pseudoDotsLeft_ > 0) {
            entry.name = pseudoDotsLeft_-- == 2 ? "." : "..";
            entry.kind = EntryKind::Folder;
            entry.identity = pseudoIdentity_;
            if (WildcardMatches(wildcard_, entry.name))
                return true;
        }
        while (const dirent64* found = NextRaw()) {
            if (!Admits(found->d_name))
                continue;
            entry.name = found->d_name;
            entry.kind = KindOf(*found, entry.identity);
            if (mask_ == ListMask::FilesOnly
                && (entry.kind == EntryKind::Folder || entry.kind == EntryKind::FolderLink))
                continue;
            return true;
        }
        return false;
    }

private:
    // The next raw entry, read a buffer at a time; null at the end or on a failure.
    const dirent64* NextRaw()
    {
        if (fd_ < 0)
            return nullptr;
        if (offset_ >= filled_) {
            const ssize_t got = getdents64(fd_, buffer_, sizeof buffer_);
            if (got <= 0)
                return nullptr;
            filled_ = static_cast<std::size_t>(got);
            offset_ = 0;
        }
        const auto* found = reinterpret_cast<const dirent64*>(buffer_ + offset_);
        offset_ += found->d_reclen;
        return found;
    }

    bool Admits(const char* name) const
    {
        if (name[0] == '.' && !(mask_ == ListMask::FilesAndFolders && IsDotOrDotDot(name)))
            return false;
        return WildcardMatches(wildcard_, name);
    }

    // d_type answers for most entries; only links and unknown types cost a stat.
    EntryKind KindOf(const dirent64& found, FileIdentity& identity) const
    {
        identity = { device_, static_cast<std::uint64_t>(found.d_ino) };
        switch (found.d_type) {
        case DT_REG:
            if (statEveryEntry_)
                StatIdentity(found.d_name, identity);
            return EntryKind::File;
        case DT_DIR:
            return EntryKind::Folder;
        case DT_LNK:
        case DT_UNKNOWN:
            return KindByStat(found.d_name, identity);
        default:
            return EntryKind::Other;
        }
    }

    void StatIdentity(const char* name, FileIdentity& identity) const
    {
        struct stat info { };
        if (fstatat(fd_, name, &info, 0) == 0)
            identity = IdentityOfStat(info);
    }

    EntryKind KindByStat(const char* name, FileIdentity& identity) const
    {
        struct stat info { };
        const EntryKind kind = KindOfName(
            [this, name](bool follow, struct stat& found) {
                return fstatat(fd_, name, &found, follow ? 0 : AT_SYMLINK_NOFOLLOW) == 0;
            },
            info);
        if (kind != EntryKind::Missing)
            identity = IdentityOfStat(info);
        return kind;
    }

    int fd_ = -1;
    alignas(dirent64) char buffer_[32 * 1024];
    std::size_t filled_ = 0;
    std::size_t offset_ = 0;
    std::string wildcard_;
    ListMask mask_;
    std::uint64_t device_ = 0;
    bool statEveryEntry_ = false;
    bool shortReadEnds_ = false;
    bool inMemory_ = false;
    int pseudoDotsLeft_ = 0; // "." and ".." of a pseudo file system's folder
    FileIdentity pseudoIdentity_;
    int openErrno_ = 0;
};

namespace {

class EmptyListing : public FolderListing {
public:
    bool Next(ListedEntry&) override { return false; }
};

} // namespace

ListedFolder ListedFolderOf(FolderListing& listing)
{
    auto* posix = dynamic_cast<PosixFolderListing*>(&listing);
    if (posix == nullptr)
        return {};
    return { posix->FolderFd(), posix->ShortReadEnds(), posix->InMemory() };
}

bool CannotNameFile(std::string_view path)
{
    if (path.find('\0') != std::string_view::npos || path.size() >= PATH_MAX)
        return true;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end - start > NAME_MAX)
            return true;
        start = end + 1;
    }
    return false;
}

std::unique_ptr<FolderListing> PosixPlatform::StartListing(
    const std::string& pattern, ListMask mask, PlatformError& error)
{
    error = {};
    const std::size_t split = pattern.find_last_of("/\\");
    std::string folder;
    std::string wildcard;
    if (split == std::string::npos) {
        folder = ".";
        wildcard = pattern;
    } else {
        folder = split == 0 ? "/" : pattern.substr(0, split);
        wildcard = pattern.substr(split + 1);
    }
    if (CannotNameFile(folder) || CannotNameFile(wildcard)) {
        error = ErrorWithNumber(ErrorNumber::BadFileNameOrNumber);
        return std::make_unique<EmptyListing>();
    }
    auto listing
        = std::make_unique<PosixFolderListing>(folder, std::move(wildcard), mask, fileSystemKinds_);
    // A folder gone since it was listed is no news; one that is there but cannot be read is.
    const int openErrno = listing->OpenErrno();
    if (openErrno == ENAMETOOLONG)
        error = ErrorWithNumber(ErrorNumber::BadFileNameOrNumber);
    else if (openErrno != 0 && openErrno != ENOENT && openErrno != ENOTDIR)
        error = ErrorFromErrno(openErrno, folder);
    return listing;
}

} // namespace trawlit
