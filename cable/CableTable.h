#pragma once
// The cable table: an ordered list of rows of text cells, one for each column of CableColumns.h
// (name, velocity, cable loss, frequency), with at most one selected row. Cells are bytes in the user's character set;
// the table never interprets, trims or converts them. The rows are kept in large shared blocks, a few bytes beside
// their text each, so that a table of millions of rows stays small and one row is added, changed or deleted in about
// the time it takes to move a pointer per row.

#include "cable/CableColumns.h"

#include <string>
#include <string_view>

class ICableTableObserver;

class CCableTable {
public:
    CCableTable();
    ~CCableTable();
    CCableTable(CCableTable&&) noexcept;
    CCableTable& operator=(CCableTable&&) noexcept;
    CCableTable(const CCableTable&) = delete;
    CCableTable& operator=(const CCableTable&) = delete;

    // Number of rows.
    int GetItemCount() const;
    // Number of columns: always kCableColumnCount.
    int GetColumnCount() const;
    // Index of the selected row, or -1 when none is selected.
    int GetSelectedRow() const;
    // Inserts a row at index (0..count) whose first column is text and other columns are empty; the new
    // row becomes the one selected row. Returns its index. Throws std::out_of_range for a bad index.
    int InsertRow(int index, const std::string& text);
    // Appends a row of these cells, which becomes the one selected row, as InsertRow at the end
    // followed by a SetCellText for each other column would. Returns its index.
    int AppendRow(const CableCells& cells);
    // AppendRow of the cells named, in column order.
    int AppendRow(std::string_view name, std::string_view velocity, std::string_view cableLoss,
                  std::string_view frequency);
    // Makes room for count rows in all, so that appending up to that many needs no larger index of
    // the rows. Throws std::bad_alloc.
    void ReserveRows(int count);
    // Replaces one cell. Throws std::out_of_range for a bad row or column.
    void SetCellText(int row, int column, const std::string& text);
    // A copy of one cell. Throws std::out_of_range for a bad row or column.
    std::string GetCellText(int row, int column) const;
    // The text of one cell without a copy, valid until the table next changes. Throws
    // std::out_of_range for a bad row or column.
    std::string_view GetCellTextView(int row, int column) const;
    // The texts of the cells of one row without a copy, valid until the table next changes.
    // Throws std::out_of_range for a bad row.
    CableCells GetRowTextViews(int row) const;
    // Removes a row; later rows move up by one. A selected row below it stays selected; deleting
    // the selected row leaves none selected. Throws std::out_of_range for a bad row.
    void DeleteRow(int row);
    // Removes every row.
    void DeleteAllRows();
    // The user's selection: selects row, or none for -1. Throws std::out_of_range for a bad row.
    void SelectRow(int row);

    // Takes over all rows and the selection of other (left empty) at once; the observer is told
    // with a single OnTableReset, and so is other's. Lets a reader build rows aside and commit
    // them only when whole.
    void ReplaceWith(CCableTable&& other) noexcept;
    // Exchanges all rows and the selection with other's at once, nothing copied; each observer is
    // told with a single OnTableReset. Lets a change be taken back by keeping the rows it replaced.
    void SwapRows(CCableTable& other) noexcept;

    // The one observer told of every change (a view displaying the table), or nullptr. A moved or
    // move-assigned table keeps its own observer; only the rows move.
    void SetObserver(ICableTableObserver* observer);

private:
    struct CRows;
    CRows& Rows();
    const CRows& Rows() const;
    void CheckRow(int row) const;
    void CheckColumn(int column) const;
    void CheckRoomForRow() const;
    int PutRow(int index, const CableCells& cells);
    void MoveSelection(int row);
    void CompactIfWasteful() noexcept;

    CRows* m_rows;  // nullptr only in a table moved from, which then reads as empty
    ICableTableObserver* m_observer = nullptr;
};

// Told of each change to a CCableTable after it has happened. InsertRow and AppendRow tell
// OnRowInserted then OnSelectionChanged; DeleteRow tells OnRowDeleted, then OnSelectionChanged when
// the selected index changed (the selected row was deleted, or a row above it); SelectRow tells
// OnSelectionChanged when the selection changed; DeleteAllRows, ReplaceWith and SwapRows tell
// OnTableReset.
class ICableTableObserver {
public:
    virtual void OnTableReset() = 0;
    virtual void OnRowInserted(int row) = 0;
    virtual void OnRowDeleted(int row) = 0;
    virtual void OnCellChanged(int row, int column) = 0;
    virtual void OnSelectionChanged(int row) = 0;

protected:
    ~ICableTableObserver() = default;
};
