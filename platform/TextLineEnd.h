#pragma once
// How the system ends a line of text that programs exchange (the clipboard's text).

#include <string_view>

// "\r\n" on Windows, "\n" elsewhere.
std::string_view GetTextLineEnd();
