#pragma once
// The windowing backend on the Win32 API: the system's dialog manager, common controls, message
// boxes and common file dialogs, all through their ANSI (A) functions.

#include "platform/Windowing.h"

#include <windows.h>

class CWin32Windowing : public IWindowing {
public:
    void InitCommonControls(unsigned classSet) override;
    std::unique_ptr<IDialogWindow> CreateDialogWindow(CDialog& dialog, const SDialogLayout& layout,
                                                      IDialogWindow* owner) override;
    int ShowMessageBox(IDialogWindow* owner, const std::string& text, const std::string& caption, EMsgBoxType type,
                       EMsgBoxIcon icon, EMsgBoxDefault defaultButton) override;
    // The Unicode text of the clipboard, opened for the innermost running window.
    bool SetClipboardText(const std::string& text) override;
    std::optional<SClipboardText> GetClipboardText() override;
    std::optional<std::string> ChooseFile(IDialogWindow* owner, const SFileChooser& request) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() noexcept override;

private:
    int m_waitDepth = 0;
    HCURSOR m_cursorBeforeWait = nullptr;
};
