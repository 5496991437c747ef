#include "platform/qt/QtLineEdit.h"

#include <algorithm>
#include <limits>

namespace {

bool IsLineBreak(QChar c) { return c == u'\n' || c == u'\r'; }

}  // namespace

CQtLineEdit::CQtLineEdit(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(std::numeric_limits<int>::max());
    // textChanged follows every change, the program's and the accessibility interface's included.
    connect(this, &QLineEdit::textChanged, this, [this] { DropLineBreaks(); });
}

void CQtLineEdit::DropLineBreaks() {
    const QString current = text();
    if (std::none_of(current.begin(), current.end(), IsLineBreak)) return;
    const qsizetype cursor = cursorPosition();
    QString kept;
    kept.reserve(current.size());
    qsizetype keptCursor = 0;
    for (qsizetype i = 0; i < current.size(); ++i) {
        if (IsLineBreak(current[i])) continue;
        kept.append(current[i]);
        if (i < cursor) ++keptCursor;
    }
    setText(kept);
    setCursorPosition(static_cast<int>(keptCursor));
}
