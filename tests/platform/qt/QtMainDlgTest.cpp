// The main window on the real Qt backend, offscreen: its buttons and list, Import through Qt's
// file dialog, the view kept in step with the table, real message boxes and the About entry.

#include "ModalScript.h"
#include "QtTestHelpers.h"

#include "res/Resources.h"
#include "ui/QuorlisDlg.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QUrl>
#include <QWindow>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace QuorlisText;

namespace {

constexpr int kEditCommands[] = {IDC_ADD_CABLE, IDC_EDIT_CABLE, IDC_EXPORT, IDC_DELETE_CABLE};

std::string ListText(const std::vector<std::vector<std::string>>& rows) {
    std::string text =
        "/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=" + std::to_string(rows.size()) + "\n";
    const char* const keys[] = {"CableName", "Velocity", "CableLoss", "Frequency"};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < 4; ++c) text += std::string(keys[c]) + std::to_string(r + 1) + " = " + rows[r][c] + "\n";
    }
    return text;
}

QTableView& List(QWidget& window) { return *Control<QTableView>(window, IDC_CABLE_LIST); }
QPushButton& Button(QWidget& window, int id) { return *Control<QPushButton>(window, id); }

QLineEdit& FileNameField(QFileDialog& chooser) {
    return *chooser.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

// Types path as the file name and accepts it.
void PickFile(QFileDialog& chooser, const QString& path) {
    FileNameField(chooser).setText(path);
    static_cast<QDialog&>(chooser).accept();
}

QList<int> SelectedViewRows(QTableView& list) {
    QList<int> rows;
    for (const QModelIndex& index : list.selectionModel()->selectedRows()) rows.append(index.row());
    return rows;
}

// The colour a row is painted in, right of its first cell's text.
QRgb RowColour(QTableView& list, int row) {
    const QRect cell = list.visualRect(list.model()->index(row, 0));
    const QImage shown = list.viewport()->grab().toImage();
    return shown.pixel(cell.right() - 4, cell.center().y());
}

// The menu's entries: each item's text after "+" when enabled or "-" when not, "" for a separator.
QStringList MenuEntries(const QMenu& menu) {
    QStringList entries;
    for (const QAction* action : menu.actions()) {
        entries.append(action->isSeparator() ? QString() : (action->isEnabled() ? u'+' : u'-') + action->text());
    }
    return entries;
}

void ChooseFromMenu(QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
        if (action->text() == text) menu.setActiveAction(action);
    }
    ASSERT_NE(menu.activeAction(), nullptr) << text.toStdString();
    QTest::keyClick(&menu, Qt::Key_Return);
}

// Drags data over widget and drops it there, as the platform does: to the top-level surface, with
// proposed as the only action it lists as possible (as Qt's X11 integration does). Returns the
// action the drop was answered with, or Qt::IgnoreAction where it was refused.
Qt::DropAction Drop(QWidget& widget, const QMimeData& data, Qt::DropAction proposed = Qt::CopyAction) {
    QWindow* surface = widget.window()->windowHandle();
    EXPECT_NE(surface, nullptr);
    if (!surface) return Qt::IgnoreAction;
    const QPointF where(widget.mapTo(widget.window(), widget.rect().center()));
    QDragEnterEvent enter(where.toPoint(), proposed, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &enter);
    if (!enter.isAccepted()) return Qt::IgnoreAction;
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction) << "entering";
    QDragMoveEvent move(where.toPoint(), proposed, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &move);
    EXPECT_TRUE(move.isAccepted());
    EXPECT_EQ(move.dropAction(), Qt::CopyAction) << "moving over the window";
    QDropEvent drop(where, proposed, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

std::unique_ptr<QMimeData> FilesData(const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& path : paths) urls.append(QUrl::fromLocalFile(path));
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    return data;
}

void ClickRow(QTableView& list, int row) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(list.model()->index(row, 1)).center());
}

// What the platform sends for a double click: a click, then a second press that is the double click.
void DoubleClickRow(QTableView& list, int row) {
    ClickRow(list, row);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(list.model()->index(row, 1)).center());
}

