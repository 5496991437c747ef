#pragma once
// The file system of a POSIX machine. The lock is flock's and a record lock (see CPosixFile); a
// read-only file is a regular file without any write permission bit. New files beside a target
// are unnamed (O_TMPFILE) where the file system allows it, so that a process killed while writing
// one leaves nothing behind; else they get a hidden temporary name.

#include "cable/FileSystem.h"

class CPosixFileSystem : public IFileSystem {
public:
    enum class NewFiles { UnnamedWherePossible, Named };

    // newFiles chooses how CreateBeside makes files; Named is what file systems without unnamed
    // files give.
    explicit CPosixFileSystem(NewFiles newFiles = NewFiles::UnnamedWherePossible) : m_newFiles(newFiles) {}

    std::unique_ptr<IFile> OpenExisting(const std::string& path) override;
    std::unique_ptr<IFile> OpenResolved(const std::string& path) override;
    std::unique_ptr<IFile> CreateBeside(const std::string& path, std::string& createdPath) override;
    // An unnamed file in /tmp, or one whose name is removed at once.
    std::unique_ptr<IFile> CreateScratch() override;
    // Follows every link on the way, in the folders as well as at the end, and refuses
    // (AccessDenied) one that the kernel's protection of shared folders would not follow: a link
    // in a sticky folder that anybody may write to, owned neither by the user nor by the folder's
    // owner. The rule holds whether or not the kernel's own protection is switched on. A path that
    // goes on past a file ("list.ini/.", "list.ini/..", "list.ini/", or a link to one of them) is
    // refused as the kernel refuses it (ENOTDIR, FileNotFound).
    std::string FollowLinks(const std::string& path) override;
    // Beside path as ".NAME.XXXXXX.bak", else as "NAME.XXXXXX.bak" in $XDG_STATE_HOME/quorlis
    // (~/.local/state/quorlis where that is not set), through mkostemps.
    std::unique_ptr<IFile> CreateBackup(const std::string& path, std::string& backupPath) override;
    std::unique_ptr<IFile> OpenForReading(const std::string& path) override;
    void FlushFolderOf(const std::string& path) override;
    void Rename(const std::string& from, const std::string& to) override;
    bool CanRenameOpenFiles() const override { return true; }
    void Remove(const std::string& path) noexcept override;
    // A large file is closed by a thread of its own, so that the caller does not wait while the
    // system frees its blocks and cached pages.
    void CloseReplaced(std::unique_ptr<IFile> file) noexcept override;

private:
    std::unique_ptr<IFile> Open(const std::string& path, bool followLink);

    NewFiles m_newFiles;
};
