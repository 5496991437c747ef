#pragma once
// The file system of a POSIX machine. The lock is flock's and a record lock (see CPosixFile); a
// read-only file is a regular file without any write permission bit. A replacement's files are
// made in a folder held open (CPosixFolder).

#include "os/FileSystem.h"
#include "os/posix/PosixFolder.h"

class CPosixFileSystem : public IFileSystem {
public:
    using NewFiles = CPosixFolder::NewFiles;

    // newFiles chooses how the folders' CreateBeside makes files; Named is what file systems
    // without unnamed files give.
    explicit CPosixFileSystem(NewFiles newFiles = NewFiles::UnnamedWherePossible) : m_newFiles(newFiles) {}

    std::unique_ptr<IFile> OpenExisting(const std::string& path) override;
    std::unique_ptr<IFolder> OpenFolderOf(const std::string& path, std::string& name) override;
    // $XDG_STATE_HOME/quorlis, or ~/.local/state/quorlis where that is not set; backups there have
    // no leading dot.
    std::unique_ptr<IFolder> OpenStateFolder() override;
    // An unnamed file in /tmp, or one whose name is removed at once.
    std::unique_ptr<IFile> CreateScratch() override;
    // Follows every link on the way, in the folders as well as at the end, and refuses
    // (AccessDenied) one that the kernel's protection of shared folders would not follow: a link
    // in a sticky folder that anybody may write to, owned neither by the user nor by the folder's
    // owner. The rule holds whether or not the kernel's own protection is switched on. A path that
    // goes on past a file ("list.ini/.", "list.ini/..", "list.ini/", or a link to one of them) is
    // refused as the kernel refuses it (ENOTDIR, FileNotFound).
    std::string FollowLinks(const std::string& path) override;
    bool CanRenameOpenFiles() const override { return true; }
    // A large file is closed by a thread of its own, so that the caller does not wait while the
    // system frees its blocks and cached pages.
    void CloseReplaced(std::unique_ptr<IFile> file) noexcept override;

private:
    NewFiles m_newFiles;
};
