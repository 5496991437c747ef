#include "platform/FilePath.h"

#include "os/posix/PosixPaths.h"

std::string GetFolderOfPath(const std::string& path) { return FolderOf(path); }
