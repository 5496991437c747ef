#include "ui/TableStep.h"

CTableStep::CTableStep(CCableTable& table, bool& editingEnabled, bool enabledAfter)
    : m_table(table),
      m_editingEnabled(editingEnabled),
      m_enabledBefore(editingEnabled),
      m_enabledAfter(enabledAfter),
      m_selectedBefore(table.GetSelectedRow()) {}

void CTableStep::Redo() {
    Apply();
    if (m_selectedAfter == kNotYetApplied) {
        m_selectedAfter = m_table.GetSelectedRow();
    } else {
        m_table.SelectRow(m_selectedAfter);
    }
    m_editingEnabled = m_enabledAfter;
}

void CTableStep::Undo() {
    Revert();
    m_table.SelectRow(m_selectedBefore);
    m_editingEnabled = m_enabledBefore;
}
