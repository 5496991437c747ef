#include "cable/CableListFile.h"
#include "cable/CableListReader.h"
#include "cable/CableListText.h"
#include "cable/CableTable.h"
#include "cable/UnwritableCellError.h"
#include "os/FileError.h"

#include "TestFiles.h"
#include "tests/os/FaultyFileSystem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace std::string_literals;
using testing::ElementsAre;
using Cause = CFileError::Cause;
using Rows = std::vector<std::vector<std::string>>;

namespace {

class CableListFileTest : public testing::Test {
protected:
    CScratchFolder folder;
    const std::string path = folder / "CableList.ini";
};

}  // namespace

TEST_F(CableListFileTest, WritesExactlyTheFormat) {
    WriteCableListFile(path, CCableTable());
    EXPECT_EQ(ReadBytes(path), kEmptyListText);

    WriteCableListFile(path, MakeTable(kSampleRows));
    EXPECT_EQ(ReadBytes(path),
              "/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=3\n"
              "CableName1 = RG58\nVelocity1 = 0.66\nCableLoss1 = 0.5\nFrequency1 = 100\n"
              "CableName2 =   lead\nVelocity2 = \nCableLoss2 =  \nFrequency2 = x\n"
              "CableName3 = a=b \tc\nVelocity3 = \t1\nCableLoss3 = =\nFrequency3 = \xA0\xB1\n");
    EXPECT_THAT(folder.Names(), ElementsAre("CableList.ini"));
}

TEST_F(CableListFileTest, RoundTripGivesBackTheCellsAndTheSameBytes) {
    Rows rows = kSampleRows;
    rows[1][2] = "";  // a blank-only cell would come back empty: the reader trims the line
    for (int row = 0; row < 1500; ++row) {
        rows.push_back({"LMR-" + std::to_string(row), "0.8" + std::to_string(row % 7), "", " 12.5"});
    }
    WriteCableListFile(path, MakeTable(rows));
    const std::string first = ReadBytes(path);
    // The keys number the rows in decimal through every carry (9 to 10, 99 to 100, 999 to 1000).
    std::istringstream lines(first);
    std::string line;
    std::getline(lines, line);
    std::getline(lines, line);
    for (std::size_t row = 1; row <= rows.size(); ++row) {
        for (const std::string key : {"CableName", "Velocity", "CableLoss", "Frequency"}) {
            ASSERT_TRUE(std::getline(lines, line));
            ASSERT_TRUE(line.starts_with(key + std::to_string(row) + " = ")) << line;
        }
    }
    CCableTable table;
    EXPECT_EQ(ReadCableListFile(path, table), static_cast<int>(rows.size()));
    EXPECT_EQ(CellsOf(table), rows);
    EXPECT_EQ(table.GetSelectedRow(), static_cast<int>(rows.size()) - 1);
    WriteCableListFile(path, table);
    EXPECT_TRUE(ReadBytes(path) == first);
}

TEST_F(CableListFileTest, ReaderTakesTextUpToTheFirstZeroByteAndAnyLineEnds) {
    CCableTable table;
    WriteBytes(path,
               "c\r\nh\r\nCableName1 = a\r\nVelocity1 = b\r\n\r\nCableLoss1 = c\r\n"
               "Frequency1 = d\r\n\0CableName2 = e\nVelocity2 = f\nCableLoss2 = g\nFrequency2 = h\n"s);
    EXPECT_EQ(ReadCableListFile(path, table), 1);
    EXPECT_EQ(CellsOf(table), (Rows{{"a", "b", "c", "d"}}));

    // A file that yields no rows is refused: the table keeps its rows and its selection.
    table = MakeTable(kSampleRows);
    table.SelectRow(1);
    for (const std::string& text : {std::string(), std::string("\n\n\n"), kEmptyListText, "\0CableName1"s}) {
        WriteBytes(path, text);
        EXPECT_EQ(ReadCableListFile(path, table), 0);
        EXPECT_EQ(CellsOf(table), kSampleRows);
        EXPECT_EQ(table.GetSelectedRow(), 1);
    }
}

// The text goes out through one buffer: rows that cross its end, and cells longer than it, come
// out whole and in order.
TEST_F(CableListFileTest, WriterGivesTheSameTextThroughAnyBuffer) {
    Rows rows = kSampleRows;
    rows.push_back({std::string(100, 'n'), "", "v", std::string(7, 'f')});
    const CCableTable table = MakeTable(rows);
    const std::string whole = BuildCableListText(table);
    for (std::size_t pieceSize : {std::size_t{1}, std::size_t{5}, std::size_t{64}, std::size_t{1} << 20}) {
        std::string text;
        WriteCableListText(
            table,
            [&](std::string_view piece) {
                // Only a single key or cell longer than the buffer passes it by.
                EXPECT_TRUE(piece.size() <= pieceSize || piece.find('\n') == std::string_view::npos)
                    << pieceSize << ": " << piece;
                text.append(piece);
            },
            pieceSize);
        EXPECT_EQ(text, whole) << pieceSize;
    }
}

