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

// Gives file the owner, group and permissions of the old file. Returns false, with the
// permissions untouched, where the user may not give it that owner or group.
bool TakeIdentity(IFile& file, const CFileIdentity& old) {
    const CFileIdentity own = file.GetIdentity();
    if (own.owner != old.owner || own.group != old.group) {
        try {
            file.SetOwner(old.owner, old.group);
        } catch (const CFileError& error) {
            if (error.GetCause() != CFileError::Cause::AccessDenied) {
                throw;
            }
            return false;
        }
    }
    // After the owner: a change of owner drops the setuid and setgid bits.
    file.SetPermissions(old.permissions);
    return true;
}

// A new file beside target that can take the old file's place as the same file to its users, or
// nullptr where none can: the old file has other names, the folder refuses a new file, or the
// new file cannot have the old one's owner and group. Stores the new file's name, if it has one
// yet, in createdPath.
std::unique_ptr<IFile> CreateReplacement(IFileSystem& fileSystem, const std::string& target, const CFileIdentity* old,
                                         std::string& createdPath) {
    if (old != nullptr && old->links > 1) {
        return nullptr;
    }
    std::unique_ptr<IFile> file;
    try {
        file = fileSystem.CreateBeside(target, createdPath);
    } catch (const CFileError& error) {
        if (old == nullptr || !IsRefusal(error)) {
            throw;
        }
        return nullptr;
    }
    if (old != nullptr && !TakeIdentity(*file, *old)) {
        return nullptr;
    }
    return file;
}

void WriteAndFlush(IFile& file, const FileTextWriter& writeText) {
    writeText(file);
    file.FlushToDisk();
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

// Writes the old bytes kept in backup back over old, after a failed rewrite.
void PutBack(IFile& backup, IFile& old, const std::string& target) {
    try {
        CopyWhole(backup, old, target);
        old.FlushToDisk();
    } catch (const CFileError& error) {
        throw CFileError(
            error.GetCause(),
            target + ": writing the file failed, and so did putting its old text back (" + error.what() + ")");
    }
}

// Copies the text held in text over old, in place. Old's bytes are first copied to a scratch file
// and put back if anything fails before the new ones are on the disk.
void RewriteInPlace(IFileSystem& fileSystem, IFile& old, IFile& text, const std::string& target) {
    const std::unique_ptr<IFile> backup = fileSystem.CreateScratch();
    CopyWhole(old, *backup, target);
    try {
        CopyWhole(text, old, target);
        old.FlushToDisk();
    } catch (...) {
        PutBack(*backup, old, target);
        throw;
    }
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
    const std::unique_ptr<IFile> replacement =
        CreateReplacement(fileSystem, target, old != nullptr ? &identity : nullptr, cleanup.Path());
    if (replacement == nullptr) {
        const std::unique_ptr<IFile> text = fileSystem.CreateScratch();
        WriteAndFlush(*text, writeText);
        RewriteInPlace(fileSystem, *old, *text, target);
        return;
    }
    WriteAndFlush(*replacement, writeText);
    // Where the files stay open, the old one stays locked until it is replaced, and a refused
    // rename can still fall back to writing it in place.
    const bool canFallBack = old != nullptr && fileSystem.CanRenameOpenFiles();
    try {
        if (cleanup.Path().empty()) {
            cleanup.Path() = replacement->NameBeside(target);
        }
        if (!fileSystem.CanRenameOpenFiles()) {
            replacement->Close();
            if (old != nullptr) {
                old->Close();
            }
        }
        fileSystem.Rename(cleanup.Path(), target);
    } catch (const CFileError& error) {
        if (!canFallBack || !IsRefusal(error)) {
            throw;
        }
        RewriteInPlace(fileSystem, *old, *replacement, target);
        return;
    }
    cleanup.Keep();
    if (old != nullptr) {
        fileSystem.CloseReplaced(std::move(old));
    }
}
