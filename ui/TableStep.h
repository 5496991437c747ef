#pragma once
// A step that changes the cable table and perhaps whether the commands that edit it are enabled.
// Undo brings back the rows, the selected row and the enabling of the moment before the step; Redo
// those of the moment after it, from what the step holds.

#include "cable/CableTable.h"
#include "ui/UndoCommand.h"

// The cells of a row, in the order of CableColumns.h.
using SCableRowTexts = CableCellTexts;

class CTableStep : public CUndoCommand {
public:
    void Redo() final;
    void Undo() final;

protected:
    // A step on table, taken while table has its current selection. editingEnabled is the flag
    // that tells whether the editing commands are enabled; the step leaves it at enabledAfter.
    CTableStep(CCableTable& table, bool& editingEnabled, bool enabledAfter);

    // The change and its reverse. Each either succeeds or throws with the table as it was.
    virtual void Apply() = 0;
    virtual void Revert() = 0;

    CCableTable& Table() { return m_table; }

private:
    static constexpr int kNotYetApplied = -2;

    CCableTable& m_table;
    bool& m_editingEnabled;
    bool m_enabledBefore;
    bool m_enabledAfter;
    int m_selectedBefore;
    int m_selectedAfter = kNotYetApplied;
};
