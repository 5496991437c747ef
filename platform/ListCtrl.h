#pragma once
// The list control: the cable table that it holds, displayed by the backend's list once bound to a
// dialog's control with DDX_Control. The table is the only store of the rows; the display reads
// its cells from it.

#include "cable/CableTable.h"

#include <string>

class CDialog;
class IDialogWindow;

class CListCtrl : public CCableTable {
public:
    // Binds the object to list control id of dialog, which then displays this table.
    void Attach(CDialog& dialog, int id);

    // Adds a column heading; format is kLvcfmtLeft. Returns column, or -1 when the control is not
    // bound to a running dialog.
    int InsertColumn(int column, const std::string& heading, int format, int width);
    // The extended styles (kLvsEx...) last set, 0 at first; kept across binding and the window's end.
    unsigned GetExtendedStyle() const;
    void SetExtendedStyle(unsigned styles);
    // Scrolls the list so that row is in view; partialOk is taken as false (the whole row shows).
    // Returns false when the list is not shown or has no such row.
    bool EnsureVisible(int row, bool partialOk);

private:
    // The running window of the bound dialog, or nullptr.
    IDialogWindow* Window() const;

    CDialog* m_dialog = nullptr;
    int m_id = 0;
    unsigned m_extendedStyle = 0;
};
