#include "ui/QuorletDlg.h"

#include "platform/DataExchange.h"
#include "platform/FieldText.h"
#include "res/Resources.h"

QUORLIS_BEGIN_MESSAGE_MAP(CQuorletDlg)
ON_BN_CLICKED(kIdOk, &CQuorletDlg::OnOkClicked)
QUORLIS_END_MESSAGE_MAP()

CQuorletDlg::CQuorletDlg() : CDialog(IDD_CABLE_PARAMETER) {}

void CQuorletDlg::SetCellTexts(const CableCells& cells) {
    m_strName = cells[kNameColumn];
    m_strVelocity = cells[kVelocityColumn];
    m_strCableLoss = cells[kCableLossColumn];
    m_strFrequency = cells[kFrequencyColumn];
}

CableCellTexts CQuorletDlg::GetCellTexts() const {
    CableCellTexts cells;
    cells[kNameColumn] = m_strName;
    cells[kVelocityColumn] = m_strVelocity;
    cells[kCableLossColumn] = m_strCableLoss;
    cells[kFrequencyColumn] = m_strFrequency;
    return cells;
}

void CQuorletDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_NAME, m_name);
    DDX_Text(pDX, IDC_VELOCITY, m_velocity);
    DDX_Text(pDX, IDC_CABLE_LOSS, m_cableLoss);
    DDX_Text(pDX, IDC_FREQUENCY, m_frequency);
}

bool CQuorletDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetFieldText(IDC_NAME, m_strName);
    SetFieldText(IDC_CABLE_LOSS, m_strCableLoss);
    SetFieldText(IDC_VELOCITY, m_strVelocity);
    SetFieldText(IDC_FREQUENCY, m_strFrequency);
    return true;
}

void CQuorletDlg::OnOkClicked() {
    const std::string name = RemoveLineBreaksAndNul(GetFieldText(IDC_NAME));
    const std::string velocity = RemoveLineBreaksAndNul(GetFieldText(IDC_VELOCITY));
    const std::string cableLoss = RemoveLineBreaksAndNul(GetFieldText(IDC_CABLE_LOSS));
    const std::string frequency = RemoveLineBreaksAndNul(GetFieldText(IDC_FREQUENCY));

    // A failing field has shown its message and taken the focus; the empty-field test still runs.
    UpdateData(true);
    if (name.empty() || velocity.empty() || cableLoss.empty() || frequency.empty()) return;

    m_strName = name;
    m_strCableLoss = cableLoss;
    m_strVelocity = velocity;
    m_strFrequency = frequency;
    OnOK();
}
