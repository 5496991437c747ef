#pragma once
// Hooks by which programs that include no toolkit header (the window benchmark) watch and drive
// the Qt windows: when a window or control has been painted, and a button click as the mouse
// gives it. Callbacks run on the event loop.

#include <functional>

class CDialog;

// Calls callback once, after the first paint of any dialog window from now on has ended. May be
// called before the backend is made, to time a program's start.
void CallAfterFirstWindowPaint(std::function<void()> callback);
// These need the dialog running on the backend.
// Calls callback once, after the next paint of control controlId of the running dialog (its whole
// window for 0) has ended. Returns false, calling nothing, when there is no such control.
bool CallAfterNextPaint(const CDialog& dialog, int controlId, std::function<void()> callback);
// Clicks push button controlId of the running dialog; its command has run when this returns.
// Returns false when there is no such button.
bool ClickButton(const CDialog& dialog, int controlId);
