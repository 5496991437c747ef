#pragma once
// An open file of Windows: a handle opened with read and write access and no sharing, and the path
// it was opened by, which names it in error messages.

#include "cable/FileSystem.h"

#include <string>

class CWin32File : public IFile {
public:
    // Takes over handle (a HANDLE), opened by path.
    CWin32File(void* handle, std::string path);
    ~CWin32File() override;
    CWin32File(const CWin32File&) = delete;
    CWin32File& operator=(const CWin32File&) = delete;

    // The file was opened without sharing, which already keeps every other opener out.
    void Lock() override;
    std::uint64_t GetSize() override;
    std::size_t Read(char* buffer, std::size_t size) override;
    std::size_t Write(const char* data, std::size_t size) override;
    void Truncate() override;
    void FlushToDisk() override;
    // The file's attributes (read-only, hidden, system, archive...).
    std::uint32_t GetPermissions() override;
    void SetPermissions(std::uint32_t permissions) override;
    void Close() override;

private:
    [[noreturn]] void Fail() const;

    void* m_handle;
    std::string m_path;
};
