// Fuzzes the cable list reader's three steps, SplitCableLines, FillCableTable and
// ExtractCableValue: each is checked against a plain model that steps through the text one
// character at a time with mbrlen (tests/cable/ReaderModel.h), and rows are written out and read
// back. The streaming reader is checked against the same model, and the writer's pieces against
// its whole text, through small buffers and reads, so that boundaries fall inside lines and
// characters.
//
// An input's first byte picks the character set of the scan by its value modulo 3 (0: C.UTF-8,
// 1: zh_CN.GBK, 2: C); the rest is the file's text. zh_CN.GBK is looked up along LOCPATH, where
// fuzz/run.sh makes it.

#include "cable/CableListFile.h"
#include "cable/CableListReader.h"
#include "cable/CableListText.h"
#include "cable/CableTable.h"

#include "ReaderModel.h"

#include <locale.h>
#include <algorithm>
#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kMostRawRows = 64;

// Loaded once and kept for the whole run.
locale_t g_locales[3];

void Check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// A copy of the LC_CTYPE locale called name. Loaded through setlocale, as newlocale keeps the
// LOCPATH list it makes.
locale_t LoadLocale(const char* name) {
    if (std::setlocale(LC_CTYPE, name) == nullptr) {
        std::fprintf(stderr, "no %s locale (LOCPATH names the folder that fuzz/run.sh makes)\n", name);
        std::exit(1);
    }
    const locale_t locale = duplocale(LC_GLOBAL_LOCALE);
    std::setlocale(LC_CTYPE, "C");
    if (locale == static_cast<locale_t>(0)) {
        std::perror("duplocale");
        std::exit(1);
    }
    return locale;
}

// --- The checks. ---

bool SameViews(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].data() != b[i].data() || a[i].size() != b[i].size()) {
            return false;
        }
    }
    return true;
}

void CheckSplit(std::string_view text, const std::vector<std::string_view>& lines) {
    const char* previousEnd = text.data();
    for (std::string_view line : lines) {
        Check(line.data() >= previousEnd && line.data() + line.size() <= text.data() + text.size(),
              "SplitCableLines gives views into the text, in order, that do not overlap");
        Check(!line.empty() && line.find('\n') == std::string_view::npos,
              "a keyword line is not empty and holds no line feed");
        previousEnd = line.data() + line.size();
    }
    Check(SameViews(lines, ModelKeywordLines(text)), "SplitCableLines agrees with the model");
}

void CheckValue(std::string_view line) {
    const std::string value = ExtractCableValue(line);
    const std::string_view trimmed = ModelTrim(line);
    Check(value == trimmed || trimmed.ends_with(value), "ExtractCableValue gives the trimmed line or a suffix of it");
    Check(value == ModelValue(line), "ExtractCableValue agrees with the model");
}

using Cells = ModelCells;

Cells CellsOf(const CCableTable& table) {
    Cells cells(static_cast<std::size_t>(table.GetItemCount()));
    for (int row = 0; row < table.GetItemCount(); ++row) {
        for (int column = 0; column < table.GetColumnCount(); ++column) {
            cells[static_cast<std::size_t>(row)].push_back(table.GetCellText(row, column));
        }
    }
    return cells;
}

CCableTable MakeTable(const Cells& cells) {
    CCableTable table;
    for (const std::vector<std::string>& row : cells) {
        table.AppendRow(row[0], row[1], row[2], row[3]);
    }
    return table;
}

// Fills a table that already holds rows and checks the result; returns the rows made.
Cells CheckFill(const std::vector<std::string_view>& lines) {
    const Cells before{{"old", "0.66", "0.5", "100"}, {"older", "", "", ""}};
    CCableTable table = MakeTable(before);
    table.SelectRow(0);
    const int result = FillCableTable(lines, table);
    if (lines.size() % 4 != 0 || lines.empty()) {
        Check(result == (lines.empty() ? 0 : kCableFormatError),
              "lines that are not whole rows are a format error, no lines no rows");
        Check(CellsOf(table) == before && table.GetSelectedRow() == 0,
              "a format error or no rows leaves the table untouched");
        return {};
    }
    Check(result == static_cast<int>(lines.size() / 4), "FillCableTable makes a row of every four lines");
    const Cells cells = CellsOf(table);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Check(cells[i / 4][i % 4] == ModelValue(lines[i]), "each cell is the value of its line");
    }
    return cells;
}

