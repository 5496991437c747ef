// The main window's commands, state and messages, driven through the headless backend.

#include "QuorlisDlgFixture.h"

#include "platform/FilePath.h"

#include <optional>

namespace {

// Import and Export ask the same of their chooser but for its kind and title (each named after
// its command): the list's extension, file name and filter, no read-only box, the overwrite
// question, and the folder of the last file used.
void ExpectCableFileChooser(const CHeadlessWindowing::SFileChooserRecord& chooser, bool save, const std::string& title,
                            const std::string& initialFolder) {
    SCOPED_TRACE(title);
    EXPECT_EQ(chooser.request.save, save);
    EXPECT_EQ(chooser.request.title, title);
    EXPECT_EQ(chooser.request.defaultExt, "ini");
    EXPECT_EQ(chooser.request.fileName, "CableList.ini");
    EXPECT_EQ(chooser.request.filter, kFileFilter);
    EXPECT_TRUE(chooser.request.hideReadOnly);
    EXPECT_TRUE(chooser.request.overwritePrompt);
    EXPECT_EQ(chooser.request.initialFolder, initialFolder);
    EXPECT_EQ(chooser.ownerLayoutId, IDD_QUORLIS_DIALOG);
    EXPECT_FALSE(chooser.waitCursor);
}

TEST_F(QuorlisDlgTest, StartsWithOnlyImportEnabledAndTheListSetUp) {
    ExpectEditCommandsEnabled(false);
    ui.Check([this] {
        CHeadlessDialogWindow& window = *ui.ActiveWindow();
        EXPECT_EQ(window.GetLayout().id, IDD_QUORLIS_DIALOG);
        EXPECT_EQ(window.GetFocusedControl(), IDC_IMPORT);
        EXPECT_EQ(window.GetListTable(IDC_CABLE_LIST), &dlg.m_tableSource);
        const auto columns = window.GetListColumns(IDC_CABLE_LIST);
        ASSERT_EQ(columns.size(), 4u);
        for (int column = 0; column < 4; ++column) {
            EXPECT_EQ(columns[column].heading, kColumnHeadings[column]);
            EXPECT_EQ(columns[column].width, kColumnWidths[column]);
            EXPECT_EQ(columns[column].format, kLvcfmtLeft);
        }
        EXPECT_EQ(window.GetListExtendedStyle(IDC_CABLE_LIST), kLvsExGridLines | kLvsExFullRowSelect);
        const auto& menu = window.GetSystemMenu();
        ASSERT_EQ(menu.size(), 2u);
        EXPECT_TRUE(menu[0].separator);
        EXPECT_EQ(menu[1].id, unsigned(IDM_ABOUTBOX));
        EXPECT_EQ(menu[1].text, "&About Quorlis...");
        EXPECT_EQ(window.GetIcon(true), IDR_MAINFRAME);
        EXPECT_EQ(window.GetIcon(false), IDR_MAINFRAME);
    });
    ui.Click(IDC_ADD_CABLE);  // disabled: nothing happens
    ui.Click(IDC_DELETE_CABLE);
    EXPECT_EQ(RunAndExit(), kIdCancel);
    EXPECT_EQ(ui.GetDialogs().size(), 1u);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(QuorlisDlgTest, ImportFillsTheTableSelectsTheLastRowAndUnlocks) {
    Import(MakeFile("CableList.ini", kTwoRows));
    ExpectEditCommandsEnabled(true);
    RunAndExit();

    ASSERT_EQ(ui.GetFileChoosers().size(), 1u);
    ExpectCableFileChooser(ui.GetFileChoosers()[0], false, "Import", "");

    ASSERT_EQ(dlg.m_table.GetItemCount(), 2);
    EXPECT_EQ(Row(0), (std::vector<std::string>{"RG58", "0.66", "0.5", "100"}));
    EXPECT_EQ(Row(1), (std::vector<std::string>{"LMR400", "0.85", "0.2", "900"}));
    EXPECT_EQ(dlg.m_table.GetSelectedRow(), 1);
    EXPECT_TRUE(Messages().empty());
}

// Records whether the busy cursor shows each time the table is filled.
class CBusyWhileFilled : public ICableTableObserver {
public:
    explicit CBusyWhileFilled(const CHeadlessWindowing& ui) : m_ui(ui) {}
    void OnTableReset() override { busy.push_back(m_ui.IsWaitCursorShown()); }
    void OnRowInserted(int) override {}
    void OnRowDeleted(int) override {}
    void OnCellChanged(int, int) override {}
    void OnSelectionChanged(int) override {}
    std::vector<bool> busy;

private:
    const CHeadlessWindowing& m_ui;
};

// The busy cursor covers the reading and the writing, and neither the choosers nor the messages.
TEST_F(QuorlisDlgTest, ImportAndExportShowTheBusyCursorWhileTheyWork) {
    CBusyWhileFilled observer(ui);
    dlg.m_table.SetObserver(&observer);
    Import(MakeFile("CableList.ini", kTwoRows));
    Import(MakeFile("three.ini", "header\nCableName1 = a\nVelocity1 = b\nCableLoss1 = c\n"));
    ui.AnswerFileChooser((dir / "copy.ini").string());
    ui.Click(IDC_EXPORT);
    ui.AnswerFileChooser((dir / "missing" / "copy.ini").string());
    ui.Click(IDC_EXPORT);
    RunAndExit();
    dlg.m_table.SetObserver(nullptr);

    EXPECT_EQ(observer.busy, std::vector<bool>{true});
    EXPECT_EQ(ui.GetWaitCursorCount(), 4);
    EXPECT_FALSE(ui.IsWaitCursorShown());
    EXPECT_EQ(Messages(), (std::vector<std::string>{kFormatError, kItemCountError, kExportFailed}));
    for (const auto& box : ui.GetMessageBoxes()) EXPECT_FALSE(box.waitCursor) << box.text;
    for (const auto& chooser : ui.GetFileChoosers()) EXPECT_FALSE(chooser.waitCursor);
}

TEST_F(QuorlisDlgTest, CancelledChooserChangesNothing) {
    ui.AnswerFileChooser(std::nullopt);
    ui.Click(IDC_IMPORT);
    ExpectEditCommandsEnabled(false);
    RunAndExit();
    EXPECT_EQ(ui.GetFileChoosers().size(), 1u);
    EXPECT_TRUE(Messages().empty());
}

// Each file that cannot be opened for reading: one warning, table and buttons as they were.
TEST_F(QuorlisDlgTest, ImportOfAFileThatCannotBeOpenedSaysOpenFailed) {
    const std::string readOnly = MakeFile("readonly.ini", kTwoRows);
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string locked = MakeFile("locked.ini", kTwoRows);
    std::optional<CHeldFile> lockHolder(std::in_place, locked);
    ASSERT_TRUE(lockHolder->IsHeld());
    fs::create_directory(dir / "folder.ini");

    Import(MakeFile("CableList.ini", kTwoRows));
    for (const std::string& path : {(dir / "missing.ini").string(), readOnly, locked, (dir / "folder.ini").string()}) {
        Import(path);
    }
    ExpectEditCommandsEnabled(true);
    RunAndExit();
    lockHolder.reset();

    EXPECT_EQ(Messages(), std::vector<std::string>(4, kOpenFailed));
    for (const auto& box : ui.GetMessageBoxes()) {
        if (box.text != kOpenFailed) continue;
        EXPECT_EQ(box.type, EMsgBoxType::Ok);
        EXPECT_EQ(box.icon, EMsgBoxIcon::Warning);
        EXPECT_EQ(box.caption, GetProgramName());
        EXPECT_EQ(box.ownerLayoutId, IDD_QUORLIS_DIALOG);
    }
    EXPECT_EQ(dlg.m_table.GetItemCount(), 2);
}

TEST_F(QuorlisDlgTest, FormatErrorShowsTwoBoxesAndLeavesTableAndButtons) {
    Import(MakeFile("three.ini", "header\nCableName1 = a\nVelocity1 = b\nCableLoss1 = c\n"));
    ExpectEditCommandsEnabled(false);
    RunAndExit();
    EXPECT_EQ(Messages(), (std::vector<std::string>{kFormatError, kItemCountError}));
    EXPECT_EQ(dlg.m_table.GetItemCount(), 0);
}

// A file that yields no rows is refused like a malformed one: the table, its selection and the
// buttons stay as they were, so an Export afterwards still writes the rows.
TEST_F(QuorlisDlgTest, EmptyImportKeepsTheTableAndTheButtons) {
    const std::string exported = (dir / "out.ini").string();
    Import(MakeFile("CableList.ini", kTwoRows));
    Import(MakeFile("empty.ini", ""));
    Import(MakeFile("header-only.ini", "/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=0\n"));
    ExpectEditCommandsEnabled(true);
    ui.AnswerFileChooser(exported);
    ui.Click(IDC_EXPORT);
    RunAndExit();

    EXPECT_EQ(Messages(), (std::vector<std::string>{kItemCountError, kItemCountError}));
    EXPECT_EQ(dlg.m_table.GetItemCount(), 2);
    EXPECT_EQ(dlg.m_table.GetSelectedRow(), 1);
    EXPECT_EQ(ReadFile(exported), kTwoRows);
}

TEST_F(QuorlisDlgTest, ExportWritesTheTableThroughTheSaveChooser) {
    const std::string source = MakeFile("CableList.ini", kTwoRows);
    const std::string target = (dir / "copy.ini").string();
    Import(source);
    ui.AnswerFileChooser(target);
    ui.Click(IDC_EXPORT);
    ExpectEditCommandsEnabled(true);
    RunAndExit();

    ASSERT_EQ(ui.GetFileChoosers().size(), 2u);
    ExpectCableFileChooser(ui.GetFileChoosers()[1], true, "Export", GetFolderOfPath(source));
    EXPECT_EQ(ReadFile(target), kTwoRows);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(QuorlisDlgTest, ExportToAReadOnlyFileSaysExportFailedAndKeepsIt) {
    const std::string target = MakeFile("readonly.ini", "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    Import(MakeFile("CableList.ini", kTwoRows));
    ui.AnswerFileChooser(target);
    ui.Click(IDC_EXPORT);
    RunAndExit();
    EXPECT_EQ(Messages(), std::vector<std::string>{kExportFailed});
    EXPECT_EQ(ReadFile(target), "old");
    EXPECT_EQ(dlg.m_table.GetItemCount(), 2);
}

// A cell that the file cannot keep: the designed text first, then the row and the column.
TEST_F(QuorlisDlgTest, ExportOfACellTheFileCannotKeepNamesItsRowAndColumn) {
    const std::string target = MakeFile("target.ini", "old");
    Import(MakeFile("CableList.ini", kTwoRows));
    // No dialog takes such a text: the table is given it directly, as a later command might.
    ui.Check([this] { dlg.m_table.SetCellText(1, 2, std::string("0.5\0", 4)); });
    ui.AnswerFileChooser(target);
    ui.Click(IDC_EXPORT);
    RunAndExit();
    EXPECT_EQ(Messages(), std::vector<std::string>{std::string(kExportFailed) +
                                                   "\nRow 2, Cable Loss: holds a line break or a zero byte, which the "
                                                   "file cannot keep."});
    EXPECT_EQ(ReadFile(target), "old");
}

TEST_F(QuorlisDlgTest, AddAppendsTheDialogsTextsAsTheSelectedRow) {
    Import(MakeFile("CableList.ini", kTwoRows));
    ui.SelectListRow(IDC_CABLE_LIST, 0);
    ui.Click(IDC_ADD_CABLE);
    ui.Check([this] {
        EXPECT_EQ(ui.ActiveWindow()->GetLayout().id, IDD_CABLE_PARAMETER);
        for (int id : {IDC_NAME, IDC_VELOCITY, IDC_CABLE_LOSS, IDC_FREQUENCY})
            EXPECT_EQ(ui.ActiveWindow()->GetControlText(id), "");
    });
    ui.Type(IDC_NAME, " RG213 ");
    ui.Type(IDC_VELOCITY, "0.66 approx");
    ui.Type(IDC_CABLE_LOSS, "1");
    ui.Type(IDC_FREQUENCY, "50");
    ui.Click(kIdOk);
    // A cancelled Add changes nothing.
    ui.Click(IDC_ADD_CABLE);
    ui.Type(IDC_NAME, "ignored");
    ui.PressEscape();
    RunAndExit();

    ASSERT_EQ(dlg.m_table.GetItemCount(), 3);
    EXPECT_EQ(Row(2), (std::vector<std::string>{" RG213 ", "0.66 approx", "1", "50"}));
    EXPECT_EQ(dlg.m_table.GetSelectedRow(), 2);
    EXPECT_EQ(ui.GetDialogs()[1].ownerLayoutId, IDD_QUORLIS_DIALOG);
}

TEST_F(QuorlisDlgTest, EditShowsTheSelectedRowAndReplacesIt) {
    Import(MakeFile("CableList.ini", kTwoRows));
    ui.SelectListRow(IDC_CABLE_LIST, 1);
    ui.Click(IDC_EDIT_CABLE);
    ui.Check([this] {
        CHeadlessDialogWindow& edit = *ui.ActiveWindow();
        EXPECT_EQ(edit.GetControlText(IDC_NAME), "LMR400");
        EXPECT_EQ(edit.GetControlText(IDC_VELOCITY), "0.85");
        EXPECT_EQ(edit.GetControlText(IDC_CABLE_LOSS), "0.2");
        EXPECT_EQ(edit.GetControlText(IDC_FREQUENCY), "900");
    });
    ui.Type(IDC_NAME, "RG58A");
    ui.Type(IDC_VELOCITY, "0.67");
    ui.Type(IDC_CABLE_LOSS, "0.4");
    ui.Type(IDC_FREQUENCY, "200");
    ui.PressEnter();
    ui.Click(IDC_EDIT_CABLE);  // Cancel leaves the row
    ui.Type(IDC_NAME, "ignored");
    ui.Click(kIdCancel);
    ui.SelectListRow(IDC_CABLE_LIST, -1);
    ui.Click(IDC_EDIT_CABLE);
    RunAndExit();

    EXPECT_EQ(Row(0), (std::vector<std::string>{"RG58", "0.66", "0.5", "100"})) << "the other row is left";
    EXPECT_EQ(Row(1), (std::vector<std::string>{"RG58A", "0.67", "0.4", "200"})) << "each of the four fields stored";
    EXPECT_EQ(Messages(), std::vector<std::string>{kSelectToEdit});
}

TEST_F(QuorlisDlgTest, DeleteRemovesTheSelectedRowAndTheLastOneLocks) {
    Import(MakeFile("CableList.ini", kTwoRows));
    ui.SelectListRow(IDC_CABLE_LIST, 0);
    ui.Click(IDC_DELETE_CABLE);
    ui.Check([this] {
        EXPECT_EQ(dlg.m_table.GetItemCount(), 1);
        EXPECT_EQ(dlg.m_table.GetCellText(0, 0), "LMR400");
        EXPECT_EQ(dlg.m_table.GetSelectedRow(), -1);
    });
    ExpectEditCommandsEnabled(true);
    ui.SelectListRow(IDC_CABLE_LIST, 0);
    ui.Click(IDC_DELETE_CABLE);
    ui.Check([this] { EXPECT_EQ(dlg.m_table.GetSelectedRow(), -1); });
    ExpectEditCommandsEnabled(false);
    ui.Click(IDC_ADD_CABLE);  // locked: no dialog opens
    RunAndExit();
    EXPECT_EQ(dlg.m_table.GetItemCount(), 0);
    EXPECT_EQ(ui.GetDialogs().size(), 1u);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(QuorlisDlgTest, DeleteWithoutSelectionAsksForOne) {
    Import(MakeFile("CableList.ini", kTwoRows));
    ui.SelectListRow(IDC_CABLE_LIST, 1);
    ui.Click(IDC_DELETE_CABLE);  // the selected row goes, and no row is selected after it
    ui.Click(IDC_DELETE_CABLE);
    RunAndExit();
    EXPECT_EQ(Messages(), std::vector<std::string>{kSelectToDelete});
    EXPECT_EQ(dlg.m_table.GetItemCount(), 1);
}

// The keys, the double click and the context menu do what the buttons do, with the same rules and
// messages, and nothing while the buttons are disabled.
TEST_F(QuorlisDlgTest, KeysDoubleClickAndContextMenuActAsTheButtons) {
    const std::string exported = (dir / "out.ini").string();
    ui.SelectListRow(IDC_CABLE_LIST, -1);
    for (unsigned key : {kVkF2, kVkDelete}) ui.PressKey(key);
    ui.PressKey('S', kModControl);
    ui.PressKey('O', kModControl | kModShift);  // not the accelerator
    ui.ContextMenu(IDC_CABLE_LIST);
    ui.AnswerPopupMenu("Edit");  // disabled: the menu goes away
    ui.AnswerFileChooser(MakeFile("CableList.ini", kTwoRows));
    ui.PressKey('O', kModControl);
    ui.DoubleClickListRow(IDC_CABLE_LIST, -1);  // below the rows: nothing to edit, and no message
    ui.DoubleClickListRow(IDC_CABLE_LIST, 0);
    ui.Check([this] { EXPECT_EQ(ui.ActiveWindow()->GetControlText(IDC_NAME), "RG58"); });
    ui.PressEscape();
    ui.PressKey(kVkF2);
    ui.Type(IDC_NAME, "RG58A");
    ui.PressEnter();
    ui.AnswerFileChooser(exported);
    ui.PressKey('S', kModControl);
    ui.Focus(IDC_ADD_CABLE);
    ui.PressKey(kVkDelete);  // not in the list: nothing
    ui.SelectListRow(IDC_CABLE_LIST, 1);
    ui.PressKey(kVkDelete);
    ui.PressKey(kVkDelete);
    ui.ContextMenu(IDC_CABLE_LIST);
    ui.AnswerPopupMenu("About Quorlis...");
    ui.PressEnter();
    ui.SelectListRow(IDC_CABLE_LIST, 0);
    ui.ContextMenu(IDC_CABLE_LIST);
    ui.AnswerPopupMenu("Delete");
    ExpectEditCommandsEnabled(false);
    ui.PressKey('S', kModControl);
    RunAndExit();

    EXPECT_EQ(dlg.m_table.GetItemCount(), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{kSelectToDelete});
    ASSERT_EQ(ui.GetFileChoosers().size(), 2u) << "Ctrl+O, and Ctrl+S only while Export is enabled";
    EXPECT_TRUE(ui.GetFileChoosers()[1].request.save);
    EXPECT_EQ(ui.GetFileChoosers()[1].request.title, "Export");
    EXPECT_NE(ReadFile(exported).find("\nCableName1 = RG58A\nVelocity1 = 0.66\n"), std::string::npos);
    ASSERT_EQ(ui.GetDialogs().size(), 4u);
    EXPECT_EQ(ui.GetDialogs()[3].layoutId, IDD_ABOUTBOX);
    ASSERT_EQ(ui.GetPopupMenus().size(), 3u);
    const auto entries = [this](std::size_t menu) {
        std::vector<std::string> texts;
        for (const SPopupMenuItem& item : ui.GetPopupMenus()[menu].items) {
            texts.push_back(item.separator ? "" : (item.enabled ? "+" : "-") + item.text);
        }
        return texts;
    };
    EXPECT_EQ(entries(0), (std::vector<std::string>{"-&Undo\tCtrl+Z", "-&Redo\tCtrl+Y", "", "-&Copy\tCtrl+C",
                                                    "-Copy A&ll Rows", "-&Paste\tCtrl+V", "", "-&Edit\tF2",
                                                    "-&Delete\tDel", "+&New List\tCtrl+N", "", "+&About Quorlis..."}));
    EXPECT_EQ(entries(2), (std::vector<std::string>{"+&Undo\tCtrl+Z", "-&Redo\tCtrl+Y", "", "+&Copy\tCtrl+C",
                                                    "+Copy A&ll Rows", "+&Paste\tCtrl+V", "", "+&Edit\tF2",
                                                    "+&Delete\tDel", "+&New List\tCtrl+N", "", "+&About Quorlis..."}));
    EXPECT_EQ(ui.GetPopupMenus()[0].chosen, -1);
    EXPECT_EQ(ui.GetPopupMenus()[0].ownerLayoutId, IDD_QUORLIS_DIALOG);
}

// A file named at start is imported once the window runs, as if chosen in Import.
TEST_F(QuorlisDlgTest, FileNamedAtStartIsImportedAsImportWould) {
    dlg.ImportAtStart(MakeFile("CableList.ini", kTwoRows));
    ui.Check([this] {
        EXPECT_EQ(dlg.m_table.GetItemCount(), 2) << "before the user does anything";
        EXPECT_EQ(dlg.m_table.GetSelectedRow(), 1);
    });
    ExpectEditCommandsEnabled(true);
    RunAndExit();
    EXPECT_TRUE(ui.GetFileChoosers().empty());
    EXPECT_TRUE(Messages().empty());

    CQuorlisDlg second;
    second.ImportAtStart((dir / "missing.ini").string());
    ui.Check([&] { EXPECT_FALSE(second.IsControlEnabled(IDC_EXPORT)); });
    ui.PressEscape();
    ui.AnswerMessageBox(kIdYes);
    second.DoModal();
    ASSERT_EQ(ui.GetMessageBoxes().size(), 3u);
    EXPECT_EQ(ui.GetMessageBoxes()[1].text, kOpenFailed);
    EXPECT_EQ(ui.GetMessageBoxes()[1].ownerLayoutId, IDD_QUORLIS_DIALOG);
}

// A dropped file is imported as if chosen in Import; while a dialog runs over the window, a drop
// on the window is refused.
TEST_F(QuorlisDlgTest, DroppedFileIsImportedAsImportWould) {
    const std::string three = MakeFile("three.ini", "header\nCableName1 = a\nVelocity1 = b\nCableLoss1 = c\n");
    ui.DropFiles({three});
    ui.DropFiles({MakeFile("CableList.ini", kTwoRows), three});
    ExpectEditCommandsEnabled(true);
    ui.Click(IDC_ADD_CABLE);
    ui.Check([this, three] { ui.FindWindow(IDD_QUORLIS_DIALOG)->UserDropFiles({three}); });
    ui.PressEscape();
    RunAndExit();
    EXPECT_EQ(Messages(), (std::vector<std::string>{kFormatError, kItemCountError}));
    EXPECT_EQ(dlg.m_table.GetItemCount(), 2);
}

// The file chooser opens in the folder of the file last imported or exported, however it came.
TEST_F(QuorlisDlgTest, FileChooserOpensInTheFolderOfTheLastFile) {
    fs::create_directories(dir / "a");
    fs::create_directories(dir / "b");
    const std::string inA = (dir / "a" / "CableList.ini").string();
    std::ofstream(inA, std::ios::binary) << kTwoRows;
    Import(inA);
    ui.AnswerFileChooser((dir / "b" / "copy.ini").string());
    ui.Click(IDC_EXPORT);
    ui.AnswerFileChooser(std::nullopt);
    ui.Click(IDC_IMPORT);
    ui.DropFiles({inA});
    ui.AnswerFileChooser(std::nullopt);
    ui.Click(IDC_EXPORT);
    RunAndExit();
    std::vector<std::string> folders;
    for (const auto& chooser : ui.GetFileChoosers()) folders.push_back(chooser.request.initialFolder);
    const std::string a = GetFolderOfPath(inA);
    EXPECT_EQ(a, (dir / "a").string() + static_cast<char>(fs::path::preferred_separator));
    EXPECT_EQ(folders, (std::vector<std::string>{"", a, GetFolderOfPath((dir / "b" / "copy.ini").string()), a}));
}

TEST_F(QuorlisDlgTest, ExitQuestionNoStaysAndYesEndsThroughEachPath) {
    ui.PressEscape();
    ui.AnswerMessageBox(kIdNo);
    ui.CloseBox();
    ui.AnswerMessageBox(kIdNo);
    ui.SelectListRow(IDC_CABLE_LIST, -1);  // focuses the list: Enter is the window's OK
    ui.PressEnter();
    ui.AnswerMessageBox(kIdYes);
    EXPECT_EQ(dlg.DoModal(), kIdOk);
    ASSERT_EQ(ui.GetMessageBoxes().size(), 3u);
    for (const auto& box : ui.GetMessageBoxes()) {
        EXPECT_EQ(box.text, kExitQuestion);
        EXPECT_EQ(box.type, EMsgBoxType::YesNo);
        EXPECT_EQ(box.icon, EMsgBoxIcon::Question);
    }

    CQuorlisDlg second;
    ui.CloseBox();
    ui.AnswerMessageBox(kIdYes);
    EXPECT_EQ(second.DoModal(), kIdCancel);
}

TEST_F(QuorlisDlgTest, EnterAtStartClicksImport) {
    ui.PressEnter();
    RunAndExit();
    EXPECT_EQ(ui.GetFileChoosers().size(), 1u);
}

TEST_F(QuorlisDlgTest, AboutEntryRunsTheAboutBoxOverTheWindow) {
    Import(MakeFile("CableList.ini", kTwoRows));
    ui.SysCommand(IDM_ABOUTBOX);
    ui.Check([this] { EXPECT_EQ(ui.ActiveWindow()->GetLayout().id, IDD_ABOUTBOX); });
    ui.PressEnter();
    ui.SysCommand(IDM_ABOUTBOX | 0x2);  // the low four bits are the platform's
    ui.PressEnter();
    ExpectEditCommandsEnabled(true);
    RunAndExit();
    ASSERT_EQ(ui.GetDialogs().size(), 3u);
    EXPECT_EQ(ui.GetDialogs()[2].layoutId, IDD_ABOUTBOX);
    EXPECT_EQ(ui.GetDialogs()[1].layoutId, IDD_ABOUTBOX);
    EXPECT_EQ(ui.GetDialogs()[1].ownerLayoutId, IDD_QUORLIS_DIALOG);
    EXPECT_EQ(ui.GetDialogs()[1].result, kIdOk);
    EXPECT_EQ(dlg.m_table.GetItemCount(), 2);
}

// The minimised window shows the icon centred, rounding toward zero; else it paints as any dialog.
TEST_F(QuorlisDlgTest, PaintsTheIconCentredWhileMinimised) {
    ui.Paint();
    ui.Check([this] {
        CHeadlessDialogWindow& window = *ui.ActiveWindow();
        window.SetMinimized(true);
        window.SetSystemIconSize(32, 32);
        window.SetClientSize(101, 20);
    });
    ui.Paint();
    ui.Check([this] {
        EXPECT_EQ(ui.ActiveWindow()->GetPaintLog(),
                  (std::vector<std::string>{"DefaultPaint", "EraseIconBackground", "DrawIcon 128 at 35,-5"}));
        EXPECT_EQ(dlg.HandleQueryDragIcon(), IDR_MAINFRAME);
        ui.ActiveWindow()->SetMinimized(false);
    });
    RunAndExit();
}

}  // namespace
