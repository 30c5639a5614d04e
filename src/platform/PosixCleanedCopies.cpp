#include "platform/PosixCleanedCopies.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/HomeFolder.h"
#include "platform/PosixPlatform.h"

namespace trawlit {

namespace {

constexpr std::size_t kStaleLinesAllowed = 64;

// Read by a signal handler: the path is complete whenever the flag is set.
char gTemporaryPath[PATH_MAX];
volatile std::sig_atomic_t gTemporaryKnown = 0;
// While a copy replaces the run's own older one, the temporary name may hold either, or what
// someone else put at the copy's name: the handler then removes only these two files.
struct OwnFile {
    dev_t device;
    ino_t inode;
};
OwnFile gOwnFiles[2];
volatile std::sig_atomic_t gOnlyOwnFiles = 0;

bool IsOwnFile(const struct stat& info) noexcept
{
    for (const OwnFile& own : gOwnFiles) {
        if (own.device == info.st_dev && own.inode == info.st_ino)
            return true;
    }
    return false;
}

bool StatNoFollow(const std::string& path, struct stat& info)
{
    return lstat(path.c_str(), &info) == 0;
}

PosixCleanedCopies::Identity IdentityOf(const struct stat& info)
{
    return { static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino) };
}

PosixCleanedCopies::Facts FactsOf(const struct stat& info, const std::string& path)
{
    return { static_cast<std::uint64_t>(info.st_size),
        static_cast<std::int64_t>(info.st_mtim.tv_sec),
        static_cast<std::int64_t>(info.st_mtim.tv_nsec), path };
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

// Creates the folder and its missing parents, private to the user.
void MakeFolders(const std::string& folder)
{
    if (folder.empty() || access(folder.c_str(), F_OK) == 0) {
        return;
    }
    MakeFolders(FolderOf(folder));
    mkdir(folder.c_str(), 0700);
}

std::string Absolute(const std::string& path)
{
    if (!path.empty() && path.front() == '/') {
        return path;
    }
    char current[PATH_MAX];
    if (getcwd(current, sizeof current) == nullptr) {
        return path;
    }
    return std::string(current) + "/" + path;
}

std::string LineOf(
    const PosixCleanedCopies::Identity& identity, const PosixCleanedCopies::Facts& facts)
{
    return std::to_string(identity.first) + " " + std::to_string(identity.second) + " "
        + std::to_string(facts.size) + " " + std::to_string(facts.seconds) + " "
        + std::to_string(facts.nanoseconds) + " " + facts.path + "\n";
}

} // namespace

PosixCleanedCopies::PosixCleanedCopies(std::string recordPath)
    : recordPath_(std::move(recordPath))
{
}

std::string PosixCleanedCopies::RecordPathForUser()
{
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && state[0] == '/') {
        return std::string(state) + "/trawlit/cleaned-copies";
    }
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "/.local/state/trawlit/cleaned-copies";
}

CopyStanding PosixCleanedCopies::WhatStandsAt(const std::string& copyPath)
{
    struct stat info { };
    if (!StatNoFollow(copyPath, info)) {
        // Nothing there, or a name that cannot be: opening the copy will tell which.
        return errno == ENOENT || errno == ENAMETOOLONG || errno == ENOTDIR ? CopyStanding::Nothing
                                                                            : CopyStanding::Other;
    }
    if (S_ISDIR(info.st_mode)) {
        return CopyStanding::Folder;
    }
    if (!S_ISREG(info.st_mode)) {
        return CopyStanding::Other; // a link is never followed, nor replaced
    }
    Load();
    const auto found = known_.find(IdentityOf(info));
    return found != known_.end() && found->second.SameFileState(FactsOf(info, copyPath))
        ? CopyStanding::OwnCopy
        : CopyStanding::Other;
}

bool PosixCleanedCopies::TakePermissionsOf(const std::string& original, const std::string& copyPath)
{
    struct stat source { };
    struct stat copy { };
    if (stat(original.c_str(), &source) != 0 || !StatNoFollow(copyPath, copy)
        || !S_ISREG(copy.st_mode)) {
        return false;
    }
    // Never more open than the original, nor than the user's umask made the copy.
    const mode_t mode = source.st_mode & copy.st_mode & 0777;
    return chmod(copyPath.c_str(), mode) == 0;
}

void PosixCleanedCopies::Remember(const std::string& copyPath)
{
    struct stat info { };
    if (recordPath_.empty() || !StatNoFollow(copyPath, info) || !S_ISREG(info.st_mode)) {
        return;
    }
    const std::string path = Absolute(copyPath);
    if (path.find('\n') != std::string::npos) {
        return; // a name the record cannot hold: the copy stays unknown, and safe
    }
    Load();
    const Identity identity = IdentityOf(info);
    known_[identity] = FactsOf(info, path);
    MakeFolders(FolderOf(recordPath_));
    const int fd = open(recordPath_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) {
        return;
    }
    const std::string line = LineOf(identity, known_[identity]);
    // One write of one line: runs side by side never interleave within a line.
    (void)!write(fd, line.data(), line.size());
    close(fd);
}

CopyPlacing PosixCleanedCopies::Place(const std::string& temporaryPath, const std::string& copyPath,
    CopyStanding found, PlatformError& error)
{
    const CopyPlacing placing = found == CopyStanding::OwnCopy
        ? ReplaceOwnCopy(temporaryPath, copyPath, error)
        : PlaceWhereNothingStands(temporaryPath, copyPath, error);
    if (placing == CopyPlacing::Placed) {
        Remember(copyPath);
    }
    return placing;
}

