#pragma once
// File errors from the error codes of Windows calls (GetLastError).

#include "os/FileError.h"

#include <string>

// The cause that error (a GetLastError value) is sorted into: ERROR_FILE_NOT_FOUND and
// ERROR_PATH_NOT_FOUND are FileNotFound; ERROR_ACCESS_DENIED and ERROR_WRITE_PROTECT AccessDenied;
// ERROR_SHARING_VIOLATION and ERROR_LOCK_VIOLATION SharingViolation; ERROR_DISK_FULL and
// ERROR_HANDLE_DISK_FULL DiskFull; ERROR_FILENAME_EXCED_RANGE, ERROR_INVALID_NAME and
// ERROR_BAD_PATHNAME BadPath; any other Generic.
CFileError::Cause Win32ErrorCause(unsigned long error);

// The file error for error on path: its cause, and a message of the path and the system's own
// description of the error.
CFileError Win32FileError(unsigned long error, const std::string& path);
