#pragma once
// The application object and the program's entry. The one CWinApp-derived object is a global; its
// InitInstance runs the main window, and returns false to end the program when it closes.

#include "platform/Windowing.h"

#include <memory>
#include <string>

class CDialog;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Called once at start; true would ask for a message loop of the application's own.
    virtual bool InitInstance();

    // The one application object, or nullptr.
    static CWinApp* GetApp();

    CDialog* m_pMainWnd = nullptr;
    // The file named on the command line, to be imported once the main window shows; "" when none
    // was named.
    std::string m_strFileToOpen;
};

// Runs the program: takes the user's character set (LC_CTYPE) from the environment, makes the
// default backend, calls the application's InitInstance. The command line is the program's: the
// backend is given only the program's name (argv[0]). Returns the process exit code: 0, or 1 with
// one line on standard error when the backend cannot run (no display) or InitInstance throws (the
// line, also written to the debugger output, says what was thrown).
int RunWinApp(int argc, char** argv);

// The backend a program runs on; defined by the backend library it links. Throws
// std::runtime_error, saying why in a few words, when the backend cannot run (no display).
std::unique_ptr<IWindowing> CreateDefaultWindowing(int& argc, char** argv);
