// The main window, the cable parameter dialog and the About box as real Win32 dialogs: clicks with
// BM_CLICK, list cells and selection read from the list view, message boxes caught as they open.

#include "UiDriver.h"

#include "app/AboutDlg.h"
#include "platform/MessageBox.h"
#include "platform/win32/Win32Windowing.h"
#include "res/Resources.h"
#include "tests/cable/TestFiles.h"
#include "ui/QuorlisDlg.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using namespace QuorlisText;
using Cells = std::vector<std::string>;

namespace {

const char* const kMainTitle = "Quorlis";
const char* const kParameterTitle = "Cable Parameter Edit Dialog";
const char* const kTwoRows =
    "/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=2\n"
    "CableName1 = RG58\nVelocity1 = 0.66\nCableLoss1 = 0.5\nFrequency1 = 100\n"
    "CableName2 = LMR400\nVelocity2 = 0.85\nCableLoss2 = 0.2\nFrequency2 = 900\n";
constexpr int kEditCommands[] = {IDC_EXPORT, IDC_ADD_CABLE, IDC_EDIT_CABLE, IDC_DELETE_CABLE};

HWND List(HWND main) { return GetDlgItem(main, IDC_CABLE_LIST); }

int ItemCount(HWND main) { return static_cast<int>(SendMessageA(List(main), LVM_GETITEMCOUNT, 0, 0)); }

int SelectedRow(HWND main) {
    return static_cast<int>(SendMessageA(List(main), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

Cells Row(HWND main, int row) {
    Cells cells;
    for (int column = 0; column < 4; ++column) {
        char text[256] = {};
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(List(main), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        cells.push_back(text);
    }
    return cells;
}

void SelectRow(HWND main, int row) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(List(main), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

void ExpectEditCommandsEnabled(HWND main, bool enabled) {
    for (int id : kEditCommands) EXPECT_EQ(IsWindowEnabled(GetDlgItem(main, id)) != FALSE, enabled) << id;
}

// The rectangle of row's first cell, in the list's client coordinates.
RECT RowRect(HWND main, int row) {
    RECT rect{};
    rect.left = LVIR_LABEL;
    SendMessageA(List(main), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

void DoubleClickRow(HWND main, int row) {
    const RECT cell = RowRect(main, row);
    const LPARAM where = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        SendMessageA(List(main), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, where);
    }
}

// Posts key with Ctrl held, through the dialog's own message loop, as typing does.
void PostControlKey(HWND target, BYTE key) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(target, WM_KEYDOWN, key, 0);
}

void ReleaseControl() {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0;
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

// Posts key with Ctrl and Shift held.
void PostControlShiftKey(HWND target, BYTE key) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    PostControlKey(target, key);
}

// The clipboard's Unicode text, or "(none)".
std::wstring ClipboardText() {
    std::wstring text = L"(none)";
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(memory));
        GlobalUnlock(memory);
    }
    CloseClipboard();
    return text;
}

// Puts text on the clipboard as another program does.
void SetClipboard(const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

// Whether row lies wholly inside the list's client area.
bool RowInView(HWND main, int row) {
    RECT client{};
    GetClientRect(List(main), &client);
    const RECT cell = RowRect(main, row);
    return cell.top >= client.top && cell.bottom <= client.bottom && cell.bottom > cell.top;
}

// The right button over the list: the context menu comes up (and waits for the user).
void OpenContextMenu(HWND main) {
    RECT list{};
    GetWindowRect(List(main), &list);
    SendMessageA(main, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List(main)), MAKELPARAM(list.left + 10, list.top + 30));
}

BOOL CALLBACK FindPopupMenu(HWND window, LPARAM result) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (!IsWindowVisible(window) || std::string(name) != "#32768") return TRUE;
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

// A step that waits for the popup menu, checks its entries ("+text" enabled, "-text" grayed, ""
// a separator) and picks the entry whose mnemonic is the letter pick, as typing it does (0: Escape).
CUiDriver::Step OnPopupMenu(std::vector<std::string> expected, char pick) {
    return [expected, pick] {
        HWND window = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindPopupMenu, reinterpret_cast<LPARAM>(&window));
        if (!window) return false;
        const auto menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
        std::vector<std::string> entries;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[64] = {};
            GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
            std::string entry;
            if (!(state & MF_SEPARATOR)) entry.append((state & MF_GRAYED) ? "-" : "+").append(text);
            entries.push_back(entry);
        }
        EXPECT_EQ(entries, expected);
        if (pick == 0) {
            PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
        } else {
            PostMessageA(window, WM_CHAR, static_cast<WPARAM>(pick), 0);
        }
        return true;
    };
}

constexpr int kChooserNameFields[] = {0x47C /* cmb13 */, 0x480 /* edt1 */};
constexpr int kChooserFilterList = 0x470;  // cmb1

// Checks that the chooser offers "CableList.ini" with the first filter entry, types path into it
// and presses its OK button.
void AnswerChooser(HWND chooser, const std::string& path) {
    std::string offered;
    for (int nameField : kChooserNameFields) {
        if (GetDlgItem(chooser, nameField)) offered = ControlText(chooser, nameField);
    }
    EXPECT_EQ(offered, kDefaultFileName);
    const HWND filters = GetDlgItem(chooser, kChooserFilterList);
    EXPECT_EQ(SendMessageA(filters, CB_GETCURSEL, 0, 0), 0);
    char filter[64] = {};
    SendMessageA(filters, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(filter));
    EXPECT_STREQ(filter, "Cablie List Files (*.ini)");
    EXPECT_EQ(SendMessageA(filters, CB_GETCOUNT, 0, 0), 2);
    for (int nameField : kChooserNameFields) {
        if (GetDlgItem(chooser, nameField)) SetDlgItemTextA(chooser, nameField, path.c_str());
    }
    Click(chooser, IDOK);
}

class Win32MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        SetWindowing(&windowing);
        windowing.InitCommonControls(kIccStandardClasses);
        dir = fs::temp_directory_path() / ("quorlis-win32-" + std::to_string(GetCurrentProcessId()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        SetWindowing(nullptr);
        // The file choosers make the folder of the chosen file the current one.
        fs::current_path(dir.parent_path());
        fs::remove_all(dir);
    }

    std::string MakeFile(const std::string& name, const std::string& text) {
        const fs::path path = dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    // Clicks Import on the main window and chooses path in the real open chooser.
    void Import(const std::string& path) {
        ui.Then(CUiDriver::OnWindow(kMainTitle, [](HWND main) { Click(main, IDC_IMPORT); }));
        ui.Then(CUiDriver::OnWindow(kImportCommand, [path](HWND chooser) { AnswerChooser(chooser, path); }));
    }
    void OnMain(std::function<void(HWND)> action) { ui.Then(CUiDriver::OnWindow(kMainTitle, std::move(action))); }
    // Escape on the main window, and Yes to the exit question.
    void Exit() {
        OnMain([this](HWND main) {
            ui.AnswerBox(IDYES);
            SendMessageA(main, WM_COMMAND, IDCANCEL, 0);
        });
    }
    int Run() {
        const int result = dlg.DoModal();
        EXPECT_TRUE(ui.Finished());
        return result;
    }

    CWin32Windowing windowing;
    CUiDriver ui;
    fs::path dir;
    CQuorlisDlg dlg{[] {
        CAboutDlg about;
        about.DoModal();
    }};
};

}  // namespace

TEST_F(Win32MainWindowTest, StartsWithTheListSetUpAndOnlyImportEnabled) {
    OnMain([](HWND main) {
        EXPECT_EQ(GetFocus(), GetDlgItem(main, IDC_IMPORT));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main, IDC_IMPORT)));
        ExpectEditCommandsEnabled(main, false);
        EXPECT_EQ(ControlText(main, IDC_IMPORT), "Import");

        const LONG style = GetWindowLongA(List(main), GWL_STYLE);
        EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
        EXPECT_TRUE(style & LVS_OWNERDATA);
        EXPECT_TRUE(style & LVS_SINGLESEL);
        EXPECT_TRUE(style & LVS_SHOWSELALWAYS) << "the selected row shows while the list lacks the focus";
        EXPECT_EQ(SendMessageA(List(main), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0),
                  LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        int total = 0;
        for (int column = 0; column < 4; ++column) {
            char heading[64] = {};
            LVCOLUMNA lvc{};
            lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            lvc.pszText = heading;
            lvc.cchTextMax = sizeof heading;
            ASSERT_TRUE(SendMessageA(List(main), LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&lvc)));
            EXPECT_STREQ(heading, kColumnHeadings[column]);
            const auto textWidth = SendMessageA(List(main), LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(heading));
            EXPECT_GE(lvc.cx, textWidth + 6 * GetSystemMetrics(SM_CXEDGE)) << heading << " is cut";
            total += lvc.cx;
            EXPECT_EQ(lvc.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
        }
        RECT rows{};
        GetClientRect(List(main), &rows);
        EXPECT_LE(total, rows.right) << "the list shows every heading side by side";
        EXPECT_EQ(ItemCount(main), 0);

        const HMENU menu = GetSystemMenu(main, FALSE);
        char entry[64] = {};
        EXPECT_GT(GetMenuStringA(menu, IDM_ABOUTBOX, entry, sizeof entry, MF_BYCOMMAND), 0);
        EXPECT_STREQ(entry, "&About Quorlis...");
        const int count = GetMenuItemCount(menu);
        EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
        MENUITEMINFOA separator{};
        separator.cbSize = sizeof separator;
        separator.fMask = MIIM_FTYPE;
        GetMenuItemInfoA(menu, count - 2, TRUE, &separator);
        EXPECT_TRUE(separator.fType & MFT_SEPARATOR);

        EXPECT_TRUE(SendMessageA(main, WM_GETICON, ICON_BIG, 0));
        EXPECT_TRUE(SendMessageA(main, WM_GETICON, ICON_SMALL, 0));
        EXPECT_EQ(GetWindow(main, GW_OWNER), nullptr);
    });
    Exit();
    EXPECT_EQ(Run(), kIdCancel);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].text, kExitQuestion);
    EXPECT_TRUE(ui.Boxes()[0].yesNo);
    EXPECT_TRUE(ui.Boxes()[0].questionIcon);
    EXPECT_EQ(ui.Boxes()[0].caption, GetProgramName());
}

