#pragma once
// What a single-line field may hold. A cell's text goes into the file as one line, so a field
// never holds a line feed or carriage return (they would split the row's line) nor a NUL (the
// file's text ends at the first one, and every later row would be lost on the next Import).

#include <string>

// Whether c (a byte or a character code) is one that fields drop.
constexpr bool IsLineBreakOrNul(char32_t c) { return c == U'\n' || c == U'\r' || c == U'\0'; }

// text without its line feeds, carriage returns and NULs; the other bytes stay as they were.
std::string RemoveLineBreaksAndNul(std::string text);
