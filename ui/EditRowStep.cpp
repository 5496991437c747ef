#include "ui/EditRowStep.h"

#include <utility>

CEditRowStep::CEditRowStep(CCableTable& table, bool& editingEnabled, int row, SCableRowTexts cells)
    : CTableStep(table, editingEnabled, editingEnabled), m_row(row), m_after(std::move(cells)) {
    for (int column = 0; column < table.GetColumnCount(); ++column) {
        m_before[static_cast<std::size_t>(column)] = table.GetCellText(row, column);
    }
}

void CEditRowStep::Apply() { SetCells(m_after, m_before); }

void CEditRowStep::Revert() { SetCells(m_before, m_after); }

void CEditRowStep::SetCells(const SCableRowTexts& cells, const SCableRowTexts& previous) {
    CCableTable& table = Table();
    std::size_t column = 0;
    try {
        for (; column < cells.size(); ++column) table.SetCellText(m_row, static_cast<int>(column), cells[column]);
    } catch (...) {
        // Putting back a cell takes no more room than the one it had before.
        while (column-- > 0) table.SetCellText(m_row, static_cast<int>(column), previous[column]);
        throw;
    }
}
