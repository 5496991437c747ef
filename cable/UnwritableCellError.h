#pragma once
// The refusal of a table that a cable list file could not give back as it is: a cell holds a line
// feed or a zero byte.

#include "os/FileError.h"

#include <string>

class CUnwritableCellError : public CFileError {
public:
    // row and column count from 0; the message names path and both, counted from 1.
    CUnwritableCellError(const std::string& path, int row, int column);

    int GetRow() const { return m_row; }
    int GetColumn() const { return m_column; }

private:
    int m_row;
    int m_column;
};