class QtMainDlgTest : public ::testing::Test {
protected:
    // Clicks Import (by Enter on the focused button) and picks path in the file dialog.
    void Import(const QString& path) {
        script
            .Then([this](QWidget& window) {
                main = &window;
                PressKey(Button(window, IDC_IMPORT), Qt::Key_Return);
            })
            .Then([path](QWidget& window) {
                auto* chooser = qobject_cast<QFileDialog*>(&window);
                ASSERT_NE(chooser, nullptr);
                PickFile(*chooser, path);
            });
    }
    // Answers the exit question with answer.
    void AnswerExit(QMessageBox::StandardButton answer) {
        script.Then([this, answer](QWidget& box) {
            AnswerMessageBox(box, main, kExitQuestion, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                             answer);
        });
    }
    // Without an assistive tool listening (offscreen) the accessible cells are not told of later
    // row changes, so they are checked only on a freshly filled list.
    void ExpectTableShown(QTableView& list, bool accessibleCellsToo = false) {
        const CCableTable& table = dlg.m_table;
        ASSERT_EQ(list.model()->rowCount(), table.GetItemCount());
        QAccessibleTableInterface* accessible = QAccessible::queryAccessibleInterface(&list)->tableInterface();
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->rowCount(), table.GetItemCount());
        for (int r = 0; r < table.GetItemCount(); ++r) {
            for (int c = 0; c < 4; ++c) {
                const QString cell = QString::fromStdString(table.GetCellText(r, c));
                EXPECT_EQ(list.model()->index(r, c).data().toString(), cell) << r << "," << c;
                if (accessibleCellsToo) {
                    EXPECT_EQ(accessible->cellAt(r, c)->text(QAccessible::Name), cell) << r << "," << c;
                }
            }
        }
    }

    CScratchFolder folder{ScratchParent()};
    const fs::path dir{folder.Path()};
    QPointer<QWidget> main;
    int aboutBoxes = 0;
    CQuorlisDlg dlg{[this] { ++aboutBoxes; }};
    CModalScript script;
};

}  // namespace

