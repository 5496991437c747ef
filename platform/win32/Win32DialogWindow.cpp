#include "platform/win32/Win32DialogWindow.h"

#include "platform/Dialog.h"
#include "platform/FieldText.h"
#include "platform/HandlerFailure.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Text.h"
#include "res/win32/DialogTemplate.h"

#include "res/Commands.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

// The message PostCommand posts; its wParam is the command id.
constexpr UINT kPostedCommandMessage = WM_APP + 1;
// Posted when the window's resolution has changed, for the lists to fit their columns again.
constexpr UINT kFitListsMessage = WM_APP + 2;

// The windows running modally, innermost last, and the one message filter that serves them all.
std::vector<CWin32DialogWindow*>& RunningWindows() {
    static std::vector<CWin32DialogWindow*> running;
    return running;
}

HHOOK& MessageFilter() {
    static HHOOK hook = nullptr;
    return hook;
}

unsigned PressedModifiers() {
    const auto down = [](int key) { return GetKeyState(key) < 0; };
    return (down(VK_SHIFT) ? kModShift : 0u) | (down(VK_CONTROL) ? kModControl : 0u) | (down(VK_MENU) ? kModAlt : 0u);
}

// Edit fields take text of any length: the control's own default limit would cut it silently.
void LiftTextLimit(HWND edit) { SendMessageA(edit, EM_SETLIMITTEXT, 0, 0); }

}  // namespace

// Keeps a window on the running list, and the message filter installed, while it runs.
class CWin32DialogWindow::CRunningWindow {
public:
    explicit CRunningWindow(CWin32DialogWindow& window) : m_window(window) {
        if (RunningWindows().empty()) {
            MessageFilter() = SetWindowsHookExA(WH_MSGFILTER, MessageFilterProc, nullptr, GetCurrentThreadId());
        }
        RunningWindows().push_back(&window);
    }
    ~CRunningWindow() {
        std::erase(RunningWindows(), &m_window);
        if (RunningWindows().empty() && MessageFilter()) {
            UnhookWindowsHookEx(MessageFilter());
            MessageFilter() = nullptr;
        }
    }
    CRunningWindow(const CRunningWindow&) = delete;
    CRunningWindow& operator=(const CRunningWindow&) = delete;

private:
    CWin32DialogWindow& m_window;
};

CWin32DialogWindow::CWin32DialogWindow(CDialog& dialog, const SDialogLayout& layout, HWND owner)
    : m_dialog(dialog), m_layout(layout), m_owner(owner) {}

CWin32DialogWindow::~CWin32DialogWindow() = default;

int CWin32DialogWindow::RunModal() {
    const std::vector<std::uint16_t> dialogTemplate = BuildDialogTemplate(m_layout, AnsiToUtf16);
    const CRunningWindow running(*this);
    const INT_PTR result =
        DialogBoxIndirectParamA(ProgramInstance(), reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate.data()), m_owner,
                                DialogProc, reinterpret_cast<LPARAM>(this));
    m_lists.clear();
    m_hwnd = nullptr;
    return static_cast<int>(result);
}

