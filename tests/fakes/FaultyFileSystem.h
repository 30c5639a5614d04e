#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "ports/FileSystem.h"

namespace trawlit::fakes {

// Any file system (the real one or the in-memory fake) with the failures a user meets and
// tests cannot cause for real: they may run as root, on a disk with room. A `where` is a whole
// path, a bare name (every file of that name) or "*" (every path). Failures are set before a
// run; the calls themselves may come from several threads.
class FaultyFileSystem : public FileSystem {
public:
    explicit FaultyFileSystem(FileSystem& inner)
        : inner_(inner)
    {
    }

    void FailOpen(const std::string& where, PlatformError error);
    // Reads of the file deliver `bytes` bytes, then fail.
    void FailReadsAfter(const std::string& where, std::size_t bytes);
    void FailWrites(const std::string& where, PlatformError error = { 61, "Disk full" });
    // The file is closed all the same; only the report fails (a late write-back error).
    void FailClose(const std::string& where, PlatformError error);
    void FailRemove(const std::string& where, PlatformError error);
    void FailRenameTo(const std::string& where, PlatformError error);
    // `folder` names the listed folder as a `where` names a file.
    void FailListing(const std::string& folder, PlatformError error);

    // A slow disk: opens and reads pause on every thread but `unhurriedThread`.
    std::atomic<std::chrono::milliseconds> openPause { std::chrono::milliseconds(0) };
    std::atomic<std::chrono::milliseconds> readPause { std::chrono::milliseconds(0) };
    std::thread::id unhurriedThread;
    // Opens of listed files fail for lack of descriptors on every thread but `unhurriedThread`.
    std::atomic<bool> otherThreadsOutOfDescriptors = false;
    // What FreeDescriptors answers; the inner file system's answer when unset (-2).
    std::int64_t freeDescriptors = -2;
    // Runs before every read with its number, counted from 1.
    std::function<void(int)> beforeRead;
    std::atomic<int> reads = 0;

    std::unique_ptr<FolderListing> StartListing(
        const std::string& pattern, ListMask mask, PlatformError& error) override;
    EntryKind Examine(const std::string& path) override { return inner_.Examine(path); }
    FileHandle Open(const std::string& path, OpenAccess access, PlatformError& error) override;
    FileHandle OpenListedFile(FolderListing& folder, std::string_view name, const std::string& path,
        PlatformError& error) override;
    std::ptrdiff_t Read(FileHandle handle, char* buffer, std::size_t size) override;
    std::ptrdiff_t ReadAt(
        FileHandle handle, std::int64_t offset, char* buffer, std::size_t size) override;
    bool ReadsFromMemory(FolderListing& folder) override { return inner_.ReadsFromMemory(folder); }
    // What a read would pause for is not in memory.
    std::ptrdiff_t ReadFromMemory(
        FileHandle handle, std::int64_t offset, char* buffer, std::size_t size) override;
    bool Write(
        FileHandle handle, const char* data, std::size_t size, PlatformError& error) override;
    bool Seek(FileHandle handle, std::int64_t offset, PlatformError& error) override
    {
        return inner_.Seek(handle, offset, error);
    }
    bool Close(FileHandle handle, PlatformError& error) override;
    bool IdentityOf(FileHandle handle, FileIdentity& identity) override
    {
        return inner_.IdentityOf(handle, identity);
    }
    std::int64_t FileLength(FileHandle handle) override { return inner_.FileLength(handle); }
    std::int64_t FileLength(const std::string& path) override { return inner_.FileLength(path); }
    std::int64_t FreeDescriptors() override
    {
        return freeDescriptors == -2 ? inner_.FreeDescriptors() : freeDescriptors;
    }
    std::int64_t ThreadsMemoryAllows() override { return inner_.ThreadsMemoryAllows(); }
    bool Remove(const std::string& path, PlatformError& error) override;
    bool Rename(const std::string& from, const std::string& to, PlatformError& error) override;
    bool GetReadOnly(const std::string& path, bool& readOnly) override
    {
        return inner_.GetReadOnly(path, readOnly);
    }
    bool SetReadOnly(const std::string& path, bool readOnly) override
    {
        return inner_.SetReadOnly(path, readOnly);
    }

private:
    enum class Call : std::uint8_t { Open, Write, Close, Remove, Rename, Listing };
    struct Opened {
        std::string path;
        std::int64_t readLimit = -1; // bytes readable before reads fail; -1 without a limit
        std::int64_t delivered = 0; // by Read, which moves on through the file
    };

    // The failure set for `call` on `path`, or none.
    PlatformError FailureOf(Call call, const std::string& path) const;
    static bool Names(const std::string& where, const std::string& path);
    void Pause(std::chrono::milliseconds pause) const;
    FileHandle Track(FileHandle handle, const std::string& path);
    std::string PathOf(FileHandle handle);
    // The bytes of `size` wanted from `offset` that may be read; -1 when none may.
    std::ptrdiff_t Readable(FileHandle handle, std::int64_t offset, std::size_t size, bool moving);
    void BeforeRead();
    template <typename InnerRead>
    std::ptrdiff_t ReadWithin(
        FileHandle handle, std::int64_t offset, std::size_t size, InnerRead innerRead);

    FileSystem& inner_;
    std::multimap<Call, std::pair<std::string, PlatformError>> failures_;
    std::map<std::string, std::size_t> readLimits_;
    std::mutex openedLock_;
    std::map<FileHandle, Opened> opened_;
};

} // namespace trawlit::fakes
