#include "platform/qt/QtLineEdit.h"

#include "platform/FieldText.h"

#include <algorithm>
#include <limits>

namespace {

bool IsDropped(QChar c) { return IsLineBreakOrNul(c.unicode()); }

}  // namespace

CQtLineEdit::CQtLineEdit(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(std::numeric_limits<int>::max());
    // textChanged follows every change, the program's and the accessibility interface's included.
    connect(this, &QLineEdit::textChanged, this, [this] { DropLineBreaksAndNul(); });
}

void CQtLineEdit::DropLineBreaksAndNul() {
    const QString current = text();
    if (std::none_of(current.begin(), current.end(), IsDropped)) return;
    const qsizetype cursor = cursorPosition();
    QString kept;
    kept.reserve(current.size());
    qsizetype keptCursor = 0;
    for (qsizetype i = 0; i < current.size(); ++i) {
        if (IsDropped(current[i])) continue;
        kept.append(current[i]);
        if (i < cursor) ++keptCursor;
    }
    setText(kept);
    setCursorPosition(static_cast<int>(keptCursor));
}
