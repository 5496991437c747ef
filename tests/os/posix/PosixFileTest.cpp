// The writer and reader with the links, owners, permissions, locks, mounts and size limits of
// POSIX. Cases that need other users or a mount namespace run only as root.

#include "cable/CableListFile.h"
#include "cable/CableListText.h"
#include "cable/CableTable.h"
#include "os/FileError.h"
#include "os/FileReplacement.h"
#include "os/FileSystem.h"
#include "os/posix/PosixFileSystem.h"

#include "ChildProcess.h"
#include "tests/cable/TestFiles.h"
#include "tests/os/FaultyFileSystem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <thread>

using testing::ElementsAre;
using Cause = CFileError::Cause;
using Rows = std::vector<std::vector<std::string>>;

namespace {

// Runs body in a child process as user, with group as its group and groups as its supplementary
// groups. Returns its exit code; 100 when the child could not become that user.
int RunAsUser(uid_t user, gid_t group, const std::vector<gid_t>& groups, const std::function<int()>& body) {
    return RunInChild([&] {
        if (::setgroups(groups.size(), groups.data()) != 0 || ::setresgid(group, group, group) != 0 ||
            ::setresuid(user, user, user) != 0) {
            return 100;
        }
        return body();
    });
}

// The names in folder, sorted.
std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct stat StatusOf(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        ADD_FAILURE() << "cannot stat " << path;
    }
    return status;
}

// Cause of the file error that operation throws, or nothing when it throws none.
std::optional<Cause> CauseOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const CFileError& error) {
        return error.GetCause();
    }
    return std::nullopt;
}

class PosixFileTest : public testing::Test {
protected:
    // Whether the test may give files to other users and act as them: as root, where the user
    // ids used here exist (not in a user namespace that maps only a few).
    bool MayActAsOthers() const {
        const std::string probe = folder / "probe";
        WriteBytes(probe, "");
        const bool given =
            ::geteuid() == 0 && ::chown(probe.c_str(), 1000, 2000) == 0 && ::chown(probe.c_str(), 65534, 65534) == 0;
        ::unlink(probe.c_str());
        return given;
    }

    // The rows of the file at path, as the reader gives them.
    static Rows RowsIn(const std::string& path) {
        CCableTable table;
        ReadCableListFile(path, table);
        return CellsOf(table);
    }

    CScratchFolder folder;
    const std::string path = folder / "CableList.ini";
    // kSampleRows as they come back from a file: a blank-only cell comes back empty.
    const Rows readBack{kSampleRows[0], {"  lead", "", "", "x"}, kSampleRows[2]};
};

}  // namespace

