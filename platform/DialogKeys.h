#pragma once
// How Enter, Escape and the close box turn into commands in a dialog, the same for every backend
// that has to do it itself.

struct SDialogLayout;

// The command id that Enter gives: on a push button, that button's id (a click); elsewhere the
// default push button's id, or kIdOk when the layout has no default button.
int CommandForEnter(const SDialogLayout& layout, int focusedId);

// The command id that Escape and the close box give: kIdCancel.
int CommandForEscape();
