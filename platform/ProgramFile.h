#pragma once
// Where the running program's file is, in the system's own terms.

#include <string>
#include <string_view>

// The program file's full path, or "" when the system does not tell.
std::string GetProgramPath();

// The characters that end a folder's name in a path.
std::string_view GetPathSeparators();
