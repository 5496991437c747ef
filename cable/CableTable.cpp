#include "cable/CableTable.h"

#include "cable/CableRow.h"

#include <climits>
#include <stdexcept>
#include <utility>
#include <vector>

struct CCableTable::CRows {
    std::vector<CCableRow> rows;
    int selected = -1;
};

CCableTable::CCableTable() : m_rows(new CRows)
{
}

CCableTable::~CCableTable()
{
    delete m_rows;
}

CCableTable::CCableTable(CCableTable&& other) noexcept : m_rows(std::exchange(other.m_rows, nullptr))
{
}

CCableTable& CCableTable::operator=(CCableTable&& other) noexcept
{
    ReplaceWith(std::move(other));
    return *this;
}

CCableTable::CRows& CCableTable::Rows()
{
    if (m_rows == nullptr) {
        m_rows = new CRows;
    }
    return *m_rows;
}

const CCableTable::CRows& CCableTable::Rows() const
{
    static const CRows kNoRows;
    return m_rows != nullptr ? *m_rows : kNoRows;
}

void CCableTable::CheckRow(int row) const
{
    if (row < 0 || row >= GetItemCount()) {
        throw std::out_of_range("cable table: no row " + std::to_string(row));
    }
}

void CCableTable::CheckColumn(int column) const
{
    if (column < 0 || column >= CCableRow::kColumnCount) {
        throw std::out_of_range("cable table: no column " + std::to_string(column));
    }
}

void CCableTable::CheckRoomForRow() const
{
    if (GetItemCount() == INT_MAX) {
        throw std::length_error("cable table: too many rows");
    }
}

int CCableTable::GetItemCount() const
{
    return static_cast<int>(Rows().rows.size());
}

int CCableTable::GetColumnCount() const
{
    return CCableRow::kColumnCount;
}

int CCableTable::GetSelectedRow() const
{
    return Rows().selected;
}

int CCableTable::InsertRow(int index, const std::string& text)
{
    if (index < 0 || index > GetItemCount()) {
        throw std::out_of_range("cable table: cannot insert at " + std::to_string(index));
    }
    if (index == GetItemCount()) {
        return AppendRow(text, {}, {}, {});
    }
    CheckRoomForRow();
    CRows& rows = Rows();
    rows.rows.emplace(rows.rows.begin() + index, text, std::string_view(), std::string_view(),
                      std::string_view());
    rows.selected = index;
    if (m_observer != nullptr) {
        m_observer->OnRowInserted(index);
        m_observer->OnSelectionChanged(index);
    }
    return index;
}

int CCableTable::AppendRow(std::string_view name, std::string_view velocity,
                           std::string_view cableLoss, std::string_view frequency)
{
    CheckRoomForRow();
    CRows& rows = Rows();
    rows.rows.emplace_back(name, velocity, cableLoss, frequency);
    const int index = GetItemCount() - 1;
    rows.selected = index;
    if (m_observer != nullptr) {
        m_observer->OnRowInserted(index);
        m_observer->OnSelectionChanged(index);
    }
    return index;
}

void CCableTable::ReserveRows(int count)
{
    if (count > 0) {
        Rows().rows.reserve(static_cast<std::size_t>(count));
    }
}

void CCableTable::SetCellText(int row, int column, const std::string& text)
{
    CheckRow(row);
    CheckColumn(column);
    Rows().rows[static_cast<std::size_t>(row)].SetCell(column, text);
    if (m_observer != nullptr) {
        m_observer->OnCellChanged(row, column);
    }
}

std::string CCableTable::GetCellText(int row, int column) const
{
    return std::string(GetCellTextView(row, column));
}

std::string_view CCableTable::GetCellTextView(int row, int column) const
{
    CheckRow(row);
    CheckColumn(column);
    return Rows().rows[static_cast<std::size_t>(row)].GetCell(column);
}

std::array<std::string_view, 4> CCableTable::GetRowTextViews(int row) const
{
    CheckRow(row);
    return Rows().rows[static_cast<std::size_t>(row)].GetCells();
}

void CCableTable::DeleteRow(int row)
{
    CheckRow(row);
    CRows& rows = Rows();
    rows.rows.erase(rows.rows.begin() + row);
    const int before = rows.selected;
    if (before == row) {
        rows.selected = -1;
    } else if (before > row) {
        rows.selected = before - 1;
    }
    if (m_observer != nullptr) {
        m_observer->OnRowDeleted(row);
        if (rows.selected != before) {
            m_observer->OnSelectionChanged(rows.selected);
        }
    }
}

void CCableTable::DeleteAllRows()
{
    CRows& rows = Rows();
    rows.rows.clear();
    rows.selected = -1;
    if (m_observer != nullptr) {
        m_observer->OnTableReset();
    }
}

void CCableTable::SelectRow(int row)
{
    if (row != -1) {
        CheckRow(row);
    }
    MoveSelection(row);
}

void CCableTable::MoveSelection(int row)
{
    CRows& rows = Rows();
    if (rows.selected == row) {
        return;
    }
    rows.selected = row;
    if (m_observer != nullptr) {
        m_observer->OnSelectionChanged(row);
    }
}

void CCableTable::ReplaceWith(CCableTable&& other) noexcept
{
    if (&other == this) {
        return;
    }
    std::swap(m_rows, other.m_rows);
    if (other.m_rows != nullptr) {
        other.m_rows->rows = std::vector<CCableRow>();
        other.m_rows->selected = -1;
    }
    if (m_observer != nullptr) {
        m_observer->OnTableReset();
    }
    if (other.m_observer != nullptr) {
        other.m_observer->OnTableReset();
    }
}

void CCableTable::SetObserver(ICableTableObserver* observer)
{
    m_observer = observer;
}
