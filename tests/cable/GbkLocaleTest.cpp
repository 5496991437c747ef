// The reader in a double-byte character set, with a zh_CN.GBK locale made for the test: there the
// bytes 0x81 0x43 are one character, so "\x81" "CableName" holds no keyword.

#include "cable/CableListFile.h"
#include "cable/CableTable.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;

namespace {

// Makes the locale once in the test binary's folder, shared by every test process that follows.
std::string MakeGbkLocaleFolder()
{
    const char* binaryDir = std::getenv("QUORLIS_TEST_BINARY_DIR");
    const fs::path folder = fs::path(binaryDir != nullptr ? binaryDir : fs::temp_directory_path()) / "locales";
    if (fs::exists(folder / "zh_CN.GBK" / "LC_CTYPE")) {
        return folder.string();
    }
    fs::create_directories(folder);
    // Made aside and renamed into place, so that a test running beside never sees half of it.
    std::string scratch = (folder / "making-XXXXXX").string();
    if (::mkdtemp(scratch.data()) == nullptr) {
        return {};
    }
    const std::string command = "localedef -i zh_CN -f GBK '" + scratch + "/zh_CN.GBK' >/dev/null 2>&1";
    std::error_code ignored;
    if (std::system(command.c_str()) == 0) {
        fs::rename(fs::path(scratch) / "zh_CN.GBK", folder / "zh_CN.GBK", ignored);
    }
    fs::remove_all(scratch, ignored);
    return folder.string();
}

class GbkLocaleTest : public testing::Test {
protected:
    void SetUp() override
    {
        const std::string folder = MakeGbkLocaleFolder();
        ::setenv("LOCPATH", folder.c_str(), 1);
        ASSERT_NE(std::setlocale(LC_CTYPE, "zh_CN.GBK"), nullptr) << "no zh_CN.GBK locale in " << folder;
    }
    void TearDown() override
    {
        std::setlocale(LC_CTYPE, "C");
        ::unsetenv("LOCPATH");
    }
};

// "Velocity" after 0x81 belongs to a double-byte character in GBK, but not in single-byte text.
const std::string kText = "/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=1\n"
                          "CableName1 = \xB5\xE7\xC0\xC2 \xA1\xA1\n"
                          "\x81Velocity1 = hidden\n"
                          "Velocity1 = 0.66\n"
                          "CableLoss1 = \x81\n"
                          "Frequency1 = \xC6\xB5\xC2\xCA=\x81\x43\n";

}  // namespace

TEST_F(GbkLocaleTest, KeywordsAreFoundOnlyWhereACharacterBegins)
{
    const std::vector<std::string_view> lines = SplitCableLines(kText);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "Velocity1 = 0.66");
    EXPECT_EQ(SplitCableLines("h\n\x81\x40Velocity1\n\x81\nFrequency\n").size(), 2u);

    std::setlocale(LC_CTYPE, "C");
    EXPECT_EQ(SplitCableLines(kText).size(), 5u);
}

TEST_F(GbkLocaleTest, CellsKeepTheirDoubleByteCharactersThroughARoundTrip)
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
