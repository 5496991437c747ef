#pragma once
// Text helpers of the Win32 backend. Text is bytes in the ANSI code page throughout.

#include <cstddef>
#include <string>
#include <string_view>

// text, in the ANSI code page, as UTF-16 (what dialog templates hold).
std::u16string AnsiToUtf16(const char* text);

// A file chooser's filter in the "description|pattern|...||" form as the common file dialogs want
// it: every "|" becomes a NUL. Double-byte characters are stepped over whole, so a trail byte that
// happens to be "|" stays.
std::string FilterToNulSeparated(const std::string& filter);

// Writes into buffer (size bytes, at least 1) what a list shows of cell: as many of its first
// kMaxShownCellChars characters as fit, ending in "..." when the cell holds more, and a NUL.
// A double-byte character is never split.
void CopyShownCellText(std::string_view cell, char* buffer, std::size_t size);
