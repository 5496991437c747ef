#include "DoubleByteCases.h"

#include "cable/CableListFile.h"
#include "cable/CableTable.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

const std::string kDoubleByteList =
    "/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=1\n"
    "CableName1 = \xB5\xE7\xC0\xC2 \xA1\xA1\n"
    "\x81Velocity1 = hidden\n"
    "Velocity1 = 0.66\n"
    "CableLoss1 = \x81\n"
    "Frequency1 = \xC6\xB5\xC2\xCA=\x81\x43\n";

void ExpectKeywordsOnlyWhereACharacterBegins() {
    const std::vector<std::string_view> lines = SplitCableLines(kDoubleByteList);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "Velocity1 = 0.66");
    EXPECT_EQ(SplitCableLines("h\n\x81\x40Velocity1\n\x81\nFrequency\n").size(), 2u);
}

void ExpectDoubleByteCellsSurviveARoundTrip() {
    CScratchFolder folder;
    const std::string path = folder / "CableList.ini";
    WriteBytes(path, kDoubleByteList);
    CCableTable table;
    ASSERT_EQ(ReadCableListFile(path, table), 1);
    // 0xA1 0xA1 is the double-byte blank, which is no white space.
    const std::vector<std::vector<std::string>> rows{
        {"\xB5\xE7\xC0\xC2 \xA1\xA1", "0.66", "\x81", "\xC6\xB5\xC2\xCA=\x81\x43"}};
    EXPECT_EQ(CellsOf(table), rows);
    WriteCableListFile(path, table);
    ASSERT_EQ(ReadCableListFile(path, table), 1);
    EXPECT_EQ(CellsOf(table), rows);
}
