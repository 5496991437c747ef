// Makes each file call of a read and of an export fail in turn, on every way an export can take,
// and checks after each that the error is raised and nothing else happened.

#include "cable/CableListFile.h"
#include "cable/CableListText.h"
#include "cable/CableTable.h"
#include "os/FileError.h"

#include "TestFiles.h"
#include "tests/os/FaultyFileSystem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

using testing::IsSupersetOf;
using Fault = CFaultyFileSystem::Fault;
using Rows = std::vector<std::vector<std::string>>;

namespace {

const Rows kOldRows{{"RG58", "0.66", "0.5", "100"}, {"LMR400", "0.85", "", "900"}};
const Rows kNewRows{{"RG213", "0.66", "3.5", "1000"}};
constexpr int kMostCalls = 100;

class FaultInjectionTest : public testing::Test {
protected:
    void SetUp() override {
        SetStateFolder(state.Path());
        WriteCableListFile(path, MakeTable(kOldRows));
        oldText = ReadBytes(path);
        names = folder.Names();
        descriptors = CountOpenDescriptors();
    }

    // Runs operation with call after call made to fail until it runs without a failure. Returns
    // the names of the calls made to fail; after each, check has run, given the step and whether
    // the operation raised the failure (an export may pass over some: a backup beside the file,
    // which then goes to the state folder; the folder's flush once the backup is removed).
    template <typename Operation, typename Check>
    std::set<std::string> FailEachCall(Fault fault, Operation operation, Check check) {
        std::set<std::string> failed;
        for (int call = 1; call <= kMostCalls; ++call) {
            CFaultyFileSystem fileSystem(GetSystemFileSystem());
            fileSystem.FailCall(call, fault);
            bool raised = false;
            try {
                operation(fileSystem);
            } catch (const CFileError&) {
                raised = true;
            }
            if (fileSystem.FailedStep().empty()) {
                EXPECT_FALSE(raised);
                return failed;
            }
            failed.insert(fileSystem.FailedStep());
            check("call " + std::to_string(call) + ": " + fileSystem.FailedStep(), raised);
        }
        ADD_FAILURE() << "the operation never ran without a failure";
        return failed;
    }

    Rows ReadRows() {
        CCableTable table;
        ReadCableListFile(path, table);
        return CellsOf(table);
    }

    void ExpectNothingLeft(const std::string& step) {
        EXPECT_EQ(CountOpenDescriptors(), descriptors) << step;
        EXPECT_EQ(folder.Names(), names) << step;
    }

    // The paths of the files in the state folder's own folder for the program.
    std::vector<std::string> BackupsInStateFolder() const {
        std::vector<std::string> backups;
        std::error_code none;
        for (const auto& entry : std::filesystem::directory_iterator(state / "quorlis", none)) {
            backups.push_back(entry.path().string());
        }
        return backups;
    }

    // After a failed export: the file holds its old text whole (or is still missing) and nothing
    // is left behind; or, where the failure came once the new text was in place, it holds the
    // new text whole and nothing but backups holding the old text is left. Puts the old file back
    // for the next run.
    // An export that raised no error must have put the new text in place, and left nothing.
    void ExpectOldOrNewWhole(const std::string& step, bool raised = true) {
        EXPECT_EQ(CountOpenDescriptors(), descriptors) << step;
        const bool hadOldFile = std::find(names.begin(), names.end(), "CableList.ini") != names.end();
        const bool exists = std::filesystem::exists(path);
        if (!raised) {
            EXPECT_EQ(ReadBytes(path), BuildCableListText(MakeTable(kNewRows))) << step << " passed over";
            EXPECT_EQ(folder.Names().size(), names.size() + (hadOldFile ? 0 : 1)) << step << " passed over";
            EXPECT_EQ(BackupsInStateFolder(), std::vector<std::string>{}) << step << " passed over";
        }
        if (exists == hadOldFile && (!exists || ReadBytes(path) == oldText)) {
            EXPECT_EQ(folder.Names(), names) << step;
            EXPECT_EQ(BackupsInStateFolder(), std::vector<std::string>{}) << step;
            return;
        }
        EXPECT_EQ(ReadBytes(path), BuildCableListText(MakeTable(kNewRows))) << step;
        std::vector<std::string> backups = BackupsInStateFolder();
        for (const std::string& name : folder.Names()) {
            if (std::find(names.begin(), names.end(), name) == names.end() && name != "CableList.ini") {
                backups.push_back(folder / name);
            }
        }
        for (const std::string& backup : backups) {
            EXPECT_EQ(ReadBytes(backup), oldText) << step << ": " << backup;
            std::filesystem::remove(backup);
        }
        if (hadOldFile) {
            WriteBytes(path, oldText);
        } else {
            std::filesystem::remove(path);
        }
        EXPECT_EQ(folder.Names(), names) << step;
    }

