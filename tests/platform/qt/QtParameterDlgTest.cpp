// The cable parameter dialog on the real Qt backend, offscreen: its widgets, keys, message boxes
// and the text that crosses its fields.

#include "ModalScript.h"
#include "QtTestHelpers.h"

#include "res/Resources.h"
#include "ui/QuorletDlg.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int kFields[] = {IDC_NAME, IDC_VELOCITY, IDC_CABLE_LOSS, IDC_FREQUENCY};

QLineEdit& Field(QWidget& window, int id) { return *Control<QLineEdit>(window, id); }

void FillValid(CQuorletDlg& dlg) {
    dlg.m_strName = "RG58";
    dlg.m_strVelocity = "0.66";
    dlg.m_strCableLoss = "0.5";
    dlg.m_strFrequency = "100";
}

// The window is 152 by 147 dialog units of its font: a quarter of the average letter width across,
// an eighth of the letter height down; the fields sit in the group box, each right of its label.
void ExpectLaidOutInDialogUnits(QWidget& window) {
    const QFontMetrics metrics(window.font());
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int averageWidth = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    EXPECT_NEAR(window.width(), 152 * averageWidth / 4.0, 1.0);
    EXPECT_NEAR(window.height(), 147 * metrics.height() / 8.0, 1.0);
    const QRect group = window.findChild<QGroupBox*>()->geometry();
    for (int id : kFields) {
        const QRect field = Field(window, id).geometry();
        EXPECT_TRUE(group.contains(field)) << "field " << id;
        EXPECT_EQ(field.width(), Field(window, IDC_NAME).width());
    }
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        const QRect field = label->buddy() ? label->buddy()->geometry() : QRect();
        EXPECT_LT(label->geometry().right(), field.left()) << label->text().toStdString();
        EXPECT_TRUE(label->geometry().intersects(QRect(0, field.top(), window.width(), field.height())));
    }
    EXPECT_GT(Control<QPushButton>(window, kIdOk)->geometry().top(), group.bottom());
}

void ExpectWarningBox(QWidget& window, const QWidget* owner) {
    AnswerMessageBox(window, owner, QStringLiteral("Enter a number."), QMessageBox::Warning, QMessageBox::Ok,
                     QMessageBox::Ok);
}

}  // namespace

TEST(QtParameterDlg, ShowsItsLayoutAndEndsByEnterEscapeAndCloseBox) {
    CQuorletDlg dlg;
    FillValid(dlg);
    CModalScript script;
    script.Then([](QWidget& window) {
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Cable Parameter Edit Dialog"));
        EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "fixed size";
        ExpectLaidOutInDialogUnits(window);
        EXPECT_EQ(window.findChild<QGroupBox*>()->title(), QStringLiteral("Cable List Parameter"));
        QStringList labels;
        for (const QLabel* label : window.findChildren<QLabel*>()) labels.append(label->text());
        labels.sort();
        EXPECT_EQ(labels, (QStringList{"Cable Loss", "Frequency", "Name", "Velocity"}));
        EXPECT_EQ(window.findChildren<QLineEdit*>().size(), 4);
        const QStringList names{"Name", "Velocity", "Cable Loss", "Frequency"};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(AccessibleName(Field(window, kFields[i])), names[i]);
        EXPECT_EQ(Field(window, IDC_FREQUENCY).text(), QStringLiteral("100"));

        auto* ok = Control<QPushButton>(window, kIdOk);
        auto* cancel = Control<QPushButton>(window, kIdCancel);
        EXPECT_EQ(ok->text(), QStringLiteral("OK"));
        EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));
        EXPECT_TRUE(ok->isDefault());
        EXPECT_FALSE(cancel->isDefault());

        ActivateForTyping(window);
        EXPECT_EQ(QApplication::focusWidget(), ok) << "the focus starts on OK";
        std::vector<QWidget*> tabOrder{ok, cancel};
        for (int id : kFields) tabOrder.push_back(&Field(window, id));
        tabOrder.push_back(ok);
        for (std::size_t i = 1; i < tabOrder.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), tabOrder[i]) << "Tab press " << i;
        }
        QTest::keyClicks(&Field(window, IDC_NAME), " x");
        PressKey(Field(window, IDC_FREQUENCY), Qt::Key_Return);
    });
    EXPECT_EQ(dlg.DoModal(), kIdOk);
    EXPECT_EQ(dlg.m_strName, "RG58 x");
    EXPECT_EQ(dlg.m_strFrequency, "100");

    CQuorletDlg escaped;
    script.Then([](QWidget& window) {
        ActivateForTyping(window);
        QTest::keyClicks(&Field(window, IDC_NAME), "typed");
        PressKey(Field(window, IDC_NAME), Qt::Key_Escape);
    });
    EXPECT_EQ(escaped.DoModal(), kIdCancel);

    CQuorletDlg closed;
    script.Then([](QWidget& window) { window.close(); });
    EXPECT_EQ(closed.DoModal(), kIdCancel);
}

