#pragma once
// The About box: the application icon, the program's name and version, and OK. It opens centred
// over the main window and ends with OK, Enter, Escape or the close box.

#include "platform/Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
