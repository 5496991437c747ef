#pragma once
// An open file of Windows: a handle opened with read and write access and no sharing, and the path
// it was opened by, which names it in error messages.

#include "os/FileSystem.h"

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
    void Rewind() override;
    void EndHere() override;
    void FlushToDisk() override;
    // The permissions are the file's attributes (read-only, hidden, system, archive...); owner and
    // group are not kept and read as 0.
    CFileIdentity GetIdentity() override;
    void SetPermissions(std::uint32_t permissions) override;
    // Owners are not kept on Windows, and GetIdentity gives every file the same: nothing to do.
    void SetOwner(std::uint32_t owner, std::uint32_t group) override;
    // Nothing to do: the final rename (ReplaceFileW) keeps the old file's security descriptor and
    // streams.
    void TakeAccessListAndAttributes(IFile& old) override;
    // Nothing to do: a new file already has what the folder gives new files.
    void TakeNewFilePermissions() override;
    // Files are always created with a name here: throws CFileError (Generic).
    std::string NameBeside(const std::string& path) override;
    void Close() override;

    // The path the file was opened by.
    const std::string& Path() const { return m_path; }

private:
    [[noreturn]] void Fail() const;

    void* m_handle;
    std::string m_path;
};
