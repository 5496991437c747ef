#include "os/posix/PosixAccessCopy.h"

#include <acl/libacl.h>
#include <attr/error_context.h>
#include <attr/libattr.h>
#include <cerrno>

namespace {

// An error context that keeps the errno of the first failure the libraries report.
struct CFirstError {
    error_context context;
    int error;
};

void KeepFirstError(error_context* context, const char*, ...) {
    const int error = errno;
    auto* first = reinterpret_cast<CFirstError*>(context);
    if (first->error == 0) {
        first->error = error != 0 ? error : EIO;
    }
}

// The first error of a library call that returned result; EIO where it said none.
int FirstError(int result, const CFirstError& first) {
    if (result == 0) {
        return 0;
    }
    return first.error != 0 ? first.error : EIO;
}

}  // namespace

int CopyAccessList(int fromFd, const std::string& fromPath, int toFd, const std::string& toPath) {
    CFirstError first{{KeepFirstError, nullptr, nullptr}, 0};
    errno = 0;
    const int result = ::perm_copy_fd(fromPath.c_str(), fromFd, toPath.c_str(), toFd, &first.context);
    return FirstError(result, first);
}

int CopyAccessListAndAttributes(int fromFd, const std::string& fromPath, int toFd, const std::string& toPath) {
    const int error = CopyAccessList(fromFd, fromPath, toFd, toPath);
    if (error != 0) {
        return error;
    }
    CFirstError first{{KeepFirstError, nullptr, nullptr}, 0};
    errno = 0;
    // No check of its own: the system's list (/etc/xattr.conf) says which attributes are copied,
    // and leaves the access control lists to perm_copy_fd.
    const int result = ::attr_copy_fd(fromPath.c_str(), fromFd, toPath.c_str(), toFd, nullptr, &first.context);
    return FirstError(result, first);
}

bool IsAccessCopyRefusal(int error) {
    switch (error) {
        case EPERM:
        case EACCES:
        case ENOTSUP:
        case EINVAL:
        case E2BIG:
        case ERANGE:
        case ENOSPC:
        case EDQUOT:
        case EROFS:
            return true;
        default:
            return false;
    }
}
