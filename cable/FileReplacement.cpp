#include "cable/FileReplacement.h"

#include "cable/FileError.h"
#include "cable/FileSystem.h"

#include <memory>
#include <vector>

namespace {

// Larger writes are split so that each is within what any system moves in one call.
constexpr std::size_t kLargestWrite = std::size_t{1} << 30;
// The piece of a file that one step of a copy moves.
constexpr std::size_t kCopyBufferSize = std::size_t{1} << 16;

// Removes the file it was given on destruction, unless told the file is kept.
class CRemoveUnlessKept {
public:
    explicit CRemoveUnlessKept(IFileSystem& fileSystem) : m_fileSystem(fileSystem) {}
    ~CRemoveUnlessKept() {
        if (!m_path.empty()) {
            m_fileSystem.Remove(m_path);
        }
    }
    CRemoveUnlessKept(const CRemoveUnlessKept&) = delete;
    CRemoveUnlessKept& operator=(const CRemoveUnlessKept&) = delete;

    std::string& Path() { return m_path; }
    void Keep() { m_path.clear(); }

private:
    IFileSystem& m_fileSystem;
    std::string m_path;
};

// Failures that say this way of writing is not allowed here, while another may be.
bool IsRefusal(const CFileError& error) {
    const CFileError::Cause cause = error.GetCause();
    return cause == CFileError::Cause::AccessDenied || cause == CFileError::Cause::BadPath;
}

// The target's file, open and locked, or nullptr when there is none yet.
std::unique_ptr<IFile> OpenTargetIfAny(IFileSystem& fileSystem, const std::string& target) {
    std::unique_ptr<IFile> file;
    try {
        file = fileSystem.OpenResolved(target);
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

// A new file beside target, readable by its owner only, that may take the old file's place, or
// nullptr where none can: the old file has other names, or the folder refuses a new file. Stores
// the new file's name, if it has one yet, in createdPath.
std::unique_ptr<IFile> CreateReplacement(IFileSystem& fileSystem, const std::string& target, bool oldExists,
                                         std::uint64_t oldLinks, std::string& createdPath) {
    if (oldExists && oldLinks > 1) {
        return nullptr;
    }
    try {
        return fileSystem.CreateBeside(target, createdPath);
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

// The error for a rewrite that failed with error and left the old text only in the backup.
CFileError KeptInBackup(const CFileError& error, const std::string& target, const std::string& backupPath) {
    return CFileError(error.GetCause(), target + ": writing the file failed, and so did putting its old text back (" +
                                            error.what() + "); the old text is kept in " + backupPath);
}

// Writes the old bytes kept in the backup at backupPath back over old and closes it, after a
// failed rewrite. Where that fails too, the backup is kept and the error names it.
void PutBack(IFileSystem& fileSystem, CRemoveUnlessKept& backup, IFile& old, const std::string& target) {
    try {
        const std::unique_ptr<IFile> saved = fileSystem.OpenForReading(backup.Path());
        CopyWhole(*saved, old, target);
        old.FlushToDisk();
        old.Close();
    } catch (const CFileError& error) {
        const CFileError kept = KeptInBackup(error, target, backup.Path());
        backup.Keep();
        throw kept;
    }
}

// Removes the backup once it is no longer needed.
void DropBackup(IFileSystem& fileSystem, CRemoveUnlessKept& backup) {
    const std::string path = backup.Path();
    backup.Keep();
    fileSystem.Remove(path);
    try {
        fileSystem.FlushFolderOf(path);
    } catch (const CFileError&) {
        // The new text is on the disk: a backup whose name a power cut brings back costs nothing.
    }
}

// Copies the text held in text over old, in place, and closes old. Old's bytes are first copied to
// a backup, whose name is on the disk before the first byte of old is overwritten, and put back
// if anything fails before the new ones are on the disk; the backup is removed only then.
void RewriteInPlace(IFileSystem& fileSystem, IFile& old, IFile& text, const std::string& target) {
    CRemoveUnlessKept backup(fileSystem);
    {
        const std::unique_ptr<IFile> copy = fileSystem.CreateBackup(target, backup.Path());
        CopyWhole(old, *copy, backup.Path());
        copy->FlushToDisk();
        copy->Close();
    }
    fileSystem.FlushFolderOf(backup.Path());
    try {
        CopyWhole(text, old, target);
        old.FlushToDisk();
    } catch (const CFileError&) {
        PutBack(fileSystem, backup, old, target);
        throw;
    }
    try {
        old.Close();
    } catch (const CFileError& error) {
        // The new text may not have reached the disk, and the file can no longer be written.
        const CFileError kept = KeptInBackup(error, target, backup.Path());
        backup.Keep();
        throw kept;
    }
    DropBackup(fileSystem, backup);
}

// Writes the text of the replacement, which could not take the old file's place, over old.
void RewriteInPlaceFrom(IFileSystem& fileSystem, IFile& old, std::unique_ptr<IFile> replacement,
                        const std::string& replacementPath, const std::string& target) {
    const std::unique_ptr<IFile> text =
        replacement != nullptr ? std::move(replacement) : fileSystem.OpenForReading(replacementPath);
    RewriteInPlace(fileSystem, old, *text, target);
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
    const std::string target = fileSystem.FollowLinks(path);
    std::unique_ptr<IFile> old = OpenTargetIfAny(fileSystem, target);
    CFileIdentity identity;
    if (old != nullptr) {
        identity = old->GetIdentity();
    }

    // Declared before the new file, so that the file is closed before it is removed.
    CRemoveUnlessKept cleanup(fileSystem);
    std::unique_ptr<IFile> replacement =
        CreateReplacement(fileSystem, target, old != nullptr, identity.links, cleanup.Path());
    if (replacement == nullptr) {
        const std::unique_ptr<IFile> text = fileSystem.CreateScratch();
        writeText(*text);
        RewriteInPlace(fileSystem, *old, *text, target);
        return;
    }
    writeText(*replacement);
    // The file is given its final permissions only now that it is complete: until then nobody
    // else could open it.
    if (old == nullptr) {
        replacement->TakeNewFilePermissions();
    } else if (!TakeIdentity(*replacement, *old, identity)) {
        RewriteInPlace(fileSystem, *old, *replacement, target);
        return;
    }
    replacement->FlushToDisk();
    // Where the files stay open, the old one stays locked until it is replaced, and a refused
    // rename can still fall back to writing it in place.
    const bool canFallBack = old != nullptr && fileSystem.CanRenameOpenFiles();
    try {
        if (cleanup.Path().empty()) {
            cleanup.Path() = replacement->NameBeside(target);
        }
        // A failed write-back is reported by the close on some file systems: the file must be
        // whole before it takes the old one's place.
        std::unique_ptr<IFile>(std::move(replacement))->Close();
        if (!fileSystem.CanRenameOpenFiles() && old != nullptr) {
            old->Close();
        }
        fileSystem.Rename(cleanup.Path(), target);
    } catch (const CFileError& error) {
        if (!canFallBack || !IsRefusal(error)) {
            throw;
        }
        RewriteInPlaceFrom(fileSystem, *old, std::move(replacement), cleanup.Path(), target);
        return;
    }
    cleanup.Keep();
    if (old != nullptr) {
        fileSystem.CloseReplaced(std::move(old));
    }
    fileSystem.FlushFolderOf(target);
}
