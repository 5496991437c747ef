#pragma once
// Scans text in the character set of the LC_CTYPE locale in force when the scanner is made. A
// multi-byte character is stepped over whole (an invalid or incomplete sequence counts as one
// byte), so that a byte inside a character is never taken for a line feed, a "=" or the start of
// a word. Single-byte and UTF-8 character sets take a fast path: there an ASCII byte is always a
// character of its own, and plain byte search gives the same answers.

#include <cstddef>
#include <string_view>

class CTextScanner {
public:
    // A scanner for the current LC_CTYPE locale.
    CTextScanner();

    // The length in bytes (at least 1) of the character that begins at text[pos], pos < size.
    std::size_t CharLength(std::string_view text, std::size_t pos) const
    {
        // In every character set a locale may use, a character that begins with an ASCII byte
        // is that one byte.
        if (m_byteSearchSafe || static_cast<unsigned char>(text[pos]) < 0x80) {
            return 1;
        }
        return MultiByteCharLength(text, pos);
    }

    // The position of the first character c (an ASCII byte) at or after from, which begins a
    // character, or npos.
    std::size_t FindChar(std::string_view text, char c, std::size_t from = 0) const;

    // text without the white space (space, \t, \n, \v, \f, \r) at both of its ends.
    std::string_view Trim(std::string_view text) const;

private:
    std::size_t MultiByteCharLength(std::string_view text, std::size_t pos) const;

    bool m_byteSearchSafe;  // byte search gives the same answers as a scan by characters
};

// Whether c is one of the six white-space bytes; a byte of 0x80 or above never is.
inline bool IsCableSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}
