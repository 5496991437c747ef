#include "cable/CableListReader.h"

#include "cable/CableLines.h"
#include "cable/CableListFile.h"
#include "cable/CableTable.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

CCableListReader::CCableListReader(std::size_t bufferSize)
    : m_lineFeedsByByte(m_scanner.AlwaysBeginsChar('\n')),
      m_buffer(std::make_unique_for_overwrite<char[]>(bufferSize > 0 ? bufferSize : 1)),
      m_capacity(bufferSize > 0 ? bufferSize : 1) {}

int CCableListReader::ReadRows(const TextSource& source, CCableTable& rows) {
    m_end = m_lineStart = m_searchFrom = 0;
    m_atZeroByte = m_firstLineSeen = false;
    m_valueCount = m_keptCount = 0;
    m_rows = &rows;
    while (ReadMore(source)) {
        if (m_atZeroByte) {
            break;
        }
        TakeWholeLines(false);
        KeepValues();
        MovePartLineToFront();
    }
    TakeWholeLines(true);
    if (m_end > m_lineStart) {
        TakeLine(std::string_view(m_buffer.get() + m_lineStart, m_end - m_lineStart));
    }
    m_rows = nullptr;
    return m_valueCount == 0 ? rows.GetItemCount() : kCableFormatError;
}

bool CCableListReader::ReadMore(const TextSource& source) {
    if (m_end == m_capacity) {
        Grow();
    }
    char* const free = m_buffer.get() + m_end;
    const std::size_t count = source(free, m_capacity - m_end);
    if (count == 0) {
        return false;
    }
    const void* zero = std::memchr(free, '\0', count);
    m_atZeroByte = zero != nullptr;
    m_end += m_atZeroByte ? static_cast<std::size_t>(static_cast<const char*>(zero) - free) : count;
    return true;
}

void CCableListReader::TakeWholeLines(bool atTextEnd) {
    if (m_lineFeedsByByte) {
        TakeLinesBetweenLineFeedBytes();
        return;
    }
    for (;;) {
        const std::size_t lineFeed = FindLineFeedChar(atTextEnd);
        if (lineFeed == std::string_view::npos) {
            return;
        }
        if (lineFeed > m_lineStart) {
            TakeLine(std::string_view(m_buffer.get() + m_lineStart, lineFeed - m_lineStart));
        }
        m_lineStart = m_searchFrom = lineFeed + 1;
    }
}

// Every line feed byte begins a character: lines end wherever one stands.
void CCableListReader::TakeLinesBetweenLineFeedBytes() {
    const char* const buffer = m_buffer.get();
    const char* const end = buffer + m_end;
    const char* lineStart = buffer + m_lineStart;
    const char* from = buffer + m_searchFrom;
    const char* lineFeed;
    while ((lineFeed = static_cast<const char*>(std::memchr(from, '\n', static_cast<std::size_t>(end - from)))) !=
           nullptr) {
        if (lineFeed > lineStart) {
            TakeLine(std::string_view(lineStart, static_cast<std::size_t>(lineFeed - lineStart)));
        }
        lineStart = from = lineFeed + 1;
    }
    m_lineStart = static_cast<std::size_t>(lineStart - buffer);
    m_searchFrom = m_end;
}

// The next line feed at or after m_searchFrom that begins a character, or npos with m_searchFrom
// moved as far as the bytes read allow. A character near the end of the bytes read may go on in
// the next read: its length is left undecided until then.
std::size_t CCableListReader::FindLineFeedChar(bool atTextEnd) {
    const std::string_view text(m_buffer.get(), m_end);
    const std::size_t decided = atTextEnd ? m_end : m_end - std::min(m_end, m_scanner.GetLongestChar() - 1);
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

void CCableListReader::TakeLine(std::string_view line) {
    // The first line is set aside whatever it holds.
    if (!m_firstLineSeen) {
        m_firstLineSeen = true;
        return;
    }
    if (!ContainsCableKeyword(line, m_scanner)) {
        return;
    }
    m_values[m_valueCount++] = CableValueOf(line, m_scanner);
    if (m_valueCount == m_values.size()) {
        m_rows->AppendRow(m_values[0], m_values[1], m_values[2], m_values[3]);
        m_valueCount = m_keptCount = 0;
    }
}

// Copies the values of the row being read out of the buffer, which the next read overwrites.
void CCableListReader::KeepValues() {
    for (; m_keptCount < m_valueCount; ++m_keptCount) {
        m_kept[m_keptCount].assign(m_values[m_keptCount]);
        m_values[m_keptCount] = m_kept[m_keptCount];
    }
}

void CCableListReader::MovePartLineToFront() {
    const std::size_t partLength = m_end - m_lineStart;
    std::memmove(m_buffer.get(), m_buffer.get() + m_lineStart, partLength);
    m_searchFrom -= m_lineStart;
    m_end = partLength;
    m_lineStart = 0;
}

void CCableListReader::Grow() {
    if (m_capacity > std::numeric_limits<std::size_t>::max() / 2) {
        throw std::bad_alloc();
    }
    auto larger = std::make_unique_for_overwrite<char[]>(m_capacity * 2);
    std::memcpy(larger.get(), m_buffer.get(), m_end);
    m_buffer = std::move(larger);
    m_capacity *= 2;
}
