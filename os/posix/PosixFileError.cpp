#include "os/posix/PosixFileError.h"

#include <cerrno>
#include <system_error>

CFileError::Cause PosixErrorCause(int error) {
    using Cause = CFileError::Cause;
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return Cause::FileNotFound;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
        case EBUSY:
        case EXDEV:
            return Cause::AccessDenied;
        case ENOSPC:
        case EFBIG:
        case EDQUOT:
            return Cause::DiskFull;
        case ENAMETOOLONG:
            return Cause::BadPath;
        case EWOULDBLOCK:
            return Cause::SharingViolation;
        default:
            return Cause::Generic;
    }
}

CFileError PosixFileError(int error, const std::string& path) {
    return CFileError(PosixErrorCause(error), path + ": " + std::system_category().message(error));
}
