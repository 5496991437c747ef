#pragma once
// The cable parameter dialog: one cable's name, velocity, cable loss and frequency. The caller
// sets the four texts, runs the dialog and, when it ends with kIdOk, reads them back exactly as
// typed. OK insists that every field is filled and that the three numeric fields begin with a
// number; Cancel, Escape and the close box end it with kIdCancel.

#include "cable/CableColumns.h"
#include "platform/Dialog.h"

#include <string>

class CQuorletDlg : public CDialog {
public:
    CQuorletDlg();

    // The four texts: set by the caller before the run, read by it after kIdOk. Never hold a line
    // feed, carriage return or NUL when the dialog hands them back.
    std::string m_strName;
    std::string m_strVelocity;
    std::string m_strCableLoss;
    std::string m_strFrequency;

    // The four texts as a row's cells, in column order: how a caller fills them from a row and
    // takes a row from them.
    void SetCellTexts(const CableCells& cells);
    CableCellTexts GetCellTexts() const;

protected:
    // Checks the three numeric fields; the name passes as it is.
    void DoDataExchange(CDataExchange* pDX) override;
    // Shows the caller's four texts; the focus goes to OK.
    bool OnInitDialog() override;
    // Checks the fields and, when all four are filled and pass, hands them back and ends with kIdOk.
    void OnOkClicked();

    QUORLIS_DECLARE_MESSAGE_MAP()

private:
    // The fields' exchange values: only the checks of the saving direction use them.
    std::string m_name;
    double m_velocity = 0.0;
    double m_cableLoss = 0.0;
    double m_frequency = 0.0;
};
