#pragma once
// Data exchange between a dialog's controls and its members. In the loading direction each DDX_
// call writes a member into its control; in the saving direction it reads and checks the control
// and stores the member. A failed check shows its message, focuses the field with its text
// selected and ends the pass: later fields are not looked at.

#include <string>

class CDialog;
class CListCtrl;

class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate);

    // Remembers the edit field being exchanged, for Fail.
    void PrepareEditCtrl(int id);
    // Focuses the last prepared field with its text selected and ends the pass (throws
    // CDataExchangeFailure, which UpdateData catches).
    [[noreturn]] void Fail();

    CDialog& m_dialog;
    const bool m_bSaveAndValidate;

private:
    int m_lastEditId = 0;
};

// Thrown by CDataExchange::Fail to end a saving pass.
struct CDataExchangeFailure {};

// A field as text, unchecked.
void DDX_Text(CDataExchange* pDX, int id, std::string& value);
// A field as a number. Loading writes value with "%.*g" and 15 significant digits. Saving checks
// the field with ParseLeadingNumber; on failure it shows "Enter a number." (string IDP_PARSE_REAL)
// in an OK box and fails the pass.
void DDX_Text(CDataExchange* pDX, int id, double& value);
// Binds a list control object to control id (loading direction only; never fails).
void DDX_Control(CDataExchange* pDX, int id, CListCtrl& control);
