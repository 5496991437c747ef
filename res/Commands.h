#pragma once
// Menus and accelerator tables as data: every backend builds its menus and keys from these.

#include <span>

enum class EMenuItemKind {
    Command,     // runs the command of its id, as a click on the control of that id would
    SysCommand,  // runs the system-menu command of its id
    Separator,
};

struct SMenuItem {
    EMenuItemKind kind;
    unsigned id;
    const char* text;  // "&" marks the mnemonic; a tab comes before the shortcut's name
};

struct SMenuLayout {
    int id;
    std::span<const SMenuItem> items;
};

// Keys as virtual-key codes: a letter or digit is its upper-case character's code.
constexpr unsigned kVkDelete = 0x2E;
constexpr unsigned kVkF2 = 0x71;

// Modifier bits of a key press.
enum EKeyModifier : unsigned {
    kModShift = 0x04,
    kModControl = 0x08,
    kModAlt = 0x10,
};

// A key that runs a command, as a click on the control of that id would.
struct SAccelerator {
    unsigned key;        // virtual-key code
    unsigned modifiers;  // EKeyModifier bits that must be down, and no others
    int command;
};

struct SAcceleratorTable {
    int id;
    std::span<const SAccelerator> entries;
};
