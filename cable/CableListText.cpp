#include "cable/CableListText.h"

#include "cable/CableKeywords.h"
#include "cable/CableTable.h"

#include <array>
#include <charconv>
#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view kCommentLine = "/*!!!DO NOT MODIFY!!!!*/\n";
constexpr std::string_view kHeaderStart = "[CableList] Version=1 CableCount=";
constexpr std::string_view kEquals = " = ";

// Writes into a buffer whose size was worked out beforehand.
class CTextCursor {
public:
    explicit CTextCursor(char* out) : m_out(out) {}
    void Put(std::string_view text)
    {
        std::memcpy(m_out, text.data(), text.size());
        m_out += text.size();
    }
    void Put(char c) { *m_out++ = c; }

private:
    char* m_out;
};

// The decimal digits of number, which buffer holds.
std::string_view Decimal(long long number, char (&buffer)[24])
{
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer));
}

std::size_t KeyLinesSize(std::size_t numberLength)
{
    std::size_t size = 0;
    for (std::string_view key : kCableKeywords) {
        size += key.size() + numberLength + kEquals.size() + 1;
    }
    return size;
}

std::size_t TextSize(const CCableTable& table)
{
    char digits[24];
    std::size_t size = kCommentLine.size() + kHeaderStart.size() +
                       Decimal(table.GetItemCount(), digits).size() + 1;
    for (int row = 0; row < table.GetItemCount(); ++row) {
        size += KeyLinesSize(Decimal(row + 1LL, digits).size());
        for (std::string_view cell : table.GetRowTextViews(row)) {
            size += cell.size();
        }
    }
    return size;
}

}  // namespace

std::string BuildCableListText(const CCableTable& table)
{
    std::string text(TextSize(table), '\0');
    CTextCursor cursor(text.data());
    char digits[24];
    cursor.Put(kCommentLine);
    cursor.Put(kHeaderStart);
    cursor.Put(Decimal(table.GetItemCount(), digits));
    cursor.Put('\n');
    for (int row = 0; row < table.GetItemCount(); ++row) {
        const std::string_view number = Decimal(row + 1LL, digits);
        const std::array<std::string_view, 4> cells = table.GetRowTextViews(row);
        for (std::size_t column = 0; column < cells.size(); ++column) {
            cursor.Put(kCableKeywords[column]);
            cursor.Put(number);
            cursor.Put(kEquals);
            cursor.Put(cells[column]);
            cursor.Put('\n');
        }
    }
    return text;
}
