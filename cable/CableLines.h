#pragma once
// The reader's rules for one line of a cable list file, shared by the whole-text functions of
// CableListFile.h and the streaming reader. Inline: they run for every line of a file.

#include "cable/CableColumns.h"
#include "cable/TextScanner.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

// The first eight bytes of text (at least eight long) as one number, as memcpy reads them.
constexpr std::uint64_t CableWordOf(std::string_view text) {
    std::uint64_t word = 0;
    for (unsigned i = 0; i < 8; ++i) {
        const unsigned shift = std::endian::native == std::endian::little ? 8 * i : 8 * (7 - i);
        word |= static_cast<std::uint64_t>(static_cast<unsigned char>(text[i])) << shift;
    }
    return word;
}

inline constexpr std::array<std::uint64_t, kCableKeywords.size()> kCableKeywordWords = [] {
    std::array<std::uint64_t, kCableKeywords.size()> words{};
    for (std::size_t i = 0; i < words.size(); ++i) {
        words[i] = CableWordOf(kCableKeywords[i]);
    }
    return words;
}();

// Whether the keyword numbered index begins at text[pos], whose first eight bytes are word.
template <std::size_t index>
bool CableKeywordIsAt(std::string_view text, std::size_t pos, std::uint64_t word) {
    constexpr std::string_view keyword = kCableKeywords[index];
    if (word != kCableKeywordWords[index] || text.size() - pos < keyword.size()) {
        return false;
    }
    for (std::size_t i = 8; i < keyword.size(); ++i) {
        if (text[pos + i] != keyword[i]) {
            return false;
        }
    }
    return true;
}

template <std::size_t... indices>
bool AnyCableKeywordIsAt(std::string_view text, std::size_t pos, std::uint64_t word, std::index_sequence<indices...>) {
    return (CableKeywordIsAt<indices>(text, pos, word) || ...);
}

// Whether one of the keywords begins at line[pos]: eight bytes compared at once rule out
// almost every place.
inline bool CableKeywordAt(std::string_view line, std::size_t pos) {
    static_assert(kShortestCableKeyword >= 8);
    if (line.size() - pos < 8) {
        return false;
    }
    std::uint64_t word;
    std::memcpy(&word, line.data() + pos, sizeof word);
    return AnyCableKeywordIsAt(line, pos, word, std::make_index_sequence<kCableKeywords.size()>());
}

// Whether line contains one of the keywords, beginning at a character.
inline bool ContainsCableKeyword(std::string_view line, const CTextScanner& scanner) {
    if (line.size() < kShortestCableKeyword) {
        return false;
    }
    const std::size_t lastStart = line.size() - kShortestCableKeyword;
    for (std::size_t pos = 0; pos <= lastStart; pos += scanner.CharLength(line, pos)) {
        if (CableKeywordAt(line, pos)) {
            return true;
        }
    }
    return false;
}

// The value of a keyword line, as a view into it: the trimmed line after its first "=" less one
// blank directly after it, or the whole trimmed line when it has no "=".
inline std::string_view CableValueOf(std::string_view line, const CTextScanner& scanner) {
    // White space is never "=": the first "=" of the line is the first of the trimmed line.
    const std::size_t equals = scanner.FindChar(line, '=');
    if (equals == std::string_view::npos) {
        return scanner.Trim(line);
    }
    std::string_view value = scanner.TrimEnd(line.substr(equals + 1));
    // The writer puts one blank after "=": it is not part of the cell.
    if (!value.empty() && value.front() == ' ') {
        value.remove_prefix(1);
    }
    return value;
}
