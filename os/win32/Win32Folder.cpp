// rand_s, which the C library declares only where this is defined before its first header.
#define _CRT_RAND_S
#include <stdlib.h>

#include "os/win32/Win32Folder.h"

#include "os/win32/Win32File.h"
#include "os/win32/Win32FileError.h"
#include "os/win32/Win32FileSystem.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

namespace {

constexpr int kNameAttempts = 100;

// path in UTF-16, from the ANSI code page.
std::wstring Wide(const std::string& path) {
    const int length = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
    return wide;
}

// Creates the file path exclusively, readable and writable, with no sharing, and with security
// (nullptr: what the folder passes on); the handle, or INVALID_HANDLE_VALUE with the error set.
HANDLE CreateNew(const std::string& path, SECURITY_ATTRIBUTES* security = nullptr) {
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, security, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

// A security descriptor whose one entry gives the user running the program every right on a file,
// protected from the entries that the folder passes on: a backup holds a private list's whole
// text, so no one else may read it, whatever the folder allows.
class COwnerOnlySecurity {
public:
    // Throws CFileError when the user's identity cannot be had.
    explicit COwnerOnlySecurity(const std::string& path) {
        HANDLE token = nullptr;
        DWORD size = 0;
        const bool known = OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) &&
                           (GetTokenInformation(token, TokenUser, m_user, sizeof m_user, &size) != 0);
        const DWORD error = GetLastError();
        if (token) CloseHandle(token);
        if (!known) throw Win32FileError(error, path);
        PSID sid = reinterpret_cast<TOKEN_USER*>(m_user)->User.Sid;
        if (!InitializeAcl(reinterpret_cast<ACL*>(m_acl), sizeof m_acl, ACL_REVISION) ||
            !AddAccessAllowedAce(reinterpret_cast<ACL*>(m_acl), ACL_REVISION, FILE_ALL_ACCESS, sid) ||
            !InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION) ||
            !SetSecurityDescriptorDacl(&m_descriptor, TRUE, reinterpret_cast<ACL*>(m_acl), FALSE) ||
            !SetSecurityDescriptorControl(&m_descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
            throw Win32FileError(GetLastError(), path);
        }
        m_attributes.nLength = sizeof m_attributes;
        m_attributes.lpSecurityDescriptor = &m_descriptor;
        m_attributes.bInheritHandle = FALSE;
    }
    COwnerOnlySecurity(const COwnerOnlySecurity&) = delete;
    COwnerOnlySecurity& operator=(const COwnerOnlySecurity&) = delete;

    SECURITY_ATTRIBUTES* Get() { return &m_attributes; }

private:
    // TOKEN_USER with its SID (at most SECURITY_MAX_SID_SIZE), and an ACL of one entry.
    alignas(void*) unsigned char m_user[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE] = {};
    alignas(DWORD) unsigned char m_acl[sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE] = {};
    SECURITY_DESCRIPTOR m_descriptor = {};
    SECURITY_ATTRIBUTES m_attributes = {};
};

}  // namespace

std::string Win32TemporaryNameIn(const std::string& folder, const char* ending) {
    static std::atomic<unsigned> made{0};
    const unsigned mixed = (GetTickCount() * 2654435761u) ^ (GetCurrentProcessId() << 16) ^ made++;
    char name[32];
    std::snprintf(name, sizeof name, "~%08x%s", mixed, ending);
    return folder + name;
}

CWin32Folder::CWin32Folder(std::string path) : m_path(std::move(path)) {
    const std::string folder = m_path.empty() ? "." : m_path;
    m_handle = CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (m_handle == INVALID_HANDLE_VALUE) throw Win32FileError(GetLastError(), folder);
}

CWin32Folder::~CWin32Folder() { CloseHandle(m_handle); }

std::unique_ptr<IFile> CWin32Folder::OpenResolved(const std::string& name) {
    return CWin32FileSystem().OpenExisting(PathOf(name));
}

std::unique_ptr<IFile> CWin32Folder::CreateBeside(const std::string&, std::string& createdName) {
    for (int attempt = 0;; ++attempt) {
        const std::string name = Win32TemporaryNameIn("", ".tmp");
        const HANDLE handle = CreateNew(PathOf(name));
        if (handle != INVALID_HANDLE_VALUE) {
            createdName = name;
            return std::make_unique<CWin32File>(handle, PathOf(name));
        }
        const DWORD error = GetLastError();
        if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt + 1 == kNameAttempts) {
            throw Win32FileError(error, PathOf(name));
        }
    }
}

std::unique_ptr<IFile> CWin32Folder::CreateBackup(const std::string&, std::string& backupName) {
    COwnerOnlySecurity ownerOnly(m_path);
    for (int attempt = 0;; ++attempt) {
        unsigned random = 0;
        if (rand_s(&random) != 0) throw Win32FileError(ERROR_GEN_FAILURE, m_path);
        char name[16];
        std::snprintf(name, sizeof name, "~%08x.bak", random);
        const HANDLE handle = CreateNew(PathOf(name), ownerOnly.Get());
        if (handle != INVALID_HANDLE_VALUE) {
            backupName = name;
            return std::make_unique<CWin32File>(handle, PathOf(name));
        }
        const DWORD error = GetLastError();
        if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt + 1 == kNameAttempts) {
            throw Win32FileError(error, PathOf(name));
        }
    }
}

std::unique_ptr<IFile> CWin32Folder::OpenForReading(const std::string& name) {
    const HANDLE handle = CreateFileA(PathOf(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) throw Win32FileError(GetLastError(), PathOf(name));
    return std::make_unique<CWin32File>(handle, PathOf(name));
}

void CWin32Folder::Rename(const std::string& from, const std::string& to) {
    const std::string fromPath = PathOf(from);
    const std::string toPath = PathOf(to);
    if (ReplaceFileW(Wide(toPath).c_str(), Wide(fromPath).c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr)) {
        return;
    }
    // ERROR_FILE_NOT_FOUND: there is no file to replace, and the new one is moved into its place.
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) throw Win32FileError(error, toPath);
    if (!MoveFileExA(fromPath.c_str(), toPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        throw Win32FileError(GetLastError(), toPath);
    }
}

void CWin32Folder::Remove(const std::string& name) noexcept { DeleteFileA(PathOf(name).c_str()); }
