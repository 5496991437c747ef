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
    // A lead byte at the very end is an incomplete character: one byte.
    return IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}
