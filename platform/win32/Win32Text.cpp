#include "platform/win32/Win32Text.h"

#include "platform/Windowing.h"

#include <windows.h>

#include <cstring>

namespace {

constexpr std::string_view kEllipsis = "...";

// The length in bytes of the character that begins at text[pos] in the ANSI code page.
std::size_t CharLength(std::string_view text, std::size_t pos, bool utf8) {
    std::size_t length = 1;
    if (utf8) {
        while (pos + length < text.size() && (static_cast<unsigned char>(text[pos + length]) & 0xC0) == 0x80) ++length;
    } else if (IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(text[pos])) && pos + 1 < text.size()) {
        length = 2;
    }
    return length;
}

// The length in bytes of the longest beginning of text that has at most maxChars characters and
// maxBytes bytes.
std::size_t WholeCharsLength(std::string_view text, std::size_t maxChars, std::size_t maxBytes) {
    const bool utf8 = GetACP() == CP_UTF8;
    std::size_t end = 0;
    for (std::size_t chars = 0; end < text.size() && chars < maxChars; ++chars) {
        const std::size_t length = CharLength(text, end, utf8);
        if (end + length > maxBytes) break;
        end += length;
    }
    return end;
}

}  // namespace

std::u16string AnsiToUtf16(const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length - 1));
    return std::u16string(wide.begin(), wide.end());
}

std::string FilterToNulSeparated(const std::string& filter) {
    std::string result = filter;
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(result[i])) && i + 1 < result.size()) {
            ++i;
        } else if (result[i] == '|') {
            result[i] = '\0';
        }
    }
    return result;
}

void CopyShownCellText(std::string_view cell, char* buffer, std::size_t size) {
    const std::size_t room = size - 1;
    std::size_t length = WholeCharsLength(cell, kMaxShownCellChars, room);
    std::string_view ending;
    if (length < cell.size() && room >= kEllipsis.size()) {
        length = WholeCharsLength(cell, kMaxShownCellChars, room - kEllipsis.size());
        ending = kEllipsis;
    }
    std::memcpy(buffer, cell.data(), length);
    std::memcpy(buffer + length, ending.data(), ending.size());
    buffer[length + ending.size()] = '\0';
}
