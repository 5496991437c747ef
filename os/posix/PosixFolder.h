#pragma once
// A folder of a POSIX system held open by a descriptor, every file call made relative to it
// (openat, renameat, unlinkat, linkat, fsync).

#include "os/FileSystem.h"

#include <string>

class CPosixFolder : public IFolder {
public:
    enum class NewFiles { UnnamedWherePossible, Named };
    enum class Backups { Hidden, Visible };

    // Takes over descriptor fd, the folder opened by path ("" for the current folder, else ending
    // in a slash). newFiles chooses how CreateBeside makes files (Named is what file systems
    // without unnamed files give); backups whether backup names start with a dot.
    CPosixFolder(int fd, std::string path, NewFiles newFiles, Backups backups);
    ~CPosixFolder() override;
    CPosixFolder(const CPosixFolder&) = delete;
    CPosixFolder& operator=(const CPosixFolder&) = delete;

    std::unique_ptr<IFile> OpenResolved(const std::string& name) override;
    // Unnamed (O_TMPFILE) where the file system allows it, so that a process killed while writing
    // one leaves nothing behind; else with a hidden temporary name.
    std::unique_ptr<IFile> CreateBeside(const std::string& name, std::string& createdName) override;
    // As "[.]NAME.XXXXXX.bak", the X random.
    std::unique_ptr<IFile> CreateBackup(const std::string& name, std::string& backupName) override;
    std::unique_ptr<IFile> OpenForReading(const std::string& name) override;
    void Rename(const std::string& from, const std::string& to) override;
    void Remove(const std::string& name) noexcept override;
    void Flush() override;
    std::string PathOf(const std::string& name) const override { return m_path + name; }

private:
    // A new descriptor of the folder, for a file that names itself in it later.
    int Duplicate() const;

    int m_fd;
    std::string m_path;
    NewFiles m_newFiles;
    Backups m_backups;
};
