// Makes each file call of a read and of an export fail in turn, and checks after each that the
// error is raised and nothing else happened.

#include "cable/CableListFile.h"
#include "cable/CableTable.h"
#include "cable/FileError.h"

#include "FaultyFileSystem.h"
#include "TestFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <sys/stat.h>

using testing::IsSupersetOf;
using Fault = CFaultyFileSystem::Fault;
using Rows = std::vector<std::vector<std::string>>;

namespace {

const Rows kOldRows{{"RG58", "0.66", "0.5", "100"}, {"LMR400", "0.85", "", "900"}};
const Rows kNewRows{{"RG213", "0.66", "3.5", "1000"}};
constexpr int kMostCalls = 100;

class FaultInjectionTest : public testing::Test {
protected:
    void SetUp() override
    {
        WriteCableListFile(path, MakeTable(kOldRows));
        oldText = ReadBytes(path);
        names = folder.Names();
        descriptors = CountOpenDescriptors();
    }

    // Runs operation with call after call made to fail until it runs without a failure. Returns
    // the names of the calls made to fail; after each, check has run.
    template <typename Operation, typename Check>
    std::set<std::string> FailEachCall(Fault fault, Operation operation, Check check)
    {
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

    void ExpectNothingLeft(const std::string& step)
    {
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

TEST_F(FaultInjectionTest, FailedReadLeavesTheTable)
{
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

TEST_F(FaultInjectionTest, FailedExportLeavesTheOldFile)
{
    const CCableTable table = MakeTable(kNewRows);
    const auto check = [&](const std::string& step) {
        EXPECT_EQ(ReadBytes(path), oldText) << step;
        ExpectNothingLeft(step);
    };
    const auto write = [&](IFileSystem& fileSystem) { WriteCableListFile(path, table, fileSystem); };
    const auto failed = FailEachCall(Fault::Throw, write, check);
    EXPECT_THAT(failed, IsSupersetOf({"follow links", "open", "lock", "create", "get permissions",
                                      "set permissions", "write", "flush", "close", "rename"}));
    WriteBytes(path, oldText);
    EXPECT_THAT(FailEachCall(Fault::ShortWrite, write, check), IsSupersetOf({"write"}));
    EXPECT_EQ(CellsOf(table), kNewRows);
}

TEST_F(FaultInjectionTest, ExportRewritesInPlaceWhereNoFileMayBeCreated)
{
    struct stat before {};
    ::stat(path.c_str(), &before);
    CFaultyFileSystem fileSystem(GetSystemFileSystem());
    fileSystem.DenyCreating();
    WriteCableListFile(path, MakeTable(kNewRows), fileSystem);
    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    CCableTable table;
    EXPECT_EQ(ReadCableListFile(path, table), 1);
    EXPECT_EQ(CellsOf(table), kNewRows);
    ExpectNothingLeft("in place");

    // A failure in place is still raised and leaks nothing; the file may have been changed.
    const auto failed = FailEachCall(
        Fault::Throw,
        [&](IFileSystem& faulty) {
            static_cast<CFaultyFileSystem&>(faulty).DenyCreating();
            WriteCableListFile(path, MakeTable(kOldRows), faulty);
        },
        [&](const std::string& step) { ExpectNothingLeft(step); });
    EXPECT_THAT(failed, IsSupersetOf({"truncate", "write", "flush", "close"}));
    EXPECT_EQ(ReadBytes(path), oldText);
}
