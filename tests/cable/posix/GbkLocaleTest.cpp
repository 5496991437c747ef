// The reader in a double-byte character set, with a zh_CN.GBK locale made for the test: there the
// bytes 0x81 0x43 are one character, so "\x81" "CableName" holds no keyword.

#include "cable/CableListFile.h"
#include "cable/CableTable.h"

#include "../DoubleByteCases.h"
#include "../TestFiles.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

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

}  // namespace

TEST_F(GbkLocaleTest, KeywordsAreFoundOnlyWhereACharacterBegins)
{
    ExpectKeywordsOnlyWhereACharacterBegins();

    std::setlocale(LC_CTYPE, "C");
    EXPECT_EQ(SplitCableLines(kDoubleByteList).size(), 5u);
}

TEST_F(GbkLocaleTest, CellsKeepTheirDoubleByteCharactersThroughARoundTrip)
{
    ExpectDoubleByteCellsSurviveARoundTrip();
}
