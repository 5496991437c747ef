#include "cable/CableLineSplitter.h"

#include <algorithm>

CCableLineSplitter::CCableLineSplitter(const CTextScanner& scanner)
    : m_scanner(scanner), m_lineFeedsByByte(scanner.AlwaysBeginsChar('\n')) {}

// The next line feed at or after m_searchFrom that begins a character, or npos with m_searchFrom
// moved as far as the text allows. A character near the end of a text that goes on may go on in
// the next piece: its length is left undecided until then.
std::size_t CCableLineSplitter::FindLineFeedChar(std::string_view text, bool atTextEnd) {
    const std::size_t decided =
        atTextEnd ? text.size() : text.size() - std::min(text.size(), m_scanner.GetLongestChar() - 1);
    std::size_t pos = m_searchFrom;
    while (pos < decided) {
        if (text[pos] == '\n') {
            m_searchFrom = pos;
            return pos;
        }
        pos += m_scanner.CharLength(text, pos);
    }
    m_searchFrom = pos;
    return std::string_view::npos;
}
