#include "platform/FilePath.h"

#include "os/FolderPath.h"

std::string GetFolderOfPath(const std::string& path) { return FolderOfPath(path); }
