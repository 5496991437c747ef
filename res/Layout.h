#pragma once
// Dialog layouts as data: every backend builds its windows from these. Positions and sizes are in
// dialog units (horizontal: 1/4 of the dialog font's average character width; vertical: 1/8 of
// its height), origin at the top left of the client area.

#include <span>

enum class EControlKind { PushButton, GroupBox, StaticText, Edit, ListView, Icon };

// Control style bits.
enum EControlStyle : unsigned {
    kCsTabStop = 1u << 0,        // reached by Tab
    kCsDefault = 1u << 1,        // the default push button (Enter presses it)
    kCsBorder = 1u << 2,         // thin border (edit fields, the list)
    kCsSunken = 1u << 3,         // sunken frame (static text)
    kCsAutoHScroll = 1u << 4,    // edit field scrolls horizontally, single line
    kCsReport = 1u << 5,         // list: report view with column headings
    kCsSingleSel = 1u << 6,      // list: at most one selected row
    kCsNoSortHeader = 1u << 7,   // list: clicking a heading does nothing
    kCsShowSelAlways = 1u << 8,  // list: selection shown even without focus
    kCsGrow = 1u << 9,           // takes the extra width and height of a window made larger
};

// Dialog style bits.
enum EDialogStyle : unsigned {
    kDsCaption = 1u << 0,
    kDsSysMenu = 1u << 1,
    kDsModalFrame = 1u << 2,
    kDsAppWindow = 1u << 3,  // shown in the task bar
    kDsCenter = 1u << 4,     // centred over its owner
    // The user may make it larger than designed, where the desktop's fonts and scaling can make
    // the designed size a poor fit (the Qt backend); the designed size is the least it takes,
    // unless the screen is smaller. The Windows program keeps the fixed frame it was designed with.
    kDsResizable = 1u << 5,
};

// List column widths are pixels of the system the layouts were designed on, where the main
// window's font (12 points) had a horizontal base unit (average character width) of this many
// pixels. A backend scales them by its own font's base unit over this one.
constexpr int kDesignedBaseUnitX = 9;

struct SControlLayout {
    EControlKind kind;
    int id;            // IDC_STATIC for controls that are never addressed
    const char* text;  // caption, or the icon's resource id as "#128" for an icon control
    int x, y, cx, cy;
    unsigned style;  // EControlStyle bits
};

struct SDialogLayout {
    int id;
    const char* title;
    const char* fontName;
    int pointSize;
    int cx, cy;                                // client size
    unsigned style;                            // EDialogStyle bits
    std::span<const SControlLayout> controls;  // in tab order
};
