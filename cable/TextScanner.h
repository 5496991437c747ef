#pragma once
// Scans text in the character set of the LC_CTYPE locale in force when the scanner is made. A
// multi-byte character is stepped over whole (an invalid or incomplete sequence counts as one
// byte), so that a byte inside a character is never taken for a line feed, a "=" or the start of
// a word. Single-byte and UTF-8 character sets take a fast path: there an ASCII byte is always a
// character of its own, and plain byte search gives the same answers. Other multi-byte sets look
// lengths up in a table made once for the set, and still search by byte for any byte that can
// only begin a character (in double-byte sets: line feeds, white space, "=").

#include "cable/CharLengthTable.h"

#include <cstddef>
#include <memory>
#include <string_view>

// Whether c is one of the six white-space bytes; a byte of 0x80 or above never is.
inline bool IsCableSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

class CTextScanner {
public:
    // A scanner for the current LC_CTYPE locale.
    CTextScanner();

    // The length in bytes (at least 1) of the character that begins at text[pos], pos < size.
    std::size_t CharLength(std::string_view text, std::size_t pos) const {
        // In every character set a locale may use, a character that begins with an ASCII byte
        // is that one byte.
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (m_table == nullptr || byte < 0x80) {
            return 1;
        }
        if (m_table->GetLead(byte) != CCharLengthTable::ELead::Other) {
            return m_table->PairLength(text, pos);
        }
        return MultiByteCharLength(text, pos);
    }

    // The most bytes that one character of the character set takes.
    std::size_t GetLongestChar() const { return m_longestChar; }

    // Whether byte c (ASCII) begins a character wherever it stands, so that a plain byte search
    // finds exactly the characters c.
    bool AlwaysBeginsChar(char c) const { return m_table == nullptr || m_table->AlwaysBeginsChar(c); }

    // The position of the first character c (an ASCII byte) at or after from, which begins a
    // character, or npos.
    std::size_t FindChar(std::string_view text, char c, std::size_t from = 0) const {
        return AlwaysBeginsChar(c) ? text.find(c, from) : FindCharByChars(text, c, from);
    }

    // text without the white space (space, \t, \n, \v, \f, \r) at both of its ends.
    std::string_view Trim(std::string_view text) const {
        std::size_t begin = 0;
        while (begin < text.size() && IsCableSpace(text[begin])) {
            ++begin;
        }
        return TrimEnd(text.substr(begin));
    }

    // text, which begins a character, without the white space at its end.
    std::string_view TrimEnd(std::string_view text) const {
        if (!m_trimsFromTheEnd) {
            return TrimEndByChars(text);
        }
        std::size_t end = text.size();
        while (end > 0 && IsCableSpace(text[end - 1])) {
            --end;
        }
        return text.substr(0, end);
    }

private:
    std::size_t MultiByteCharLength(std::string_view text, std::size_t pos) const;
    std::size_t FindCharByChars(std::string_view text, char c, std::size_t from) const;
    std::string_view TrimEndByChars(std::string_view text) const;

    // nullptr when byte search gives the same answers as a scan by characters.
    std::shared_ptr<const CCharLengthTable> m_table;
    std::size_t m_longestChar;
    bool m_trimsFromTheEnd;  // no white-space byte is ever part of a longer character
};

// The table of the LC_CTYPE locale's character set, or nullptr when the set is a single-byte one
// or UTF-8, where byte search is safe. Made once for each character set.
std::shared_ptr<const CCharLengthTable> CurrentCharLengthTable();

// The most bytes that one character of the LC_CTYPE locale's character set takes.
std::size_t CurrentLongestChar();
