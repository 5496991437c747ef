#pragma once
// The columns of the cable table, described once: their number, their places in a row and each
// one's keyword in the file. Everything that walks a row's cells takes them from here, so that a
// column is added here and in the texts that name it (its heading, width and paste name).

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// The place of each column in a row, left to right; kCableColumnCount is their number.
enum ECableColumn : int { kNameColumn, kVelocityColumn, kCableLossColumn, kFrequencyColumn, kCableColumnCount };

// The cells of one row, in column order, as views.
using CableCells = std::array<std::string_view, kCableColumnCount>;
// The cells of one row, in column order, as texts of their own.
using CableCellTexts = std::array<std::string, kCableColumnCount>;

// Each column's keyword, in column order: the writer puts it before the column's cell in each row,
// and the reader keeps the lines that contain one of them.
inline constexpr std::array<std::string_view, kCableColumnCount> kCableKeywords = {"CableName", "Velocity", "CableLoss",
                                                                                   "Frequency"};

// Views of the cells of texts, valid while texts stays unchanged.
inline CableCells CableCellViews(const CableCellTexts& texts) {
    CableCells cells;
    for (std::size_t column = 0; column < cells.size(); ++column) {
        cells[column] = texts[column];
    }
    return cells;
}

inline constexpr std::size_t kShortestCableKeyword = [] {
    std::size_t shortest = kCableKeywords[0].size();
    for (std::string_view keyword : kCableKeywords) {
        shortest = keyword.size() < shortest ? keyword.size() : shortest;
    }
    return shortest;
}();
