#pragma once
// Import and New list: every row replaced at once. The step keeps the rows not shown (the replaced
// ones once done, the new ones once undone) and exchanges them with the table's, so that neither
// Undo nor Redo copies a row or reads a file.

#include "ui/TableStep.h"

class CReplaceTableStep final : public CTableStep {
public:
    // Replaces the table's rows and selection with incoming's (taken over); editing is enabled after.
    CReplaceTableStep(CCableTable& table, bool& editingEnabled, CCableTable&& incoming);

private:
    void Apply() override;
    void Revert() override;

    CCableTable m_kept;
};
