#pragma once

#include <string_view>

#include "ports/FileSystem.h"

namespace trawlit {

// The program's error numbers; each has one fixed description text.
namespace ErrorNumber {
inline constexpr int InvalidArgument = 5;
inline constexpr int DivisionByZero = 11;
inline constexpr int BadFileNameOrNumber = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int BadFileMode = 54;
inline constexpr int DeviceIoError = 57;
inline constexpr int BadRecordLength = 59;
inline constexpr int DiskFull = 61;
inline constexpr int BadRecordNumber = 63;
inline constexpr int TooManyFiles = 67;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int PrinterError = 482;
} // namespace ErrorNumber

// The error of that number with its description ("File not found", ...).
PlatformError ErrorWithNumber(int number);
// The same with what really went wrong after it: "Path/File access error: it is a folder".
PlatformError ErrorWithCause(int number, std::string_view cause);

} // namespace trawlit
