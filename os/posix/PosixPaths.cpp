#include "os/posix/PosixPaths.h"

#include "os/FolderPath.h"

#include <unistd.h>
#include <atomic>
#include <chrono>
#include <cstdio>

namespace {

// Temporary names keep at most this much of the target's name, to stay within NAME_MAX.
constexpr std::size_t kLongestNameKept = 64;

}  // namespace

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FolderOfPath(const std::string& path) { return FolderOf(path); }

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TemporaryNameBeside(const std::string& path) {
    static std::atomic<unsigned> made{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    const auto mixed = static_cast<unsigned long long>(now) * 0x9E3779B97F4A7C15ull +
                       static_cast<unsigned long long>(::getpid()) * 0x100000001B3ull + made++;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%012llx.tmp", mixed >> 16);
    return FolderOf(path) + "." + NameOf(path).substr(0, kLongestNameKept) + suffix;
}
