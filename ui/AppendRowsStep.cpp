#include "ui/AppendRowsStep.h"

#include <utility>

CAppendRowsStep::CAppendRowsStep(CCableTable& table, bool& editingEnabled, std::vector<SCableRowTexts> rows)
    : CTableStep(table, editingEnabled, editingEnabled), m_rows(std::move(rows)) {}

void CAppendRowsStep::Apply() {
    CCableTable& table = Table();
    const int countBefore = table.GetItemCount();
    const int selectedBefore = table.GetSelectedRow();
    try {
        table.ReserveRows(countBefore + static_cast<int>(m_rows.size()));
        for (const SCableRowTexts& row : m_rows) table.AppendRow(CableCellViews(row));
    } catch (...) {
        while (table.GetItemCount() > countBefore) table.DeleteRow(table.GetItemCount() - 1);
        table.SelectRow(selectedBefore);
        throw;
    }
}

void CAppendRowsStep::Revert() {
    CCableTable& table = Table();
    const int firstAppended = table.GetItemCount() - static_cast<int>(m_rows.size());
    while (table.GetItemCount() > firstAppended) table.DeleteRow(table.GetItemCount() - 1);
}