    CScratchFolder folder;
    CScratchFolder state;
    const std::string path = folder / "CableList.ini";
    std::string oldText;
    std::vector<std::string> names;
    int descriptors = 0;
};

}  // namespace

TEST_F(FaultInjectionTest, FailedReadLeavesTheTable) {
    CCableTable table = MakeTable(kNewRows);
    const auto failed = FailEachCall(
        Fault::Throw, [&](IFileSystem& fileSystem) { ReadCableListFile(path, table, fileSystem); },
        [&](const std::string& step, bool raised) {
            EXPECT_TRUE(raised) << step;
            EXPECT_EQ(CellsOf(table), kNewRows) << step;
            EXPECT_EQ(table.GetSelectedRow(), 0) << step;
            ExpectNothingLeft(step);
        });
    EXPECT_THAT(failed, IsSupersetOf({"open", "lock", "size", "read", "close"}));
    EXPECT_EQ(CellsOf(table), kOldRows);

    // Reads that return less than asked are not failures.
    CFaultyFileSystem slowFileSystem(GetSystemFileSystem());
    slowFileSystem.LimitReads(3);
    table = MakeTable(kNewRows);
    EXPECT_EQ(ReadCableListFile(path, table, slowFileSystem), 2);
    EXPECT_EQ(CellsOf(table), kOldRows);
}

// Every way an export can take, each made to fail at every step: the old file is whole after each
// failure, and nothing is left behind.
TEST_F(FaultInjectionTest, FailedExportLeavesTheOldFile) {
    const struct {
        const char* name;
        void (*steer)(CFaultyFileSystem& fileSystem);
        bool needsOpenRename;
    } paths[] = {
        {"replaced", [](CFaultyFileSystem&) {}, false},
        {"replaced, owner given", [](CFaultyFileSystem& f) { f.MakeNewFilesForeign(false); }, false},
        {"in place, owner refused", [](CFaultyFileSystem& f) { f.MakeNewFilesForeign(true); }, false},
        {"in place, creating refused", [](CFaultyFileSystem& f) { f.DenyCreating(); }, false},
        {"in place, rename refused", [](CFaultyFileSystem& f) { f.DenyRenaming(); }, true},
        {"in place, access list refused", [](CFaultyFileSystem& f) { f.DenyAccessLists(); }, false},
        {"in place, backup in the state folder",
         [](CFaultyFileSystem& f) {
             f.DenyCreating();
             f.DenyBackupsBeside();
         },
         false},
    };
    const CCableTable table = MakeTable(kNewRows);
    std::set<std::string> failed;
    for (const auto& savePath : paths) {
        if (savePath.needsOpenRename && !GetSystemFileSystem().CanRenameOpenFiles()) {
            continue;
        }
        const auto write = [&](CFaultyFileSystem& fileSystem) {
            savePath.steer(fileSystem);
            WriteCableListFile(path, table, fileSystem);
        };
        const auto check = [&](const std::string& step, bool raised) {
            ExpectOldOrNewWhole(std::string(savePath.name) + ", " + step, raised);
        };
        for (const Fault fault : {Fault::Throw, Fault::ShortWrite}) {
            failed.merge(FailEachCall(fault, write, check));
            EXPECT_EQ(ReadRows(), kNewRows) << savePath.name;
            ExpectNothingLeft(savePath.name);
            WriteBytes(path, oldText);
        }
    }
    EXPECT_THAT(failed, IsSupersetOf({"follow links",
                                      "open folder",
                                      "open",
                                      "lock",
                                      "identity",
                                      "create",
                                      "set owner",
                                      "copy access list",
                                      "set permissions",
                                      "write",
                                      "flush",
                                      "close",
                                      "rename",
                                      "flush folder",
                                      "create scratch",
                                      "create backup",
                                      "open state folder",
                                      "read",
                                      "rewind",
                                      "end here"}));
    if (GetSystemFileSystem().CanRenameOpenFiles()) {
        // A refused rename writes the file in place from the closed new file.
        EXPECT_THAT(failed, IsSupersetOf({"open for reading"}));
    }
}

// A file with another name is written in place, so that both names keep one file.
TEST_F(FaultInjectionTest, FailedExportOfAFileWithTwoNamesLeavesBoth) {
    const std::string otherName = folder / "other.ini";
    std::filesystem::create_hard_link(path, otherName);
    names = folder.Names();
    const auto failed = FailEachCall(
        Fault::Throw, [&](IFileSystem& fileSystem) { WriteCableListFile(path, MakeTable(kNewRows), fileSystem); },
        [&](const std::string& step, bool raised) {
            EXPECT_EQ(ReadBytes(otherName), ReadBytes(path)) << step;
            ExpectOldOrNewWhole(step, raised);
            EXPECT_EQ(ReadBytes(otherName), oldText) << step;
        });
    EXPECT_THAT(failed, IsSupersetOf({"create scratch", "create backup", "flush folder", "write", "rewind", "end here",
                                      "flush", "close"}));
    EXPECT_EQ(ReadRows(), kNewRows);
    EXPECT_EQ(ReadBytes(otherName), ReadBytes(path));
}

