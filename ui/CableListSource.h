#pragma once
// Shows a cable table in a list control: the table's rows, cells and selection through the list's
// narrow interface, and each change of the table passed on to the list's observer.

#include "cable/CableTable.h"
#include "platform/ListSource.h"

class CCableListSource final : public IListSource, private ICableTableObserver {
public:
    // A source for table, which outlives it.
    explicit CCableListSource(CCableTable& table);
    ~CCableListSource();
    CCableListSource(const CCableListSource&) = delete;
    CCableListSource& operator=(const CCableListSource&) = delete;

    int GetItemCount() const override;
    int GetColumnCount() const override;
    std::string_view GetCellTextView(int row, int column) const override;
    int GetSelectedRow() const override;
    void SelectRow(int row) override;
    // Observes the table while observer is set; nullptr stops both.
    void SetObserver(IListObserver* observer) override;

private:
    void OnTableReset() override;
    void OnRowInserted(int row) override;
    void OnRowDeleted(int row) override;
    void OnCellChanged(int row, int column) override;
    void OnSelectionChanged(int row) override;

    CCableTable& m_table;
    IListObserver* m_observer = nullptr;
};
