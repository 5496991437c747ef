#include "platform/DebuggerOutput.h"

#include <windows.h>

// A GUI program's standard error goes nowhere; a debugger (or DebugView) shows this channel.
void WriteDebuggerOutput(const std::string& text) { OutputDebugStringA(text.c_str()); }
