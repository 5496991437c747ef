#include "cable/CableListFile.h"
#include "cable/CableTable.h"

#include "TestFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using testing::ElementsAre;
using Rows = std::vector<std::vector<std::string>>;

namespace {

std::vector<std::string> Split(std::string_view text) {
    std::vector<std::string> lines;
    for (std::string_view line : SplitCableLines(text)) {
        lines.emplace_back(line);
    }
    return lines;
}

}  // namespace

TEST(CableLinesTest, SplitKeepsLaterKeywordLinesWholeAsViewsIntoTheText) {
    // The first non-empty line, here "\r", is set aside whatever it holds.
    const std::string text =
        "\n\n\r\nCableName0 = skipped\n\nx CableName1 = a \r\n; Frequency table\n"
        "cablename velocity\nCable Name\nx Velocity\nVelocit\nFrequency";
    const std::vector<std::string_view> lines = SplitCableLines(text);
    EXPECT_THAT(Split(text), ElementsAre("CableName0 = skipped", "x CableName1 = a \r", "; Frequency table",
                                         "x Velocity", "Frequency"));
    for (std::string_view line : lines) {
        EXPECT_TRUE(line.data() >= text.data() && line.data() + line.size() <= text.data() + text.size());
    }
    EXPECT_THAT(Split("\n\nCableName1 = a\nVelocity1 = b\n"), ElementsAre("Velocity1 = b"));
    EXPECT_TRUE(Split("").empty());
    EXPECT_TRUE(Split("\n\n\n").empty());
    EXPECT_TRUE(Split("CableName1 = only the first line").empty());
    EXPECT_THAT(Split(std::string("h\nVelocity\0x\nCableLoss", 22)),
                ElementsAre(std::string("Velocity\0x", 10), "CableLoss"));
}

TEST(CableLinesTest, ExtractDropsOneBlankAfterTheFirstEqualsOfTheTrimmedLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"CableName1 = RG58", "RG58"},
        {"CableName1 =RG58", "RG58"},
        {"CableName1 =  RG58", " RG58"},
        {"CableName1 =\tRG58", "\tRG58"},
        {"CableName1 = a=b \t\r", "a=b"},
        {" \v\fCableName1 = RG58 \r\n", "RG58"},
        {"CableName1 =", ""},
        {"CableName1 = ", ""},
        {"CableName1 =    ", ""},
        {"CableName1 RG58 ", "CableName1 RG58"},
        {"Velocity1 = \xA0", "\xA0"},
        {"Velocity1 = 0.66\xA0", "0.66\xA0"},
        {"", ""},
    };
    for (const auto& [line, value] : cases) {
        EXPECT_EQ(ExtractCableValue(line), value) << "line: " << line;
    }
}

TEST(CableLinesTest, FillMakesRowsByPositionAndSelectsTheLast) {
    CCableTable table = MakeTable({{"old", "", "", ""}});
    const std::string text =
        "/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=7\n"
        "Velocity1 = a\nCableName1 = b\nCableLoss1 = c\nFrequency1 = d\n"
        "CableName2 =\nVelocity2 = \nCableLoss2 =  x\nFrequency2 = 100\r\n";
    EXPECT_EQ(FillCableTable(SplitCableLines(text), table), 2);
    EXPECT_EQ(CellsOf(table), (Rows{{"a", "b", "c", "d"}, {"", "", " x", "100"}}));
    EXPECT_EQ(table.GetSelectedRow(), 1);

    // No rows is refused like lines that are not whole rows: the table keeps its rows and selection.
    table.SelectRow(0);
    EXPECT_EQ(FillCableTable(SplitCableLines("header only\n[CableList] Version=1 CableCount=0\n"), table), 0);
    EXPECT_EQ(CellsOf(table), (Rows{{"a", "b", "c", "d"}, {"", "", " x", "100"}}));
    EXPECT_EQ(table.GetSelectedRow(), 0);
}

TEST(CableLinesTest, LinesThatAreNotWholeRowsLeaveTheTableUntouched) {
    const Rows before{{"keep", "1", "2", "3"}};
    CCableTable table = MakeTable(before);
    // Without the comment line, the first cable line is set aside: three lines remain.
    const char* const texts[] = {
        "CableName1 = RG58\nVelocity1 = 0.66\nCableLoss1 = 0.5\nFrequency1 = 100\n",
        "c\nh\n; Frequency table\nCableName1 = RG58\nVelocity1 = 0.66\nCableLoss1 = 0.5\nFrequency1 = 100\n",
    };
    for (const char* text : texts) {
        EXPECT_EQ(FillCableTable(SplitCableLines(text), table), kCableFormatError) << text;
        EXPECT_EQ(CellsOf(table), before);
        EXPECT_EQ(table.GetSelectedRow(), 0);
    }
}
