#include "os/posix/PosixFileSystem.h"

#include "os/posix/PosixFile.h"
#include "os/posix/PosixFileError.h"
#include "os/posix/PosixFolder.h"
#include "os/posix/PosixPaths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

// Longer chains of links than this are loops, as the kernel counts them.
constexpr int kMostLinksFollowed = 40;
// Scratch files go here: the program reads no environment variable that could name another place.
constexpr const char* kScratchFolder = "/tmp";
// Closing a replaced file drops its cached pages and frees its blocks, about 0.7 ms a megabyte:
// from this size on a thread does it.
constexpr std::uint64_t kSlowToClose = std::uint64_t{1} << 20;

std::string ReadLink(const std::string& path) {
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

// The components of path between its slashes, last first, empty ones left out; a final slash
// counts as a final ".", which only a folder may be followed by.
std::vector<std::string> ComponentsLastFirst(const std::string& path) {
    std::vector<std::string> components;
    if (!path.empty() && path.back() == '/' && path.find_first_not_of('/') != std::string::npos) {
        components.emplace_back(".");
    }
    std::size_t end = path.size();
    while (end > 0) {
        const std::size_t slash = path.rfind('/', end - 1);
        const std::size_t begin = slash == std::string::npos ? 0 : slash + 1;
        std::string component = path.substr(begin, end - begin);
        if (!component.empty()) {
            components.push_back(std::move(component));
        }
        end = slash == std::string::npos ? 0 : slash;
    }
    return components;
}

// A path made only of folders that are no links: "" (the current folder), "/", or "a", "../a",
// "/a/b"... The folder above it, as ".." would reach it.
std::string FolderAbove(const std::string& folder) {
    if (folder.empty() || folder == ".." || folder.ends_with("/..")) {
        return folder.empty() ? ".." : folder + "/..";
    }
    const std::size_t slash = folder.rfind('/');
    if (slash == std::string::npos) {
        return "";
    }
    return slash == 0 ? "/" : folder.substr(0, slash);
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// Throws AccessDenied for the link link (its status status) in folder when the kernel's rule for
// shared folders forbids following it.
void RefuseProtectedLink(const std::string& folder, const struct stat& status, const std::string& link) {
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

// The folder for the program's state, $XDG_STATE_HOME/quorlis or ~/.local/state/quorlis, made
// (readable by its owner only) where it is missing; "" where there is none.
std::string StateFolder() {
    const char* state = ::secure_getenv("XDG_STATE_HOME");
    std::string base;
    if (state != nullptr && state[0] == '/') {
        base = state;
    } else {
        const char* home = ::secure_getenv("HOME");
        if (home == nullptr || home[0] != '/') {
            return "";
        }
        base = std::string(home) + "/.local/state";
    }
    const std::string folder = base + "/quorlis";
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = slash == std::string::npos ? folder : folder.substr(0, slash);
        ::mkdir(part.c_str(), 0700);
        if (slash == std::string::npos) {
            break;
        }
    }
    return folder;
}

// Whether error from an open with O_TMPFILE says that the file system or the kernel has no
// unnamed files.
bool MeansNoUnnamedFiles(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

// The folder at path ("" for the current one), open for CPosixFolder.
int OpenFolder(const std::string& path) {
    const int fd = ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        throw PosixFileError(errno, path.empty() ? "." : path);
    }
    return fd;
}

}  // namespace

std::unique_ptr<IFile> CPosixFileSystem::OpenExisting(const std::string& path) {
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

std::unique_ptr<IFolder> CPosixFileSystem::OpenFolderOf(const std::string& path, std::string& name) {
    name = NameOf(path);
    if (name.empty()) {
        throw PosixFileError(path.empty() ? ENOENT : EISDIR, path);
    }
    const std::string folder = FolderOf(path);
    return std::make_unique<CPosixFolder>(OpenFolder(folder), folder, m_newFiles, CPosixFolder::Backups::Hidden);
}

std::unique_ptr<IFolder> CPosixFileSystem::OpenStateFolder() {
    const std::string folder = StateFolder();
    if (folder.empty()) {
        throw CFileError(CFileError::Cause::FileNotFound, "no folder for the program's state: HOME is not set");
    }
    return std::make_unique<CPosixFolder>(OpenFolder(folder), folder + "/", m_newFiles, CPosixFolder::Backups::Visible);
}

std::unique_ptr<IFile> CPosixFileSystem::CreateScratch() {
    const int fd = ::open(kScratchFolder, O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) {
        return std::make_unique<CPosixFile>(fd, kScratchFolder);
    }
    if (!MeansNoUnnamedFiles(errno)) {
        throw PosixFileError(errno, kScratchFolder);
    }
    std::string name = std::string(kScratchFolder) + "/quorlis-XXXXXX";
    const int namedFd = ::mkostemp(name.data(), O_CLOEXEC);
    if (namedFd < 0) {
        throw PosixFileError(errno, name);
    }
    ::unlink(name.c_str());
    return std::make_unique<CPosixFile>(namedFd, std::move(name));
}

std::string CPosixFileSystem::FollowLinks(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    std::vector<std::string> pending = ComponentsLastFirst(path);
    std::string resolved = path.front() == '/' ? "/" : "";
    // Whether resolved is a folder: as the kernel does, only a folder may be followed by a name,
    // ".", ".." or a slash (ENOTDIR).
    bool resolvedIsFolder = true;
    int followed = 0;
    while (!pending.empty()) {
        const std::string name = std::move(pending.back());
        pending.pop_back();
        if (!resolvedIsFolder) {
            throw PosixFileError(ENOTDIR, path);
        }
        if (name == "." || name == "..") {
            resolved = name == "." ? resolved : FolderAbove(resolved);
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
            resolvedIsFolder = S_ISDIR(status.st_mode);
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

void CPosixFileSystem::CloseReplaced(std::unique_ptr<IFile> file) noexcept {
    try {
        if (file->GetSize() >= kSlowToClose) {
            std::thread([closing = std::move(file)]() mutable { closing.reset(); }).detach();
        }
    } catch (...) {
        // Where no thread can start, the file is closed here.
    }
}

IFileSystem& GetSystemFileSystem() {
    static CPosixFileSystem fileSystem;
    return fileSystem;
}
