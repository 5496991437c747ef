// The character-set part of CTextScanner on Windows: text is in the ANSI code page, whose
// multi-byte characters are double-byte ones that a lead byte announces.
#include "cable/TextScanner.h"

#include <windows.h>

namespace {

bool AnsiCodePageIsByteSearchSafe() {
    CPINFO info{};
    return GetACP() == CP_UTF8 || (GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1);
}

}  // namespace

CTextScanner::CTextScanner() : m_byteSearchSafe(AnsiCodePageIsByteSearchSafe()) {}

std::size_t CTextScanner::MultiByteCharLength(std::string_view text, std::size_t pos) const {
    // A lead byte at the very end, or before a byte that cannot follow it (a line feed, say), is
    // an invalid character: one byte, as on other systems.
    if (!IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(text[pos])) || pos + 1 >= text.size()) return 1;
    wchar_t wide = 0;
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data() + pos, 2, &wide, 1) == 1 ? 2 : 1;
}
