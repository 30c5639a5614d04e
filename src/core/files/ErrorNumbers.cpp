#include "core/files/ErrorNumbers.h"

namespace trawlit {

namespace {

const char* DescriptionOf(int number)
{
    switch (number) {
    case ErrorNumber::InvalidArgument:
        return "Invalid procedure call or argument";
    case ErrorNumber::DivisionByZero:
        return "Division by zero";
    case ErrorNumber::BadFileNameOrNumber:
        return "Bad file name or number";
    case ErrorNumber::FileNotFound:
        return "File not found";
    case ErrorNumber::BadFileMode:
        return "Bad file mode";
    case ErrorNumber::DeviceIoError:
        return "Device I/O error";
    case ErrorNumber::BadRecordLength:
        return "Bad record length";
    case ErrorNumber::DiskFull:
        return "Disk full";
    case ErrorNumber::BadRecordNumber:
        return "Bad record number";
    case ErrorNumber::TooManyFiles:
        return "Too many files";
    case ErrorNumber::PermissionDenied:
        return "Permission denied";
    case ErrorNumber::PathFileAccessError:
        return "Path/File access error";
    case ErrorNumber::PathNotFound:
        return "Path not found";
    case ErrorNumber::InvalidPropertyValue:
        return "Invalid property value";
    case ErrorNumber::PrinterError:
        return "Printer error";
    default:
        return "Application-defined or object-defined error";
    }
}

} // namespace

PlatformError ErrorWithNumber(int number)
{
    return PlatformError { number, DescriptionOf(number) };
}

PlatformError ErrorWithCause(int number, std::string_view cause)
{
    PlatformError error = ErrorWithNumber(number);
    error.description.append(": ").append(cause);
    return error;
}

} // namespace trawlit
