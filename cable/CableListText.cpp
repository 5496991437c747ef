#include "cable/CableListText.h"

#include "cable/CableKeywords.h"
#include "cable/CableTable.h"
#include "cable/FileError.h"

#include <array>
#include <charconv>
#include <cstring>
#include <memory>

namespace {

constexpr std::string_view kComment = "/*!!!DO NOT MODIFY!!!!*/";
constexpr std::string_view kHeaderStart = "[CableList] Version=1 CableCount=";
constexpr std::string_view kEquals = " = ";
// Enough for the pieces of a text that is kept whole anyway.
constexpr std::size_t kSmallPiece = std::size_t{64} << 10;

// The decimal digits of a row number that counts up from 1.
class CRowNumber {
public:
    std::string_view Next()
    {
        std::size_t pos = m_digits.size();
        while (pos > m_first && m_digits[pos - 1] == '9') {
            m_digits[--pos] = '0';
        }
        if (pos > m_first) {
            ++m_digits[pos - 1];
        } else {
            m_digits[--m_first] = '1';
        }
        return std::string_view(m_digits.data() + m_first, m_digits.size() - m_first);
    }

private:
    std::array<char, 24> m_digits{};
    std::size_t m_first = m_digits.size();
};

// One buffer that is filled with text and handed to the writer whenever the next piece does not fit.
class CTextPieces {
public:
    CTextPieces(std::size_t size, const std::function<void(std::string_view)>& write)
        : m_buffer(std::make_unique_for_overwrite<char[]>(size)), m_size(size), m_write(write)
    {
    }

    // Room for size bytes at the end of the buffer, to be filled at once; nullptr when the whole
    // buffer is too small.
    char* Room(std::size_t size)
    {
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

    void Put(std::string_view text)
    {
        char* const room = Room(text.size());
        if (room != nullptr) {
            std::memcpy(room, text.data(), text.size());
        } else {
            m_write(text);
        }
    }

    void Flush()
    {
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

char* PutAt(char* out, std::string_view text)
{
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

std::size_t RowTextSize(std::string_view number, const std::array<std::string_view, 4>& cells)
{
    std::size_t size = 0;
    for (std::size_t column = 0; column < cells.size(); ++column) {
        size += kCableKeywords[column].size() + number.size() + kEquals.size() + cells[column].size() + 1;
    }
    return size;
}

void PutRow(CTextPieces& pieces, std::string_view number, const std::array<std::string_view, 4>& cells)
{
    char* out = pieces.Room(RowTextSize(number, cells));
    if (out != nullptr) {
        for (std::size_t column = 0; column < cells.size(); ++column) {
            out = PutAt(out, kCableKeywords[column]);
            out = PutAt(out, number);
            out = PutAt(out, kEquals);
            out = PutAt(out, cells[column]);
            *out++ = '\n';
        }
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

bool HoldsLineBreakOrZero(std::string_view cell)
{
    bool found = false;
    for (char c : cell) {
        found |= c == '\n' || c == '\r' || c == '\0';
    }
    return found;
}

}  // namespace

void CheckCableListCells(const CCableTable& table, const std::string& path)
{
    for (int row = 0; row < table.GetItemCount(); ++row) {
        const std::array<std::string_view, 4> cells = table.GetRowTextViews(row);
        for (std::size_t column = 0; column < cells.size(); ++column) {
            if (HoldsLineBreakOrZero(cells[column])) {
                throw CFileError(CFileError::Cause::Generic,
                                 path + ": row " + std::to_string(row + 1) + ", column " +
                                     std::to_string(column + 1) + " (" + std::string(kCableKeywords[column]) +
                                     ") holds a line feed, a carriage return or a zero byte, which the "
                                     "file cannot keep");
            }
        }
    }
}

void WriteCableListText(const CCableTable& table, const std::function<void(std::string_view)>& write,
                        std::size_t pieceSize)
{
    CTextPieces pieces(pieceSize > 0 ? pieceSize : 1, write);
    char count[24];
    const auto countEnd = std::to_chars(count, count + sizeof count, table.GetItemCount()).ptr;
    pieces.Put(kComment);
    pieces.Put("\n");
    pieces.Put(kHeaderStart);
    pieces.Put(std::string_view(count, static_cast<std::size_t>(countEnd - count)));
    pieces.Put("\n");
    CRowNumber number;
    for (int row = 0; row < table.GetItemCount(); ++row) {
        PutRow(pieces, number.Next(), table.GetRowTextViews(row));
    }
    pieces.Flush();
}

std::string BuildCableListText(const CCableTable& table)
{
    std::string text;
    WriteCableListText(table, [&text](std::string_view piece) { text.append(piece); }, kSmallPiece);
    return text;
}
