#include "os/posix/PosixFile.h"

#include "os/posix/PosixAccessCopy.h"
#include "os/posix/PosixFileError.h"
#include "os/posix/PosixPaths.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <system_error>
#include <utility>

namespace {

// Linux moves at most this much in one read or write call.
constexpr std::size_t kLargestTransfer = 0x7ffff000;
// Written text is handed to the disk in pieces of about this size.
constexpr std::uint64_t kWriteBackStep = std::uint64_t{8} << 20;
constexpr int kNameAttempts = 100;

}  // namespace

CPosixFile::CPosixFile(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}

CPosixFile::~CPosixFile() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    if (m_folderFd >= 0) {
        ::close(m_folderFd);
    }
}

void CPosixFile::Fail(int error) const { throw PosixFileError(error, m_path); }

void CPosixFile::Lock() {
    int result;
    do {
        result = ::flock(m_fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        Fail(errno);
    }
    LockRecords();
}

void CPosixFile::LockRecords() {
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    if (::fcntl(m_fd, F_OFD_SETLK, &whole) == 0) {
        return;
    }
    if (errno == EAGAIN || errno == EACCES) {
        Fail(EWOULDBLOCK);
    }
    // Kernels without open file description locks and file systems without record locks leave
    // the flock alone to keep others out.
    if (errno != EINVAL && errno != ENOLCK) {
        Fail(errno);
    }
}

std::uint64_t CPosixFile::GetSize() {
    struct stat status {};
    if (::fstat(m_fd, &status) != 0) {
        Fail(errno);
    }
    return static_cast<std::uint64_t>(status.st_size);
}

std::size_t CPosixFile::Read(char* buffer, std::size_t size) {
    ssize_t count;
    do {
        count = ::read(m_fd, buffer, size < kLargestTransfer ? size : kLargestTransfer);
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        Fail(errno);
    }
    return static_cast<std::size_t>(count);
}

std::size_t CPosixFile::Write(const char* data, std::size_t size) {
    ssize_t count;
    do {
        count = ::write(m_fd, data, size < kLargestTransfer ? size : kLargestTransfer);
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        Fail(errno);
    }
    m_written += static_cast<std::uint64_t>(count);
    StartWriteBack();
    return static_cast<std::size_t>(count);
}

void CPosixFile::StartWriteBack() {
    // The disk takes the text while the rest is still being made, so the final flush has little
    // left to wait for. Only a hint: where the call is refused, the flush does it all.
    if (m_written - m_writtenBack < kWriteBackStep) {
        return;
    }
    const off_t end = ::lseek(m_fd, 0, SEEK_CUR);
    const off_t length = static_cast<off_t>(m_written - m_writtenBack);
    if (end >= length) {
        ::sync_file_range(m_fd, end - length, length, SYNC_FILE_RANGE_WRITE);
    }
    m_writtenBack = m_written;
}

void CPosixFile::Rewind() {
    if (::lseek(m_fd, 0, SEEK_SET) != 0) {
        Fail(errno);
    }
}

void CPosixFile::EndHere() {
    const off_t position = ::lseek(m_fd, 0, SEEK_CUR);
    if (position < 0 || ::ftruncate(m_fd, position) != 0) {
        Fail(errno);
    }
}

void CPosixFile::FlushToDisk() {
    if (::fsync(m_fd) != 0) {
        Fail(errno);
    }
}

CFileIdentity CPosixFile::GetIdentity() {
    struct stat status {};
    if (::fstat(m_fd, &status) != 0) {
        Fail(errno);
    }
    return CFileIdentity{status.st_uid, status.st_gid, static_cast<std::uint32_t>(status.st_mode & 07777),
                         static_cast<std::uint64_t>(status.st_nlink)};
}

void CPosixFile::SetPermissions(std::uint32_t permissions) {
    if (::fchmod(m_fd, static_cast<mode_t>(permissions & 07777)) != 0) {
        Fail(errno);
    }
}

void CPosixFile::SetOwner(std::uint32_t owner, std::uint32_t group) {
    if (::fchown(m_fd, static_cast<uid_t>(owner), static_cast<gid_t>(group)) != 0) {
        // EINVAL: the owner or the group has no number in this user namespace, which only the
        // user outside it could give.
        Fail(errno == EINVAL ? EPERM : errno);
    }
}

void CPosixFile::TakeAccessListAndAttributes(IFile& old) {
    const auto& oldFile = dynamic_cast<const CPosixFile&>(old);
    const int error = CopyAccessListAndAttributes(oldFile.m_fd, oldFile.m_path, m_fd, m_path);
    if (error == 0) {
        return;
    }
    if (IsAccessCopyRefusal(error)) {
        throw CFileError(CFileError::Cause::AccessDenied,
                         m_path + ": the access control list or an attribute of " + oldFile.m_path +
                             " cannot be given to a new file: " + std::system_category().message(error));
    }
    Fail(error);
}

int CPosixFile::OpenProbe() const {
    const int fd = ::openat(m_folderFd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) {
        return fd;
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = TemporaryNameBeside(NameOf(m_path));
        const int namedFd =
            ::openat(m_folderFd, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW, 0666);
        if (namedFd >= 0) {
            ::unlinkat(m_folderFd, name.c_str(), 0);
            return namedFd;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return -1;
}

void CPosixFile::TakeNewFilePermissions() {
    const int probe = OpenProbe();
    if (probe < 0) {
        Fail(errno);
    }
    const int error = CopyAccessList(probe, m_path, m_fd, m_path);
    ::close(probe);
    if (error != 0) {
        Fail(error);
    }
}

std::string CPosixFile::NameBeside(const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
    for (int attempt = 0;; ++attempt) {
        std::string temporary = TemporaryNameBeside(name);
        if (::linkat(AT_FDCWD, self.c_str(), m_folderFd, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            m_path = FolderOf(m_path) + temporary;
            return temporary;
        }
        if (errno != EEXIST || attempt + 1 == kNameAttempts) {
            throw PosixFileError(errno, FolderOf(m_path) + temporary);
        }
    }
}

void CPosixFile::Close() {
    // The descriptor is released even when close reports an error, so it is never closed twice.
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0) {
        Fail(errno);
    }
}

void CPosixFile::RefuseUnlessWritableRegular() {
    struct stat status {};
    if (::fstat(m_fd, &status) != 0) {
        Fail(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        throw CFileError(CFileError::Cause::AccessDenied, m_path + ": not a regular file");
    }
    if ((status.st_mode & 0222) == 0) {
        throw CFileError(CFileError::Cause::AccessDenied, m_path + ": the file is read-only");
    }
}
