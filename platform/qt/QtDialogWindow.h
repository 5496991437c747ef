#pragma once
// A dialog's window on Qt Widgets, built from its layout. Enter, Escape and the close box become
// the dialog's commands by the shared rules of DialogKeys.h, and nothing else of the toolkit's own
// default-button handling applies; other keys go to the dialog's accelerators, and in a list to
// the dialog as the list's notifications, as do double clicks on its rows. The context menu (right
// mouse button, the Menu key, Shift+F10) is the dialog's; a dialog without one shows there the
// system-menu items it appended, since on Linux the window manager owns the title bar's menu.
// A window opens wholly on its screen; a resizable one is as large as designed where the screen
// allows, and its growing controls take the room it is given beyond that.

#include "platform/Windowing.h"
#include "platform/qt/DialogUnits.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class CCopyDropFilter;
class CLocaleCodec;
class QMenu;
struct SControlLayout;

class CQtDialogWindow final : public QDialog, public IDialogWindow {
public:
    // The window for dialog from layout, owned by owner (nullptr for none).
    CQtDialogWindow(CDialog& dialog, const SDialogLayout& layout, CQtDialogWindow* owner, const CLocaleCodec& codec);
    ~CQtDialogWindow() override;

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
    void PostCommand(int id) override;
    // Takes the local files of a drop (URLs of other kinds are refused), answering it as a copy.
    void DragAcceptFiles(bool accept) override;

    void SetIcon(int iconId, bool large) override;

    // The toolkit draws minimised windows itself: these are never needed and do nothing much.
    bool IsMinimized() const override;
    void GetClientSize(int& width, int& height) const override;
    void GetSystemIconSize(int& width, int& height) const override;
    void EraseIconBackground() override {}
    void DrawIcon(int, int, int) override {}
    void DefaultPaint() override {}

    // The widget of control id (its object name is ControlObjectName(id)), or nullptr.
    QWidget* GetControlWidget(int id) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Runs a handler of the dialog; an EndModal it asked for takes effect once the outermost
    // handler returns. Whatever it lets through is logged and goes no further.
    void Dispatch(const std::function<void()>& handler);
    bool HandleKey(const QKeyEvent& event, QWidget* target);
    void SendCommand(int id);
    // A click on a push button (mouse, Space, an assistive tool) sends the button's command.
    void ConnectButtons();
    // A double click on a list's row notifies the dialog.
    void ConnectLists();
    // The dialog's key handling for a key that is not Enter or Escape; true when it used the key.
    bool HandleDialogKey(const QKeyEvent& event, QWidget* target);
    // The dialog's context menu over control controlId, else the appended system-menu items.
    void ShowContextMenu(int controlId, const QPoint& globalPosition);
    void ShowSystemMenu(const QPoint& globalPosition);
    // The id of the control that widget is or is inside, or 0.
    int ControlIdOf(const QWidget* widget) const;
    bool HasSystemMenuItems() const;
    void FocusFirstTabStop();
    // Sizes and places the window before it shows: centred over its owner, or on its screen.
    void PlaceOnScreen();
    // Once the window manager has framed the window, moves it so that the frame is wholly on the
    // screen; a resizable window takes the size that the real frame leaves room for.
    void KeepFrameOnScreenOnceFramed();
    // Gives the growing controls the window's room beyond its designed size.
    void LayOutGrowingControls();
    const SControlLayout* FindControl(int id) const;
    QMenu& SystemMenu();

    CDialog& m_dialog;
    const SDialogLayout& m_layout;
    const CLocaleCodec& m_codec;
    CDialogUnits m_units;
    QSize m_designedSize;
    bool m_framed = false;
    std::vector<QWidget*> m_controls;  // one per control of the layout, in its order
    QMenu* m_systemMenu = nullptr;
    bool m_running = false;
    int m_handlerDepth = 0;
    CCopyDropFilter* m_dropFilter = nullptr;  // a child of the window, made by DragAcceptFiles
    std::optional<int> m_endResult;
    bool m_menuShownByKey = false;
};
