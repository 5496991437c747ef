#include "platform/WinApp.h"
#include "platform/win32/Win32Windowing.h"

#include <windows.h>

std::unique_ptr<IWindowing> CreateDefaultWindowing(int&, char**) {
    // A drive without a medium, or a file that cannot be opened, is a plain file error for the
    // program: the system shows no box of its own.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    return std::make_unique<CWin32Windowing>();
}
