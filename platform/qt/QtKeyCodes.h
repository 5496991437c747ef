#pragma once
// The virtual-key codes and modifier flags of the dialog's accelerators for a toolkit key.

#include <QKeyEvent>

// The virtual-key code of a toolkit key (letters, digits, F1-F24, Delete), or 0 for a key that has none here.
unsigned VirtualKey(int key);
// The kMod... flags of the Shift, Control and Alt modifiers held.
unsigned KeyModifiers(Qt::KeyboardModifiers modifiers);
// True for the keys that open a context menu: Menu alone, or Shift+F10 (keypad state aside).
bool IsContextMenuKey(const QKeyEvent& event);
