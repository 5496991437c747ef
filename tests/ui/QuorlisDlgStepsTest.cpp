// New list, Undo and Redo, Copy and Paste, the selected row kept in view and the exit question's
// default button, driven through the main window's keys on the headless backend.

#include "QuorlisDlgFixture.h"

#include "platform/TextLineEnd.h"
#include "tests/cable/TestFiles.h"

#include <optional>

namespace {

using Rows = std::vector<std::vector<std::string>>;

class QuorlisDlgStepsTest : public QuorlisDlgTest {
protected:
    void Press(unsigned key, unsigned modifiers = kModControl) { ui.PressKey(key, modifiers); }
    void Undo() { Press('Z'); }
    void Redo() { Press('Y'); }
    // Adds a row through the parameter dialog.
    void Add(const std::vector<std::string>& cells) {
        ui.Click(IDC_ADD_CABLE);
        ui.Type(IDC_NAME, cells[0]);
        ui.Type(IDC_VELOCITY, cells[1]);
        ui.Type(IDC_CABLE_LOSS, cells[2]);
        ui.Type(IDC_FREQUENCY, cells[3]);
        ui.PressEnter();
    }
    Rows AllRows() const {
        Rows rows;
        for (int row = 0; row < dlg.m_table.GetItemCount(); ++row) rows.push_back(Row(row));
        return rows;
    }
    // Checks, at this point of the script, the rows, the selected row (in view) and the enabling.
    void Expect(Rows rows, int selected, bool editing, const char* when) {
        ui.Check([this, rows = std::move(rows), selected, editing, when] {
            EXPECT_EQ(AllRows(), rows) << when;
            EXPECT_EQ(dlg.m_table.GetSelectedRow(), selected) << when;
            if (selected >= 0) {
                EXPECT_TRUE(ui.ActiveWindow()->IsListRowInView(IDC_CABLE_LIST, selected)) << when;
            }
            for (int id : kEditCommands) EXPECT_EQ(dlg.IsControlEnabled(id), editing) << when << ", control " << id;
        });
    }
    void SetClipboard(const std::string& text, int unconvertibleLine = 0) {
        ui.SetClipboard(SClipboardText{text, unconvertibleLine});
    }
    // The default button of each exit question asked.
    std::vector<EMsgBoxDefault> ExitDefaults() const {
        std::vector<EMsgBoxDefault> defaults;
        for (const auto& box : ui.GetMessageBoxes()) {
            if (box.text == kExitQuestion) defaults.push_back(box.defaultButton);
        }
        return defaults;
    }

