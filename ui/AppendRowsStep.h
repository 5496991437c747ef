#pragma once
// Add and Paste: rows appended at the end of the table, the last one selected.

#include "ui/TableStep.h"

#include <vector>

class CAppendRowsStep final : public CTableStep {
public:
    CAppendRowsStep(CCableTable& table, bool& editingEnabled, std::vector<SCableRowTexts> rows);

private:
    void Apply() override;
    // Deletes the appended rows, the last first.
    void Revert() override;

    std::vector<SCableRowTexts> m_rows;
};
