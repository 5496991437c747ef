#include "os/win32/Win32File.h"

#include "os/win32/Win32FileError.h"

#include <windows.h>

#include <utility>

namespace {

// Each ReadFile or WriteFile call moves at most this much.
constexpr std::size_t kLargestTransfer = std::size_t{1} << 30;

// Attributes that a replacement file takes over from the file it replaces.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

DWORD TransferSize(std::size_t size) { return static_cast<DWORD>(size < kLargestTransfer ? size : kLargestTransfer); }

}  // namespace

CWin32File::CWin32File(void* handle, std::string path) : m_handle(handle), m_path(std::move(path)) {}

CWin32File::~CWin32File() {
    if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
}

void CWin32File::Fail() const { throw Win32FileError(GetLastError(), m_path); }

void CWin32File::Lock() {}

std::uint64_t CWin32File::GetSize() {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(m_handle, &size)) Fail();
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t CWin32File::Read(char* buffer, std::size_t size) {
    DWORD count = 0;
    if (!ReadFile(m_handle, buffer, TransferSize(size), &count, nullptr)) Fail();
    return count;
}

std::size_t CWin32File::Write(const char* data, std::size_t size) {
    DWORD count = 0;
    if (!WriteFile(m_handle, data, TransferSize(size), &count, nullptr)) Fail();
    return count;
}

void CWin32File::Rewind() {
    if (!SetFilePointerEx(m_handle, LARGE_INTEGER{}, nullptr, FILE_BEGIN)) Fail();
}

void CWin32File::EndHere() {
    if (!SetEndOfFile(m_handle)) Fail();
}

void CWin32File::FlushToDisk() {
    if (!FlushFileBuffers(m_handle)) Fail();
}

CFileIdentity CWin32File::GetIdentity() {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(m_handle, &information)) Fail();
    CFileIdentity identity;
    identity.permissions = information.dwFileAttributes & kKeptAttributes;
    identity.links = information.nNumberOfLinks;
    return identity;
}

void CWin32File::SetPermissions(std::uint32_t permissions) {
    FILE_BASIC_INFO information{};
    information.FileAttributes =
        (permissions & kKeptAttributes) ? (permissions & kKeptAttributes) : FILE_ATTRIBUTE_NORMAL;
    if (!SetFileInformationByHandle(m_handle, FileBasicInfo, &information, sizeof information)) Fail();
}

void CWin32File::SetOwner(std::uint32_t, std::uint32_t) {}

void CWin32File::TakeAccessListAndAttributes(IFile&) {}

void CWin32File::TakeNewFilePermissions() {}

std::string CWin32File::NameBeside(const std::string&) {
    throw CFileError(CFileError::Cause::Generic, m_path + ": the file has a name already");
}

void CWin32File::Close() {
    // The handle is released even when closing reports an error, so it is never closed twice.
    const HANDLE handle = std::exchange(m_handle, INVALID_HANDLE_VALUE);
    if (!CloseHandle(handle)) Fail();
}
