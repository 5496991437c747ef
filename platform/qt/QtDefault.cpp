#include "platform/WinApp.h"
#include "platform/qt/QtDisplay.h"
#include "platform/qt/QtWindowing.h"

// A program linked with the Qt backend runs on it, once there is a display for it.
std::unique_ptr<IWindowing> CreateDefaultWindowing(int& argc, char** argv) {
    RequireDisplay();
    const CQtStartGuard guard;
    return std::make_unique<CQtWindowing>(argc, argv);
}
