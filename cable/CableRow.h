#pragma once
// One row of the cable table as the table stores it: the lengths of its cells, each in as few bytes
// as it needs (seven bits to a byte), then the bytes of the cells one after the other. A row of
// short cells costs a byte a column beside its text.

#include "cable/CableColumns.h"

#include <cstddef>
#include <string_view>

class CCableRow {
public:
    static constexpr int kColumnCount = kCableColumnCount;
    using Cells = CableCells;

    // The number of bytes that a row of these cells takes.
    static std::size_t StoredSize(const Cells& cells);
    // Stores a row of cells at out, which has room for StoredSize(cells) bytes and overlaps none
    // of the cells.
    static void Store(char* out, const Cells& cells);

    // The row stored at stored.
    explicit CCableRow(const char* stored) : m_stored(stored) {}

    // The text of column (0..kColumnCount - 1), valid while the row stays stored.
    std::string_view GetCell(int column) const;
    // The texts of all columns in order, valid while the row stays stored.
    Cells GetCells() const {
        // Every length takes a byte at least, so the first byte of each column can always be read;
        // almost always each of them is a whole length.
        const auto* lengths = reinterpret_cast<const unsigned char*>(m_stored);
        unsigned anyLong = 0;
        for (int column = 0; column < kColumnCount; ++column) {
            anyLong |= lengths[column];
        }
        if (anyLong >= 0x80) {
            return GetCellsWithLongLengths();
        }
        const char* text = m_stored + kColumnCount;
        Cells cells;
        for (std::size_t column = 0; column < cells.size(); ++column) {
            cells[column] = std::string_view(text, lengths[column]);
            text += lengths[column];
        }
        return cells;
    }
    // The number of bytes the row takes.
    std::size_t GetStoredSize() const;

private:
    Cells GetCellsWithLongLengths() const;

    const char* m_stored;
};
