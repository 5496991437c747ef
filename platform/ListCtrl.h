#pragma once
// The list control: shows the rows of a list source, which stays their owner, in the backend's
// list once bound to a dialog's control with DDX_Control. The backend's list reads the cells from
// the source and is told of its changes; the control itself keeps only its columns and styles.

#include <string>

class CDialog;
class IDialogWindow;
class IListSource;

class CListCtrl {
public:
    // A control that shows source, which outlives it.
    explicit CListCtrl(IListSource& source);

    // Binds the object to list control id of dialog, which then displays the source.
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

    IListSource& m_source;
    CDialog* m_dialog = nullptr;
    int m_id = 0;
    unsigned m_extendedStyle = 0;
};
