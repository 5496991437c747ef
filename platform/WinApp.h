#pragma once
// The application object and the program's entry. The one CWinApp-derived object is a global; its
// InitInstance runs the main window, and returns false to end the program when it closes.

#include "platform/Windowing.h"

#include <memory>
#include <string>
#include <vector>

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
    // The command line's arguments after the program's name, less those the backend took.
    std::vector<std::string> m_arguments;
};

// Runs the program: takes the user's character set (LC_CTYPE) from the environment, makes the
// default backend, calls the application's InitInstance. Returns the process exit code.
int RunWinApp(int argc, char** argv);

// The backend a program runs on; defined by the backend library it links.
std::unique_ptr<IWindowing> CreateDefaultWindowing(int& argc, char** argv);
