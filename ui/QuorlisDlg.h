#pragma once
// The main window: the cable table, shown in a list control, and the Import, Export, Add, Edit and Delete
// commands. Only Import is enabled until an Import has made a row; Delete of the last row locks
// the other four again. Enter in the list (OK), Escape and the close box (Cancel) ask before the
// window closes. The commands have keys too (Ctrl+O Import, Ctrl+S Export, F2 Edit and Delete in
// the list, a double click on a row Edit) and the context menu holds Edit, Delete and About; each
// acts only while its button is enabled. A file named at start or dropped on the window is
// imported as if chosen in Import, and the file chooser opens in the folder of the last file.
//
// Added to those: New list (Ctrl+N) empties the table and enables the editing commands as an
// Import does; every change to the table (Add, an Edit that changes a cell, Delete, an Import that
// made rows, New list, Paste) is one step that Undo (Ctrl+Z) takes back and Redo (Ctrl+Y,
// Ctrl+Shift+Z) repeats, with the selection and the enabling of its moment; Copy (Ctrl+C) puts the
// selected row on the clipboard as a spreadsheet line, Copy All Rows the headings and every row;
// Paste (Ctrl+V, enabled with Add) appends the rows of spreadsheet lines, checked as Add checks a
// row. The selected row is scrolled into view after each command that selects one. While the table
// holds changes that no Export saved, the exit question's default button is No.

#include "cable/CableTable.h"
#include "platform/Dialog.h"
#include "platform/ListCtrl.h"
#include "ui/CableListSource.h"
#include "ui/TableStep.h"
#include "ui/UndoStack.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CQuorlisDlg : public CDialog {
public:
    // runAboutBox shows the About box; the application supplies it, since the About box belongs
    // to the application and not to this window.
    explicit CQuorlisDlg(std::function<void()> runAboutBox = {});

    // Imports the file at path as Import would, once the window is shown.
    void ImportAtStart(std::string path);

    // The rows: owned here, displayed through m_tableSource by the list control IDC_CABLE_LIST
    // while the window runs.
    CCableTable m_table;
    CCableListSource m_tableSource{m_table};
    CListCtrl m_list{m_tableSource};

protected:
    int m_hIcon;  // the application icon's resource id
    std::function<void()> m_runAboutBox;

    void DoDataExchange(CDataExchange* pDX) override;
    // Adds the About entry to the system menu, sets the icon, sets up the list's styles and
    // columns, and leaves only Import enabled. Returns true (the framework focuses Import).
    bool OnInitDialog() override;
    // The exit question; Yes closes the window with kIdOk (after data exchange) or kIdCancel.
    void OnOK() override;
    void OnCancel() override;
    // The About entry opens the About box; other commands get the default handling.
    void OnSysCommand(unsigned id, long param) override;
    // Draws the icon centred while the window is minimised; else paints as any dialog.
    void OnPaint() override;
    // The application icon.
    int OnQueryDragIcon() override;

    // Reads a chosen cable list file into the table.
    void OnImport();
    // Writes the table to a chosen file; any failure shows "Export Cable List File Failed".
    void OnExport();
    // Appends a row entered in the cable parameter dialog, selected.
    void OnAdd();
    // Changes the selected row in the cable parameter dialog.
    void OnEdit();
    // Deletes the selected row at once.
    void OnDelete();
    // Edit for the row double-clicked.
    void OnListDoubleClick(const SNotify& notify);
    // F2 is Edit, Delete is Delete.
    void OnListKeyDown(const SNotify& notify);
    // The context menu: Edit, Delete and About.
    bool OnContextMenu(int controlId, SScreenPoint where) override;
    // Imports the first file dropped.
    void OnDropFiles(const std::vector<std::string>& paths) override;
    // Imports the file named at start.
    void OnImportStartFile();
    // Starts an empty list, as one step.
    void OnNewList();
    // Undoes the last step, or redoes the last one undone.
    void OnUndo();
    void OnRedo();
    // Puts the selected row, or the headings and all rows, on the clipboard as spreadsheet lines.
    void OnCopy();
    void OnCopyAll();
    // Appends the rows of the spreadsheet lines on the clipboard, as one step; a wrong line is
    // named in a warning and nothing is pasted.
    void OnPaste();
    // New list, Undo and Redo, Copy, Copy All Rows and Paste are enabled when they can act.
    bool IsCommandEnabled(int id) const override;

    QUORLIS_DECLARE_MESSAGE_MAP()

private:
    // Reads the cable list file at path into the table, with Import's messages and enabling. Any
    // failure shows "Open Cable File Failed" and leaves the table as it was.
    void ImportFile(const std::string& path);
    // Shows the open or save file chooser for a cable list file; nothing on Cancel.
    std::optional<std::string> ChooseCableFile(bool save);
    // Enables or disables Add, Edit, Export and Delete together.
    void EnableEditCommands(bool enable);
    // Runs step and keeps it for Undo; then shows the state it made.
    void DoStep(std::unique_ptr<CUndoCommand> step);
    // Replaces every row with incoming's as one step (Import, New list). Made while the table was
    // clean, it leaves it clean.
    void ReplaceTable(CCableTable&& incoming);
    // Enables the editing commands as the steps left them and scrolls the selected row into view.
    void ShowStepState();
    void ShowSelectedRow();
    // Puts text on the clipboard; a warning when the clipboard cannot be had.
    void CopyText(const std::string& text);
    // Appends a separator and the About entry to the system menu, when there is one.
    void AddAboutMenuEntry();
    // Asks the exit question; true on Yes.
    bool ConfirmExit();

    std::string m_startFile;
    std::string m_lastFolder;       // of the file last imported or exported; the chooser opens there
    bool m_editingEnabled = false;  // Add, Edit, Export and Delete: the window's state
    CUndoStack m_steps;             // clean where no change since the last Export would be lost
};
