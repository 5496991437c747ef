#pragma once
// The file system of Windows, through the ANSI (A) calls. Files are opened with read and write
// access and no sharing, so a file another program holds open is a sharing violation; a file with
// the read-only attribute is refused whoever the user is.

#include "os/FileSystem.h"

class CWin32FileSystem : public IFileSystem {
public:
    std::unique_ptr<IFile> OpenExisting(const std::string& path) override;
    std::unique_ptr<IFolder> OpenFolderOf(const std::string& path, std::string& name) override;
    // The local application-data folder's "quorlis" folder.
    std::unique_ptr<IFolder> OpenStateFolder() override;
    // A file in the user's temporary folder, deleted by the system when it is closed.
    std::unique_ptr<IFile> CreateScratch() override;
    // Follows a symbolic link or junction to the file it names (the final path of the file).
    std::string FollowLinks(const std::string& path) override;
    // A file opened without sharing cannot be renamed, nor replaced.
    bool CanRenameOpenFiles() const override { return false; }
};

// The length of the folder part of path, its final "\" or "/" included, or of its drive ("C:"),
// or 0 when it has neither; double-byte characters are stepped over whole in the ANSI code page.
std::size_t Win32FolderLength(const std::string& path);
