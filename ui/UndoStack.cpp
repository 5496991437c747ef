#include "ui/UndoStack.h"

#include <algorithm>
#include <utility>

void CUndoStack::Push(std::unique_ptr<CUndoCommand> step) {
    // Room first, so that nothing can fail once the step has run: for the step, and for marking
    // its position clean.
    m_steps.reserve(static_cast<std::size_t>(m_index) + 1);
    m_cleanPositions.reserve(m_cleanPositions.size() + 1);
    step->Redo();
    m_steps.resize(static_cast<std::size_t>(m_index));
    m_steps.push_back(std::move(step));
    std::erase_if(m_cleanPositions, [this](int position) { return position > m_index; });
    ++m_index;
}

bool CUndoStack::CanUndo() const { return m_index > 0; }

bool CUndoStack::CanRedo() const { return m_index < GetCount(); }

void CUndoStack::Undo() {
    if (!CanUndo()) return;
    m_steps[static_cast<std::size_t>(m_index - 1)]->Undo();
    --m_index;
}

void CUndoStack::Redo() {
    if (!CanRedo()) return;
    m_steps[static_cast<std::size_t>(m_index)]->Redo();
    ++m_index;
}

void CUndoStack::SetClean() { m_cleanPositions.assign(1, m_index); }

void CUndoStack::AddCleanPosition() {
    if (!IsClean()) m_cleanPositions.push_back(m_index);
}

bool CUndoStack::IsClean() const {
    return std::find(m_cleanPositions.begin(), m_cleanPositions.end(), m_index) != m_cleanPositions.end();
}
