#pragma once
// Splits the text of a cable list file into lines at the line feeds that begin a character and
// picks out its keyword lines: the lines, after the first line that is not empty, that contain a
// keyword (CableLines.h). The text may come whole or in pieces, one after another; a line that a
// piece cuts short is left for the next piece. Both the whole-text functions and the streaming
// reader split through it.

#include "cable/CableLines.h"
#include "cable/TextScanner.h"

#include <cstddef>
#include <cstring>
#include <string_view>

class CCableLineSplitter {
public:
    // A splitter for text in the character set of scanner, which outlives it.
    explicit CCableLineSplitter(const CTextScanner& scanner);

    // Gives take(line) each keyword line of text, in order, from the line not yet taken on: the
    // lines that a line feed in text ends and, at the end of the whole text (atTextEnd), the last
    // one. text is the text given before, from GetLineStart() on when DropTakenLines was called
    // since, with more text after it.
    template <class Take>
    void TakeLines(std::string_view text, bool atTextEnd, Take&& take) {
        if (m_lineFeedsByByte) {
            TakeLinesBetweenLineFeedBytes(text, take);
        } else {
            TakeLinesBetweenLineFeedChars(text, atTextEnd, take);
        }
        if (atTextEnd && text.size() > m_lineStart) {
            TakeLine(text.substr(m_lineStart), take);
            m_lineStart = m_searchFrom = text.size();
        }
    }

    // Where the line not yet taken begins in the text last given.
    std::size_t GetLineStart() const { return m_lineStart; }

    // Forgets the text before GetLineStart(): the next text given begins with the line not yet taken.
    void DropTakenLines() {
        m_searchFrom -= m_lineStart;
        m_lineStart = 0;
    }

private:
    template <class Take>
    void TakeLine(std::string_view line, Take& take) {
        // The first line is set aside whatever it holds.
        if (!m_firstLineSeen) {
            m_firstLineSeen = true;
            return;
        }
        if (ContainsCableKeyword(line, m_scanner)) {
            take(line);
        }
    }

    // Every line feed byte begins a character: lines end wherever one stands.
    template <class Take>
    void TakeLinesBetweenLineFeedBytes(std::string_view text, Take& take) {
        const char* const begin = text.data();
        const char* const end = begin + text.size();
        const char* lineStart = begin + m_lineStart;
        const char* from = begin + m_searchFrom;
        const char* lineFeed;
        while (from < end && (lineFeed = static_cast<const char*>(
                                  std::memchr(from, '\n', static_cast<std::size_t>(end - from)))) != nullptr) {
            if (lineFeed > lineStart) {
                TakeLine(std::string_view(lineStart, static_cast<std::size_t>(lineFeed - lineStart)), take);
            }
            lineStart = from = lineFeed + 1;
        }
        m_lineStart = static_cast<std::size_t>(lineStart - begin);
        m_searchFrom = text.size();
    }

    template <class Take>
    void TakeLinesBetweenLineFeedChars(std::string_view text, bool atTextEnd, Take& take) {
        for (;;) {
            const std::size_t lineFeed = FindLineFeedChar(text, atTextEnd);
            if (lineFeed == std::string_view::npos) {
                return;
            }
            if (lineFeed > m_lineStart) {
                TakeLine(text.substr(m_lineStart, lineFeed - m_lineStart), take);
            }
            m_lineStart = m_searchFrom = lineFeed + 1;
        }
    }

    std::size_t FindLineFeedChar(std::string_view text, bool atTextEnd);

    const CTextScanner& m_scanner;
    bool m_lineFeedsByByte;        // every line feed byte begins a character
    bool m_firstLineSeen = false;  // the first line that is not empty has been set aside
    std::size_t m_lineStart = 0;   // the line not yet taken begins here
    std::size_t m_searchFrom = 0;  // the first character of that line not yet searched for a line feed
};
