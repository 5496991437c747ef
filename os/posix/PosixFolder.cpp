#include "os/posix/PosixFolder.h"

#include "os/posix/PosixFile.h"
#include "os/posix/PosixFileError.h"
#include "os/posix/PosixPaths.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace {

constexpr int kNameAttempts = 100;
// Names of backups keep at most this much of the file's name, to stay within NAME_MAX.
constexpr std::size_t kLongestNameKept = 64;

// Whether error from an open with O_TMPFILE says that the file system or the kernel has no
// unnamed files, rather than that the folder refuses a new file.
bool MeansNoUnnamedFiles(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

// Six characters no one can predict, from the kernel's random source. mkostemps makes such names
// only for paths: files made relative to a folder's descriptor need them made here.
std::string RandomCharacters() {
    constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[6];
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        throw PosixFileError(errno, "the random source");
    }
    std::string characters;
    for (const unsigned char byte : bytes) {
        characters += kAlphabet[byte % (sizeof kAlphabet - 1)];
    }
    return characters;
}

}  // namespace

CPosixFolder::CPosixFolder(int fd, std::string path, NewFiles newFiles, Backups backups)
    : m_fd(fd), m_path(std::move(path)), m_newFiles(newFiles), m_backups(backups) {}

CPosixFolder::~CPosixFolder() { ::close(m_fd); }

int CPosixFolder::Duplicate() const {
    const int fd = ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
    if (fd < 0) {
        throw PosixFileError(errno, m_path);
    }
    return fd;
}

std::unique_ptr<IFile> CPosixFolder::OpenResolved(const std::string& name) {
    // Devices and pipes are refused before opening, which may have effects of its own.
    const std::string path = PathOf(name);
    struct stat status {};
    if (::fstatat(m_fd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        throw PosixFileError(errno, path);
    }
    if (S_ISDIR(status.st_mode)) {
        throw PosixFileError(EISDIR, path);
    }
    if (!S_ISREG(status.st_mode)) {
        throw CFileError(CFileError::Cause::AccessDenied, path + ": not a regular file");
    }
    const int fd = ::openat(m_fd, name.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW);
    if (fd < 0) {
        // ELOOP: a link took the file's place since it was looked at.
        throw PosixFileError(errno == ELOOP ? EACCES : errno, path);
    }
    auto file = std::make_unique<CPosixFile>(fd, path);
    file->RefuseUnlessWritableRegular();
    return file;
}

std::unique_ptr<IFile> CPosixFolder::CreateBeside(const std::string& name, std::string& createdName) {
    // An unnamed file is given its name through /proc/self/fd, which must be there.
    if (m_newFiles == NewFiles::UnnamedWherePossible && ::access("/proc/self/fd", X_OK) == 0) {
        const int fd = ::openat(m_fd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd >= 0) {
            createdName.clear();
            auto file = std::make_unique<CPosixFile>(fd, PathOf(name));
            file->SetFolder(Duplicate());
            return file;
        }
        if (!MeansNoUnnamedFiles(errno)) {
            throw PosixFileError(errno, PathOf(name));
        }
    }
    for (int attempt = 0;; ++attempt) {
        std::string temporary = TemporaryNameBeside(name);
        const int fd = ::openat(m_fd, temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
        if (fd >= 0) {
            createdName = temporary;
            auto file = std::make_unique<CPosixFile>(fd, PathOf(temporary));
            file->SetFolder(Duplicate());
            return file;
        }
        if (errno != EEXIST || attempt + 1 == kNameAttempts) {
            throw PosixFileError(errno, PathOf(temporary));
        }
    }
}

std::unique_ptr<IFile> CPosixFolder::CreateBackup(const std::string& name, std::string& backupName) {
    const std::string start = (m_backups == Backups::Hidden ? "." : "") + name.substr(0, kLongestNameKept) + ".";
    for (int attempt = 0;; ++attempt) {
        std::string backup = start + RandomCharacters() + ".bak";
        const int fd =
            ::openat(m_fd, backup.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
        if (fd >= 0) {
            backupName = backup;
            return std::make_unique<CPosixFile>(fd, PathOf(backup));
        }
        if (errno != EEXIST || attempt + 1 == kNameAttempts) {
            throw PosixFileError(errno, PathOf(backup));
        }
    }
}

std::unique_ptr<IFile> CPosixFolder::OpenForReading(const std::string& name) {
    const int fd = ::openat(m_fd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW);
    if (fd < 0) {
        throw PosixFileError(errno, PathOf(name));
    }
    return std::make_unique<CPosixFile>(fd, PathOf(name));
}

void CPosixFolder::Rename(const std::string& from, const std::string& to) {
    if (::renameat(m_fd, from.c_str(), m_fd, to.c_str()) != 0) {
        throw PosixFileError(errno, PathOf(to));
    }
}

void CPosixFolder::Remove(const std::string& name) noexcept { ::unlinkat(m_fd, name.c_str(), 0); }

void CPosixFolder::Flush() {
    // EINVAL: a file system that keeps its folders in memory only has nothing to flush.
    if (::fsync(m_fd) != 0 && errno != EINVAL) {
        throw PosixFileError(errno, m_path.empty() ? "." : m_path);
    }
}
