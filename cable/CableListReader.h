#pragma once
// The reader of a cable list file, streaming: the text passes through one buffer of a fixed size,
// which is filled again and again, and only the values of keyword lines are copied out of it. A
// line that does not fit into the buffer makes it grow to hold that line. It splits and groups
// through the classes that FillCableTable(SplitCableLines(text)) uses, so it makes the same rows,
// wherever the buffer's ends fall.

#include "cable/TextScanner.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>

class CCableLineSplitter;
class CCableTable;

class CCableListReader {
public:
    // Reads up to size bytes of the text into buffer; returns how many, 0 at the end of the text.
    using TextSource = std::function<std::size_t(char* buffer, std::size_t size)>;

    static constexpr std::size_t kBufferSize = std::size_t{1} << 20;

    // A reader for the LC_CTYPE locale in force, whose buffer holds bufferSize bytes (at least 1).
    explicit CCableListReader(std::size_t bufferSize = kBufferSize);

    // Reads the text that source gives, up to its end or its first zero byte, and appends its rows
    // to rows, an empty table. Returns the number of rows, or kCableFormatError when the keyword
    // lines do not form whole rows. Whatever source throws passes through.
    int ReadRows(const TextSource& source, CCableTable& rows);

private:
    bool ReadMore(const TextSource& source);
    std::string_view Text() const { return std::string_view(m_buffer.get(), m_end); }
    void MovePartLineToFront(CCableLineSplitter& splitter);
    void Grow();

    CTextScanner m_scanner;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity;
    std::size_t m_end = 0;      // the bytes read and not yet taken end here
    bool m_atZeroByte = false;  // the last read met a zero byte, where the text ends
};
