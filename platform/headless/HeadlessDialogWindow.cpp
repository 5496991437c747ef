#include "platform/headless/HeadlessDialogWindow.h"

#include "platform/Dialog.h"
#include "platform/DialogKeys.h"
#include "platform/FieldText.h"
#include "platform/ListSource.h"
#include "platform/headless/HeadlessWindowing.h"
#include "res/ResourceIds.h"

#include <algorithm>
#include <utility>

namespace {

// Dialog units to pixels for a window that has no font: about what an 8-point font gives.
constexpr int kPixelsPer4DialogUnitsX = 6;
constexpr int kPixelsPer8DialogUnitsY = 13;

}  // namespace

CHeadlessDialogWindow::CHeadlessDialogWindow(CHeadlessWindowing& windowing, CDialog& dialog,
                                             const SDialogLayout& layout, IDialogWindow* owner)
    : m_windowing(windowing),
      m_dialog(dialog),
      m_layout(layout),
      m_owner(owner),
      m_clientWidth(layout.cx * kPixelsPer4DialogUnitsX / 4),
      m_clientHeight(layout.cy * kPixelsPer8DialogUnitsY / 8) {
    for (const SControlLayout& control : layout.controls) {
        if (control.id == IDC_STATIC) continue;
        SControl& state = m_controls[control.id];
        state.kind = control.kind;
        state.style = control.style;
        state.text = control.text;
    }
}

int CHeadlessDialogWindow::RunModal() {
    m_windowing.BeginModalRun(*this);
    if (m_dialog.HandleInitDialog()) FocusFirstTabStop();
    while (!m_ended) {
        if (!m_postedCommands.empty()) {
            const int id = m_postedCommands.front();
            m_postedCommands.pop_front();
            m_dialog.HandleCommand(id);
        } else if (!m_windowing.RunNextAction()) {
            ReportFailure("the script ran out while the dialog was still open");
            EndModal(-1);
        }
    }
    m_windowing.EndModalRun(*this, m_result);
    return m_result;
}

void CHeadlessDialogWindow::EndModal(int result) {
    if (m_ended) return;
    m_ended = true;
    m_result = result;
}

std::string CHeadlessDialogWindow::GetControlText(int id) const {
    const SControl* control = FindControl(id, "GetControlText");
    return control ? control->text : std::string();
}

void CHeadlessDialogWindow::SetControlText(int id, const std::string& text) {
    SControl* control = FindControl(id, "SetControlText");
    if (!control) return;
    control->text = control->kind == EControlKind::Edit ? RemoveLineBreaksAndNul(text) : text;
    control->textSelected = false;
}

void CHeadlessDialogWindow::EnableControl(int id, bool enable) {
    SControl* control = FindControl(id, "EnableControl");
    if (!control) return;
    control->enabled = enable;
    if (!enable && m_focused == id) m_focused = 0;
}

bool CHeadlessDialogWindow::IsControlEnabled(int id) const {
    const SControl* control = FindControl(id, "IsControlEnabled");
    return control && control->enabled;
}

void CHeadlessDialogWindow::FocusControl(int id) {
    SControl* control = FindControl(id, "FocusControl");
    if (!control) return;
    m_focused = id;
    if (control->kind == EControlKind::Edit) control->textSelected = !control->text.empty();
}

int CHeadlessDialogWindow::GetFocusedControl() const { return m_focused; }

void CHeadlessDialogWindow::AttachList(int id, IListSource& table) {
    if (SControl* control = FindControl(id, "AttachList")) control->table = &table;
}

void CHeadlessDialogWindow::InsertListColumn(int id, int column, const std::string& heading, int format, int width) {
    SControl* control = FindControl(id, "InsertListColumn");
    if (!control) return;
    const int count = static_cast<int>(control->columns.size());
    column = std::clamp(column, 0, count);
    control->columns.insert(control->columns.begin() + column, SListColumn{heading, format, width});
}

unsigned CHeadlessDialogWindow::GetListExtendedStyle(int id) const {
    const SControl* control = FindControl(id, "GetListExtendedStyle");
    return control ? control->listStyle : 0;
}

void CHeadlessDialogWindow::SetListExtendedStyle(int id, unsigned styles) {
    if (SControl* control = FindControl(id, "SetListExtendedStyle")) control->listStyle = styles;
}

