#pragma once
// One change that can be taken back: a step of a CUndoStack.

class CUndoCommand {
public:
    virtual ~CUndoCommand() = default;

    // Makes the change; called when the step is pushed and again on each redo. A failure throws
    // and leaves the state as it was before the call.
    virtual void Redo() = 0;
    // Takes the change back, restoring the state as it was before Redo. A failure throws and leaves
    // the state as it was before the call.
    virtual void Undo() = 0;
};
