#include "platform/headless/HeadlessWindowing.h"

#include "platform/Dialog.h"

#include <exception>
#include <utility>

namespace {

// A menu item's text as the user reads it: without the mnemonic's "&" and the shortcut's name.
std::string MenuLabel(const std::string& text) {
    std::string label;
    for (std::size_t i = 0; i < text.size() && text[i] != '\t'; ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        label += text[i];
    }
    return label;
}

// A queued answer that stands for Enter.
constexpr int kEnterAnswer = 0;

int LayoutIdOf(const IDialogWindow* window) {
    const auto* headless = dynamic_cast<const CHeadlessDialogWindow*>(window);
    return headless ? headless->GetLayout().id : 0;
}

}  // namespace

CHeadlessWindowing::~CHeadlessWindowing() = default;

void CHeadlessWindowing::InitCommonControls(unsigned classSet) { m_controlClasses |= classSet; }

std::unique_ptr<IDialogWindow> CHeadlessWindowing::CreateDialogWindow(CDialog& dialog, const SDialogLayout& layout,
                                                                      IDialogWindow* owner) {
    if (std::exchange(m_failNextWindow, false)) return nullptr;
    return std::make_unique<CHeadlessDialogWindow>(*this, dialog, layout, owner);
}

int CHeadlessWindowing::ShowMessageBox(IDialogWindow* owner, const std::string& text, const std::string& caption,
                                       EMsgBoxType type, EMsgBoxIcon icon, EMsgBoxDefault defaultButton) {
    const int answer = TakeMessageBoxAnswer(text, type, defaultButton);
    m_messageBoxes.push_back(
        SMessageBoxRecord{text, caption, type, icon, defaultButton, LayoutIdOf(owner), answer, IsWaitCursorShown()});
    return answer;
}

bool CHeadlessWindowing::SetClipboardText(const std::string& text) {
    if (m_clipboardBusy) return false;
    m_clipboard = SClipboardText{text, 0};
    return true;
}

std::optional<SClipboardText> CHeadlessWindowing::GetClipboardText() {
    if (m_clipboardBusy) return std::nullopt;
    return m_clipboard;
}

void CHeadlessWindowing::SetClipboard(std::optional<SClipboardText> content) { m_clipboard = std::move(content); }

int CHeadlessWindowing::TakeMessageBoxAnswer(const std::string& text, EMsgBoxType type, EMsgBoxDefault defaultButton) {
    if (type == EMsgBoxType::Ok) {
        if (!m_messageBoxAnswers.empty() && m_messageBoxAnswers.front() == kIdOk) m_messageBoxAnswers.pop_front();
        return kIdOk;
    }
    if (m_messageBoxAnswers.empty()) {
        ReportFailure("no answer queued for the question \"" + text + "\"");
        return kIdNo;
    }
    int answer = m_messageBoxAnswers.front();
    m_messageBoxAnswers.pop_front();
    if (answer == kEnterAnswer) answer = defaultButton == EMsgBoxDefault::No ? kIdNo : kIdYes;
    if (answer == kIdYes || answer == kIdNo) return answer;
    ReportFailure("answer " + std::to_string(answer) + " queued for the question \"" + text + "\"");
    return kIdNo;
}

