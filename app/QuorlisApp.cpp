#include "app/QuorlisApp.h"

#include "app/AboutDlg.h"
#include "ui/QuorlisDlg.h"

#include <clocale>

bool CQuorlisApp::InitInstance() {
    // Cells and files are scanned in the user's character set; take it before any text is.
    std::setlocale(LC_CTYPE, "");

    GetWindowing().InitCommonControls(kIccStandardClasses);
    CWinApp::InitInstance();

    CQuorlisDlg dlg([] {
        CAboutDlg aboutDlg;
        aboutDlg.DoModal();
    });
    if (!m_strFileToOpen.empty()) dlg.ImportAtStart(m_strFileToOpen);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return false;
}
