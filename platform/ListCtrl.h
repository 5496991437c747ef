#pragma once
// The list control: the cable table that it holds, displayed by the backend's list once bound to a
// dialog's control with DDX_Control. The table is the only store of the rows; the display reads
// its cells from it.

#include "cable/CableTable.h"

#include <string>
#include <vector>

class CDialog;

class CListCtrl : public CCableTable {
public:
    // Binds the object to list control id of dialog, which then displays this table.
    void Attach(CDialog& dialog, int id);

    // Adds a column heading; format is kLvcfmtLeft. Returns column.
    int InsertColumn(int column, const std::string& heading, int format, int width);
    unsigned GetExtendedStyle() const;
    void SetExtendedStyle(unsigned styles);

private:
    CDialog* m_dialog = nullptr;
    int m_id = 0;
};
