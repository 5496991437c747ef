// The scratch folder and the open-descriptor count of TestFiles.h on POSIX systems.

#include "../TestFiles.h"

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

CScratchFolder::CScratchFolder() : CScratchFolder(fs::temp_directory_path().string()) {}

CScratchFolder::CScratchFolder(const std::string& parent) {
    std::string pattern = (fs::path(parent) / "cable-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = pattern;
}

void SetStateFolder(const std::string& folder) { ::setenv("XDG_STATE_HOME", folder.c_str(), 1); }

int CountOpenDescriptors() {
    const auto entries = fs::directory_iterator("/proc/self/fd");
    // The iterator holds one descriptor of its own while it counts.
    return static_cast<int>(std::distance(fs::begin(entries), fs::end(entries))) - 1;
}
