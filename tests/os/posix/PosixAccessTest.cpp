// What Export keeps of a file beyond its owner, group and mode: its access control list and its
// extended attributes, on the file system of the folder the tests run in (the build folder). And
// what a new file gets: the umask and the folder's default access control list, never anything
// before it is complete.

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

#include <gtest/gtest.h>

#include <acl/libacl.h>
#include <grp.h>
#include <sys/acl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>

using Rows = std::vector<std::vector<std::string>>;

namespace {

const Rows kRows{{"RG58", "0.66", "0.5", "100"}};

// The access control list of kind kind at path as text, entries sorted as libacl gives them; ""
// where there is none.
std::string AccessListOf(const std::string& path, acl_type_t kind = ACL_TYPE_ACCESS) {
    const acl_t list = ::acl_get_file(path.c_str(), kind);
    if (list == nullptr) {
        return "";
    }
    char* const text = ::acl_to_any_text(list, nullptr, ',', 0);
    std::string result = text != nullptr ? text : "";
    ::acl_free(text);
    ::acl_free(list);
    return result;
}

bool SetAccessList(const std::string& path, const char* text, acl_type_t kind = ACL_TYPE_ACCESS) {
    const acl_t list = ::acl_from_text(text);
    const bool set = list != nullptr && ::acl_set_file(path.c_str(), kind, list) == 0;
    ::acl_free(list);
    return set;
}

// Every extended attribute of path that this user may read, with its value.
std::map<std::string, std::string> AttributesOf(const std::string& path) {
    std::map<std::string, std::string> attributes;
    std::string names(65536, '\0');
    const ssize_t length = ::listxattr(path.c_str(), names.data(), names.size());
    for (std::size_t at = 0; length > 0 && at < static_cast<std::size_t>(length); at = names.find('\0', at) + 1) {
        const std::string name = names.c_str() + at;
        std::string value(65536, '\0');
        const ssize_t size = ::getxattr(path.c_str(), name.c_str(), value.data(), value.size());
        attributes[name] = size >= 0 ? value.substr(0, static_cast<std::size_t>(size)) : "?";
    }
    return attributes;
}

ino_t FileNumberOf(const std::string& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_ino;
}

mode_t ModeOf(const std::string& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

class PosixAccessTest : public testing::Test {
protected:
    void SetUp() override {
        WriteBytes(path, "old");
        ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
        if (!SetAccessList(path, "u::rw,u:nobody:r,g::---,m::r,o::---")) {
            GTEST_SKIP() << "the file system of " << folder.Path() << " keeps no access control lists ("
                         << std::strerror(errno) << ")";
        }
        if (::setxattr(path.c_str(), "user.tag", "blue", 4, 0) != 0) {
            GTEST_SKIP() << "the file system of " << folder.Path() << " keeps no user attributes ("
                         << std::strerror(errno) << ")";
        }
        ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
        ASSERT_EQ(::acl_delete_def_file(folder.Path().c_str()), 0);
    }

    // Tests run on the file system of the folder they run in: the build folder's.
    CScratchFolder folder{std::filesystem::current_path().string()};
    const std::string path = folder / "CableList.ini";
};

}  // namespace

// The replacement carries exactly the old file's access control list and attributes: user ones
// always, security and trusted ones as root; and the folder's default list is not added to it.
TEST_F(PosixAccessTest, ExportKeepsTheAccessListAndTheAttributes) {
    ASSERT_TRUE(SetAccessList(path, "u::rw,u:nobody:r,g::---,m::r,o::---"));
    if (::geteuid() == 0) {
        ASSERT_EQ(::setxattr(path.c_str(), "trusted.origin", "lab", 3, 0), 0);
        ASSERT_EQ(::setxattr(path.c_str(), "security.mark", "x", 1, 0), 0);
    }
    ASSERT_TRUE(SetAccessList(folder.Path(), "u::rwx,g::rwx,o::r-x,g:adm:rwx,m::rwx", ACL_TYPE_DEFAULT));
    const std::string accessList = AccessListOf(path);
    const auto attributes = AttributesOf(path);
    const ino_t oldFile = FileNumberOf(path);

    WriteCableListFile(path, MakeTable(kRows));
    EXPECT_NE(FileNumberOf(path), oldFile) << "replaced, not written in place";
    EXPECT_EQ(AccessListOf(path), accessList);
    EXPECT_EQ(AttributesOf(path), attributes);
    EXPECT_EQ(ModeOf(path), 0640u) << "the mask shows as the group's bits";
    EXPECT_EQ(ReadBytes(path), BuildCableListText(MakeTable(kRows)));
}

TEST_F(PosixAccessTest, APrivateFileStaysPrivateInAFolderWithADefaultList) {
    ASSERT_TRUE(SetAccessList(path, "u::rw,g::---,o::---"));
    ASSERT_TRUE(SetAccessList(folder.Path(), "u::rwx,g::r-x,o::r-x,g:adm:r-x,m::r-x", ACL_TYPE_DEFAULT));
    WriteCableListFile(path, MakeTable(kRows));
    EXPECT_EQ(ModeOf(path), 0600u);
    EXPECT_EQ(::acl_extended_file(path.c_str()), 0) << AccessListOf(path);
}

// A file system or user that refuses the list to a new file gets the file written in place, list
// and attributes untouched.
TEST_F(PosixAccessTest, ARefusedListWritesInPlace) {
    const std::string accessList = AccessListOf(path);
    const auto attributes = AttributesOf(path);
    const ino_t oldFile = FileNumberOf(path);
    CFaultyFileSystem fileSystem(GetSystemFileSystem());
    fileSystem.DenyAccessLists();
    WriteCableListFile(path, MakeTable(kRows), fileSystem);
    EXPECT_EQ(FileNumberOf(path), oldFile);
    EXPECT_EQ(AccessListOf(path), accessList);
    EXPECT_EQ(AttributesOf(path), attributes);
    EXPECT_EQ(ReadBytes(path), BuildCableListText(MakeTable(kRows)));
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"CableList.ini"});
}