TEST_F(PosixFileTest, WriterFollowsLinksAndKeepsPermissions) {
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

TEST_F(PosixFileTest, EveryFailureLeavesTableAndFileAsTheyWere) {
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
        {folder / "missing.ini", Cause::FileNotFound}, {readOnly, Cause::AccessDenied},
        {folder / "folder.ini", Cause::AccessDenied},  {path, Cause::SharingViolation},
        {readOnly + "/x.ini", Cause::FileNotFound},    {folder / std::string(300, 'n'), Cause::BadPath},
    };
    const Rows before = kSampleRows;
    CCableTable table = MakeTable(before);
    table.SelectRow(1);
    const std::vector<std::string> names = folder.Names();
    const int descriptors = CountOpenDescriptors();
    for (const auto& failure : failures) {
        EXPECT_EQ(CauseOf([&] { ReadCableListFile(failure.path, table); }), failure.cause) << failure.path;
        EXPECT_EQ(CellsOf(table), before);
        EXPECT_EQ(table.GetSelectedRow(), 1);
        if (failure.cause != Cause::FileNotFound) {
            EXPECT_EQ(CauseOf([&] { WriteCableListFile(failure.path, CCableTable()); }), failure.cause) << failure.path;
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

TEST_F(PosixFileTest, ShortWriteOnAFullDiskIsDiskFullAndKeepsTheOldFile) {
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

TEST_F(PosixFileTest, ExportKeepsTheOwnerGroupModeAndLinksOfTheFile) {
    // Hard links: every name of the file sees the new list.
    WriteBytes(path, "old");
    ASSERT_EQ(::link(path.c_str(), (folder / "other.ini").c_str()), 0);
    const ino_t inode = StatusOf(path).st_ino;
    WriteCableListFile(path, MakeTable(kSampleRows));
    EXPECT_EQ(RowsIn(path), readBack);
    EXPECT_EQ(ReadBytes(folder / "other.ini"), ReadBytes(path));
    EXPECT_EQ(StatusOf(path).st_ino, inode);
    EXPECT_EQ(StatusOf(path).st_nlink, 2u);
    EXPECT_THAT(folder.Names(), ElementsAre("CableList.ini", "other.ini"));

    if (!MayActAsOthers()) {
        GTEST_SKIP() << "giving a file to another user needs root";
    }
    // Another user's file exported by root keeps its owner, its group and its setuid bit.
    ASSERT_EQ(::unlink((folder / "other.ini").c_str()), 0);
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(path.c_str(), 04640), 0);
    WriteCableListFile(path, MakeTable({kSampleRows[0]}));
    const struct stat status = StatusOf(path);
    EXPECT_EQ(status.st_uid, 65534u);
    EXPECT_EQ(status.st_gid, 65534u);
    EXPECT_EQ(status.st_mode & 07777, 04640u);
    EXPECT_EQ(RowsIn(path), Rows{kSampleRows[0]});
    EXPECT_THAT(folder.Names(), ElementsAre("CableList.ini"));
}

// A user who may write a file of another user, but not take its name for a file of their own, has
// the file rewritten in place: a group-shared folder, and a sticky folder owned by a third user.
TEST_F(PosixFileTest, ExportOfAnotherUsersFileRewritesItInPlace) {
    if (!MayActAsOthers()) {
        GTEST_SKIP() << "acting as other users needs root";
    }
    const struct {
        const char* what;
        uid_t folderOwner;
        gid_t folderGroup;
        mode_t folderMode;
        uid_t fileOwner;
        gid_t fileGroup;
        mode_t fileMode;
        std::vector<gid_t> exporterGroups;
    } cases[] = {
        {"group-shared folder", 1000, 2000, 02775, 1000, 2000, 0664, {2000}},
        {"sticky folder of a third user", 65534, 65534, 01777, 1000, 1000, 0666, {}},
    };
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0755), 0);
    for (const auto& c : cases) {
        const std::string shared = folder / c.what;
        ASSERT_EQ(::mkdir(shared.c_str(), 0755), 0);
        ASSERT_EQ(::chown(shared.c_str(), c.folderOwner, c.folderGroup), 0);
        ASSERT_EQ(::chmod(shared.c_str(), c.folderMode), 0);
        const std::string file = shared + "/CableList.ini";
        WriteBytes(file, "old");
        ASSERT_EQ(::chown(file.c_str(), c.fileOwner, c.fileGroup), 0);
        ASSERT_EQ(::chmod(file.c_str(), c.fileMode), 0);
        const ino_t inode = StatusOf(file).st_ino;

        const int exitCode = RunAsUser(1001, 1001, c.exporterGroups, [&] {
            if (::access(shared.c_str(), W_OK | X_OK) != 0) {
                return 101;
            }
            return CauseOf([&] { WriteCableListFile(file, MakeTable(kSampleRows)); }) ? 1 : 0;
        });
        if (exitCode == 100) {
            GTEST_SKIP() << "cannot become another user here";
        }
        if (exitCode == 101) {
            GTEST_SKIP() << "other users cannot reach " << shared << " here: a folder above it is closed to them";
        }
        EXPECT_EQ(exitCode, 0) << c.what;
        const struct stat status = StatusOf(file);
        EXPECT_EQ(status.st_ino, inode) << c.what;
        EXPECT_EQ(status.st_uid, c.fileOwner) << c.what;
        EXPECT_EQ(status.st_gid, c.fileGroup) << c.what;
        EXPECT_EQ(status.st_mode & 07777, c.fileMode) << c.what;
        EXPECT_EQ(RowsIn(file), readBack) << c.what;
        EXPECT_EQ(NamesIn(shared), std::vector<std::string>{"CableList.ini"}) << c.what;
    }
}

// Where the name cannot be taken by another file (a file bind-mounted over it, a temporary name
// longer than a path may be), the file is rewritten in place.
TEST_F(PosixFileTest, ExportWhereTheNameCannotBeReplacedRewritesInPlace) {
    // Folders nested until the file's path is 4094 bytes long, the most that a path may be less one.
    const std::string name = "CableList.ini";
    std::string deep = folder.Path();
    for (std::size_t left; (left = 4094 - name.size() - 1 - deep.size()) > 0;) {
        deep += "/" + std::string(left > 250 ? 150 : left - 1, 'd');
        ASSERT_EQ(::mkdir(deep.c_str(), 0700), 0);
    }
    const std::string longPath = deep + "/" + name;
    ASSERT_EQ(longPath.size(), 4094u);
    WriteBytes(longPath, "old");
    EXPECT_EQ(CauseOf([&] { WriteCableListFile(longPath, MakeTable(kSampleRows)); }), std::nullopt);
    EXPECT_EQ(RowsIn(longPath), readBack);
    EXPECT_EQ(NamesIn(deep), std::vector<std::string>{name});

    if (::geteuid() != 0) {
        GTEST_SKIP() << "a bind mount needs root";
    }
    const std::string source = folder / "source.ini";
    WriteBytes(source, "old");
    WriteBytes(path, "mount point");
    const int exitCode = RunInChild([&] {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(source.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) != 0) {
            return 100;
        }
        return CauseOf([&] { WriteCableListFile(path, MakeTable(kSampleRows)); }) ? 1 : 0;
    });
    if (exitCode == 100) {
        GTEST_SKIP() << "no private mount namespace for a bind mount here";
    }
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(RowsIn(source), readBack);
    EXPECT_EQ(ReadBytes(path), "mount point");
    EXPECT_THAT(folder.Names(), ElementsAre("CableList.ini", "d" + std::string(149, 'd'), "source.ini"));
}

