#pragma once
// Whether the Qt backend can have a display, told before Qt looks for one: without one, Qt's
// start-up aborts the program with a message about reinstalling it.

// Throws std::runtime_error saying that a graphical session is needed when no display can be
// there: neither DISPLAY nor WAYLAND_DISPLAY is set, and QT_QPA_PLATFORM names no platform that
// does without them (such as offscreen).
void RequireDisplay();

// While an object of this class lives, a fatal error of Qt (a display that is set but cannot be
// opened, a platform plugin that is missing) ends the program with exit code 1 and one line on
// standard error instead of aborting it. Other messages of Qt pass on as before.
class CQtStartGuard {
public:
    CQtStartGuard();
    ~CQtStartGuard();
    CQtStartGuard(const CQtStartGuard&) = delete;
    CQtStartGuard& operator=(const CQtStartGuard&) = delete;
};
