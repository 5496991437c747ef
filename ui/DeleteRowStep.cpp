#include "ui/DeleteRowStep.h"

CDeleteRowStep::CDeleteRowStep(CCableTable& table, bool& editingEnabled, int row)
    : CTableStep(table, editingEnabled, editingEnabled && table.GetItemCount() > 1), m_row(row) {
    for (int column = 0; column < table.GetColumnCount(); ++column) {
        m_cells[static_cast<std::size_t>(column)] = table.GetCellText(row, column);
    }
}

void CDeleteRowStep::Apply() { Table().DeleteRow(m_row); }

void CDeleteRowStep::Revert() {
    CCableTable& table = Table();
    const int selectedBefore = table.GetSelectedRow();
    table.InsertRow(m_row, m_cells[0]);
    try {
        for (int column = 1; column < table.GetColumnCount(); ++column) {
            table.SetCellText(m_row, column, m_cells[static_cast<std::size_t>(column)]);
        }
    } catch (...) {
        table.DeleteRow(m_row);
        table.SelectRow(selectedBefore);
        throw;
    }
}
