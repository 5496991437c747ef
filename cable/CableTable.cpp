#include "cable/CableTable.h"

#include "cable/CableRow.h"
#include "cable/CellBlocks.h"

#include <climits>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

// Discarded rows are copied out of the blocks once they outweigh the rows in use and this much.
constexpr std::size_t kMostDiscardedBytes = std::size_t{4} << 20;

}  // namespace

// The rows, each stored in one piece of the blocks (CableRow.h), in display order.
struct CCableTable::CRows {
    CCellBlocks blocks;
    std::vector<char*> rows;
    int selected = -1;
};

CCableTable::CCableTable() : m_rows(new CRows) {}

CCableTable::~CCableTable() { delete m_rows; }

CCableTable::CCableTable(CCableTable&& other) noexcept : m_rows(std::exchange(other.m_rows, nullptr)) {}

CCableTable& CCableTable::operator=(CCableTable&& other) noexcept {
    ReplaceWith(std::move(other));
    return *this;
}

CCableTable::CRows& CCableTable::Rows() {
    if (m_rows == nullptr) {
        m_rows = new CRows;
    }
    return *m_rows;
}

const CCableTable::CRows& CCableTable::Rows() const {
    static const CRows kNoRows;
    return m_rows != nullptr ? *m_rows : kNoRows;
}

void CCableTable::CheckRow(int row) const {
    if (row < 0 || row >= GetItemCount()) {
        throw std::out_of_range("cable table: no row " + std::to_string(row));
    }
}

void CCableTable::CheckColumn(int column) const {
    if (column < 0 || column >= CCableRow::kColumnCount) {
        throw std::out_of_range("cable table: no column " + std::to_string(column));
    }
}

void CCableTable::CheckRoomForRow() const {
    if (GetItemCount() == INT_MAX) {
        throw std::length_error("cable table: too many rows");
    }
}

int CCableTable::GetItemCount() const { return static_cast<int>(Rows().rows.size()); }

int CCableTable::GetColumnCount() const { return CCableRow::kColumnCount; }

int CCableTable::GetSelectedRow() const { return Rows().selected; }

int CCableTable::InsertRow(int index, const std::string& text) {
    if (index < 0 || index > GetItemCount()) {
        throw std::out_of_range("cable table: cannot insert at " + std::to_string(index));
    }
    CableCells cells{};
    cells[kNameColumn] = text;
    return PutRow(index, cells);
}

int CCableTable::AppendRow(const CableCells& cells) { return PutRow(GetItemCount(), cells); }

int CCableTable::AppendRow(std::string_view name, std::string_view velocity, std::string_view cableLoss,
                           std::string_view frequency) {
    CableCells cells{};
    cells[kNameColumn] = name;
    cells[kVelocityColumn] = velocity;
    cells[kCableLossColumn] = cableLoss;
    cells[kFrequencyColumn] = frequency;
    return AppendRow(cells);
}

int CCableTable::PutRow(int index, const CableCells& cells) {
    CheckRoomForRow();
    CRows& rows = Rows();
    if (rows.rows.size() == rows.rows.capacity()) {
        rows.rows.reserve(rows.rows.empty() ? 16 : rows.rows.size() * 2);
    }
    char* const stored = rows.blocks.Allocate(CCableRow::StoredSize(cells));
    CCableRow::Store(stored, cells);
    rows.rows.insert(rows.rows.begin() + index, stored);
    rows.selected = index;
    if (m_observer != nullptr) {
        m_observer->OnRowInserted(index);
        m_observer->OnSelectionChanged(index);
    }
    return index;
}

void CCableTable::ReserveRows(int count) {
    if (count > 0) {
        Rows().rows.reserve(static_cast<std::size_t>(count));
    }
}

