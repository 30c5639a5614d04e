#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ports/FileSystem.h"

namespace trawlit::fakes {

// An in-memory file system behind the FileSystem port. Paths are "/"-separated and absolute;
// "//" and a trailing "/" are tolerated. Folders list their entries in the order they were
// added ("." and ".." first), hidden names follow the port's rules, and templates match with
// "*" and "?" ignoring case. Every file and folder gets its own identity unless a test shares
// one on purpose (a second name for the same folder or file).
class FakeFileSystem : public FileSystem {
public:
    FakeFileSystem();
    ~FakeFileSystem() override;

    // Building the tree; missing parent folders are created on the way.
    void AddFolder(const std::string& path);
    void AddFile(const std::string& path, const std::string& contents = {});
    // A name of kind FolderLink, Other (FIFO, socket, device) or Missing (a broken link).
    void AddSpecial(const std::string& path, EntryKind kind);
    void SetIdentity(const std::string& path, FileIdentity identity);
    // The identity the parent's listing reports, where it differs from the one the name's own
    // "." and open handles report (a mount point listed by its underlying folder).
    void SetIdentityAsListed(const std::string& path, FileIdentity identity);
    FileIdentity IdentityOfPath(const std::string& path) const;
    bool Exists(const std::string& path) const;
    // Contents of a file, empty when there is none.
    std::string Contents(const std::string& path) const;

    // Failures injected by path.
    void FailOpen(const std::string& path, int number, const std::string& description);
    void FailWrite(const std::string& path, int number, const std::string& description);
    // Renames to `path` fail.
    void FailRenameTo(const std::string& path, int number, const std::string& description);
    // Reads through a handle of the file fail once it has delivered `afterBytes` bytes.
    void FailRead(const std::string& path, std::size_t afterBytes = 0);
    void FailListing(const std::string& folder, int number, const std::string& description);

    // True: names beginning with "." are listed too, as a platform with other hidden marks would.
    bool listHiddenNames = false;

    int examineCalls = 0;
    std::function<void()> onRead; // before every read of a file
    std::vector<std::string> listedPatterns;

    std::unique_ptr<FolderListing> StartListing(
        const std::string& pattern, ListMask mask, PlatformError& error) override;
    EntryKind Examine(const std::string& path) override;
    FileHandle Open(const std::string& path, OpenAccess access, PlatformError& error) override;
    std::ptrdiff_t Read(FileHandle handle, char* buffer, std::size_t size) override;
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

    int OpenHandleCount() const { return static_cast<int>(handles_.size()); }

    struct Node;

private:
    struct OpenFileState;

    std::shared_ptr<Node> Find(const std::string& path) const;
    std::shared_ptr<Node> MakeParents(const std::string& path, std::string& leaf);
    std::shared_ptr<Node> AddNode(const std::string& path, EntryKind kind);

    std::shared_ptr<Node> root_;
    std::uint64_t nextInode_ = 2;
    std::map<std::string, PlatformError> openFailures_;
    std::map<std::string, PlatformError> writeFailures_;
    std::map<std::string, PlatformError> renameFailures_;
    std::map<std::string, std::size_t> readFailures_;
    std::map<std::string, PlatformError> listingFailures_;
    std::map<FileHandle, std::unique_ptr<OpenFileState>> handles_;
    FileHandle nextHandle_ = 3;
};

} // namespace trawlit::fakes
