#pragma once
// The dialog base class: a window built from a layout in res/, a message map from control ids to
// handler members, a data-exchange step between controls and members, and a modal run.
//
//   class CMyDlg : public CDialog {
//       void OnApply();
//       QUORLIS_DECLARE_MESSAGE_MAP()
//   };
//   QUORLIS_BEGIN_MESSAGE_MAP(CMyDlg)
//       ON_BN_CLICKED(IDC_APPLY, &CMyDlg::OnApply)
//   QUORLIS_END_MESSAGE_MAP()

#include "platform/Windowing.h"

#include <memory>
#include <span>
#include <string>

class CDataExchange;

class CDialog {
public:
    using Handler = void (CDialog::*)();
    // A button click (or the dialog manager's kIdOk / kIdCancel command) of control id runs handler.
    struct SMessageEntry {
        int id;
        Handler handler;
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
    void HandleCommand(int id);
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

    virtual std::span<const SMessageEntry> GetMessageMap() const;

private:
    int m_layoutId;
    std::unique_ptr<IDialogWindow> m_window;
};

#define QUORLIS_DECLARE_MESSAGE_MAP() \
protected:                            \
    std::span<const SMessageEntry> GetMessageMap() const override;

#define QUORLIS_BEGIN_MESSAGE_MAP(theClass)                                   \
    std::span<const CDialog::SMessageEntry> theClass::GetMessageMap() const { \
        static const SMessageEntry entries[] = {
#define ON_BN_CLICKED(id, memberFn) SMessageEntry{id, static_cast<Handler>(memberFn)},

#define QUORLIS_END_MESSAGE_MAP() \
    }                             \
    ;                             \
    return entries;               \
    }
