#include "ui/ReplaceTableStep.h"

#include <utility>

CReplaceTableStep::CReplaceTableStep(CCableTable& table, bool& editingEnabled, CCableTable&& incoming)
    : CTableStep(table, editingEnabled, true), m_kept(std::move(incoming)) {}

void CReplaceTableStep::Apply() { Table().SwapRows(m_kept); }

void CReplaceTableStep::Revert() { Table().SwapRows(m_kept); }
