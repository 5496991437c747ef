#pragma once
// An open file of a POSIX system: a file descriptor and the path it was opened by, which names it
// in error messages. Its lock is both flock's and an open file description's record lock
// (F_OFD_SETLK), so that a file that another process holds with either kind is refused.

#include "os/FileSystem.h"

#include <string>

class CPosixFile : public IFile {
public:
    // Takes over descriptor fd, opened by path.
    CPosixFile(int fd, std::string path);
    ~CPosixFile() override;
    CPosixFile(const CPosixFile&) = delete;
    CPosixFile& operator=(const CPosixFile&) = delete;

    void Lock() override;
    std::uint64_t GetSize() override;
    std::size_t Read(char* buffer, std::size_t size) override;
    std::size_t Write(const char* data, std::size_t size) override;
    void Rewind() override;
    void EndHere() override;
    void FlushToDisk() override;
    CFileIdentity GetIdentity() override;
    void SetPermissions(std::uint32_t permissions) override;
    // A user namespace that cannot name the owner (EINVAL) is refused as the user is (EPERM).
    void SetOwner(std::uint32_t owner, std::uint32_t group) override;
    // Through libacl and libattr; old must be a CPosixFile.
    void TakeAccessListAndAttributes(IFile& old) override;
    // Copied from an empty file made for the purpose in the same folder, which the kernel gives
    // what a new file gets there.
    void TakeNewFilePermissions() override;
    // Links the unnamed file (O_TMPFILE) under a new hidden name in its folder, through
    // /proc/self/fd.
    std::string NameBeside(const std::string& name) override;
    void Close() override;

    // Takes over descriptor folderFd of the folder the file was made in, where NameBeside names it
    // and TakeNewFilePermissions looks at what a new file gets.
    void SetFolder(int folderFd) { m_folderFd = folderFd; }
    // Throws CFileError (AccessDenied) unless the file is a regular file that somebody may write to.
    void RefuseUnlessWritableRegular();

private:
    [[noreturn]] void Fail(int error) const;
    // An empty new file in the file's folder, made as any program makes one, that nobody else
    // sees by its name; -1 with errno set where none can be made.
    int OpenProbe() const;
    void LockRecords();

    // Starts writing to the disk what was written since the last call, once that is a lot.
    void StartWriteBack();

    int m_fd;
    int m_folderFd = -1;
    std::string m_path;
    std::uint64_t m_written = 0;      // bytes written through this object
    std::uint64_t m_writtenBack = 0;  // of those, the ones whose write-back has been started
};
