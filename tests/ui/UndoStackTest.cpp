// The undo stack's order of steps, its clean positions, and a step that fails.

#include "ui/UndoStack.h"

#include "CountingAllocations.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace {

// Appends its letter to a shared text; Undo takes it off again. A failing step throws instead.
class CLetterStep final : public CUndoCommand {
public:
    CLetterStep(std::string& text, char letter, bool fails = false) : m_text(text), m_letter(letter), m_fails(fails) {}
    void Redo() override {
        if (m_fails) throw std::runtime_error("no room");
        m_text.push_back(m_letter);
    }
    void Undo() override { m_text.pop_back(); }

private:
    std::string& m_text;
    char m_letter;
    bool m_fails;
};

class UndoStackTest : public ::testing::Test {
protected:
    void Push(char letter) { stack.Push(std::make_unique<CLetterStep>(text, letter)); }

    std::string text;
    CUndoStack stack;
};

TEST_F(UndoStackTest, UndoAndRedoWalkTheStepsAndAPushDropsThoseUndone) {
    EXPECT_FALSE(stack.CanUndo());
    EXPECT_FALSE(stack.CanRedo());
    stack.Undo();  // nothing to undo: nothing happens
    Push('a');
    Push('b');
    Push('c');
    EXPECT_EQ(text, "abc");
    stack.Undo();
    stack.Undo();
    EXPECT_EQ(text, "a");
    EXPECT_TRUE(stack.CanRedo());
    stack.Redo();
    EXPECT_EQ(text, "ab");
    Push('x');
    EXPECT_EQ(text, "abx");
    EXPECT_FALSE(stack.CanRedo()) << "c was dropped";
    EXPECT_EQ(stack.GetCount(), 3);
    stack.Redo();
    EXPECT_EQ(text, "abx");
    for (int i = 0; i < 5; ++i) stack.Undo();
    EXPECT_EQ(text, "");
    EXPECT_EQ(stack.GetIndex(), 0);
}

TEST_F(UndoStackTest, AFailingStepIsNotKept) {
    Push('a');
    stack.Undo();
    EXPECT_THROW(stack.Push(std::make_unique<CLetterStep>(text, 'f', true)), std::runtime_error);
    EXPECT_EQ(text, "");
    EXPECT_EQ(stack.GetIndex(), 0);
    EXPECT_TRUE(stack.CanRedo()) << "the steps undone stay while the push failed";
    stack.Redo();
    EXPECT_EQ(text, "a");
}

TEST_F(UndoStackTest, CleanPositionsFollowSavesAndAreLostWhenDropped) {
    EXPECT_TRUE(stack.IsClean()) << "nothing done yet";
    Push('i');
    EXPECT_FALSE(stack.IsClean());
    stack.AddCleanPosition();  // an import made while clean
    EXPECT_TRUE(stack.IsClean());
    stack.Undo();
    EXPECT_TRUE(stack.IsClean()) << "the start is still clean";
    stack.Redo();
    Push('a');
    EXPECT_FALSE(stack.IsClean());
    stack.Undo();
    EXPECT_TRUE(stack.IsClean());
    stack.Redo();
    stack.SetClean();  // an export: the one clean position
    EXPECT_TRUE(stack.IsClean());
    stack.Undo();
    EXPECT_FALSE(stack.IsClean()) << "the export's text is not this one";
    stack.Undo();
    EXPECT_FALSE(stack.IsClean());
    stack.Redo();
    Push('b');  // drops the export's position
    EXPECT_FALSE(stack.IsClean());
    stack.Undo();
    stack.Redo();
    Push('c');
    stack.Undo();
    stack.Undo();
    stack.Redo();
    EXPECT_FALSE(stack.IsClean()) << "the dropped position stays unclean when reached again";
}

// An import made while the list is clean is a step marked clean once it has run; by then nothing
// may fail, or the user would be told of a failure with the new rows already in.
TEST_F(UndoStackTest, MarkingAStepJustPushedCleanTakesNoMemory) {
    for (int step = 0; step < 40; ++step) {
        Push('a');
        EXPECT_EQ(CountAllocations([this] { stack.AddCleanPosition(); }), 0) << "after step " << step;
        EXPECT_TRUE(stack.IsClean());
    }
}

}  // namespace
