#pragma once
// Drops of local files on a window, always answered as a copy. Qt's X11 integration tells a widget
// only the action the source proposes, and answers with it whatever the widget sets: a source that
// proposed a move (a file manager dragging with Shift) would hear "moved" and might remove its
// file. So the drags are taken where they reach the window's top-level surface, before its
// widgets see them, and answered there.

#include <QObject>

#include <functional>
#include <string>
#include <vector>

class QMimeData;
class QWidget;

// The local files that data carries, as the file system's bytes (URLs of other kinds are left out).
std::vector<std::string> LocalFiles(const QMimeData* data);

class CCopyDropFilter : public QObject {
public:
    using DropHandler = std::function<void(const std::vector<std::string>& paths)>;

    // Watches the drags on window (a top-level widget) while it accepts drops, calling onDrop with
    // the files of each drop; a child of window, so it lives as long as the window.
    CCopyDropFilter(QWidget& window, DropHandler onDrop);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    DropHandler m_onDrop;
};
