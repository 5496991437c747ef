#pragma once
// What a list control displays and how it hears of changes: rows of text cells, at most one of
// them selected. The control keeps no rows of its own; it reads the cells it shows from its source,
// and the user's selection goes back to the source, which decides.

#include <string_view>

class IListObserver;

class IListSource {
public:
    // Number of rows.
    virtual int GetItemCount() const = 0;
    // Number of cells in each row.
    virtual int GetColumnCount() const = 0;
    // The text of one cell (bytes in the user's character set), valid until the source next
    // changes. Throws std::out_of_range for a bad row or column.
    virtual std::string_view GetCellTextView(int row, int column) const = 0;
    // Index of the selected row, or -1 when none is selected.
    virtual int GetSelectedRow() const = 0;
    // The user's selection: selects row, or none for -1. Throws std::out_of_range for a bad row.
    virtual void SelectRow(int row) = 0;
    // The one observer told of every change (the displaying control), or nullptr for none.
    virtual void SetObserver(IListObserver* observer) = 0;

protected:
    ~IListSource() = default;
};

// Told of each change to a list source after it has happened: a row inserted or deleted, a cell
// changed, the selection moved, or everything replaced at once.
class IListObserver {
public:
    virtual void OnTableReset() = 0;
    virtual void OnRowInserted(int row) = 0;
    virtual void OnRowDeleted(int row) = 0;
    virtual void OnCellChanged(int row, int column) = 0;
    virtual void OnSelectionChanged(int row) = 0;

protected:
    ~IListObserver() = default;
};
