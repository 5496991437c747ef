#pragma once
// Turns a dialog layout into the bytes of an extended dialog template (DLGTEMPLATEEX and one
// DLGITEMTEMPLATEEX per control), the form the Windows dialog manager creates dialogs from. Free of
// Windows headers, so that a build-time tool can write the same bytes into the program's resources.

#include "res/Layout.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Converts the layout's texts (bytes in the ANSI code page) to UTF-16, as templates hold them.
using FAnsiToUtf16 = std::function<std::u16string(const char* text)>;

// Window style bits the template uses (values of the Win32 API).
namespace DialogStyleBits {
inline constexpr std::uint32_t kWsPopup = 0x80000000;
inline constexpr std::uint32_t kWsChild = 0x40000000;
inline constexpr std::uint32_t kWsVisible = 0x10000000;
inline constexpr std::uint32_t kWsCaption = 0x00C00000;
inline constexpr std::uint32_t kWsBorder = 0x00800000;
inline constexpr std::uint32_t kWsSysMenu = 0x00080000;
inline constexpr std::uint32_t kWsTabStop = 0x00010000;
inline constexpr std::uint32_t kWsExAppWindow = 0x00040000;
inline constexpr std::uint32_t kDsModalFrameStyle = 0x80;
inline constexpr std::uint32_t kDsSetFont = 0x40;
inline constexpr std::uint32_t kBsDefPushButton = 0x1;
inline constexpr std::uint32_t kBsGroupBox = 0x7;
inline constexpr std::uint32_t kSsIcon = 0x3;
inline constexpr std::uint32_t kSsSunken = 0x1000;
inline constexpr std::uint32_t kEsAutoHScroll = 0x80;
inline constexpr std::uint32_t kLvsReport = 0x1;
inline constexpr std::uint32_t kLvsSingleSel = 0x4;
inline constexpr std::uint32_t kLvsShowSelAlways = 0x8;
inline constexpr std::uint32_t kLvsOwnerData = 0x1000;
inline constexpr std::uint32_t kLvsNoSortHeader = 0x8000;
}  // namespace DialogStyleBits

// The dialog's window style and extended style for layout's EDialogStyle bits.
std::uint32_t DialogTemplateStyle(const SDialogLayout& layout);
std::uint32_t DialogTemplateExStyle(const SDialogLayout& layout);
// A control's window style for its kind and EControlStyle bits. List views are owner-data lists.
std::uint32_t ControlTemplateStyle(const SControlLayout& control);

// The template of layout, DWORD-aligned as the dialog manager requires when its start is.
std::vector<std::uint16_t> BuildDialogTemplate(const SDialogLayout& layout, const FAnsiToUtf16& toUtf16);
