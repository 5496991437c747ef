#include "os/win32/Win32FileError.h"

#include <windows.h>

namespace {

std::string SystemMessage(DWORD error) {
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length && text ? std::string(text, length) : "error " + std::to_string(error);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
        message.pop_back();
    }
    return message;
}

}  // namespace

CFileError::Cause Win32ErrorCause(unsigned long error) {
    using Cause = CFileError::Cause;
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return Cause::FileNotFound;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return Cause::AccessDenied;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return Cause::SharingViolation;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return Cause::DiskFull;
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
            return Cause::BadPath;
        default:
            return Cause::Generic;
    }
}

CFileError Win32FileError(unsigned long error, const std::string& path) {
    return CFileError(Win32ErrorCause(error), path + ": " + SystemMessage(error));
}
