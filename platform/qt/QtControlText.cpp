#include "platform/qt/QtControlText.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

QString ReadControlText(const QWidget* widget) {
    if (const auto* edit = dynamic_cast<const QLineEdit*>(widget)) return edit->text();
    if (const auto* button = dynamic_cast<const QAbstractButton*>(widget)) return button->text();
    if (const auto* label = dynamic_cast<const QLabel*>(widget)) return label->text();
    if (const auto* group = dynamic_cast<const QGroupBox*>(widget)) return group->title();
    return {};
}

void WriteControlText(QWidget* widget, const QString& text) {
    if (auto* edit = dynamic_cast<QLineEdit*>(widget)) {
        edit->setText(text);
    } else if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
        button->setText(text);
    } else if (auto* label = dynamic_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* group = dynamic_cast<QGroupBox*>(widget)) {
        group->setTitle(text);
    }
}