// Locks of fcntl and lockf, which other programs take, keep Import and Export out as flock's do.
TEST_F(PosixFileTest, RecordLocksOfOthersAreHonoured) {
    const std::string oldText = "old contents\n";
    WriteBytes(path, oldText);
    CCableTable table = MakeTable(kSampleRows);
    const auto expectRefused = [&](const char* holder) {
        EXPECT_EQ(CauseOf([&] { ReadCableListFile(path, table); }), Cause::SharingViolation) << holder;
        EXPECT_EQ(CauseOf([&] { WriteCableListFile(path, CCableTable()); }), Cause::SharingViolation) << holder;
        EXPECT_EQ(ReadBytes(path), oldText) << holder;
        EXPECT_EQ(CellsOf(table), kSampleRows) << holder;
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

TEST_F(PosixFileTest, KilledExportLeavesNothingBehind) {
    for (const bool existing : {true, false}) {
        if (existing) {
            WriteBytes(path, "old");
        }
        const int exitCode = RunInChild([&] {
            ReplaceFileText(GetSystemFileSystem(), path, [&](IFile& file) {
                WriteAll(file, std::string(100000, 'x'), path);
                ::raise(SIGKILL);
            });
            return 0;
        });
        EXPECT_EQ(exitCode, -1);
        EXPECT_EQ(folder.Names(), existing ? std::vector<std::string>{"CableList.ini"} : std::vector<std::string>{});
        if (existing) {
            EXPECT_EQ(ReadBytes(path), "old");
            ASSERT_EQ(::unlink(path.c_str()), 0);
        }
    }
}

// In a user namespace that does not map the file's owner (a rootless container), the owner cannot
// be given to a new file (EINVAL): the file is written in place, as for a refused owner.
TEST_F(PosixFileTest, ExportInAUserNamespaceWithoutTheOwnerWritesInPlace) {
    if (!MayActAsOthers()) {
        GTEST_SKIP() << "a file of a user that the namespace leaves unmapped needs root to make";
    }
    WriteBytes(path, "old");
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    const ino_t oldFile = StatusOf(path).st_ino;
    const int exitCode = RunInChild([&] {
        const auto writeMap = [](const char* file, const char* text) {
            const int fd = ::open(file, O_WRONLY);
            const bool written = fd >= 0 && ::write(fd, text, std::strlen(text)) >= 0;
            ::close(fd);
            return written;
        };
        // Only this user, as root of the namespace, as "unshare -r" maps it.
        const std::string user = "0 " + std::to_string(::geteuid()) + " 1";
        const std::string group = "0 " + std::to_string(::getegid()) + " 1";
        if (::unshare(CLONE_NEWUSER) != 0 || !writeMap("/proc/self/setgroups", "deny") ||
            !writeMap("/proc/self/uid_map", user.c_str()) || !writeMap("/proc/self/gid_map", group.c_str())) {
            return 100;
        }
        try {
            WriteCableListFile(path, MakeTable(kSampleRows));
        } catch (const CFileError&) {
            return 1;
        }
        return 0;
    });
    if (exitCode == 100) {
        GTEST_SKIP() << "user namespaces are refused here";
    }
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(RowsIn(path), readBack);
    EXPECT_EQ(StatusOf(path).st_ino, oldFile);
    EXPECT_EQ(StatusOf(path).st_uid, 65534u);
    EXPECT_THAT(folder.Names(), ElementsAre("CableList.ini"));
}

// A folder that a link to another folder takes the place of while Export runs does not redirect
// it: the file is replaced, or written in place, in the folder it was in when Export began, and
// the other folder's file keeps its text and its links.
TEST_F(PosixFileTest, AFolderSwappedDuringExportDoesNotRedirectIt) {
    CScratchFolder other;
    const std::string victim = other / "CableList.ini";
    for (const bool inPlace : {false, true}) {
        const std::string sub = folder / "sub";
        ASSERT_EQ(::mkdir(sub.c_str(), 0700), 0);
        WriteBytes(sub + "/CableList.ini", "old");
        if (inPlace) {
            ASSERT_EQ(::link((sub + "/CableList.ini").c_str(), (sub + "/second.ini").c_str()), 0);
        }
        WriteBytes(victim, "victim");
        ASSERT_EQ(::link(victim.c_str(), (other / "link.ini").c_str()), 0);
        CFaultyFileSystem fileSystem(GetSystemFileSystem());
        fileSystem.BeforeStep(inPlace ? "create backup" : "flush", [&] {
            ASSERT_EQ(::rename(sub.c_str(), (folder / "sub.old").c_str()), 0);
            ASSERT_EQ(::symlink(other.Path().c_str(), sub.c_str()), 0);
        });
        WriteCableListFile(sub + "/CableList.ini", MakeTable(kSampleRows), fileSystem);
        EXPECT_EQ(ReadBytes(victim), "victim") << inPlace;
        EXPECT_EQ(StatusOf(victim).st_nlink, 2u) << inPlace;
        EXPECT_EQ(RowsIn(folder / "sub.old/CableList.ini"), readBack) << inPlace;
        EXPECT_THAT(other.Names(), ElementsAre("CableList.ini", "link.ini")) << inPlace;
        const std::vector<std::string> names = inPlace ? std::vector<std::string>{"CableList.ini", "second.ini"}
                                                       : std::vector<std::string>{"CableList.ini"};
        EXPECT_EQ(NamesIn(folder / "sub.old"), names);
        std::filesystem::remove_all(folder / "sub.old");
        std::filesystem::remove(sub);
        std::filesystem::remove(other / "link.ini");
    }
}

// A file at a long but legal path (about 4,080 bytes) is exported as any other: the temporary
// names beside it count only in their folder.
TEST_F(PosixFileTest, ExportAtALongLegalPathReplacesTheFile) {
    std::string longFolder = folder.Path();
    while (longFolder.size() < 3850) {
        longFolder += "/" + std::string(200, 'd');
        ASSERT_EQ(::mkdir(longFolder.c_str(), 0700), 0) << std::strerror(errno);
    }
    const std::string longPath = longFolder + "/" + std::string(4080 - longFolder.size() - 1, 'n');
    ASSERT_EQ(longPath.size(), 4080u);
    WriteCableListFile(longPath, MakeTable({kSampleRows[0]}));
    EXPECT_EQ(RowsIn(longPath), Rows{kSampleRows[0]});
    const ino_t oldFile = StatusOf(longPath).st_ino;
    WriteCableListFile(longPath, MakeTable(kSampleRows));
    EXPECT_EQ(RowsIn(longPath), readBack);
    EXPECT_NE(StatusOf(longPath).st_ino, oldFile) << "replaced, not written in place";
    EXPECT_EQ(NamesIn(longFolder), std::vector<std::string>{longPath.substr(longFolder.size() + 1)});
}

// Paths that go on past a file name no file to the kernel, and none to Export either.
TEST_F(PosixFileTest, PathsThatGoOnPastAFileAreRefusedAsTheKernelRefusesThem) {
    WriteBytes(path, "old");
    ASSERT_EQ(::symlink("CableList.ini/", (folder / "slash-link").c_str()), 0);
    ASSERT_EQ(::symlink("CableList.ini/.", (folder / "dot-link").c_str()), 0);
    for (const std::string name : {"CableList.ini/.", "CableList.ini/../CableList.ini", "CableList.ini/", "slash-link",
                                   "dot-link", "CableList.ini/x/..", "slash-link/.."}) {
        const std::string refused = folder / name;
        ASSERT_LT(::open(refused.c_str(), O_RDWR), 0) << name;
        EXPECT_EQ(errno, ENOTDIR) << name;
        EXPECT_EQ(CauseOf([&] { WriteCableListFile(refused, MakeTable(kSampleRows)); }), Cause::FileNotFound) << name;
        CCableTable table;
        EXPECT_EQ(CauseOf([&] { ReadCableListFile(refused, table); }), Cause::FileNotFound) << name;
    }
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"CableList.ini", "dot-link", "slash-link"}));

    // Through a folder, "." and ".." are followed as before.
    ASSERT_EQ(::mkdir((folder / "sub").c_str(), 0700), 0);
    WriteCableListFile(folder / "sub/./../sub/../CableList.ini", MakeTable(kSampleRows));
    EXPECT_EQ(RowsIn(path), readBack);
}

