// The reader in a double-byte ANSI code page. The test program runs with code page 936 (its test
// sets the system locale to zh_CN.GBK): there the bytes 0x81 0x43 are one character, so
// "\x81" "Velocity" holds no keyword.

#include "cable/CableListFile.h"
#include "cable/CableTable.h"
#include "cable/Win32FileSystem.h"

#include "../../cable/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

using Rows = std::vector<std::vector<std::string>>;

namespace {

const std::string kText = "/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=1\n"
                          "CableName1 = \xB5\xE7\xC0\xC2 \xA1\xA1\n"
                          "\x81Velocity1 = hidden\n"
                          "Velocity1 = 0.66\n"
                          "CableLoss1 = \x81\n"
                          "Frequency1 = \xC6\xB5\xC2\xCA=\x81\x43\n";

class Win32CodePageTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 936u) << "the test runs in the zh_CN.GBK locale"; }
};

}  // namespace

TEST_F(Win32CodePageTest, KeywordsAreFoundOnlyWhereACharacterBegins)
{
    const std::vector<std::string_view> lines = SplitCableLines(kText);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "Velocity1 = 0.66");
    EXPECT_EQ(SplitCableLines("h\n\x81\x40Velocity1\n\x81\nFrequency\n").size(), 2u);
}

TEST_F(Win32CodePageTest, CellsKeepTheirDoubleByteCharactersThroughARoundTrip)
{
    CScratchFolder folder;
    const std::string path = folder / "CableList.ini";
    WriteBytes(path, kText);
    CCableTable table;
    ASSERT_EQ(ReadCableListFile(path, table), 1);
    // 0xA1 0xA1 is the double-byte blank, which is no white space.
    const Rows rows{{"\xB5\xE7\xC0\xC2 \xA1\xA1", "0.66", "\x81", "\xC6\xB5\xC2\xCA=\x81\x43"}};
    EXPECT_EQ(CellsOf(table), rows);
    WriteCableListFile(path, table);
    ASSERT_EQ(ReadCableListFile(path, table), 1);
    EXPECT_EQ(CellsOf(table), rows);
}

// A double-byte character whose trail byte is a backslash (0x5C) is no folder separator.
TEST_F(Win32CodePageTest, FolderPartStepsOverDoubleByteCharacters)
{
    EXPECT_EQ(Win32FolderLength("C:\\d\\\x95\x5C"), 5u);
    EXPECT_EQ(Win32FolderLength("C:\\\x95\x5C\\CableList.ini"), 6u);
    EXPECT_EQ(Win32FolderLength("\x95\x5C"), 0u);
    EXPECT_EQ(Win32FolderLength("C:x.ini"), 2u);
}