// An attribute that the user may read but not give (security.* for anybody but root): the file is
// written in place rather than replaced by one without it.
TEST_F(PosixAccessTest, AnAttributeTheUserCannotGiveWritesInPlace) {
    if (::geteuid() != 0 || ::setxattr(path.c_str(), "security.mark", "x", 1, 0) != 0) {
        GTEST_SKIP() << "setting a security attribute needs root";
    }
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chown(folder.Path().c_str(), 65534, 65534), 0);
    const auto attributes = AttributesOf(path);
    const ino_t oldFile = FileNumberOf(path);
    const int exitCode = RunInChild([&] {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
            ::setresuid(65534, 65534, 65534) != 0) {
            return 100;
        }
        if (::access(folder.Path().c_str(), W_OK | X_OK) != 0) {
            return 101;
        }
        try {
            WriteCableListFile(path, MakeTable(kRows));
        } catch (const CFileError&) {
            return 1;
        }
        return 0;
    });
    ASSERT_NE(exitCode, -1);
    if (exitCode == 100) {
        GTEST_SKIP() << "cannot act as user 65534 here";
    }
    if (exitCode == 101) {
        GTEST_SKIP() << "user 65534 cannot reach " << folder.Path() << ": a folder above it is closed to others";
    }
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(FileNumberOf(path), oldFile);
    EXPECT_EQ(AttributesOf(path), attributes);
    EXPECT_EQ(ReadBytes(path), BuildCableListText(MakeTable(kRows)));
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"CableList.ini"});
}

// A brand-new file gets what any new file gets: the umask, or the folder's default list.
TEST_F(PosixAccessTest, ANewFileGetsTheUmaskOrTheFoldersDefaultList) {
    const std::string newPath = folder / "new.ini";
    for (const auto newFiles : {CPosixFileSystem::NewFiles::UnnamedWherePossible, CPosixFileSystem::NewFiles::Named}) {
        CPosixFileSystem fileSystem(newFiles);
        const mode_t umask = ::umask(027);
        WriteCableListFile(newPath, MakeTable(kRows), fileSystem);
        EXPECT_EQ(ModeOf(newPath), 0640u);
        EXPECT_EQ(::acl_extended_file(newPath.c_str()), 0);
        ASSERT_EQ(::unlink(newPath.c_str()), 0);

        ASSERT_TRUE(SetAccessList(folder.Path(), "u::rwx,g::r-x,o::---,u:nobody:rw-,m::rwx", ACL_TYPE_DEFAULT));
        WriteCableListFile(newPath, MakeTable(kRows), fileSystem);
        ::umask(umask);
        EXPECT_EQ(AccessListOf(newPath), "user::rw-,user:nobody:rw-,group::r-x,mask::rw-,other::---");
        ASSERT_EQ(::unlink(newPath.c_str()), 0);
        ASSERT_EQ(::acl_delete_def_file(folder.Path().c_str()), 0);
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"CableList.ini"});
    }
}

// Until the new file is complete, nobody but its owner may open it, whatever the umask: a named
// one in particular, which others can see.
TEST_F(PosixAccessTest, TheNewFileIsPrivateUntilComplete) {
    const mode_t umask = ::umask(0);
    for (const auto newFiles : {CPosixFileSystem::NewFiles::UnnamedWherePossible, CPosixFileSystem::NewFiles::Named}) {
        for (const bool existing : {true, false}) {
            if (!existing) {
                ::unlink(path.c_str());
            }
            CPosixFileSystem fileSystem(newFiles);
            std::vector<mode_t> modes;
            ReplaceFileText(fileSystem, path, [&](IFile& file) {
                modes.push_back(file.GetIdentity().permissions);
                for (const std::string& name : folder.Names()) {
                    if (name != "CableList.ini") {
                        modes.push_back(ModeOf(folder / name));
                    }
                }
                WriteAll(file, "new", path);
            });
            EXPECT_EQ(ReadBytes(path), "new");
            for (const mode_t mode : modes) {
                EXPECT_EQ(mode, 0600u) << "existing " << existing;
            }
        }
    }
    ::umask(umask);
    EXPECT_EQ(ModeOf(path), 0666u) << "a new file gets what the umask allows once complete";
}