void CHeadlessDialogWindow::EnsureListRowVisible(int id, int row) {
    SControl* control = FindControl(id, "EnsureListRowVisible");
    if (!control || !control->table) return;
    if (row < 0 || row >= control->table->GetItemCount()) {
        ReportFailure("EnsureListRowVisible: the list has no row " + std::to_string(row));
        return;
    }
    if (row < control->listTopRow) control->listTopRow = row;
    if (row >= control->listTopRow + kListRowsInView) control->listTopRow = row - kListRowsInView + 1;
}

int CHeadlessDialogWindow::GetListTopRow(int id) const {
    const SControl* control = FindControl(id, "GetListTopRow");
    return control ? control->listTopRow : 0;
}

bool CHeadlessDialogWindow::IsListRowInView(int id, int row) const {
    const int top = GetListTopRow(id);
    return row >= top && row < top + kListRowsInView;
}

bool CHeadlessDialogWindow::HasSystemMenu() const { return (m_layout.style & kDsSysMenu) != 0; }

void CHeadlessDialogWindow::AppendSystemMenuSeparator() { m_systemMenu.push_back(SMenuItem{true, 0, {}}); }

void CHeadlessDialogWindow::AppendSystemMenuItem(unsigned id, const std::string& text) {
    m_systemMenu.push_back(SMenuItem{false, id, text});
}

void CHeadlessDialogWindow::PostCommand(int id) { m_postedCommands.push_back(id); }

void CHeadlessDialogWindow::DragAcceptFiles(bool accept) { m_acceptsFiles = accept; }

int CHeadlessDialogWindow::TrackPopupMenu(const std::vector<SPopupMenuItem>& items, SScreenPoint) {
    return m_windowing.ChooseFromPopupMenu(*this, items);
}

void CHeadlessDialogWindow::SetIcon(int iconId, bool large) { (large ? m_largeIcon : m_smallIcon) = iconId; }

bool CHeadlessDialogWindow::IsMinimized() const { return m_minimized; }

void CHeadlessDialogWindow::GetClientSize(int& width, int& height) const {
    width = m_clientWidth;
    height = m_clientHeight;
}

void CHeadlessDialogWindow::GetSystemIconSize(int& width, int& height) const {
    width = m_iconWidth;
    height = m_iconHeight;
}

void CHeadlessDialogWindow::EraseIconBackground() { m_paintLog.push_back("EraseIconBackground"); }

void CHeadlessDialogWindow::DrawIcon(int iconId, int x, int y) {
    m_paintLog.push_back("DrawIcon " + std::to_string(iconId) + " at " + std::to_string(x) + "," + std::to_string(y));
}

void CHeadlessDialogWindow::DefaultPaint() { m_paintLog.push_back("DefaultPaint"); }

int CHeadlessDialogWindow::GetOwnerLayoutId() const {
    const auto* owner = dynamic_cast<const CHeadlessDialogWindow*>(m_owner);
    return owner ? owner->GetLayout().id : 0;
}

bool CHeadlessDialogWindow::IsTextSelected(int id) const {
    const SControl* control = FindControl(id, "IsTextSelected");
    return control && control->textSelected;
}

IListSource* CHeadlessDialogWindow::GetListTable(int id) const {
    const SControl* control = FindControl(id, "GetListTable");
    return control ? control->table : nullptr;
}

std::vector<CHeadlessDialogWindow::SListColumn> CHeadlessDialogWindow::GetListColumns(int id) const {
    const SControl* control = FindControl(id, "GetListColumns");
    return control ? control->columns : std::vector<SListColumn>();
}

void CHeadlessDialogWindow::SetClientSize(int width, int height) {
    m_clientWidth = width;
    m_clientHeight = height;
}

void CHeadlessDialogWindow::SetSystemIconSize(int width, int height) {
    m_iconWidth = width;
    m_iconHeight = height;
}

void CHeadlessDialogWindow::UserClick(int id) {
    SControl* control = FindControl(id, "Click");
    if (!control || !control->enabled) return;
    if (control->style & kCsTabStop) m_focused = id;
    if (control->kind == EControlKind::Edit) control->textSelected = false;
    if (control->kind == EControlKind::PushButton) m_dialog.HandleCommand(id);
}

