#include "cable/UnwritableCellError.h"

#include "cable/CableColumns.h"

CUnwritableCellError::CUnwritableCellError(const std::string& path, int row, int column)
    : CFileError(Cause::Generic, path + ": row " + std::to_string(row + 1) + ", column " + std::to_string(column + 1) +
                                     " (" + std::string(kCableKeywords[static_cast<std::size_t>(column)]) +
                                     ") holds a line feed or a zero byte, which the file cannot keep"),
      m_row(row),
      m_column(column) {}
