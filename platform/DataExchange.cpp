#include "platform/DataExchange.h"

#include "platform/Dialog.h"
#include "platform/ListCtrl.h"
#include "platform/MessageBox.h"
#include "platform/NumberParse.h"
#include "res/ResourceIds.h"

#include <charconv>

namespace {

constexpr int kShownDigits = 15;

// value as "%.15g" would write it in the "C" locale, whatever the program's LC_NUMERIC.
std::string FormatNumber(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, kShownDigits);
    return std::string(buffer, result.ptr);
}

}  // namespace

CDataExchange::CDataExchange(CDialog& dialog, bool saveAndValidate)
    : m_dialog(dialog), m_bSaveAndValidate(saveAndValidate) {}

void CDataExchange::PrepareEditCtrl(int id) { m_lastEditId = id; }

void CDataExchange::Fail() {
    if (m_lastEditId != 0) m_dialog.GotoDlgCtrl(m_lastEditId);
    throw CDataExchangeFailure{};
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value) {
    pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        value = pDX->m_dialog.GetFieldText(id);
    } else {
        pDX->m_dialog.SetFieldText(id, value);
    }
}

void DDX_Text(CDataExchange* pDX, int id, double& value) {
    pDX->PrepareEditCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        pDX->m_dialog.SetFieldText(id, FormatNumber(value));
        return;
    }
    if (!ParseLeadingNumber(pDX->m_dialog.GetFieldText(id), value)) {
        ShowMessageBox(IDP_PARSE_REAL);
        pDX->Fail();
    }
}

void DDX_Control(CDataExchange* pDX, int id, CListCtrl& control) {
    if (!pDX->m_bSaveAndValidate) control.Attach(pDX->m_dialog, id);
}
