#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ports/Clock.h"
#include "ports/FileSystem.h"

namespace trawlit {

// Local: a disk or memory file system whose regular files never return a short read before
// their end. Ordinary: any other real file system (network, user-space).
// Local: on a disk of this machine; Memory: held in memory (tmpfs), which cannot tell a read
// that may not wait on a device, there being none.
enum class FileSystemKind : std::uint8_t { Local, Memory, Ordinary, Overlay, Pseudo };

// Remembers what kind of file system the device of the folder listed last is on.
class FileSystemKinds {
public:
    FileSystemKind Of(int folderFd, std::uint64_t device);

private:
    std::uint64_t lastDevice_ = 0;
    FileSystemKind lastKind_ = FileSystemKind::Local;
    bool known_ = false;
};

// The file system and clocks on Linux and other POSIX systems. Files may be opened, read and
// closed on several threads at once; listing and the rest belong to one thread.
class PosixPlatform : public FileSystem, public Clock {
public:
    PosixPlatform();
    std::unique_ptr<FolderListing> StartListing(
        const std::string& pattern, ListMask mask, PlatformError& error) override;
    EntryKind Examine(const std::string& path) override;

    FileHandle Open(const std::string& path, OpenAccess access, PlatformError& error) override;
    FileHandle OpenListedFile(FolderListing& folder, std::string_view name, const std::string& path,
        PlatformError& error) override;
    ReadHint HintRead(FolderListing& folder, std::string_view name, std::int64_t bytes) override;
    std::ptrdiff_t Read(FileHandle handle, char* buffer, std::size_t size) override;
    bool ReadsFromMemory(FolderListing& folder) override;
    std::ptrdiff_t ReadFromMemory(
        FileHandle handle, std::int64_t offset, char* buffer, std::size_t size) override;
    std::ptrdiff_t ReadAt(
        FileHandle handle, std::int64_t offset, char* buffer, std::size_t size) override;
    bool Write(
        FileHandle handle, const char* data, std::size_t size, PlatformError& error) override;
    bool Seek(FileHandle handle, std::int64_t offset, PlatformError& error) override;
    bool Close(FileHandle handle, PlatformError& error) override;
    bool IdentityOf(FileHandle handle, FileIdentity& identity) override;
    std::int64_t FileLength(FileHandle handle) override;
    std::int64_t FileLength(const std::string& path) override;

    bool Remove(const std::string& path, PlatformError& error) override;
    bool Rename(const std::string& from, const std::string& to, PlatformError& error) override;
    bool GetReadOnly(const std::string& path, bool& readOnly) override;
    bool SetReadOnly(const std::string& path, bool readOnly) override;
    std::int64_t FreeDescriptors() override;
    std::int64_t ThreadsMemoryAllows() override;

    double MonotonicSeconds() override;
    LocalDateTime Now() override;

private:
    static constexpr std::int64_t kUnknownLength = -1;
    static constexpr std::int64_t kEndsAtShortRead = -2;
    FileHandle AcceptOpened(
        int fd, const std::string& path, OpenAccess access, bool created, PlatformError& error);
    void RememberUnread(FileHandle handle, std::int64_t bytes, bool inMemory = false);
    bool HeldInMemory(FileHandle handle) const;
    std::atomic<std::int64_t>* UnreadOf(FileHandle handle) const;
    static std::int64_t AfterRead(std::int64_t unread, long got, std::size_t asked);

    // Per descriptor below kTrackedHandles: bytes of a file opened for reading still to come,
    // unknown, or "ends at its first short read". A fixed table, so that threads opening and
    // reading other descriptors never see it move; a descriptor above it is read to its end.
    static constexpr std::size_t kTrackedHandles = 4096;
    std::unique_ptr<std::atomic<std::int64_t>[]> unreadBytes_;
    // Per descriptor below kTrackedHandles: opened from a listing of a memory file system.
    std::unique_ptr<std::atomic<bool>[]> heldInMemory_;
    FileSystemKinds fileSystemKinds_;
};

// Under an address-space limit, threads share a few heaps: each its own would reserve 64 MiB
// of the limit. Call before any thread starts.
void ShareHeapsUnderAMemoryLimit();

// What a listing made by this platform tells of its folder.
struct ListedFolder {
    int fd = -1; // open as long as the listing lives; -1 for another listing
    bool shortReadEnds = false; // a short read of a regular file there means its end
    bool inMemory = false; // its files are held in memory: reading them never waits on a device
};
ListedFolder ListedFolderOf(FolderListing& listing);

// True when `path` cannot name a file at all: an embedded NUL, a component longer than
// NAME_MAX or a whole longer than PATH_MAX allows (error 52).
bool CannotNameFile(std::string_view path);

// The program's error for an errno value met on `path` (the path decides between a missing
// file and a missing folder).
PlatformError ErrorFromErrno(int errorNumber, const std::string& path);

} // namespace trawlit
