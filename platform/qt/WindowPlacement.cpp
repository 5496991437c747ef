#include "platform/qt/WindowPlacement.h"

#include <QLayout>
#include <QScreen>
#include <QWidget>

#include <algorithm>

SWindowPlacement PlaceWindow(QSize designed, bool resizable, QMargins frame, QPoint centre, QRect available) {
    QSize client = designed;
    if (resizable) client = client.boundedTo(available.marginsRemoved(frame).size()).expandedTo(QSize(1, 1));
    QRect outer(QPoint(), client.grownBy(frame));
    outer.moveCenter(centre);
    // Right and bottom first: where the window cannot fit, its title bar stays on the screen.
    outer.moveRight(std::min(outer.right(), available.right()));
    outer.moveBottom(std::min(outer.bottom(), available.bottom()));
    outer.moveLeft(std::max(outer.left(), available.left()));
    outer.moveTop(std::max(outer.top(), available.top()));
    return SWindowPlacement{outer.topLeft(), client};
}

QMargins FrameMargins(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

QMargins EstimatedFrameMargins(const QWidget& window) {
    constexpr int kBorder = 4;
    return QMargins(kBorder, window.fontMetrics().height() * 2 + kBorder, kBorder, kBorder);
}

QSize FitWindowOnScreen(QWidget& window, const QWidget* owner, QSize designed, bool resizable, bool overOwner) {
    const QWidget* ownerWindow = owner ? owner->window() : nullptr;
    const QScreen* screen = ownerWindow ? ownerWindow->screen() : window.screen();
    if (!screen) return {};
    const QRect available = screen->availableGeometry();
    // The owner's frame is the best guess of what the window manager will put around this one.
    const QMargins frame = ownerWindow && !FrameMargins(*ownerWindow).isNull() ? FrameMargins(*ownerWindow)
                                                                               : EstimatedFrameMargins(window);
    const QPoint centre = ownerWindow && overOwner ? ownerWindow->frameGeometry().center() : available.center();
    const SWindowPlacement placement = PlaceWindow(designed, resizable, frame, centre, available);
    if (resizable) {
        // A least size, set or kept by a layout, would hold the window larger than the screen: its
        // controls are squeezed instead.
        if (QLayout* layout = window.layout()) layout->setSizeConstraint(QLayout::SetNoConstraint);
        window.setMinimumSize(window.minimumSize().boundedTo(placement.clientSize));
    }
    window.resize(placement.clientSize);
    // The frame's corner, not the client area's: the window manager puts the title bar below it.
    window.move(placement.frameTopLeft);
    return placement.clientSize;
}
