#pragma once
// File errors from the error numbers of POSIX calls.

#include "os/FileError.h"

#include <string>

// The cause that error (an errno value) is sorted into: ENOENT and ENOTDIR are FileNotFound;
// EACCES, EPERM, EISDIR, EROFS, EBUSY (a name that is a mount point) and EXDEV (a name on another
// file system) AccessDenied; ENOSPC, EFBIG and EDQUOT DiskFull; ENAMETOOLONG BadPath; EWOULDBLOCK
// (a lock held elsewhere) SharingViolation; any other Generic.
CFileError::Cause PosixErrorCause(int error);

// The file error for error on path: its cause, and a message of the path and the system's own
// description of the error.
CFileError PosixFileError(int error, const std::string& path);
