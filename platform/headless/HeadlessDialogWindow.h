#pragma once
// A dialog window without a screen, for tests: it keeps each control's text, enabled state and
// selection, the focus, the list controls, the system menu, the icons and what was painted, and
// its modal run takes its input from the script of the CHeadlessWindowing that made it.

#include "platform/Windowing.h"
#include "res/Layout.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

class CHeadlessWindowing;

class CHeadlessDialogWindow : public IDialogWindow {
public:
    struct SListColumn {
        std::string heading;
        int format;
        int width;
    };
    struct SMenuItem {
        bool separator;
        unsigned id;
        std::string text;
    };

    CHeadlessDialogWindow(CHeadlessWindowing& windowing, CDialog& dialog, const SDialogLayout& layout,
                          IDialogWindow* owner);

    // Calls the dialog's HandleInitDialog, focuses the first enabled tab stop when it returns true,
    // then runs the commands posted meanwhile and the script's actions until the dialog ends. When
    // the script runs out first, reports a failure and returns -1.
    int RunModal() override;
    void EndModal(int result) override;

    // Control state. Asking for a control the layout does not have reports a failure. Edit fields
    // drop line feeds, carriage returns and NULs from the text they are given.
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
    // Moves the rows in view (kListRowsInView from the top row) as little as shows row.
    void EnsureListRowVisible(int id, int row) override;

    bool HasSystemMenu() const override;
    void AppendSystemMenuSeparator() override;
    void AppendSystemMenuItem(unsigned id, const std::string& text) override;

    // A posted command runs before the next action of the script.
    void PostCommand(int id) override;
    void DragAcceptFiles(bool accept) override;
    // Answered by the script (CHeadlessWindowing::AnswerPopupMenu).
    int TrackPopupMenu(const std::vector<SPopupMenuItem>& items, SScreenPoint where) override;

    void SetIcon(int iconId, bool large) override;

    bool IsMinimized() const override;
    void GetClientSize(int& width, int& height) const override;
    void GetSystemIconSize(int& width, int& height) const override;
    void EraseIconBackground() override;
    void DrawIcon(int iconId, int x, int y) override;
    void DefaultPaint() override;

    // What a test looks at.
    const SDialogLayout& GetLayout() const { return m_layout; }
    // The owner's layout id, or 0 for a window without owner.
    int GetOwnerLayoutId() const;
    bool IsEnded() const { return m_ended; }
    // Whether edit field id holds a selection of its whole (non-empty) text.
    bool IsTextSelected(int id) const;
    // The source that list control id displays, or nullptr before AttachList.
    IListSource* GetListTable(int id) const;
    std::vector<SListColumn> GetListColumns(int id) const;
    // How many rows list control id shows at once, from its top row, which starts at 0 and moves
    // only by EnsureListRowVisible.
    static constexpr int kListRowsInView = 15;
    int GetListTopRow(int id) const;
    // Whether row of list control id is in view.
    bool IsListRowInView(int id, int row) const;
    const std::vector<SMenuItem>& GetSystemMenu() const { return m_systemMenu; }
    // The icon resource set as the large or small icon, or 0.
    int GetIcon(bool large) const { return large ? m_largeIcon : m_smallIcon; }
    // What the paint calls did, in order: "EraseIconBackground", "DrawIcon 128 at 10,20",
    // "DefaultPaint".
    const std::vector<std::string>& GetPaintLog() const { return m_paintLog; }
    void SetMinimized(bool minimized) { m_minimized = minimized; }
    void SetClientSize(int width, int height);
    void SetSystemIconSize(int width, int height);

    // What the user does; the script helpers of CHeadlessWindowing call these. Each acts as the
    // real control would: a disabled control ignores the user.
    void UserClick(int id);
    void UserType(int id, const std::string& text);
    void UserFocus(int id);
    void UserPressEnter();
    void UserPressEscape();
    void UserSysCommand(unsigned id);
    void UserSelectListRow(int id, int row);
    void UserDoubleClickListRow(int id, int row);
    void UserPressKey(unsigned key, unsigned modifiers);
    void UserContextMenu(int id);
    // Files dropped on the window; a window that does not take them refuses them.
    void UserDropFiles(const std::vector<std::string>& paths);
    void UserPaint();

private:
    struct SControl {
        EControlKind kind = EControlKind::StaticText;
        unsigned style = 0;
        std::string text;
        bool enabled = true;
        bool textSelected = false;
        IListSource* table = nullptr;
        unsigned listStyle = 0;
        int listTopRow = 0;
        std::vector<SListColumn> columns;
    };

    // The control id; reports a failure for an id the layout does not have.
    SControl* FindControl(int id, const char* operation);
    const SControl* FindControl(int id, const char* operation) const;
    void FocusFirstTabStop();
    void ReportFailure(const std::string& message) const;

    CHeadlessWindowing& m_windowing;
    CDialog& m_dialog;
    const SDialogLayout& m_layout;
    IDialogWindow* m_owner;
    std::map<int, SControl> m_controls;
    int m_focused = 0;
    bool m_ended = false;
    int m_result = -1;
    std::vector<SMenuItem> m_systemMenu;
    std::deque<int> m_postedCommands;
    bool m_acceptsFiles = false;
    int m_largeIcon = 0;
    int m_smallIcon = 0;
    bool m_minimized = false;
    int m_clientWidth;
    int m_clientHeight;
    int m_iconWidth = 32;
    int m_iconHeight = 32;
    std::vector<std::string> m_paintLog;
};
