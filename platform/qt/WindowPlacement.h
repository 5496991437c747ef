#pragma once
// Where a window opens on the screen: wholly on it, title bar included.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

struct SWindowPlacement {
    QPoint frameTopLeft;  // where the window's frame begins
    QSize clientSize;
};

// A window whose client area is designed large, framed by frame, centred on centre and moved to
// lie wholly inside available. A resizable window is made smaller where it does not fit; a fixed
// one keeps its size and, where it is larger than available, shows its top left corner.
SWindowPlacement PlaceWindow(QSize designed, bool resizable, QMargins frame, QPoint centre, QRect available);

// Sizes window to a client area of designed (smaller where resizable and the screen is, whatever
// least size the window or its layout had) and moves it
// to lie wholly on the screen of owner's window, or on its own screen without an owner: centred
// over owner's window where overOwner, else on the screen. Returns the client size given, or an
// empty size, with the window untouched, where no screen is known.
QSize FitWindowOnScreen(QWidget& window, const QWidget* owner, QSize designed, bool resizable, bool overOwner);

// The frame that the window manager has put around window; none before it is shown and framed.
QMargins FrameMargins(const QWidget& window);
// A frame at least as large as most window managers put around window: a title bar of two lines
// of its text, and thin borders.
QMargins EstimatedFrameMargins(const QWidget& window);
