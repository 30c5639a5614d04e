#include "core/searchrun/SearchedFile.h"

#include "core/files/ErrorNumbers.h"

namespace trawlit {

SearchedFile::SearchedFile(FileSystem& files, FolderListing* folder, std::string_view name,
    const std::string& path, std::function<bool()> stopCheck)
    : files_(files)
    , stopCheck_(std::move(stopCheck))
{
    PlatformError error;
    handle_ = folder != nullptr ? files.OpenListedFile(*folder, name, path, error)
                                : files.Open(path, OpenAccess::Read, error);
    if (handle_ == kNoFileHandle) {
        openError_ = error ? error : ErrorWithNumber(ErrorNumber::PathFileAccessError);
    }
}

SearchedFile::~SearchedFile()
{
    if (handle_ != kNoFileHandle) {
        PlatformError ignored; // nothing was written to it
        files_.Close(handle_, ignored);
    }
}

FileRead SearchedFile::Outcome() const
{
    if (!IsOpen()) {
        return { ReadOutcome::NotOpened, openError_ };
    }
    if (readFailed_) {
        return { ReadOutcome::ReadFailed, readError_ };
    }
    return { stopped_ ? ReadOutcome::Stopped : ReadOutcome::Read, {} };
}

std::ptrdiff_t SearchedFile::Read(char* buffer, std::size_t size)
{
    if (memoryLimit_ >= 0)
        return FromMemory(kAtReadingPosition, buffer, size);
    return Noted(files_.Read(handle_, buffer, size));
}

std::ptrdiff_t SearchedFile::ReadAt(std::int64_t offset, char* buffer, std::size_t size)
{
    if (memoryLimit_ >= 0)
        return FromMemory(offset, buffer, size);
    return Noted(files_.ReadAt(handle_, offset, buffer, size));
}

// What is left unread reads as the end: whoever asked for memory only drops what was found.
// Reading again to count lines counts for nothing.
std::ptrdiff_t SearchedFile::FromMemory(std::int64_t offset, char* buffer, std::size_t size)
{
    if (LeftUnread())
        return 0;
    const std::ptrdiff_t got = files_.ReadFromMemory(handle_, offset, buffer, size);
    if (got == kReadWouldWait) {
        unread_ = Unread::NotInMemory;
        return 0;
    }
    if (offset == kAtReadingPosition && got > 0) {
        // Only a file that fills its first read may be long: its length then decides at once.
        const bool firstFilled = readFromMemory_ == 0 && static_cast<std::size_t>(got) == size;
        readFromMemory_ += got;
        if (readFromMemory_ > memoryLimit_
            || (firstFilled && files_.FileLength(handle_) > memoryLimit_)) {
            unread_ = Unread::TooLong;
            return 0;
        }
    }
    return Noted(got);
}

// The file system tells no more than that a read failed.
std::ptrdiff_t SearchedFile::Noted(std::ptrdiff_t bytes)
{
    if (bytes < 0 && !readFailed_) {
        readFailed_ = true;
        readError_ = ErrorWithNumber(ErrorNumber::DeviceIoError);
    }
    return bytes;
}

} // namespace trawlit
