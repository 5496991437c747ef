#include "platform/FilePath.h"

#include "cable/posix/PosixPaths.h"

std::string GetFolderOfPath(const std::string& path) { return FolderOf(path); }
