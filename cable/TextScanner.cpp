#include "cable/TextScanner.h"

std::size_t CTextScanner::FindChar(std::string_view text, char c, std::size_t from) const
{
    if (m_byteSearchSafe) {
        return text.find(c, from);
    }
    for (std::size_t pos = from; pos < text.size(); pos += CharLength(text, pos)) {
        if (text[pos] == c) {
            return pos;
        }
    }
    return std::string_view::npos;
}

std::string_view CTextScanner::Trim(std::string_view text) const
{
    std::size_t begin = 0;
    while (begin < text.size() && IsCableSpace(text[begin])) {
        ++begin;
    }
    std::size_t end = text.size();
    if (m_byteSearchSafe) {
        while (end > begin && IsCableSpace(text[end - 1])) {
            --end;
        }
    } else {
        // Only a scan from the front knows whether a byte ends a character.
        end = begin;
        for (std::size_t pos = begin; pos < text.size();) {
            const std::size_t length = CharLength(text, pos);
            pos += length;
            if (length > 1 || !IsCableSpace(text[pos - 1])) {
                end = pos;
            }
        }
    }
    return text.substr(begin, end - begin);
}
