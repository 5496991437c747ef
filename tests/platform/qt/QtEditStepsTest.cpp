// New list, Undo and Redo, Copy and Paste through Qt's clipboard, the selected row in view and
// the exit question's default button, on the real Qt main window, driven with key events.

#include "ModalScript.h"
#include "QtTestHelpers.h"

#include "res/Resources.h"
#include "ui/QuorlisDlg.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace QuorlisText;

namespace {

QTableView& List(QWidget& window) { return *Control<QTableView>(window, IDC_CABLE_LIST); }

// Whether row is wholly inside the list's viewport.
bool RowInView(QTableView& list, int row) {
    const QRect cell = list.visualRect(list.model()->index(row, 0));
    return cell.isValid() && list.viewport()->rect().contains(cell);
}

void PressIn(QWidget& widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    ActivateForTyping(*widget.window());
    widget.setFocus(Qt::TabFocusReason);
    QTest::keyClick(&widget, key, modifiers);
}

class QtEditStepsTest : public ::testing::Test {
protected:
    // Ctrl+O and the file picked in the chooser.
    void Import(const QString& path) {
        script
            .Then([this](QWidget& window) {
                main = &window;
                PressIn(List(window), Qt::Key_O);
            })
            .Then([path](QWidget& window) {
                auto* chooser = qobject_cast<QFileDialog*>(&window);
                ASSERT_NE(chooser, nullptr);
                chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
                static_cast<QDialog&>(*chooser).accept();
            });
    }
    // The exit question, whose default button must be expected; Enter presses it.
    void ExitQuestionWithEnter(QMessageBox::StandardButton expected) {
        script.Then([expected](QWidget& window) {
            auto* box = qobject_cast<QMessageBox*>(&window);
            ASSERT_NE(box, nullptr) << window.metaObject()->className();
            EXPECT_EQ(box->text(), QString::fromLatin1(kExitQuestion));
            EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            ASSERT_NE(box->defaultButton(), nullptr);
            EXPECT_EQ(box->standardButton(box->defaultButton()), expected);
            ActivateForTyping(*box);
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : box, Qt::Key_Return);
        });
    }

    CScratchFolder folder{ScratchParent()};
    const fs::path dir{folder.Path()};
    QPointer<QWidget> main;
    CQuorlisDlg dlg;
    CModalScript script{60000};
};

TEST_F(QtEditStepsTest, ImportScrollsToTheLastRowAndDeleteIsUndoneAndRedoneByKeys) {
    const int rows = 20000;
    Import(MakeFileIn(folder, "long.ini", NumberedListText(rows)));
    script.Then([this, rows](QWidget& window) {
        QTableView& list = List(window);
        ASSERT_EQ(dlg.m_table.GetSelectedRow(), rows - 1);
        EXPECT_TRUE(RowInView(list, rows - 1)) << "the selected last row is on screen";
        EXPECT_FALSE(RowInView(list, 0));

        list.scrollToTop();
        list.selectRow(5);
        PressIn(list, Qt::Key_Delete, Qt::NoModifier);
        EXPECT_EQ(dlg.m_table.GetItemCount(), rows - 1);
        EXPECT_EQ(dlg.m_table.GetCellText(5, 0), "RG7");
        list.scrollToBottom();
        PressIn(list, Qt::Key_Z);
        EXPECT_EQ(dlg.m_table.GetItemCount(), rows);
        EXPECT_EQ(dlg.m_table.GetCellText(5, 0), "RG6");
        EXPECT_EQ(dlg.m_table.GetSelectedRow(), 5);
        EXPECT_TRUE(RowInView(list, 5)) << "the row brought back is on screen";
        PressIn(list, Qt::Key_Y);
        EXPECT_EQ(dlg.m_table.GetCellText(5, 0), "RG7");
        PressIn(list, Qt::Key_Z);
        PressIn(list, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(dlg.m_table.GetCellText(5, 0), "RG7") << "Ctrl+Shift+Z redoes too";
        EXPECT_EQ(dlg.m_table.GetItemCount(), rows - 1);
        PressIn(list, Qt::Key_Escape, Qt::NoModifier);
    });
    ExitQuestionWithEnter(QMessageBox::No);
    script.Then([this](QWidget& window) {
        ASSERT_EQ(&window, main.data()) << "Enter kept the program";
        QTableView& list = List(window);
        PressIn(list, Qt::Key_Z);  // back to the Import made at start: nothing to lose
        PressIn(list, Qt::Key_Return, Qt::NoModifier);
    });
    ExitQuestionWithEnter(QMessageBox::Yes);
    EXPECT_EQ(dlg.DoModal(), kIdOk);
    EXPECT_TRUE(script.IsDone());
}

TEST_F(QtEditStepsTest, CopyAndPasteGoThroughTheClipboardAsSpreadsheetText) {
    script.Then([this](QWidget& window) {
        main = &window;
        QTableView& list = List(window);
        PressIn(list, Qt::Key_N);
        EXPECT_TRUE(Control<QPushButton>(window, IDC_ADD_CABLE)->isEnabled()) << "New list enables Add";
        QGuiApplication::clipboard()->setText(QStringLiteral(
            "Cable Name\tVelocity\tCable Loss\tFrequency(MHz)\r\n\"RG 8 \"\"thick\"\"\"\t0.66\t0.3\t50\r\n"
            "LMR200\t0.83\t0.5\t400\r\n"));
        PressIn(list, Qt::Key_V);
        ASSERT_EQ(dlg.m_table.GetItemCount(), 2);
        EXPECT_EQ(dlg.m_table.GetCellText(0, 0), "RG 8 \"thick\"");
        EXPECT_EQ(dlg.m_table.GetSelectedRow(), 1);
        list.selectRow(0);
        PressIn(list, Qt::Key_C);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("\"RG 8 \"\"thick\"\"\"\t0.66\t0.3\t50\n"));
        PressIn(list, Qt::Key_Z);
        EXPECT_EQ(dlg.m_table.GetItemCount(), 0) << "the paste was one step";
        PressIn(list, Qt::Key_Y);
        QGuiApplication::clipboard()->setText(QStringLiteral("RG6\t0.82\t0.19\t5\nRG59\tfast\t0.3\t50\n"));
        PressIn(list, Qt::Key_V);
    });
    script.Then([](QWidget& window) {
        auto* box = qobject_cast<QMessageBox*>(&window);
        ASSERT_NE(box, nullptr) << window.metaObject()->className();
        EXPECT_EQ(box->text(), QStringLiteral("Line 2: Velocity is not a number."));
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        box->button(QMessageBox::Ok)->click();
    });
    script.Then([this](QWidget& window) {
        EXPECT_EQ(dlg.m_table.GetItemCount(), 2) << "nothing of a wrong clipboard is pasted";
        PressIn(List(window), Qt::Key_Escape, Qt::NoModifier);
    });
    ExitQuestionWithEnter(QMessageBox::No);
    script.Then([this](QWidget& window) {
        ASSERT_EQ(&window, main.data());
        window.close();  // the close box asks the same
    });
    script.Then([](QWidget& window) {
        auto* box = qobject_cast<QMessageBox*>(&window);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->standardButton(box->defaultButton()), QMessageBox::No);
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(dlg.DoModal(), kIdCancel);
    EXPECT_TRUE(script.IsDone());
}

}  // namespace
