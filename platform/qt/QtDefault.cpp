#include "platform/WinApp.h"
#include "platform/qt/QtWindowing.h"

// A program linked with the Qt backend runs on it.
std::unique_ptr<IWindowing> CreateDefaultWindowing(int& argc, char** argv) {
    return std::make_unique<CQtWindowing>(argc, argv);
}
