#include "core/files/FileRoutines.h"

#include <limits>

#include "core/files/ErrorNumbers.h"
#include "core/text/TextHelpers.h"
#include "ports/Dialogs.h"

namespace trawlit {

namespace {

constexpr std::int16_t kOptionBits = OpenType::ClearReadOnlyFirst | OpenType::DeleteFirst;
constexpr const char* kOpenErrorTitle = "File Open Error";
constexpr const char* kDeleteErrorTitle = "File Delete Error";

std::int16_t BaseCodeOf(std::int16_t openType)
{
    return static_cast<std::int16_t>(openType & ~kOptionBits);
}

// How each valid base code opens its file; false for a code outside the nine.
bool AccessOf(std::int16_t baseCode, OpenAccess& access)
{
    switch (baseCode) {
    case 1: // random, read and write
    case 32: // binary, read and write
        access = OpenAccess::ReadWrite;
        return true;
    case 3: // random, write only
    case 34: // binary, write only
        access = OpenAccess::Write;
        return true;
    case 5: // random, read only
    case 16: // sequential input
    case 20: // sequential input, read only
    case 36: // binary, read only
        access = OpenAccess::Read;
        return true;
    case 8: // sequential output
        access = OpenAccess::WriteTruncate;
        return true;
    default:
        return false;
    }
}

bool IsRandomAccess(std::int16_t baseCode)
{
    return baseCode == 1 || baseCode == 3 || baseCode == 5;
}

// Random files need a record length of 1 to 32767 bytes; binary read passes one only when
// it is positive, and then it must fit the same range.
bool RecordLengthFits(std::int16_t baseCode, std::int32_t recordLength)
{
    constexpr std::int32_t kLongest = std::numeric_limits<std::int16_t>::max();
    if (IsRandomAccess(baseCode))
        return recordLength >= 1 && recordLength <= kLongest;
    if (baseCode == 36 && recordLength > 0)
        return recordLength <= kLongest;
    return true;
}

std::string TwoBreaks()
{
    return std::string(kLineBreak) + kLineBreak;
}

} // namespace

FileRoutines::FileRoutines(FileSystem& fileSystem, Dialogs& dialogs)
    : fileSystem_(fileSystem)
    , dialogs_(dialogs)
{
}

FileRoutines::~FileRoutines()
{
    for (OpenSlot& slot : slots_) {
        if (slot.handle != kNoFileHandle) {
            PlatformError ignored;
            fileSystem_.Close(slot.handle, ignored);
        }
    }
}

void FileRoutines::OpenFile(const std::string& path, std::int16_t& fileNumber,
    std::int16_t openType, std::int32_t recordLength, bool& failed, const std::string* shownPath)
{
    const std::string& named = shownPath != nullptr ? *shownPath : path;
    const PlatformError error = TryOpenFile(path, fileNumber, openType, recordLength);
    failed = static_cast<bool>(error);
    if (!failed)
        return;
    if (error.number == ErrorNumber::InvalidArgument) {
        dialogs_.MsgBox(
            "OpenFile -- Invalid OpenType = " + std::to_string(openType) + TwoBreaks() + named,
            MsgBoxCode::Critical, kOpenErrorTitle);
        return;
    }
    ReportOpenError(error, named);
}

PlatformError FileRoutines::TryOpenFile(const std::string& path, std::int16_t& fileNumber,
    std::int16_t openType, std::int32_t recordLength)
{
    // The preparations run for every code, valid or not.
    const std::int16_t baseCode = BaseCodeOf(openType);
    if (openType & OpenType::DeleteFirst)
        DeleteFile(path, DeleteFlags::ClearReadOnlyFirst);
    if ((openType & OpenType::ClearReadOnlyFirst)
        || ((baseCode & OpenType::RandomAccess) && !(baseCode & OpenType::ReadOnly)))
        ClearReadOnly(path);

    if (!TakeFreeNumber(fileNumber))
        return ErrorWithNumber(ErrorNumber::TooManyFiles);

    OpenAccess access = OpenAccess::Read;
    if (!AccessOf(baseCode, access))
        return ErrorWithNumber(ErrorNumber::InvalidArgument);
    if (!RecordLengthFits(baseCode, recordLength))
        return ErrorWithNumber(ErrorNumber::BadRecordLength);

    PlatformError error;
    const FileHandle handle = fileSystem_.Open(path, access, error);
    if (handle == kNoFileHandle)
        return error ? error : ErrorWithNumber(ErrorNumber::PathFileAccessError);
    slots_[static_cast<std::size_t>(fileNumber)] = { handle, baseCode, recordLength };
    return {};
}

PlatformError FileRoutines::TryOpenListedFile(
    FolderListing& folder, std::string_view name, const std::string& path, std::int16_t& fileNumber)
{
    if (!TakeFreeNumber(fileNumber))
        return ErrorWithNumber(ErrorNumber::TooManyFiles);
    PlatformError error;
    const FileHandle handle = fileSystem_.OpenListedFile(folder, name, path, error);
    if (handle == kNoFileHandle)
        return error ? error : ErrorWithNumber(ErrorNumber::PathFileAccessError);
    slots_[static_cast<std::size_t>(fileNumber)] = { handle, OpenType::SequentialInput, -1 };
    return {};
}

bool FileRoutines::TakeFreeNumber(std::int16_t& fileNumber) const
{
    std::int16_t freeNumber = kFirstFileNumber;
    while (freeNumber <= kLastFileNumber && IsOpen(freeNumber))
        ++freeNumber;
    if (freeNumber > kLastFileNumber)
        return false;
    fileNumber = freeNumber;
    return true;
}

void FileRoutines::ReportOpenError(const PlatformError& error, const std::string& shownPath)
{
    dialogs_.MsgBox("Run-time error '" + std::to_string(error.number) + "':" + TwoBreaks()
            + error.description + TwoBreaks() + "File = " + shownPath,
        MsgBoxCode::Critical, kOpenErrorTitle);
}

void FileRoutines::DeleteFile(const std::string& path, std::int16_t flags)
{
    if (flags & DeleteFlags::ClearReadOnlyFirst)
        ClearReadOnly(path);
    PlatformError error;
    if (fileSystem_.Remove(path, error) || !(flags & DeleteFlags::ReportFailure))
        return;
    // A file that is simply missing is not worth a message.
    if (!FileExists(path))
        return;
    bool readOnly = false;
    std::string text;
    if (fileSystem_.GetReadOnly(path, readOnly) && readOnly)
        text = "File is read-only" + TwoBreaks() + path;
    else
        text = "Unable to delete file " + TwoBreaks() + path + TwoBreaks() + error.description;
    dialogs_.MsgBox(text, MsgBoxCode::Exclamation, kDeleteErrorTitle);
}

void FileRoutines::ClearReadOnly(const std::string& path)
{
    bool readOnly = false;
    if (fileSystem_.GetReadOnly(path, readOnly) && readOnly)
        fileSystem_.SetReadOnly(path, false);
}

bool FileRoutines::FileExists(const std::string& path)
{
    return !path.empty() && fileSystem_.FileExists(path);
}

std::ptrdiff_t FileRoutines::ReadBytes(std::int16_t fileNumber, char* buffer, std::size_t size)
{
    const OpenSlot* slot = SlotOf(fileNumber);
    return slot != nullptr ? fileSystem_.Read(slot->handle, buffer, size) : -1;
}

std::ptrdiff_t FileRoutines::ReadBytesAt(
    std::int16_t fileNumber, std::int64_t offset, char* buffer, std::size_t size)
{
    const OpenSlot* slot = SlotOf(fileNumber);
    return slot != nullptr ? fileSystem_.ReadAt(slot->handle, offset, buffer, size) : -1;
}

bool FileRoutines::WriteBytes(std::int16_t fileNumber, std::string_view data, PlatformError& error)
{
    const OpenSlot* slot = SlotOf(fileNumber);
    if (slot == nullptr) {
        error = ErrorWithNumber(ErrorNumber::BadFileNameOrNumber);
        return false;
    }
    return fileSystem_.Write(slot->handle, data.data(), data.size(), error);
}

bool FileRoutines::ReadRecord(
    std::int16_t fileNumber, std::int64_t recordNumber, std::string& record)
{
    const OpenSlot* slot = SlotOf(fileNumber);
    if (slot == nullptr || !IsRandomAccess(slot->openType) || recordNumber < 1)
        return false;
    const auto length = static_cast<std::size_t>(slot->recordLength);
    PlatformError error;
    if (!fileSystem_.Seek(slot->handle, (recordNumber - 1) * slot->recordLength, error))
        return false;
    record.assign(length, '\0');
    std::size_t filled = 0;
    while (filled < length) {
        const std::ptrdiff_t got
            = fileSystem_.Read(slot->handle, record.data() + filled, length - filled);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    // A record wholly past the end does not exist; a short last one is what there is.
    record.resize(filled);
    return filled > 0;
}

bool FileRoutines::WriteRecord(std::int16_t fileNumber, std::int64_t recordNumber,
    std::string_view record, PlatformError& error)
{
    const OpenSlot* slot = SlotOf(fileNumber);
    if (slot == nullptr) {
        error = ErrorWithNumber(ErrorNumber::BadFileNameOrNumber);
        return false;
    }
    if (!IsRandomAccess(slot->openType)) {
        error = ErrorWithNumber(ErrorNumber::BadFileMode);
        return false;
    }
    if (recordNumber < 1) {
        error = ErrorWithNumber(ErrorNumber::BadRecordNumber);
        return false;
    }
    const auto length = static_cast<std::size_t>(slot->recordLength);
    if (record.size() > length) {
        error = ErrorWithNumber(ErrorNumber::BadRecordLength);
        return false;
    }
    // Short records are padded so every record keeps its place in the file.
    std::string padded(record);
    padded.resize(length, '\0');
    return fileSystem_.Seek(slot->handle, (recordNumber - 1) * slot->recordLength, error)
        && fileSystem_.Write(slot->handle, padded.data(), padded.size(), error);
}

std::int64_t FileRoutines::LengthOf(std::int16_t fileNumber)
{
    const OpenSlot* slot = SlotOf(fileNumber);
    return slot != nullptr ? fileSystem_.FileLength(slot->handle) : -1;
}

bool FileRoutines::IdentityOf(std::int16_t fileNumber, FileIdentity& identity)
{
    const OpenSlot* slot = SlotOf(fileNumber);
    return slot != nullptr && fileSystem_.IdentityOf(slot->handle, identity);
}

bool FileRoutines::Close(std::int16_t fileNumber, PlatformError& error)
{
    OpenSlot* slot = SlotOf(fileNumber);
    if (slot == nullptr) {
        error = ErrorWithNumber(ErrorNumber::BadFileNameOrNumber);
        return false;
    }
    const FileHandle handle = slot->handle;
    *slot = {}; // the number is free again whatever the close says
    return fileSystem_.Close(handle, error);
}

bool FileRoutines::IsOpen(std::int16_t fileNumber) const
{
    return fileNumber >= kFirstFileNumber && fileNumber <= kLastFileNumber
        && slots_[static_cast<std::size_t>(fileNumber)].handle != kNoFileHandle;
}

FileRoutines::OpenSlot* FileRoutines::SlotOf(std::int16_t fileNumber)
{
    return IsOpen(fileNumber) ? &slots_[static_cast<std::size_t>(fileNumber)] : nullptr;
}

std::string CollapseBackslashes(const std::string& path, PathSyntax syntax)
{
    const std::string single = syntax == PathSyntax::Windows ? "\\" : "/";
    const std::string doubled = single + single;
    std::string text = path;
    std::size_t lengthBefore = 0;
    do {
        lengthBefore = text.size();
        ReplaceString(text, doubled, single);
    } while (text.size() != lengthBefore);
    return text;
}

} // namespace trawlit
