#include "cable/posix/PosixFileSystem.h"

#include "cable/posix/PosixFile.h"
#include "cable/posix/PosixFileError.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <atomic>
#include <chrono>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Longer chains of links than this are loops, as the kernel counts them.
constexpr int kMostLinksFollowed = 40;
// Temporary names keep at most this much of the target's name, to stay within NAME_MAX.
constexpr std::size_t kLongestNameKept = 64;
constexpr int kNameAttempts = 100;

// The folder part of path, with its final slash, or "" when path has none.
std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A hidden name in the folder of path that no one else is likely to pick; O_EXCL settles the rest.
std::string TemporaryNameBeside(const std::string& path)
{
    static std::atomic<unsigned> made{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    const auto mixed = static_cast<unsigned long long>(now) * 0x9E3779B97F4A7C15ull +
                       static_cast<unsigned long long>(::getpid()) * 0x100000001B3ull + made++;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%012llx.tmp", mixed >> 16);
    return FolderOf(path) + "." + NameOf(path).substr(0, kLongestNameKept) + suffix;
}

std::string ReadLink(const std::string& path)
{
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0) {
            throw PosixFileError(errno, path);
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

std::unique_ptr<IFile> CPosixFileSystem::OpenExisting(const std::string& path)
{
    // Devices and pipes are refused before opening, which may have effects of its own.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        throw PosixFileError(errno, path);
    }
    if (S_ISDIR(status.st_mode)) {
        throw PosixFileError(EISDIR, path);
    }
    if (!S_ISREG(status.st_mode)) {
        throw CFileError(CFileError::Cause::AccessDenied, path + ": not a regular file");
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        throw PosixFileError(errno, path);
    }
    auto file = std::make_unique<CPosixFile>(fd, path);
    file->RefuseUnlessWritableRegular();
    return file;
}

std::unique_ptr<IFile> CPosixFileSystem::CreateBeside(const std::string& path,
                                                      std::string& createdPath)
{
    if (NameOf(path).empty()) {
        throw PosixFileError(path.empty() ? ENOENT : EISDIR, path);
    }
    for (int attempt = 0;; ++attempt) {
        std::string name = TemporaryNameBeside(path);
        // 0666 less the umask: the permissions a file newly created at path would get.
        const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0) {
            createdPath = name;
            return std::make_unique<CPosixFile>(fd, std::move(name));
        }
        if (errno != EEXIST || attempt + 1 == kNameAttempts) {
            throw PosixFileError(errno, name);
        }
    }
}

std::string CPosixFileSystem::FollowLinks(const std::string& path)
{
    std::string current = path;
    for (int followed = 0; followed <= kMostLinksFollowed; ++followed) {
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0) {
            if (errno == ENOENT) {
                return current;
            }
            throw PosixFileError(errno, current);
        }
        if (!S_ISLNK(status.st_mode)) {
            return current;
        }
        std::string target = ReadLink(current);
        current = !target.empty() && target.front() == '/' ? target : FolderOf(current) + target;
    }
    throw PosixFileError(ELOOP, path);
}

void CPosixFileSystem::Rename(const std::string& from, const std::string& to)
{
    if (::rename(from.c_str(), to.c_str()) != 0) {
        throw PosixFileError(errno, to);
    }
}

void CPosixFileSystem::Remove(const std::string& path) noexcept
{
    ::unlink(path.c_str());
}

IFileSystem& GetSystemFileSystem()
{
    static CPosixFileSystem fileSystem;
    return fileSystem;
}
