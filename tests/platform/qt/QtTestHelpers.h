#pragma once
// Small helpers for tests of the real windows: controls by id, keys, message boxes.

#include "platform/qt/QtControlBuilder.h"
#include "tests/cable/TestFiles.h"

#include <QMessageBox>
#include <QString>
#include <QTableView>
#include <QWidget>

#include <gtest/gtest.h>

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

// Where the tests' scratch folders go: the tests' build folder (QUORLIS_TEST_BINARY_DIR), or the
// system's temporary folder.
std::string ScratchParent();
// The path of name in folder, for Qt.
QString PathIn(const CScratchFolder& folder, const std::string& name);
// Writes text into file name of folder, byte for byte, and gives its path.
QString MakeFileIn(const CScratchFolder& folder, const std::string& name, const std::string& text);
