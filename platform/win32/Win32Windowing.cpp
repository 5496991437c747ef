#include "platform/win32/Win32Windowing.h"

#include "platform/Dialog.h"
#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32DialogWindow.h"
#include "platform/win32/Win32Text.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstring>

namespace {

// Every window of this backend is a CWin32DialogWindow.
HWND HandleOf(IDialogWindow* window) {
    return window ? static_cast<CWin32DialogWindow*>(window)->GetHandle() : nullptr;
}

UINT MessageBoxFlags(EMsgBoxType type, EMsgBoxIcon icon, EMsgBoxDefault defaultButton) {
    const bool yesNo = type == EMsgBoxType::YesNo;
    const UINT buttons = yesNo ? MB_YESNO : MB_OK;
    const UINT defaultFlag = yesNo && defaultButton == EMsgBoxDefault::No ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
    return buttons | defaultFlag | (icon == EMsgBoxIcon::Question ? MB_ICONQUESTION : MB_ICONWARNING);
}

// The innermost running window: the clipboard's owner while the program uses it.
HWND ActiveHandle() {
    const CDialog* active = CDialog::GetActiveDialog();
    return active ? HandleOf(active->GetWindow()) : nullptr;
}

DWORD FileChooserFlags(const SFileChooser& request) {
    DWORD flags = OFN_EXPLORER;
    if (request.hideReadOnly) flags |= OFN_HIDEREADONLY;
    if (request.overwritePrompt) flags |= OFN_OVERWRITEPROMPT;
    return flags;
}

}  // namespace

void CWin32Windowing::InitCommonControls(unsigned classSet) {
    INITCOMMONCONTROLSEX init{};
    init.dwSize = sizeof init;
    init.dwICC = classSet;
    InitCommonControlsEx(&init);
}

std::unique_ptr<IDialogWindow> CWin32Windowing::CreateDialogWindow(CDialog& dialog, const SDialogLayout& layout,
                                                                   IDialogWindow* owner) {
    return std::make_unique<CWin32DialogWindow>(dialog, layout, HandleOf(owner));
}

int CWin32Windowing::ShowMessageBox(IDialogWindow* owner, const std::string& text, const std::string& caption,
                                    EMsgBoxType type, EMsgBoxIcon icon, EMsgBoxDefault defaultButton) {
    return MessageBoxA(HandleOf(owner), text.c_str(), caption.c_str(), MessageBoxFlags(type, icon, defaultButton));
}

bool CWin32Windowing::SetClipboardText(const std::string& text) { return PutClipboardText(ActiveHandle(), text); }

std::optional<SClipboardText> CWin32Windowing::GetClipboardText() { return TakeClipboardText(ActiveHandle()); }

void CWin32Windowing::BeginWaitCursor() {
    // The command runs without handling messages, so nothing sets the cursor back meanwhile.
    if (m_waitDepth++ == 0) m_cursorBeforeWait = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
}

void CWin32Windowing::EndWaitCursor() noexcept {
    if (m_waitDepth > 0 && --m_waitDepth == 0) SetCursor(m_cursorBeforeWait);
}

std::optional<std::string> CWin32Windowing::ChooseFile(IDialogWindow* owner, const SFileChooser& request) {
    const std::string filter = FilterToNulSeparated(request.filter);
    char path[MAX_PATH] = {};
    std::strncpy(path, request.fileName.c_str(), MAX_PATH - 1);
    OPENFILENAMEA chooser{};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = HandleOf(owner);
    chooser.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    chooser.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    chooser.nFilterIndex = 1;
    chooser.lpstrFile = path;
    chooser.nMaxFile = MAX_PATH;
    chooser.lpstrDefExt = request.defaultExt.empty() ? nullptr : request.defaultExt.c_str();
    chooser.lpstrInitialDir = request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
    chooser.Flags = FileChooserFlags(request);
    const BOOL chosen = request.save ? GetSaveFileNameA(&chooser) : GetOpenFileNameA(&chooser);
    if (!chosen) return std::nullopt;
    return std::string(path);
}
