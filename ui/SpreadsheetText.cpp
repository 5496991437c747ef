#include "ui/SpreadsheetText.h"

#include "cable/TextScanner.h"
#include "platform/NumberParse.h"
#include "res/Resources.h"

#include <optional>

namespace {

constexpr char kQuote = '"';
constexpr char kTab = '\t';

bool NeedsQuotes(std::string_view cell) { return cell.find_first_of("\t\"\r\n") != std::string_view::npos; }

void AppendQuoted(std::string& out, std::string_view cell, const CTextScanner& scanner) {
    out.push_back(kQuote);
    for (std::size_t pos = 0; pos < cell.size();) {
        const std::size_t length = scanner.CharLength(cell, pos);
        if (length == 1 && cell[pos] == kQuote) out.push_back(kQuote);
        out.append(cell.substr(pos, length));
        pos += length;
    }
    out.push_back(kQuote);
}

// One line split into its fields, or what is wrong with it.
struct SLineFields {
    std::vector<std::string> fields;
    std::string problem;
};

class CLineParser {
public:
    CLineParser(std::string_view line, bool lastLine, const CTextScanner& scanner)
        : m_line(line), m_lastLine(lastLine), m_scanner(scanner) {}

    SLineFields Parse() {
        SLineFields result;
        for (;;) {
            std::optional<std::string> field =
                m_pos < m_line.size() && m_line[m_pos] == kQuote ? QuotedField() : PlainField();
            if (!field) {
                result.problem = m_problem;
                return result;
            }
            result.fields.push_back(std::move(*field));
            if (m_pos >= m_line.size()) return result;
            ++m_pos;  // the tab
        }
    }

private:
    // The bytes up to the next tab or the line's end.
    std::optional<std::string> PlainField() {
        std::string field;
        while (m_pos < m_line.size()) {
            const std::size_t length = m_scanner.CharLength(m_line, m_pos);
            if (length == 1 && m_line[m_pos] == kTab) break;
            if (length == 1 && !CheckByte(m_line[m_pos])) return std::nullopt;
            field.append(m_line.substr(m_pos, length));
            m_pos += length;
        }
        return field;
    }

    // A field in quotes, "" standing for one quote; the closing quote must end the field.
    std::optional<std::string> QuotedField() {
        std::string field;
        ++m_pos;
        for (;;) {
            if (m_pos >= m_line.size())
                return Fail(m_lastLine ? QuorlisText::kQuoteNotClosed : QuorlisText::kLineBreakInField);
            const std::size_t length = m_scanner.CharLength(m_line, m_pos);
            const char byte = m_line[m_pos];
            if (length == 1 && byte == kQuote) {
                const bool doubled = m_pos + 1 < m_line.size() && m_line[m_pos + 1] == kQuote;
                if (!doubled) break;
                ++m_pos;
            } else if (length == 1 && !CheckByte(byte)) {
                return std::nullopt;
            }
            field.append(m_line.substr(m_pos, length));
            m_pos += length;
        }
        ++m_pos;  // the closing quote
        if (m_pos < m_line.size() && m_line[m_pos] != kTab) return Fail(QuorlisText::kTextAfterQuote);
        return field;
    }

    // Whether a byte that is a character of its own may be in a cell.
    bool CheckByte(char byte) {
        if (byte == '\r' || byte == '\n') m_problem = QuorlisText::kLineBreakInField;
        if (byte == '\0') m_problem = QuorlisText::kZeroByteInField;
        return m_problem.empty();
    }

    std::optional<std::string> Fail(const char* problem) {
        m_problem = problem;
        return std::nullopt;
    }

    std::string_view m_line;
    bool m_lastLine;
    const CTextScanner& m_scanner;
    std::size_t m_pos = 0;
    std::string m_problem;
};

bool AreColumnHeadings(const std::vector<std::string>& fields) {
    if (fields.size() != std::size(QuorlisText::kColumnHeadings)) return false;
    for (std::size_t column = 0; column < fields.size(); ++column) {
        if (fields[column] != QuorlisText::kColumnHeadings[column]) return false;
    }
    return true;
}

// What is wrong with the fields of a line as a row, or "".
std::string CheckRowFields(const std::vector<std::string>& fields) {
    if (fields.size() != kCableColumnCount) return QuorlisText::kWrongFieldCount + std::to_string(fields.size()) + ".";
    if (fields[kNameColumn].empty())
        return std::string(QuorlisText::kPasteFieldNames[kNameColumn]) + QuorlisText::kEmptyField;
    for (std::size_t column = 0; column < fields.size(); ++column) {
        if (column == kNameColumn) continue;
        double value = 0;
        if (!ParseLeadingNumber(fields[column], value)) {
            return std::string(QuorlisText::kPasteFieldNames[column]) + QuorlisText::kNotANumber;
        }
    }
    return {};
}

// The lines of text without their line ends; empty lines at the end are dropped.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

}  // namespace

std::string FormatSpreadsheetLine(const CableCells& cells, std::string_view lineEnd) {
    const CTextScanner scanner;
    std::string line;
    for (std::size_t column = 0; column < cells.size(); ++column) {
        if (column > 0) line.push_back(kTab);
        if (NeedsQuotes(cells[column])) {
            AppendQuoted(line, cells[column], scanner);
        } else {
            line.append(cells[column]);
        }
    }
    line.append(lineEnd);
    return line;
}

SSpreadsheetRows ParseSpreadsheetRows(std::string_view text, int unconvertibleLine) {
    const CTextScanner scanner;
    const std::vector<std::string_view> lines = SplitLines(text);
    SSpreadsheetRows result;
    result.rows.reserve(lines.size());
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const int lineNumber = static_cast<int>(index) + 1;
        SLineFields parsed;
        if (lineNumber == unconvertibleLine) {
            parsed.problem = QuorlisText::kUnconvertibleCharacter;
        } else {
            parsed = CLineParser(lines[index], index + 1 == lines.size(), scanner).Parse();
        }
        if (parsed.problem.empty() && index == 0 && AreColumnHeadings(parsed.fields)) continue;
        if (parsed.problem.empty()) parsed.problem = CheckRowFields(parsed.fields);
        if (!parsed.problem.empty()) {
            result.rows.clear();
            result.wrongLine = lineNumber;
            result.problem = std::move(parsed.problem);
            return result;
        }
        SCableRowTexts& row = result.rows.emplace_back();
        std::move(parsed.fields.begin(), parsed.fields.end(), row.begin());
    }
    return result;
}
