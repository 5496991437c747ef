// The model's character length on Windows: a lead byte of the ANSI code page and the byte after it
// are one character when the system converts them as one.
#include "../ReaderModel.h"

#include <windows.h>

std::size_t ModelCharLength(std::string_view text, std::size_t pos) {
    if (pos + 1 >= text.size() || !IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(text[pos]))) return 1;
    wchar_t wide = 0;
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data() + pos, 2, &wide, 1) == 1 ? 2 : 1;
}
