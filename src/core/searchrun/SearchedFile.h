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
    Read, // to its end, or to where a stop request ended it
    NotOpened, // the open error says why
    ReadFailed, // a read failed part way: what came before it was searched
};

struct FileRead {
    ReadOutcome outcome = ReadOutcome::Read;
    PlatformError openError;
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

    bool IsOpen() const { return handle_ != kNoFileHandle; }
    // How it went so far: final once the matcher is done with the file.
    FileRead Outcome() const;

    std::ptrdiff_t Read(char* buffer, std::size_t size) override;
    bool Stopped() override { return stopCheck_(); }
    bool CanReadAt() const override { return true; }
    std::ptrdiff_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) override;

private:
    std::ptrdiff_t Noted(std::ptrdiff_t bytes)
    {
        readFailed_ = readFailed_ || bytes < 0;
        return bytes;
    }

    FileSystem& files_;
    FileHandle handle_ = kNoFileHandle;
    PlatformError openError_;
    bool readFailed_ = false;
    std::function<bool()> stopCheck_;
};

} // namespace trawlit
