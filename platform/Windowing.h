#pragma once
// The windowing services that dialogs reach the screen through. A backend (Qt, headless for tests,
// Win32) implements IWindowing and IDialogWindow; nothing here names a toolkit.
//
// Names avoid those that the Win32 headers define as macros (MessageBox, GetDlgItemText, LoadString,
// CreateDialog, IDOK...), so that a backend can include both.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class IListSource;
class CDialog;
struct SDialogLayout;

enum class EMsgBoxType { Ok = 0, YesNo = 4 };
enum class EMsgBoxIcon { Warning, Question };
// The button of a Yes/No box that Enter presses.
enum class EMsgBoxDefault { Yes, No };

// List control extended styles and column alignment.
constexpr unsigned kLvsExGridLines = 0x1;
constexpr unsigned kLvsExFullRowSelect = 0x20;
constexpr int kLvcfmtLeft = 0;

// A list shows at most this many characters of a cell, then an ellipsis: laying out a longer text
// at every repaint would freeze the window. The cell itself keeps all its bytes.
constexpr std::size_t kMaxShownCellChars = 4096;

// Common-control class set that covers all the standard controls.
constexpr unsigned kIccStandardClasses = 0xFF;

// The bits of a system-menu command id that name the command; the low four are the platform's.
constexpr unsigned kSysCommandMask = 0xFFF0;

// Notification codes: what happened to a control.
constexpr int kBnClicked = 0;      // a button was clicked
constexpr int kNmDblClk = -3;      // a list row was double-clicked (SNotify::row, -1 below the rows)
constexpr int kLvnKeyDown = -155;  // a key was pressed in a list (SNotify::key)

// A notification from control id.
struct SNotify {
    int code;
    int id;
    int row = -1;      // kNmDblClk
    unsigned key = 0;  // kLvnKeyDown: a virtual-key code (res/Commands.h)
};

// A position on the screen, in the backend's own coordinates.
struct SScreenPoint {
    int x = 0;
    int y = 0;
};

// An item of a popup menu as a backend shows it.
struct SPopupMenuItem {
    bool separator = false;
    std::string text;  // "&" marks the mnemonic; a tab comes before the shortcut's name
    bool enabled = true;
};

// Text taken from the clipboard, in the user's character set.
struct SClipboardText {
    std::string text;
    // The first line (counted from 1 at line feeds) that held a character the character set cannot
    // hold, which text then has as "?"; 0 when every character converted.
    int unconvertibleLine = 0;
};

// What a file chooser is asked for.
struct SFileChooser {
    bool save = false;             // a save chooser; else an open chooser
    std::string title;             // the chooser's title; "" leaves the system's own
    std::string defaultExt;        // appended (with ".") to a chosen name without extension
    std::string fileName;          // the name offered at first, without folder
    std::string initialFolder;     // the folder shown at first; "" leaves it to the system
    std::string filter;            // "description|pattern|...||"; the first entry is preselected
    bool hideReadOnly = false;     // no "open as read-only" box
    bool overwritePrompt = false;  // a save chooser asks before an existing file is replaced
};

// One dialog window made by a backend for a CDialog, alive while the dialog runs.
class IDialogWindow {
public:
    virtual ~IDialogWindow() = default;

    // Shows the window modally, its owner disabled meanwhile. Before showing it calls the
    // dialog's HandleInitDialog, and when that returns true focuses the first tab stop. Returns the
    // result passed to EndModal.
    virtual int RunModal() = 0;
    // Ends RunModal with result once the current handler returns.
    virtual void EndModal(int result) = 0;

    // Control state; id is a control id of the layout.
    virtual std::string GetControlText(int id) const = 0;
    virtual void SetControlText(int id, const std::string& text) = 0;
    virtual void EnableControl(int id, bool enable) = 0;
    virtual bool IsControlEnabled(int id) const = 0;
    // Gives the control the focus; an edit field gets its whole text selected.
    virtual void FocusControl(int id) = 0;
    // The id of the control that has the focus, or 0 when none has.
    virtual int GetFocusedControl() const = 0;

