#pragma once
// The operating system's file calls that the cable list file's reader and writer make, behind one
// small interface: the logic above it is the same on every system, and tests put a file system of
// their own in its place to make any call fail. Every call that fails throws CFileError with a
// message naming the path and giving the system's own description of the error.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// Who owns a file, its permissions and how many names it has, in the system's own terms.
struct CFileIdentity {
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
    std::uint32_t permissions = 0;
    std::uint64_t links = 0;
};

// One open file. Destroying it closes the file if Close was not called, ignoring any error.
class IFile {
public:
    virtual ~IFile() = default;

    // Takes an exclusive lock on the whole file without waiting, of every kind the system's
    // programs take (see the implementations); it lasts until the file is closed. Throws CFileError
    // (SharingViolation) when another open file holds a lock on any part of it.
    virtual void Lock() = 0;
    // The file's length in bytes.
    virtual std::uint64_t GetSize() = 0;
    // Reads up to size bytes at the current position into buffer. Returns the number of bytes
    // read: fewer than size near the end or where size is more than one system call moves (a
    // gigabyte and more), 0 at the end. Bytes of buffer past those read are left as they were.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
    // Writes size bytes at the current position. Returns the number of bytes stored, which may be
    // fewer (a full disk, a size limit).
    virtual std::size_t Write(const char* data, std::size_t size) = 0;
    // Moves the position to the start of the file.
    virtual void Rewind() = 0;
    // Ends the file at the current position, dropping any bytes after it.
    virtual void EndHere() = 0;
    // Returns once everything written to the file is on the disk.
    virtual void FlushToDisk() = 0;
    // The file's owner, group, permissions and number of names (links).
    virtual CFileIdentity GetIdentity() = 0;
    // Gives the file permissions that GetIdentity of a file reported.
    virtual void SetPermissions(std::uint32_t permissions) = 0;
    // Gives the file the owner and group that GetIdentity of a file reported. Throws CFileError
    // (AccessDenied) where the user may not, a user namespace that cannot name the owner included.
    virtual void SetOwner(std::uint32_t owner, std::uint32_t group) = 0;
    // Gives the file exactly the access control list and the extended attributes of old, an open
    // file of the same file system. Throws CFileError (AccessDenied) where the user or the file
    // system refuses one of them to this file.
    virtual void TakeAccessListAndAttributes(IFile& old) = 0;
    // Gives the file the permissions and the access control list that a file newly made in its
    // folder by any program gets (the umask, the folder's default access control list).
    virtual void TakeNewFilePermissions() = 0;
    // Gives a file that IFolder::CreateBeside made without a name a hidden name of its own in that
    // folder, made from name (the file it is to replace), and returns it. Throws CFileError.
    virtual std::string NameBeside(const std::string& name) = 0;
    // Closes the file, and throws CFileError where the system reports a failure (a write-back that
    // failed on a network file system). The file is released even when this throws.
    virtual void Close() = 0;
};

// A folder held open, in which files are named by their names alone: a folder that another takes
// the place of meanwhile (a link swapped in for it) does not redirect them, and the length of the
// folder's own path does not count. Names are names in the folder, without separators.
class IFolder {
public:
    virtual ~IFolder() = default;

    // Opens the existing file name for reading and writing, at its start; a symbolic link there is
    // refused (AccessDenied), not followed. Throws CFileError: FileNotFound when it is missing;
    // AccessDenied for a directory or a read-only file (one with no write permission for
    // anybody), whoever the user is.
    virtual std::unique_ptr<IFile> OpenResolved(const std::string& name) = 0;
    // Creates a new empty file, readable and writable by its owner only, to take the place of the
    // file name. Where the system can, the file has no name until NameBeside gives it one, and
    // createdName is set to ""; else it has a hidden name of its own, stored in createdName.
    // Throws CFileError (AccessDenied when the folder does not allow creating a file).
    virtual std::unique_ptr<IFile> CreateBeside(const std::string& name, std::string& createdName) = 0;
    // Creates a new empty file to keep a copy of the file name through a crash, under a name no
    // one can predict, which is stored in backupName: made exclusively (never over an existing
    // file, nor through a link), readable and writable by its owner only. Throws CFileError.
    virtual std::unique_ptr<IFile> CreateBackup(const std::string& name, std::string& backupName) = 0;
    // Opens the file name, which this program made, for reading only; a link there is not
    // followed. Throws CFileError.
    virtual std::unique_ptr<IFile> OpenForReading(const std::string& name) = 0;
    // Gives the file from the name to, replacing in one step any file that has it.
    virtual void Rename(const std::string& from, const std::string& to) = 0;
    // Removes the closed file name, if it can: a clean-up step that reports nothing.
    virtual void Remove(const std::string& name) noexcept = 0;
    // Returns once the names made, renamed and removed in the folder are on the disk. Throws
    // CFileError.
    virtual void Flush() = 0;
    // The path of name in the folder, for messages.
    virtual std::string PathOf(const std::string& name) const = 0;
};

class IFileSystem {
public:
    // Opens the existing file at path for reading and writing, at its start. Throws CFileError:
    // FileNotFound when it is missing; AccessDenied for a directory or a read-only file (one with
    // no write permission for anybody), whoever the user is.
    virtual std::unique_ptr<IFile> OpenExisting(const std::string& path) = 0;
    // Opens the folder of path, a path that FollowLinks gave, and stores the name of path in it in
    // name. Throws CFileError (AccessDenied for a path that ends in a folder separator).
    virtual std::unique_ptr<IFolder> OpenFolderOf(const std::string& path, std::string& name) = 0;
    // Opens the user's folder for the program's state (made where it is missing), where backups
    // go that the folder of their file refuses. Throws CFileError where there is none.
    virtual std::unique_ptr<IFolder> OpenStateFolder() = 0;
    // Creates a new empty file, readable and writable, among the system's temporary files, that
    // vanishes when it is closed. Throws CFileError.
    virtual std::unique_ptr<IFile> CreateScratch() = 0;
    // The path of the file that path names once every symbolic link on the way is followed:
    // path itself when it holds no link, the path that a dangling link names when that is missing.
    // Throws CFileError: AccessDenied for a link that the system protects against being followed.
    virtual std::string FollowLinks(const std::string& path) = 0;
    // Whether IFolder::Rename may be given files that are open. Where it may not, both files are
    // closed before the rename.
    virtual bool CanRenameOpenFiles() const = 0;
    // Closes a file whose name a rename has just given to another, ignoring any error. Closing it
    // can make the system free all it held, which takes a while for a large file: a file system
    // may finish that after returning.
    virtual void CloseReplaced(std::unique_ptr<IFile> file) noexcept { file.reset(); }

protected:
    ~IFileSystem() = default;
};

// The file system of the machine the program runs on.
IFileSystem& GetSystemFileSystem();
