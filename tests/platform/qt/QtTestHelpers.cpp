#include "QtTestHelpers.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QStyleOptionHeader>
#include <QTest>

#include <cstdlib>
#include <filesystem>

namespace {

// Whether node or one of its descendants tells assistive tools text.
bool TellsAccessibly(QAccessibleInterface* node, const QString& text) {
    if (!node) return false;
    if (node->text(QAccessible::Name) == text || node->text(QAccessible::Description) == text) return true;
    for (int i = 0; i < node->childCount(); ++i) {
        if (TellsAccessibly(node->child(i), text)) return true;
    }
    return false;
}

}  // namespace

void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

void ActivateForTyping(QWidget& window) {
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window)) << window.windowTitle().toStdString();
}

void PressKey(QWidget& widget, Qt::Key key) {
    widget.setFocus(Qt::OtherFocusReason);
    QTest::keyClick(&widget, key);
}

void ExpectHeadingsWholeInTheList(QTableView& list) {
    QHeaderView& header = *list.horizontalHeader();
    int total = 0;
    for (int c = 0; c < list.model()->columnCount(); ++c) {
        QStyleOptionHeader section;
        section.initFrom(&header);
        section.text = list.model()->headerData(c, Qt::Horizontal).toString();
        const QSize needed = header.style()->sizeFromContents(QStyle::CT_HeaderSection, &section, QSize(), &header);
        EXPECT_GE(list.columnWidth(c), needed.width()) << section.text.toStdString() << " is cut";
        total += list.columnWidth(c);
    }
    EXPECT_LE(total, list.viewport()->width()) << "the last heading is scrolled out of sight";
}

QString AccessibleName(QWidget& widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

void AnswerMessageBox(QWidget& window, const QWidget* owner, const QString& text, QMessageBox::Icon icon,
                      QMessageBox::StandardButtons buttons, QMessageBox::StandardButton answer) {
    auto* box = qobject_cast<QMessageBox*>(&window);
    ASSERT_NE(box, nullptr) << "a message box, not a " << window.metaObject()->className() << " titled "
                            << window.windowTitle().toStdString();
    // The caption is the program file's name without folder and extension.
    EXPECT_EQ(box->windowTitle(), QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
    EXPECT_EQ(box->text(), text);
    EXPECT_EQ(box->icon(), icon);
    EXPECT_EQ(box->standardButtons(), buttons);
    EXPECT_EQ(box->parentWidget(), owner);
    EXPECT_TRUE(TellsAccessibly(QAccessible::queryAccessibleInterface(box), text));
    if (QAbstractButton* button = box->button(answer)) button->click();
}

std::string ScratchParent() {
    const char* binaryDir = std::getenv("QUORLIS_TEST_BINARY_DIR");
    return binaryDir ? binaryDir : std::filesystem::temp_directory_path().string();
}

QString PathIn(const CScratchFolder& folder, const std::string& name) { return QString::fromStdString(folder / name); }

QString MakeFileIn(const CScratchFolder& folder, const std::string& name, const std::string& text) {
    WriteBytes(folder / name, text);
    return PathIn(folder, name);
}
