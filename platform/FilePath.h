#pragma once
// Paths in the system's own terms.

#include <string>

// The folder part of path, its last separator included ("/home/me/" for "/home/me/a.ini"), or ""
// when path names no folder. Multi-byte characters are stepped over whole.
std::string GetFolderOfPath(const std::string& path);
