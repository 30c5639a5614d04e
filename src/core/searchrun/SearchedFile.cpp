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
    return Noted(files_.Read(handle_, buffer, size));
}

std::ptrdiff_t SearchedFile::ReadAt(std::int64_t offset, char* buffer, std::size_t size)
{
    return Noted(files_.ReadAt(handle_, offset, buffer, size));
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
