#pragma once
// Replacing a file's contents so that a failure leaves the old file as it was.

#include <functional>
#include <string>
#include <string_view>

class IFile;
class IFileSystem;

// Writes the complete new text into file, from its start; called at most once for each
// replacement. Throws CFileError when a write fails.
using FileTextWriter = std::function<void(IFile& file)>;

// Makes the text that writeText writes the contents of the file at path, following symbolic links
// to the file they name where the system would (a link that another user put in a shared sticky
// folder is refused with AccessDenied). A read-only target, a directory, or a target locked by
// another process is refused before anything is written.
//
// The target's folder is opened once, and every later step names its files in it. The text goes
// to a new file beside the target, readable by its owner only until it is
// complete; it is then given the target's owner, group, permissions, access control list and
// extended attributes (a brand-new file gets what any new file in the folder gets), flushed to
// disk, closed and renamed over the target, and the folder is flushed. Where that new file could
// not be the same file to its users (the target has other names, or the user or the file system
// may not give it one of the target's owner, group, access control list or attributes), or where
// the folder refuses a new file or the target's name refuses a rename, the text goes over the
// target in place instead. The target's old bytes are then first copied to a backup (see
// IFolder::CreateBackup) in the target's folder, or in the state folder where that refuses one,
// which is on the disk before the target is touched, put back if anything fails before the new
// bytes are on the disk, and removed only then: a crash at any moment leaves the old text whole in
// the target or in the backup.
//
// Throws CFileError on any failure (a short write is DiskFull; no backup to be made anywhere
// refuses the export before the target is touched); the target is then left as it was and
// nothing is left behind. Only when putting the old bytes back fails as well, or closing the
// target after writing it, may the target be damaged; the backup is then kept and the error
// names it. A failure to flush the folder after the rename is reported although the new text is
// in place.
void ReplaceFileText(IFileSystem& fileSystem, const std::string& path, const FileTextWriter& writeText);

// Writes all of bytes at file's current position, in as many calls as it takes. Throws
// CFileError (DiskFull, naming path) when a call stores fewer bytes than asked.
void WriteAll(IFile& file, std::string_view bytes, const std::string& path);
