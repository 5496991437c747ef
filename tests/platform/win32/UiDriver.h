#pragma once
// Drives real Win32 windows from inside the test process while a modal dialog runs: a thread timer
// runs scripted steps one after another, and a WH_CBT hook catches every message box as it is
// activated, records its caption, text and icon, and answers it.

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

struct SCaughtBox {
    std::string caption;
    std::string text;
    bool warningIcon = false;
    bool questionIcon = false;
    bool yesNo = false;  // Yes and No buttons; else one OK button
    HWND owner = nullptr;
    bool ownerVisible = false;  // whether the owner was on the screen when the box came up
};

class CUiDriver {
public:
    // A step returns false to be run again at the next tick (waiting for a window, say).
    using Step = std::function<bool()>;

    CUiDriver();
    ~CUiDriver();
    CUiDriver(const CUiDriver&) = delete;
    CUiDriver& operator=(const CUiDriver&) = delete;

    void Then(Step step) { m_steps.push_back(std::move(step)); }
    // The answer (IDOK, IDYES, IDNO, or kEnter: the Enter key) to the next message box; a box
    // without one gets IDOK or IDNO.
    static constexpr int kEnter = 0;
    void AnswerBox(int answer) { m_answers.push_back(answer); }

    const std::vector<SCaughtBox>& Boxes() const { return m_boxes; }
    std::vector<std::string> BoxTexts() const;
    // Whether every step ran; a step that waited too long ends the run with a failure.
    bool Finished() const { return m_steps.empty(); }

    // A step that waits until the window in front (visible and enabled) has title, then runs
    // action on it.
    static Step OnWindow(const std::string& title, std::function<void(HWND)> action);

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
    void OnActivate(HWND window);
    void Tick();

    HHOOK m_hook = nullptr;
    UINT_PTR m_timer = 0;
    std::deque<Step> m_steps;
    std::deque<int> m_answers;
    std::vector<SCaughtBox> m_boxes;
    int m_waitedTicks = 0;
};

// Window helpers.
std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
void Click(HWND dialog, int id);