TEST_F(QtMainDlgTest, StartsWithImportOnlyOffersAboutAndAsksBeforeExit) {
    script.Then([this](QWidget& window) {
        main = &window;
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Quorlis"));
        EXPECT_LT(window.minimumWidth(), window.maximumWidth()) << "resizable";
        EXPECT_EQ(window.size(), window.minimumSize()) << "the designed size, the least it takes";
        EXPECT_FALSE(window.windowIcon().isNull());
        const std::pair<int, const char*> buttons[] = {{IDC_IMPORT, "Import"},
                                                       {IDC_EXPORT, "Export"},
                                                       {IDC_EDIT_CABLE, "Edit"},
                                                       {IDC_DELETE_CABLE, "Delete"},
                                                       {IDC_ADD_CABLE, "Add"}};
        for (const auto& [id, text] : buttons) {
            EXPECT_EQ(Button(window, id).text(), QString::fromLatin1(text));
            EXPECT_EQ(AccessibleName(Button(window, id)), QString::fromLatin1(text));
            EXPECT_EQ(Button(window, id).isEnabled(), id == IDC_IMPORT) << text;
            EXPECT_FALSE(Button(window, id).isDefault());
        }
        EXPECT_EQ(window.findChild<QLabel*>()->text(), QStringLiteral("Please do not change cable list file name !!!"));

        QTableView& list = List(window);
        QAccessibleTableInterface* accessible = QAccessible::queryAccessibleInterface(&list)->tableInterface();
        ASSERT_NE(accessible, nullptr);
        ASSERT_EQ(list.model()->columnCount(), 4);
        for (int c = 0; c < 4; ++c) {
            const QString heading = QString::fromLatin1(kColumnHeadings[c]);
            EXPECT_EQ(list.model()->headerData(c, Qt::Horizontal).toString(), heading);
            EXPECT_EQ(accessible->columnDescription(c), heading);
        }
        ExpectHeadingsWholeInTheList(list);
        EXPECT_TRUE(list.showGrid());
        EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(list.selectionMode(), QAbstractItemView::SingleSelection);
        EXPECT_FALSE(list.isSortingEnabled());
        EXPECT_FALSE(list.horizontalHeader()->sectionsClickable());
        EXPECT_EQ(list.editTriggers(), QAbstractItemView::NoEditTriggers);

        ActivateForTyping(window);
        EXPECT_EQ(QApplication::focusWidget(), &Button(window, IDC_IMPORT));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), &list) << "the disabled buttons are skipped";
        QTest::keyClick(&list, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), &Button(window, IDC_IMPORT)) << "Tab leaves the list";

        // Locked: the keys of Edit, Delete and Export do nothing (no box, no chooser comes up).
        for (Qt::Key key : {Qt::Key_F2, Qt::Key_Delete}) PressKey(list, key);
        QTest::keyClick(&list, Qt::Key_S, Qt::ControlModifier);
        PressKey(list, Qt::Key_F10);  // no Shift: not the menu
        QTest::keyClick(&list, Qt::Key_F10, Qt::ShiftModifier);
    });
    script.Then([](QWidget& window) {
        auto* menu = qobject_cast<QMenu*>(&window);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(MenuEntries(*menu), (QStringList{"-&Undo\tCtrl+Z", "-&Redo\tCtrl+Y", "", "-&Copy\tCtrl+C",
                                                   "-Copy A&ll Rows", "-&Paste\tCtrl+V", "", "-&Edit\tF2",
                                                   "-&Delete\tDel", "+&New List\tCtrl+N", "", "+&About Quorlis..."}))
            << "Edit and Delete disabled as their buttons are";
        ChooseFromMenu(*menu, QStringLiteral("&About Quorlis..."));
    });
    script.Then([this](QWidget& window) {
        EXPECT_EQ(aboutBoxes, 1);
        QTableView& list = List(window);
        // What the platform sends for a click of the right button.
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(10, 10), list.viewport()->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(list.viewport(), &click);
    });
    script.Then([](QWidget& window) {
        ASSERT_NE(qobject_cast<QMenu*>(&window), nullptr) << "the right button shows the menu";
        QTest::keyClick(&window, Qt::Key_Escape);
    });
    script.Then([](QWidget& window) { PressKey(List(window), Qt::Key_Escape); });
    AnswerExit(QMessageBox::No);
    script.Then([](QWidget& window) { window.close(); });
    AnswerExit(QMessageBox::Yes);

    EXPECT_EQ(dlg.DoModal(), kIdCancel);
    EXPECT_EQ(aboutBoxes, 1);
}

