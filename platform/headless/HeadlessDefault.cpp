#include "platform/WinApp.h"
#include "platform/headless/HeadlessWindowing.h"

// A program linked with the headless backend runs on it; its application can reach the backend
// through GetWindowing() to script it.
std::unique_ptr<IWindowing> CreateDefaultWindowing(int&, char**) { return std::make_unique<CHeadlessWindowing>(); }
