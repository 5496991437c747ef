#pragma once
// The file system of a POSIX machine. The lock is flock's and a record lock (see CPosixFile); a
// read-only file is a regular file without any write permission bit.

#include "cable/FileSystem.h"

class CPosixFileSystem : public IFileSystem {
public:
    std::unique_ptr<IFile> OpenExisting(const std::string& path) override;
    std::unique_ptr<IFile> CreateBeside(const std::string& path, std::string& createdPath) override;
    // Follows every link on the way, in the folders as well as at the end, and refuses
    // (AccessDenied) one that the kernel's protection of shared folders would not follow: a link
    // in a sticky folder that anybody may write to, owned neither by the user nor by the folder's
    // owner. The rule holds whether or not the kernel's own protection is switched on.
    std::string FollowLinks(const std::string& path) override;
    void Rename(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) noexcept override;
};
