#include "os/win32/Win32FileSystem.h"

#include "os/FolderPath.h"

#include "os/win32/Win32File.h"
#include "os/win32/Win32FileError.h"
#include "os/win32/Win32Folder.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <vector>

namespace {

constexpr int kNameAttempts = 100;

// The final path of an open file, without the "\\?\" that the system puts before it, or "".
std::string FinalPathOf(HANDLE file) {
    char buffer[MAX_PATH + 8];
    const DWORD length = GetFinalPathNameByHandleA(file, buffer, sizeof buffer, FILE_NAME_NORMALIZED);
    if (length == 0 || length >= sizeof buffer) return {};
    std::string path(buffer, length);
    if (path.starts_with("\\\\?\\UNC\\")) return path.replace(0, 7, "\\");
    if (path.starts_with("\\\\?\\")) return path.substr(4);
    return path;
}

// The local application-data folder's "quorlis" folder, made where it is missing, with a final
// separator; "" where there is none.
std::string StateFolder() {
    char base[MAX_PATH + 1];
    const DWORD length = GetEnvironmentVariableA("LOCALAPPDATA", base, sizeof base);
    if (length == 0 || length >= sizeof base) return {};
    const std::string folder = std::string(base, length) + "\\quorlis";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

}  // namespace

std::size_t Win32FolderLength(const std::string& path) {
    std::size_t length = path.size() >= 2 && path[1] == ':' ? 2 : 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
            ++i;
        } else if (path[i] == '\\' || path[i] == '/') {
            length = i + 1;
        }
    }
    return length;
}

std::string FolderOfPath(const std::string& path) { return path.substr(0, Win32FolderLength(path)); }

std::unique_ptr<IFile> CWin32FileSystem::OpenExisting(const std::string& path) {
    // Checked first: some systems let an administrator open a read-only file for writing.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) throw Win32FileError(GetLastError(), path);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) throw Win32FileError(ERROR_ACCESS_DENIED, path);
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        throw CFileError(CFileError::Cause::AccessDenied, path + ": the file is read-only");
    }
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) throw Win32FileError(GetLastError(), path);
    auto file = std::make_unique<CWin32File>(handle, path);
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        throw CFileError(CFileError::Cause::AccessDenied, path + ": not a regular file");
    }
    return file;
}

std::unique_ptr<IFolder> CWin32FileSystem::OpenFolderOf(const std::string& path, std::string& name) {
    const std::size_t folderLength = Win32FolderLength(path);
    if (folderLength == path.size()) {
        throw Win32FileError(path.empty() ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED, path);
    }
    name = path.substr(folderLength);
    return std::make_unique<CWin32Folder>(path.substr(0, folderLength));
}

std::unique_ptr<IFolder> CWin32FileSystem::OpenStateFolder() {
    const std::string folder = StateFolder();
    if (folder.empty()) throw Win32FileError(ERROR_PATH_NOT_FOUND, "the local application-data folder");
    return std::make_unique<CWin32Folder>(folder);
}

std::unique_ptr<IFile> CWin32FileSystem::CreateScratch() {
    char folder[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder) throw Win32FileError(GetLastError(), "the temporary folder");
    for (int attempt = 0;; ++attempt) {
        std::string name = Win32TemporaryNameIn(std::string(folder, length), ".tmp");
        const HANDLE handle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (handle != INVALID_HANDLE_VALUE) return std::make_unique<CWin32File>(handle, std::move(name));
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) throw Win32FileError(error, name);
        if (attempt + 1 == kNameAttempts) throw Win32FileError(error, name);
    }
}

std::string CWin32FileSystem::FollowLinks(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return path;
    const HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return path;  // a dangling link: the link itself is replaced
    const std::string target = FinalPathOf(handle);
    CloseHandle(handle);
    return target.empty() ? path : target;
}

IFileSystem& GetSystemFileSystem() {
    static CWin32FileSystem fileSystem;
    return fileSystem;
}
