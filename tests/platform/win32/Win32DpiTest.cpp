// The window's resolution and the system's sizes at it, with and without the calls that Windows 10
// version 1607 added, and the main window following a change of resolution (a move to a monitor of
// another scale).

#include "UiDriver.h"

#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Windowing.h"
#include "res/Resources.h"
#include "ui/QuorlisDlg.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <vector>

namespace {

UINT WINAPI DpiOf144(HWND) { return 144; }
UINT WINAPI NoDpi(HWND) { return 0; }
int WINAPI MetricTimesDpi(int index, UINT dpi) { return index * 1000 + static_cast<int>(dpi); }

int ScreenLogPixels() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

class Win32DpiTest : public testing::Test {
protected:
    void SetUp() override {
        window = CreateWindowA("STATIC", "dpi", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { DestroyWindow(window); }
    HWND window = nullptr;
};

}  // namespace

TEST_F(Win32DpiTest, AWindowHasItsOwnResolutionWhereTheSystemTellsItElseTheScreens) {
    EXPECT_EQ(ScreenDpi(), ScreenLogPixels());
    EXPECT_EQ(WindowDpi(window, DpiOf144), 144);
    EXPECT_EQ(WindowDpi(window, nullptr), ScreenLogPixels()) << "Windows before 10 1607";
    EXPECT_EQ(WindowDpi(window, NoDpi), ScreenLogPixels()) << "an answer of 0 is no answer";
    // Where the system has the call (Wine 8 has), it is the one used.
    if (const DpiForWindowFunction system = FindDpiForWindow()) {
        EXPECT_EQ(WindowDpi(window), static_cast<int>(system(window)));
    }
}

TEST_F(Win32DpiTest, SystemSizesAreTheSystemsAtAResolutionOrScaledFromTheScreens) {
    EXPECT_EQ(SystemMetricAtDpi(SM_CXVSCROLL, 144, MetricTimesDpi), SM_CXVSCROLL * 1000 + 144);
    const int screen = ScreenLogPixels();
    const int scrollBar = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(SystemMetricAtDpi(SM_CXVSCROLL, screen, nullptr), scrollBar);
    EXPECT_EQ(SystemMetricAtDpi(SM_CXVSCROLL, 2 * screen, nullptr), 2 * scrollBar);
    EXPECT_EQ(SystemMetricAtDpi(SM_CXEDGE, 3 * screen / 2, nullptr), (3 * GetSystemMetrics(SM_CXEDGE) + 1) / 2);
    EXPECT_EQ(WindowSystemMetric(window, SM_CXICON),
              SystemMetricAtDpi(SM_CXICON, WindowDpi(window), FindSystemMetricForDpi()));
}

// Moved to a monitor of another resolution, the window takes the rectangle the system suggests,
// and the list fits its columns again, each wide enough for its heading.
TEST(Win32DpiChangeTest, TheMainWindowTakesTheSuggestedRectangleAndFitsItsColumnsAgain) {
    CWin32Windowing windowing;
    SetWindowing(&windowing);
    windowing.InitCommonControls(kIccStandardClasses);
    CQuorlisDlg dlg([] {});
    CUiDriver ui;
    RECT suggested{};
    ui.Then(CUiDriver::OnWindow("Quorlis", [&](HWND main) {
        RECT before{};
        GetWindowRect(main, &before);
        suggested = RECT{before.left + 8, before.top + 8, before.left + 8 + (before.right - before.left) * 3 / 2,
                         before.top + 8 + (before.bottom - before.top) * 3 / 2};
        const HWND list = GetDlgItem(main, IDC_CABLE_LIST);
        for (int column = 0; column < 4; ++column) SendMessageA(list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(3, 0));
        SendMessageA(main, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
        RECT after{};
        GetWindowRect(main, &after);
        EXPECT_TRUE(EqualRect(&after, &suggested));
    }));
    ui.Then(CUiDriver::OnWindow("Quorlis", [&](HWND main) {
        const HWND list = GetDlgItem(main, IDC_CABLE_LIST);
        for (int column = 0; column < 4; ++column) {
            const int width = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
            const auto heading = SendMessageA(list, LVM_GETSTRINGWIDTHA, 0,
                                              reinterpret_cast<LPARAM>(QuorlisText::kColumnHeadings[column]));
            EXPECT_GE(width, heading) << "column " << column << " fitted again";
        }
        ui.AnswerBox(IDYES);
        SendMessageA(main, WM_COMMAND, IDCANCEL, 0);
    }));
    dlg.DoModal();
    EXPECT_TRUE(ui.Finished());
    SetWindowing(nullptr);
}
