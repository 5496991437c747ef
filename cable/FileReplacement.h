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

// Makes the text that writeText writes the contents of the file at path, following symbolic links to the file they name.
// The text goes to a new file beside the target, which is flushed to disk, given the target's
// permissions, and renamed over it. A read-only target, a directory, or a target locked by
// another process is refused before anything is written. When the folder does not allow creating
// a file but the target is writable, the target is rewritten in place. Throws CFileError on any
// failure (a short write is DiskFull); the temporary file is then removed and, unless the target
// was being rewritten in place, the target is left exactly as it was.
void ReplaceFileText(IFileSystem& fileSystem, const std::string& path, const FileTextWriter& writeText);

// Writes all of bytes at file's current position, in as many calls as it takes. Throws
// CFileError (DiskFull, naming path) when a call stores fewer bytes than asked.
void WriteAll(IFile& file, std::string_view bytes, const std::string& path);
