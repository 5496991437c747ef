#include "ui/QuorlisDlg.h"

#include "cable/CableListFile.h"
#include "cable/UnwritableCellError.h"
#include "platform/DataExchange.h"
#include "platform/FilePath.h"
#include "platform/MessageBox.h"
#include "platform/TextLineEnd.h"
#include "platform/WaitCursor.h"
#include "res/Resources.h"
#include "ui/AppendRowsStep.h"
#include "ui/DeleteRowStep.h"
#include "ui/EditRowStep.h"
#include "ui/QuorletDlg.h"
#include "ui/ReplaceTableStep.h"
#include "ui/SpreadsheetText.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace {

constexpr int kEditCommands[] = {IDC_ADD_CABLE, IDC_EDIT_CABLE, IDC_EXPORT, IDC_DELETE_CABLE};

}  // namespace

CQuorlisDlg::CQuorlisDlg(std::function<void()> runAboutBox)
    : CDialog(IDD_QUORLIS_DIALOG), m_hIcon(IDR_MAINFRAME), m_runAboutBox(std::move(runAboutBox)) {}

QUORLIS_BEGIN_MESSAGE_MAP(CQuorlisDlg)
ON_BN_CLICKED(IDC_IMPORT, &CQuorlisDlg::OnImport)
ON_BN_CLICKED(IDC_EXPORT, &CQuorlisDlg::OnExport)
ON_BN_CLICKED(IDC_ADD_CABLE, &CQuorlisDlg::OnAdd)
ON_BN_CLICKED(IDC_EDIT_CABLE, &CQuorlisDlg::OnEdit)
ON_BN_CLICKED(IDC_DELETE_CABLE, &CQuorlisDlg::OnDelete)
ON_NOTIFY(kNmDblClk, IDC_CABLE_LIST, &CQuorlisDlg::OnListDoubleClick)
ON_NOTIFY(kLvnKeyDown, IDC_CABLE_LIST, &CQuorlisDlg::OnListKeyDown)
ON_COMMAND(ID_IMPORT_START_FILE, &CQuorlisDlg::OnImportStartFile)
ON_COMMAND(ID_NEW_LIST, &CQuorlisDlg::OnNewList)
ON_COMMAND(ID_EDIT_UNDO, &CQuorlisDlg::OnUndo)
ON_COMMAND(ID_EDIT_REDO, &CQuorlisDlg::OnRedo)
ON_COMMAND(ID_EDIT_COPY, &CQuorlisDlg::OnCopy)
ON_COMMAND(ID_EDIT_COPY_ALL, &CQuorlisDlg::OnCopyAll)
ON_COMMAND(ID_EDIT_PASTE, &CQuorlisDlg::OnPaste)
QUORLIS_END_MESSAGE_MAP()

void CQuorlisDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CABLE_LIST, m_list);
}

bool CQuorlisDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    AddAboutMenuEntry();
    GetWindow()->SetIcon(m_hIcon, true);
    GetWindow()->SetIcon(m_hIcon, false);

    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | kLvsExGridLines | kLvsExFullRowSelect);
    for (int column = 0; column < m_table.GetColumnCount(); ++column) {
        m_list.InsertColumn(column, QuorlisText::kColumnHeadings[column], kLvcfmtLeft,
                            QuorlisText::kColumnWidths[column]);
    }

    EnableEditCommands(false);
    UseAcceleratorTable(IDR_MAIN_ACCELERATORS);
    DragAcceptFiles();
    // Its messages need the window on the screen, as their owner.
    if (!m_startFile.empty()) PostCommand(ID_IMPORT_START_FILE);
    return true;
}

void CQuorlisDlg::ImportAtStart(std::string path) { m_startFile = std::move(path); }

void CQuorlisDlg::AddAboutMenuEntry() {
    IDialogWindow& window = *GetWindow();
    if (!window.HasSystemMenu()) return;
    const std::string aboutText = LoadResString(IDS_ABOUTBOX);
    if (aboutText.empty()) return;
    window.AppendSystemMenuSeparator();
    window.AppendSystemMenuItem(IDM_ABOUTBOX, aboutText);
}

void CQuorlisDlg::OnSysCommand(unsigned id, long param) {
    if ((id & kSysCommandMask) == IDM_ABOUTBOX) {
        if (m_runAboutBox) m_runAboutBox();
    } else {
        CDialog::OnSysCommand(id, param);
    }
}

