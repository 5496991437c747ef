#include "platform/ProgramFile.h"

#include <unistd.h>

std::string GetProgramPath() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) return {};
    std::string_view result(path, static_cast<std::size_t>(length));
    // The kernel marks a program file replaced while it runs.
    constexpr std::string_view kDeleted = " (deleted)";
    if (result.ends_with(kDeleted)) result.remove_suffix(kDeleted.size());
    return std::string(result);
}

std::string_view GetPathSeparators() { return "/"; }
