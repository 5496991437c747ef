#pragma once
// The list control: a report view of a list source through a CCableTableModel. One row is selected
// at most, whole rows; the selection follows the table (the table decides, also after a row is
// removed) and the user's clicks and arrow keys select rows in the table. The rows cannot be edited,
// sorted or searched by typing; Tab leaves the list; all rows have one fixed height, so that very
// long tables load at once.

#include "platform/qt/CableTableModel.h"

#include <QTableView>

#include <vector>

struct SControlLayout;
class CLocaleCodec;

class CQtListView final : public QTableView {
public:
    CQtListView(const SControlLayout& layout, const CLocaleCodec& codec, QWidget* parent);

    // Displays table, which outlives the view or is detached before it ends.
    void AttachTable(IListSource& table);
    // Inserts column column with heading, alignment format (kLvcfmtLeft...) and width in pixels.
    // Every column is wide enough for its heading, and where the columns are wider together than
    // the list, those wider than their headings give up the excess (FitColumnWidths).
    void InsertColumn(int column, const QString& heading, int format, int width);
    // Extended styles kLvsExGridLines and kLvsExFullRowSelect.
    unsigned GetExtendedStyle() const { return m_extendedStyle; }
    void SetExtendedStyle(unsigned styles);

    // Scrolls as little as shows row wholly.
    void ScrollRowIntoView(int row);

    // Typing in the list selects nothing.
    void keyboardSearch(const QString& search) override;

protected:
    // A list made narrower than its columns (a window opened smaller than designed, on a small
    // screen) takes the room from them, every heading kept whole where the room allows.
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowSelectionOnlyWithFocus();
    void UseFixedRowHeight();
    void OnViewSelectionChanged();
    void ShowTableSelection(int row);
    // Gives the columns widths, as FitColumnWidths fits them into the list.
    void FitColumns(const std::vector<int>& widths);

    CCableTableModel m_model;
    unsigned m_extendedStyle = 0;
    std::vector<int> m_columnWidths;  // as asked for, by display column
    bool m_showingTableSelection = false;
};
