#pragma once
// Delete: one row removed; Undo puts it back at its place, selected.

#include "ui/TableStep.h"

class CDeleteRowStep final : public CTableStep {
public:
    // Deletes row (which must exist); editing stays enabled unless the table becomes empty.
    CDeleteRowStep(CCableTable& table, bool& editingEnabled, int row);

private:
    void Apply() override;
    void Revert() override;

    int m_row;
    SCableRowTexts m_cells;
};