// Where writing in place fails and putting the old text back fails too, the backup stays, holds
// the old text, and the error says where it is.
TEST_F(FaultInjectionTest, FailedPutBackKeepsTheBackupAndNamesIt) {
    std::filesystem::create_hard_link(path, folder / "other.ini");
    names = folder.Names();
    const std::string newText = BuildCableListText(MakeTable(kNewRows));
    int backupsKept = 0;
    for (int call = 1; call <= kMostCalls; ++call) {
        CFaultyFileSystem fileSystem(GetSystemFileSystem());
        fileSystem.FailCall(call, Fault::Throw, true);
        std::string message;
        try {
            WriteCableListFile(path, MakeTable(kNewRows), fileSystem);
        } catch (const CFileError& error) {
            message = error.what();
        }
        if (fileSystem.FailedStep().empty()) {
            break;
        }
        const std::string step = fileSystem.FailedStep();
        EXPECT_EQ(CountOpenDescriptors(), descriptors) << step;
        const std::string text = ReadBytes(path);
        if (message.empty()) {
            // The folder flush after the backup's removal, which an export may pass over.
            EXPECT_EQ(step, "flush folder");
            EXPECT_EQ(text, newText);
            EXPECT_EQ(folder.Names(), names);
            WriteBytes(path, oldText);
            continue;
        }
        std::vector<std::string> left;
        for (const std::string& name : folder.Names()) {
            if (std::find(names.begin(), names.end(), name) == names.end()) {
                left.push_back(name);
            }
        }
        if (text == oldText && left.empty()) {
            continue;
        }
        // Where putting the old text back failed, a backup is kept even if the file may be whole.
        ASSERT_EQ(left.size(), 1u) << step << ": the file was changed and no backup was kept";
        EXPECT_EQ(ReadBytes(folder / left[0]), oldText) << step;
        EXPECT_NE(message.find(folder / left[0]), std::string::npos) << message;
        ++backupsKept;
        std::filesystem::remove(folder / left[0]);
        WriteBytes(path, oldText);
    }
    EXPECT_GT(backupsKept, 0);
}

TEST_F(FaultInjectionTest, FailedExportOfANewFileLeavesNothing) {
    std::filesystem::remove(path);
    names = folder.Names();
    const auto write = [&](IFileSystem& fileSystem) { WriteCableListFile(path, MakeTable(kNewRows), fileSystem); };
    const auto failed = FailEachCall(Fault::Throw, write,
                                     [&](const std::string& step, bool raised) { ExpectOldOrNewWhole(step, raised); });
    EXPECT_THAT(failed, IsSupersetOf({"new file permissions", "close", "rename", "flush folder"}));
    EXPECT_EQ(ReadRows(), kNewRows);

    // A folder that allows no new file refuses a new list.
    std::filesystem::remove(path);
    CFaultyFileSystem fileSystem(GetSystemFileSystem());
    fileSystem.DenyCreating();
    try {
        write(fileSystem);
        ADD_FAILURE() << "a folder that allows no new file took one";
    } catch (const CFileError& error) {
        EXPECT_EQ(error.GetCause(), CFileError::Cause::AccessDenied);
    }
    ExpectNothingLeft("creating refused");
}

// The names a replacement changes are flushed to the disk: after the rename, and after making and
// removing a backup.
TEST_F(FaultInjectionTest, ExportFlushesTheFolderAfterEachChangeOfNames) {
    CFaultyFileSystem replacing(GetSystemFileSystem());
    WriteCableListFile(path, MakeTable(kNewRows), replacing);
    ASSERT_GE(replacing.Steps().size(), 2u);
    EXPECT_EQ(replacing.Steps().end()[-2], "rename");
    EXPECT_EQ(replacing.Steps().back(), "flush folder");

    std::filesystem::create_hard_link(path, folder / "other.ini");
    CFaultyFileSystem inPlace(GetSystemFileSystem());
    WriteCableListFile(path, MakeTable(kOldRows), inPlace);
    const std::vector<std::string>& steps = inPlace.Steps();
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "flush folder"), 2);
    const auto backup = std::find(steps.begin(), steps.end(), "create backup");
    const auto firstFlush = std::find(backup, steps.end(), "flush folder");
    // The backup is written and flushed, then its name, and only then is the file overwritten.
    EXPECT_GE(std::count(backup, firstFlush, "write"), 1);
    EXPECT_GE(std::count(backup, firstFlush, "flush"), 1);
    EXPECT_GE(std::count(firstFlush, steps.end(), "write"), 1);
    EXPECT_EQ(steps.back(), "flush folder");
    EXPECT_EQ(ReadRows(), kOldRows);
}
