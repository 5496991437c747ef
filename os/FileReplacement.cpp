#include "os/FileReplacement.h"

#include "os/FileError.h"
#include "os/FileSystem.h"

#include <memory>
#include <vector>

namespace {

// Larger writes are split so that each is within what any system moves in one call.
constexpr std::size_t kLargestWrite = std::size_t{1} << 30;
// The piece of a file that one step of a copy moves.
constexpr std::size_t kCopyBufferSize = std::size_t{1} << 16;

// Removes the file it was given, by its name in its folder, on destruction, unless told the file
// is kept.
class CRemoveUnlessKept {
public:
    CRemoveUnlessKept() = default;
    explicit CRemoveUnlessKept(IFolder& folder) : m_folder(&folder) {}
    ~CRemoveUnlessKept() { RemoveNow(); }
    CRemoveUnlessKept(const CRemoveUnlessKept&) = delete;
    CRemoveUnlessKept& operator=(const CRemoveUnlessKept&) = delete;

    void SetFolder(IFolder& folder) { m_folder = &folder; }
    IFolder& Folder() { return *m_folder; }
    std::string& Name() { return m_name; }
    std::string PathOf() const { return m_folder->PathOf(m_name); }
    void Keep() { m_name.clear(); }
    void RemoveNow() {
        if (m_folder != nullptr && !m_name.empty()) {
            m_folder->Remove(m_name);
        }
        m_name.clear();
    }

private:
    IFolder* m_folder = nullptr;
    std::string m_name;
};

// Failures that say this way of writing is not allowed here, while another may be.
bool IsRefusal(const CFileError& error) {
    const CFileError::Cause cause = error.GetCause();
    return cause == CFileError::Cause::AccessDenied || cause == CFileError::Cause::BadPath;
}

// The target's file, name in folder, open and locked, or nullptr when there is none yet.
std::unique_ptr<IFile> OpenTargetIfAny(IFolder& folder, const std::string& name) {
    std::unique_ptr<IFile> file;
    try {
        file = folder.OpenResolved(name);
    } catch (const CFileError& error) {
        if (error.GetCause() != CFileError::Cause::FileNotFound) {
            throw;
        }
        return nullptr;
    }
    file->Lock();
    return file;
}

// Gives file the owner, group, permissions, access control list and extended attributes of the
// old file oldFile, whose identity is old. Returns false where the user or the file system may not
// give it one of them: the file would then be a poorer one than the old.
bool TakeIdentity(IFile& file, IFile& oldFile, const CFileIdentity& old) {
    try {
        const CFileIdentity own = file.GetIdentity();
        if (own.owner != old.owner || own.group != old.group) {
            file.SetOwner(old.owner, old.group);
        }
        // After the owner, whose change drops a file capability among the attributes.
        file.TakeAccessListAndAttributes(oldFile);
    } catch (const CFileError& error) {
        if (error.GetCause() != CFileError::Cause::AccessDenied) {
            throw;
        }
        return false;
    }
    // Last: a change of owner drops the setuid and setgid bits.
    file.SetPermissions(old.permissions);
    return true;
}

// A new file beside the file name in folder, readable by its owner only, that may take the old
// file's place, or nullptr where none can: the old file has other names, or the folder refuses a
// new file. Stores the new file's name, if it has one yet, in createdName.
std::unique_ptr<IFile> CreateReplacement(IFolder& folder, const std::string& name, bool oldExists,
                                         std::uint64_t oldLinks, std::string& createdName) {
    if (oldExists && oldLinks > 1) {
        return nullptr;
    }
    try {
        return folder.CreateBeside(name, createdName);
    } catch (const CFileError& error) {
        if (!oldExists || !IsRefusal(error)) {
            throw;
        }
        return nullptr;
    }
}

// Copies the whole of from over to, from their starts, and ends to where the copy ends.
void CopyWhole(IFile& from, IFile& to, const std::string& path) {
    std::vector<char> buffer(kCopyBufferSize);
    from.Rewind();
    to.Rewind();
    for (;;) {
        const std::size_t count = from.Read(buffer.data(), buffer.size());
        if (count == 0) {
            break;
        }
        WriteAll(to, std::string_view(buffer.data(), count), path);
    }
    to.EndHere();
}

// The error for a rewrite that failed with error (what failed says how) and left the old text
// only in the backup.
CFileError KeptInBackup(const CFileError& error, const char* whatFailed, const std::string& target,
                        const std::string& backupPath) {
    return CFileError(error.GetCause(),
                      target + ": " + whatFailed + " (" + error.what() + "); the old text is kept in " + backupPath);
}

// Writes the old bytes kept in backup back over old and closes it, after a failed rewrite. Where
// that fails too, the backup is kept and the error names it.
void PutBack(CRemoveUnlessKept& backup, IFile& old, const std::string& target) {
    try {
        const std::unique_ptr<IFile> saved = backup.Folder().OpenForReading(backup.Name());
        CopyWhole(*saved, old, target);
        old.FlushToDisk();
        old.Close();
    } catch (const CFileError& error) {
        const CFileError kept = KeptInBackup(error, "writing the file failed, and so did putting its old text back",
                                             target, backup.PathOf());
        backup.Keep();
        throw kept;
    }
}

// Removes the backup once it is no longer needed.
void DropBackup(CRemoveUnlessKept& backup) {
    const std::string name = backup.Name();
    backup.Keep();
    backup.Folder().Remove(name);
    try {
        backup.Folder().Flush();
    } catch (const CFileError&) {
        // The new text is on the disk: a backup whose name a power cut brings back costs nothing.
    }
}

// Copies old, the file name in folder, to a new backup in folder, and returns once the backup is
// flushed, closed and its name on the disk. Throws CFileError.
void WriteBackupIn(IFolder& folder, const std::string& name, IFile& old, CRemoveUnlessKept& backup) {
    backup.SetFolder(folder);
    {
        const std::unique_ptr<IFile> copy = folder.CreateBackup(name, backup.Name());
        CopyWhole(old, *copy, backup.PathOf());
        copy->FlushToDisk();
        copy->Close();
    }
    folder.Flush();  // the backup's name, before the file is touched
}

// Writes a backup of old, the file name in folder: in that folder where it takes one, else (a
// folder that allows no new file, a full disk, which overwriting in place may not need) in the
// state folder, which stateFolder then holds open. Throws CFileError where neither takes it.
void WriteBackup(IFileSystem& fileSystem, IFolder& folder, const std::string& name, IFile& old,
                 std::unique_ptr<IFolder>& stateFolder, CRemoveUnlessKept& backup) {
    try {
        WriteBackupIn(folder, name, old, backup);
    } catch (const CFileError& besideError) {
        backup.RemoveNow();
        try {
            stateFolder = fileSystem.OpenStateFolder();
            WriteBackupIn(*stateFolder, name, old, backup);
        } catch (const CFileError& stateError) {
            throw CFileError(besideError.GetCause(), "no backup of " + folder.PathOf(name) + " could be made: " +
                                                         besideError.what() + "; " + stateError.what());
        }
    }
}

// Copies the text held in text over old, the file name in folder, in place, and closes old. Old's
// bytes are first copied to a backup, whose name is on the disk before the first byte of old is
// overwritten, and put back if anything fails before the new ones are on the disk; the backup is
// removed only then.
void RewriteInPlace(IFileSystem& fileSystem, IFolder& folder, const std::string& name, IFile& old, IFile& text) {
    const std::string target = folder.PathOf(name);
    // Declared before the backup's remover, so that the folder is closed after the removal.
    std::unique_ptr<IFolder> stateFolder;
    CRemoveUnlessKept backup;
    WriteBackup(fileSystem, folder, name, old, stateFolder, backup);
    try {
        CopyWhole(text, old, target);
        old.FlushToDisk();
    } catch (const CFileError&) {
        PutBack(backup, old, target);
        throw;
    }
    try {
        old.Close();
    } catch (const CFileError& error) {
        // The new text may not have reached the disk, and the file can no longer be written.
        const CFileError kept = KeptInBackup(error, "closing the file failed: its new text may not be on the disk",
                                             target, backup.PathOf());
        backup.Keep();
        throw kept;
    }
    DropBackup(backup);
}

// Writes the text of the replacement, which could not take the old file's place, over old.
void RewriteInPlaceFrom(IFileSystem& fileSystem, IFolder& folder, const std::string& name, IFile& old,
                        std::unique_ptr<IFile> replacement, const std::string& replacementName) {
    const std::unique_ptr<IFile> text =
        replacement != nullptr ? std::move(replacement) : folder.OpenForReading(replacementName);
    RewriteInPlace(fileSystem, folder, name, old, *text);
}

}  // namespace