TEST_F(Win32MainWindowTest, AboutEntryOfTheSystemMenuShowsTheAboutBox) {
    HWND mainWindow = nullptr;
    OnMain([&](HWND main) {
        mainWindow = main;
        SendMessageA(main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    });
    ui.Then(CUiDriver::OnWindow("About Quorlis", [&](HWND about) {
        EXPECT_EQ(GetWindow(about, GW_OWNER), mainWindow);
        EXPECT_FALSE(IsWindowEnabled(mainWindow));
        EXPECT_TRUE(FindWindowExA(about, nullptr, "Static", "Quorlis, Version 1.0"));
        EXPECT_EQ(ControlText(about, IDOK), "OK");
        Click(about, IDOK);
    }));
    OnMain([](HWND main) {
        EXPECT_TRUE(IsWindowEnabled(main));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main, IDC_IMPORT)));
        ExpectEditCommandsEnabled(main, false);
    });
    Exit();
    Run();
    EXPECT_EQ(ui.BoxTexts(), Cells{kExitQuestion});
}

// No to the exit question keeps the window; Yes through the close box ends it.
TEST_F(Win32MainWindowTest, ExitQuestionNoStaysYesEnds) {
    OnMain([](HWND main) { SendMessageA(main, WM_COMMAND, IDCANCEL, 0); });
    OnMain([this](HWND main) {
        ui.AnswerBox(IDYES);
        SendMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(Run(), kIdCancel);
    EXPECT_EQ(ui.BoxTexts(), (Cells{kExitQuestion, kExitQuestion}));
}

// Minimised, the window paints its icon itself, and dragging shows the application icon.
TEST_F(Win32MainWindowTest, MinimisedWindowPaintsAndDragsTheApplicationIcon) {
    OnMain([](HWND main) {
        ShowWindow(main, SW_MINIMIZE);
        EXPECT_TRUE(IsIconic(main));
        RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        EXPECT_FALSE(GetUpdateRect(main, nullptr, FALSE));
        const HICON appIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
        ASSERT_NE(appIcon, nullptr);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(main, WM_QUERYDRAGICON, 0, 0)), appIcon);
        ShowWindow(main, SW_RESTORE);
        EXPECT_FALSE(IsIconic(main));
    });
    Exit();
    Run();
    EXPECT_EQ(ui.BoxTexts(), Cells{kExitQuestion});
}

