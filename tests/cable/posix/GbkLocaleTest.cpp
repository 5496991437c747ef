// The reader in multi-byte character sets, with locales made for the test: zh_CN.GBK, where the
// bytes 0x81 0x43 are one character, so "\x81" "CableName" holds no keyword; and ja_JP.EUC-JP,
// whose characters of three bytes leave their length to the system.

#include "cable/CableListFile.h"

#include "../DoubleByteCases.h"
#include "../ReadsAgainstModel.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

// Makes the locale language.charmap once in the test binary's folder, shared by every test
// process that follows; returns the folder.
std::string MakeLocaleFolder(const std::string& language, const std::string& charmap) {
    const char* binaryDir = std::getenv("QUORLIS_TEST_BINARY_DIR");
    const fs::path folder = fs::path(binaryDir != nullptr ? binaryDir : fs::temp_directory_path()) / "locales";
    const std::string name = language + "." + charmap;
    if (fs::exists(folder / name / "LC_CTYPE")) {
        return folder.string();
    }
    fs::create_directories(folder);
    // Made aside and renamed into place, so that a test running beside never sees half of it.
    std::string scratch = (folder / "making-XXXXXX").string();
    if (::mkdtemp(scratch.data()) == nullptr) {
        return {};
    }
    const std::string command =
        "localedef -i " + language + " -f " + charmap + " '" + scratch + "/" + name + "' >/dev/null 2>&1";
    std::error_code ignored;
    if (std::system(command.c_str()) == 0) {
        fs::rename(fs::path(scratch) / name, folder / name, ignored);
    }
    fs::remove_all(scratch, ignored);
    return folder.string();
}

// Puts the locale language.charmap in force for LC_CTYPE, made first where it is missing.
::testing::AssertionResult UseLocale(const std::string& language, const std::string& charmap) {
    const std::string folder = MakeLocaleFolder(language, charmap);
    ::setenv("LOCPATH", folder.c_str(), 1);
    if (std::setlocale(LC_CTYPE, (language + "." + charmap).c_str()) == nullptr) {
        return ::testing::AssertionFailure() << "no " << language << "." << charmap << " locale in " << folder;
    }
    return ::testing::AssertionSuccess();
}

class MultiByteLocaleTest : public testing::Test {
protected:
    void TearDown() override {
        std::setlocale(LC_CTYPE, "C");
        ::unsetenv("LOCPATH");
    }
};

class GbkLocaleTest : public MultiByteLocaleTest {
protected:
    void SetUp() override { ASSERT_TRUE(UseLocale("zh_CN", "GBK")); }
};

}  // namespace

TEST_F(GbkLocaleTest, KeywordsAreFoundOnlyWhereACharacterBegins) {
    ExpectKeywordsOnlyWhereACharacterBegins();

    std::setlocale(LC_CTYPE, "C");
    EXPECT_EQ(SplitCableLines(kDoubleByteList).size(), 5u);
}

TEST_F(GbkLocaleTest, CellsKeepTheirDoubleByteCharactersThroughARoundTrip) { ExpectDoubleByteCellsSurviveARoundTrip(); }

TEST_F(GbkLocaleTest, ReadsMakeTheModelsRows) { ExpectReadsMakeTheModelsRows(); }

// EUC-JP: a line feed byte is searched for character by character, and lengths of three bytes
// come from the system.
TEST_F(MultiByteLocaleTest, ReadsMakeTheModelsRowsInEucJpAndUtf8) {
    ASSERT_TRUE(UseLocale("ja_JP", "EUC-JP"));
    ExpectReadsMakeTheModelsRows();
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    ExpectReadsMakeTheModelsRows();
}