std::optional<std::string> CHeadlessWindowing::ChooseFile(IDialogWindow* owner, const SFileChooser& request) {
    m_fileChoosers.push_back(SFileChooserRecord{request, LayoutIdOf(owner), IsWaitCursorShown()});
    if (m_fileAnswers.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(m_fileAnswers.front());
    m_fileAnswers.pop_front();
    return answer;
}

void CHeadlessWindowing::BeginWaitCursor() {
    if (m_waitDepth++ == 0) ++m_waitCount;
}

void CHeadlessWindowing::EndWaitCursor() noexcept {
    if (m_waitDepth > 0) {
        --m_waitDepth;
        return;
    }
    try {
        ReportFailure("the busy cursor ended without having begun");
    } catch (...) {
        // A test's failure handler may throw; nothing may leave a destructor's call.
    }
}

void CHeadlessWindowing::Queue(Action action) { m_actions.push_back(std::move(action)); }

void CHeadlessWindowing::QueueForActiveWindow(std::function<void(CHeadlessDialogWindow&)> action) {
    Queue([this, action = std::move(action)] {
        if (CHeadlessDialogWindow* window = ActiveWindow()) {
            action(*window);
        } else {
            ReportFailure("a script step ran while no dialog was running");
        }
    });
}

void CHeadlessWindowing::Click(int id) {
    QueueForActiveWindow([id](CHeadlessDialogWindow& window) { window.UserClick(id); });
}

void CHeadlessWindowing::Type(int id, const std::string& text) {
    QueueForActiveWindow([id, text](CHeadlessDialogWindow& window) { window.UserType(id, text); });
}

void CHeadlessWindowing::Focus(int id) {
    QueueForActiveWindow([id](CHeadlessDialogWindow& window) { window.UserFocus(id); });
}

void CHeadlessWindowing::PressEnter() {
    QueueForActiveWindow([](CHeadlessDialogWindow& window) { window.UserPressEnter(); });
}

void CHeadlessWindowing::PressEscape() {
    QueueForActiveWindow([](CHeadlessDialogWindow& window) { window.UserPressEscape(); });
}

void CHeadlessWindowing::CloseBox() { PressEscape(); }

void CHeadlessWindowing::SysCommand(unsigned id) {
    QueueForActiveWindow([id](CHeadlessDialogWindow& window) { window.UserSysCommand(id); });
}

void CHeadlessWindowing::SelectListRow(int id, int row) {
    QueueForActiveWindow([id, row](CHeadlessDialogWindow& window) { window.UserSelectListRow(id, row); });
}

void CHeadlessWindowing::DoubleClickListRow(int id, int row) {
    QueueForActiveWindow([id, row](CHeadlessDialogWindow& window) { window.UserDoubleClickListRow(id, row); });
}

void CHeadlessWindowing::PressKey(unsigned key, unsigned modifiers) {
    QueueForActiveWindow([key, modifiers](CHeadlessDialogWindow& window) { window.UserPressKey(key, modifiers); });
}

void CHeadlessWindowing::ContextMenu(int id) {
    QueueForActiveWindow([id](CHeadlessDialogWindow& window) { window.UserContextMenu(id); });
}

void CHeadlessWindowing::DropFiles(std::vector<std::string> paths) {
    QueueForActiveWindow([paths = std::move(paths)](CHeadlessDialogWindow& window) { window.UserDropFiles(paths); });
}

void CHeadlessWindowing::Paint() {
    QueueForActiveWindow([](CHeadlessDialogWindow& window) { window.UserPaint(); });
}

void CHeadlessWindowing::Check(Action check) { Queue(std::move(check)); }

void CHeadlessWindowing::AnswerMessageBox(int answer) { m_messageBoxAnswers.push_back(answer); }

void CHeadlessWindowing::AnswerMessageBoxWithEnter() { m_messageBoxAnswers.push_back(kEnterAnswer); }

void CHeadlessWindowing::AnswerFileChooser(std::optional<std::string> path) {
    m_fileAnswers.push_back(std::move(path));
}

void CHeadlessWindowing::AnswerPopupMenu(std::optional<std::string> label) {
    m_menuAnswers.push_back(std::move(label));
}

void CHeadlessWindowing::FailNextDialogWindow() { m_failNextWindow = true; }

CHeadlessDialogWindow* CHeadlessWindowing::ActiveWindow() const {
    return m_running.empty() ? nullptr : m_running.back();
}

CHeadlessDialogWindow* CHeadlessWindowing::FindWindow(int layoutId) const {
    for (auto it = m_running.rbegin(); it != m_running.rend(); ++it) {
        if ((*it)->GetLayout().id == layoutId) return *it;
    }
    return nullptr;
}

void CHeadlessWindowing::SetFailureHandler(std::function<void(const std::string&)> handler) {
    m_failureHandler = std::move(handler);
}

void CHeadlessWindowing::ReportFailure(const std::string& message) {
    m_failures.push_back(message);
    if (m_failureHandler) m_failureHandler(message);
}

void CHeadlessWindowing::BeginModalRun(CHeadlessDialogWindow& window) {
    m_dialogs.push_back(SDialogRecord{window.GetLayout().id, window.GetOwnerLayoutId(), -1});
    m_running.push_back(&window);
    m_runningRecords.push_back(m_dialogs.size() - 1);
}

void CHeadlessWindowing::EndModalRun(CHeadlessDialogWindow& window, int result) {
    if (m_running.empty() || m_running.back() != &window) return;
    m_dialogs[m_runningRecords.back()].result = result;
    m_running.pop_back();
    m_runningRecords.pop_back();
}

int CHeadlessWindowing::ChooseFromPopupMenu(const IDialogWindow& owner, const std::vector<SPopupMenuItem>& items) {
    std::optional<std::string> label;
    if (!m_menuAnswers.empty()) {
        label = std::move(m_menuAnswers.front());
        m_menuAnswers.pop_front();
    }
    int chosen = -1;
    bool found = false;
    for (std::size_t i = 0; label && i < items.size(); ++i) {
        if (items[i].separator || MenuLabel(items[i].text) != *label) continue;
        found = true;
        if (items[i].enabled) chosen = static_cast<int>(i);
    }
    // A label that names no item is a slip in the test, not a choice the user could make.
    if (label && !found) ReportFailure("the menu holds no item \"" + *label + "\"");
    m_popupMenus.push_back(SPopupMenuRecord{items, LayoutIdOf(&owner), chosen});
    return chosen;
}

bool CHeadlessWindowing::RunNextAction() {
    if (m_actions.empty()) return false;
    const Action action = std::move(m_actions.front());
    m_actions.pop_front();
    try {
        action();
    } catch (const std::exception& error) {
        ReportFailure(std::string("a script step threw: ") + error.what());
    } catch (...) {
        ReportFailure("a script step threw");
    }
    return true;
}
