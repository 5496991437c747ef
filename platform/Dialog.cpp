#include "platform/Dialog.h"

#include "platform/DataExchange.h"
#include "platform/HandlerFailure.h"
#include "res/Resources.h"

#include <algorithm>
#include <vector>

namespace {

// The dialogs running modally, innermost last.
std::vector<CDialog*>& RunningDialogs() {
    static std::vector<CDialog*> running;
    return running;
}

// Keeps a dialog on the running stack for the length of its modal run.
class CRunningScope {
public:
    explicit CRunningScope(CDialog& dialog) : m_dialog(dialog) { RunningDialogs().push_back(&dialog); }
    ~CRunningScope() { std::erase(RunningDialogs(), &m_dialog); }
    CRunningScope(const CRunningScope&) = delete;
    CRunningScope& operator=(const CRunningScope&) = delete;

private:
    CDialog& m_dialog;
};

}  // namespace

CDialog::CDialog(int layoutId) : m_layoutId(layoutId) {}

CDialog::~CDialog() = default;

int CDialog::DoModal() {
    CDialog* owner = GetActiveDialog();
    try {
        m_window = GetWindowing().CreateDialogWindow(*this, FindDialogLayout(m_layoutId),
                                                     owner ? owner->GetWindow() : nullptr);
    } catch (...) {
        m_window.reset();
    }
    if (!m_window) return -1;
    CRunningScope running(*this);
    int result = -1;
    try {
        result = m_window->RunModal();
    } catch (...) {
        m_window.reset();
        throw;
    }
    m_window.reset();
    return result;
}

void CDialog::EndDialog(int result) {
    if (m_window) m_window->EndModal(result);
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange exchange(*this, saveAndValidate);
    try {
        DoDataExchange(&exchange);
    } catch (const CDataExchangeFailure&) {
        return false;
    }
    return true;
}

std::string CDialog::GetFieldText(int id) const { return m_window ? m_window->GetControlText(id) : std::string(); }

void CDialog::SetFieldText(int id, const std::string& text) {
    if (m_window) m_window->SetControlText(id, text);
}

void CDialog::EnableControl(int id, bool enable) {
    if (m_window) m_window->EnableControl(id, enable);
}

bool CDialog::IsControlEnabled(int id) const { return m_window && m_window->IsControlEnabled(id); }

void CDialog::GotoDlgCtrl(int id) {
    if (m_window) m_window->FocusControl(id);
}

CDialog* CDialog::GetActiveDialog() {
    const std::vector<CDialog*>& running = RunningDialogs();
    return running.empty() ? nullptr : running.back();
}

bool CDialog::HandleInitDialog() {
    try {
        return OnInitDialog();
    } catch (...) {
        ReportHandlerFailure(m_layoutId, "initialisation");
        return true;
    }
}

void CDialog::HandleCommand(int id) {
    try {
        SendCommand(id);
    } catch (...) {
        ReportHandlerFailure(m_layoutId, "command", static_cast<unsigned>(id));
    }
}

void CDialog::HandleNotify(const SNotify& notify) {
    try {
        if (const SMessageEntry* entry = FindMessageEntry(notify.code, notify.id)) {
            (this->*entry->notifyHandler)(notify);
        }
    } catch (...) {
        ReportHandlerFailure(m_layoutId, "notification", static_cast<unsigned>(notify.code));
    }
}

bool CDialog::HandleAccelerator(unsigned key, unsigned modifiers) {
    if (!m_accelerators) return false;
    for (const SAccelerator& accelerator : m_accelerators->entries) {
        if (accelerator.key == key && accelerator.modifiers == modifiers) {
            HandleCommand(accelerator.command);
            return true;
        }
    }
    return false;
}

bool CDialog::HandleContextMenu(int controlId, SScreenPoint where) {
    try {
        return OnContextMenu(controlId, where);
    } catch (...) {
        ReportHandlerFailure(m_layoutId, "context menu", static_cast<unsigned>(controlId));
        return true;
    }
}

