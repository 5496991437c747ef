// The reader's three steps on a whole text: the file's text to keyword lines, keyword lines to
// rows, a line to a cell.

#include "cable/CableLines.h"

#include "cable/CableListFile.h"
#include "cable/CableTable.h"

#include <climits>
#include <cstring>
#include <stdexcept>

namespace {

// An upper bound for the number of keyword lines in text, which holds at least a keyword and a
// line feed for each but the last. Counting line feeds is cheap beside the scan that follows.
std::size_t MostKeywordLines(std::string_view text) {
    std::size_t lineFeeds = 0;
    const char* pos = text.data();
    const char* const end = pos + text.size();
    while ((pos = static_cast<const char*>(std::memchr(pos, '\n', static_cast<std::size_t>(end - pos)))) != nullptr) {
        ++lineFeeds;
        ++pos;
    }
    const std::size_t bySize = text.size() / (kShortestCableKeyword + 1) + 1;
    return lineFeeds + 1 < bySize ? lineFeeds + 1 : bySize;
}

}  // namespace

std::vector<std::string_view> SplitCableLines(std::string_view text) {
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
            if (!firstToken && ContainsCableKeyword(token, scanner)) {
                lines.push_back(token);
            }
            firstToken = false;
        }
        pos = end + 1;
    }
    return lines;
}

int FillCableTable(const std::vector<std::string_view>& lines, CCableTable& table) {
    const std::size_t width = static_cast<std::size_t>(table.GetColumnCount());
    if (lines.size() % width != 0) {
        return kCableFormatError;
    }
    const std::size_t rowCount = lines.size() / width;
    if (rowCount > static_cast<std::size_t>(INT_MAX)) {
        throw std::length_error("cable list: too many rows");
    }
    if (rowCount == 0) {
        return 0;
    }
    const CTextScanner scanner;
    CCableTable rows;
    rows.ReserveRows(static_cast<int>(rowCount));
    for (std::size_t first = 0; first < lines.size(); first += width) {
        rows.AppendRow(CableValueOf(lines[first], scanner), CableValueOf(lines[first + 1], scanner),
                       CableValueOf(lines[first + 2], scanner), CableValueOf(lines[first + 3], scanner));
    }
    table.ReplaceWith(std::move(rows));
    return static_cast<int>(rowCount);
}

std::string ExtractCableValue(std::string_view line) { return std::string(CableValueOf(line, CTextScanner())); }
