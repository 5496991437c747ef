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
        const std::span<const SMessageEntry> map = GetMessageMap();
        const auto entry = std::find_if(map.begin(), map.end(), [id](const SMessageEntry& e) { return e.id == id; });
        if (entry != map.end()) {
            (this->*entry->handler)();
        } else if (id == kIdOk) {
            OnOK();
        } else if (id == kIdCancel) {
            OnCancel();
        }
    } catch (...) {
        ReportHandlerFailure(m_layoutId, "command", static_cast<unsigned>(id));
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

std::span<const CDialog::SMessageEntry> CDialog::GetMessageMap() const { return {}; }