void CQuorlisDlg::OnPaint() {
    IDialogWindow& window = *GetWindow();
    if (!window.IsMinimized()) {
        CDialog::OnPaint();
        return;
    }
    window.EraseIconBackground();
    int clientWidth = 0, clientHeight = 0, iconWidth = 0, iconHeight = 0;
    window.GetClientSize(clientWidth, clientHeight);
    window.GetSystemIconSize(iconWidth, iconHeight);
    window.DrawIcon(m_hIcon, (clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2);
}

int CQuorlisDlg::OnQueryDragIcon() { return m_hIcon; }

std::optional<std::string> CQuorlisDlg::ChooseCableFile(bool save) {
    SFileChooser request;
    request.save = save;
    request.title = save ? QuorlisText::kExportCommand : QuorlisText::kImportCommand;
    request.defaultExt = QuorlisText::kDefaultExtension;
    request.fileName = QuorlisText::kDefaultFileName;
    request.filter = QuorlisText::kFileFilter;
    request.hideReadOnly = true;
    request.overwritePrompt = true;
    request.initialFolder = m_lastFolder;
    return GetWindowing().ChooseFile(GetWindow(), request);
}

void CQuorlisDlg::EnableEditCommands(bool enable) {
    m_editingEnabled = enable;
    for (int id : kEditCommands) EnableControl(id, enable);
}

void CQuorlisDlg::DoStep(std::unique_ptr<CUndoCommand> step) {
    m_steps.Push(std::move(step));
    ShowStepState();
}

void CQuorlisDlg::ReplaceTable(CCableTable&& incoming) {
    const bool wasClean = m_steps.IsClean();
    DoStep(std::make_unique<CReplaceTableStep>(m_table, m_editingEnabled, std::move(incoming)));
    if (wasClean) m_steps.AddCleanPosition();
}

void CQuorlisDlg::ShowStepState() {
    EnableEditCommands(m_editingEnabled);
    ShowSelectedRow();
}

void CQuorlisDlg::ShowSelectedRow() {
    const int row = m_table.GetSelectedRow();
    if (row >= 0) m_list.EnsureVisible(row, false);
}

void CQuorlisDlg::OnImport() {
    const std::optional<std::string> path = ChooseCableFile(false);
    if (path) ImportFile(*path);
}

void CQuorlisDlg::ImportFile(const std::string& path) {
    m_lastFolder = GetFolderOfPath(path);
    int rows = 0;
    try {
        const CWaitCursor busy;
        CCableTable incoming;
        rows = ReadCableListFile(path, incoming);
        if (rows > 0) ReplaceTable(std::move(incoming));
    } catch (...) {
        // Whatever failed (the file, memory), the reader has left the table as it was.
        ShowMessageBox(QuorlisText::kOpenFailed);
        return;
    }
    if (rows == kCableFormatError) {
        ShowMessageBox(QuorlisText::kFormatError);
        ShowMessageBox(QuorlisText::kItemCountError);
    } else if (rows == 0) {
        ShowMessageBox(QuorlisText::kItemCountError);
    }
}

void CQuorlisDlg::OnExport() {
    const std::optional<std::string> path = ChooseCableFile(true);
    if (!path) return;
    m_lastFolder = GetFolderOfPath(*path);
    try {
        const CWaitCursor busy;
        WriteCableListFile(*path, m_table);
        m_steps.SetClean();
    } catch (const CUnwritableCellError& error) {
        // The designed text, and on a line of its own which cell the user must change.
        ShowMessageBox(std::string(QuorlisText::kExportFailed) + "\n" + QuorlisText::kRowPrefix +
                       std::to_string(error.GetRow() + 1) + ", " + QuorlisText::kColumnHeadings[error.GetColumn()] +
                       QuorlisText::kUnwritableCell);
    } catch (...) {
        // A failure of any kind (the file, memory) means the list is not saved: the user must know.
        ShowMessageBox(QuorlisText::kExportFailed);
    }
}

void CQuorlisDlg::OnAdd() {
    CQuorletDlg parameterDlg;
    if (parameterDlg.DoModal() != kIdOk) return;

    std::vector<SCableRowTexts> rows;
    rows.push_back(parameterDlg.GetCellTexts());
    DoStep(std::make_unique<CAppendRowsStep>(m_table, m_editingEnabled, std::move(rows)));
}

void CQuorlisDlg::OnEdit() {
    const int row = m_table.GetSelectedRow();
    if (row < 0) {
        ShowMessageBox(QuorlisText::kSelectToEdit);
        return;
    }

    CQuorletDlg parameterDlg;
    parameterDlg.SetCellTexts(m_table.GetRowTextViews(row));
    const bool confirmed = parameterDlg.DoModal() == kIdOk;
    ShowSelectedRow();
    if (!confirmed) return;

    SCableRowTexts cells = parameterDlg.GetCellTexts();
    const CableCells before = m_table.GetRowTextViews(row);
    if (std::equal(cells.begin(), cells.end(), before.begin())) return;
    DoStep(std::make_unique<CEditRowStep>(m_table, m_editingEnabled, row, std::move(cells)));
}

void CQuorlisDlg::OnDelete() {
    if (m_table.GetItemCount() == 0) {
        ShowMessageBox(QuorlisText::kNothingToDelete);
        return;
    }
    const int row = m_table.GetSelectedRow();
    if (row < 0) {
        ShowMessageBox(QuorlisText::kSelectToDelete);
        return;
    }

    DoStep(std::make_unique<CDeleteRowStep>(m_table, m_editingEnabled, row));
}

void CQuorlisDlg::OnListDoubleClick(const SNotify& notify) {
    if (notify.row < 0 || notify.row >= m_table.GetItemCount()) return;
    if (m_table.GetSelectedRow() != notify.row) m_table.SelectRow(notify.row);
    SendCommand(IDC_EDIT_CABLE);
}

void CQuorlisDlg::OnListKeyDown(const SNotify& notify) {
    if (notify.key == kVkF2) SendCommand(IDC_EDIT_CABLE);
    if (notify.key == kVkDelete) SendCommand(IDC_DELETE_CABLE);
}

bool CQuorlisDlg::OnContextMenu(int, SScreenPoint where) {
    TrackContextMenu(IDR_ROW_MENU, where);
    return true;
}

void CQuorlisDlg::OnDropFiles(const std::vector<std::string>& paths) { ImportFile(paths.front()); }

void CQuorlisDlg::OnImportStartFile() { ImportFile(m_startFile); }

void CQuorlisDlg::OnNewList() { ReplaceTable(CCableTable()); }

void CQuorlisDlg::OnUndo() {
    m_steps.Undo();
    ShowStepState();
}

void CQuorlisDlg::OnRedo() {
    m_steps.Redo();
    ShowStepState();
}

void CQuorlisDlg::OnCopy() {
    const int row = m_table.GetSelectedRow();
    if (row < 0) return;
    CopyText(FormatSpreadsheetLine(m_table.GetRowTextViews(row), GetTextLineEnd()));
}

void CQuorlisDlg::OnCopyAll() {
    const std::string_view lineEnd = GetTextLineEnd();
    const auto& headings = QuorlisText::kColumnHeadings;
    std::string text = FormatSpreadsheetLine({headings[0], headings[1], headings[2], headings[3]}, lineEnd);
    for (int row = 0; row < m_table.GetItemCount(); ++row) {
        text += FormatSpreadsheetLine(m_table.GetRowTextViews(row), lineEnd);
    }
    CopyText(text);
}

void CQuorlisDlg::CopyText(const std::string& text) {
    if (!GetWindowing().SetClipboardText(text)) ShowMessageBox(QuorlisText::kClipboardUnavailable);
}

void CQuorlisDlg::OnPaste() {
    const std::optional<SClipboardText> clipboard = GetWindowing().GetClipboardText();
    if (!clipboard) {
        ShowMessageBox(QuorlisText::kNothingToPaste);
        return;
    }
    SSpreadsheetRows pasted = ParseSpreadsheetRows(clipboard->text, clipboard->unconvertibleLine);
    if (pasted.wrongLine > 0) {
        ShowMessageBox(QuorlisText::kLinePrefix + std::to_string(pasted.wrongLine) + ": " + pasted.problem);
    } else if (pasted.rows.empty()) {
        ShowMessageBox(QuorlisText::kNothingToPaste);
    } else {
        DoStep(std::make_unique<CAppendRowsStep>(m_table, m_editingEnabled, std::move(pasted.rows)));
    }
}

bool CQuorlisDlg::IsCommandEnabled(int id) const {
    switch (id) {
        case ID_EDIT_UNDO:
            return m_steps.CanUndo();
        case ID_EDIT_REDO:
            return m_steps.CanRedo();
        case ID_EDIT_COPY:
            return m_table.GetSelectedRow() >= 0;
        case ID_EDIT_COPY_ALL:
            return m_table.GetItemCount() > 0;
        case ID_EDIT_PASTE:
            return CDialog::IsCommandEnabled(IDC_ADD_CABLE);
        default:
            return CDialog::IsCommandEnabled(id);
    }
}

bool CQuorlisDlg::ConfirmExit() {
    const EMsgBoxDefault answer = m_steps.IsClean() ? EMsgBoxDefault::Yes : EMsgBoxDefault::No;
    return ShowMessageBox(QuorlisText::kExitQuestion, EMsgBoxType::YesNo, answer) == kIdYes;
}

void CQuorlisDlg::OnOK() {
    if (ConfirmExit()) CDialog::OnOK();
}

void CQuorlisDlg::OnCancel() {
    if (ConfirmExit()) CDialog::OnCancel();
}
