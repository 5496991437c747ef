#include "platform/FilePath.h"

#include "os/win32/Win32FileSystem.h"

std::string GetFolderOfPath(const std::string& path) { return path.substr(0, Win32FolderLength(path)); }
