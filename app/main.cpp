#include "app/QuorlisApp.h"

// The one application object. It lives beside the entry point so that the program's link always
// contains it (a static library member that nothing names would be left out).
CQuorlisApp theApp;

int main(int argc, char** argv) { return RunWinApp(argc, argv); }
