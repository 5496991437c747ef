#pragma once
// The Windows clipboard's Unicode text, converted from and to the ANSI code page.

#include "platform/Windowing.h"

#include <windows.h>

#include <optional>
#include <string>

// Puts text (ANSI code page) on the clipboard as Unicode text, owner owning the clipboard; Windows
// offers it as ANSI text too. Returns false when the clipboard cannot be opened or memory is short.
bool PutClipboardText(HWND owner, const std::string& text);

// The clipboard's Unicode text in the ANSI code page, or nothing when it holds none or cannot be
// opened. A character that the code page cannot hold (no best-fit stand-in is taken) becomes "?",
// and the first line holding one is named.
std::optional<SClipboardText> TakeClipboardText(HWND owner);
