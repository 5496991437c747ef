#include "platform/qt/CopyDropFilter.h"

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <QWindow>

namespace {

// The event's answer is a protected field, reached through a pointer to it taken in a derived
// class, as the language allows: setDropAction keeps only an action that Qt lists as possible.
struct SDropAnswer : QDropEvent {
    static constexpr Qt::DropAction QDropEvent::*kAction = &SDropAnswer::m_dropAction;
};

// A dropped file is only read: the answer is a copy whatever the source proposes.
void AcceptAsCopy(QDropEvent& event) {
    event.setDropAction(Qt::CopyAction);
    event.*SDropAnswer::kAction = Qt::CopyAction;
    event.accept();
}

}  // namespace

std::vector<std::string> LocalFiles(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data) return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    }
    return paths;
}

CCopyDropFilter::CCopyDropFilter(QWidget& window, DropHandler onDrop)
    : QObject(&window), m_window(window), m_onDrop(std::move(onDrop)) {
    // The top-level surface may not exist yet: the filter watches the application's events.
    QApplication::instance()->installEventFilter(this);
}

bool CCopyDropFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    if (!m_window.acceptDrops() || !m_window.windowHandle() || watched != m_window.windowHandle()) return false;
    auto& drop = static_cast<QDropEvent&>(*event);
    const std::vector<std::string> paths = LocalFiles(drop.mimeData());
    if (paths.empty()) {
        drop.ignore();
        return true;
    }
    AcceptAsCopy(drop);
    if (type == QEvent::Drop) m_onDrop(paths);
    return true;
}
