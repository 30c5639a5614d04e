#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/search/LineMatcher.h"
#include "ports/FileSystem.h"

namespace trawlit {

// A file of the walk, as the search opens it: by the name it was listed under when its folder
// listing is at hand, else by its path.
struct FileToSearch {
    std::shared_ptr<FolderListing> folder;
    std::string name;
    std::string path; // the DisplayPath
};

// How the reading of a file ended.
enum class ReadOutcome : std::uint8_t {
    Read, // to its end
    NotOpened, // the open error says why
    ReadFailed, // a read failed part way: what came before it was searched
    Stopped, // a stop request ended it part way
};

// A file read part way: its findings must not pass for the whole file's.
inline bool IsCutShort(ReadOutcome outcome)
{
    return outcome == ReadOutcome::ReadFailed || outcome == ReadOutcome::Stopped;
}

struct FileRead {
    ReadOutcome outcome = ReadOutcome::Read;
    PlatformError error; // why it was not opened, or why a read failed
};

// The one way the search reads a file, on the run's thread and on a worker alike: opened
// through the file system, read through its handle, closed when it goes. A failed read ends
// the file for the matcher like its end, and is kept to be told apart from it.
class SearchedFile : public ByteSource {
public:
    // Opens the file by the name `folder` listed it under, else by `path`. `stopCheck` is asked
    // before every read: true ends the file where it is.
    SearchedFile(FileSystem& files, FolderListing* folder, std::string_view name,
        const std::string& path, std::function<bool()> stopCheck);
    ~SearchedFile() override;
    SearchedFile(const SearchedFile&) = delete;
    SearchedFile& operator=(const SearchedFile&) = delete;

    // Reads only what the system holds in memory, and only a file of `bytes` at most: where a
    // read would wait on the device, or the file proves longer, the file ends for the matcher
    // there, left unread. For a thread that must neither wait on a disk nor stay long in a file.
    void ReadFromMemoryOnly(std::int64_t bytes) { memoryLimit_ = bytes; }
    bool LeftUnread() const { return unread_ != Unread::No; }
    bool NotInMemory() const { return unread_ == Unread::NotInMemory; }

    bool IsOpen() const { return handle_ != kNoFileHandle; }
    // How it went so far: final once the matcher is done with the file.
    FileRead Outcome() const;

    std::ptrdiff_t Read(char* buffer, std::size_t size) override;
    bool Stopped() override
    {
        stopped_ = stopCheck_();
        return stopped_;
    }
    bool CanReadAt() const override { return true; }
    std::ptrdiff_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) override;

private:
    std::ptrdiff_t Noted(std::ptrdiff_t bytes);
    std::ptrdiff_t FromMemory(std::int64_t offset, char* buffer, std::size_t size);

    FileSystem& files_;
    FileHandle handle_ = kNoFileHandle;
    PlatformError openError_;
    bool readFailed_ = false;
    PlatformError readError_; // the first failed read's
    bool stopped_ = false;
    std::function<bool()> stopCheck_;
    std::int64_t memoryLimit_ = -1; // none: reads wait on the device as they must
    std::int64_t readFromMemory_ = 0;
    enum class Unread : std::uint8_t { No, TooLong, NotInMemory };
    Unread unread_ = Unread::No;
};

} // namespace trawlit
