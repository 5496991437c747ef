// Every message box of the program on the real Qt backend, offscreen, answered from the keyboard as
// a person answers it: Enter goes down on the focused widget and comes up 120 to 300 ms later, on
// whatever has the focus by then as well as on the widget that had it. Exactly the designed boxes
// appear, in their order, and none comes back after its answer.

#include "ModalScript.h"
#include "QtTestHelpers.h"

#include "res/Resources.h"
#include "ui/QuorletDlg.h"
#include "ui/QuorlisDlg.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The designed texts, spelling and trailing blanks included.
const QString kOpenFailed = QStringLiteral("Open Cable File Failed");
const QString kFormatError = QStringLiteral("The format of calbe list file is not correct ");
const QString kItemCount = QStringLiteral("The number of items is incorrect,Please check the cable list  file");
const QString kExportFailed = QStringLiteral("Export Cable List File Failed");
const QString kSelectToEdit = QStringLiteral("Please select item to edit");
const QString kSelectToDelete = QStringLiteral("Please select item to delete");
const QString kEnterNumber = QStringLiteral("Enter a number.");
const QString kExitQuestion = QStringLiteral("Are you sure to exit the program?");

// The longest a key stays down; a step waits this long and a little more before it looks again.
constexpr int kLongestKeyDownMs = 300;

// Closes every modal window, innermost first.
void CloseModalWindows() {
    while (QWidget* top = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(top)) {
            dialog->reject();
        } else {
            top->close();
        }
        if (QApplication::activeModalWidget() == top) break;
    }
}

// Records every message box shown, in order. A box past the expected ones is a failure and closes
// every modal window, so that a box that keeps coming back ends the test instead of hanging it.
class CBoxRecorder final : public QObject {
public:
    explicit CBoxRecorder(QStringList expected) : m_expected(std::move(expected)) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~CBoxRecorder() override { QCoreApplication::instance()->removeEventFilter(this); }

    const QStringList& Shown() const { return m_shown; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (!box || event->type() != QEvent::Show) return false;
        m_shown.append(box->text());
        if (m_shown.size() > m_expected.size()) {
            ADD_FAILURE() << "an unexpected box: " << box->text().toStdString();
            QTimer::singleShot(0, box, CloseModalWindows);
        }
        return false;
    }

private:
    QStringList m_expected;
    QStringList m_shown;
};

// Sends key down to the focused widget of window (made the active window first, as a click or the
// window manager makes it), and key up 120 or 300 ms later, in turn, to the widget pressed if it is
// still there, to the widget that has the focus then, and to the one that had it in the window
// under window: wherever the window system might deliver it. A window that key down opens runs
// its loop before this returns; the key comes up while it is open.
void PressKeyAsAPerson(QWidget& window, Qt::Key key) {
    static int presses = 0;
    const int downMs = ++presses % 2 ? 120 : kLongestKeyDownMs;
    ActivateForTyping(window);
    QWidget* pressed = window.focusWidget() ? window.focusWidget() : &window;
    QWidget* under = window.parentWidget() ? window.parentWidget()->window()->focusWidget() : nullptr;
    QTimer::singleShot(downMs, QCoreApplication::instance(),
                       [key, pressed = QPointer<QWidget>(pressed), under = QPointer<QWidget>(under)] {
                           std::vector<QWidget*> sentTo;
                           for (QWidget* target : {pressed.data(), QApplication::focusWidget(), under.data()}) {
                               if (!target || std::find(sentTo.begin(), sentTo.end(), target) != sentTo.end()) continue;
                               sentTo.push_back(target);
                               QTest::keyRelease(target, key);
                           }
                       });
    QTest::keyPress(pressed, key);
}

