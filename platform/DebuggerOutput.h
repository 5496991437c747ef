#pragma once
// The system's debugger output, where it has one apart from standard error.

#include <string>

// Writes text to the attached debugger's output; does nothing where the system has no such channel
// or no debugger listens.
void WriteDebuggerOutput(const std::string& text);