void CDialog::HandleDropFiles(const std::vector<std::string>& paths) {
    if (paths.empty() || GetActiveDialog() != this) return;
    try {
        OnDropFiles(paths);
    } catch (...) {
        ReportHandlerFailure(m_layoutId, "dropped files");
    }
}

void CDialog::HandleSysCommand(unsigned id, long param) {
    try {
        OnSysCommand(id, param);
    } catch (...) {
        ReportHandlerFailure(m_layoutId, "system command", id);
    }
}

void CDialog::HandlePaint() {
    try {
        OnPaint();
    } catch (...) {
        ReportHandlerFailure(m_layoutId, "paint");
    }
}

int CDialog::HandleQueryDragIcon() {
    try {
        return OnQueryDragIcon();
    } catch (...) {
        ReportHandlerFailure(m_layoutId, "drag icon");
        return 0;
    }
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (UpdateData(true)) EndDialog(kIdOk);
}

void CDialog::OnCancel() { EndDialog(kIdCancel); }

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnSysCommand(unsigned, long) {}

void CDialog::OnPaint() {
    if (m_window) m_window->DefaultPaint();
}

int CDialog::OnQueryDragIcon() { return 0; }

bool CDialog::OnContextMenu(int, SScreenPoint) { return false; }

void CDialog::OnDropFiles(const std::vector<std::string>&) {}

std::span<const CDialog::SMessageEntry> CDialog::GetMessageMap() const { return {}; }

bool CDialog::IsCommandEnabled(int id) const { return !IsDisabledControl(id); }

void CDialog::SendCommand(int id) {
    if (!IsCommandEnabled(id)) return;
    if (const SMessageEntry* entry = FindMessageEntry(kBnClicked, id)) {
        (this->*entry->handler)();
    } else if (id == kIdOk) {
        OnOK();
    } else if (id == kIdCancel) {
        OnCancel();
    }
}

void CDialog::PostCommand(int id) {
    if (m_window) m_window->PostCommand(id);
}

void CDialog::DragAcceptFiles(bool accept) {
    if (m_window) m_window->DragAcceptFiles(accept);
}

void CDialog::UseAcceleratorTable(int id) { m_accelerators = &FindAcceleratorTable(id); }

void CDialog::TrackContextMenu(int menuId, SScreenPoint where) {
    if (!m_window) return;
    const SMenuLayout& menu = FindMenuLayout(menuId);
    std::vector<SPopupMenuItem> items;
    for (const SMenuItem& item : menu.items) {
        const bool command = item.kind == EMenuItemKind::Command;
        items.push_back(SPopupMenuItem{item.kind == EMenuItemKind::Separator, item.text,
                                       !command || IsCommandEnabled(static_cast<int>(item.id))});
    }
    const int chosen = m_window->TrackPopupMenu(items, where);
    if (chosen < 0 || chosen >= static_cast<int>(menu.items.size())) return;
    const SMenuItem& item = menu.items[static_cast<std::size_t>(chosen)];
    if (item.kind == EMenuItemKind::Command) SendCommand(static_cast<int>(item.id));
    if (item.kind == EMenuItemKind::SysCommand) OnSysCommand(item.id, 0);
}

const CDialog::SMessageEntry* CDialog::FindMessageEntry(int code, int id) const {
    for (const SMessageEntry& entry : GetMessageMap()) {
        if (entry.code == code && entry.id == id) return &entry;
    }
    return nullptr;
}

bool CDialog::IsDisabledControl(int id) const {
    if (!m_window || id == IDC_STATIC) return false;
    const std::span<const SControlLayout> controls = FindDialogLayout(m_layoutId).controls;
    const bool inLayout =
        std::any_of(controls.begin(), controls.end(), [id](const SControlLayout& control) { return control.id == id; });
    return inLayout && !m_window->IsControlEnabled(id);
}
