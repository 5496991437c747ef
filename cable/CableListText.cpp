#include "cable/CableListText.h"

#include "cable/CableColumns.h"
#include "cable/CableTable.h"
#include "cable/UnwritableCellError.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

namespace {

constexpr std::string_view kComment = "/*!!!DO NOT MODIFY!!!!*/";
constexpr std::string_view kHeaderStart = "[CableList] Version=1 CableCount=";
constexpr std::string_view kEquals = " = ";
// Enough for the pieces of a text that is kept whole anyway.
constexpr std::size_t kSmallPiece = std::size_t{64} << 10;

// Bytes that may be written past the room asked for: short pieces go out in fixed-size copies.
constexpr std::size_t kSlack = 16;

// The decimal digits of a row number that counts up from 1, with kSlack readable bytes after
// their start.
class CRowNumber {
public:
    std::string_view Next() {
        std::size_t pos = kEnd;
        while (pos > m_first && m_digits[pos - 1] == '9') {
            m_digits[--pos] = '0';
        }
        if (pos > m_first) {
            ++m_digits[pos - 1];
        } else {
            m_digits[--m_first] = '1';
        }
        return std::string_view(m_digits.data() + m_first, kEnd - m_first);
    }

private:
    static constexpr std::size_t kEnd = 24;
    std::array<char, kEnd + kSlack> m_digits{};
    std::size_t m_first = kEnd;
};

// One buffer that is filled with text and handed to the writer whenever the next piece does not fit.
class CTextPieces {
public:
    CTextPieces(std::size_t size, const std::function<void(std::string_view)>& write)
        : m_buffer(std::make_unique_for_overwrite<char[]>(size + kSlack)), m_size(size), m_write(write) {}

    // Room for size bytes at the end of the buffer, to be filled at once (up to kSlack bytes more
    // may be written); nullptr when the whole buffer is too small.
    char* Room(std::size_t size) {
        if (m_size - m_used < size) {
            Flush();
            if (m_size < size) {
                return nullptr;
            }
        }
        char* const room = m_buffer.get() + m_used;
        m_used += size;
        return room;
    }

    void Put(std::string_view text) {
        char* const room = Room(text.size());
        if (room != nullptr) {
            std::memcpy(room, text.data(), text.size());
        } else {
            m_write(text);
        }
    }

    void Flush() {
        if (m_used > 0) {
            m_write(std::string_view(m_buffer.get(), m_used));
            m_used = 0;
        }
    }

private:
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_size;
    std::size_t m_used = 0;
    const std::function<void(std::string_view)>& m_write;
};

std::size_t RowTextSize(std::string_view number, const CableCells& cells) {
    std::size_t size = 0;
    for (std::size_t column = 0; column < cells.size(); ++column) {
        size += kCableKeywords[column].size() + number.size() + kEquals.size() + cells[column].size() + 1;
    }
    return size;
}

// Writes the line of one column at out, whose room goes kSlack bytes beyond the line; returns its
// end. The keyword and " = " are of known sizes, and the number (at most kSlack digits, with
// kSlack readable bytes) goes in one fixed-size copy.
template <std::size_t column>
char* PutLine(char* out, std::string_view number, std::string_view cell) {
    constexpr std::string_view keyword = kCableKeywords[column];
    std::memcpy(out, keyword.data(), keyword.size());
    out += keyword.size();
    std::memcpy(out, number.data(), kSlack);
    out += number.size();
    std::memcpy(out, kEquals.data(), kEquals.size());
    out += kEquals.size();
    std::memcpy(out, cell.data(), cell.size());
    out += cell.size();
    *out++ = '\n';
    return out;
}

template <std::size_t... columns>
void PutLines(char* out, std::string_view number, const CableCells& cells, std::index_sequence<columns...>) {
    ((out = PutLine<columns>(out, number, cells[columns])), ...);
}

void PutRow(CTextPieces& pieces, std::string_view number, const CableCells& cells) {
    char* out = pieces.Room(RowTextSize(number, cells));
    if (out != nullptr) {
        PutLines(out, number, cells, std::make_index_sequence<kCableKeywords.size()>());
        return;
    }
    for (std::size_t column = 0; column < cells.size(); ++column) {
        pieces.Put(kCableKeywords[column]);
        pieces.Put(number);
        pieces.Put(kEquals);
        pieces.Put(cells[column]);
        pieces.Put("\n");
    }
}

// A carriage return is written as it is: the reader gives it back, except at the very end of a
// value, which it trims as it trims a blank.
bool IsLineFeedOrZero(char c) { return c == '\n' || c == '\0'; }

// Whether text holds a line feed or a zero byte: eight bytes at a time, with the test for a zero
// byte in a word applied to the word and to it less a line feed in each byte.
bool HoldsLineFeedOrZero(std::string_view text) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighs = 0x8080808080808080u;
    const auto anyZeroByte = [](std::uint64_t word) { return (word - kOnes) & ~word & kHighs; };
    std::size_t pos = 0;
    for (; pos + 8 <= text.size(); pos += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + pos, sizeof word);
        if ((anyZeroByte(word) | anyZeroByte(word ^ (kOnes * '\n'))) != 0) {
            return true;
        }
    }
    for (; pos < text.size(); ++pos) {
        if (IsLineFeedOrZero(text[pos])) {
            return true;
        }
    }
    return false;
}

// The cells as one text when they lie one after another, as the table keeps them.
bool AreAdjacent(const CableCells& cells) {
    for (std::size_t column = 1; column < cells.size(); ++column) {
        if (cells[column - 1].data() + cells[column - 1].size() != cells[column].data()) {
            return false;
        }
    }
    return true;
}

std::string_view AsOneText(const CableCells& adjacentCells) {
    const char* const end = adjacentCells.back().data() + adjacentCells.back().size();
    return std::string_view(adjacentCells.front().data(), static_cast<std::size_t>(end - adjacentCells.front().data()));
}

}  // namespace

void CheckCableListCells(const CCableTable& table, const std::string& path) {
    const int rows = table.GetItemCount();
    for (int row = 0; row < rows; ++row) {
        const CableCells cells = table.GetRowTextViews(row);
        if (AreAdjacent(cells) && !HoldsLineFeedOrZero(AsOneText(cells))) {
            continue;
        }
        for (std::size_t column = 0; column < cells.size(); ++column) {
            if (HoldsLineFeedOrZero(cells[column])) {
                throw CUnwritableCellError(path, row, static_cast<int>(column));
            }
        }
    }
}

void WriteCableListText(const CCableTable& table, const std::function<void(std::string_view)>& write,
                        std::size_t pieceSize) {
    CTextPieces pieces(pieceSize > 0 ? pieceSize : 1, write);
    char count[24];
    const auto countEnd = std::to_chars(count, count + sizeof count, table.GetItemCount()).ptr;
    pieces.Put(kComment);
    pieces.Put("\n");
    pieces.Put(kHeaderStart);
    pieces.Put(std::string_view(count, static_cast<std::size_t>(countEnd - count)));
    pieces.Put("\n");
    CRowNumber number;
    const int rows = table.GetItemCount();
    for (int row = 0; row < rows; ++row) {
        PutRow(pieces, number.Next(), table.GetRowTextViews(row));
    }
    pieces.Flush();
}

std::string BuildCableListText(const CCableTable& table) {
    std::string text;
    WriteCableListText(
        table, [&text](std::string_view piece) { text.append(piece); }, kSmallPiece);
    return text;
}
