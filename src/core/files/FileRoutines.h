#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/text/NameTokens.h"
#include "ports/FileSystem.h"

namespace trawlit {

class Dialogs;

// OpenType bits. The base code (without 512 and 1024) must be one of 1, 3, 5, 8, 16, 20, 32,
// 34, 36.
namespace OpenType {
inline constexpr std::int16_t RandomAccess = 1;
inline constexpr std::int16_t WriteOnly = 2;
inline constexpr std::int16_t ReadOnly = 4;
inline constexpr std::int16_t SequentialOutput = 8;
inline constexpr std::int16_t SequentialInput = 16;
inline constexpr std::int16_t Binary = 32;
inline constexpr std::int16_t ClearReadOnlyFirst = 512;
inline constexpr std::int16_t DeleteFirst = 1024;
} // namespace OpenType

// Flag bits of DeleteFile.
namespace DeleteFlags {
inline constexpr std::int16_t ReportFailure = 1;
inline constexpr std::int16_t ClearReadOnlyFirst = 8;
} // namespace DeleteFlags

inline constexpr int kFirstFileNumber = 1;
inline constexpr int kLastFileNumber = 255;

// The shared file operations. An open file is named by a file number, the lowest free one
// from 1 to 255. Every routine handles its own failures; none throws.
class FileRoutines {
public:
    FileRoutines(FileSystem& fileSystem, Dialogs& dialogs);
    ~FileRoutines(); // closes what is still open

    // Opens `path`. On failure reports why in a message box ("File Open Error") and sets
    // `failed`; messages name `shownPath` when one is given, the path itself otherwise.
    void OpenFile(const std::string& path, std::int16_t& fileNumber, std::int16_t openType,
        std::int32_t recordLength, bool& failed, const std::string* shownPath = nullptr);
    // The same open without any report: returns the failure (number 0 when it opened) so that
    // the caller decides what it means. An OpenType outside the nine codes gives error 5.
    PlatformError TryOpenFile(const std::string& path, std::int16_t& fileNumber,
        std::int16_t openType, std::int32_t recordLength);
    // Opens a file of a folder listing that is still alive for sequential input (16), by
    // its name inside that folder: no path is resolved again. `path` names it in errors.
    PlatformError TryOpenListedFile(FolderListing& folder, std::string_view name,
        const std::string& path, std::int16_t& fileNumber);
    // "Run-time error 'N':" + the description + "File = " + the path, critical icon.
    void ReportOpenError(const PlatformError& error, const std::string& shownPath);

    void DeleteFile(const std::string& path, std::int16_t flags);
    void ClearReadOnly(const std::string& path);
    bool FileExists(const std::string& path);

    // Byte I/O on an open file. Reads return the bytes read, 0 at the end, -1 on failure.
    std::ptrdiff_t ReadBytes(std::int16_t fileNumber, char* buffer, std::size_t size);
    // Reads at `offset` without moving the file's reading position.
    std::ptrdiff_t ReadBytesAt(
        std::int16_t fileNumber, std::int64_t offset, char* buffer, std::size_t size);
    bool WriteBytes(std::int16_t fileNumber, std::string_view data, PlatformError& error);
    // Record I/O for random-access files: records number from 1.
    bool ReadRecord(std::int16_t fileNumber, std::int64_t recordNumber, std::string& record);
    bool WriteRecord(std::int16_t fileNumber, std::int64_t recordNumber, std::string_view record,
        PlatformError& error);
    std::int64_t LengthOf(std::int16_t fileNumber);
    bool IdentityOf(std::int16_t fileNumber, FileIdentity& identity);
    // Closes the file and frees its number. A failure of the close (a late write error) is
    // returned.
    bool Close(std::int16_t fileNumber, PlatformError& error);
    bool IsOpen(std::int16_t fileNumber) const;

private:
    struct OpenSlot {
        FileHandle handle = kNoFileHandle;
        std::int16_t openType = 0;
        std::int32_t recordLength = 0;
    };
    OpenSlot* SlotOf(std::int16_t fileNumber);
    // The lowest file number not in use; false when all 255 are.
    bool TakeFreeNumber(std::int16_t& fileNumber) const;

    FileSystem& fileSystem_;
    Dialogs& dialogs_;
    std::array<OpenSlot, kLastFileNumber + 1> slots_ {};
};

// Replaces every run of two or more separators by one.
std::string CollapseBackslashes(const std::string& path, PathSyntax syntax = kNativePathSyntax);

} // namespace trawlit
