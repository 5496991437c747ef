#include "cable/TextScanner.h"

namespace {

bool AlwaysBeginsChars(const CTextScanner& scanner, std::string_view bytes) {
    for (char c : bytes) {
        if (!scanner.AlwaysBeginsChar(c)) {
            return false;
        }
    }
    return true;
}

}  // namespace

CTextScanner::CTextScanner() : m_table(CurrentCharLengthTable()), m_longestChar(CurrentLongestChar()) {
    m_trimsFromTheEnd = AlwaysBeginsChars(*this, " \t\n\v\f\r");
}

std::size_t CTextScanner::FindCharByChars(std::string_view text, char c, std::size_t from) const {
    for (std::size_t pos = from; pos < text.size(); pos += CharLength(text, pos)) {
        if (text[pos] == c) {
            return pos;
        }
    }
    return std::string_view::npos;
}

std::string_view CTextScanner::TrimEndByChars(std::string_view text) const {
    // Only a scan from the front knows whether a byte ends a character.
    std::size_t end = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = CharLength(text, pos);
        pos += length;
        if (length > 1 || !IsCableSpace(text[pos - 1])) {
            end = pos;
        }
    }
    return text.substr(0, end);
}
