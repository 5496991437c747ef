#include "cable/win32/Win32FileSystem.h"

#include "cable/win32/Win32File.h"
#include "cable/win32/Win32FileError.h"

#define _CRT_RAND_S
#include <stdlib.h>

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <vector>

namespace {

constexpr int kNameAttempts = 100;

// A short name in the folder of path that no one else is likely to pick; CREATE_NEW settles the
// rest. It is short so that it fits wherever the target's own name does.
std::string TemporaryNameBeside(const std::string& path) {
    static std::atomic<unsigned> made{0};
    const unsigned mixed = (GetTickCount() * 2654435761u) ^ (GetCurrentProcessId() << 16) ^ made++;
    char name[16];
    std::snprintf(name, sizeof name, "~%08x.tmp", mixed);
    return path.substr(0, Win32FolderLength(path)) + name;
}

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

// path in UTF-16, from the ANSI code page.
std::wstring Wide(const std::string& path) {
    const int length = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
    return wide;
}

// Creates the file name exclusively, readable and writable; INVALID_HANDLE_VALUE with the error
// set where it cannot.
HANDLE CreateNew(const std::string& name) {
    return CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

// A backup in folder (ending in a separator) with a name no one can predict, or nullptr with the
// error set.
std::unique_ptr<IFile> CreateBackupIn(const std::string& folder) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        unsigned random = 0;
        if (rand_s(&random) != 0) {
            SetLastError(ERROR_GEN_FAILURE);
            return nullptr;
        }
        char name[16];
        std::snprintf(name, sizeof name, "~%08x.bak", random);
        const HANDLE handle = CreateNew(folder + name);
        if (handle != INVALID_HANDLE_VALUE) return std::make_unique<CWin32File>(handle, folder + name);
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return nullptr;
    }
    return nullptr;
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

std::unique_ptr<IFile> CWin32FileSystem::OpenResolved(const std::string& path) { return OpenExisting(path); }

std::unique_ptr<IFile> CWin32FileSystem::CreateBeside(const std::string& path, std::string& createdPath) {
    if (Win32FolderLength(path) == path.size()) {
        throw Win32FileError(path.empty() ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED, path);
    }
    for (int attempt = 0;; ++attempt) {
        std::string name = TemporaryNameBeside(path);
        const HANDLE handle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            createdPath = name;
            return std::make_unique<CWin32File>(handle, std::move(name));
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) throw Win32FileError(error, name);
        if (attempt + 1 == kNameAttempts) throw Win32FileError(error, name);
    }
}

std::unique_ptr<IFile> CWin32FileSystem::CreateScratch() {
    char folder[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder) throw Win32FileError(GetLastError(), "the temporary folder");
    for (int attempt = 0;; ++attempt) {
        std::string name = TemporaryNameBeside(std::string(folder, length) + "scratch");
        const HANDLE handle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (handle != INVALID_HANDLE_VALUE) return std::make_unique<CWin32File>(handle, std::move(name));
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) throw Win32FileError(error, name);
        if (attempt + 1 == kNameAttempts) throw Win32FileError(error, name);
    }
}

std::unique_ptr<IFile> CWin32FileSystem::CreateBackup(const std::string& path, std::string& backupPath) {
    std::unique_ptr<IFile> backup = CreateBackupIn(path.substr(0, Win32FolderLength(path)));
    if (backup == nullptr) {
        const CFileError besideError = Win32FileError(GetLastError(), path);
        const std::string folder = StateFolder();
        backup = folder.empty() ? nullptr : CreateBackupIn(folder);
        if (backup == nullptr) {
            throw CFileError(besideError.GetCause(), "no backup of " + path + " could be made: " + besideError.what());
        }
    }
    backupPath = static_cast<CWin32File&>(*backup).Path();
    return backup;
}

std::unique_ptr<IFile> CWin32FileSystem::OpenForReading(const std::string& path) {
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) throw Win32FileError(GetLastError(), path);
    return std::make_unique<CWin32File>(handle, path);
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

void CWin32FileSystem::Rename(const std::string& from, const std::string& to) {
    if (ReplaceFileW(Wide(to).c_str(), Wide(from).c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr)) {
        return;
    }
    // ERROR_FILE_NOT_FOUND: there is no file to replace, and the new one is moved into its place.
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) throw Win32FileError(error, to);
    if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        throw Win32FileError(GetLastError(), to);
    }
}

void CWin32FileSystem::Remove(const std::string& path) noexcept { DeleteFileA(path.c_str()); }

IFileSystem& GetSystemFileSystem() {
    static CWin32FileSystem fileSystem;
    return fileSystem;
}
