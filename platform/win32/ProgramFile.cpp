#include "platform/ProgramFile.h"

#include <windows.h>

std::string GetProgramPath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

std::string_view GetPathSeparators() { return "\\/"; }