TEST(QtParameterDlg, WarnsTwiceInARealMessageBoxAndSelectsTheField) {
    CQuorletDlg dlg;
    FillValid(dlg);
    dlg.m_strVelocity = "fast";
    QPointer<QWidget> dialog;
    CModalScript script;
    script
        .Then([&](QWidget& window) {
            dialog = &window;
            ActivateForTyping(window);
            PressKey(Field(window, IDC_NAME), Qt::Key_Return);
        })
        .Then([&](QWidget& box) { ExpectWarningBox(box, dialog); })
        .Then([&](QWidget& box) { ExpectWarningBox(box, dialog); })
        .Then([&](QWidget& window) {
            ASSERT_EQ(&window, dialog.data()) << "no third box";
            QLineEdit& velocity = Field(window, IDC_VELOCITY);
            EXPECT_EQ(window.focusWidget(), &velocity);
            EXPECT_EQ(velocity.selectedText(), QStringLiteral("fast"));
            PressKey(velocity, Qt::Key_Escape);
        });
    EXPECT_EQ(dlg.DoModal(), kIdCancel);
}

TEST(QtParameterDlg, FieldsKeepEveryByteAndNoLineBreakOrNul) {
    const std::string bytes = "caf\xC3\xA9 \xFF\xFE\x80 end";
    CQuorletDlg dlg;
    FillValid(dlg);
    dlg.m_strName = bytes;
    dlg.m_strFrequency = std::string(
        "10\r\n\0"
        "0",
        6);
    CModalScript script;
    script.Then([](QWidget& window) {
        const QString shown =
            QStringLiteral(u"café ") + QChar(0xDCFF) + QChar(0xDCFE) + QChar(0xDC80) + QStringLiteral(" end");
        EXPECT_EQ(Field(window, IDC_NAME).text(), shown);
        EXPECT_EQ(Field(window, IDC_FREQUENCY).text(), QStringLiteral("100"));

        QLineEdit& edit = Field(window, IDC_CABLE_LOSS);
        edit.setText(QStringLiteral("1\r\n2\n") + QChar(0) + u'3');
        EXPECT_EQ(edit.text(), QStringLiteral("123")) << "set by the program";
        edit.setText(QStringLiteral("ab"));
        edit.setCursorPosition(1);
        edit.insert(QStringLiteral("x\ny"));
        EXPECT_EQ(edit.text(), QStringLiteral("axyb")) << "inserted";
        EXPECT_EQ(edit.cursorPosition(), 3);

        edit.clear();
        QApplication::clipboard()->setText(QStringLiteral("p\r\nq") + QChar(0) + u'r');
        edit.paste();
        EXPECT_EQ(edit.text(), QStringLiteral("pqr")) << "pasted";

        edit.clear();
        QInputMethodEvent typed;
        typed.setCommitString(QStringLiteral("m\nn") + QChar(0));
        QApplication::sendEvent(&edit, &typed);
        EXPECT_EQ(edit.text(), QStringLiteral("mn")) << "typed through an input method";

        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&edit);
        accessible->setText(QAccessible::Value, QStringLiteral("s\nt"));
        EXPECT_EQ(edit.text(), QStringLiteral("st")) << "set by an assistive tool";
        accessible->editableTextInterface()->insertText(1, QStringLiteral("\r\n"));
        EXPECT_EQ(edit.text(), QStringLiteral("st")) << "inserted by an assistive tool";

        edit.setText(QString(100000, u'7'));
        EXPECT_EQ(edit.text().size(), 100000) << "no length limit";

        ActivateForTyping(window);
        PressKey(Field(window, IDC_NAME), Qt::Key_Return);
    });
    EXPECT_EQ(dlg.DoModal(), kIdOk);
    EXPECT_EQ(dlg.m_strName, bytes);
    EXPECT_EQ(dlg.m_strCableLoss, std::string(100000, '7'));
    EXPECT_EQ(dlg.m_strFrequency, "100");
}