LRESULT CALLBACK CWin32DialogWindow::MessageFilterProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX) {
        // Only the innermost window takes keys: the windows it runs over are disabled.
        const MSG& message = *reinterpret_cast<const MSG*>(lParam);
        if (!RunningWindows().empty() && RunningWindows().back()->RunAccelerator(message)) return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool CWin32DialogWindow::RunAccelerator(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    if (!m_hwnd || (message.hwnd != m_hwnd && !IsChild(m_hwnd, message.hwnd))) return false;
    try {
        return m_dialog.HandleAccelerator(static_cast<unsigned>(message.wParam), PressedModifiers());
    } catch (...) {
        return false;  // nothing may unwind through the dialog manager
    }
}

void CWin32DialogWindow::EndModal(int result) {
    if (m_hwnd) EndDialog(m_hwnd, result);
}

std::string CWin32DialogWindow::GetControlText(int id) const {
    const HWND control = GetDlgItem(m_hwnd, id);
    if (!control) return {};
    const int length = GetWindowTextLengthA(control);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

void CWin32DialogWindow::SetControlText(int id, const std::string& text) {
    const HWND control = GetDlgItem(m_hwnd, id);
    if (!control) return;
    // The window text ends at a NUL: a field drops it (and line breaks) rather than what follows.
    SetWindowTextA(control, IsEditField(id) ? RemoveLineBreaksAndNul(text).c_str() : text.c_str());
}

void CWin32DialogWindow::EnableControl(int id, bool enable) {
    if (const HWND control = GetDlgItem(m_hwnd, id)) EnableWindow(control, enable);
}

bool CWin32DialogWindow::IsControlEnabled(int id) const {
    const HWND control = GetDlgItem(m_hwnd, id);
    return control && IsWindowEnabled(control);
}

void CWin32DialogWindow::FocusControl(int id) {
    const HWND control = GetDlgItem(m_hwnd, id);
    if (!control) return;
    SendMessageA(m_hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    if (IsEditField(id)) SendMessageA(control, EM_SETSEL, 0, -1);
}

int CWin32DialogWindow::GetFocusedControl() const {
    const HWND focus = GetFocus();
    if (!focus || !m_hwnd || !IsChild(m_hwnd, focus)) return 0;
    return GetDlgCtrlID(focus);
}

void CWin32DialogWindow::AttachList(int id, IListSource& table) {
    const HWND list = GetDlgItem(m_hwnd, id);
    if (!list) return;
    m_lists.erase(id);
    m_lists[id] = std::make_unique<CWin32ListView>(list, table);
}

void CWin32DialogWindow::InsertListColumn(int id, int column, const std::string& heading, int format, int width) {
    const auto list = m_lists.find(id);
    if (list == m_lists.end()) return;
    list->second->InsertColumn(column, heading, format, width);
}

unsigned CWin32DialogWindow::GetListExtendedStyle(int id) const {
    return static_cast<unsigned>(SendDlgItemMessageA(m_hwnd, id, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

void CWin32DialogWindow::SetListExtendedStyle(int id, unsigned styles) {
    SendDlgItemMessageA(m_hwnd, id, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(styles));
}

void CWin32DialogWindow::EnsureListRowVisible(int id, int row) {
    SendDlgItemMessageA(m_hwnd, id, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

bool CWin32DialogWindow::HasSystemMenu() const { return m_hwnd && GetSystemMenu(m_hwnd, FALSE); }

void CWin32DialogWindow::AppendSystemMenuSeparator() {
    if (const HMENU menu = GetSystemMenu(m_hwnd, FALSE)) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
}

void CWin32DialogWindow::AppendSystemMenuItem(unsigned id, const std::string& text) {
    if (const HMENU menu = GetSystemMenu(m_hwnd, FALSE)) AppendMenuA(menu, MF_STRING, id, text.c_str());
}

int CWin32DialogWindow::TrackPopupMenu(const std::vector<SPopupMenuItem>& items, SScreenPoint where) {
    const HMENU menu = CreatePopupMenu();
    if (!menu) return -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const UINT flags = items[i].separator ? MF_SEPARATOR : MF_STRING | (items[i].enabled ? MF_ENABLED : MF_GRAYED);
        AppendMenuA(menu, flags, i + 1, items[i].text.c_str());
    }
    const int chosen = static_cast<int>(
        ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, where.x, where.y, 0, m_hwnd, nullptr));
    DestroyMenu(menu);
    return chosen - 1;
}

void CWin32DialogWindow::PostCommand(int id) {
    PostMessageA(m_hwnd, kPostedCommandMessage, static_cast<WPARAM>(id), 0);
}

// The shell's drop target behind DragAcceptFiles answers every drop with DROPEFFECT_COPY, so a
// source that proposed a move keeps its file; the window itself only reads it.
void CWin32DialogWindow::DragAcceptFiles(bool accept) { ::DragAcceptFiles(m_hwnd, accept ? TRUE : FALSE); }

void CWin32DialogWindow::SetIcon(int iconId, bool large) {
    const int size = GetSystemMetrics(large ? SM_CXICON : SM_CXSMICON);
    const HANDLE icon =
        LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(iconId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR | LR_SHARED);
    if (icon) SendMessageA(m_hwnd, WM_SETICON, large ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

bool CWin32DialogWindow::IsMinimized() const { return m_hwnd && IsIconic(m_hwnd); }

void CWin32DialogWindow::GetClientSize(int& width, int& height) const {
    RECT rect{};
    GetClientRect(m_hwnd, &rect);
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
}

void CWin32DialogWindow::GetSystemIconSize(int& width, int& height) const {
    width = WindowSystemMetric(m_hwnd, SM_CXICON);
    height = WindowSystemMetric(m_hwnd, SM_CYICON);
}

void CWin32DialogWindow::EraseIconBackground() {
    if (const HDC dc = PaintDc()) SendMessageA(m_hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
}

void CWin32DialogWindow::DrawIcon(int iconId, int x, int y) {
    const HDC dc = PaintDc();
    const HICON icon = LoadIconA(ProgramInstance(), MAKEINTRESOURCEA(iconId));
    if (dc && icon) ::DrawIcon(dc, x, y, icon);
}

void CWin32DialogWindow::DefaultPaint() { m_defaultPaint = true; }

INT_PTR CALLBACK CWin32DialogWindow::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* window = reinterpret_cast<CWin32DialogWindow*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (message == WM_INITDIALOG) {
        window = reinterpret_cast<CWin32DialogWindow*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        try {
            return window->OnInitDialogMessage(hwnd);
        } catch (...) {
            ReportCaughtFailure("dialog window's creation");
            return TRUE;
        }
    }
    if (!window) return FALSE;
    try {
        return window->HandleMessage(message, wParam, lParam);
    } catch (...) {
        ReportCaughtFailure("dialog window's message " + std::to_string(message));
        return FALSE;  // nothing may unwind through the dialog manager
    }
}

INT_PTR CWin32DialogWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) m_dialog.HandleCommand(LOWORD(wParam));
            return TRUE;
        case WM_SYSCOMMAND:
            // The dialog acts on its own items; the window manager then does move, close and so on.
            m_dialog.HandleSysCommand(static_cast<unsigned>(wParam), static_cast<long>(lParam));
            return FALSE;
        case WM_PAINT:
            return OnPaintMessage();
        case WM_QUERYDRAGICON: {
            const int iconId = m_dialog.HandleQueryDragIcon();
            return iconId ? reinterpret_cast<INT_PTR>(LoadIconA(ProgramInstance(), MAKEINTRESOURCEA(iconId))) : 0;
        }
        case WM_NOTIFYFORMAT:
            return SetMessageResult(NFR_ANSI);
        case WM_NOTIFY:
            return OnNotifyMessage(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_CONTEXTMENU:
            return OnContextMenuMessage(reinterpret_cast<HWND>(wParam), lParam);
        case WM_DROPFILES:
            return OnDropFilesMessage(reinterpret_cast<HDROP>(wParam));
        case WM_DPICHANGED:
            return OnDpiChangedMessage(*reinterpret_cast<const RECT*>(lParam));
        case kFitListsMessage:
            for (const auto& list : m_lists) list.second->FitColumns();
            return TRUE;
        case kPostedCommandMessage:
            return OnPostedCommandMessage(static_cast<int>(wParam));
        case WM_DESTROY:
            m_lists.clear();
            return FALSE;
        default:
            return FALSE;
    }
}

INT_PTR CWin32DialogWindow::OnInitDialogMessage(HWND hwnd) {
    m_hwnd = hwnd;
    for (const SControlLayout& control : m_layout.controls) {
        if (control.kind == EControlKind::Edit) LiftTextLimit(GetDlgItem(hwnd, control.id));
    }
    CenterOverOwner();
    return m_dialog.HandleInitDialog() ? TRUE : FALSE;
}

INT_PTR CWin32DialogWindow::OnPaintMessage() {
    m_inPaint = true;
    m_defaultPaint = false;
    m_paintDc = nullptr;
    m_dialog.HandlePaint();
    m_inPaint = false;
    if (m_paintDc) {
        EndPaint(m_hwnd, &m_paint);
        m_paintDc = nullptr;
        return TRUE;
    }
    if (m_defaultPaint) return FALSE;
    ValidateRect(m_hwnd, nullptr);
    return TRUE;
}

INT_PTR CWin32DialogWindow::OnNotifyMessage(const NMHDR& header) {
    const int id = static_cast<int>(header.idFrom);
    const auto list = m_lists.find(id);
    if (list == m_lists.end()) return FALSE;
    if (header.code == NM_DBLCLK) {
        m_dialog.HandleNotify(SNotify{kNmDblClk, id, reinterpret_cast<const NMITEMACTIVATE&>(header).iItem});
        return FALSE;
    }
    if (header.code == LVN_KEYDOWN) {
        m_dialog.HandleNotify(SNotify{kLvnKeyDown, id, -1, reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey});
        return FALSE;
    }
    LRESULT result = 0;
    if (!list->second->HandleNotify(header, result)) return FALSE;
    return SetMessageResult(result);
}

INT_PTR CWin32DialogWindow::OnContextMenuMessage(HWND control, LPARAM position) {
    // Signed screen coordinates, packed in the low and high words.
    POINT where{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    const int controlId = control != m_hwnd && IsChild(m_hwnd, control) ? GetDlgCtrlID(control) : 0;
    if (where.x == -1 && where.y == -1) {
        // From the keyboard: at the focused control.
        RECT focused{};
        GetWindowRect(GetFocus() && IsChild(m_hwnd, GetFocus()) ? GetFocus() : m_hwnd, &focused);
        where = POINT{(focused.left + focused.right) / 2, (focused.top + focused.bottom) / 2};
    }
    return m_dialog.HandleContextMenu(controlId, SScreenPoint{where.x, where.y}) ? TRUE : FALSE;
}

INT_PTR CWin32DialogWindow::OnPostedCommandMessage(int id) {
    // The dialog manager shows a new dialog once its queue is empty: a message posted at its
    // initialisation comes first.
    if (!IsWindowVisible(m_hwnd)) {
        ShowWindow(m_hwnd, SW_SHOWNORMAL);
        UpdateWindow(m_hwnd);
    }
    m_dialog.HandleCommand(id);
    return TRUE;
}

INT_PTR CWin32DialogWindow::OnDropFilesMessage(HDROP drop) {
    std::vector<std::string> paths;
    try {
        const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            std::string path(DragQueryFileA(drop, i, nullptr, 0) + 1, '\0');
            path.resize(DragQueryFileA(drop, i, path.data(), static_cast<UINT>(path.size())));
            paths.push_back(std::move(path));
        }
    } catch (...) {
        paths.clear();  // the drop is released whatever happens
    }
    DragFinish(drop);
    m_dialog.HandleDropFiles(paths);
    return TRUE;
}

INT_PTR CWin32DialogWindow::OnDpiChangedMessage(const RECT& suggested) {
    // The window takes the size the system suggests for the new resolution; the dialog manager then
    // scales the font and the controls (the default handling, hence FALSE), after which the lists
    // fit their columns to them.
    SetWindowPos(m_hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageA(m_hwnd, kFitListsMessage, 0, 0);
    return FALSE;
}

INT_PTR CWin32DialogWindow::SetMessageResult(LRESULT result) {
    SetWindowLongPtrA(m_hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

void CWin32DialogWindow::CenterOverOwner() {
    RECT window{};
    GetWindowRect(m_hwnd, &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(m_owner ? m_owner : m_hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT area = monitor.rcWork;
    if (m_owner && !IsIconic(m_owner)) GetWindowRect(m_owner, &area);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    x = std::max(static_cast<int>(monitor.rcWork.left), std::min(x, static_cast<int>(monitor.rcWork.right) - width));
    y = std::max(static_cast<int>(monitor.rcWork.top), std::min(y, static_cast<int>(monitor.rcWork.bottom) - height));
    SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CWin32DialogWindow::IsEditField(int id) const {
    return std::ranges::any_of(m_layout.controls, [id](const SControlLayout& control) {
        return control.id == id && control.kind == EControlKind::Edit;
    });
}

HDC CWin32DialogWindow::PaintDc() {
    if (m_inPaint && !m_paintDc) m_paintDc = BeginPaint(m_hwnd, &m_paint);
    return m_paintDc;
}