// Checks that window is a message box with text, and presses key on it as a person does.
void AnswerBox(QWidget& window, const QString& text, Qt::Key key = Qt::Key_Return) {
    auto* box = qobject_cast<QMessageBox*>(&window);
    ASSERT_NE(box, nullptr) << "a message box, not a " << window.metaObject()->className() << " titled "
                            << window.windowTitle().toStdString();
    EXPECT_EQ(box->text(), text);
    PressKeyAsAPerson(*box, key);
}

// Checks that window is on top and stays there once every key has come up: no box came back.
void ExpectStaysOnTop(QWidget& window, QPointer<QWidget> expected) {
    ASSERT_EQ(&window, expected.data()) << "on top: a " << window.metaObject()->className() << " titled "
                                        << window.windowTitle().toStdString();
    QTest::qWait(kLongestKeyDownMs + 100);
    ASSERT_EQ(QApplication::activeModalWidget(), &window) << "a window came back";
}

class QtMessageBoxKeysTest : public ::testing::Test {
protected:
    // On the main window (the first window of the test) once it stays on top: presses Enter on
    // button as a person does.
    void PressButton(int id) {
        script.Then([this, id](QWidget& window) {
            if (!main) main = &window;
            ASSERT_NO_FATAL_FAILURE(ExpectStaysOnTop(window, main));
            Control<QPushButton>(window, id)->setFocus(Qt::TabFocusReason);
            PressKeyAsAPerson(window, Qt::Key_Return);
        });
    }
    // Presses Import or Export with Enter and picks path in the file dialog.
    void ChooseFile(int button, const QString& path) {
        PressButton(button);
        script.Then([path](QWidget& window) {
            auto* chooser = qobject_cast<QFileDialog*>(&window);
            ASSERT_NE(chooser, nullptr) << window.metaObject()->className();
            chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
            static_cast<QDialog&>(*chooser).accept();
        });
    }
    void Answer(const QString& text, Qt::Key key = Qt::Key_Return) {
        script.Then([text, key](QWidget& box) { AnswerBox(box, text, key); });
    }

    CScratchFolder folder{ScratchParent()};
    const fs::path dir{folder.Path()};
    QPointer<QWidget> main;
    CModalScript script{60000};
};

}  // namespace

TEST_F(QtMessageBoxKeysTest, EveryBoxOfTheMainWindowAnswersToEnterAndTheExitQuestionToEnterAndEscape) {
    const QString two = MakeFileIn(folder, "two.ini", NumberedListText(2));
    const QString notInFours =
        MakeFileIn(folder, "three-lines.ini", "first\nCableName1 = a\nVelocity1 = 1\nCableLoss1 = 2\n");
    const QString none = MakeFileIn(folder, "none.ini", NumberedListText(0));
    // A list without rows keeps the table, so the row left unselected is still there after it.
    const QStringList designed{kOpenFailed,   kFormatError,  kItemCount,   kSelectToDelete,
                               kSelectToEdit, kExportFailed, kItemCount,   kSelectToDelete,
                               kExitQuestion, kExitQuestion, kExitQuestion};
    CBoxRecorder boxes(designed);
    CQuorlisDlg dlg;

    ChooseFile(IDC_IMPORT, PathIn(folder, "missing.ini"));
    Answer(kOpenFailed);
    ChooseFile(IDC_IMPORT, notInFours);
    Answer(kFormatError);
    Answer(kItemCount);
    ChooseFile(IDC_IMPORT, two);
    script.Then([this](QWidget& window) {
        // The last row read is selected: the first Delete removes it and leaves no row selected.
        for (int press = 0; press < 2; ++press) {
            ASSERT_NO_FATAL_FAILURE(ExpectStaysOnTop(window, main));
            Control<QPushButton>(window, IDC_DELETE_CABLE)->setFocus(Qt::TabFocusReason);
            PressKeyAsAPerson(window, Qt::Key_Return);
        }
    });
    Answer(kSelectToDelete);
    PressButton(IDC_EDIT_CABLE);
    Answer(kSelectToEdit);
    ChooseFile(IDC_EXPORT, PathIn(folder, "two.ini/inside-a-file.ini"));
    Answer(kExportFailed);
    ChooseFile(IDC_IMPORT, none);
    Answer(kItemCount);
    PressButton(IDC_DELETE_CABLE);
    Answer(kSelectToDelete);
    script.Then([this](QWidget& window) {
        ASSERT_NO_FATAL_FAILURE(ExpectStaysOnTop(window, main));
        Control<QTableView>(window, IDC_CABLE_LIST)->setFocus(Qt::TabFocusReason);
        PressKeyAsAPerson(window, Qt::Key_Escape);
    });
    Answer(kExitQuestion, Qt::Key_Escape);  // No
    const auto enterInTheList = [this](QWidget& window) {
        ASSERT_NO_FATAL_FAILURE(ExpectStaysOnTop(window, main));
        Control<QTableView>(window, IDC_CABLE_LIST)->setFocus(Qt::TabFocusReason);
        PressKeyAsAPerson(window, Qt::Key_Return);  // in the list: the window's OK
    };
    script.Then(enterInTheList);
    Answer(kExitQuestion);  // No: a row was deleted since the Import, and nothing saved it
    ChooseFile(IDC_EXPORT, PathIn(folder, "saved.ini"));
    script.Then(enterInTheList);
    Answer(kExitQuestion);  // Yes: the Export saved every change

    EXPECT_EQ(dlg.DoModal(), kIdOk);
    QTest::qWait(kLongestKeyDownMs + 100);
    EXPECT_EQ(boxes.Shown(), designed);
    EXPECT_EQ(dlg.m_table.GetItemCount(), 1);
    EXPECT_TRUE(fs::is_regular_file(dir / "two.ini")) << "the failed export touched nothing";
}

