#include "cable/FileReplacement.h"

#include "cable/FileError.h"
#include "cable/FileSystem.h"

#include <memory>

namespace {

// Larger writes are split so that each is within what any system moves in one call.
constexpr std::size_t kLargestWrite = std::size_t{1} << 30;

// Removes the file it was given on destruction, unless told the file is kept.
class CRemoveUnlessKept {
public:
    explicit CRemoveUnlessKept(IFileSystem& fileSystem) : m_fileSystem(fileSystem) {}
    ~CRemoveUnlessKept()
    {
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

// The target's file, open and locked, or nullptr when there is none yet.
std::unique_ptr<IFile> OpenTargetIfAny(IFileSystem& fileSystem, const std::string& target)
{
    std::unique_ptr<IFile> file;
    try {
        file = fileSystem.OpenExisting(target);
    } catch (const CFileError& error) {
        if (error.GetCause() != CFileError::Cause::FileNotFound) {
            throw;
        }
        return nullptr;
    }
    file->Lock();
    return file;
}

void RewriteInPlace(IFile& file, const FileTextWriter& writeText)
{
    file.Truncate();
    writeText(file);
    file.FlushToDisk();
    file.Close();
}

}  // namespace

void WriteAll(IFile& file, std::string_view bytes, const std::string& path)
{
    while (!bytes.empty()) {
        const std::size_t asked = bytes.size() < kLargestWrite ? bytes.size() : kLargestWrite;
        const std::size_t stored = file.Write(bytes.data(), asked);
        if (stored != asked) {
            throw CFileError(CFileError::Cause::DiskFull,
                             path + ": only " + std::to_string(stored) + " of " +
                                 std::to_string(asked) + " bytes could be written");
        }
        bytes.remove_prefix(stored);
    }
}

void ReplaceFileText(IFileSystem& fileSystem, const std::string& path, const FileTextWriter& writeText)
{
    const std::string target = fileSystem.FollowLinks(path);
    const std::unique_ptr<IFile> old = OpenTargetIfAny(fileSystem, target);

    // Declared before the new file, so that the file is closed before it is removed.
    CRemoveUnlessKept cleanup(fileSystem);
    std::unique_ptr<IFile> replacement;
    try {
        replacement = fileSystem.CreateBeside(target, cleanup.Path());
    } catch (const CFileError& error) {
        if (old == nullptr || error.GetCause() != CFileError::Cause::AccessDenied) {
            throw;
        }
        RewriteInPlace(*old, writeText);
        return;
    }
    if (old != nullptr) {
        replacement->SetPermissions(old->GetPermissions());
    }
    writeText(*replacement);
    replacement->FlushToDisk();
    replacement->Close();
    // The old file is closed before the rename, which some systems refuse for an open file.
    if (old != nullptr) {
        old->Close();
    }
    fileSystem.Rename(cleanup.Path(), target);
    cleanup.Keep();
}