void CHeadlessDialogWindow::UserType(int id, const std::string& text) {
    SControl* control = FindControl(id, "Type");
    if (!control || !control->enabled) return;
    if (control->kind != EControlKind::Edit) {
        ReportFailure("Type into control " + std::to_string(id) + ", which is not an edit field");
        return;
    }
    m_focused = id;
    control->text = RemoveLineBreaksAndNul(text);
    control->textSelected = false;
}

void CHeadlessDialogWindow::UserFocus(int id) {
    const SControl* control = FindControl(id, "Focus");
    if (control && control->enabled) FocusControl(id);
}

void CHeadlessDialogWindow::UserPressEnter() { m_dialog.HandleCommand(CommandForEnter(m_layout, m_focused)); }

void CHeadlessDialogWindow::UserPressEscape() { m_dialog.HandleCommand(CommandForEscape()); }

void CHeadlessDialogWindow::UserSysCommand(unsigned id) {
    const bool inMenu = std::any_of(m_systemMenu.begin(), m_systemMenu.end(), [id](const SMenuItem& item) {
        return !item.separator && (item.id & kSysCommandMask) == (id & kSysCommandMask);
    });
    if (!inMenu) {
        ReportFailure("system-menu command " + std::to_string(id) + " is not in the menu");
        return;
    }
    m_dialog.HandleSysCommand(id, 0);
}

void CHeadlessDialogWindow::UserSelectListRow(int id, int row) {
    SControl* control = FindControl(id, "SelectListRow");
    if (!control || !control->enabled) return;
    if (control->kind != EControlKind::ListView || !control->table) {
        ReportFailure("SelectListRow on control " + std::to_string(id) + ", which shows no table");
        return;
    }
    if (row < -1 || row >= control->table->GetItemCount()) {
        ReportFailure("SelectListRow: the list has no row " + std::to_string(row));
        return;
    }
    m_focused = id;
    control->table->SelectRow(row);
}

void CHeadlessDialogWindow::UserDoubleClickListRow(int id, int row) {
    UserSelectListRow(id, row);
    if (m_focused == id) m_dialog.HandleNotify(SNotify{kNmDblClk, id, row});
}

void CHeadlessDialogWindow::UserPressKey(unsigned key, unsigned modifiers) {
    if (m_dialog.HandleAccelerator(key, modifiers)) return;
    const auto focused = m_controls.find(m_focused);
    if (focused != m_controls.end() && focused->second.kind == EControlKind::ListView) {
        m_dialog.HandleNotify(SNotify{kLvnKeyDown, m_focused, -1, key});
    }
}

void CHeadlessDialogWindow::UserContextMenu(int id) {
    if (id != 0 && !FindControl(id, "ContextMenu")) return;
    m_dialog.HandleContextMenu(id, SScreenPoint{});
}

void CHeadlessDialogWindow::UserDropFiles(const std::vector<std::string>& paths) {
    if (m_acceptsFiles) m_dialog.HandleDropFiles(paths);
}

void CHeadlessDialogWindow::UserPaint() { m_dialog.HandlePaint(); }

CHeadlessDialogWindow::SControl* CHeadlessDialogWindow::FindControl(int id, const char* operation) {
    return const_cast<SControl*>(std::as_const(*this).FindControl(id, operation));
}

const CHeadlessDialogWindow::SControl* CHeadlessDialogWindow::FindControl(int id, const char* operation) const {
    const auto it = m_controls.find(id);
    if (it != m_controls.end()) return &it->second;
    ReportFailure(std::string(operation) + ": there is no control " + std::to_string(id));
    return nullptr;
}

void CHeadlessDialogWindow::FocusFirstTabStop() {
    for (const SControlLayout& layout : m_layout.controls) {
        if (layout.id == IDC_STATIC || !(layout.style & kCsTabStop)) continue;
        if (!m_controls.at(layout.id).enabled) continue;
        FocusControl(layout.id);
        return;
    }
}

void CHeadlessDialogWindow::ReportFailure(const std::string& message) const {
    m_windowing.ReportFailure("dialog " + std::to_string(m_layout.id) + ": " + message);
}