// A crash at any step of an export, on each of its ways: the file then holds its old text whole or
// its new text whole, or the old text is in a backup beside it.
TEST_F(PosixFileTest, KilledAtAnyStepTheOldTextSurvives) {
    // The old text is the longer: the new one written over it leaves a mixed file until its end.
    const std::string oldText = BuildCableListText(MakeTable(kSampleRows));
    const std::string newText = BuildCableListText(MakeTable({kSampleRows[0]}));
    const std::string otherName = folder / "other.ini";
    std::set<std::string> killedAt;
    int backupsLeft = 0;
    int mixedFiles = 0;
    for (const bool twoNames : {false, true}) {
        for (int call = 1;; ++call) {
            WriteBytes(path, oldText);
            if (twoNames) {
                ASSERT_EQ(::link(path.c_str(), otherName.c_str()), 0);
            }
            std::string step;
            const int exitCode = RunInChild([&] {
                CFaultyFileSystem fileSystem(GetSystemFileSystem());
                fileSystem.FailCall(call, CFaultyFileSystem::Fault::Kill);
                WriteCableListFile(path, MakeTable({kSampleRows[0]}), fileSystem);
                return 0;
            });
            const std::string text = ReadBytes(path);
            std::vector<std::string> backups;
            for (const std::string& name : folder.Names()) {
                if (name.ends_with(".tmp")) {
                    // Named just before its rename: the new text, whole.
                    EXPECT_EQ(ReadBytes(folder / name), newText) << "call " << call;
                    ::unlink((folder / name).c_str());
                } else if (name != "CableList.ini" && name != "other.ini") {
                    backups.push_back(name);
                }
            }
            ::unlink(otherName.c_str());
            if (exitCode == 0) {
                EXPECT_EQ(text, newText);
                EXPECT_TRUE(backups.empty());
                break;
            }
            ASSERT_EQ(exitCode, -1) << "call " << call;
            if (text != oldText && text != newText) {
                ASSERT_EQ(backups.size(), 1u) << "call " << call << ": the old text is lost";
                ++mixedFiles;
            }
            for (const std::string& backup : backups) {
                EXPECT_TRUE(backup.starts_with(".CableList.ini.") && backup.ends_with(".bak")) << backup;
                const std::string kept = ReadBytes(folder / backup);
                if (text == oldText) {
                    // Killed while the backup was written: the file was not touched yet.
                    EXPECT_TRUE(oldText.starts_with(kept)) << "call " << call;
                } else {
                    EXPECT_EQ(kept, oldText) << "call " << call;
                }
                ::unlink((folder / backup).c_str());
                ++backupsLeft;
            }
        }
    }
    EXPECT_GT(backupsLeft, 0) << "no kill came while the file was written in place";
    EXPECT_GT(mixedFiles, 0) << "no kill came between the write and the end of the file";
}