void CCableTable::SetCellText(int row, int column, const std::string& text) {
    CheckRow(row);
    CheckColumn(column);
    CRows& rows = Rows();
    char*& stored = rows.rows[static_cast<std::size_t>(row)];
    const CCableRow old(stored);
    const std::size_t oldSize = old.GetStoredSize();
    CCableRow::Cells cells = old.GetCells();
    cells[static_cast<std::size_t>(column)] = text;
    const std::size_t newSize = CCableRow::StoredSize(cells);
    // The new row is put together aside: it may be stored where the cells it is made from are.
    std::string replacement(newSize, '\0');
    CCableRow::Store(replacement.data(), cells);
    const bool resized = rows.blocks.Resize(stored, oldSize, newSize);
    if (!resized && newSize > oldSize) {
        char* const moved = rows.blocks.Allocate(newSize);
        rows.blocks.Discard(oldSize);
        stored = moved;
    } else if (!resized && newSize < oldSize) {
        rows.blocks.Discard(oldSize - newSize);
    }
    std::memcpy(stored, replacement.data(), newSize);
    if (m_observer != nullptr) {
        m_observer->OnCellChanged(row, column);
    }
    CompactIfWasteful();
}

std::string CCableTable::GetCellText(int row, int column) const { return std::string(GetCellTextView(row, column)); }

std::string_view CCableTable::GetCellTextView(int row, int column) const {
    CheckRow(row);
    CheckColumn(column);
    return CCableRow(Rows().rows[static_cast<std::size_t>(row)]).GetCell(column);
}

CableCells CCableTable::GetRowTextViews(int row) const {
    CheckRow(row);
    return CCableRow(Rows().rows[static_cast<std::size_t>(row)]).GetCells();
}

void CCableTable::DeleteRow(int row) {
    CheckRow(row);
    CRows& rows = Rows();
    const auto deleted = rows.rows.begin() + row;
    rows.blocks.Discard(CCableRow(*deleted).GetStoredSize());
    rows.rows.erase(deleted);
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
    CompactIfWasteful();
}

void CCableTable::DeleteAllRows() {
    CRows& rows = Rows();
    rows.rows = std::vector<char*>();
    rows.blocks.Clear();
    rows.selected = -1;
    if (m_observer != nullptr) {
        m_observer->OnTableReset();
    }
}

void CCableTable::SelectRow(int row) {
    if (row != -1) {
        CheckRow(row);
    }
    MoveSelection(row);
}

void CCableTable::MoveSelection(int row) {
    CRows& rows = Rows();
    if (rows.selected == row) {
        return;
    }
    rows.selected = row;
    if (m_observer != nullptr) {
        m_observer->OnSelectionChanged(row);
    }
}

void CCableTable::CompactIfWasteful() noexcept {
    CRows& rows = Rows();
    const std::size_t discarded = rows.blocks.GetDiscardedBytes();
    if (discarded <= kMostDiscardedBytes || discarded <= rows.blocks.GetUsedBytes()) {
        return;
    }
    try {
        // One piece for all rows, taken before any row moves: nothing after it can fail.
        CCellBlocks compacted;
        char* next = rows.blocks.GetUsedBytes() > 0 ? compacted.Allocate(rows.blocks.GetUsedBytes()) : nullptr;
        for (char*& stored : rows.rows) {
            const std::size_t size = CCableRow(stored).GetStoredSize();
            std::memcpy(next, stored, size);
            stored = next;
            next += size;
        }
        rows.blocks = std::move(compacted);
    } catch (const std::bad_alloc&) {
        // The rows stay where they are; the space is taken back on a later change.
    }
}

void CCableTable::ReplaceWith(CCableTable&& other) noexcept {
    if (&other == this) {
        return;
    }
    std::swap(m_rows, other.m_rows);
    if (other.m_rows != nullptr) {
        other.m_rows->rows = std::vector<char*>();
        other.m_rows->blocks.Clear();
        other.m_rows->selected = -1;
    }
    if (m_observer != nullptr) {
        m_observer->OnTableReset();
    }
    if (other.m_observer != nullptr) {
        other.m_observer->OnTableReset();
    }
}

void CCableTable::SwapRows(CCableTable& other) noexcept {
    if (&other == this) {
        return;
    }
    std::swap(m_rows, other.m_rows);
    if (m_observer != nullptr) {
        m_observer->OnTableReset();
    }
    if (other.m_observer != nullptr) {
        other.m_observer->OnTableReset();
    }
}

void CCableTable::SetObserver(ICableTableObserver* observer) { m_observer = observer; }
