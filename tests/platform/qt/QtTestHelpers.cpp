#include "QtTestHelpers.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QStyleOptionHeader>
#include <QTest>

#include <unistd.h>
#include <cstdlib>
#include <fstream>

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

CScratchFolder::CScratchFolder(const std::string& prefix) {
    const char* binaryDir = std::getenv("QUORLIS_TEST_BINARY_DIR");
    m_dir = std::filesystem::path(binaryDir ? binaryDir : std::filesystem::temp_directory_path().c_str()) /
            (prefix + "-" + std::to_string(getpid()));
    std::filesystem::create_directories(m_dir);
}

CScratchFolder::~CScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

QString CScratchFolder::Path(const std::string& name) const { return QString::fromStdString((m_dir / name).string()); }

QString CScratchFolder::MakeFile(const std::string& name, const std::string& text) const {
    std::ofstream(m_dir / name, std::ios::binary) << text;
    return Path(name);
}

std::string CableFileText(int rows) {
    std::string text = "/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=" + std::to_string(rows) + "\n";
    for (int r = 1; r <= rows; ++r) {
        const std::string n = std::to_string(r);
        text += "CableName" + n + " = RG" + n + "\nVelocity" + n + " = 0.66\nCableLoss" + n + " = 0.5\nFrequency" + n +
                " = 100\n";
    }
    return text;
}
