#include "platform/win32/Win32ListView.h"

#include "platform/ColumnWidths.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Text.h"
#include "res/Layout.h"

#include <commctrl.h>

#include <algorithm>

CWin32ListView::CWin32ListView(HWND list, IListSource& table) : m_list(list), m_table(table) {
    m_table.SetObserver(this);
    ShowTable();
}

CWin32ListView::~CWin32ListView() { m_table.SetObserver(nullptr); }

bool CWin32ListView::HandleNotify(const NMHDR& header, LRESULT& result) {
    switch (header.code) {
        case LVN_GETDISPINFOA:
            FillDisplayInfo(reinterpret_cast<NMLVDISPINFOA&>(const_cast<NMHDR&>(header)).item);
            result = 0;
            return true;
        case LVN_ITEMCHANGED:
        case LVN_ODSTATECHANGED:
            if (!m_showing) TakeUserSelection();
            result = 0;
            return true;
        case LVN_ODFINDITEMA:
        case LVN_ODFINDITEMW:
            result = -1;  // typing in the list finds nothing and so selects nothing
            return true;
        default:
            return false;
    }
}

void CWin32ListView::InsertColumn(int column, const std::string& heading, int format, int designedWidth) {
    LVCOLUMNA lvc{};
    lvc.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    lvc.fmt = format;
    lvc.cx = DesignedToPixels(designedWidth);
    lvc.pszText = const_cast<char*>(heading.c_str());
    lvc.iSubItem = column;
    const auto inserted =
        SendMessageA(m_list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvc));
    if (inserted < 0) return;
    const auto at =
        static_cast<std::ptrdiff_t>(std::min<LRESULT>(inserted, static_cast<LRESULT>(m_designedWidths.size())));
    m_designedWidths.insert(m_designedWidths.begin() + at, designedWidth);
    m_headings.insert(m_headings.begin() + at, heading);
    FitColumns();
}

void CWin32ListView::FitColumns() {
    // Widths and needs are taken afresh: the window's font and resolution may have changed since.
    std::vector<int> widths;
    std::vector<int> needs;
    for (std::size_t column = 0; column < m_designedWidths.size(); ++column) {
        widths.push_back(DesignedToPixels(m_designedWidths[column]));
        needs.push_back(HeadingWidth(m_headings[column]));
    }
    RECT client{};
    GetClientRect(m_list, &client);
    // Room is kept for the scroll bar that a longer list shows.
    const int room = client.right - WindowSystemMetric(m_list, SM_CXVSCROLL);
    const std::vector<int> fitted = FitColumnWidths(widths, needs, room);
    for (std::size_t column = 0; column < fitted.size(); ++column) {
        SendMessageA(m_list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(fitted[column], 0));
    }
}

int CWin32ListView::DesignedToPixels(int designedWidth) const {
    // The dialog's horizontal base unit (four dialog units across), which follows its font and so
    // the resolution it is shown at.
    RECT unit{0, 0, 4, 0};
    MapDialogRect(GetParent(m_list), &unit);
    return MulDiv(designedWidth, unit.right, kDesignedBaseUnitX);
}

int CWin32ListView::HeadingWidth(const std::string& heading) const {
    // The header keeps three edges' room on either side of a heading's text.
    const int margins = 6 * WindowSystemMetric(m_list, SM_CXEDGE);
    return static_cast<int>(SendMessageA(m_list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(heading.c_str()))) +
           margins;
}

void CWin32ListView::OnTableReset() { ShowTable(); }
void CWin32ListView::OnRowInserted(int) { ShowTable(); }
void CWin32ListView::OnRowDeleted(int) { ShowTable(); }
void CWin32ListView::OnCellChanged(int, int) { InvalidateRect(m_list, nullptr, TRUE); }
void CWin32ListView::OnSelectionChanged(int) { ShowSelection(); }

void CWin32ListView::ShowTable() {
    m_showing = true;
    const int count = m_table.GetItemCount();
    if (SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0) != count) {
        SendMessageA(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOSCROLL);
    }
    m_showing = false;
    ShowSelection();
    InvalidateRect(m_list, nullptr, TRUE);
}

void CWin32ListView::ShowSelection() {
    const int row = m_table.GetSelectedRow();
    if (SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) == row) return;
    m_showing = true;
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    SendMessageA(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    if (row >= 0) {
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    }
    m_showing = false;
}

void CWin32ListView::TakeUserSelection() {
    const int row = static_cast<int>(SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row == m_table.GetSelectedRow() || row >= m_table.GetItemCount()) return;
    m_showing = true;
    m_table.SelectRow(row < 0 ? -1 : row);
    m_showing = false;
}

void CWin32ListView::FillDisplayInfo(LVITEMA& item) const {
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    item.pszText[0] = '\0';
    if (item.iItem < 0 || item.iItem >= m_table.GetItemCount()) return;
    if (item.iSubItem < 0 || item.iSubItem >= m_table.GetColumnCount()) return;
    CopyShownCellText(m_table.GetCellTextView(item.iItem, item.iSubItem), item.pszText,
                      static_cast<std::size_t>(item.cchTextMax));
}
