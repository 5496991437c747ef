#pragma once
// The reader of a cable list file, streaming: the text passes through one buffer of a fixed size,
// which is filled again and again, and only the values of keyword lines are copied out of it. A
// line that does not fit into the buffer makes it grow to hold that line. The rows it makes are
// exactly those of FillCableTable(SplitCableLines(text)), wherever the buffer's ends fall.

#include "cable/TextScanner.h"

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

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
    void TakeWholeLines(bool atTextEnd);
    void TakeLinesBetweenLineFeedBytes();
    std::size_t FindLineFeedChar(bool atTextEnd);
    void TakeLine(std::string_view line);
    void KeepValues();
    void MovePartLineToFront();
    void Grow();

    CTextScanner m_scanner;
    bool m_lineFeedsByByte;  // every line feed byte begins a character
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity;
    std::size_t m_end = 0;         // the bytes read and not yet taken end here
    std::size_t m_lineStart = 0;   // the line not yet taken begins here
    std::size_t m_searchFrom = 0;  // the first character of that line not yet searched for a line feed
    bool m_atZeroByte = false;     // the last read met a zero byte, where the text ends
    bool m_firstLineSeen = false;
    CCableTable* m_rows = nullptr;
    std::array<std::string_view, 4> m_values;  // of the row being read
    std::size_t m_valueCount = 0;
    std::size_t m_keptCount = 0;  // values copied out of the buffer into m_kept
    std::array<std::string, 3> m_kept;
};
