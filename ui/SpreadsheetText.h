#pragma once
// Rows as spreadsheets exchange them through the clipboard: one row a line, its cells separated by
// tabs. A cell holding a tab, a quote, a carriage return or a line feed is put in quotes, its
// quotes doubled. Text is bytes in the character set of the LC_CTYPE locale; multi-byte
// characters are stepped over whole.

#include "ui/TableStep.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// cells as one line, ended by lineEnd.
std::string FormatSpreadsheetLine(const CableCells& cells, std::string_view lineEnd);

// What ParseSpreadsheetRows found.
struct SSpreadsheetRows {
    std::vector<SCableRowTexts> rows;
    int wrongLine = 0;    // the first wrong line, counted from 1 at line feeds; 0 when none is
    std::string problem;  // what is wrong with it, a sentence ("Velocity is not a number.")
};

// The rows of text, whose lines end in a line feed or a carriage return and line feed, the last
// perhaps in neither; empty lines at the end are no rows. A first line equal to the four column
// headings is skipped. Each other line must hold four fields (a quoted one closed on its line, with
// nothing but a tab after its closing quote, and no field holding a line break or a zero byte), a
// name that is not empty and three numbers as the parameter dialog checks them. unconvertibleLine
// names a line (from 1) that holds a character the character set could not hold, or is 0.
// Returns every row, or none and the first wrong line.
SSpreadsheetRows ParseSpreadsheetRows(std::string_view text, int unconvertibleLine);
