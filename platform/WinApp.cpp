#include "platform/WinApp.h"

#include <clocale>

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
    const std::unique_ptr<IWindowing> windowing = CreateDefaultWindowing(argc, argv);
    SetWindowing(windowing.get());
    int exitCode = 0;
    try {
        if (argc > 1) app->m_arguments.assign(argv + 1, argv + argc);
        app->InitInstance();
    } catch (...) {
        exitCode = 1;
    }
    SetWindowing(nullptr);
    return exitCode;
}
