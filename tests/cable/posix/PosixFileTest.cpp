// The writer and reader with the links, permissions, locks and size limits of POSIX.

#include "cable/CableListFile.h"
#include "cable/CableTable.h"
#include "cable/FileError.h"

#include "../TestFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using testing::ElementsAre;
using Cause = CFileError::Cause;
using Rows = std::vector<std::vector<std::string>>;

namespace {

const std::string kEmptyListText = "/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=0\n";
const Rows kRows{{"RG58", "0.66", "0.5", "100"},
                 {"  lead", "", " ", "x"},
                 {"a=b \tc", "\t1", "=", "\xA0\xB1"}};

// Runs body in a child process and returns its exit code (-1 when it did not exit normally).
int RunInChild(const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct stat StatusOf(const std::string& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        ADD_FAILURE() << "cannot stat " << path;
    }
    return status;
}

// Cause of the file error that operation throws, or nothing when it throws none.
std::optional<Cause> CauseOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const CFileError& error) {
        return error.GetCause();
    }
    return std::nullopt;
}

class PosixFileTest : public testing::Test {
protected:
    // Whether the test may give files to other users and act as them.
    static bool IsRoot() { return ::geteuid() == 0; }

    // The rows of the file at path, as the reader gives them.
    static Rows RowsIn(const std::string& path)
    {
        CCableTable table;
        ReadCableListFile(path, table);
        return CellsOf(table);
    }

    CScratchFolder folder;
    const std::string path = folder / "CableList.ini";
    // kRows as they come back from a file: a blank-only cell comes back empty.
    const Rows readBack{kRows[0], {"  lead", "", "", "x"}, kRows[2]};
};

}  // namespace

TEST_F(PosixFileTest, WriterFollowsLinksAndKeepsPermissions)
{
    WriteBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_EQ(::symlink("CableList.ini", (folder / "link").c_str()), 0);
    WriteCableListFile(folder / "link", CCableTable());
    struct stat status {};
    ASSERT_EQ(::lstat((folder / "link").c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
    EXPECT_EQ(ReadBytes(path), kEmptyListText);
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);

    // A dangling link makes the file it names, with the permissions a new file gets.
    ASSERT_EQ(::symlink("new.ini", (folder / "dangling").c_str()), 0);
    const mode_t mask = ::umask(022);
    WriteCableListFile(folder / "dangling", CCableTable());
    ::umask(mask);
    EXPECT_EQ(ReadBytes(folder / "new.ini"), kEmptyListText);
    ASSERT_EQ(::stat((folder / "new.ini").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0644u);
    EXPECT_THAT(folder.Names(), ElementsAre("CableList.ini", "dangling", "link", "new.ini"));
}

TEST_F(PosixFileTest, EveryFailureLeavesTableAndFileAsTheyWere)
{
    const std::string oldText = "old contents\n";
    WriteBytes(path, oldText);
    const std::string readOnly = folder / "read-only.ini";
    WriteBytes(readOnly, oldText);
    ::chmod(readOnly.c_str(), 0444);
    ::mkdir((folder / "folder.ini").c_str(), 0755);
    const int otherDescription = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(otherDescription, LOCK_EX | LOCK_NB), 0);

    const struct {
        std::string path;
        Cause cause;
    } failures[] = {
        {folder / "missing.ini", Cause::FileNotFound},
        {readOnly, Cause::AccessDenied},
        {folder / "folder.ini", Cause::AccessDenied},
        {path, Cause::SharingViolation},
        {readOnly + "/x.ini", Cause::FileNotFound},
        {folder / std::string(300, 'n'), Cause::BadPath},
    };
    const Rows before = kRows;
    CCableTable table = MakeTable(before);
    table.SelectRow(1);
    const std::vector<std::string> names = folder.Names();
    const int descriptors = CountOpenDescriptors();
    for (const auto& failure : failures) {
        EXPECT_EQ(CauseOf([&] { ReadCableListFile(failure.path, table); }), failure.cause) << failure.path;
        EXPECT_EQ(CellsOf(table), before);
        EXPECT_EQ(table.GetSelectedRow(), 1);
        if (failure.cause != Cause::FileNotFound) {
            EXPECT_EQ(CauseOf([&] { WriteCableListFile(failure.path, CCableTable()); }), failure.cause)
                << failure.path;
        }
        EXPECT_EQ(CountOpenDescriptors(), descriptors);
        EXPECT_EQ(folder.Names(), names);
    }
    EXPECT_EQ(ReadBytes(path), oldText);
    EXPECT_EQ(ReadBytes(readOnly), oldText);

    // The same lock held by another process.
    ::close(otherDescription);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (::flock(fd, LOCK_EX) != 0 || ::write(ready[1], "x", 1) != 1) {
            ::_exit(1);
        }
        ::pause();
        ::_exit(0);
    }
    char byte;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    EXPECT_EQ(CauseOf([&] { ReadCableListFile(path, table); }), Cause::SharingViolation);
    EXPECT_EQ(CauseOf([&] { WriteCableListFile(path, table); }), Cause::SharingViolation);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(ReadBytes(path), oldText);
    EXPECT_EQ(CellsOf(table), before);
}

