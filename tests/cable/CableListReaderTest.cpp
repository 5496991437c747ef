#include "ReadsAgainstModel.h"

#include "cable/CableListFile.h"
#include "cable/CableListReader.h"
#include "cable/CableTable.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

using namespace std::literals;

namespace {

struct SFixedCase {
    std::string text;
    int result;
    std::vector<std::vector<std::string>> cells;
};

// Texts with the rows that any reading of them must make, worked out by hand from the file's rules.
std::vector<SFixedCase> FixedCases() {
    return {
        {"/*!!!DO NOT MODIFY!!!!*/\r\n[CableList] Version=1 CableCount=2\r\nCableName1 = RG58\r\n"
         "Velocity1 = 0.66\r\nCableLoss1 =  0.5 \r\nFrequency1 = 100\r\nCableName2 =\r\nVelocity2 = \r\n"
         "CableLoss2 = a=b\r\nFrequency2 = \xA0\r\n",
         2,
         {{"RG58", "0.66", " 0.5", "100"}, {"", "", "a=b", "\xA0"}}},
        // No "=": the whole trimmed line; the last line needs no line feed.
        {"h\nx Velocity\ny CableName\nz CableLoss\nw Frequency",
         1,
         {{"x Velocity", "y CableName", "z CableLoss", "w Frequency"}}},
        // The first line that is not empty is set aside, even when it holds only a carriage return.
        {"\n\n\r\nCableName0 = a\n\nVelocity0 = b\nCableLoss0 = c\nFrequency0 = d\n", 1, {{"a", "b", "c", "d"}}},
        {"\n\n\r\nCableName0 = a\n\nCableName1 RG58\n  Velocity1 = v  \nCableLoss1 =\nFrequency1 = f\n",
         kCableFormatError,
         {}},
        {"CableName1 = first line\nVelocity1 = a\nCableLoss1 = b\nFrequency1 = c\n", kCableFormatError, {}},
        // The text ends at its first zero byte, even in the middle of a line.
        {"h\nCableName1 = a\nVelocity1 = b\0\nCableLoss1 = c\nFrequency1 = d\n"s, kCableFormatError, {}},
        {"h\nCableName1 = a\nVelocity1 = b\nCableLoss1 = c\nFrequency1 = d\0CableName2 = e\n"s,
         1,
         {{"a", "b", "c", "d"}}},
        {"h\n" + std::string(100, 'x') + "\n", 0, {}},
    };
}

}  // namespace

TEST(CableListReaderTest, ReadsMakeTheModelsRowsInTheCLocale) {
    std::setlocale(LC_CTYPE, "C");
    ExpectReadsMakeTheModelsRows();
}

TEST(CableListReaderTest, MakesTheRowsWorkedOutByHandWhereverTheBufferEnds) {
    std::setlocale(LC_CTYPE, "C");
    for (const SFixedCase& fixed : FixedCases()) {
        CCableTable whole;
        const std::string_view untilZero(fixed.text.c_str());
        EXPECT_EQ(FillCableTable(SplitCableLines(untilZero), whole), fixed.result) << fixed.text;
        EXPECT_EQ(CellsOf(whole), fixed.cells) << fixed.text;
        for (std::size_t bufferSize : {1, 2, 3, 5, 8, 64, 4096}) {
            for (std::size_t readSize : {1, 3, 7, 4096}) {
                CCableTable rows;
                ASSERT_EQ(ReadInPieces(fixed.text, bufferSize, readSize, rows), fixed.result)
                    << "buffer " << bufferSize << ", reads of " << readSize << ": " << fixed.text;
                // After a refusal the rows are the reader's scratch, which the caller drops.
                if (fixed.result <= 0) continue;
                EXPECT_EQ(CellsOf(rows), fixed.cells)
                    << "buffer " << bufferSize << ", reads of " << readSize << ": " << fixed.text;
            }
        }
    }
}
