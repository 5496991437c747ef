#include "ModalScript.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QThread>
#include <QVariant>

#include <gtest/gtest.h>

#include <exception>

namespace {

constexpr int kPollMs = 10;
constexpr const char* kLoopLevelProperty = "modalScriptLoopLevel";

// The top modal window or menu. Other popups (a file dialog's completer) belong to their window.
QWidget* TopWindow() {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) return menu;
    return QApplication::activeModalWidget();
}

void RunStep(const CModalScript::Step& step, QWidget& window) {
    try {
        step(window);
    } catch (const std::exception& failure) {
        ADD_FAILURE() << "step threw: " << failure.what();
    }
}

// The depth of nested event loops running now.
int LoopLevel() { return QThread::currentThread()->loopLevel(); }

// Whether window is on top for good: a window seen before is on top again only once the loop of
// the window that hid it has returned (a hidden dialog's exec() returns a moment later). A menu is
// never returned to.
bool IsSettledOnTop(QWidget& window) {
    if (qobject_cast<QMenu*>(&window)) return true;
    const QVariant level = window.property(kLoopLevelProperty);
    if (level.isValid() && level.toInt() != LoopLevel()) return false;
    window.setProperty(kLoopLevelProperty, LoopLevel());
    return true;
}

}  // namespace

CModalScript::CModalScript(int timeLimitMs) {
    m_poll.setInterval(kPollMs);
    QObject::connect(&m_poll, &QTimer::timeout, [this] { Poll(); });
    m_poll.start();
    m_limit.setSingleShot(true);
    QObject::connect(&m_limit, &QTimer::timeout, [this] { GiveUp(); });
    m_limit.start(timeLimitMs);
}

CModalScript::~CModalScript() { EXPECT_TRUE(IsDone()) << m_steps.size() << " step(s) of the modal script did not run"; }

CModalScript& CModalScript::Then(Step step) {
    m_steps.push_back(std::move(step));
    return *this;
}

void CModalScript::Poll() {
    QWidget* window = TopWindow();
    if (!window || !window->isVisible() || window == m_lastWindow || m_stepRunning || m_steps.empty()) return;
    if (!IsSettledOnTop(*window)) return;
    m_lastWindow = window;
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    m_stepRunning = true;
    // Posted, so that this poll returns before the step blocks in a nested exec().
    QTimer::singleShot(0, window, [this, step = std::move(step), target = QPointer<QWidget>(window)] {
        m_stepRunning = false;
        if (target) RunStep(step, *target);
    });
}

void CModalScript::GiveUp() {
    if (IsDone()) return;
    ADD_FAILURE() << "modal script timed out with " << m_steps.size() << " step(s) left";
    m_steps.clear();
    m_stepRunning = false;
    while (QWidget* window = TopWindow()) {
        if (auto* menu = qobject_cast<QMenu*>(window)) {
            menu->close();
        } else if (auto* dialog = qobject_cast<QDialog*>(window)) {
            dialog->reject();
        } else {
            window->close();
        }
        // Each nested exec() returns only once the loop it runs in is left.
        if (TopWindow() == window) break;
    }
}
