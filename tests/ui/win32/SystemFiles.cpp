// Files held open with no sharing, the way Windows programs keep others out.

#include "../SystemFiles.h"

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <share.h>

CHeldFile::CHeldFile(const std::string& path) : m_handle(-1) {
    int handle = -1;
    if (_sopen_s(&handle, path.c_str(), _O_RDONLY, _SH_DENYRW, 0) == 0) m_handle = handle;
}

CHeldFile::~CHeldFile() {
    if (IsHeld()) _close(static_cast<int>(m_handle));
}

// Windows removes no file that has the read-only attribute.
void MakeRemovable(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
    }
}

int CurrentProcessId() { return _getpid(); }
