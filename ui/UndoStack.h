#pragma once
// The steps of changes made, each of which can be undone and then redone, in order, without limit.
// Pushing a step runs it and drops the steps undone before it. The stack also remembers which of
// its positions are clean: states that need no saving.

#include "ui/UndoCommand.h"

#include <memory>
#include <vector>

class CUndoStack {
public:
    CUndoStack() = default;
    CUndoStack(const CUndoStack&) = delete;
    CUndoStack& operator=(const CUndoStack&) = delete;

    // Runs step's Redo and keeps it as the last step, dropping the steps undone before. When Redo
    // throws, the stack is left as it was and the exception goes to the caller.
    void Push(std::unique_ptr<CUndoCommand> step);
    bool CanUndo() const;
    bool CanRedo() const;
    // Undoes the last step done, or redoes the first step undone; nothing when there is none. When
    // the step throws, the position stays where it was.
    void Undo();
    void Redo();

    // How many steps are done (the position), and how many are kept in all.
    int GetIndex() const { return m_index; }
    int GetCount() const { return static_cast<int>(m_steps.size()); }

    // Makes the current position the one clean position.
    void SetClean();
    // Makes the current position clean as well as those that are already. Right after a Push it
    // takes no memory, so a step that has run can always be marked clean.
    void AddCleanPosition();
    // Whether the current position is clean. At first, position 0 is.
    bool IsClean() const;

private:
    std::vector<std::unique_ptr<CUndoCommand>> m_steps;
    int m_index = 0;
    std::vector<int> m_cleanPositions{0};
};
