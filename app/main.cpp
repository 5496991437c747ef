#include "app/CommandLine.h"
#include "app/QuorlisApp.h"
#include "platform/MessageBox.h"

#include <iostream>
#include <string>
#include <vector>

// The one application object. It lives beside the entry point so that the program's link always
// contains it (a static library member that nothing names would be left out).
CQuorlisApp theApp;

int main(int argc, char** argv) {
    // Help, version and a wrong command line are answered before any window, so without a display.
    const CCommandLine commandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    if (commandLine.GetAction() != CCommandLine::EAction::Run) {
        return commandLine.Answer(GetProgramName(), std::cout, std::cerr);
    }
    theApp.m_strFileToOpen = commandLine.GetFileName();
    return RunWinApp(argc, argv);
}
