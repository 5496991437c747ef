#include "cable/CableRow.h"

CCableRow::CCableRow(std::string_view cell0, std::string_view cell1, std::string_view cell2,
                     std::string_view cell3)
{
    m_cells.reserve(cell0.size() + cell1.size() + cell2.size() + cell3.size());
    m_cells.append(cell0);
    m_ends[0] = m_cells.size();
    m_cells.append(cell1);
    m_ends[1] = m_cells.size();
    m_cells.append(cell2);
    m_ends[2] = m_cells.size();
    m_cells.append(cell3);
}

std::size_t CCableRow::Begin(int column) const
{
    return column == 0 ? 0 : m_ends[column - 1];
}

std::size_t CCableRow::End(int column) const
{
    return column == kColumnCount - 1 ? m_cells.size() : m_ends[column];
}

std::string_view CCableRow::GetCell(int column) const
{
    return std::string_view(m_cells).substr(Begin(column), End(column) - Begin(column));
}

std::array<std::string_view, CCableRow::kColumnCount> CCableRow::GetCells() const
{
    const std::string_view cells(m_cells);
    return {cells.substr(0, m_ends[0]), cells.substr(m_ends[0], m_ends[1] - m_ends[0]),
            cells.substr(m_ends[1], m_ends[2] - m_ends[1]), cells.substr(m_ends[2])};
}

void CCableRow::SetCell(int column, std::string_view text)
{
    const std::size_t begin = Begin(column);
    const std::size_t oldLength = End(column) - begin;
    m_cells.replace(begin, oldLength, text);
    for (int later = column; later < kColumnCount - 1; ++later) {
        m_ends[later] = m_ends[later] - oldLength + text.size();
    }
}
