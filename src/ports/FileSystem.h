#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace trawlit {

// What the operating system tells about a name. A link to a regular file is a File; a link
// to a folder is a FolderLink, which walks never descend into.
enum class EntryKind : std::uint8_t { Missing, File, Folder, FolderLink, Other };

// Identifies a file independently of the name it was reached by.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct ListedEntry {
    std::string name; // bare name, no folder part
    EntryKind kind = EntryKind::Missing;
    FileIdentity identity;
};

// Mask 0 lists plain files only; mask 16 also lists folders, "." and "..".
enum class ListMask : int { FilesOnly = 0, FilesAndFolders = 16 };

// A failure in the program's own numbering (52 "Bad file name or number", 53 "File not found",
// 76 "Path not found", 70 "Permission denied", ...). Number 0 means no failure.
struct PlatformError {
    int number = 0;
    std::string description;
    explicit operator bool() const { return number != 0; }
};

// One folder listing in progress; names come one at a time so callers can stop early.
class FolderListing {
public:
    virtual ~FolderListing() = default;
    // Returns false when no name is left.
    virtual bool Next(ListedEntry& entry) = 0;
};

// What asking to read a file ahead found.
enum class ReadHint : std::uint8_t {
    Requested, // its start was not in memory: the system reads it now, without waiting
    Cached, // its start is in memory already: nothing was asked
    NotGiven, // this file system takes no hints, or the file could not be looked at
};

using FileHandle = int;
inline constexpr FileHandle kNoFileHandle = -1;

// What FileSystem::ReadFromMemory answers where the bytes would first have to come from the
// device, or the file system cannot tell.
inline constexpr std::ptrdiff_t kReadWouldWait = -2;
// The `offset` of FileSystem::ReadFromMemory that reads on like Read.
inline constexpr std::int64_t kAtReadingPosition = -1;

enum class OpenAccess : std::uint8_t {
    Read, // the file must exist
    WriteTruncate, // created, or emptied when it exists
    Write, // created when missing, never emptied
    ReadWrite, // created when missing, never emptied
};

// The file system as the core sees it: listing folders, examining names, opening, reading,
// writing, renaming and removing files, and their read-only mark. Implemented for POSIX in
// platform/; tests substitute an in-memory one or inject failures.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Lists the entries of the folder part of `pattern` whose names match its wildcard part
    // ("*" any run, "?" one character, "*.*" every name, case ignored). Hidden names (those
    // beginning with ".") are never returned, except "." and ".." under FilesAndFolders.
    // A pattern that cannot name a file fails with error 52; a folder that cannot be listed
    // gives an empty listing.
    virtual std::unique_ptr<FolderListing> StartListing(
        const std::string& pattern, ListMask mask, PlatformError& error)
        = 0;

    // One look at a path: what it is now.
    virtual EntryKind Examine(const std::string& path) = 0;
    bool FolderExists(const std::string& path)
    {
        auto kind = Examine(path);
        return kind == EntryKind::Folder || kind == EntryKind::FolderLink;
    }
    bool FileExists(const std::string& path) { return Examine(path) == EntryKind::File; }

    virtual FileHandle Open(const std::string& path, OpenAccess access, PlatformError& error) = 0;
    // Opens `name` of a folder listing that is still alive, for reading. A file system that can
    // open relative to the listed folder saves resolving the whole `path` again.
    virtual FileHandle OpenListedFile(
        FolderListing& folder, std::string_view name, const std::string& path, PlatformError& error)
    {
        (void)folder;
        (void)name;
        return Open(path, OpenAccess::Read, error);
    }
    // Asks for up to `bytes` of `name` of a folder listing that is still alive to be read into
    // memory ahead of its search, without waiting for the disk. Holds no handle once it returns;
    // a hint that cannot be given changes nothing.
    virtual ReadHint HintRead(FolderListing& folder, std::string_view name, std::int64_t bytes)
    {
        (void)folder;
        (void)name;
        (void)bytes;
        return ReadHint::NotGiven;
    }
    // Returns the bytes read, 0 at the end, -1 on failure.
    virtual std::ptrdiff_t Read(FileHandle handle, char* buffer, std::size_t size) = 0;
    // Reads at `offset` without moving the reading position.
    virtual std::ptrdiff_t ReadAt(
        FileHandle handle, std::int64_t offset, char* buffer, std::size_t size)
        = 0;
    // Whether ReadFromMemory can read the files of a listing still alive, rather than only ever
    // say it would wait (on a network, say): asked before such a file is opened.
    virtual bool ReadsFromMemory(FolderListing& folder)
    {
        (void)folder;
        return false;
    }
    // Reads like ReadAt, or like Read at kAtReadingPosition, but only what the system holds in
    // memory: kReadWouldWait rather than wait on the device. A short read does not mean the end.
    virtual std::ptrdiff_t ReadFromMemory(
        FileHandle handle, std::int64_t offset, char* buffer, std::size_t size)
    {
        (void)handle;
        (void)offset;
        (void)buffer;
        (void)size;
        return kReadWouldWait;
    }
    virtual bool Write(FileHandle handle, const char* data, std::size_t size, PlatformError& error)
        = 0;
    virtual bool Seek(FileHandle handle, std::int64_t offset, PlatformError& error) = 0;
    virtual bool Close(FileHandle handle, PlatformError& error) = 0;
    virtual bool IdentityOf(FileHandle handle, FileIdentity& identity) = 0;
    // Length in bytes, or -1 when it cannot be had.
    virtual std::int64_t FileLength(FileHandle handle) = 0;
    virtual std::int64_t FileLength(const std::string& path) = 0;

    virtual bool Remove(const std::string& path, PlatformError& error) = 0;
    // Gives the file `from` the name `to` in one step, replacing what had that name: a file
    // written under a temporary name never shows half-written under its own.
    virtual bool Rename(const std::string& from, const std::string& to, PlatformError& error) = 0;
    // Read-only = the owner's write permission is clear. Returns false when the path cannot
    // be examined.
    virtual bool GetReadOnly(const std::string& path, bool& readOnly) = 0;
    virtual bool SetReadOnly(const std::string& path, bool readOnly) = 0;

    // How many more files and folders the process may hold open at once (its limit less what
    // is open now), or -1 when no limit is known. Threads opening ahead of the walk keep to it.
    virtual std::int64_t FreeDescriptors() { return -1; }
    // How many more threads the process's memory limit leaves room for, a file's buffers each
    // and room kept for the rest of the run, or -1 when no limit is known.
    virtual std::int64_t ThreadsMemoryAllows() { return -1; }
};

} // namespace trawlit
