// The character-set part of CTextScanner on POSIX systems: the LC_CTYPE locale's character set.
#include "cable/TextScanner.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <langinfo.h>

namespace {

bool CurrentCharsetIsByteSearchSafe()
{
    if (MB_CUR_MAX == 1) {
        return true;
    }
    const char* codeset = nl_langinfo(CODESET);
    return std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0;
}

}  // namespace

CTextScanner::CTextScanner() : m_byteSearchSafe(CurrentCharsetIsByteSearchSafe())
{
}

std::size_t CTextScanner::MultiByteCharLength(std::string_view text, std::size_t pos) const
{
    std::mbstate_t state{};
    const std::size_t length = std::mbrlen(text.data() + pos, text.size() - pos, &state);
    // (size_t)-1 is an invalid sequence, (size_t)-2 an incomplete one, 0 a zero byte.
    if (length == 0 || length == static_cast<std::size_t>(-1) ||
        length == static_cast<std::size_t>(-2)) {
        return 1;
    }
    return length;
}