TEST_F(Win32MainWindowTest, ImportAddEditDeleteAndExportThroughTheRealDialogs) {
    const std::string source = MakeFile("CableList.ini", kTwoRows);
    const std::string target = (dir / "Exported.ini").string();
    Import(source);
    OnMain([](HWND main) {
        ASSERT_EQ(ItemCount(main), 2);
        EXPECT_EQ(Row(main, 0), (Cells{"RG58", "0.66", "0.5", "100"}));
        EXPECT_EQ(Row(main, 1), (Cells{"LMR400", "0.85", "0.2", "900"}));
        EXPECT_EQ(SelectedRow(main), 1);
        ExpectEditCommandsEnabled(main, true);
        Click(main, IDC_ADD_CABLE);
    });
    HWND parameterDialog = nullptr;
    ui.Then(CUiDriver::OnWindow(kParameterTitle, [&](HWND dialog) {
        parameterDialog = dialog;
        for (int id : {IDC_NAME, IDC_VELOCITY, IDC_CABLE_LOSS, IDC_FREQUENCY}) EXPECT_EQ(ControlText(dialog, id), "");
        SetDlgItemTextA(dialog, IDC_NAME, "RG213");
        SetDlgItemTextA(dialog, IDC_VELOCITY, "fast");
        SetDlgItemTextA(dialog, IDC_CABLE_LOSS, "3.5");
        SetDlgItemTextA(dialog, IDC_FREQUENCY, "1000");
        Click(dialog, IDOK);  // "fast" is no number: the dialog stays
        EXPECT_TRUE(IsWindow(dialog));
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_VELOCITY));
        SetDlgItemTextA(dialog, IDC_VELOCITY, " 0.66");
        Click(dialog, IDOK);
    }));
    OnMain([](HWND main) {
        ASSERT_EQ(ItemCount(main), 3);
        EXPECT_EQ(Row(main, 2), (Cells{"RG213", " 0.66", "3.5", "1000"}));
        EXPECT_EQ(SelectedRow(main), 2);
        SelectRow(main, 0);
        Click(main, IDC_EDIT_CABLE);
    });
    ui.Then(CUiDriver::OnWindow(kParameterTitle, [](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_NAME), "RG58");
        EXPECT_EQ(ControlText(dialog, IDC_FREQUENCY), "100");
        SetDlgItemTextA(dialog, IDC_FREQUENCY, "2400");
        Click(dialog, IDOK);
    }));
    OnMain([](HWND main) {
        EXPECT_EQ(Row(main, 0), (Cells{"RG58", "0.66", "0.5", "2400"}));
        EXPECT_EQ(SelectedRow(main), 0);
        Click(main, IDC_DELETE_CABLE);
        ASSERT_EQ(ItemCount(main), 2);
        EXPECT_EQ(Row(main, 0), (Cells{"LMR400", "0.85", "0.2", "900"}));
        Click(main, IDC_EXPORT);
    });
    // A name without extension gets the default one.
    const std::string typed = (dir / "Exported").string();
    ui.Then(CUiDriver::OnWindow(kExportCommand, [typed](HWND chooser) { AnswerChooser(chooser, typed); }));
    Exit();
    Run();

    // A bad number is reported twice, as by the dialog on every backend.
    EXPECT_EQ(ui.BoxTexts(), (Cells{"Enter a number.", "Enter a number.", kExitQuestion}));
    for (std::size_t i = 0; i < 2 && i < ui.Boxes().size(); ++i) {
        EXPECT_EQ(ui.Boxes()[i].owner, parameterDialog);
        EXPECT_TRUE(ui.Boxes()[i].warningIcon);
        EXPECT_FALSE(ui.Boxes()[i].yesNo);
    }
    std::ifstream exported(target, std::ios::binary);
    std::ostringstream text;
    text << exported.rdbuf();
    EXPECT_EQ(text.str(),
              "/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=2\n"
              "CableName1 = LMR400\nVelocity1 = 0.85\nCableLoss1 = 0.2\nFrequency1 = 900\n"
              "CableName2 = RG213\nVelocity2 =  0.66\nCableLoss2 = 3.5\nFrequency2 = 1000\n");
}

