#pragma once
// The windowing backend on Qt 6 Widgets: windows from the dialog layouts, Qt message boxes and Qt's
// own file dialog. Texts cross to the toolkit through the LC_CTYPE character set current when the
// backend is made.

#include "platform/Windowing.h"
#include "platform/qt/LocaleCodec.h"

#include <memory>

class QApplication;

class CQtWindowing final : public IWindowing {
public:
    // Makes the QApplication from argc and argv unless one exists. The C library's locale settings
    // (which QApplication resets from the environment) are kept as they were.
    CQtWindowing(int& argc, char** argv);
    ~CQtWindowing() override;

    void InitCommonControls(unsigned classSet) override;
    std::unique_ptr<IDialogWindow> CreateDialogWindow(CDialog& dialog, const SDialogLayout& layout,
                                                      IDialogWindow* owner) override;
    int ShowMessageBox(IDialogWindow* owner, const std::string& text, const std::string& caption, EMsgBoxType type,
                       EMsgBoxIcon icon, EMsgBoxDefault defaultButton) override;
    // The clipboard's plain text, through the character set; the X selection is not touched.
    bool SetClipboardText(const std::string& text) override;
    std::optional<SClipboardText> GetClipboardText() override;
    std::optional<std::string> ChooseFile(IDialogWindow* owner, const SFileChooser& request) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() noexcept override;

private:
    CLocaleCodec m_codec;
    std::unique_ptr<QApplication> m_application;
};
