#pragma once
// The file system of a POSIX machine. The lock is flock's and a record lock (see CPosixFile); a
// read-only file is a regular file without any write permission bit.

#include "cable/FileSystem.h"

class CPosixFileSystem : public IFileSystem {
public:
    std::unique_ptr<IFile> OpenExisting(const std::string& path) override;
    std::unique_ptr<IFile> CreateBeside(const std::string& path, std::string& createdPath) override;
    std::string FollowLinks(const std::string& path) override;
    void Rename(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) noexcept override;
};