TEST_F(Win32MainWindowTest, FormatErrorShowsTwoWarningsInOrder) {
    HWND mainWindow = nullptr;
    Import(MakeFile("three.ini", "header\nCableName1 = a\nVelocity1 = b\nCableLoss1 = c\n"));
    OnMain([&](HWND main) {
        mainWindow = main;
        EXPECT_EQ(ItemCount(main), 0);
        ExpectEditCommandsEnabled(main, false);
    });
    Exit();
    Run();
    ASSERT_EQ(ui.Boxes().size(), 3u);
    EXPECT_EQ(ui.BoxTexts(), (Cells{kFormatError, kItemCountError, kExitQuestion}));
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(ui.Boxes()[i].warningIcon);
        EXPECT_FALSE(ui.Boxes()[i].yesNo);
        EXPECT_EQ(ui.Boxes()[i].owner, mainWindow);
    }
}

// A very long cell shows only its beginning, with an ellipsis; its bytes stay whole.
TEST_F(Win32MainWindowTest, AVeryLongCellShowsItsBeginningAndExportsWhole) {
    const std::string longName(100000, 'n');
    const std::string source =
        "/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=1\n"
        "CableName1 = " +
        longName + "\nVelocity1 = 0.66\nCableLoss1 = 0.5\nFrequency1 = 100\n";
    const std::string target = (dir / "copy.ini").string();
    Import(MakeFile("long.ini", source));
    OnMain([](HWND main) {
        std::string text(65536, '\0');
        LVITEMA item{};
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto length = SendMessageA(List(main), LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
        text.resize(static_cast<std::size_t>(length));
        EXPECT_TRUE(text == std::string(kMaxShownCellChars, 'n') + "...") << text.size() << " bytes shown";
        EXPECT_EQ(Row(main, 0)[0], std::string(252, 'n') + "...") << "as much as the buffer takes";
        EXPECT_EQ(Row(main, 0)[1], "0.66");
        Click(main, IDC_EXPORT);
    });
    ui.Then(CUiDriver::OnWindow(kExportCommand, [target](HWND chooser) { AnswerChooser(chooser, target); }));
    Exit();
    Run();
    EXPECT_EQ(dlg.m_table.GetCellText(0, 0), longName);
    std::ifstream exported(target, std::ios::binary);
    std::ostringstream text;
    text << exported.rdbuf();
    EXPECT_TRUE(text.str() == source) << "exported unchanged";
}

// The busy cursor shows from the outermost Begin to its End, and the cursor of before comes back.
TEST(Win32WaitCursorTest, ShowsTheBusyCursorUntilTheOutermostEnd) {
    CWin32Windowing windowing;
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    const HCURSOR busy = LoadCursorA(nullptr, IDC_WAIT);
    SetCursor(arrow);
    windowing.BeginWaitCursor();
    EXPECT_EQ(GetCursor(), busy);
    windowing.BeginWaitCursor();
    windowing.EndWaitCursor();
    EXPECT_EQ(GetCursor(), busy) << "an inner scope ends";
    windowing.EndWaitCursor();
    EXPECT_EQ(GetCursor(), arrow);
}

// The keys, the double click and the context menu do what the buttons do, only while they are
// enabled; the About entry stays in the system menu too.
TEST_F(Win32MainWindowTest, KeysDoubleClickAndContextMenuActAsTheButtons) {
    const std::vector<std::string> locked = {"-&Undo\tCtrl+Z",  "-&Redo\tCtrl+Y",     "", "-&Copy\tCtrl+C",
                                             "-Copy A&ll Rows", "-&Paste\tCtrl+V",    "", "-&Edit\tF2",
                                             "-&Delete\tDel",   "+&New List\tCtrl+N", "", "+&About Quorlis..."};
    const std::vector<std::string> unlocked = {"+&Undo\tCtrl+Z",  "-&Redo\tCtrl+Y",     "", "+&Copy\tCtrl+C",
                                               "+Copy A&ll Rows", "+&Paste\tCtrl+V",    "", "+&Edit\tF2",
                                               "+&Delete\tDel",   "+&New List\tCtrl+N", "", "+&About Quorlis..."};
    OnMain([](HWND main) {
        SetFocus(List(main));
        for (WPARAM key : {VK_F2, VK_DELETE}) SendMessageA(List(main), WM_KEYDOWN, key, 0);
        PostControlKey(List(main), 'S');
    });
    OnMain([](HWND main) {
        ReleaseControl();
        OpenContextMenu(main);
    });
    ui.Then(OnPopupMenu(locked, 0));
    OnMain([](HWND main) { PostControlKey(List(main), 'O'); });
    const std::string source = MakeFile("CableList.ini", kTwoRows);
    ui.Then(CUiDriver::OnWindow(kImportCommand, [source](HWND chooser) {
        ReleaseControl();
        AnswerChooser(chooser, source);
    }));
    OnMain([](HWND main) {
        ASSERT_EQ(ItemCount(main), 2);
        DoubleClickRow(main, 0);
    });
    ui.Then(CUiDriver::OnWindow(kParameterTitle, [](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_NAME), "RG58");
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
    OnMain([this](HWND main) {
        EXPECT_EQ(SelectedRow(main), 0) << "the row double-clicked";
        dlg.m_table.SetCellText(0, 0,
                                std::string("RG\0"
                                            "58",
                                            5));
        SendMessageA(List(main), WM_KEYDOWN, VK_F2, 0);
    });
    ui.Then(CUiDriver::OnWindow(kParameterTitle, [](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_NAME), "RG58") << "a field drops a NUL, not what follows it";
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
    OnMain([](HWND main) {
        SendMessageA(List(main), WM_KEYDOWN, VK_DELETE, 0);
        EXPECT_EQ(ItemCount(main), 1);
        SendMessageA(List(main), WM_KEYDOWN, VK_DELETE, 0);  // nothing selected: the message
        SelectRow(main, 0);
        OpenContextMenu(main);
    });
    ui.Then(OnPopupMenu(unlocked, 'd'));
    OnMain([](HWND main) {
        EXPECT_EQ(ItemCount(main), 0) << "Delete from the menu";
        ExpectEditCommandsEnabled(main, false);
    });
    Exit();
    Run();
    EXPECT_EQ(ui.BoxTexts(), (Cells{kSelectToDelete, kExitQuestion}));
}

// A file named at start is imported once the window shows: its message is owned by the window on
// the screen.
TEST_F(Win32MainWindowTest, FileNamedAtStartIsImportedOnceTheWindowShows) {
    dlg.ImportAtStart((dir / "missing.ini").string());
    HWND mainWindow = nullptr;
    OnMain([&](HWND main) { mainWindow = main; });
    Exit();
    Run();
    EXPECT_EQ(ui.BoxTexts(), (Cells{kOpenFailed, kExitQuestion}));
    ASSERT_FALSE(ui.Boxes().empty());
    EXPECT_EQ(ui.Boxes()[0].owner, mainWindow);
    EXPECT_TRUE(ui.Boxes()[0].ownerVisible);
}

// The shell's drop of files: the first one is imported as if chosen in Import.
TEST_F(Win32MainWindowTest, DroppedFileIsImported) {
    const std::string source = MakeFile("CableList.ini", kTwoRows);
    OnMain([source](HWND main) {
        EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
        const std::string names = source + '\0' + "Z:\\nonexistent.ini" + '\0' + '\0';
        const HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
        auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
        header->pFiles = sizeof(DROPFILES);
        std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(), names.size());
        GlobalUnlock(drop);
        PostMessageA(main, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    });
    OnMain([](HWND main) {
        ASSERT_EQ(ItemCount(main), 2);
        EXPECT_EQ(Row(main, 1), (Cells{"LMR400", "0.85", "0.2", "900"}));
        ExpectEditCommandsEnabled(main, true);
    });
    Exit();
    Run();
    EXPECT_EQ(ui.BoxTexts(), Cells{kExitQuestion});
}

namespace {}  // namespace

// Ctrl+N, the Delete key and Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z through the window's message loop; the
// row brought back is selected and on screen; Enter on the exit question keeps the program while a
// change is unsaved and ends it once Undo is back at the clean Import.
TEST_F(Win32MainWindowTest, KeysUndoAndRedoAndTheExitQuestionDefaultsToNoWhileChanged) {
    const std::string source = MakeFile("long.ini", NumberedListText(500));
    OnMain([](HWND main) { PostControlKey(List(main), 'O'); });
    ui.Then(CUiDriver::OnWindow("Import", [source](HWND chooser) {
        ReleaseControl();
        AnswerChooser(chooser, source);
    }));
    OnMain([](HWND main) {
        ASSERT_EQ(ItemCount(main), 500);
        EXPECT_EQ(SelectedRow(main), 499);
        EXPECT_TRUE(RowInView(main, 499));
        SetFocus(List(main));
        SelectRow(main, 3);
        SendMessageA(List(main), WM_KEYDOWN, VK_DELETE, 0);
        EXPECT_EQ(Row(main, 3)[0], "RG5");
        SendMessageA(List(main), WM_VSCROLL, SB_BOTTOM, 0);
        PostControlKey(List(main), 'Z');
    });
    OnMain([](HWND main) {
        ReleaseControl();
        ASSERT_EQ(ItemCount(main), 500);
        EXPECT_EQ(Row(main, 3)[0], "RG4");
        EXPECT_EQ(SelectedRow(main), 3);
        EXPECT_TRUE(RowInView(main, 3)) << "the row brought back is scrolled into view";
        PostControlKey(List(main), 'Y');
    });
    OnMain([](HWND main) {
        ReleaseControl();
        EXPECT_EQ(Row(main, 3)[0], "RG5");
        PostControlKey(List(main), 'Z');
    });
    OnMain([](HWND main) { PostControlShiftKey(List(main), 'Z'); });
    OnMain([this](HWND main) {
        ReleaseControl();
        EXPECT_EQ(Row(main, 3)[0], "RG5") << "Ctrl+Shift+Z redoes";
        ui.AnswerBox(IDNO);
        SendMessageA(main, WM_COMMAND, IDCANCEL, 0);  // Escape: No
        ui.AnswerBox(CUiDriver::kEnter);
        SendMessageA(main, WM_COMMAND, IDCANCEL, 0);  // Enter: the default, No
    });
    OnMain([](HWND main) { PostControlKey(List(main), 'Z'); });
    OnMain([this](HWND main) {
        ReleaseControl();
        ui.AnswerBox(CUiDriver::kEnter);
        SendMessageA(main, WM_COMMAND, IDCANCEL, 0);  // clean again: Enter exits
    });
    EXPECT_EQ(Run(), IDCANCEL);
    // Had Enter answered Yes to the second question, the steps after it would not have run.
    EXPECT_EQ(ui.BoxTexts(), (Cells{kExitQuestion, kExitQuestion, kExitQuestion}));
    EXPECT_EQ(dlg.m_table.GetItemCount(), 500);
}

// Copy and Copy All Rows put Unicode text with CRLF line ends on the Windows clipboard; Paste takes
// a spreadsheet's text, and a line with a character that the code page cannot hold is named.
TEST_F(Win32MainWindowTest, CopyAndPasteGoThroughTheWindowsClipboard) {
    OnMain([](HWND main) { PostControlKey(List(main), 'N'); });
    OnMain([](HWND main) {
        ReleaseControl();
        ExpectEditCommandsEnabled(main, true);
        SetClipboard(
            L"Cable Name\tVelocity\tCable Loss\tFrequency(MHz)\r\n\"RG 8 \"\"x\"\"\"\t0.66\t0.3\t50\r\n"
            L"LMR200\t0.83\t0.5\t400\r\n");
        PostControlKey(List(main), 'V');
    });
    OnMain([](HWND main) {
        ReleaseControl();
        ASSERT_EQ(ItemCount(main), 2);
        EXPECT_EQ(Row(main, 0), (Cells{"RG 8 \"x\"", "0.66", "0.3", "50"}));
        EXPECT_EQ(SelectedRow(main), 1);
        SelectRow(main, 0);
        PostControlKey(List(main), 'C');
    });
    OnMain([](HWND main) {
        ReleaseControl();
        EXPECT_EQ(ClipboardText(), L"\"RG 8 \"\"x\"\"\"\t0.66\t0.3\t50\r\n");
        OpenContextMenu(main);
    });
    ui.Then(OnPopupMenu({"+&Undo\tCtrl+Z", "-&Redo\tCtrl+Y", "", "+&Copy\tCtrl+C", "+Copy A&ll Rows", "+&Paste\tCtrl+V",
                         "", "+&Edit\tF2", "+&Delete\tDel", "+&New List\tCtrl+N", "", "+&About Quorlis..."},
                        'l'));
    OnMain([](HWND main) {
        EXPECT_EQ(ClipboardText(),
                  L"Cable Name\tVelocity\tCable Loss\tFrequency(MHz)\r\n"
                  L"\"RG 8 \"\"x\"\"\"\t0.66\t0.3\t50\r\nLMR200\t0.83\t0.5\t400\r\n");
        SetClipboard(L"RG6\t0.82\t0.19\t5\r\nRG59\tfast\t0.3\t50\r\n");
        PostControlKey(List(main), 'V');
    });
    OnMain([](HWND main) {
        ReleaseControl();
        SetClipboard(L"RG6\t0.82\t0.19\t5\r\n\u03A9-cable\t0.66\t0.3\t50\r\n");
        PostControlKey(List(main), 'V');
    });
    OnMain([](HWND main) {
        ReleaseControl();
        EXPECT_EQ(ItemCount(main), GetACP() == CP_UTF8 ? 4 : 2) << "a wrong clipboard pastes nothing";
    });
    Exit();
    Run();
    const std::vector<std::string> texts = ui.BoxTexts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Line 2: Velocity is not a number.");
    EXPECT_TRUE(ui.Boxes()[0].warningIcon);
    if (GetACP() != CP_UTF8) {
        ASSERT_EQ(texts.size(), 3u);
        EXPECT_EQ(texts[1], std::string("Line 2: ") + kUnconvertibleCharacter);
    }
}
