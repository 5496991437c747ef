#pragma once
// Groups the keyword lines of a cable list file, in order, into rows: each line's value
// (CableValueOf) is the next cell, and every kCableColumnCount cells make a row appended to a
// table. Both the whole-text functions and the streaming reader group through it.

#include "cable/CableColumns.h"
#include "cable/CableLines.h"
#include "cable/CableTable.h"
#include "cable/TextScanner.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

class CCableRowGrouper {
public:
    // Appends rows to rows; scanner, of the text's character set, and rows outlive the grouper.
    CCableRowGrouper(const CTextScanner& scanner, CCableTable& rows) : m_scanner(scanner), m_rows(rows) {}

    // Takes the value of a keyword line as the next cell, and appends the row that it completes.
    // The cells of a row not yet whole stay views into their lines until KeepCells.
    void Take(std::string_view line) {
        m_cells[m_cellCount++] = CableValueOf(line, m_scanner);
        if (m_cellCount == m_cells.size()) {
            m_rows.AppendRow(m_cells);
            m_cellCount = m_keptCount = 0;
        }
    }

    // Copies the cells of the row not yet whole out of their lines, whose text may then change.
    void KeepCells();

    // Whether a row was begun and not completed: the lines did not make whole rows.
    bool HasPartRow() const { return m_cellCount != 0; }

private:
    const CTextScanner& m_scanner;
    CCableTable& m_rows;
    CableCells m_cells;
    std::size_t m_cellCount = 0;
    std::size_t m_keptCount = 0;                            // cells copied into m_kept
    std::array<std::string, kCableColumnCount - 1> m_kept;  // a row not yet whole lacks a cell at least
};
