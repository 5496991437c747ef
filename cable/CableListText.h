#pragma once
// The text of a cable list file, made from a table, in the format of CableListFile.h.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

class CCableTable;

// The text is handed out in pieces of about this size.
inline constexpr std::size_t kCableTextPiece = std::size_t{1} << 20;

// Throws CUnwritableCellError (a CFileError, Generic) naming path and the row and the column of
// the first cell that holds a line feed or a zero byte: a file could not give such a cell back as
// it is. A carriage return is written as it is.
void CheckCableListCells(const CCableTable& table, const std::string& path);

// Hands the text for table to write in order, in pieces of at most pieceSize bytes (at least 1),
// except that a cell (or a key) longer than that comes as a piece of its own. One buffer of
// pieceSize bytes is filled again for each piece. Whatever write throws passes through.
void WriteCableListText(const CCableTable& table, const std::function<void(std::string_view)>& write,
                        std::size_t pieceSize = kCableTextPiece);

// The whole text for table.
std::string BuildCableListText(const CCableTable& table);
