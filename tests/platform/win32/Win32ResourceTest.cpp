// The resources of the built Quorlis.exe, read back from the file: icon group, dialogs, strings,
// version record and manifest.

#include "platform/win32/Win32Text.h"
#include "res/Resources.h"
#include "res/win32/DialogTemplate.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>

namespace {

class Win32ResourceTest : public testing::Test {
protected:
    void SetUp() override {
        program = LoadLibraryExA(QUORLIS_PROGRAM_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(program, nullptr) << QUORLIS_PROGRAM_PATH;
    }
    void TearDown() override {
        if (program) FreeLibrary(program);
    }

    // The bytes of resource id of type, or an empty string.
    std::string Resource(int id, LPCSTR type) const {
        const HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(id), type);
        if (!found) return {};
        const HGLOBAL loaded = LoadResource(program, found);
        return std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(program, found));
    }

    HMODULE program = nullptr;
};

// One entry of an icon group as the resource holds it.
#pragma pack(push, 2)
struct SGroupIconEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

std::string VersionString(const std::string& info, const char* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::string key = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueA(info.data(), key.c_str(), &value, &length) || length == 0) return {};
    return static_cast<const char*>(value);
}

}  // namespace

TEST_F(Win32ResourceTest, IconGroupHoldsThreeSizesAtThreeDepths) {
    const std::string group = Resource(IDR_MAINFRAME, MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_GE(group.size(), 6u);
    WORD count = 0;
    std::memcpy(&count, group.data() + 4, sizeof count);
    ASSERT_EQ(group.size(), 6u + count * sizeof(SGroupIconEntry));
    std::set<std::pair<int, int>> images;
    for (WORD i = 0; i < count; ++i) {
        SGroupIconEntry entry{};
        std::memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
        images.emplace(entry.width, entry.bitCount);
        EXPECT_FALSE(Resource(entry.id, MAKEINTRESOURCEA(3)).empty());  // RT_ICON
    }
    const std::set<std::pair<int, int>> expected{{16, 4},  {16, 8}, {16, 24}, {32, 4}, {32, 8},
                                                 {32, 24}, {48, 4}, {48, 8},  {48, 24}};
    EXPECT_EQ(images, expected);
}

// The dialog resources are the templates the backend builds from the same layouts.
TEST_F(Win32ResourceTest, DialogsAreTheTemplatesOfTheLayouts) {
    for (int id : {IDD_ABOUTBOX, IDD_QUORLIS_DIALOG, IDD_CABLE_PARAMETER}) {
        const std::vector<std::uint16_t> words = BuildDialogTemplate(FindDialogLayout(id), AnsiToUtf16);
        const std::string expected(reinterpret_cast<const char*>(words.data()), words.size() * 2);
        EXPECT_EQ(Resource(id, MAKEINTRESOURCEA(5)), expected) << id;  // RT_DIALOG
    }
}

TEST_F(Win32ResourceTest, StringTableHoldsTheAboutEntryAndTheNumberMessage) {
    char text[64] = {};
    ASSERT_GT(LoadStringA(program, IDS_ABOUTBOX, text, sizeof text), 0);
    EXPECT_STREQ(text, "&About Quorlis...");
    ASSERT_GT(LoadStringA(program, IDP_PARSE_REAL, text, sizeof text), 0);
    EXPECT_STREQ(text, "Enter a number.");
}

TEST_F(Win32ResourceTest, VersionRecordNamesTheProgram) {
    const DWORD size = GetFileVersionInfoSizeA(QUORLIS_PROGRAM_PATH, nullptr);
    ASSERT_GT(size, 0u);
    std::string info(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(QUORLIS_PROGRAM_PATH, 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    DWORD* translation = nullptr;
    ASSERT_TRUE(
        VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    EXPECT_EQ(*translation, MAKELONG(0x0409, 1252));
    EXPECT_EQ(VersionString(info, "FileDescription"), "Quorlis");
    EXPECT_EQ(VersionString(info, "ProductName"), "Quorlis");
    EXPECT_EQ(VersionString(info, "OriginalFilename"), "Quorlis.exe");
    EXPECT_EQ(VersionString(info, "FileVersion"), "1.0.0.1");
    EXPECT_EQ(VersionString(info, "ProductVersion"), "1.0.0.1");
}

TEST_F(Win32ResourceTest, ManifestAsksForNoElevationAndNoNewerCommonControls) {
    const std::string manifest = Resource(1, MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
    EXPECT_EQ(manifest.find("dependency"), std::string::npos);
}
