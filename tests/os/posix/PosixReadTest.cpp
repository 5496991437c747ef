// Reading an open file: what Read returns is the bytes that were there, never the size asked for.

#include "os/FileSystem.h"
#include "os/posix/PosixFileSystem.h"

#include "tests/cable/TestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

TEST(PosixReadTest, AReadAskingForMoreThanIsLeftGetsWhatIsLeft) {
    const CScratchFolder folder;
    const std::string path = folder / "short.ini";
    WriteBytes(path, "[Cable]\nCableName=RG58\n");
    CPosixFileSystem fileSystem;
    std::unique_ptr<IFile> file = fileSystem.OpenExisting(path);

    std::string buffer(64, '#');
    ASSERT_EQ(file->Read(buffer.data(), 8), 8u);
    EXPECT_EQ(buffer.substr(0, 8), "[Cable]\n");
    ASSERT_EQ(file->Read(buffer.data(), buffer.size()), 15u);
    EXPECT_EQ(buffer.substr(0, 15), "CableName=RG58\n");
    EXPECT_EQ(buffer.substr(15), std::string(49, '#')) << "bytes past the end were written to";
    EXPECT_EQ(file->Read(buffer.data(), buffer.size()), 0u);

    file->Rewind();
    EXPECT_EQ(file->Read(buffer.data(), buffer.size()), 23u);
    file->Close();
}

TEST(PosixReadTest, AnEmptyFileReadsNothing) {
    const CScratchFolder folder;
    const std::string path = folder / "empty.ini";
    WriteBytes(path, "");
    CPosixFileSystem fileSystem;
    std::unique_ptr<IFile> file = fileSystem.OpenExisting(path);
    char byte = '#';
    EXPECT_EQ(file->Read(&byte, 1), 0u);
    EXPECT_EQ(byte, '#');
    file->Close();
}
