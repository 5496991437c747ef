#include "cable/CableListReader.h"

#include "cable/CableLineSplitter.h"
#include "cable/CableListFile.h"
#include "cable/CableRowGrouper.h"
#include "cable/CableTable.h"

#include <cstring>
#include <limits>
#include <new>

CCableListReader::CCableListReader(std::size_t bufferSize)
    : m_buffer(std::make_unique_for_overwrite<char[]>(bufferSize > 0 ? bufferSize : 1)),
      m_capacity(bufferSize > 0 ? bufferSize : 1) {}

int CCableListReader::ReadRows(const TextSource& source, CCableTable& rows) {
    m_end = 0;
    m_atZeroByte = false;
    CCableLineSplitter splitter(m_scanner);
    CCableRowGrouper grouper(m_scanner, rows);
    const auto take = [&grouper](std::string_view line) { grouper.Take(line); };
    while (ReadMore(source) && !m_atZeroByte) {
        splitter.TakeLines(Text(), false, take);
        // The next read overwrites the buffer that the cells of a row not yet whole point into.
        grouper.KeepCells();
        MovePartLineToFront(splitter);
    }
    splitter.TakeLines(Text(), true, take);
    return grouper.HasPartRow() ? kCableFormatError : rows.GetItemCount();
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

void CCableListReader::MovePartLineToFront(CCableLineSplitter& splitter) {
    const std::size_t lineStart = splitter.GetLineStart();
    const std::size_t partLength = m_end - lineStart;
    std::memmove(m_buffer.get(), m_buffer.get() + lineStart, partLength);
    m_end = partLength;
    splitter.DropTakenLines();
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
