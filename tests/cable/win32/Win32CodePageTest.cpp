// The reader in a double-byte ANSI code page. The test program runs with code page 936 (its test
// sets the system locale to zh_CN.GBK): there the bytes 0x81 0x43 are one character, so
// "\x81" "Velocity" holds no keyword.

#include "os/FolderPath.h"

#include "../DoubleByteCases.h"
#include "../ReadsAgainstModel.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

class Win32CodePageTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 936u) << "the test runs in the zh_CN.GBK locale"; }
};

}  // namespace

TEST_F(Win32CodePageTest, KeywordsAreFoundOnlyWhereACharacterBegins) { ExpectKeywordsOnlyWhereACharacterBegins(); }

TEST_F(Win32CodePageTest, CellsKeepTheirDoubleByteCharactersThroughARoundTrip) {
    ExpectDoubleByteCellsSurviveARoundTrip();
}

TEST_F(Win32CodePageTest, ReadsMakeTheModelsRows) { ExpectReadsMakeTheModelsRows(); }

// A double-byte character whose trail byte is a backslash (0x5C) is no folder separator.
TEST_F(Win32CodePageTest, FolderPartStepsOverDoubleByteCharacters) {
    EXPECT_EQ(FolderOfPath("C:\\d\\\x95\x5C"), "C:\\d\\");
    EXPECT_EQ(FolderOfPath("C:\\\x95\x5C\\CableList.ini"), "C:\\\x95\x5C\\");
    EXPECT_EQ(FolderOfPath("\x95\x5C"), "");
    EXPECT_EQ(FolderOfPath("C:x.ini"), "C:");
}
