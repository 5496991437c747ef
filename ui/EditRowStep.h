#pragma once
// Edit: the four cells of one row replaced.

#include "ui/TableStep.h"

class CEditRowStep final : public CTableStep {
public:
    // Replaces the cells of row (which must exist) with cells; the cells it had are kept for Undo.
    CEditRowStep(CCableTable& table, bool& editingEnabled, int row, SCableRowTexts cells);

private:
    void Apply() override;
    void Revert() override;
    // Sets the row's cells to cells, putting back those set already when one fails.
    void SetCells(const SCableRowTexts& cells, const SCableRowTexts& previous);

    int m_row;
    SCableRowTexts m_before;
    SCableRowTexts m_after;
};
