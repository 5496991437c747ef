#include "platform/FilePath.h"

std::string GetFolderOfPath(const std::string& path) {
    // No character set a locale may use has "/" inside a multi-byte character.
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
