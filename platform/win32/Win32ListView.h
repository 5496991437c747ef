#pragma once
// A list view control in owner-data mode that displays a list source: the control keeps no rows of
// its own and asks the table for each cell it draws. The selection is kept in step both ways: the
// table's selection is shown, and the user's selection in the control is given to the table.

#include "platform/ListSource.h"

#include <string>
#include <vector>

#include <windows.h>

#include <commctrl.h>

class CWin32ListView : public IListObserver {
public:
    // Makes list display table and observe it until destroyed.
    CWin32ListView(HWND list, IListSource& table);
    ~CWin32ListView();
    CWin32ListView(const CWin32ListView&) = delete;
    CWin32ListView& operator=(const CWin32ListView&) = delete;

    HWND GetHandle() const { return m_list; }

    // A WM_NOTIFY from the control. Returns true when handled, with the message's result in result.
    bool HandleNotify(const NMHDR& header, LRESULT& result);

    // Inserts column column with heading, alignment format and designedWidth in pixels of the
    // design (kDesignedBaseUnitX), scaled by the dialog's base unit. Every column is wide enough for
    // its heading, and where the columns are wider together than the list, those wider than their
    // headings give up the excess (FitColumnWidths).
    void InsertColumn(int column, const std::string& heading, int format, int designedWidth);
    // Sets the columns' widths again as InsertColumn does, for the dialog's font and resolution now
    // (after the window has moved to a monitor of another resolution).
    void FitColumns();

    void OnTableReset() override;
    void OnRowInserted(int row) override;
    void OnRowDeleted(int row) override;
    void OnCellChanged(int row, int column) override;
    void OnSelectionChanged(int row) override;

private:
    // The width a column needs to show heading whole.
    int HeadingWidth(const std::string& heading) const;
    int DesignedToPixels(int designedWidth) const;
    void ShowTable();
    void ShowSelection();
    void TakeUserSelection();
    void FillDisplayInfo(LVITEMA& item) const;

    HWND m_list;
    IListSource& m_table;
    bool m_showing = false;             // while the control is being set from the table
    std::vector<int> m_designedWidths;  // as asked for
    std::vector<std::string> m_headings;
};
