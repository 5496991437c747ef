#pragma once
// The text a control shows: an edit's contents, a button's or label's text, a group box's title.

#include <QString>

class QWidget;

// The text of widget, or an empty text for a widget of another kind or nullptr.
QString ReadControlText(const QWidget* widget);
// Shows text in widget; does nothing for a widget of another kind or nullptr.
void WriteControlText(QWidget* widget, const QString& text);
