#pragma once
// A plain model of the cable list reader, written apart from it: it steps through a text one
// character at a time and applies each rule in the most direct way, with no buffers and no
// search tables. The reader's tests and the fuzz targets hold the reader to it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The length of the character at text[pos] in the character set in force: 1 for a zero byte and
// for a sequence that is not a whole valid character.
std::size_t ModelCharLength(std::string_view text, std::size_t pos);

// The text split at the line feeds that begin a character, empty lines left out.
std::vector<std::string_view> ModelNonEmptyLines(std::string_view text);
// The lines of text after the first that hold a keyword where a character begins.
std::vector<std::string_view> ModelKeywordLines(std::string_view text);
// The end of text[begin..] without the white space at its end, whole characters only.
std::size_t ModelTrimmedEnd(std::string_view text, std::size_t begin);
// text without white space at either end.
std::string_view ModelTrim(std::string_view text);
// A line's value: the trimmed line after its first "=" and one space after it, or the whole
// trimmed line when it has no "=".
std::string_view ModelValue(std::string_view line);

using ModelCells = std::vector<std::vector<std::string>>;
// The rows of the text up to its first zero byte, each column's keyword line a cell: the number of
// rows in result, or no rows and kCableFormatError when the lines do not make whole rows.
ModelCells ModelRows(std::string_view text, int& result);
