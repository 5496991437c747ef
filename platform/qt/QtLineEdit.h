#pragma once
// A single-line edit field that holds text of any length and never holds a line break or a NUL:
// line feeds, carriage returns and NULs are dropped however they arrive (typing, pasting,
// inserting, text set by the program or by an assistive tool), the cursor staying where it was in
// the kept text.

#include <QLineEdit>

class CQtLineEdit final : public QLineEdit {
public:
    explicit CQtLineEdit(QWidget* parent);

private:
    void DropLineBreaksAndNul();
};
