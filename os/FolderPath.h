#pragma once
// The folder part of a path, in the system's own terms.

#include <string>

// The folder part of path, its last separator included ("/home/me/" for "/home/me/a.ini"), or ""
// when path names no folder. Multi-byte characters are stepped over whole.
std::string FolderOfPath(const std::string& path);
