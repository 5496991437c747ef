#include "platform/qt/probe/QtProbe.h"

#include "platform/Dialog.h"
#include "platform/qt/QtDialogWindow.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <vector>

namespace {

// Watches watched (or, for nullptr, every dialog window) for its next paint event and calls the
// callback once the event being handled then, the whole window's paint, has ended.
class CPaintWatcher final : public QObject {
public:
    CPaintWatcher(QObject* watched, std::function<void()> callback)
        : QObject(QCoreApplication::instance()), m_watched(watched), m_callback(std::move(callback)) {
        (m_watched ? m_watched : QCoreApplication::instance())->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || m_fired || !IsWatched(watched)) return false;
        m_fired = true;
        // Queued: it runs once the paint in progress (every widget of the window and the flush) is done.
        QTimer::singleShot(0, this, [this] {
            m_callback();
            deleteLater();
        });
        return false;
    }

private:
    bool IsWatched(QObject* object) const {
        if (m_watched) return object == m_watched;
        const auto* widget = qobject_cast<QWidget*>(object);
        return widget && dynamic_cast<const CQtDialogWindow*>(widget->window());
    }

    QObject* m_watched;
    std::function<void()> m_callback;
    bool m_fired = false;
};

// Callbacks waiting for the application to be made.
std::vector<std::function<void()>>& PendingFirstPaintCallbacks() {
    static std::vector<std::function<void()>> pending;
    return pending;
}

void WatchPendingFirstPaints() {
    for (auto& callback : PendingFirstPaintCallbacks()) new CPaintWatcher(nullptr, std::move(callback));
    PendingFirstPaintCallbacks().clear();
}

QWidget* FindWidget(const CDialog& dialog, int controlId) {
    auto* window = dynamic_cast<CQtDialogWindow*>(dialog.GetWindow());
    if (!window || controlId == 0) return window;
    QWidget* control = window->GetControlWidget(controlId);
    // A scrolled view paints its viewport.
    if (auto* scrolled = qobject_cast<QAbstractScrollArea*>(control)) return scrolled->viewport();
    return control;
}

}  // namespace

void CallAfterFirstWindowPaint(std::function<void()> callback) {
    if (QCoreApplication::instance()) {
        new CPaintWatcher(nullptr, std::move(callback));
        return;
    }
    if (PendingFirstPaintCallbacks().empty()) qAddPreRoutine(WatchPendingFirstPaints);
    PendingFirstPaintCallbacks().push_back(std::move(callback));
}

bool CallAfterNextPaint(const CDialog& dialog, int controlId, std::function<void()> callback) {
    QWidget* widget = FindWidget(dialog, controlId);
    if (!widget) return false;
    new CPaintWatcher(widget, std::move(callback));
    return true;
}

bool ClickButton(const CDialog& dialog, int controlId) {
    auto* button = qobject_cast<QAbstractButton*>(FindWidget(dialog, controlId));
    if (!button) return false;
    button->click();
    return true;
}