    // List control id displays the rows of table, which outlives the window.
    virtual void AttachList(int id, IListSource& table) = 0;
    // Inserts a list column; width is in pixels of the design (see kDesignedBaseUnitX), which the
    // backend scales to its font and widens where the heading would not fit.
    virtual void InsertListColumn(int id, int column, const std::string& heading, int format, int width) = 0;
    virtual unsigned GetListExtendedStyle(int id) const = 0;
    virtual void SetListExtendedStyle(int id, unsigned styles) = 0;
    // Scrolls list control id as little as needed for row (a row of its table) to be wholly in view.
    virtual void EnsureListRowVisible(int id, int row) = 0;

    // The window's system menu. Where the platform has none of its own, the backend offers the
    // appended items another way (a context menu); choosing one calls HandleSysCommand(id).
    virtual bool HasSystemMenu() const = 0;
    virtual void AppendSystemMenuSeparator() = 0;
    virtual void AppendSystemMenuItem(unsigned id, const std::string& text) = 0;

    // Shows items as a popup menu at where and waits for the user. Returns the index of the item
    // chosen, or -1.
    virtual int TrackPopupMenu(const std::vector<SPopupMenuItem>& items, SScreenPoint where) = 0;

    // Runs the dialog's command id (HandleCommand) once the window is shown and waits for the user.
    virtual void PostCommand(int id) = 0;
    // Whether files dropped on the window reach the dialog (HandleDropFiles).
    virtual void DragAcceptFiles(bool accept) = 0;

    // Window icon from icon resource iconId, large (title bar, task switcher) or small.
    virtual void SetIcon(int iconId, bool large) = 0;

    // Painting a minimised window (backends whose platform draws minimised windows itself never
    // ask the dialog to).
    virtual bool IsMinimized() const = 0;
    virtual void GetClientSize(int& width, int& height) const = 0;
    virtual void GetSystemIconSize(int& width, int& height) const = 0;
    virtual void EraseIconBackground() = 0;
    virtual void DrawIcon(int iconId, int x, int y) = 0;
    virtual void DefaultPaint() = 0;
};

// The backend.
class IWindowing {
public:
    virtual ~IWindowing() = default;

    // Registers the common control classes; called once before the first window.
    virtual void InitCommonControls(unsigned classSet) = 0;

    // Makes the window for dialog from layout, owned by owner (nullptr for the main window).
    // Returns nullptr when the window cannot be created.
    virtual std::unique_ptr<IDialogWindow> CreateDialogWindow(CDialog& dialog, const SDialogLayout& layout,
                                                              IDialogWindow* owner) = 0;

    // A modal message box owned by owner (may be nullptr); Enter presses defaultButton of a Yes/No
    // box. Returns kIdOk, kIdYes or kIdNo.
    virtual int ShowMessageBox(IDialogWindow* owner, const std::string& text, const std::string& caption,
                               EMsgBoxType type, EMsgBoxIcon icon, EMsgBoxDefault defaultButton) = 0;

    // Puts text (the user's character set; lines end as the system's text does) on the clipboard.
    // Returns false when the clipboard cannot be had.
    virtual bool SetClipboardText(const std::string& text) = 0;
    // The clipboard's text, or nothing when it holds none or cannot be had.
    virtual std::optional<SClipboardText> GetClipboardText() = 0;

    // A modal file chooser owned by owner. Returns the chosen full path, or nothing on Cancel.
    virtual std::optional<std::string> ChooseFile(IDialogWindow* owner, const SFileChooser& request) = 0;

    // The busy cursor over every window of the program, from the outermost Begin to its End
    // (CWaitCursor pairs them). End never fails.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() noexcept = 0;
};

// The backend in use. Set once at start-up, or by a test; the caller keeps it alive.
IWindowing& GetWindowing();
void SetWindowing(IWindowing* windowing);
