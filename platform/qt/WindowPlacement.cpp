#include "platform/qt/WindowPlacement.h"

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
