#pragma once
// A folder of Windows, held open with no sharing of deletion, so that nobody can rename, move or
// delete it (and put another in its place) while a replacement's files are made in it.

#include "os/FileSystem.h"

#include <string>

class CWin32Folder : public IFolder {
public:
    // Opens the folder path ("" for the current one, else ending in a separator or a drive).
    // Backups in it are named "~XXXXXXXX.bak" (random) and open to the user running the program
    // alone. Throws CFileError.
    explicit CWin32Folder(std::string path);
    ~CWin32Folder() override;
    CWin32Folder(const CWin32Folder&) = delete;
    CWin32Folder& operator=(const CWin32Folder&) = delete;

    std::unique_ptr<IFile> OpenResolved(const std::string& name) override;
    // With a short hidden name of its own ("~XXXXXXXX.tmp").
    std::unique_ptr<IFile> CreateBeside(const std::string& name, std::string& createdName) override;
    std::unique_ptr<IFile> CreateBackup(const std::string& name, std::string& backupName) override;
    std::unique_ptr<IFile> OpenForReading(const std::string& name) override;
    // Replaces an existing to with ReplaceFileW, which keeps the replaced file's security
    // descriptor, creation time and alternate data streams; else moves from to to. Returns once
    // the move is on the disk.
    void Rename(const std::string& from, const std::string& to) override;
    void Remove(const std::string& name) noexcept override;
    // Nothing to do: renames are written through.
    void Flush() override {}
    std::string PathOf(const std::string& name) const override { return m_path + name; }

private:
    std::string m_path;
    void* m_handle;
};

// A short name in folder (ending in a separator, or "") that no one else is likely to pick, with
// the given ending; creating it with CREATE_NEW settles the rest.
std::string Win32TemporaryNameIn(const std::string& folder, const char* ending);
