// The character-set part of CTextScanner on POSIX systems: the LC_CTYPE locale's character set,
// whose character lengths mbrlen tells.
#include "cable/TextScanner.h"

#include <langinfo.h>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

constexpr std::size_t kInvalid = static_cast<std::size_t>(-1);
constexpr std::size_t kIncomplete = static_cast<std::size_t>(-2);

std::size_t LengthOfBytes(const char* bytes, std::size_t size) {
    std::mbstate_t state{};
    return std::mbrlen(bytes, size, &state);
}

// How the locale's character set treats lead as the first byte of a character, found by asking
// mbrlen about lead alone and lead followed by each byte.
void AddLead(CCharLengthTable& table, unsigned char lead) {
    const char alone[1] = {static_cast<char>(lead)};
    if (LengthOfBytes(alone, 1) != kIncomplete) {
        return;  // a character of its own, or an invalid byte: one byte either way
    }
    for (int trail = 0; trail < 256; ++trail) {
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        const std::size_t length = LengthOfBytes(pair, 2);
        if (length == 2) {
            table.AddPair(lead, static_cast<unsigned char>(trail));
        } else if (length != kInvalid) {
            table.SetOther(lead);  // characters of three bytes or more
            return;
        }
    }
}

CCharLengthTable BuildCurrentTable() {
    CCharLengthTable table;
    for (int lead = 0x80; lead < 256; ++lead) {
        AddLead(table, static_cast<unsigned char>(lead));
    }
    return table;
}

}  // namespace

std::shared_ptr<const CCharLengthTable> CurrentCharLengthTable() {
    if (MB_CUR_MAX == 1) {
        return nullptr;
    }
    const char* codeset = nl_langinfo(CODESET);
    if (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0) {
        return nullptr;
    }
    return CCharLengthTable::ForCharset(codeset, BuildCurrentTable);
}

std::size_t CurrentLongestChar() { return MB_CUR_MAX; }

std::size_t CTextScanner::MultiByteCharLength(std::string_view text, std::size_t pos) const {
    const std::size_t length = LengthOfBytes(text.data() + pos, text.size() - pos);
    // A zero byte, an invalid sequence and an incomplete one are one byte each.
    if (length == 0 || length == kInvalid || length == kIncomplete) {
        return 1;
    }
    return length;
}
