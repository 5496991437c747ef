#pragma once
// Drives modal windows from a test. Each step runs once a new modal window (or menu) is on top:
// the window that a blocking exec() has just shown, or the window under it again after that one
// closed. Steps run from the event loop on their own, so a step may press a key that opens the
// next modal window and blocks. When the steps are not all run within the time limit, the test
// fails and every modal window is closed, so that a wrong expectation ends the test instead of
// hanging it.

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>

class CModalScript {
public:
    using Step = std::function<void(QWidget& window)>;

    explicit CModalScript(int timeLimitMs = 10000);
    ~CModalScript();
    CModalScript(const CModalScript&) = delete;
    CModalScript& operator=(const CModalScript&) = delete;

    // Adds a step for the next modal window (or popup menu) that comes on top.
    CModalScript& Then(Step step);
    // True when every step has run.
    bool IsDone() const { return m_steps.empty() && !m_stepRunning; }

private:
    void Poll();
    void GiveUp();

    std::deque<Step> m_steps;
    QPointer<QWidget> m_lastWindow;
    QTimer m_poll;
    QTimer m_limit;
    bool m_stepRunning = false;
};