    const Rows kImported{{"RG58", "0.66", "0.5", "100"}, {"LMR400", "0.85", "0.2", "900"}};
};

TEST_F(QuorlisDlgStepsTest, NewListStartsAListWhoseAddedRowExportsByteExact) {
    const std::string exported = (dir / "new.ini").string();
    Press('N');
    Expect({}, -1, true, "after New list");
    Add({"RG6", "0.82", "0.19", "5"});
    ui.AnswerFileChooser(exported);
    Press('S');
    RunAndExit();

    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(ReadFile(exported),
              "/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=1\n"
              "CableName1 = RG6\nVelocity1 = 0.82\nCableLoss1 = 0.19\nFrequency1 = 5\n");
}

TEST_F(QuorlisDlgStepsTest, NewListOverRowsIsOneStepThatUndoBringsTheRowsBack) {
    Import(MakeFile("CableList.ini", kTwoRows));
    Press('N');
    Expect({}, -1, true, "after New list");
    Undo();
    Expect(kImported, 1, true, "New list undone");
    Undo();
    Expect({}, -1, false, "the Import undone: as at start");
    Redo();
    Redo();
    Expect({}, -1, true, "both redone");
    RunAndExit();
    EXPECT_TRUE(Messages().empty());
}

// The Delete key, then Ctrl+Z brings the row and its selection back; Ctrl+Y and Ctrl+Shift+Z both redo.
TEST_F(QuorlisDlgStepsTest, DeleteKeyIsUndoneAndRedoneWithItsSelection) {
    Import(MakeFile("CableList.ini", kTwoRows));
    ui.SelectListRow(IDC_CABLE_LIST, 0);
    ui.PressKey(kVkDelete);
    Expect({kImported[1]}, -1, true, "deleted");
    ui.SelectListRow(IDC_CABLE_LIST, 0);  // a selection is no step
    Undo();
    Expect(kImported, 0, true, "undone");
    Redo();
    Expect({kImported[1]}, -1, true, "redone with Ctrl+Y");
    Undo();
    Press('Z', kModControl | kModShift);
    Expect({kImported[1]}, -1, true, "redone with Ctrl+Shift+Z");
    Redo();  // nothing left to redo
    Expect({kImported[1]}, -1, true, "nothing to redo");
    RunAndExit();
    EXPECT_TRUE(Messages().empty());
}

TEST_F(QuorlisDlgStepsTest, UndoingTheDeleteOfTheLastRowEnablesTheButtonsAgain) {
    Import(MakeFile("one.ini", NumberedListText(1)));
    ui.SelectListRow(IDC_CABLE_LIST, 0);
    ui.PressKey(kVkDelete);
    Expect({}, -1, false, "the last row deleted");
    Undo();
    Expect({{"RG1", "0.66", "0.5", "100"}}, 0, true, "undone");
    Redo();
    Expect({}, -1, false, "redone");
    RunAndExit();
}

// Undo of an Import over added rows brings them back; redo takes the imported rows from the step,
// not from the file, which is gone by then.
TEST_F(QuorlisDlgStepsTest, UndoOfAnImportBringsBackTheRowsItReplacedAndRedoReadsNoFile) {
    const std::string second = MakeFile("second.ini", NumberedListText(3));
    Import(MakeFile("CableList.ini", kTwoRows));
    Add({"added", "1", "2", "3"});
    ui.SelectListRow(IDC_CABLE_LIST, 0);
    Import(second);
    ui.Check([&] { fs::remove(second); });
    Undo();
    Rows withAdded = kImported;
    withAdded.push_back({"added", "1", "2", "3"});
    Expect(withAdded, 0, true, "the second Import undone");
    Undo();
    Expect(kImported, 1, true, "the Add undone");
    Undo();
    Expect({}, -1, false, "the first Import undone");
    Undo();  // nothing left: nothing happens
    Redo();
    Redo();
    Redo();
    Expect({{"RG1", "0.66", "0.5", "100"}, {"RG2", "0.66", "0.5", "100"}, {"RG3", "0.66", "0.5", "100"}}, 2, true,
           "all redone");
    RunAndExit();
    EXPECT_TRUE(Messages().empty());
}

// An Edit that changes nothing, a cancelled dialog and a refused Import are no steps: Undo then
// takes back the step before them.
TEST_F(QuorlisDlgStepsTest, OnlyChangesAreSteps) {
    Import(MakeFile("CableList.ini", kTwoRows));
    ui.SelectListRow(IDC_CABLE_LIST, 0);
    ui.PressKey(kVkF2);
    ui.Type(IDC_FREQUENCY, "150");
    ui.PressEnter();
    ui.PressKey(kVkF2);
    ui.PressEnter();  // unchanged
    ui.PressKey(kVkF2);
    ui.Type(IDC_NAME, "cancelled");
    ui.PressEscape();
    ui.Click(IDC_ADD_CABLE);
    ui.PressEscape();
    Import(MakeFile("bad.ini", "header\nCableName1 = a\n"));
    Import(MakeFile("empty.ini", ""));
    ui.SelectListRow(IDC_CABLE_LIST, 1);
    Undo();
    Expect(kImported, 0, true, "the frequency's Edit undone, its row selected");
    Redo();
    Expect({{"RG58", "0.66", "0.5", "150"}, kImported[1]}, 0, true, "redone");
    RunAndExit();
    EXPECT_EQ(Messages(), (std::vector<std::string>{kFormatError, kItemCountError, kItemCountError}));
}

TEST_F(QuorlisDlgStepsTest, CopyPutsTheSelectedRowAsASpreadsheetLine) {
    const std::string lineEnd(GetTextLineEnd());
    Import(MakeFile("CableList.ini", kTwoRows));
    ui.SelectListRow(IDC_CABLE_LIST, -1);
    Press('C');  // no row selected: nothing
    ui.Check([this] { EXPECT_EQ(ui.GetClipboard(), std::nullopt); });
    ui.SelectListRow(IDC_CABLE_LIST, 0);
    ui.PressKey(kVkF2);
    ui.Type(IDC_NAME, "say \"hi\"\tthere");
    ui.PressEnter();
    Press('C');
    ui.Check([this, lineEnd] {
        ASSERT_TRUE(ui.GetClipboard());
        EXPECT_EQ(ui.GetClipboard()->text, "\"say \"\"hi\"\"\tthere\"\t0.66\t0.5\t100" + lineEnd);
    });
    ui.ContextMenu(IDC_CABLE_LIST);
    ui.AnswerPopupMenu("Copy All Rows");
    RunAndExit();
    ASSERT_TRUE(ui.GetClipboard());
    EXPECT_EQ(ui.GetClipboard()->text, "Cable Name\tVelocity\tCable Loss\tFrequency(MHz)" + lineEnd +
                                           "\"say \"\"hi\"\"\tthere\"\t0.66\t0.5\t100" + lineEnd +
                                           "LMR400\t0.85\t0.2\t900" + lineEnd);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(QuorlisDlgStepsTest, ABusyClipboardIsSaidAndChangesNothing) {
    Import(MakeFile("CableList.ini", kTwoRows));
    ui.Check([this] { ui.SetClipboardBusy(true); });
    Press('C');
    Press('V');
    Expect(kImported, 1, true, "nothing pasted");
    RunAndExit();
    EXPECT_EQ(Messages(), (std::vector<std::string>{kClipboardUnavailable, kNothingToPaste}));
}

// Headings, CRLF line ends, a quoted name and a last empty line, as a spreadsheet puts them.
TEST_F(QuorlisDlgStepsTest, PasteAppendsSpreadsheetRowsAsOneStep) {
    Import(MakeFile("CableList.ini", kTwoRows));
    ui.SelectListRow(IDC_CABLE_LIST, 0);
    SetClipboard(
        "Cable Name\tVelocity\tCable Loss\tFrequency(MHz)\r\n"
        "\"RG 8, \"\"thick\"\"\"\t0.66\t0.3\t50\r\n"
        "LMR200\t0.83 approx\t0.5\t400\r\n");
    Press('V');
    Rows pasted = kImported;
    pasted.push_back({"RG 8, \"thick\"", "0.66", "0.3", "50"});
    pasted.push_back({"LMR200", "0.83 approx", "0.5", "400"});
    Expect(pasted, 3, true, "pasted");
    Undo();
    Expect(kImported, 0, true, "the paste undone");
    Redo();
    Expect(pasted, 3, true, "the paste redone");
    RunAndExit();
    EXPECT_TRUE(Messages().empty());
}

TEST_F(QuorlisDlgStepsTest, PasteWithAWrongLinePastesNothingAndNamesTheLine) {
    Import(MakeFile("CableList.ini", kTwoRows));
    SetClipboard("RG6\t0.82\t0.19\t5\nRG59\tfast\t0.3\t50\nx\t\t\t\n");
    Press('V');
    ui.Check([this] { SetClipboard("RG6\t0.82\t0.19\t5\nRG6\t0.82\t0.19\t5\nR?59\t0.66\t0.3\t50\n", 3); });
    ui.ContextMenu(IDC_CABLE_LIST);
    ui.AnswerPopupMenu("Paste");
    Expect(kImported, 1, true, "nothing pasted");
    Undo();
    Expect({}, -1, false, "the Import undone: the refused pastes were no steps");
    Press('V');  // disabled with Add
    RunAndExit();

    ASSERT_EQ(ui.GetMessageBoxes().size(), 3u);
    EXPECT_EQ(ui.GetMessageBoxes()[0].text, "Line 2: Velocity is not a number.");
    EXPECT_EQ(ui.GetMessageBoxes()[0].icon, EMsgBoxIcon::Warning);
    EXPECT_EQ(ui.GetMessageBoxes()[0].type, EMsgBoxType::Ok);
    EXPECT_EQ(ui.GetMessageBoxes()[0].caption, GetProgramName());
    EXPECT_EQ(ui.GetMessageBoxes()[1].text, std::string("Line 3: ") + kUnconvertibleCharacter);
}

// Enter on the exit question keeps the program while a change is unsaved; without one, or once an
// Export or an Undo back to a clean point saved it, Enter still exits.
TEST_F(QuorlisDlgStepsTest, ExitQuestionDefaultsToNoWhileTheTableIsChanged) {
    ui.PressEscape();
    ui.AnswerMessageBox(kIdNo);
    Import(MakeFile("CableList.ini", kTwoRows));
    ui.PressEscape();
    ui.AnswerMessageBox(kIdNo);
    ui.SelectListRow(IDC_CABLE_LIST, 1);
    ui.PressKey(kVkDelete);
    ui.PressEscape();
    ui.AnswerMessageBox(kIdNo);  // Escape on the question
    ui.SelectListRow(IDC_CABLE_LIST, 0);
    ui.PressEnter();  // in the list: the window's OK
    ui.AnswerMessageBoxWithEnter();
    Undo();  // back to the Import made while clean
    ui.PressEscape();
    ui.AnswerMessageBox(kIdNo);
    Redo();
    ui.AnswerFileChooser((dir / "saved.ini").string());
    Press('S');
    ui.PressEscape();
    ui.AnswerMessageBox(kIdNo);
    Undo();  // the Export's point is the clean one now
    ui.PressEscape();
    ui.AnswerMessageBox(kIdNo);
    Redo();
    Import(MakeFile("other.ini", NumberedListText(3)));  // made while clean
    ui.PressEscape();
    ui.AnswerMessageBox(kIdNo);
    Press('N');
    ui.PressEscape();
    ui.AnswerMessageBoxWithEnter();  // still clean: Enter exits
    EXPECT_EQ(dlg.DoModal(), kIdCancel);

    using D = EMsgBoxDefault;
    EXPECT_EQ(ExitDefaults(), (std::vector<D>{D::Yes, D::Yes, D::No, D::No, D::Yes, D::Yes, D::No, D::Yes, D::Yes}));
}

TEST_F(QuorlisDlgStepsTest, AChangeAfterACleanImportIsUnsavedUntilExported) {
    Import(MakeFile("CableList.ini", kTwoRows));
    Add({"x", "1", "2", "3"});
    Import(MakeFile("other.ini", NumberedListText(3)));  // made while changed: the added row is not saved
    Press('N');
    ui.PressEscape();
    ui.AnswerMessageBoxWithEnter();
    Undo();
    Undo();
    Undo();  // before the Add: the first Import, made while clean
    ui.PressEscape();
    ui.AnswerMessageBoxWithEnter();
    EXPECT_EQ(dlg.DoModal(), kIdCancel);
    EXPECT_EQ(ExitDefaults(), (std::vector<EMsgBoxDefault>{EMsgBoxDefault::No, EMsgBoxDefault::Yes}));
}

// A list longer than the view: each command that selects a row scrolls it into view.
TEST_F(QuorlisDlgStepsTest, TheSelectedRowIsScrolledIntoView) {
    const int rows = 100;
    const auto expectInView = [this](int row, const char* when) {
        ui.Check([this, row, when] {
            EXPECT_EQ(dlg.m_table.GetSelectedRow(), row) << when;
            EXPECT_TRUE(ui.ActiveWindow()->IsListRowInView(IDC_CABLE_LIST, row)) << when;
        });
    };
    const std::string longFile = MakeFile("long.ini", NumberedListText(rows));
    dlg.ImportAtStart(longFile);
    expectInView(rows - 1, "imported at start");
    ui.SelectListRow(IDC_CABLE_LIST, 0);
    ui.PressKey(kVkF2);
    ui.Type(IDC_NAME, "first");
    ui.PressEnter();
    expectInView(0, "edited");
    Add({"last", "1", "2", "3"});
    expectInView(rows, "added");
    Undo();
    Undo();
    expectInView(0, "the Edit undone");
    Redo();
    SetClipboard("p\t1\t2\t3\n");
    ui.SelectListRow(IDC_CABLE_LIST, 0);
    Press('V');
    expectInView(rows, "pasted");
    ui.SelectListRow(IDC_CABLE_LIST, 0);
    ui.DropFiles({longFile});
    expectInView(rows - 1, "dropped");
    ui.SelectListRow(IDC_CABLE_LIST, 0);
    ui.PressKey(kVkDelete);
    Undo();
    expectInView(0, "the Delete undone");
    RunAndExit();
    EXPECT_TRUE(Messages().empty());
}

}  // namespace
