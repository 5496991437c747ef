#pragma once
// The main window: the cable table in a list control and the Import, Export, Add, Edit and Delete
// commands. Only Import is enabled until an Import has made a row; Delete of the last row locks
// the other four again. Enter in the list (OK), Escape and the close box (Cancel) ask before the
// window closes. The commands have keys too (Ctrl+O Import, Ctrl+S Export, F2 Edit and Delete in
// the list, a double click on a row Edit) and the context menu holds Edit, Delete and About; each
// acts only while its button is enabled. A file named at start or dropped on the window is
// imported as if chosen in Import, and the file chooser opens in the folder of the last file.

#include "platform/Dialog.h"
#include "platform/ListCtrl.h"

#include <functional>
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

    // The table, displayed by the list control IDC_CABLE_LIST while the window runs.
    CListCtrl m_list;

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

    QUORLIS_DECLARE_MESSAGE_MAP()

private:
    // Reads the cable list file at path into the table, with Import's messages and enabling. Any
    // failure shows "Open Cable File Failed" and leaves the table as it was.
    void ImportFile(const std::string& path);
    // Shows the open or save file chooser for a cable list file; nothing on Cancel.
    std::optional<std::string> ChooseCableFile(bool save);
    // Enables or disables Add, Edit, Export and Delete together.
    void EnableEditCommands(bool enable);
    // Appends a separator and the About entry to the system menu, when there is one.
    void AddAboutMenuEntry();
    // Asks the exit question; true on Yes.
    bool ConfirmExit();

    std::string m_startFile;
    std::string m_lastFolder;  // of the file last imported or exported; the chooser opens there
};
