#include "platform/ListCtrl.h"

#include "platform/Dialog.h"
#include "platform/ListSource.h"

CListCtrl::CListCtrl(IListSource& source) : m_source(source) {}

void CListCtrl::Attach(CDialog& dialog, int id) {
    m_dialog = &dialog;
    m_id = id;
    if (IDialogWindow* window = Window()) {
        window->AttachList(id, m_source);
        window->SetListExtendedStyle(id, m_extendedStyle);
    }
}

int CListCtrl::InsertColumn(int column, const std::string& heading, int format, int width) {
    IDialogWindow* window = Window();
    if (!window) return -1;
    window->InsertListColumn(m_id, column, heading, format, width);
    return column;
}

unsigned CListCtrl::GetExtendedStyle() const { return m_extendedStyle; }

void CListCtrl::SetExtendedStyle(unsigned styles) {
    m_extendedStyle = styles;
    if (IDialogWindow* window = Window()) window->SetListExtendedStyle(m_id, styles);
}

bool CListCtrl::EnsureVisible(int row, bool) {
    IDialogWindow* window = Window();
    if (!window || row < 0 || row >= m_source.GetItemCount()) return false;
    window->EnsureListRowVisible(m_id, row);
    return true;
}

IDialogWindow* CListCtrl::Window() const { return m_dialog ? m_dialog->GetWindow() : nullptr; }
