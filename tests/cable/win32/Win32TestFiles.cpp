// The scratch folder and the open-handle count of TestFiles.h on Windows.

#include "../TestFiles.h"

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

void SetStateFolder(const std::string& folder) { SetEnvironmentVariableA("LOCALAPPDATA", folder.c_str()); }

CScratchFolder::CScratchFolder() {
    static std::atomic<unsigned> made{0};
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path folder =
            base / ("cable-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(made++));
        if (CreateDirectoryA(folder.string().c_str(), nullptr)) {
            m_path = folder.string();
            return;
        }
    }
    throw std::runtime_error("cannot make a scratch folder");
}

int CountOpenDescriptors() {
    DWORD handles = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    return static_cast<int>(handles);
}
