// The reader's and writer's failures on Windows: missing files, the read-only attribute, folders,
// a file that another handle holds open with no sharing, bad paths. Each leaves the table and the
// files as they were and no handle open. And what a replacement keeps, and whom a backup is open to.

#include "cable/CableListFile.h"
#include "cable/CableTable.h"
#include "os/FileError.h"
#include "os/win32/Win32FileError.h"
#include "os/win32/Win32Folder.h"

#include "tests/cable/TestFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>
// after windows.h, which it needs
#include <sddl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using Cause = CFileError::Cause;
using Rows = std::vector<std::vector<std::string>>;

namespace {

const Rows kRows{{"RG58", "0.66", "0.5", "100"}, {"LMR400", "0.85", "0.2", "900"}};
const std::string kOldText = "old contents\n";

std::optional<Cause> CauseOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const CFileError& error) {
        return error.GetCause();
    }
    return std::nullopt;
}

// A handle on path opened with no sharing, as another program would hold it.
class CExclusiveHandle {
public:
    explicit CExclusiveHandle(const std::string& path)
        : m_handle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~CExclusiveHandle() {
        if (IsOpen()) CloseHandle(m_handle);
    }
    CExclusiveHandle(const CExclusiveHandle&) = delete;
    CExclusiveHandle& operator=(const CExclusiveHandle&) = delete;
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

class Win32FileFailureTest : public testing::Test {
protected:
    CScratchFolder folder;
    const std::string path = folder / "CableList.ini";
};

}  // namespace

TEST_F(Win32FileFailureTest, EveryFailureLeavesTableAndFileAsTheyWere) {
    WriteBytes(path, kOldText);
    const std::string readOnly = folder / "read-only.ini";
    WriteBytes(readOnly, kOldText);
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CreateDirectoryA((folder / "folder.ini").c_str(), nullptr));
    const std::string held = folder / "held.ini";
    WriteBytes(held, kOldText);
    auto holder = std::make_unique<CExclusiveHandle>(held);
    ASSERT_TRUE(holder->IsOpen());

    const struct {
        std::string path;
        Cause cause;
    } failures[] = {
        {folder / "missing.ini", Cause::FileNotFound},
        {folder / "no-folder/x.ini", Cause::FileNotFound},
        {readOnly, Cause::AccessDenied},
        {folder / "folder.ini", Cause::AccessDenied},
        {held, Cause::SharingViolation},
    };
    CCableTable table = MakeTable(kRows);
    table.SelectRow(0);
    const std::vector<std::string> names = folder.Names();
    const int handles = CountOpenDescriptors();
    for (const auto& failure : failures) {
        EXPECT_EQ(CauseOf([&] { ReadCableListFile(failure.path, table); }), failure.cause) << failure.path;
        EXPECT_EQ(CellsOf(table), kRows);
        EXPECT_EQ(table.GetSelectedRow(), 0);
        if (failure.cause != Cause::FileNotFound) {
            EXPECT_EQ(CauseOf([&] { WriteCableListFile(failure.path, CCableTable()); }), failure.cause) << failure.path;
        }
        EXPECT_EQ(CountOpenDescriptors(), handles) << failure.path;
        EXPECT_EQ(folder.Names(), names) << failure.path;
    }
    holder.reset();
    EXPECT_EQ(ReadBytes(readOnly), kOldText);
    EXPECT_EQ(ReadBytes(held), kOldText);
    EXPECT_NE(GetFileAttributesA(readOnly.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

// A path too long for the system is refused, never cut short.
TEST_F(Win32FileFailureTest, OverlongPathIsRefused) {
    const std::string overlong = folder / std::string(300, 'n');
    CCableTable table;
    const std::optional<Cause> readCause = CauseOf([&] { ReadCableListFile(overlong, table); });
    ASSERT_TRUE(readCause.has_value());
    EXPECT_NE(*readCause, Cause::Generic);
    EXPECT_TRUE(CauseOf([&] { WriteCableListFile(overlong, table); }).has_value());
    EXPECT_TRUE(folder.Names().empty());
}

TEST_F(Win32FileFailureTest, ExportReplacesAFileAndKeepsItsAttributes) {
    WriteBytes(path, kOldText);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    WriteCableListFile(path, MakeTable(kRows));
    EXPECT_NE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    CCableTable table;
    EXPECT_EQ(ReadCableListFile(path, table), 2);
    EXPECT_EQ(CellsOf(table), kRows);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"CableList.ini"});
}