// Nothing stood at the name: the copy takes it only while that is still so.
CopyPlacing PosixCleanedCopies::PlaceWhereNothingStands(
    const std::string& temporaryPath, const std::string& copyPath, PlatformError& error)
{
    if (renameat2(AT_FDCWD, temporaryPath.c_str(), AT_FDCWD, copyPath.c_str(), RENAME_NOREPLACE)
        == 0) {
        return CopyPlacing::Placed;
    }
    if (errno == EINVAL || errno == ENOSYS) {
        // A file system without the no-replace rename: a second link never replaces either.
        if (link(temporaryPath.c_str(), copyPath.c_str()) == 0) {
            unlink(temporaryPath.c_str());
            return CopyPlacing::Placed;
        }
    }
    if (errno == EEXIST) {
        return CopyPlacing::SomethingElseStands;
    }
    error = ErrorFromErrno(errno, copyPath);
    return CopyPlacing::Failed;
}

// The copies trade names in one step; the old one, now at the temporary name, is checked and
// only then removed. Had anything else taken the copy's name meanwhile, it gets it back.
CopyPlacing PosixCleanedCopies::ReplaceOwnCopy(
    const std::string& temporaryPath, const std::string& copyPath, PlatformError& error)
{
    // From the exchange on, the temporary name may hold what stood at the copy's name: a
    // signal removes only the new copy or the recorded old one from it.
    struct stat fresh { };
    struct stat old { };
    if (StatNoFollow(temporaryPath, fresh) && StatNoFollow(copyPath, old)
        && known_.count(IdentityOf(old)) != 0) {
        gOwnFiles[0] = { fresh.st_dev, fresh.st_ino };
        gOwnFiles[1] = { old.st_dev, old.st_ino };
        std::atomic_signal_fence(std::memory_order_seq_cst);
        gOnlyOwnFiles = 1;
    } else {
        TemporaryDone();
    }
    if (renameat2(AT_FDCWD, temporaryPath.c_str(), AT_FDCWD, copyPath.c_str(), RENAME_EXCHANGE)
        != 0) {
        if (errno != EINVAL && errno != ENOSYS) {
            error = ErrorFromErrno(errno, copyPath);
            return CopyPlacing::Failed;
        }
        // No exchange on this file system: the check comes right before the replacing rename.
        if (WhatStandsAt(copyPath) != CopyStanding::OwnCopy) {
            return CopyPlacing::SomethingElseStands;
        }
        if (rename(temporaryPath.c_str(), copyPath.c_str()) != 0) {
            error = ErrorFromErrno(errno, copyPath);
            return CopyPlacing::Failed;
        }
        return CopyPlacing::Placed;
    }
    if (WhatStandsAt(temporaryPath) == CopyStanding::OwnCopy) {
        unlink(temporaryPath.c_str());
        return CopyPlacing::Placed;
    }
    // Giving it back over the new copy replaces only what this run wrote.
    if (renameat2(AT_FDCWD, temporaryPath.c_str(), AT_FDCWD, copyPath.c_str(), RENAME_EXCHANGE) != 0
        && rename(temporaryPath.c_str(), copyPath.c_str()) != 0) {
        error = ErrorFromErrno(errno, copyPath);
        return CopyPlacing::Failed;
    }
    return CopyPlacing::SomethingElseStands;
}

void PosixCleanedCopies::TemporaryInTheMaking(const std::string& temporaryPath)
{
    gTemporaryKnown = 0;
    gOnlyOwnFiles = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    if (temporaryPath.size() >= sizeof gTemporaryPath) {
        return;
    }
    temporaryPath.copy(gTemporaryPath, temporaryPath.size());
    gTemporaryPath[temporaryPath.size()] = '\0';
    std::atomic_signal_fence(std::memory_order_seq_cst); // the path is whole before it counts
    gTemporaryKnown = 1;
}

void PosixCleanedCopies::TemporaryDone()
{
    gTemporaryKnown = 0;
    gOnlyOwnFiles = 0;
}

void PosixCleanedCopies::RemoveCopyInTheMaking() noexcept
{
    if (gTemporaryKnown != 0) {
        struct stat info { };
        if (gOnlyOwnFiles == 0 || (lstat(gTemporaryPath, &info) == 0 && IsOwnFile(info)))
            unlink(gTemporaryPath);
        gTemporaryKnown = 0;
    }
}

void PosixCleanedCopies::Load()
{
    if (loaded_) {
        return;
    }
    loaded_ = true;
    std::ifstream record(recordPath_);
    std::string line;
    std::size_t lines = 0;
    while (std::getline(record, line)) {
        std::istringstream fields(line);
        Identity identity;
        Facts facts;
        if (fields >> identity.first >> identity.second >> facts.size >> facts.seconds
            >> facts.nanoseconds) {
            fields.get();
            std::getline(fields, facts.path);
            known_[identity] = facts;
            ++lines;
        }
    }
    if (lines > 2 * known_.size() + kStaleLinesAllowed) {
        Rewrite();
    }
}

// Drops the lines of copies that are gone or changed, and the earlier lines of rewritten ones.
void PosixCleanedCopies::Rewrite()
{
    for (auto entry = known_.begin(); entry != known_.end();) {
        struct stat info { };
        const bool current = StatNoFollow(entry->second.path, info) && S_ISREG(info.st_mode)
            && IdentityOf(info) == entry->first
            && entry->second.SameFileState(FactsOf(info, entry->second.path));
        entry = current ? std::next(entry) : known_.erase(entry);
    }
    const std::string temporary = recordPath_ + "~" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (const auto& [identity, facts] : known_) {
            out << LineOf(identity, facts);
        }
        if (!out.flush()) {
            std::remove(temporary.c_str());
            return;
        }
    }
    chmod(temporary.c_str(), 0600);
    std::rename(temporary.c_str(), recordPath_.c_str());
}

} // namespace trawlit
