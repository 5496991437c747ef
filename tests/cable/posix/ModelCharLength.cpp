// The model's character length on POSIX systems: the C library's, in the LC_CTYPE locale in force.
#include "../ReaderModel.h"

#include <cwchar>

std::size_t ModelCharLength(std::string_view text, std::size_t pos) {
    std::mbstate_t state{};
    const std::size_t length = std::mbrlen(text.data() + pos, text.size() - pos, &state);
    return length == 0 || length > text.size() - pos ? 1 : length;
}