// A file with a second name (a hard link) is written in place: both names keep showing one file.
TEST_F(Win32FileFailureTest, ExportKeepsHardLinks) {
    WriteBytes(path, kOldText);
    const std::string otherName = folder / "other.ini";
    ASSERT_TRUE(CreateHardLinkA(otherName.c_str(), path.c_str(), nullptr));
    WriteCableListFile(path, MakeTable(kRows));
    CCableTable table;
    EXPECT_EQ(ReadCableListFile(otherName, table), 2);
    EXPECT_EQ(CellsOf(table), kRows);
    EXPECT_EQ(ReadBytes(otherName), ReadBytes(path));
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"CableList.ini", "other.ini"}));
}

// The SIDs of the entries of file's access list, as text ("S-1-1-0" for everybody).
std::vector<std::string> AccessListSids(const std::string& file) {
    DWORD size = 0;
    GetFileSecurityA(file.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<unsigned char> descriptor(size);
    BOOL present = FALSE, defaulted = FALSE;
    ACL* acl = nullptr;
    std::vector<std::string> sids;
    if (!GetFileSecurityA(file.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size) ||
        !GetSecurityDescriptorDacl(descriptor.data(), &present, &acl, &defaulted) || !present || !acl) {
        ADD_FAILURE() << "no access list for " << file;
        return sids;
    }
    for (DWORD index = 0; index < acl->AceCount; ++index) {
        void* ace = nullptr;
        char* sid = nullptr;
        if (GetAce(acl, index, &ace) &&
            ConvertSidToStringSidA(&static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart, &sid)) {
            sids.emplace_back(sid);
            LocalFree(sid);
        }
    }
    return sids;
}

std::string UserSid() {
    HANDLE token = nullptr;
    unsigned char user[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    char* sid = nullptr;
    const bool known = OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) &&
                       GetTokenInformation(token, TokenUser, user, sizeof user, &size) &&
                       ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, &sid);
    if (token) CloseHandle(token);
    std::string text = known ? sid : "";
    LocalFree(sid);
    return text;
}

// A backup holds a list's whole old text: the user running the program alone may open it (and the
// system itself), whatever the folder passes on to a file made in it, and it can still be removed.
TEST_F(Win32FileFailureTest, ABackupIsOpenToItsOwnerAlone) {
    const std::string localSystem = "S-1-5-18";
    WriteBytes(path, kOldText);
    const std::vector<std::string> plain = AccessListSids(path);
    ASSERT_TRUE(std::any_of(plain.begin(), plain.end(), [&](const std::string& sid) {
        return sid != UserSid() && sid != localSystem;
    })) << "a plain file here is open to nobody else, so the test would show nothing";

    CWin32Folder held(folder / "");
    std::string name;
    held.CreateBackup("CableList.ini", name)->Close();
    const std::vector<std::string> backup = AccessListSids(held.PathOf(name));
    EXPECT_THAT(backup, testing::Contains(UserSid()));
    EXPECT_THAT(backup, testing::Each(testing::AnyOf(UserSid(), localSystem)));

    held.Remove(name);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"CableList.ini"});
}

TEST(Win32FileError, SystemErrorsSortIntoTheirCauses) {
    const struct {
        DWORD error;
        Cause cause;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, Cause::FileNotFound},     {ERROR_PATH_NOT_FOUND, Cause::FileNotFound},
        {ERROR_ACCESS_DENIED, Cause::AccessDenied},      {ERROR_SHARING_VIOLATION, Cause::SharingViolation},
        {ERROR_LOCK_VIOLATION, Cause::SharingViolation}, {ERROR_DISK_FULL, Cause::DiskFull},
        {ERROR_HANDLE_DISK_FULL, Cause::DiskFull},       {ERROR_FILENAME_EXCED_RANGE, Cause::BadPath},
        {ERROR_INVALID_FUNCTION, Cause::Generic},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Win32ErrorCause(c.error), c.cause) << c.error;
    }
    const CFileError error = Win32FileError(ERROR_SHARING_VIOLATION, "C:\\x.ini");
    EXPECT_EQ(std::string(error.what()).rfind("C:\\x.ini: ", 0), 0u) << error.what();
}
