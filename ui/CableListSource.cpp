#include "ui/CableListSource.h"

CCableListSource::CCableListSource(CCableTable& table) : m_table(table) {}

CCableListSource::~CCableListSource() {
    if (m_observer) m_table.SetObserver(nullptr);
}

int CCableListSource::GetItemCount() const { return m_table.GetItemCount(); }

int CCableListSource::GetColumnCount() const { return m_table.GetColumnCount(); }

std::string_view CCableListSource::GetCellTextView(int row, int column) const {
    return m_table.GetCellTextView(row, column);
}

int CCableListSource::GetSelectedRow() const { return m_table.GetSelectedRow(); }

void CCableListSource::SelectRow(int row) { m_table.SelectRow(row); }

void CCableListSource::SetObserver(IListObserver* observer) {
    m_observer = observer;
    m_table.SetObserver(observer ? this : nullptr);
}

void CCableListSource::OnTableReset() { m_observer->OnTableReset(); }

void CCableListSource::OnRowInserted(int row) { m_observer->OnRowInserted(row); }

void CCableListSource::OnRowDeleted(int row) { m_observer->OnRowDeleted(row); }

void CCableListSource::OnCellChanged(int row, int column) { m_observer->OnCellChanged(row, column); }

void CCableListSource::OnSelectionChanged(int row) { m_observer->OnSelectionChanged(row); }
