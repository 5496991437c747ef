#include "ui/QuorlisDlg.h"

#include "cable/CableListFile.h"
#include "cable/UnwritableCellError.h"
#include "platform/DataExchange.h"
#include "platform/FilePath.h"
#include "platform/MessageBox.h"
#include "platform/WaitCursor.h"
#include "res/Resources.h"
#include "ui/QuorletDlg.h"

#include <utility>

namespace {

constexpr int kEditCommands[] = {IDC_ADD_CABLE, IDC_EDIT_CABLE, IDC_EXPORT, IDC_DELETE_CABLE};

enum ECableColumn { kNameColumn, kVelocityColumn, kCableLossColumn, kFrequencyColumn };

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
    for (int column = 0; column < m_list.GetColumnCount(); ++column) {
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
    request.defaultExt = QuorlisText::kDefaultExtension;
    request.fileName = QuorlisText::kDefaultFileName;
    request.filter = QuorlisText::kFileFilter;
    request.hideReadOnly = true;
    request.overwritePrompt = true;
    request.initialFolder = m_lastFolder;
    return GetWindowing().ChooseFile(GetWindow(), request);
}

void CQuorlisDlg::EnableEditCommands(bool enable) {
    for (int id : kEditCommands) EnableControl(id, enable);
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
        rows = ReadCableListFile(path, m_list);
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
    } else {
        EnableEditCommands(true);
    }
}

void CQuorlisDlg::OnExport() {
    const std::optional<std::string> path = ChooseCableFile(true);
    if (!path) return;
    m_lastFolder = GetFolderOfPath(*path);
    try {
        const CWaitCursor busy;
        WriteCableListFile(*path, m_list);
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

    const int row = m_list.InsertRow(m_list.GetItemCount(), parameterDlg.m_strName);
    m_list.SetCellText(row, kVelocityColumn, parameterDlg.m_strVelocity);
    m_list.SetCellText(row, kCableLossColumn, parameterDlg.m_strCableLoss);
    m_list.SetCellText(row, kFrequencyColumn, parameterDlg.m_strFrequency);
}

void CQuorlisDlg::OnEdit() {
    const int row = m_list.GetSelectedRow();
    if (row < 0) {
        ShowMessageBox(QuorlisText::kSelectToEdit);
        return;
    }

    CQuorletDlg parameterDlg;
    parameterDlg.m_strName = m_list.GetCellText(row, kNameColumn);
    parameterDlg.m_strVelocity = m_list.GetCellText(row, kVelocityColumn);
    parameterDlg.m_strCableLoss = m_list.GetCellText(row, kCableLossColumn);
    parameterDlg.m_strFrequency = m_list.GetCellText(row, kFrequencyColumn);
    if (parameterDlg.DoModal() != kIdOk) return;

    m_list.SetCellText(row, kNameColumn, parameterDlg.m_strName);
    m_list.SetCellText(row, kVelocityColumn, parameterDlg.m_strVelocity);
    m_list.SetCellText(row, kCableLossColumn, parameterDlg.m_strCableLoss);
    m_list.SetCellText(row, kFrequencyColumn, parameterDlg.m_strFrequency);
}

void CQuorlisDlg::OnDelete() {
    if (m_list.GetItemCount() == 0) {
        ShowMessageBox(QuorlisText::kNothingToDelete);
        return;
    }
    const int row = m_list.GetSelectedRow();
    if (row < 0) {
        ShowMessageBox(QuorlisText::kSelectToDelete);
        return;
    }

    m_list.DeleteRow(row);
    if (m_list.GetItemCount() == 0) EnableEditCommands(false);
}

void CQuorlisDlg::OnListDoubleClick(const SNotify& notify) {
    if (notify.row < 0 || notify.row >= m_list.GetItemCount()) return;
    if (m_list.GetSelectedRow() != notify.row) m_list.SelectRow(notify.row);
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

bool CQuorlisDlg::ConfirmExit() { return ShowMessageBox(QuorlisText::kExitQuestion, EMsgBoxType::YesNo) == kIdYes; }

void CQuorlisDlg::OnOK() {
    if (ConfirmExit()) CDialog::OnOK();
}

void CQuorlisDlg::OnCancel() {
    if (ConfirmExit()) CDialog::OnCancel();
}
