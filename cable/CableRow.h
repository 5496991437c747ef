#pragma once
// One row of the cable table: its four cells kept in one string, one after the other, with the
// ends of the first three, so that a row costs one allocation however many cells it has.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

class CCableRow {
public:
    static constexpr int kColumnCount = 4;

    // A row whose cells are the four texts, in column order.
    CCableRow(std::string_view cell0, std::string_view cell1, std::string_view cell2,
              std::string_view cell3);

    // The text of column (0..3), valid until the row changes.
    std::string_view GetCell(int column) const;
    // The texts of all columns in order, valid until the row changes.
    std::array<std::string_view, kColumnCount> GetCells() const;
    // Replaces the text of column (0..3).
    void SetCell(int column, std::string_view text);

private:
    std::size_t Begin(int column) const;
    std::size_t End(int column) const;

    std::string m_cells;
    std::array<std::size_t, kColumnCount - 1> m_ends;
};
