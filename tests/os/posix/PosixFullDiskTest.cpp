// Writing a list in place on a nearly full copy-on-write file system (btrfs, loop-mounted from an
// image), where overwriting needs free space and fails midway: the old text must survive, in the
// file or in a backup that the error names.

#include "cable/CableListFile.h"
#include "cable/CableListText.h"
#include "cable/CableTable.h"
#include "os/FileError.h"

#include "ChildProcess.h"
#include "tests/cable/TestFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>

namespace {

// What the child that exported on the full disk saw.
enum EOutcome {
    kOldTextKept = 0,     // the export failed and the file holds its old text
    kBackupKept = 1,      // the export failed, the file changed, the named backup holds the old text
    kNewTextWritten = 2,  // the export succeeded
    kOldTextLost = 3,
    kNoSecondName = 4,  // the second name, which makes Export write in place, could not be made
    kNoMount = 100,
    kNoOtherUser = 101,
};

// A table whose text takes about bytes bytes, its cells made from seed.
CCableTable TableOfSize(std::size_t bytes, char seed) {
    std::vector<std::vector<std::string>> rows;
    const std::string name(40, seed);
    for (std::size_t size = 0; size < bytes; size += 120) {
        rows.push_back({name + std::to_string(rows.size()), "0.66", "0.5", "100"});
    }
    return MakeTable(rows);
}

// Fills the file system of folder until it refuses another byte, then frees spare bytes.
void FillUp(const std::string& folder, off_t spare) {
    const int fd = ::open((folder + "/filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const std::string block(1 << 16, 'f');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    const std::string small(512, 'f');
    while (::write(fd, small.data(), small.size()) > 0) {
    }
    const off_t size = ::lseek(fd, 0, SEEK_END);
    if (::ftruncate(fd, size > spare ? size - spare : 0) != 0) {
        std::perror("ftruncate");
    }
    ::fsync(fd);
    ::close(fd);
    ::sync();
}

// Makes a 120 MB image with mkfs (a command that takes the image's path), mounts it in a mount
// namespace of a child of its own, writes a list with a second name there, fills the disk up and
// exports another list of the same size over it, as root or as a user whose folder refuses new
// files (so that the backup goes to the state folder). Returns the outcome.
int ExportOnFullImage(const std::string& mkfs, bool asOtherUser) {
    CScratchFolder folder;
    CScratchFolder state;
    const std::string image = folder / "disk.img";
    const std::string mountPoint = folder / "disk";
    std::filesystem::create_directory(mountPoint);
    WriteBytes(image, "");
    std::filesystem::resize_file(image, 120 << 20);
    const CCableTable oldTable = TableOfSize(12 << 20, 'o');
    const CCableTable newTable = TableOfSize(12 << 20, 'n');
    const std::string oldText = BuildCableListText(oldTable);
    const std::string path = mountPoint + "/CableList.ini";
    return RunInChild([&] {
        // The mount goes with the child's namespace.
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            std::system((mkfs + " " + image + " >/dev/null 2>&1 && timeout 60 mount -o loop " + image + " " +
                         mountPoint + " >/dev/null 2>&1")
                            .c_str()) != 0) {
            return kNoMount;
        }
        ::setenv("XDG_STATE_HOME", state.Path().c_str(), 1);
        WriteCableListFile(path, oldTable);
        // A second name makes Export write the file in place.
        if (::link(path.c_str(), (mountPoint + "/other.ini").c_str()) != 0) return kNoSecondName;
        FillUp(mountPoint, 0);
        if (asOtherUser && (::chmod(folder.Path().c_str(), 0755) != 0 || ::chmod(mountPoint.c_str(), 0755) != 0 ||
                            ::chown(path.c_str(), 65534, 65534) != 0 ||
                            ::chown(state.Path().c_str(), 65534, 65534) != 0 || ::setgroups(0, nullptr) != 0 ||
                            ::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0)) {
            return kNoOtherUser;
        }
        std::string message;
        try {
            WriteCableListFile(path, newTable);
        } catch (const CFileError& error) {
            message = error.what();
        }
        const std::string text = ReadBytes(path);
        std::vector<std::string> backups;
        for (const std::string& name : {mountPoint, state.Path() + "/quorlis"}) {
            std::error_code none;
            for (const auto& entry : std::filesystem::directory_iterator(name, none)) {
                if (entry.path().string().ends_with(".bak")) {
                    backups.push_back(entry.path().string());
                }
            }
        }
        if (message.empty()) {
            return text == BuildCableListText(newTable) && backups.empty() ? kNewTextWritten : kOldTextLost;
        }
        std::cerr << mkfs << (asOtherUser ? ", as another user: " : ", as root: ") << message << "\n";
        if (text == oldText && backups.empty()) {
            return kOldTextKept;
        }
        for (const std::string& backup : backups) {
            if (ReadBytes(backup) == oldText && message.find(backup) != std::string::npos) {
                return kBackupKept;
            }
        }
        return kOldTextLost;
    });
}

// Skips the test, saying why, where the outcome says it could not run.
#define SKIP_UNLESS_RAN(outcome)                                                    \
    if ((outcome) == kNoMount) {                                                    \
        GTEST_SKIP() << "no loop device or mount namespace to mount an image here"; \
    }                                                                               \
    if ((outcome) == kNoOtherUser) {                                                \
        GTEST_SKIP() << "cannot act as user 65534 here";                            \
    }

bool MayMount(const char* mkfs, std::string& why) {
    if (::geteuid() != 0) {
        why = "mounting a file system image needs root";
        return false;
    }
    if (std::system((std::string("command -v ") + mkfs + " >/dev/null 2>&1").c_str()) != 0) {
        why = std::string(mkfs) + " is not installed";
        return false;
    }
    return true;
}

}  // namespace

// With no room for a backup beside the file; and as a user whose folder refuses new files, so
// that the backup goes to the state folder on another file system and the file itself is
// overwritten, which on a copy-on-write file system needs room beside the old blocks.
TEST(PosixFullDiskTest, InPlaceExportOnAFullCopyOnWriteDiskKeepsTheOldText) {
    std::string why;
    if (!MayMount("mkfs.btrfs", why)) {
        GTEST_SKIP() << why;
    }
    for (const bool asOtherUser : {false, true}) {
        const int outcome = ExportOnFullImage("mkfs.btrfs -q -f", asOtherUser);
        SKIP_UNLESS_RAN(outcome);
        EXPECT_TRUE(outcome == kOldTextKept || outcome == kBackupKept) << asOtherUser << ": outcome " << outcome;
    }
}

// A full disk that overwrites in place without new room (ext4) takes the export: the backup that
// finds no room beside the file goes to the state folder, and is removed once the text is in.
TEST(PosixFullDiskTest, InPlaceExportOnAFullDiskWithABackupInTheStateFolder) {
    std::string why;
    if (!MayMount("mkfs.ext4", why)) {
        GTEST_SKIP() << why;
    }
    const int outcome = ExportOnFullImage("mkfs.ext4 -q -F", false);
    SKIP_UNLESS_RAN(outcome);
    EXPECT_EQ(outcome, kNewTextWritten);
}
