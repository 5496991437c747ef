// The application's start-up and end, and the About box, through the headless backend.

#include "app/AboutDlg.h"
#include "app/QuorlisApp.h"

#include "platform/Dialog.h"
#include "platform/headless/HeadlessWindowing.h"
#include "res/Resources.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

class QuorlisAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetWindowing(&ui);
        ui.SetFailureHandler([](const std::string& failure) { ADD_FAILURE() << failure; });
        // The user's character set comes from the environment, not from whatever was in force.
        std::setlocale(LC_CTYPE, "C");
        setenv("LC_ALL", "C.UTF-8", 1);
    }
    void TearDown() override {
        SetWindowing(nullptr);
        unsetenv("LC_ALL");
        std::setlocale(LC_CTYPE, "C");
    }

    CHeadlessWindowing ui;
};

TEST_F(QuorlisAppTest, InitInstanceRunsTheMainWindowModallyAndEndsTheProgram) {
    CQuorlisApp app;
    ui.Check([&] {
        EXPECT_EQ(ui.GetInitializedControlClasses(), kIccStandardClasses);
        EXPECT_EQ(ui.ActiveWindow()->GetLayout().id, IDD_QUORLIS_DIALOG);
        EXPECT_EQ(app.m_pMainWnd, CDialog::GetActiveDialog());
        EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), "C.UTF-8");
    });
    ui.PressEscape();
    ui.AnswerMessageBox(kIdYes);

    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    ASSERT_EQ(ui.GetDialogs().size(), 1u);
    EXPECT_EQ(ui.GetDialogs()[0].result, kIdCancel);
}

// The main window the application runs opens the About box from its About entry.
TEST_F(QuorlisAppTest, TheMainWindowsAboutEntryOpensTheAboutBox) {
    CQuorlisApp app;
    ui.SysCommand(IDM_ABOUTBOX);
    ui.Check([&] { EXPECT_EQ(ui.ActiveWindow()->GetLayout().id, IDD_ABOUTBOX); });
    ui.PressEscape();
    ui.PressEscape();
    ui.AnswerMessageBox(kIdYes);

    EXPECT_FALSE(app.InitInstance());
    ASSERT_EQ(ui.GetDialogs().size(), 2u);
    EXPECT_EQ(ui.GetDialogs()[1].layoutId, IDD_ABOUTBOX);
    EXPECT_EQ(ui.GetDialogs()[1].ownerLayoutId, IDD_QUORLIS_DIALOG);
}

TEST_F(QuorlisAppTest, AboutBoxShowsNameVersionAndIconAndEndsWithOkOrEscape) {
    CAboutDlg about;
    ui.Check([&] {
        const SDialogLayout& layout = ui.ActiveWindow()->GetLayout();
        EXPECT_STREQ(layout.title, "About Quorlis");
        EXPECT_TRUE(layout.style & kDsCenter);
        ASSERT_EQ(layout.controls.size(), 3u);
        EXPECT_EQ(layout.controls[0].kind, EControlKind::Icon);
        EXPECT_STREQ(layout.controls[0].text, "#128");
        EXPECT_STREQ(layout.controls[1].text, "Quorlis, Version 1.0");
        EXPECT_EQ(ui.ActiveWindow()->GetFocusedControl(), kIdOk);
    });
    ui.PressEnter();
    EXPECT_EQ(about.DoModal(), kIdOk);

    ui.PressEscape();
    EXPECT_EQ(about.DoModal(), kIdCancel);
}

// The file named on the command line is imported once the main window shows, as Import would.
TEST_F(QuorlisAppTest, TheFileNamedOnTheCommandLineIsImportedAtStart) {
    class CScriptedApp : public CQuorlisApp {
    public:
        bool InitInstance() override {
            auto& windowing = dynamic_cast<CHeadlessWindowing&>(GetWindowing());
            windowing.PressEscape();
            windowing.AnswerMessageBox(kIdYes);
            CQuorlisApp::InitInstance();
            boxes = windowing.GetMessageBoxes();
            return false;
        }
        std::vector<CHeadlessWindowing::SMessageBoxRecord> boxes;
    } app;
    std::string program = "quorlis";
    std::string missing = "/nonexistent/CableList.ini";
    char* argv[] = {program.data(), nullptr};
    app.m_strFileToOpen = missing;

    EXPECT_EQ(RunWinApp(1, argv), 0);
    ASSERT_EQ(app.boxes.size(), 2u);
    EXPECT_EQ(app.boxes[0].text, "Open Cable File Failed");
    EXPECT_EQ(app.boxes[0].ownerLayoutId, IDD_QUORLIS_DIALOG);
}

// Each embedded image is a whole PNG of its size (the width and height of its IHDR chunk).
TEST(IconTest, EmbedsThePngOfEachSizeAndTheSvg) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const auto png = FindIconPng(IDR_MAINFRAME, size);
        ASSERT_GT(png.size(), 24u) << size;
        EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
        const auto be32 = [&](std::size_t at) {
            return png[at] << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
        };
        EXPECT_EQ(be32(16), size);
        EXPECT_EQ(be32(20), size);
        EXPECT_EQ(std::string(png.end() - 8, png.end() - 4), "IEND");
    }
    EXPECT_TRUE(FindIconPng(IDR_MAINFRAME, 20).empty());
    EXPECT_TRUE(FindIconPng(IDD_ABOUTBOX, 16).empty());
    const auto svg = FindIconSvg(IDR_MAINFRAME);
    EXPECT_NE(std::string(svg.begin(), svg.end()).find("</svg>"), std::string::npos);
}

}  // namespace