TEST_F(QtMainDlgTest, ImportFillsTheViewWhoseSelectionFollowsTheTable) {
    const QString path = MakeFileIn(
        folder, "three.ini",
        ListText({{"RG58", "0.66", "0.5", "100"}, {"LMR400", "0.85", "0.2", "900"}, {"RG213", "0.66", "0.3", "50"}}));
    QList<Qt::CursorShape> cursorsWhileFilled;
    script.Then([this, &cursorsWhileFilled](QWidget& window) {
        main = &window;
        QObject::connect(List(window).model(), &QAbstractItemModel::modelReset, &window, [&cursorsWhileFilled] {
            const QCursor* cursor = QApplication::overrideCursor();
            cursorsWhileFilled.append(cursor ? cursor->shape() : Qt::ArrowCursor);
        });
        ActivateForTyping(window);
        PressKey(Button(window, IDC_IMPORT), Qt::Key_Return);
    });
    script.Then([path](QWidget& window) {
        auto* chooser = qobject_cast<QFileDialog*>(&window);
        ASSERT_NE(chooser, nullptr);
        EXPECT_TRUE(chooser->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(chooser->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(chooser->defaultSuffix(), QStringLiteral("ini"));
        ASSERT_EQ(chooser->nameFilters().size(), 2);
        EXPECT_EQ(chooser->selectedNameFilter(), QStringLiteral("Cablie List Files (*.ini)"));
        auto* files = chooser->findChild<QFileSystemModel*>();
        ASSERT_NE(files, nullptr);
        EXPECT_EQ(files->nameFilters(), QStringList{"*.[iI][nN][iI]"}) << "any case";
        EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Import"));
        chooser->selectNameFilter(chooser->nameFilters().value(1));
        EXPECT_EQ(chooser->selectedNameFilter(), QStringLiteral("All Files (*.*)"));
        EXPECT_EQ(files->nameFilters(), QStringList{"*"}) << "names without a dot too";
        EXPECT_EQ(FileNameField(*chooser).text(), QStringLiteral("CableList.ini"));
        PickFile(*chooser, path);
    });
    script.Then([this, &cursorsWhileFilled](QWidget& window) {
        ASSERT_EQ(&window, main.data()) << window.metaObject()->className();
        EXPECT_EQ(cursorsWhileFilled, QList<Qt::CursorShape>{Qt::WaitCursor}) << "busy while the file is read";
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "and no longer";
        QTableView& list = List(window);
        ExpectTableShown(list, true);
        EXPECT_EQ(list.model()->rowCount(), 3);
        EXPECT_EQ(SelectedViewRows(list), QList<int>{2}) << "the last row read";
        EXPECT_EQ(dlg.m_table.GetSelectedRow(), 2);
        EXPECT_FALSE(list.hasFocus());
        const QPalette styleColours = QApplication::palette(&list);
        ASSERT_NE(styleColours.color(QPalette::Inactive, QPalette::Highlight),
                  styleColours.color(QPalette::Inactive, QPalette::Base));
        EXPECT_EQ(RowColour(list, 2), styleColours.color(QPalette::Inactive, QPalette::Highlight).rgb())
            << "the selected row shows while the list lacks the focus";
        EXPECT_EQ(RowColour(list, 1), styleColours.color(QPalette::Inactive, QPalette::Base).rgb());
        for (int id : kEditCommands) EXPECT_TRUE(Button(window, id).isEnabled()) << id;

        ActivateForTyping(window);
        ClickRow(list, 0);
        EXPECT_EQ(dlg.m_table.GetSelectedRow(), 0) << "a click selects in the table";
        QTest::keyClicks(&list, "L");
        EXPECT_TRUE(list.findChildren<QLineEdit*>().isEmpty()) << "no editor";
        EXPECT_EQ(dlg.m_table.GetItemCount(), 3);
        EXPECT_EQ(dlg.m_table.GetCellText(0, 0), "RG58");
        EXPECT_EQ(dlg.m_table.GetSelectedRow(), 0);
        QTest::keyClick(&list, Qt::Key_Down);
        EXPECT_EQ(dlg.m_table.GetSelectedRow(), 1) << "arrow keys select in the table";

        QTest::mouseClick(&Button(window, IDC_DELETE_CABLE), Qt::LeftButton);
        ExpectTableShown(list);
        EXPECT_EQ(dlg.m_table.GetItemCount(), 2);
        EXPECT_EQ(dlg.m_table.GetCellText(1, 0), "RG213");
        EXPECT_EQ(dlg.m_table.GetSelectedRow(), -1);
        EXPECT_TRUE(SelectedViewRows(list).isEmpty()) << "after Delete no row is selected";

        QTest::mouseClick(&Button(window, IDC_ADD_CABLE), Qt::LeftButton);
    });
    script.Then([this](QWidget& window) {
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Cable Parameter Edit Dialog"));
        EXPECT_LE((window.geometry().center() - main->geometry().center()).manhattanLength(), 2)
            << "centred over the main window";
        const std::pair<int, const char*> texts[] = {
            {IDC_NAME, "Belden"}, {IDC_VELOCITY, "0.7"}, {IDC_CABLE_LOSS, "0.1"}, {IDC_FREQUENCY, "10"}};
        for (const auto& [id, text] : texts) Control<QLineEdit>(window, id)->setText(QString::fromLatin1(text));
        PressKey(*Control<QLineEdit>(window, IDC_FREQUENCY), Qt::Key_Return);
    });
    script.Then([this](QWidget& window) {
        QTableView& list = List(window);
        ExpectTableShown(list);
        EXPECT_EQ(dlg.m_table.GetCellText(2, 0), "Belden");
        EXPECT_EQ(SelectedViewRows(list), QList<int>{2}) << "the row added";
        PressKey(list, Qt::Key_Return);
    });
    AnswerExit(QMessageBox::Yes);

    EXPECT_EQ(dlg.DoModal(), kIdOk) << "Enter in the list is the window's OK";
}

TEST_F(QtMainDlgTest, EmptyImportShowsARealMessageBoxAndKeepsTheList) {
    Import(MakeFileIn(folder, "one.ini", ListText({{"RG58", "0.66", "0.5", "100"}})));
    Import(MakeFileIn(folder, "empty.ini", ListText({})));
    script.Then([this](QWidget& box) {
        AnswerMessageBox(box, main, kItemCountError, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
    });
    script.Then([this](QWidget& window) {
        EXPECT_EQ(List(window).model()->rowCount(), 1) << "the list keeps its row";
        for (int id : kEditCommands) EXPECT_TRUE(Button(window, id).isEnabled()) << "the buttons keep their state";
        PressKey(Button(window, IDC_EXPORT), Qt::Key_Escape);
    });
    AnswerExit(QMessageBox::Yes);

    EXPECT_EQ(dlg.DoModal(), kIdCancel);
}

TEST_F(QtMainDlgTest, TheFileDialogOpensAMissingFileAndAsksBeforeReplacingOne) {
    Import(MakeFileIn(folder, "one.ini", ListText({{"RG58", "0.66", "0.5", "100"}})));
    Import(PathIn(folder, "missing.ini"));
    script.Then([this](QWidget& box) {
        AnswerMessageBox(box, main, kOpenFailed, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
    });
    const QString old = MakeFileIn(folder, "old.ini", "old");
    script.Then([](QWidget& window) { PressKey(Button(window, IDC_EXPORT), Qt::Key_Return); });
    script.Then([old](QWidget& window) {
        auto* chooser = qobject_cast<QFileDialog*>(&window);
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(FileNameField(*chooser).text(), QStringLiteral("CableList.ini"));
        PickFile(*chooser, old);
    });
    script.Then([](QWidget& question) {
        auto* box = qobject_cast<QMessageBox*>(&question);
        ASSERT_NE(box, nullptr) << "the overwrite question";
        EXPECT_TRUE(box->text().contains(QStringLiteral("old.ini"))) << box->text().toStdString();
        box->button(QMessageBox::Yes)->click();
    });
    script.Then([this](QWidget& window) {
        EXPECT_EQ(&window, main.data());
        PressKey(Button(window, IDC_EXPORT), Qt::Key_Return);
    });
    script.Then([this](QWidget& window) {
        auto* chooser = qobject_cast<QFileDialog*>(&window);
        ASSERT_NE(chooser, nullptr);
        PickFile(*chooser, PathIn(folder, "new"));
    });
    script.Then([](QWidget& window) { PressKey(Button(window, IDC_IMPORT), Qt::Key_Escape); });
    AnswerExit(QMessageBox::Yes);

    EXPECT_EQ(dlg.DoModal(), kIdCancel);
    const std::string expected = ListText({{"RG58", "0.66", "0.5", "100"}});
    std::ifstream replaced(dir / "old.ini", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(replaced), {}), expected);
    EXPECT_TRUE(fs::exists(dir / "new.ini")) << "the default extension is added";
}

// A very long cell shows only its beginning, cut between characters; its bytes stay whole.
TEST_F(QtMainDlgTest, AVeryLongCellShowsItsBeginningAndExportsWhole) {
    std::string euros;
    for (int i = 0; i < 5000; ++i) euros += "\xE2\x82\xAC";
    const std::string source = ListText({{std::string(10'000'000, 'n'), euros, "0.5", "100"}});
    const QString target = PathIn(folder, "copy.ini");
    Import(MakeFileIn(folder, "long.ini", source));
    script.Then([](QWidget& window) {
        QTableView& list = List(window);
        const QString ellipsis(QChar(0x2026));
        const QString name = list.model()->index(0, 0).data().toString();
        EXPECT_TRUE(name == QString(kMaxShownCellChars, u'n') + ellipsis) << name.size() << " characters shown";
        const QString velocity = list.model()->index(0, 1).data().toString();
        EXPECT_TRUE(velocity == QString(kMaxShownCellChars, QChar(0x20AC)) + ellipsis) << velocity.size();
        EXPECT_EQ(list.model()->index(0, 2).data().toString(), QStringLiteral("0.5"));
        list.viewport()->repaint();
        PressKey(Button(window, IDC_EXPORT), Qt::Key_Return);
    });
    script.Then([target](QWidget& window) {
        auto* chooser = qobject_cast<QFileDialog*>(&window);
        ASSERT_NE(chooser, nullptr);
        PickFile(*chooser, target);
    });
    script.Then([](QWidget& window) { PressKey(Button(window, IDC_IMPORT), Qt::Key_Escape); });
    AnswerExit(QMessageBox::Yes);

    EXPECT_EQ(dlg.DoModal(), kIdCancel);
    EXPECT_EQ(dlg.m_table.GetCellTextView(0, 0).size(), 10'000'000u);
    std::ifstream exported(dir / "copy.ini", std::ios::binary);
    EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(exported), {}) == source) << "exported unchanged";
}

// The keys, the double click and the context menu run the commands of the buttons, with their
// rules and messages.
TEST_F(QtMainDlgTest, KeysDoubleClickAndContextMenuRunTheButtonsCommands) {
    const QString path =
        MakeFileIn(folder, "two.ini", ListText({{"RG58", "0.66", "0.5", "100"}, {"LMR400", "0.85", "0.2", "900"}}));
    const QString target = PathIn(folder, "saved.ini");
    const auto cancelEditOf = [](const char* name) {
        return [name](QWidget& window) {
            EXPECT_EQ(window.windowTitle(), QStringLiteral("Cable Parameter Edit Dialog"));
            EXPECT_EQ(Control<QLineEdit>(window, IDC_NAME)->text(), QString::fromLatin1(name));
            PressKey(*Control<QPushButton>(window, kIdOk), Qt::Key_Escape);
        };
    };
    script.Then([this](QWidget& window) {
        main = &window;
        ActivateForTyping(window);
        QTest::keyClick(&List(window), Qt::Key_O, Qt::ControlModifier);
    });
    script.Then([path](QWidget& window) {
        auto* chooser = qobject_cast<QFileDialog*>(&window);
        ASSERT_NE(chooser, nullptr) << "Ctrl+O imports";
        PickFile(*chooser, path);
    });
    script.Then([](QWidget& window) {
        QTableView& list = List(window);
        ASSERT_EQ(list.model()->rowCount(), 2);
        ClickRow(list, 1);
        DoubleClickRow(list, 0);
    });
    script.Then(cancelEditOf("RG58"));
    script.Then([this](QWidget& window) {
        EXPECT_EQ(dlg.m_table.GetSelectedRow(), 0) << "the row double-clicked";
        PressKey(List(window), Qt::Key_F2);
    });
    script.Then(cancelEditOf("RG58"));
    script.Then([this](QWidget& window) {
        PressKey(List(window), Qt::Key_Delete);
        EXPECT_EQ(dlg.m_table.GetItemCount(), 1);
        EXPECT_EQ(dlg.m_table.GetCellText(0, 0), "LMR400");
        PressKey(List(window), Qt::Key_Delete);
    });
    script.Then([this](QWidget& box) {
        AnswerMessageBox(box, main, kSelectToDelete, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
    });
    script.Then([](QWidget& window) {
        ClickRow(List(window), 0);
        QWidget& rows = *List(window).viewport();
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(10, 10), rows.mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(&rows, &click);
    });
    script.Then([](QWidget& window) {
        auto* menu = qobject_cast<QMenu*>(&window);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(MenuEntries(*menu), (QStringList{"+&Undo\tCtrl+Z", "-&Redo\tCtrl+Y", "", "+&Copy\tCtrl+C",
                                                   "+Copy A&ll Rows", "+&Paste\tCtrl+V", "", "+&Edit\tF2",
                                                   "+&Delete\tDel", "+&New List\tCtrl+N", "", "+&About Quorlis..."}));
        ChooseFromMenu(*menu, QStringLiteral("&Edit\tF2"));
    });
    script.Then(cancelEditOf("LMR400"));
    script.Then(
        [](QWidget& window) { QTest::keyClick(&Button(window, IDC_ADD_CABLE), Qt::Key_S, Qt::ControlModifier); });
    script.Then([target](QWidget& window) {
        auto* chooser = qobject_cast<QFileDialog*>(&window);
        ASSERT_NE(chooser, nullptr) << "Ctrl+S exports";
        EXPECT_EQ(chooser->acceptMode(), QFileDialog::AcceptSave);
        PickFile(*chooser, target);
    });
    script.Then([](QWidget& window) { PressKey(List(window), Qt::Key_Return); });
    AnswerExit(QMessageBox::Yes);

    EXPECT_EQ(dlg.DoModal(), kIdOk) << "Enter in the list is still the window's OK";
    EXPECT_EQ(aboutBoxes, 0);
    EXPECT_TRUE(fs::exists(dir / "saved.ini"));
}

// A file named at start is imported once the window shows: its messages are owned by the window.
TEST_F(QtMainDlgTest, FileNamedAtStartIsImportedOnceTheWindowShows) {
    dlg.ImportAtStart((dir / "missing.ini").string());
    script.Then([this](QWidget& box) {
        main = box.parentWidget();
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(main->windowTitle(), QStringLiteral("Quorlis"));
        EXPECT_TRUE(main->isVisible());
        AnswerMessageBox(box, main, kOpenFailed, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
    });
    script.Then([](QWidget& window) { PressKey(Button(window, IDC_IMPORT), Qt::Key_Escape); });
    AnswerExit(QMessageBox::Yes);
    EXPECT_EQ(dlg.DoModal(), kIdCancel);
}

// Local files dropped on the window are imported (the first of them) as if chosen in Import, and
// the file chooser then opens in their folder.
TEST_F(QtMainDlgTest, DroppedFileIsImportedAndTheChooserOpensInItsFolder) {
    fs::create_directories(dir / "sub");
    const QString two =
        MakeFileIn(folder, "sub/two.ini", ListText({{"RG58", "0.66", "0.5", "100"}, {"RG213", "0.66", "0.3", "50"}}));
    script.Then([this, two](QWidget& window) {
        main = &window;
        QWidget& rows = *List(window).viewport();
        QMimeData text;
        text.setText(two);
        EXPECT_EQ(Drop(rows, text), Qt::IgnoreAction) << "text is no file";
        QMimeData web;
        web.setUrls({QUrl(QStringLiteral("https://example.org/two.ini"))});
        EXPECT_EQ(Drop(rows, web), Qt::IgnoreAction) << "nor is a remote address";
        // Proposed as a move (Shift held in a file manager), the drop is still answered as a copy:
        // the source keeps its file.
        EXPECT_EQ(Drop(rows, *FilesData({two, QStringLiteral("/nonexistent.ini")}), Qt::MoveAction), Qt::CopyAction);
        EXPECT_TRUE(fs::exists(dir / "sub" / "two.ini"));
        EXPECT_EQ(dlg.m_table.GetItemCount(), 2);
        EXPECT_TRUE(Button(window, IDC_EXPORT).isEnabled());
        QTest::keyClick(&List(window), Qt::Key_S, Qt::ControlModifier);
    });
    script.Then([this](QWidget& window) {
        auto* chooser = qobject_cast<QFileDialog*>(&window);
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->directory().absolutePath(), PathIn(folder, "sub"));
        chooser->reject();
    });
    script.Then([](QWidget& window) { PressKey(Button(window, IDC_IMPORT), Qt::Key_Escape); });
    AnswerExit(QMessageBox::Yes);
    EXPECT_EQ(dlg.DoModal(), kIdCancel);
}
