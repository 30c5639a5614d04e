#include "core/tools/CleanedCopy.h"

#include "core/files/ErrorNumbers.h"
#include "core/files/FileRoutines.h"
#include "core/walk/FolderWalk.h"

namespace trawlit {

namespace {

constexpr int kTemporaryNameTries = 100;
constexpr std::int16_t kCopyOpenType
    = OpenType::Binary | OpenType::WriteOnly | OpenType::ClearReadOnlyFirst | OpenType::DeleteFirst;

} // namespace

CleanedCopyWriter::CleanedCopyWriter(
    FileRoutines& files, std::int16_t fileNumber, FileEncoding encoding)
    : files_(files)
    , fileNumber_(fileNumber)
    , encoding_(encoding)
{
    buffer_.reserve(kCapacity);
    buffer_.append(MarkOf(encoding));
}

void CleanedCopyWriter::Write(std::string_view text)
{
    AppendEncoded(encoding_, text, buffer_);
    if (buffer_.size() >= kCapacity) {
        Flush();
    }
}

void CleanedCopyWriter::Flush()
{
    if (!error_ && !buffer_.empty()) {
        files_.WriteBytes(fileNumber_, buffer_, error_);
    }
    buffer_.clear();
}

PlatformError CleanedCopyWriter::Close()
{
    Flush();
    PlatformError closeError;
    if (!files_.Close(fileNumber_, closeError) && !error_) {
        error_ = closeError;
    }
    return error_;
}

CleanedCopy::CleanedCopy(FileRoutines& files, FileSystem& fileSystem, CleanedCopies& copies)
    : files_(files)
    , fileSystem_(fileSystem)
    , copies_(copies)
{
}

CleanedCopy::~CleanedCopy()
{
    if (writer_ && !closed_) {
        writer_->Close();
    }
    if (!temporaryPath_.empty()) {
        RemoveTemporary();
    }
}

PlatformError CleanedCopy::Begin(
    const WalkFile& file, const std::string& copyPath, CopyStanding found, FileEncoding encoding)
{
    copyPath_ = copyPath;
    found_ = found;
    PlatformError error;
    const std::int16_t fileNumber = OpenTemporary(file, error);
    if (!error) {
        writer_ = std::make_unique<CleanedCopyWriter>(files_, fileNumber, encoding);
    }
    return error;
}

// A hidden name beside the file, which no walk visits and no earlier file holds, with the
// original's permissions before anything is written to it.
std::int16_t CleanedCopy::OpenTemporary(const WalkFile& file, PlatformError& error)
{
    const std::string folder
        = file.displayPath.substr(0, file.displayPath.size() - file.name.size());
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        const std::string path = folder + "." + std::string(file.name) + "2~"
            + (attempt > 0 ? std::to_string(attempt) : "");
        if (fileSystem_.Examine(path) != EntryKind::Missing) {
            continue;
        }
        std::int16_t fileNumber = 0;
        copies_.TemporaryInTheMaking(path);
        error = files_.TryOpenFile(path, fileNumber, kCopyOpenType, -1);
        if (error) {
            copies_.TemporaryDone();
            return 0;
        }
        temporaryPath_ = path;
        if (!copies_.TakePermissionsOf(file.displayPath, path)) {
            PlatformError ignored;
            files_.Close(fileNumber, ignored);
            RemoveTemporary();
            error = ErrorWithCause(
                ErrorNumber::PermissionDenied, "the original's permissions could not be set");
            return 0;
        }
        return fileNumber;
    }
    error = ErrorWithNumber(ErrorNumber::PathFileAccessError);
    return 0;
}

CopyPlacing CleanedCopy::Commit(PlatformError& error)
{
    closed_ = true;
    error = writer_->Close();
    if (error) {
        return CopyPlacing::Failed;
    }
    const CopyPlacing placing = copies_.Place(temporaryPath_, copyPath_, found_, error);
    if (placing == CopyPlacing::Placed) {
        copies_.TemporaryDone();
        temporaryPath_.clear();
    }
    return placing;
}

void CleanedCopy::RemoveTemporary()
{
    // It may carry a read-only original's permissions already.
    files_.DeleteFile(temporaryPath_, DeleteFlags::ClearReadOnlyFirst);
    copies_.TemporaryDone();
    temporaryPath_.clear();
}

} // namespace trawlit
