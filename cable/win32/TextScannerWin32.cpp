// The character-set part of CTextScanner on Windows: text is in the ANSI code page, whose
// multi-byte characters are double-byte ones that a lead byte announces.
#include "cable/TextScanner.h"

#include <windows.h>

#include <string>

namespace {

bool AnsiCodePageIsByteSearchSafe() {
    CPINFO info{};
    return GetACP() == CP_UTF8 || (GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1);
}

// Whether the two bytes form one character of the ANSI code page.
bool IsDoubleByteChar(const char* bytes) {
    wchar_t wide = 0;
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, 2, &wide, 1) == 1;
}

CCharLengthTable BuildAnsiCodePageTable() {
    CCharLengthTable table;
    for (int lead = 0x80; lead < 256; ++lead) {
        if (!IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(lead))) continue;
        for (int trail = 0; trail < 256; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            if (IsDoubleByteChar(pair))
                table.AddPair(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
        }
    }
    return table;
}

}  // namespace

std::shared_ptr<const CCharLengthTable> CurrentCharLengthTable() {
    if (AnsiCodePageIsByteSearchSafe()) return nullptr;
    return CCharLengthTable::ForCharset(std::to_string(GetACP()), BuildAnsiCodePageTable);
}

std::size_t CurrentLongestChar() {
    CPINFO info{};
    return GetCPInfo(CP_ACP, &info) ? info.MaxCharSize : 2;
}

std::size_t CTextScanner::MultiByteCharLength(std::string_view text, std::size_t pos) const {
    // The table holds every lead of a double-byte code page, so no byte is left to the system.
    return m_table->PairLength(text, pos);
}