// A large replaced file is closed after Export returns: it must still be closed, and its
// replacement be whole, at once.
TEST_F(PosixFileTest, LargeReplacedFileIsLetGoOf) {
    WriteBytes(path, "old");
    ASSERT_EQ(::truncate(path.c_str(), std::int64_t{64} << 20), 0);
    const ino_t oldFile = StatusOf(path).st_ino;
    const int descriptors = CountOpenDescriptors();
    WriteCableListFile(path, MakeTable(kSampleRows));
    EXPECT_NE(StatusOf(path).st_ino, oldFile);
    EXPECT_EQ(RowsIn(path), readBack);
    for (int waited = 0; waited < 100 && CountOpenDescriptors() != descriptors; ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(CountOpenDescriptors(), descriptors);
    EXPECT_THAT(folder.Names(), ElementsAre("CableList.ini"));
}

// Where a file system has no unnamed files, the new file has a hidden name until it replaces the
// old one, and a failure at any step removes it.
TEST_F(PosixFileTest, NamedNewFilesAreRemovedOnFailure) {
    CPosixFileSystem named(CPosixFileSystem::NewFiles::Named);
    WriteBytes(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    for (int call = 1;; ++call) {
        CFaultyFileSystem faulty(named);
        faulty.FailCall(call);
        const std::optional<Cause> cause = CauseOf([&] { WriteCableListFile(path, MakeTable(kSampleRows), faulty); });
        if (faulty.FailedStep().empty()) {
            EXPECT_EQ(cause, std::nullopt);
            break;
        }
        EXPECT_THAT(folder.Names(), ElementsAre("CableList.ini")) << faulty.FailedStep();
        if (faulty.FailedStep() == "flush folder") {
            // After the rename: the new file is whole, but the user is told it may not last.
            EXPECT_EQ(RowsIn(path), readBack);
            WriteBytes(path, "old");
            continue;
        }
        EXPECT_EQ(ReadBytes(path), "old") << faulty.FailedStep();
    }
    EXPECT_EQ(RowsIn(path), readBack);
    EXPECT_EQ(StatusOf(path).st_mode & 07777, 0640u);
    EXPECT_THAT(folder.Names(), ElementsAre("CableList.ini"));
}

// In a sticky folder that anybody may write to, a link is followed only when it belongs to the
// exporting user or to the folder's owner, the same rule as the kernel's protection of such
// folders: else anybody could make the exporter replace a file of their choice.
TEST_F(PosixFileTest, LinksOfOthersInSharedFoldersAreNotFollowed) {
    if (!MayActAsOthers()) {
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
    WriteCableListFile(link, MakeTable({kSampleRows[0]}));
    EXPECT_EQ(RowsIn(victim), Rows{kSampleRows[0]});
    ASSERT_EQ(::chmod(folder.Path().c_str(), 01777), 0);
    ASSERT_EQ(::lchown(folderLink.c_str(), ::geteuid(), ::getegid()), 0);
    WriteCableListFile(folderLink + "/victim.ini", MakeTable(kSampleRows));
    EXPECT_EQ(RowsIn(victim), readBack);
    EXPECT_TRUE(S_ISLNK(StatusOf(link).st_mode));
}
