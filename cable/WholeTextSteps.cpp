// The reader's three steps on a whole text: the file's text to keyword lines, keyword lines to
// rows, a line to a cell. The first two split and group as the streaming reader does, through the
// same classes.

#include "cable/CableLineSplitter.h"
#include "cable/CableLines.h"
#include "cable/CableListFile.h"
#include "cable/CableRowGrouper.h"
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
    CCableLineSplitter(scanner).TakeLines(text, true, [&lines](std::string_view line) { lines.push_back(line); });
    return lines;
}

int FillCableTable(const std::vector<std::string_view>& lines, CCableTable& table) {
    if (lines.size() % kCableColumnCount != 0) {
        return kCableFormatError;
    }
    const std::size_t rowCount = lines.size() / kCableColumnCount;
    if (rowCount > static_cast<std::size_t>(INT_MAX)) {
        throw std::length_error("cable list: too many rows");
    }
    if (rowCount == 0) {
        return 0;
    }
    const CTextScanner scanner;
    CCableTable rows;
    rows.ReserveRows(static_cast<int>(rowCount));
    CCableRowGrouper grouper(scanner, rows);
    for (std::string_view line : lines) {
        grouper.Take(line);
    }
    table.ReplaceWith(std::move(rows));
    return static_cast<int>(rowCount);
}

std::string ExtractCableValue(std::string_view line) { return std::string(CableValueOf(line, CTextScanner())); }
