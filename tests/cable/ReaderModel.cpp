#include "ReaderModel.h"

#include "cable/CableColumns.h"
#include "cable/CableListFile.h"

#include <algorithm>

namespace {

bool IsSpaceByte(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool ModelHasKeyword(std::string_view line) {
    for (std::size_t pos = 0; pos < line.size(); pos += ModelCharLength(line, pos)) {
        for (std::string_view keyword : kCableKeywords) {
            if (line.substr(pos).starts_with(keyword)) return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::string_view> ModelNonEmptyLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t pos = 0; pos <= text.size();) {
        if (pos == text.size() || text[pos] == '\n') {
            if (pos > start) lines.push_back(text.substr(start, pos - start));
            start = ++pos;
        } else {
            pos += ModelCharLength(text, pos);
        }
    }
    return lines;
}

std::vector<std::string_view> ModelKeywordLines(std::string_view text) {
    std::vector<std::string_view> lines;
    const std::vector<std::string_view> all = ModelNonEmptyLines(text);
    for (std::size_t i = 1; i < all.size(); ++i) {
        if (ModelHasKeyword(all[i])) lines.push_back(all[i]);
    }
    return lines;
}

std::size_t ModelTrimmedEnd(std::string_view text, std::size_t begin) {
    std::size_t end = begin;
    for (std::size_t pos = begin; pos < text.size();) {
        const std::size_t length = ModelCharLength(text, pos);
        if (length > 1 || !IsSpaceByte(text[pos])) end = pos + length;
        pos += length;
    }
    return end;
}

std::string_view ModelTrim(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size() && IsSpaceByte(text[begin])) ++begin;
    return text.substr(begin, ModelTrimmedEnd(text, begin) - begin);
}

std::string_view ModelValue(std::string_view line) {
    const std::string_view trimmed = ModelTrim(line);
    for (std::size_t pos = 0; pos < trimmed.size(); pos += ModelCharLength(trimmed, pos)) {
        if (trimmed[pos] == '=') {
            std::string_view value = trimmed.substr(pos + 1);
            if (value.starts_with(' ')) value.remove_prefix(1);
            return value;
        }
    }
    return trimmed;
}

ModelCells ModelRows(std::string_view text, int& result) {
    const std::string_view untilZero = text.substr(0, std::min(text.find('\0'), text.size()));
    const std::vector<std::string_view> lines = ModelKeywordLines(untilZero);
    if (lines.size() % kCableColumnCount != 0) {
        result = kCableFormatError;
        return {};
    }
    ModelCells cells(lines.size() / kCableColumnCount);
    for (std::size_t i = 0; i < lines.size(); ++i) cells[i / kCableColumnCount].emplace_back(ModelValue(lines[i]));
    result = static_cast<int>(cells.size());
    return cells;
}
