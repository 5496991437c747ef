#pragma once
// The application: registers the common controls and runs the main window modally. The program's
// life is the life of the main window.

#include "platform/WinApp.h"

class CQuorlisApp : public CWinApp {
public:
    // Runs the main window until it closes, importing m_strFileToOpen, if a file
    // is named, once it shows. Returns false: the program then ends.
    bool InitInstance() override;
};
