#include "platform/WinApp.h"

#include "platform/HandlerFailure.h"
#include "platform/MessageBox.h"

#include <clocale>
#include <cstdio>
#include <exception>

namespace {

CWinApp* g_app = nullptr;

}  // namespace

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

bool CWinApp::InitInstance() { return true; }

CWinApp* CWinApp::GetApp() { return g_app; }

int RunWinApp(int argc, char** argv) {
    std::setlocale(LC_CTYPE, "");
    CWinApp* app = CWinApp::GetApp();
    if (!app) return 1;
    char* toolkitArgv[] = {argc > 0 ? argv[0] : nullptr, nullptr};
    int toolkitArgc = toolkitArgv[0] ? 1 : 0;
    std::unique_ptr<IWindowing> windowing;
    try {
        windowing = CreateDefaultWindowing(toolkitArgc, toolkitArgv);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s: %s\n", GetProgramName().c_str(), failure.what());
        return 1;
    }
    SetWindowing(windowing.get());
    int exitCode = 0;
    try {
        app->InitInstance();
    } catch (...) {
        ReportCaughtFailure("the program's start");
        exitCode = 1;
    }
    SetWindowing(nullptr);
    return exitCode;
}
