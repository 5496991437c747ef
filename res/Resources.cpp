#include "res/Resources.h"

#include <array>
#include <stdexcept>

namespace {

using K = EControlKind;

constexpr unsigned kButton = kCsTabStop;
constexpr unsigned kField = kCsTabStop | kCsBorder | kCsAutoHScroll;

constexpr std::array kMainControls = {
    SControlLayout{K::PushButton, IDC_IMPORT, QuorlisText::kImportCommand, 7, 7, 74, 24, kButton},
    SControlLayout{K::PushButton, IDC_EXPORT, QuorlisText::kExportCommand, 97, 7, 74, 24, kButton},
    SControlLayout{K::ListView, IDC_CABLE_LIST, "", 7, 59, 254, 182,
                   kCsTabStop | kCsBorder | kCsReport | kCsSingleSel | kCsNoSortHeader | kCsShowSelAlways | kCsGrow},
    SControlLayout{K::PushButton, IDC_EDIT_CABLE, "Edit", 7, 33, 74, 24, kButton},
    SControlLayout{K::PushButton, IDC_DELETE_CABLE, "Delete", 187, 33, 74, 24, kButton},
    SControlLayout{K::PushButton, IDC_ADD_CABLE, "Add", 97, 33, 74, 24, kButton},
    SControlLayout{K::StaticText, IDC_STATIC, "Please do not change cable list file name !!!", 187, 7, 74, 24,
                   kCsSunken},
};

constexpr std::array kParameterControls = {
    SControlLayout{K::PushButton, kIdOk, "OK", 16, 125, 50, 14, kButton | kCsDefault},
    SControlLayout{K::PushButton, kIdCancel, "Cancel", 81, 125, 50, 14, kButton},
    SControlLayout{K::GroupBox, IDC_STATIC, "Cable List Parameter", 15, 7, 137, 107, 0},
    SControlLayout{K::StaticText, IDC_STATIC, "Name", 18, 26, 20, 8, 0},
    SControlLayout{K::StaticText, IDC_STATIC, "Velocity", 18, 44, 25, 8, 0},
    SControlLayout{K::StaticText, IDC_STATIC, "Cable Loss", 18, 62, 36, 8, 0},
    SControlLayout{K::StaticText, IDC_STATIC, "Frequency", 18, 80, 34, 8, 0},
    SControlLayout{K::Edit, IDC_NAME, "", 58, 23, 86, 14, kField},
    SControlLayout{K::Edit, IDC_VELOCITY, "", 58, 41, 86, 14, kField},
    SControlLayout{K::Edit, IDC_CABLE_LOSS, "", 58, 59, 86, 14, kField},
    SControlLayout{K::Edit, IDC_FREQUENCY, "", 58, 77, 86, 14, kField},
};

constexpr std::array kAboutControls = {
    SControlLayout{K::Icon, IDC_STATIC, "#128", 14, 14, 21, 20, 0},
    SControlLayout{K::StaticText, IDC_STATIC, "Quorlis, Version 1.0", 42, 14, 114, 8, 0},
    SControlLayout{K::PushButton, kIdOk, "OK", 113, 41, 50, 14, kButton | kCsDefault},
};

constexpr unsigned kModal = kDsCaption | kDsSysMenu | kDsModalFrame;

constexpr std::array kDialogs = {
    SDialogLayout{IDD_QUORLIS_DIALOG, "Quorlis", "Microsoft Sans Serif", 12, 268, 248,
                  kModal | kDsAppWindow | kDsResizable, kMainControls},
    SDialogLayout{IDD_CABLE_PARAMETER, "Cable Parameter Edit Dialog", "Microsoft Sans Serif", 12, 152, 147,
                  kModal | kDsCenter, kParameterControls},
    SDialogLayout{IDD_ABOUTBOX, "About Quorlis", "MS Shell Dlg", 8, 170, 62, kModal | kDsCenter, kAboutControls},
};

constexpr const char* kAboutEntry = "&About Quorlis...";

constexpr std::array kRowMenuItems = {
    SMenuItem{EMenuItemKind::Command, ID_EDIT_UNDO, "&Undo\tCtrl+Z"},
    SMenuItem{EMenuItemKind::Command, ID_EDIT_REDO, "&Redo\tCtrl+Y"},
    SMenuItem{EMenuItemKind::Separator, 0, ""},
    SMenuItem{EMenuItemKind::Command, ID_EDIT_COPY, "&Copy\tCtrl+C"},
    SMenuItem{EMenuItemKind::Command, ID_EDIT_COPY_ALL, "Copy A&ll Rows"},
    SMenuItem{EMenuItemKind::Command, ID_EDIT_PASTE, "&Paste\tCtrl+V"},
    SMenuItem{EMenuItemKind::Separator, 0, ""},
    SMenuItem{EMenuItemKind::Command, IDC_EDIT_CABLE, "&Edit\tF2"},
    SMenuItem{EMenuItemKind::Command, IDC_DELETE_CABLE, "&Delete\tDel"},
    SMenuItem{EMenuItemKind::Command, ID_NEW_LIST, "&New List\tCtrl+N"},
    SMenuItem{EMenuItemKind::Separator, 0, ""},
    SMenuItem{EMenuItemKind::SysCommand, IDM_ABOUTBOX, kAboutEntry},
};

constexpr std::array kMenus = {SMenuLayout{IDR_ROW_MENU, kRowMenuItems}};

constexpr std::array kMainAccelerators = {
    SAccelerator{'O', kModControl, IDC_IMPORT},   SAccelerator{'S', kModControl, IDC_EXPORT},
    SAccelerator{'N', kModControl, ID_NEW_LIST},  SAccelerator{'Z', kModControl, ID_EDIT_UNDO},
    SAccelerator{'Y', kModControl, ID_EDIT_REDO}, SAccelerator{'Z', kModControl | kModShift, ID_EDIT_REDO},
    SAccelerator{'C', kModControl, ID_EDIT_COPY}, SAccelerator{'V', kModControl, ID_EDIT_PASTE},
};

constexpr std::array kAcceleratorTables = {SAcceleratorTable{IDR_MAIN_ACCELERATORS, kMainAccelerators}};

}  // namespace

const SMenuLayout& FindMenuLayout(int id) {
    for (const SMenuLayout& menu : kMenus) {
        if (menu.id == id) return menu;
    }
    throw std::out_of_range("no menu " + std::to_string(id));
}

const SAcceleratorTable& FindAcceleratorTable(int id) {
    for (const SAcceleratorTable& table : kAcceleratorTables) {
        if (table.id == id) return table;
    }
    throw std::out_of_range("no accelerator table " + std::to_string(id));
}

const SDialogLayout& FindDialogLayout(int id) {
    for (const SDialogLayout& layout : kDialogs) {
        if (layout.id == id) return layout;
    }
    throw std::out_of_range("no dialog layout " + std::to_string(id));
}

std::string LoadResString(int id) {
    switch (id) {
        case IDS_ABOUTBOX:
            return kAboutEntry;
        case IDP_PARSE_REAL:
            return "Enter a number.";
        default:
            return {};
    }
}