void WriteAll(IFile& file, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        const std::size_t asked = bytes.size() < kLargestWrite ? bytes.size() : kLargestWrite;
        const std::size_t stored = file.Write(bytes.data(), asked);
        if (stored != asked) {
            throw CFileError(CFileError::Cause::DiskFull, path + ": only " + std::to_string(stored) + " of " +
                                                              std::to_string(asked) + " bytes could be written");
        }
        bytes.remove_prefix(stored);
    }
}

void ReplaceFileText(IFileSystem& fileSystem, const std::string& path, const FileTextWriter& writeText) {
    std::string name;
    // Every later step names its files in this folder, held open: a folder swapped meanwhile does
    // not redirect them.
    const std::unique_ptr<IFolder> folder = fileSystem.OpenFolderOf(fileSystem.FollowLinks(path), name);
    std::unique_ptr<IFile> old = OpenTargetIfAny(*folder, name);
    CFileIdentity identity;
    if (old != nullptr) {
        identity = old->GetIdentity();
    }

    // Declared before the new file, so that the file is closed before it is removed.
    CRemoveUnlessKept cleanup(*folder);
    std::unique_ptr<IFile> replacement =
        CreateReplacement(*folder, name, old != nullptr, identity.links, cleanup.Name());
    if (replacement == nullptr) {
        const std::unique_ptr<IFile> text = fileSystem.CreateScratch();
        writeText(*text);
        RewriteInPlace(fileSystem, *folder, name, *old, *text);
        return;
    }
    writeText(*replacement);
    // The file is given its final permissions only now that it is complete: until then nobody
    // else could open it.
    if (old == nullptr) {
        replacement->TakeNewFilePermissions();
    } else if (!TakeIdentity(*replacement, *old, identity)) {
        RewriteInPlace(fileSystem, *folder, name, *old, *replacement);
        return;
    }
    replacement->FlushToDisk();
    // Where the files stay open, the old one stays locked until it is replaced, and a refused
    // rename can still fall back to writing it in place.
    const bool canFallBack = old != nullptr && fileSystem.CanRenameOpenFiles();
    try {
        if (cleanup.Name().empty()) {
            cleanup.Name() = replacement->NameBeside(name);
        }
        // A failed write-back is reported by the close on some file systems: the file must be
        // whole before it takes the old one's place.
        std::unique_ptr<IFile>(std::move(replacement))->Close();
        if (!fileSystem.CanRenameOpenFiles() && old != nullptr) {
            old->Close();
        }
        folder->Rename(cleanup.Name(), name);
    } catch (const CFileError& error) {
        if (!canFallBack || !IsRefusal(error)) {
            throw;
        }
        RewriteInPlaceFrom(fileSystem, *folder, name, *old, std::move(replacement), cleanup.Name());
        return;
    }
    cleanup.Keep();
    if (old != nullptr) {
        fileSystem.CloseReplaced(std::move(old));
    }
    folder->Flush();
}
