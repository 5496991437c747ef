#include "platform/qt/QtKeyCodes.h"

#include "res/Commands.h"

unsigned VirtualKey(int key) {
    // Letters and digits have the same codes in both.
    const bool letterOrDigit = (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9);
    if (letterOrDigit) return static_cast<unsigned>(key);
    constexpr unsigned kVkF1 = 0x70;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return kVkF1 + static_cast<unsigned>(key - Qt::Key_F1);
    return key == Qt::Key_Delete ? kVkDelete : 0;
}

unsigned KeyModifiers(Qt::KeyboardModifiers modifiers) {
    return ((modifiers & Qt::ShiftModifier) ? kModShift : 0u) | ((modifiers & Qt::ControlModifier) ? kModControl : 0u) |
           ((modifiers & Qt::AltModifier) ? kModAlt : 0u);
}

bool IsContextMenuKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    return (event.key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
           (event.key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
}