// Rows written out and read back are the same rows, and writing them again gives the same text.
void CheckRoundTrip(const Cells& cells) {
    const CCableTable table = MakeTable(cells);
    const std::string text = BuildCableListText(table);
    const std::vector<std::string_view> lines = SplitCableLines(text);
    CCableTable readBack;
    Check(FillCableTable(lines, readBack) == static_cast<int>(cells.size()), "written text reads back as as many rows");
    Check(CellsOf(readBack) == cells, "written text reads back as the same cells");
    Check(BuildCableListText(readBack) == text, "a second export is byte-identical to the first");
}

// The streaming reader makes the model's rows of the text up to its first zero byte, whatever the
// sizes of its buffer and of its reads.
void CheckStreaming(std::string_view text) {
    int expected = 0;
    const Cells expectedCells = ModelRows(text, expected);
    static const std::size_t sizes[][2] = {{1, 1}, {2, 3}, {3, 1}, {5, 64}, {16, 7}, {4096, 4096}};
    for (const auto& [bufferSize, readSize] : sizes) {
        std::size_t offset = 0;
        const auto source = [&, readSize = readSize](char* buffer, std::size_t size) {
            const std::size_t count = std::min({size, readSize, text.size() - offset});
            std::memcpy(buffer, text.data() + offset, count);
            offset += count;
            return count;
        };
        CCableListReader reader(bufferSize);
        CCableTable rows;
        const int result = reader.ReadRows(source, rows);
        Check(result == expected, "streaming makes as many rows as the model, or the same refusal");
        Check(result <= 0 || CellsOf(rows) == expectedCells, "streaming makes the model's rows");
    }
}

// The writer's pieces, however small its buffer, make the whole text.
void CheckWriterPieces(const Cells& cells) {
    const CCableTable table = MakeTable(cells);
    const std::string whole = BuildCableListText(table);
    for (std::size_t pieceSize : {1, 3, 10}) {
        std::string text;
        WriteCableListText(
            table, [&](std::string_view piece) { text.append(piece); }, pieceSize);
        Check(text == whole, "the writer's pieces make the whole text");
    }
}

// Rows whose cells are pieces of the input with no line feed and no white space at their end:
// cells that the writer and the reader must carry through unchanged.
Cells RawRows(std::string_view text) {
    Cells cells;
    std::vector<std::string> row;
    for (std::string_view piece : ModelNonEmptyLines(text)) {
        if (cells.size() == kMostRawRows) {
            break;
        }
        std::size_t end = ModelTrimmedEnd(piece, 0);
        row.emplace_back(piece.substr(0, end));
        if (row.size() == 4) {
            cells.push_back(std::move(row));
            row.clear();
        }
    }
    return cells;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_locales[0] = LoadLocale("C.UTF-8");
    g_locales[1] = LoadLocale("zh_CN.GBK");
    g_locales[2] = LoadLocale("C");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    uselocale(g_locales[data[0] % std::size(g_locales)]);
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    const std::vector<std::string_view> lines = SplitCableLines(text);
    CheckSplit(text, lines);
    for (std::string_view line : lines) {
        CheckValue(line);
    }
    CheckValue(text);

    CheckRoundTrip(CheckFill(lines));
    CheckFill(ModelNonEmptyLines(text));
    const Cells raw = RawRows(text);
    CheckRoundTrip(raw);
    CheckWriterPieces(raw);
    CheckStreaming(text);
    return 0;
}