TEST_F(PosixFileTest, ShortWriteOnAFullDiskIsDiskFullAndKeepsTheOldFile)
{
    const std::string oldText = kEmptyListText;
    WriteBytes(path, oldText);
    Rows rows;
    for (int row = 0; row < 100; ++row) {
        rows.push_back({"RG213", "0.66", "3.5", "1000"});
    }
    const CCableTable table = MakeTable(rows);
    // A file size limit makes write store only part of the text, as a full disk would.
    const int exitCode = RunInChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const int descriptors = CountOpenDescriptors();
        const std::optional<Cause> cause = CauseOf([&] { WriteCableListFile(path, table); });
        if (cause != Cause::DiskFull) {
            return 1;
        }
        return CountOpenDescriptors() == descriptors ? 0 : 2;
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(ReadBytes(path), oldText);
    EXPECT_THAT(folder.Names(), ElementsAre("CableList.ini"));
}

// Locks of fcntl and lockf, which other programs take, keep Import and Export out as flock's do.
TEST_F(PosixFileTest, RecordLocksOfOthersAreHonoured)
{
    const std::string oldText = "old contents\n";
    WriteBytes(path, oldText);
    CCableTable table = MakeTable(kRows);
    const auto expectRefused = [&](const char* holder) {
        EXPECT_EQ(CauseOf([&] { ReadCableListFile(path, table); }), Cause::SharingViolation) << holder;
        EXPECT_EQ(CauseOf([&] { WriteCableListFile(path, CCableTable()); }), Cause::SharingViolation) << holder;
        EXPECT_EQ(ReadBytes(path), oldText) << holder;
        EXPECT_EQ(CellsOf(table), kRows) << holder;
    };

    // A read lock on part of the file, through another open file description of this process.
    const int reader = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct flock range {};
    range.l_type = F_RDLCK;
    range.l_whence = SEEK_SET;
    range.l_start = 2;
    range.l_len = 1;
    ASSERT_EQ(::fcntl(reader, F_OFD_SETLK, &range), 0);
    expectRefused("open file description lock");
    ::close(reader);

    // A lockf lock of another process.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        const int fd = ::open(path.c_str(), O_RDWR);
        if (::lockf(fd, F_TLOCK, 0) != 0 || ::write(ready[1], "x", 1) != 1) {
            ::_exit(1);
        }
        ::pause();
        ::_exit(0);
    }
    char byte;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    expectRefused("lockf");
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(ReadCableListFile(path, table), 0);
}

// In a sticky folder that anybody may write to, a link is followed only when it belongs to the
// exporting user or to the folder's owner, the same rule as the kernel's protection of such
// folders: else anybody could make the exporter replace a file of their choice.
TEST_F(PosixFileTest, LinksOfOthersInSharedFoldersAreNotFollowed)
{
    if (!IsRoot()) {
        GTEST_SKIP() << "giving a link to another user needs root";
    }
    CScratchFolder elsewhere;
    const std::string victim = elsewhere / "victim.ini";
    WriteBytes(victim, "victim");
    const std::string link = folder / "CableList.ini";
    const std::string folderLink = folder / "elsewhere";
    ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0);
    ASSERT_EQ(::symlink(elsewhere.Path().c_str(), folderLink.c_str()), 0);
    ASSERT_EQ(::lchown(link.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::lchown(folderLink.c_str(), 65534, 65534), 0);

    ASSERT_EQ(::chmod(folder.Path().c_str(), 01777), 0);
    EXPECT_EQ(CauseOf([&] { WriteCableListFile(link, CCableTable()); }), Cause::AccessDenied);
    EXPECT_EQ(CauseOf([&] { WriteCableListFile(folderLink + "/victim.ini", CCableTable()); }), Cause::AccessDenied);
    EXPECT_EQ(ReadBytes(victim), "victim");
    EXPECT_TRUE(S_ISLNK(StatusOf(link).st_mode));
    EXPECT_THAT(elsewhere.Names(), ElementsAre("victim.ini"));

    // Not sticky, or the link the folder owner's: followed.
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0777), 0);
    WriteCableListFile(link, MakeTable({kRows[0]}));
    EXPECT_EQ(RowsIn(victim), Rows{kRows[0]});
    ASSERT_EQ(::chmod(folder.Path().c_str(), 01777), 0);
    ASSERT_EQ(::lchown(folderLink.c_str(), ::geteuid(), ::getegid()), 0);
    WriteCableListFile(folderLink + "/victim.ini", MakeTable(kRows));
    EXPECT_EQ(RowsIn(victim), readBack);
    EXPECT_TRUE(S_ISLNK(StatusOf(link).st_mode));
}
