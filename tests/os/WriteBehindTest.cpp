// Pieces written behind the caller's back still reach the file in order, and a failure on the
// writing thread reaches the caller and ends the writing.

#include "os/WriteBehind.h"

#include "os/FileError.h"
#include "os/FileSystem.h"

#include "tests/os/FaultyFileSystem.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace {

// A file in memory whose writes of a whole piece take a while, so that a write that did not wait
// for the one before it would land first.
class CSlowMemoryFile : public IFile {
public:
    std::string text;

    std::size_t Write(const char* data, std::size_t size) override {
        if (size == CWriteBehind::kPieceSize) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        text.append(data, size);
        return size;
    }
    void Lock() override {}
    std::uint64_t GetSize() override { return text.size(); }
    std::size_t Read(char*, std::size_t) override { return 0; }
    void Rewind() override {}
    void EndHere() override {}
    void FlushToDisk() override {}
    CFileIdentity GetIdentity() override { return {}; }
    void SetPermissions(std::uint32_t) override {}
    void SetOwner(std::uint32_t, std::uint32_t) override {}
    void TakeAccessListAndAttributes(IFile&) override {}
    void TakeNewFilePermissions() override {}
    std::string NameBeside(const std::string& path) override { return path; }
    void Close() override {}
};

std::string ReadWhole(IFile& file) {
    std::string text;
    char buffer[4096];
    file.Rewind();
    while (const std::size_t count = file.Read(buffer, sizeof buffer)) {
        text.append(buffer, count);
    }
    return text;
}

}  // namespace

// A piece longer than the copies is written at once, after the one still being written.
TEST(WriteBehindTest, PiecesOfEverySizeArriveInOrder) {
    CSlowMemoryFile file;
    const std::string full(CWriteBehind::kPieceSize, 'b');
    const std::string longer(CWriteBehind::kPieceSize + 1, 'c');
    {
        CWriteBehind behind(file, "list.ini");
        for (const std::string& piece : {std::string("a"), full, longer, std::string("d"), std::string()}) {
            behind.Write(piece);
        }
        behind.Finish();
    }
    EXPECT_TRUE(file.text == "a" + full + longer + "d");
}

TEST(WriteBehindTest, AFailedWriteIsReportedAndNothingFollowsIt) {
    CFaultyFileSystem fileSystem(GetSystemFileSystem());
    fileSystem.FailCall(2, CFaultyFileSystem::Fault::ShortWrite);
    const std::unique_ptr<IFile> file = fileSystem.CreateScratch();
    CWriteBehind behind(*file, "list.ini");
    behind.Write("one ");
    behind.Write("two ");
    try {
        behind.Write("three ");
        behind.Finish();
        FAIL() << "the short write was not reported";
    } catch (const CFileError& error) {
        EXPECT_EQ(error.GetCause(), CFileError::Cause::DiskFull);
        EXPECT_NE(std::string(error.what()).find("list.ini"), std::string::npos) << error.what();
    }
    EXPECT_THROW(behind.Finish(), CFileError);
    EXPECT_EQ(ReadWhole(*file), "one tw");
}
