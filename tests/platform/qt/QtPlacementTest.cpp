// Where the windows open and how the main window grows, on the screen and at the scale factor that
// the test's environment gives (QT_QPA_PLATFORM=offscreen:configfile=..., QT_SCALE_FACTOR): every
// window wholly on the screen, the main window as designed where the screen allows, and the list
// taking the room the main window is given beyond that.

#include "ModalScript.h"
#include "QtTestHelpers.h"

#include "platform/qt/DialogUnits.h"
#include "res/Resources.h"
#include "ui/QuorlisDlg.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr int kFixedControls[] = {IDC_IMPORT, IDC_EXPORT, IDC_EDIT_CABLE, IDC_DELETE_CABLE, IDC_ADD_CABLE};

QSize DesignedSize(int layoutId) {
    const SDialogLayout& layout = FindDialogLayout(layoutId);
    return CDialogUnits(layout).ToPixels(0, 0, layout.cx, layout.cy).size();
}

void ExpectWhollyOnTheScreen(QWidget& window) {
    const QRect available = window.screen()->availableGeometry();
    EXPECT_TRUE(available.contains(window.frameGeometry()))
        << window.windowTitle().toStdString() << " at " << window.frameGeometry().x() << ","
        << window.frameGeometry().y() << " size " << window.frameGeometry().width() << "x"
        << window.frameGeometry().height() << " on " << available.width() << "x" << available.height();
}

void ExpectFixedAsDesigned(QWidget& window, int layoutId) {
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "fixed size";
    EXPECT_EQ(window.size(), DesignedSize(layoutId));
    ExpectWhollyOnTheScreen(window);
}

// Control geometries by id.
std::map<int, QRect> Geometries(QWidget& window) {
    std::map<int, QRect> geometries;
    for (int id : kFixedControls) geometries[id] = Control<QWidget>(window, id)->geometry();
    geometries[IDC_CABLE_LIST] = Control<QWidget>(window, IDC_CABLE_LIST)->geometry();
    return geometries;
}

}  // namespace

TEST(QtPlacementTest, WindowsOpenWhollyOnTheScreenAndTheListTakesTheRoom) {
    CQuorlisDlg dlg([] {
        CDialog aboutBox(IDD_ABOUTBOX);
        aboutBox.DoModal();
    });
    CModalScript script;
    script.Then([&](QWidget& window) {
        const QRect available = window.screen()->availableGeometry();
        const QSize designed = DesignedSize(IDD_QUORLIS_DIALOG);
        ExpectWhollyOnTheScreen(window);
        EXPECT_EQ(window.minimumSize(), window.size()) << "the size it opens at is the least";
        EXPECT_GT(window.maximumHeight(), window.height()) << "resizable";
        if (designed.height() + 60 <= available.height() && designed.width() + 20 <= available.width()) {
            EXPECT_EQ(window.size(), designed) << "as designed where the screen allows";
        } else {
            EXPECT_LE(window.height(), designed.height());
        }
        ExpectHeadingsWholeInTheList(*Control<QTableView>(window, IDC_CABLE_LIST));

        // Made larger, the list takes the room; the buttons and the note keep their places.
        const std::map<int, QRect> before = Geometries(window);
        const QRect note = window.findChild<QLabel*>()->geometry();
        window.resize(window.size() + QSize(120, 90));
        const std::map<int, QRect> after = Geometries(window);
        for (int id : kFixedControls) EXPECT_EQ(after.at(id), before.at(id)) << id;
        EXPECT_EQ(window.findChild<QLabel*>()->geometry(), note);
        EXPECT_EQ(after.at(IDC_CABLE_LIST), before.at(IDC_CABLE_LIST).adjusted(0, 0, 120, 90));
        EXPECT_EQ(window.rect().bottom() - after.at(IDC_CABLE_LIST).bottom(),
                  window.rect().bottom() - 90 - before.at(IDC_CABLE_LIST).bottom())
            << "the margin under the list stays";

        QTest::mouseClick(Control<QPushButton>(window, IDC_IMPORT), Qt::LeftButton);
    });
    script.Then([](QWidget& chooser) {
        ExpectWhollyOnTheScreen(chooser);
        static_cast<QDialog&>(chooser).reject();
    });
    script.Then([&](QWidget&) { dlg.HandleSysCommand(IDM_ABOUTBOX, 0); });
    script.Then([](QWidget& about) {
        EXPECT_EQ(about.windowTitle(), QStringLiteral("About Quorlis"));
        ExpectFixedAsDesigned(about, IDD_ABOUTBOX);
        PressKey(*Control<QPushButton>(about, kIdOk), Qt::Key_Escape);
    });
    script.Then([&](QWidget& window) {
        // The parameter dialog opens from the locked window only through Add once a row exists.
        dlg.m_table.InsertRow(0, "RG58");
        dlg.EnableControl(IDC_EDIT_CABLE, true);
        QTest::mouseClick(Control<QPushButton>(window, IDC_EDIT_CABLE), Qt::LeftButton);
    });
    script.Then([](QWidget& parameters) {
        EXPECT_EQ(parameters.windowTitle(), QStringLiteral("Cable Parameter Edit Dialog"));
        ExpectFixedAsDesigned(parameters, IDD_CABLE_PARAMETER);
        PressKey(*Control<QPushButton>(parameters, kIdCancel), Qt::Key_Escape);
    });
    script.Then([](QWidget& window) { PressKey(*Control<QPushButton>(window, IDC_IMPORT), Qt::Key_Escape); });
    script.Then([](QWidget& box) { qobject_cast<QMessageBox*>(&box)->button(QMessageBox::Yes)->click(); });
    EXPECT_EQ(dlg.DoModal(), kIdCancel);
}