// Enter in a field runs OK; with a field that is not a number it shows "Enter a number." once per
// check, twice when all fields are filled and once when one is empty, then the dialog again.
TEST_F(QtMessageBoxKeysTest, EnterANumberAnswersToEnterAndTheDialogComesBackAlone) {
    const QStringList designed{kEnterNumber, kEnterNumber, kEnterNumber};
    CBoxRecorder boxes(designed);
    CQuorletDlg dlg;
    QPointer<QWidget> dialog;
    script.Then([&](QWidget& window) {
        dialog = &window;
        PressKeyAsAPerson(window, Qt::Key_Return);  // on OK, every field empty
    });
    Answer(kEnterNumber);
    script.Then([&](QWidget& window) {
        ASSERT_NO_FATAL_FAILURE(ExpectStaysOnTop(window, dialog));
        EXPECT_EQ(window.focusWidget(), Control<QLineEdit>(window, IDC_VELOCITY));
        const std::pair<int, const char*> texts[] = {
            {IDC_NAME, "RG58"}, {IDC_VELOCITY, "fast"}, {IDC_CABLE_LOSS, "0.5"}, {IDC_FREQUENCY, "100"}};
        for (const auto& [id, text] : texts) Control<QLineEdit>(window, id)->setText(QString::fromLatin1(text));
        PressKeyAsAPerson(window, Qt::Key_Return);  // in Velocity, which has the focus
    });
    Answer(kEnterNumber);
    Answer(kEnterNumber);
    script.Then([&](QWidget& window) {
        ASSERT_NO_FATAL_FAILURE(ExpectStaysOnTop(window, dialog));
        QLineEdit& velocity = *Control<QLineEdit>(window, IDC_VELOCITY);
        EXPECT_EQ(window.focusWidget(), &velocity);
        velocity.setText(QStringLiteral("0.66"));
        PressKeyAsAPerson(window, Qt::Key_Return);
    });

    EXPECT_EQ(dlg.DoModal(), kIdOk);
    QTest::qWait(kLongestKeyDownMs + 100);
    EXPECT_EQ(boxes.Shown(), designed);
    EXPECT_EQ(dlg.m_strVelocity, "0.66");
}
