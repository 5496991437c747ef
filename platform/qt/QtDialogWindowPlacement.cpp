// The dialog window's size and place: wholly on its screen, as large as designed where the screen
// allows, its growing controls taking the room it is given beyond that.
#include "platform/qt/QtDialogWindow.h"

#include "platform/qt/WindowPlacement.h"
#include "res/Layout.h"

#include <QScreen>

#include <algorithm>

void CQtDialogWindow::PlaceOnScreen() {
    const bool resizable = (m_layout.style & kDsResizable) != 0;
    const QSize size =
        FitWindowOnScreen(*this, parentWidget(), m_designedSize, resizable, (m_layout.style & kDsCenter) != 0);
    if (resizable && size.isValid()) setMinimumSize(size);
}

void CQtDialogWindow::KeepFrameOnScreenOnceFramed() {
    if (m_framed || !isVisible() || FrameMargins(*this).isNull() || !screen()) return;
    m_framed = true;
    // With the real frame known, a resizable window also takes back what a larger estimate cost it.
    const bool resizable = (m_layout.style & kDsResizable) != 0;
    const QRect available = screen()->availableGeometry();
    const SWindowPlacement placement = PlaceWindow(resizable ? m_designedSize : size(), resizable, FrameMargins(*this),
                                                   frameGeometry().center(), available);
    if (placement.clientSize == size() && available.contains(frameGeometry())) return;
    if (resizable) setMinimumSize(placement.clientSize);
    resize(placement.clientSize);
    move(placement.frameTopLeft);
}

void CQtDialogWindow::LayOutGrowingControls() {
    const int extraWidth = width() - m_designedSize.width();
    const int extraHeight = height() - m_designedSize.height();
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        const SControlLayout& control = m_layout.controls[i];
        if (!(control.style & kCsGrow)) continue;
        QRect area = m_units.ToPixels(control.x, control.y, control.cx, control.cy);
        area.setWidth(std::max(area.width() + extraWidth, 0));
        area.setHeight(std::max(area.height() + extraHeight, 0));
        m_controls[i]->setGeometry(area);
    }
}

void CQtDialogWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    KeepFrameOnScreenOnceFramed();
}

void CQtDialogWindow::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    KeepFrameOnScreenOnceFramed();
}

void CQtDialogWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayOutGrowingControls();
    KeepFrameOnScreenOnceFramed();
}
