// The lock an open file takes, as others see it: exclusive, and of both kinds (flock's and an open
// file description's record lock), so that a program using either is kept out, this process's
// other open files and other processes alike.

#include "os/FileSystem.h"
#include "os/posix/PosixFileSystem.h"

#include "ChildProcess.h"
#include "tests/cable/TestFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <memory>

namespace {

// Whether a lock of kind (flock's LOCK_SH or LOCK_EX) can be had on a new open file description
// of path.
bool CanFlock(const std::string& path, int kind) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool locked = fd >= 0 && ::flock(fd, kind | LOCK_NB) == 0;
    ::close(fd);
    return locked;
}

// The kind of record lock (F_WRLCK, F_RDLCK) that keeps a read lock on the whole of path out, as a
// new open file description sees it: F_UNLCK when there is none.
short RecordLockAgainstReading(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct flock probe {};
    probe.l_type = F_RDLCK;
    probe.l_whence = SEEK_SET;
    const short kind = ::fcntl(fd, F_OFD_GETLK, &probe) == 0 ? probe.l_type : -1;
    ::close(fd);
    return kind;
}

// What another process finds when it asks for shared locks on path: 0 when it gets both a flock
// and a classic record lock, 1 when the flock is refused, 2 when the record lock is.
int SharedLocksInAnotherProcess(const std::string& path) {
    return RunInChild([&] {
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
            return 1;
        }
        ::flock(fd, LOCK_UN);
        struct flock shared {};
        shared.l_type = F_RDLCK;
        shared.l_whence = SEEK_SET;
        return ::fcntl(fd, F_SETLK, &shared) == 0 ? 0 : 2;
    });
}

}  // namespace

TEST(PosixLockTest, ALockedFileRefusesSharedLocksOfEitherKindAnywhereUntilClosed) {
    const CScratchFolder folder;
    const std::string path = folder / "CableList.ini";
    WriteBytes(path, "[Cable]\n");
    ASSERT_TRUE(CanFlock(path, LOCK_SH));
    ASSERT_EQ(RecordLockAgainstReading(path), F_UNLCK);

    CPosixFileSystem fileSystem;
    std::unique_ptr<IFile> file = fileSystem.OpenExisting(path);
    file->Lock();
    EXPECT_FALSE(CanFlock(path, LOCK_SH)) << "the flock is shared";
    EXPECT_FALSE(CanFlock(path, LOCK_EX));
    EXPECT_EQ(RecordLockAgainstReading(path), F_WRLCK) << "no exclusive record lock";
    EXPECT_EQ(SharedLocksInAnotherProcess(path), 1);

    file->Close();
    EXPECT_TRUE(CanFlock(path, LOCK_EX));
    EXPECT_EQ(RecordLockAgainstReading(path), F_UNLCK);
    EXPECT_EQ(SharedLocksInAnotherProcess(path), 0);
}

TEST(PosixLockTest, ARecordLockAloneKeepsAnotherProcessOut) {
    // A program that takes record locks only, and not flock's, must still find the file locked.
    const CScratchFolder folder;
    const std::string path = folder / "CableList.ini";
    WriteBytes(path, "[Cable]\n");
    CPosixFileSystem fileSystem;
    std::unique_ptr<IFile> file = fileSystem.OpenExisting(path);
    file->Lock();

    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        struct flock shared {};
        shared.l_type = F_RDLCK;
        shared.l_whence = SEEK_SET;
        const bool refused = ::fcntl(fd, F_SETLK, &shared) != 0 && (errno == EAGAIN || errno == EACCES);
        ::_exit(refused ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "another process took a record lock";
    file->Close();
}
