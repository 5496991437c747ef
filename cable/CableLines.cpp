// The reader's three steps: the file's text to keyword lines, keyword lines to rows, a line to a cell.

#include "cable/CableListFile.h"
#include "cable/CableTable.h"
#include "cable/TextScanner.h"

#include <climits>
#include <cstring>
#include <stdexcept>

namespace {

constexpr std::string_view kKeywords[] = {"CableName", "Velocity", "CableLoss", "Frequency"};
constexpr std::size_t kShortestKeyword = 8;

bool StartsWith(std::string_view text, std::size_t pos, std::string_view word)
{
    return text.size() - pos >= word.size() && std::memcmp(text.data() + pos, word.data(), word.size()) == 0;
}

// Whether a keyword begins at text[pos]: one test of the first byte rules out almost every place.
bool KeywordAt(std::string_view text, std::size_t pos)
{
    switch (text[pos]) {
    case 'C':
        return StartsWith(text, pos, kKeywords[0]) || StartsWith(text, pos, kKeywords[2]);
    case 'V':
        return StartsWith(text, pos, kKeywords[1]);
    case 'F':
        return StartsWith(text, pos, kKeywords[3]);
    default:
        return false;
    }
}

bool ContainsKeyword(std::string_view token, const CTextScanner& scanner)
{
    if (token.size() < kShortestKeyword) {
        return false;
    }
    const std::size_t lastStart = token.size() - kShortestKeyword;
    for (std::size_t pos = 0; pos <= lastStart; pos += scanner.CharLength(token, pos)) {
        if (KeywordAt(token, pos)) {
            return true;
        }
    }
    return false;
}

// An upper bound for the number of keyword lines in text, which holds at least a keyword and a
// line feed for each but the last. Counting line feeds is cheap beside the scan that follows.
std::size_t MostKeywordLines(std::string_view text)
{
    std::size_t lineFeeds = 0;
    const char* pos = text.data();
    const char* const end = pos + text.size();
    while ((pos = static_cast<const char*>(std::memchr(pos, '\n', static_cast<std::size_t>(end - pos)))) != nullptr) {
        ++lineFeeds;
        ++pos;
    }
    const std::size_t bySize = text.size() / (kShortestKeyword + 1) + 1;
    return lineFeeds + 1 < bySize ? lineFeeds + 1 : bySize;
}

std::string_view ExtractCableValueView(std::string_view line, const CTextScanner& scanner)
{
    const std::string_view trimmed = scanner.Trim(line);
    const std::size_t equals = scanner.FindChar(trimmed, '=');
    if (equals == std::string_view::npos) {
        return trimmed;
    }
    std::string_view value = trimmed.substr(equals + 1);
    // The writer puts one blank after "=": it is not part of the cell.
    if (!value.empty() && value.front() == ' ') {
        value.remove_prefix(1);
    }
    return value;
}

}  // namespace

std::vector<std::string_view> SplitCableLines(std::string_view text)
{
    const CTextScanner scanner;
    std::vector<std::string_view> lines;
    lines.reserve(MostKeywordLines(text));
    bool firstToken = true;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = scanner.FindChar(text, '\n', pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        if (end > pos) {
            const std::string_view token = text.substr(pos, end - pos);
            if (!firstToken && ContainsKeyword(token, scanner)) {
                lines.push_back(token);
            }
            firstToken = false;
        }
        pos = end + 1;
    }
    return lines;
}

int FillCableTable(const std::vector<std::string_view>& lines, CCableTable& table)
{
    const std::size_t width = static_cast<std::size_t>(table.GetColumnCount());
    if (lines.size() % width != 0) {
        return kCableFormatError;
    }
    const std::size_t rowCount = lines.size() / width;
    if (rowCount > static_cast<std::size_t>(INT_MAX)) {
        throw std::length_error("cable list: too many rows");
    }
    const CTextScanner scanner;
    CCableTable rows;
    rows.ReserveRows(static_cast<int>(rowCount));
    for (std::size_t first = 0; first < lines.size(); first += width) {
        rows.AppendRow(ExtractCableValueView(lines[first], scanner),
                       ExtractCableValueView(lines[first + 1], scanner),
                       ExtractCableValueView(lines[first + 2], scanner),
                       ExtractCableValueView(lines[first + 3], scanner));
    }
    table.ReplaceWith(std::move(rows));
    return static_cast<int>(rowCount);
}

std::string ExtractCableValue(std::string_view line)
{
    return std::string(ExtractCableValueView(line, CTextScanner()));
}