// A line feed or a zero byte in a cell would come back as other rows, or cut the list short.
TEST_F(CableListFileTest, WriterRefusesCellsThatTheFileCannotKeepBeforeTouchingIt) {
    WriteCableListFile(path, MakeTable(kSampleRows));
    const std::string old = ReadBytes(path);
    const std::string missing = folder / "missing.ini";
    for (const std::string& bad : {"a\nb"s, "\n"s, "x\0"s, "\r\n"s, "0123456789abcdef\0"s}) {
        Rows rows = kSampleRows;
        rows[1][2] = bad;
        try {
            WriteCableListFile(path, MakeTable(rows));
            ADD_FAILURE() << "written: " << bad;
        } catch (const CUnwritableCellError& error) {
            EXPECT_EQ(error.GetCause(), Cause::Generic);
            EXPECT_EQ(error.GetRow(), 1);
            EXPECT_EQ(error.GetColumn(), 2);
            EXPECT_THAT(error.what(), testing::HasSubstr("row 2, column 3"));
        }
        EXPECT_THROW(WriteCableListFile(missing, MakeTable(rows)), CFileError);
    }
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_THAT(folder.Names(), ElementsAre("CableList.ini"));
}

// A carriage return inside a value, which the reader keeps, is written as it is: a list read from
// such a file can be exported again and reads back the same. One at a value's very end is trimmed
// on reading, as a trailing blank is.
TEST_F(CableListFileTest, WriterKeepsCarriageReturnsAsTheyAre) {
    const Rows rows{{"RG\r58", "0.66", "\r0.5", "1\r\r0"}, {"a\rb", "\r", "x\r", "\r\r\r\r\r\r\r\r\r9"}};
    WriteCableListFile(path, MakeTable(rows));
    EXPECT_THAT(ReadBytes(path), testing::HasSubstr("CableName1 = RG\r58\n"));
    CCableTable table;
    ASSERT_EQ(ReadCableListFile(path, table), 2);
    const Rows readBack{{"RG\r58", "0.66", "\r0.5", "1\r\r0"}, {"a\rb", "", "x", "\r\r\r\r\r\r\r\r\r9"}};
    EXPECT_EQ(CellsOf(table), readBack);
    WriteCableListFile(path, table);
    CCableTable again;
    ASSERT_EQ(ReadCableListFile(path, again), 2);
    EXPECT_EQ(CellsOf(again), readBack);
}

TEST_F(CableListFileTest, ReaderTakesTheTextTheFileHeldWhenOpened) {
    // Longer than the reader's buffer, so that its last read asks for more than the bytes left.
    Rows rows;
    for (int row = 0; row < 20000; ++row) {
        rows.push_back({"RG58-" + std::to_string(row), "0.66", "1.0", "100"});
    }
    WriteCableListFile(path, MakeTable(rows));
    ASSERT_GT(ReadBytes(path).size(), 3 * CCableListReader::kBufferSize / 2);
    CFaultyFileSystem fileSystem(GetSystemFileSystem());
    fileSystem.BeforeStep("read", [&] {
        std::ofstream(path, std::ios::app)
            << "CableName20001 = late\nVelocity20001 = 1\nCableLoss20001 = 1\nFrequency20001 = 1\n";
    });
    CCableTable table;
    EXPECT_EQ(ReadCableListFile(path, table, fileSystem), 20000);
    EXPECT_EQ(CellsOf(table), rows);
}

TEST_F(CableListFileTest, AFileWhoseLinesAreNotWholeRowsLeavesTheTable) {
    const Rows before = kSampleRows;
    CCableTable table = MakeTable(before);
    table.SelectRow(2);
    WriteBytes(path,
               "/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=2\n"
               "CableName1 = RG58\nVelocity1 = 0.66\nCableLoss1 = 0.5\nFrequency1 = 100\n"
               "CableName2 = RG213\nVelocity2 = 0.66\n");
    EXPECT_EQ(ReadCableListFile(path, table), kCableFormatError);
    EXPECT_EQ(CellsOf(table), before);
    EXPECT_EQ(table.GetSelectedRow(), 2);
}
