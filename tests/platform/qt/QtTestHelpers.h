#pragma once
// Small helpers for tests of the real windows: controls by id, keys, message boxes.

#include "platform/qt/QtControlBuilder.h"

#include <QMessageBox>
#include <QString>
#include <QTableView>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

// Test failures show strings as text.
void PrintTo(const QString& text, std::ostream* out);

// Control id of window, of type Widget; a failure is reported when there is none.
template <class Widget>
Widget* Control(QWidget& window, int id) {
    auto* widget = window.findChild<Widget*>(ControlObjectName(id));
    EXPECT_NE(widget, nullptr) << "control " << id;
    return widget;
}

// Waits until window is active (activation is asynchronous offscreen); a failure is reported.
void ActivateForTyping(QWidget& window);
// Focuses widget and presses key on it.
void PressKey(QWidget& widget, Qt::Key key);
// Checks that each of list's columns is wide enough for its heading, and that the list shows them
// all side by side.
void ExpectHeadingsWholeInTheList(QTableView& list);
// The name that widget tells assistive tools.
QString AccessibleName(QWidget& widget);

// Checks that window is the program's message box owned by owner, with text, icon and buttons,
// and tells assistive tools its text; then clicks answer.
void AnswerMessageBox(QWidget& window, const QWidget* owner, const QString& text, QMessageBox::Icon icon,
                      QMessageBox::StandardButtons buttons, QMessageBox::StandardButton answer);

// A folder of a test's own, under QUORLIS_TEST_BINARY_DIR (or the system's temporary folder) and
// named for the test and the process; it is removed, with all it holds, when the object goes.
class CScratchFolder {
public:
    explicit CScratchFolder(const std::string& prefix);
    ~CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    const std::filesystem::path& Dir() const { return m_dir; }
    // The path of name in the folder.
    QString Path(const std::string& name) const;
    // Writes text into file name, byte for byte, and gives its path.
    QString MakeFile(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path m_dir;
};

// A cable list file's text of rows rows, named RG1, RG2..., each with the same three numbers.
std::string CableFileText(int rows);
