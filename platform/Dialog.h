#pragma once
// The dialog base class: a window built from a layout in res/, a message map from control ids to
// handler members, a data-exchange step between controls and members, and a modal run.
//
//   class CMyDlg : public CDialog {
//       void OnApply();
//       void OnListKeyDown(const SNotify& notify);
//       QUORLIS_DECLARE_MESSAGE_MAP()
//   };
//   QUORLIS_BEGIN_MESSAGE_MAP(CMyDlg)
//       ON_BN_CLICKED(IDC_APPLY, &CMyDlg::OnApply)
//       ON_NOTIFY(kLvnKeyDown, IDC_LIST, &CMyDlg::OnListKeyDown)
//   QUORLIS_END_MESSAGE_MAP()

#include "platform/Windowing.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

class CDataExchange;
struct SAcceleratorTable;

class CDialog {
public:
    using Handler = void (CDialog::*)();
    using NotifyHandler = void (CDialog::*)(const SNotify&);
    // Notification code of control id runs a handler: a button click (kBnClicked, which is also
    // the code of the dialog manager's kIdOk / kIdCancel and of menu and accelerator commands)
    // runs handler; a list's notification runs notifyHandler with what it tells.
    struct SMessageEntry {
        int code;
        int id;
        Handler handler;
        NotifyHandler notifyHandler;
    };

    explicit CDialog(int layoutId);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally, owned by the active dialog. Returns the result given to EndDialog
    // (kIdOk, kIdCancel), or -1 when the window cannot be created.
    int DoModal();
    // Ends the modal run with result once the current handler returns.
    void EndDialog(int result);

    // Data exchange: loads the controls from the members (false) or checks the controls and stores
    // them in the members (true). Returns false when a field failed its check; the failing
    // field's message has then been shown and the field has the focus with its text selected.
    bool UpdateData(bool saveAndValidate = true);

    // Control state while the dialog runs.
    std::string GetFieldText(int id) const;
    void SetFieldText(int id, const std::string& text);
    void EnableControl(int id, bool enable);
    bool IsControlEnabled(int id) const;
    // Focuses control id; an edit field gets its whole text selected.
    void GotoDlgCtrl(int id);

    int GetLayoutId() const { return m_layoutId; }
    // The backend window while the dialog runs, else nullptr.
    IDialogWindow* GetWindow() const { return m_window.get(); }
    // The innermost dialog running modally, or nullptr: the owner of message boxes.
    static CDialog* GetActiveDialog();

    // Entry points for backends. Exceptions from handlers stop here and are logged
    // (ReportHandlerFailure): a failed command never ends the program.
    bool HandleInitDialog();
    // Command id: a click, a menu item or an accelerator. A command of a disabled control of the
    // layout is ignored, however it came.
    void HandleCommand(int id);
    void HandleNotify(const SNotify& notify);
    // A key pressed anywhere in the dialog: runs the command of the dialog's accelerator for it.
    // Returns true when there is one (the key is then used up), even when its control is disabled.
    bool HandleAccelerator(unsigned key, unsigned modifiers);
    // The context menu asked for over control id (0 for none) at where. Returns false when the
    // dialog has no menu to show there.
    bool HandleContextMenu(int controlId, SScreenPoint where);
    // Files dropped on the window, as full paths in the file system's bytes. Ignored while another
    // dialog runs over this one.
    void HandleDropFiles(const std::vector<std::string>& paths);
    void HandleSysCommand(unsigned id, long param);
    void HandlePaint();
    int HandleQueryDragIcon();

protected:
    // Loads the controls from the members; true lets the framework focus the first tab stop.
    virtual bool OnInitDialog();
    // Checks and stores the controls, and ends the dialog with kIdOk when they pass.
    virtual void OnOK();
    // Ends the dialog with kIdCancel.
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    // A system-menu command; the default does nothing (the platform handles move, close...).
    virtual void OnSysCommand(unsigned id, long param);
    virtual void OnPaint();
    // The icon resource to show while dragging the minimised window, or 0 for the default.
    virtual int OnQueryDragIcon();
    // Shows a context menu for control id (0 for none) at where, or returns false; the default
    // shows none.
    virtual bool OnContextMenu(int controlId, SScreenPoint where);
    // Files dropped on the window (at least one); the default does nothing.
    virtual void OnDropFiles(const std::vector<std::string>& paths);

    virtual std::span<const SMessageEntry> GetMessageMap() const;
    // Whether command id can run now, however it comes (a click, a key, a menu): by default unless
    // it is a control of the layout that is disabled. A dialog decides for commands of its own.
    virtual bool IsCommandEnabled(int id) const;

    // Runs command id as a click on its control would: nothing when it is not enabled.
    void SendCommand(int id);
    // Runs command id once the window is shown and waits for the user.
    void PostCommand(int id);
    // Lets files be dropped on the window (OnDropFiles).
    void DragAcceptFiles(bool accept = true);
    // Makes the keys of accelerator table id run their commands while the dialog runs.
    void UseAcceleratorTable(int id);
    // Shows menu id at where; its Command items are enabled as IsCommandEnabled says.
    // Runs the command of the item chosen.
    void TrackContextMenu(int menuId, SScreenPoint where);

private:
    const SMessageEntry* FindMessageEntry(int code, int id) const;
    bool IsDisabledControl(int id) const;

    int m_layoutId;
    std::unique_ptr<IDialogWindow> m_window;
    const SAcceleratorTable* m_accelerators = nullptr;
};

#define QUORLIS_DECLARE_MESSAGE_MAP() \
protected:                            \
    std::span<const SMessageEntry> GetMessageMap() const override;

#define QUORLIS_BEGIN_MESSAGE_MAP(theClass)                                   \
    std::span<const CDialog::SMessageEntry> theClass::GetMessageMap() const { \
        static const SMessageEntry entries[] = {
#define ON_BN_CLICKED(id, memberFn) SMessageEntry{kBnClicked, id, static_cast<Handler>(memberFn), nullptr},
#define ON_COMMAND(id, memberFn) ON_BN_CLICKED(id, memberFn)
#define ON_NOTIFY(code, id, memberFn) SMessageEntry{code, id, nullptr, static_cast<NotifyHandler>(memberFn)},

#define QUORLIS_END_MESSAGE_MAP() \
    }                             \
    ;                             \
    return entries;               \
    }
