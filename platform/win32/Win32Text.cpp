#include "platform/win32/Win32Text.h"

#include <windows.h>

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
