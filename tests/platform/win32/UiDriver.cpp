#include "UiDriver.h"

#include "platform/MessageBox.h"

#include <gtest/gtest.h>

namespace {

CUiDriver* g_driver = nullptr;
constexpr UINT kTickMs = 20;
constexpr int kLongestWaitTicks = 250;  // 5 s

bool IsDialogClass(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return std::string(name) == "#32770";
}

BOOL CALLBACK FindIconControl(HWND child, LPARAM result) {
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
    *reinterpret_cast<HICON*>(result) = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    return FALSE;
}

// The icon that a message box shows, from its icon control.
HICON BoxIcon(HWND box) {
    HICON found = nullptr;
    EnumChildWindows(box, FindIconControl, reinterpret_cast<LPARAM>(&found));
    return found;
}

struct SWindowSearch {
    std::string title;
    HWND found = nullptr;
};

BOOL CALLBACK MatchEnabledWindow(HWND window, LPARAM search) {
    auto& wanted = *reinterpret_cast<SWindowSearch*>(search);
    if (!IsWindowVisible(window) || !IsWindowEnabled(window) || WindowText(window) != wanted.title) return TRUE;
    wanted.found = window;
    return FALSE;
}

// The visible, enabled top-level window of this thread titled title: the one modal window in
// front, since the windows under it are disabled.
HWND FindEnabledWindow(const std::string& title) {
    SWindowSearch search{title};
    EnumThreadWindows(GetCurrentThreadId(), MatchEnabledWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

std::string WindowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ControlText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

CUiDriver::CUiDriver() {
    g_driver = this;
    m_hook = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    m_timer = SetTimer(nullptr, 0, kTickMs, TimerProc);
}

CUiDriver::~CUiDriver() {
    KillTimer(nullptr, m_timer);
    UnhookWindowsHookEx(m_hook);
    g_driver = nullptr;
    EXPECT_TRUE(m_steps.empty()) << m_steps.size() << " steps did not run";
}

std::vector<std::string> CUiDriver::BoxTexts() const {
    std::vector<std::string> texts;
    for (const SCaughtBox& box : m_boxes) texts.push_back(box.text);
    return texts;
}

CUiDriver::Step CUiDriver::OnWindow(const std::string& title, std::function<void(HWND)> action) {
    return [title, action] {
        const HWND window = FindEnabledWindow(title);
        if (!window) return false;
        action(window);
        return true;
    };
}

LRESULT CALLBACK CUiDriver::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && g_driver) g_driver->OnActivate(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK CUiDriver::TimerProc(HWND, UINT, UINT_PTR, DWORD) {
    if (g_driver) g_driver->Tick();
}

// Message boxes are the dialogs captioned with the program's name.
void CUiDriver::OnActivate(HWND window) {
    if (!IsDialogClass(window) || WindowText(window) != GetProgramName()) return;
    SCaughtBox box;
    box.caption = WindowText(window);
    box.text = ControlText(window, 0xFFFF);
    const HICON icon = BoxIcon(window);
    box.warningIcon = icon && icon == LoadIconA(nullptr, IDI_WARNING);
    box.questionIcon = icon && icon == LoadIconA(nullptr, IDI_QUESTION);
    box.yesNo = GetDlgItem(window, IDYES) && GetDlgItem(window, IDNO);
    box.owner = GetWindow(window, GW_OWNER);
    box.ownerVisible = box.owner && IsWindowVisible(box.owner);
    m_boxes.push_back(box);
    int answer = box.yesNo ? IDNO : IDOK;
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    }
    if (answer == kEnter) {
        // Through the box's own loop, whose dialog manager presses the default (and focused) button.
        PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageA(window, WM_KEYUP, VK_RETURN, 0);
        return;
    }
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, answer)));
}

// A step is taken off the list before it runs: a click that opens a modal dialog returns only when
// the dialog has ended, and meanwhile the ticks of the dialog's own loop run the steps after it.
void CUiDriver::Tick() {
    if (m_steps.empty()) return;
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    if (step()) {
        m_waitedTicks = 0;
        return;
    }
    m_steps.push_front(std::move(step));
    if (++m_waitedTicks > kLongestWaitTicks) {
        ADD_FAILURE() << "a step waited too long; active window \"" << WindowText(GetActiveWindow()) << '"';
        m_steps.clear();
        PostQuitMessage(1);
    }
}
