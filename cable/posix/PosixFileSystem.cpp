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


// The components of path between its slashes, last first, empty ones and "." left out.
std::vector<std::string> ComponentsLastFirst(const std::string& path)
{
    std::vector<std::string> components;
    std::size_t end = path.size();
    while (end > 0) {
        const std::size_t slash = path.rfind('/', end - 1);
        const std::size_t begin = slash == std::string::npos ? 0 : slash + 1;
        std::string component = path.substr(begin, end - begin);
        if (!component.empty() && component != ".") {
            components.push_back(std::move(component));
        }
        end = slash == std::string::npos ? 0 : slash;
    }
    return components;
}

// A path made only of folders that are no links: "" (the current folder), "/", or "a", "../a",
// "/a/b"... The folder above it, as ".." would reach it.
std::string FolderAbove(const std::string& folder)
{
    if (folder.empty() || folder == ".." || folder.ends_with("/..")) {
        return folder.empty() ? ".." : folder + "/..";
    }
    const std::size_t slash = folder.rfind('/');
    if (slash == std::string::npos) {
        return "";
    }
    return slash == 0 ? "/" : folder.substr(0, slash);
}

std::string Join(const std::string& folder, const std::string& name)
{
    if (folder.empty()) {
        return name;
    }
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// Throws AccessDenied for the link link (its status status) in folder when the kernel's rule for
// shared folders forbids following it.
void RefuseProtectedLink(const std::string& folder, const struct stat& status, const std::string& link)
{
    if (status.st_uid == ::geteuid()) {
        return;
    }
    struct stat folderStatus {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &folderStatus) != 0) {
        throw PosixFileError(errno, folder);
    }
    const bool shared = (folderStatus.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH);
    if (shared && folderStatus.st_uid != status.st_uid) {
        throw CFileError(CFileError::Cause::AccessDenied,
                         link + ": a link of another user in a shared folder is not followed");
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
    // A path that ends in a slash names a folder, which every later step refuses.
    if (path.empty() || path.back() == '/') {
        return path;
    }
    std::vector<std::string> pending = ComponentsLastFirst(path);
    std::string resolved = path.front() == '/' ? "/" : "";
    int followed = 0;
    while (!pending.empty()) {
        const std::string name = std::move(pending.back());
        pending.pop_back();
        if (name == "..") {
            resolved = FolderAbove(resolved);
            continue;
        }
        const std::string current = Join(resolved, name);
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0) {
            if (errno == ENOENT && pending.empty()) {
                return current;
            }
            throw PosixFileError(errno, current);
        }
        if (!S_ISLNK(status.st_mode)) {
            resolved = current;
            continue;
        }
        if (++followed > kMostLinksFollowed) {
            throw PosixFileError(ELOOP, path);
        }
        RefuseProtectedLink(resolved, status, current);
        const std::string target = ReadLink(current);
        std::vector<std::string> targetComponents = ComponentsLastFirst(target);
        pending.insert(pending.end(), targetComponents.begin(), targetComponents.end());
        if (!target.empty() && target.front() == '/') {
            resolved.assign(1, '/');
        }
    }
    return resolved.empty() ? "." : resolved;
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
