// The built Quorlis.exe read on the build machine, without running it: a static GUI program for the
// target's processor, with the icon group, dialogs, strings, version record and manifest it must
// carry. Built with the build machine's compiler, so that it also checks a program that this
// machine cannot run.
//
//   BuiltProgramTest PROGRAM i686|x86_64 [GoogleTest options]

#include "res/Resources.h"
#include "res/win32/DialogTemplate.h"
#include "res/win32/PeImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <set>
#include <stdexcept>
#include <utility>

namespace {

std::string g_programPath;
std::string g_processor;

// One node of a version record: a key, its value and the nodes under it.
struct SVersionNode {
    std::string key;
    std::string value;  // text values without their terminating NUL, as 8-bit text
    std::vector<SVersionNode> children;

    const SVersionNode* Child(const std::string& wanted) const {
        const auto found = std::ranges::find(children, wanted, &SVersionNode::key);
        return found == children.end() ? nullptr : &*found;
    }
};

std::uint16_t Word(const std::string& data, std::size_t at) {
    if (at + 2 > data.size()) throw std::runtime_error("version record cut short");
    return static_cast<std::uint16_t>(static_cast<unsigned char>(data[at]) | static_cast<unsigned char>(data[at + 1])
                                                                                 << 8);
}

std::size_t Align4(std::size_t at) { return (at + 3) & ~std::size_t{3}; }

// UTF-16 text of ASCII characters at at, up to a NUL or end; as 8-bit text.
std::string NarrowText(const std::string& data, std::size_t at, std::size_t end) {
    std::string text;
    for (; at + 2 <= end && Word(data, at) != 0; at += 2) text += static_cast<char>(Word(data, at));
    return text;
}

// The node at begin: length, value length, type (1 for text), key, value, then its children, each
// on a 4-byte boundary.
SVersionNode ParseVersionNode(const std::string& data, std::size_t begin) {
    const std::size_t length = Word(data, begin);
    const std::size_t valueLength = Word(data, begin + 2);
    const bool text = Word(data, begin + 4) == 1;
    const std::size_t end = begin + length;
    if (length < 6 || end > data.size()) throw std::runtime_error("version node of a wrong length");
    SVersionNode node;
    node.key = NarrowText(data, begin + 6, end);
    std::size_t at = Align4(begin + 6 + 2 * (node.key.size() + 1));
    const std::size_t valueBytes = text ? 2 * valueLength : valueLength;
    if (at + valueBytes > end) throw std::runtime_error("version value overruns its node");
    node.value = text ? NarrowText(data, at, at + valueBytes) : data.substr(at, valueBytes);
    for (at = Align4(at + valueBytes); at < end; at = Align4(at + Word(data, at))) {
        node.children.push_back(ParseVersionNode(data, at));
    }
    return node;
}

std::uint32_t Dword(const std::string& data, std::size_t at) {
    return Word(data, at) | static_cast<std::uint32_t>(Word(data, at + 2)) << 16;
}

// The layouts' texts are ASCII; templates hold them as UTF-16.
std::u16string Widen(const char* text) {
    std::u16string wide;
    for (const char* p = text; *p; ++p) wide += static_cast<char16_t>(static_cast<unsigned char>(*p));
    return wide;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class BuiltProgram : public testing::Test {
protected:
    static void SetUpTestSuite() {
        try {
            s_image.emplace(CPeImage::ReadFile(g_programPath));
        } catch (const std::exception& error) {
            s_error = error.what();
        }
    }
    void SetUp() override { ASSERT_TRUE(s_image) << s_error; }

    static const CPeImage& Image() { return *s_image; }
    static std::string Resource(std::uint16_t type, std::uint16_t id) {
        return Image().FindResource(type, id).value_or(std::string());
    }
    // String-table entry id: the table keeps sixteen counted UTF-16 strings a block.
    static std::string String(int id) {
        const std::string block = Resource(PeValues::kResourceString, static_cast<std::uint16_t>(id / 16 + 1));
        std::size_t at = 0;
        for (int index = 0; index < id % 16; ++index) at += 2 + 2 * std::size_t{Word(block, at)};
        return NarrowText(block, at + 2, at + 2 + 2 * std::size_t{Word(block, at)});
    }

    static inline std::optional<CPeImage> s_image;
    static inline std::string s_error;
};

}  // namespace

TEST_F(BuiltProgram, IsAStaticGuiProgramForTheTargetProcessor) {
    if (g_processor == "x86_64") {
        EXPECT_EQ(Image().GetMachine(), PeValues::kMachineAmd64);
        EXPECT_TRUE(Image().IsPe32Plus());
    } else {
        EXPECT_EQ(Image().GetMachine(), PeValues::kMachineI386);
        EXPECT_FALSE(Image().IsPe32Plus());
    }
    EXPECT_EQ(Image().GetSubsystem(), PeValues::kSubsystemGui);
    // The system's DLLs only: the compiler's runtime DLLs (libstdc++, libgcc, libwinpthread) are
    // linked in.
    ASSERT_FALSE(Image().GetImportedDlls().empty());
    for (std::string dll : Image().GetImportedDlls()) {
        std::ranges::transform(dll, dll.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        EXPECT_FALSE(dll.starts_with("lib")) << dll;
    }
}

TEST_F(BuiltProgram, IconGroupHoldsThreeSizesAtThreeDepths) {
    const std::string group = Resource(PeValues::kResourceGroupIcon, IDR_MAINFRAME);
    ASSERT_GE(group.size(), 6u);
    const std::size_t count = Word(group, 4);
    constexpr std::size_t kEntrySize = 14;
    ASSERT_EQ(group.size(), 6 + count * kEntrySize);
    std::set<std::pair<int, int>> images;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + i * kEntrySize;
        images.emplace(static_cast<unsigned char>(group[entry]), Word(group, entry + 6));
        EXPECT_FALSE(Resource(PeValues::kResourceIcon, Word(group, entry + 12)).empty());
    }
    const std::set<std::pair<int, int>> expected{{16, 4},  {16, 8}, {16, 24}, {32, 4}, {32, 8},
                                                 {32, 24}, {48, 4}, {48, 8},  {48, 24}};
    EXPECT_EQ(images, expected);
}

TEST_F(BuiltProgram, DialogsAreTheTemplatesOfTheLayouts) {
    for (int id : {IDD_ABOUTBOX, IDD_QUORLIS_DIALOG, IDD_CABLE_PARAMETER}) {
        std::string expected;
        for (std::uint16_t word : BuildDialogTemplate(FindDialogLayout(id), Widen)) {
            expected += static_cast<char>(word & 0xFF);
            expected += static_cast<char>(word >> 8);
        }
        EXPECT_EQ(Resource(PeValues::kResourceDialog, static_cast<std::uint16_t>(id)), expected) << id;
    }
}

TEST_F(BuiltProgram, StringTableHoldsTheAboutEntryAndTheNumberMessage) {
    EXPECT_EQ(String(IDS_ABOUTBOX), "&About Quorlis...");
    EXPECT_EQ(String(IDP_PARSE_REAL), "Enter a number.");
}

TEST_F(BuiltProgram, VersionRecordNamesTheProgram) {
    const SVersionNode root = ParseVersionNode(Resource(PeValues::kResourceVersion, 1), 0);
    EXPECT_EQ(root.key, "VS_VERSION_INFO");
    ASSERT_EQ(root.value.size(), 52u);  // the fixed part
    EXPECT_EQ(Dword(root.value, 0), 0xFEEF04BDu);
    EXPECT_EQ(Dword(root.value, 8), 0x00010000u);   // file version 1.0
    EXPECT_EQ(Dword(root.value, 12), 0x00000001u);  // .0.1
    EXPECT_EQ(Dword(root.value, 16), 0x00010000u);  // product version 1.0
    EXPECT_EQ(Dword(root.value, 20), 0x00000001u);  // .0.1

    const SVersionNode* translation =
        root.Child("VarFileInfo") ? root.Child("VarFileInfo")->Child("Translation") : nullptr;
    ASSERT_NE(translation, nullptr);
    ASSERT_EQ(translation->value.size(), 4u);
    EXPECT_EQ(Word(translation->value, 0), 0x0409);
    EXPECT_EQ(Word(translation->value, 2), 1252);

    const SVersionNode* strings =
        root.Child("StringFileInfo") ? root.Child("StringFileInfo")->Child("040904E4") : nullptr;
    ASSERT_NE(strings, nullptr);
    const auto value = [strings](const char* key) {
        const SVersionNode* node = strings->Child(key);
        return node ? node->value : std::string("(none)");
    };
    EXPECT_EQ(value("FileDescription"), "Quorlis");
    EXPECT_EQ(value("ProductName"), "Quorlis");
    EXPECT_EQ(value("OriginalFilename"), "Quorlis.exe");
    EXPECT_EQ(value("FileVersion"), "1.0.0.1");
    EXPECT_EQ(value("ProductVersion"), "1.0.0.1");
}

TEST_F(BuiltProgram, ManifestAsksForNoElevationAndNoNewerCommonControlsOnTheRightProcessor) {
    const std::string manifest = Resource(PeValues::kResourceManifest, 1);
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
    EXPECT_EQ(manifest.find("dependency"), std::string::npos);
    // A manifest for another processor keeps the program from starting.
    const char* const architecture = g_processor == "x86_64" ? "amd64" : "x86";
    EXPECT_NE(manifest.find(std::string("processorArchitecture=\"") + architecture + '"'), std::string::npos);
}

// Each element in the order given, each after the one before: a setting in a wrong namespace or
// outside windowsSettings is ignored by Windows without a word.
void ExpectInOrder(const std::string& text, std::initializer_list<std::string> elements) {
    std::size_t from = 0;
    for (const std::string& element : elements) {
        const std::size_t at = text.find(element, from);
        ASSERT_NE(at, std::string::npos) << element << " (in order) in\n" << text;
        from = at + element.size();
    }
}

TEST_F(BuiltProgram, ManifestDeclaresPerMonitorResolutionAwarenessWithTheOlderDeclarationAsFallback) {
    const std::string manifest = Resource(PeValues::kResourceManifest, 1);
    ExpectInOrder(manifest,
                  {"<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">", "<windowsSettings>",
                   "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>",
                   "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                   "PerMonitorV2</dpiAwareness>",
                   "</windowsSettings>", "</application>", "</assembly>"});
}

// A damaged copy is refused with an error, not read past its end: cut in its headers, or in the
// middle of the main window's dialog template.
TEST_F(BuiltProgram, ACutOffCopyIsRefused) {
    const std::vector<std::uint8_t> whole = ReadBytes(g_programPath);
    const std::string dialog = Resource(PeValues::kResourceDialog, IDD_QUORLIS_DIALOG);
    ASSERT_FALSE(dialog.empty());
    const auto dialogAt = std::search(whole.begin(), whole.end(), dialog.begin(), dialog.end(),
                                      [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); });
    ASSERT_NE(dialogAt, whole.end());
    const std::size_t dialogMiddle = static_cast<std::size_t>(dialogAt - whole.begin()) + dialog.size() / 2;
    for (std::size_t size : {std::size_t{0}, std::size_t{0x40}, dialogMiddle}) {
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_THROW(CPeImage(cut).FindResource(PeValues::kResourceDialog, IDD_QUORLIS_DIALOG), std::runtime_error)
            << "cut at " << size;
    }
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: BuiltProgramTest PROGRAM i686|x86_64 [GoogleTest options]\n");
        return 2;
    }
    g_programPath = argv[1];
    g_processor = argv[2];
    return RUN_ALL_TESTS();
}
