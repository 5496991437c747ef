// Files held with an exclusive lock, the way programs on this system keep others out.

#include "../SystemFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

CHeldFile::CHeldFile(const std::string& path) : m_handle(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (m_handle != -1 && ::flock(static_cast<int>(m_handle), LOCK_EX | LOCK_NB) != 0) {
        ::close(static_cast<int>(m_handle));
        m_handle = -1;
    }
}

CHeldFile::~CHeldFile() {
    if (IsHeld()) ::close(static_cast<int>(m_handle));
}

// A folder's own permissions decide what can be removed from it.
void MakeRemovable(const std::filesystem::path&) {}

int CurrentProcessId() { return static_cast<int>(::getpid()); }
