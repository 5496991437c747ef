// Makes each file call of a read and of an export fail in turn, on every way an export can take,
// and checks after each that the error is raised and nothing else happened.

#include "cable/CableListFile.h"
#include "cable/CableTable.h"
#include "cable/FileError.h"

#include "FaultyFileSystem.h"
#include "TestFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
        WriteCableListFile(path, MakeTable(kOldRows));
        oldText = ReadBytes(path);
        names = folder.Names();
        descriptors = CountOpenDescriptors();
    }

    // Runs operation with call after call made to fail until it runs without a failure. Returns
    // the names of the calls made to fail; after each, check has run.
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
            EXPECT_TRUE(raised) << "call " << call << ": " << fileSystem.FailedStep();
            check(fileSystem.FailedStep());
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

    CScratchFolder folder;
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
        [&](const std::string& step) {
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
        const auto check = [&](const std::string& step) {
            EXPECT_EQ(ReadBytes(path), oldText) << savePath.name << ", " << step;
            ExpectNothingLeft(std::string(savePath.name) + ", " + step);
        };
        for (const Fault fault : {Fault::Throw, Fault::ShortWrite}) {
            failed.merge(FailEachCall(fault, write, check));
            EXPECT_EQ(ReadRows(), kNewRows) << savePath.name;
            ExpectNothingLeft(savePath.name);
            WriteBytes(path, oldText);
        }
    }
    EXPECT_THAT(failed,
                IsSupersetOf({"follow links", "open", "lock", "identity", "create", "set owner", "set permissions",
                              "write", "flush", "rename", "create scratch", "read", "rewind", "end here"}));
}

// A file with another name is written in place, so that both names keep one file.
TEST_F(FaultInjectionTest, FailedExportOfAFileWithTwoNamesLeavesBoth) {
    const std::string otherName = folder / "other.ini";
    std::filesystem::create_hard_link(path, otherName);
    names = folder.Names();
    const auto failed = FailEachCall(
        Fault::Throw, [&](IFileSystem& fileSystem) { WriteCableListFile(path, MakeTable(kNewRows), fileSystem); },
        [&](const std::string& step) {
            EXPECT_EQ(ReadBytes(path), oldText) << step;
            EXPECT_EQ(ReadBytes(otherName), oldText) << step;
            ExpectNothingLeft(step);
        });
    EXPECT_THAT(failed, IsSupersetOf({"create scratch", "write", "rewind", "end here", "flush"}));
    EXPECT_EQ(ReadRows(), kNewRows);
    EXPECT_EQ(ReadBytes(otherName), ReadBytes(path));
}

TEST_F(FaultInjectionTest, FailedExportOfANewFileLeavesNothing) {
    std::filesystem::remove(path);
    names = folder.Names();
    const auto write = [&](IFileSystem& fileSystem) { WriteCableListFile(path, MakeTable(kNewRows), fileSystem); };
    FailEachCall(Fault::Throw, write, [&](const std::string& step) { ExpectNothingLeft(step); });
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
