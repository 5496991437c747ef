#pragma once
// A windowing backend without a screen, for tests. A test installs it with SetWindowing, queues
// what the user does, runs a dialog, and then looks at what was shown.
//
//   CHeadlessWindowing ui;
//   SetWindowing(&ui);
//   ui.Type(IDC_NAME, "RG58");
//   ui.Click(kIdOk);
//   ui.AnswerMessageBox(kIdYes);
//   int result = dialog.DoModal();
//   EXPECT_TRUE(ui.GetFailures().empty());
//
// The queued actions run in order, each inside the innermost modal run that is going on when its
// turn comes: an action that opens a nested dialog lets the following actions act on it, and
// those after its end act on the outer dialog again. A modal run whose dialog is still going when
// the script runs out ends with -1 and reports a failure; so do messages boxes that ask a question
// nobody answered, and script steps aimed at controls that do not exist. Failures are collected
// (GetFailures) and passed to the failure handler if one is set: this backend knows nothing of
// the test framework.

#include "platform/Windowing.h"
#include "platform/headless/HeadlessDialogWindow.h"
#include "res/ResourceIds.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CHeadlessWindowing : public IWindowing {
public:
    using Action = std::function<void()>;

    struct SMessageBoxRecord {
        std::string text;
        std::string caption;
        EMsgBoxType type;
        EMsgBoxIcon icon;
        EMsgBoxDefault defaultButton;
        int ownerLayoutId;  // 0 when the box had no owner
        int answer;
        bool waitCursor;  // shown while the busy cursor was
    };
    struct SFileChooserRecord {
        SFileChooser request;
        int ownerLayoutId;
        bool waitCursor;
    };
    struct SPopupMenuRecord {
        std::vector<SPopupMenuItem> items;
        int ownerLayoutId;
        int chosen;  // the index chosen, or -1
    };
    struct SDialogRecord {
        int layoutId;
        int ownerLayoutId;
        int result;  // what RunModal returned; -1 while it runs
    };

    CHeadlessWindowing() = default;
    ~CHeadlessWindowing() override;
    CHeadlessWindowing(const CHeadlessWindowing&) = delete;
    CHeadlessWindowing& operator=(const CHeadlessWindowing&) = delete;

    void InitCommonControls(unsigned classSet) override;
    // Returns nullptr instead of a window once after FailNextDialogWindow.
    std::unique_ptr<IDialogWindow> CreateDialogWindow(CDialog& dialog, const SDialogLayout& layout,
                                                      IDialogWindow* owner) override;
    // Records the box and answers it from the queued answers: an OK box takes a queued kIdOk (and
    // only that) and answers kIdOk; a Yes/No box takes the next answer, which must be kIdYes or
    // kIdNo (or Enter, AnswerMessageBoxWithEnter: its default button), and otherwise (none queued,
    // or another) reports a failure and answers kIdNo.
    int ShowMessageBox(IDialogWindow* owner, const std::string& text, const std::string& caption, EMsgBoxType type,
                       EMsgBoxIcon icon, EMsgBoxDefault defaultButton) override;
    // The clipboard: text put there by the program or by SetClipboard.
    bool SetClipboardText(const std::string& text) override;
    std::optional<SClipboardText> GetClipboardText() override;
    // Records the request and answers the next queued file answer; none queued is Cancel.
    std::optional<std::string> ChooseFile(IDialogWindow* owner, const SFileChooser& request) override;
    // Counts the nesting of the busy cursor; an End without a Begin reports a failure.
    void BeginWaitCursor() override;
    void EndWaitCursor() noexcept override;

    // The script: each call queues one action for the innermost running dialog.
    void Queue(Action action);
    // Clicks control id; a disabled or missing control ignores it (a missing one reports a failure).
    void Click(int id);
    // Replaces the text of edit field id as typing would, leaving the field focused with the caret at
    // the end; line feeds, carriage returns and NULs are dropped, as the real fields do.
    void Type(int id, const std::string& text);
    // Moves the focus to control id as Tab would; an edit field gets its text selected.
    void Focus(int id);
    // Enter: the command CommandForEnter gives for the focused control.
    void PressEnter();
    // Escape and the close box: Cancel, unless the dialog's Cancel button is disabled.
    void PressEscape();
    void CloseBox();
    // Chooses system-menu item id; an id that is not in the menu reports a failure.
    void SysCommand(unsigned id);
    // Clicks row of list control id (-1: clicks below the rows), which focuses the list.
    void SelectListRow(int id, int row);
    // Double-clicks row of list control id (-1: below the rows): a click, then the notification.
    void DoubleClickListRow(int id, int row);
    // Presses key (a virtual-key code) with modifiers: the dialog's accelerator for it, else, in a
    // focused list, the list's key notification.
    void PressKey(unsigned key, unsigned modifiers = 0);
    // Asks for the context menu over control id (0 for none), as the right button or the Menu
    // key would.
    void ContextMenu(int id);
    // Drops files (full paths) on the window.
    void DropFiles(std::vector<std::string> paths);
    // The window is painted.
    void Paint();
    // Runs check (assertions of the test) in the middle of the script.
    void Check(Action check);

    // Answers for message boxes (kIdOk, kIdYes, kIdNo) and file choosers (a path, or nullopt for
    // Cancel), taken in order.
    void AnswerMessageBox(int answer);
    // The next Yes/No box is answered with Enter: its default button.
    void AnswerMessageBoxWithEnter();
    // What another program put on the clipboard (nothing: no text); while busy, the clipboard cannot
    // be had.
    void SetClipboard(std::optional<SClipboardText> content);
    void SetClipboardBusy(bool busy) { m_clipboardBusy = busy; }
    const std::optional<SClipboardText>& GetClipboard() const { return m_clipboard; }
    void AnswerFileChooser(std::optional<std::string> path);
    // The next popup menu chooses the item labelled label (its text without "&" and shortcut), or
    // is dismissed for nullopt. A disabled item cannot be chosen: the menu is then dismissed.
    void AnswerPopupMenu(std::optional<std::string> label);
    // The next CreateDialogWindow fails (DoModal then gives -1).
    void FailNextDialogWindow();

    // What happened.
    const std::vector<SMessageBoxRecord>& GetMessageBoxes() const { return m_messageBoxes; }
    const std::vector<SFileChooserRecord>& GetFileChoosers() const { return m_fileChoosers; }
    const std::vector<SPopupMenuRecord>& GetPopupMenus() const { return m_popupMenus; }
    const std::vector<SDialogRecord>& GetDialogs() const { return m_dialogs; }
    const std::vector<std::string>& GetFailures() const { return m_failures; }
    unsigned GetInitializedControlClasses() const { return m_controlClasses; }
    bool IsWaitCursorShown() const { return m_waitDepth > 0; }
    // How many times the busy cursor came up (outermost Begins).
    int GetWaitCursorCount() const { return m_waitCount; }
    std::size_t GetPendingActionCount() const { return m_actions.size(); }

    // The innermost running window, or nullptr.
    CHeadlessDialogWindow* ActiveWindow() const;
    // The innermost running window of layout layoutId, or nullptr.
    CHeadlessDialogWindow* FindWindow(int layoutId) const;

    // Called with each failure as it is reported, in addition to collecting it.
    void SetFailureHandler(std::function<void(const std::string&)> handler);
    void ReportFailure(const std::string& message);

    // For CHeadlessDialogWindow: the modal runs, and the next action.
    void BeginModalRun(CHeadlessDialogWindow& window);
    void EndModalRun(CHeadlessDialogWindow& window, int result);
    // Runs the next action; false when none is queued.
    bool RunNextAction();
    // For CHeadlessDialogWindow: records a popup menu of owner and answers it.
    int ChooseFromPopupMenu(const IDialogWindow& owner, const std::vector<SPopupMenuItem>& items);

private:
    // Queues action against the window that is innermost when its turn comes (a failure when none runs).
    void QueueForActiveWindow(std::function<void(CHeadlessDialogWindow&)> action);
    int TakeMessageBoxAnswer(const std::string& text, EMsgBoxType type, EMsgBoxDefault defaultButton);

    std::deque<Action> m_actions;
    std::deque<int> m_messageBoxAnswers;
    std::deque<std::optional<std::string>> m_fileAnswers;
    std::deque<std::optional<std::string>> m_menuAnswers;
    std::vector<CHeadlessDialogWindow*> m_running;
    std::vector<std::size_t> m_runningRecords;
    std::vector<SMessageBoxRecord> m_messageBoxes;
    std::vector<SFileChooserRecord> m_fileChoosers;
    std::vector<SPopupMenuRecord> m_popupMenus;
    std::vector<SDialogRecord> m_dialogs;
    std::vector<std::string> m_failures;
    std::function<void(const std::string&)> m_failureHandler;
    unsigned m_controlClasses = 0;
    bool m_failNextWindow = false;
    int m_waitDepth = 0;
    int m_waitCount = 0;
    std::optional<SClipboardText> m_clipboard;
    bool m_clipboardBusy = false;
};
