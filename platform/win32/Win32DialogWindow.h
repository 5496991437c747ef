#pragma once
// A dialog window of the Win32 backend: a modal dialog of the system's dialog manager, created from
// a template built from the dialog's layout. The dialog manager does Tab, Enter, Escape and the
// close box; this class passes its messages to the CDialog, and the keys pressed in it to the
// dialog's accelerators first.

#include "platform/Windowing.h"
#include "platform/win32/Win32ListView.h"
#include "res/Layout.h"

#include <map>
#include <memory>

#include <windows.h>

#include <shellapi.h>

class CWin32DialogWindow : public IDialogWindow {
public:
    CWin32DialogWindow(CDialog& dialog, const SDialogLayout& layout, HWND owner);
    ~CWin32DialogWindow() override;

    // The window while RunModal runs, else nullptr.
    HWND GetHandle() const { return m_hwnd; }

    int RunModal() override;
    void EndModal(int result) override;

    std::string GetControlText(int id) const override;
    void SetControlText(int id, const std::string& text) override;
    void EnableControl(int id, bool enable) override;
    bool IsControlEnabled(int id) const override;
    void FocusControl(int id) override;
    int GetFocusedControl() const override;

    void AttachList(int id, IListSource& table) override;
    void InsertListColumn(int id, int column, const std::string& heading, int format, int width) override;
    unsigned GetListExtendedStyle(int id) const override;
    void SetListExtendedStyle(int id, unsigned styles) override;
    void EnsureListRowVisible(int id, int row) override;

    bool HasSystemMenu() const override;
    void AppendSystemMenuSeparator() override;
    void AppendSystemMenuItem(unsigned id, const std::string& text) override;

    int TrackPopupMenu(const std::vector<SPopupMenuItem>& items, SScreenPoint where) override;
    // Posts a message to the window; the window is shown, if the dialog manager has not yet, before
    // the command runs.
    void PostCommand(int id) override;
    void DragAcceptFiles(bool accept) override;

    void SetIcon(int iconId, bool large) override;

    bool IsMinimized() const override;
    void GetClientSize(int& width, int& height) const override;
    void GetSystemIconSize(int& width, int& height) const override;
    void EraseIconBackground() override;
    void DrawIcon(int iconId, int x, int y) override;
    void DefaultPaint() override;

private:
    class CRunningWindow;

    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Sees the messages of the dialog manager's loops before they are dispatched.
    static LRESULT CALLBACK MessageFilterProc(int code, WPARAM wParam, LPARAM lParam);
    // A key pressed in this window, given to the dialog's accelerators. True when it used the key.
    bool RunAccelerator(const MSG& message);
    INT_PTR OnContextMenuMessage(HWND control, LPARAM position);
    INT_PTR OnPostedCommandMessage(int id);
    INT_PTR OnDropFilesMessage(HDROP drop);
    INT_PTR OnDpiChangedMessage(const RECT& suggested);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnInitDialogMessage(HWND hwnd);
    INT_PTR OnPaintMessage();
    INT_PTR OnNotifyMessage(const NMHDR& header);
    INT_PTR SetMessageResult(LRESULT result);
    void CenterOverOwner();
    bool IsEditField(int id) const;
    // The device context of the WM_PAINT being handled, begun on first use; nullptr outside one.
    HDC PaintDc();

    CDialog& m_dialog;
    const SDialogLayout& m_layout;
    HWND m_owner;
    HWND m_hwnd = nullptr;
    std::map<int, std::unique_ptr<CWin32ListView>> m_lists;
    bool m_inPaint = false;
    bool m_defaultPaint = false;
    HDC m_paintDc = nullptr;
    PAINTSTRUCT m_paint{};
};
