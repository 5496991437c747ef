// Fuzzes the cable table's operations (insert, append, set cell, delete, select, delete all)
// against a plain model of the rows and the selection, with a view that follows the table only
// through its change notifications; and the export and import of the table through a real file,
// whose rows must come back as the reader documents: each cell less its trailing white space.
//
// The input is a list of operations: one byte picks the operation, the bytes after it its row,
// column and texts. Line breaks and zero bytes are left out of texts: they would end the cell's
// line or the file's text, and a cell cannot carry them through a file.

#include "cable/CableListFile.h"
#include "cable/CableTable.h"
#include "os/FileError.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kMostRows = 200;
constexpr std::size_t kLongestText = 24;
constexpr int kMostRoundTrips = 4;

using Row = std::array<std::string, 4>;

// The scratch folder of the run and the file that round trips go through.
std::filesystem::path g_folder;
std::string g_path;

void Check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// The input, read from the front; reads past its end give zeros.
class CInput {
public:
    CInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool AtEnd() const { return m_position >= m_size; }
    std::uint8_t Byte() { return AtEnd() ? 0 : m_data[m_position++]; }
    // A number from first to last, both included.
    int Between(int first, int last) { return first + Byte() % (last - first + 1); }
    std::string Text() {
        std::string text;
        for (std::size_t length = Byte() % (kLongestText + 1); length > 0 && !AtEnd(); --length) {
            const char byte = static_cast<char>(Byte());
            text.push_back(byte == '\n' || byte == '\r' || byte == '\0' ? ' ' : byte);
        }
        return text;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

// What the table should hold.
struct CModel {
    std::vector<Row> rows;
    int selected = -1;
};

// A view that knows the table only from its notifications, as the window's list does.
class CMirror : public ICableTableObserver {
public:
    explicit CMirror(const CCableTable& table) : m_table(table) {}

    void OnTableReset() override {
        m_rows.clear();
        for (int row = 0; row < m_table.GetItemCount(); ++row) {
            m_rows.push_back(RowOf(row));
        }
        m_selected = m_table.GetSelectedRow();
    }
    void OnRowInserted(int row) override {
        Check(row >= 0 && row <= static_cast<int>(m_rows.size()), "an inserted row is within the view");
        m_rows.insert(m_rows.begin() + row, RowOf(row));
    }
    void OnRowDeleted(int row) override {
        Check(row >= 0 && row < static_cast<int>(m_rows.size()), "a deleted row is within the view");
        m_rows.erase(m_rows.begin() + row);
    }
    void OnCellChanged(int row, int column) override {
        m_rows.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) =
            m_table.GetCellText(row, column);
    }
    void OnSelectionChanged(int row) override { m_selected = row; }

    bool Shows(const CModel& model) const { return m_rows == model.rows && m_selected == model.selected; }

private:
    Row RowOf(int row) const {
        const auto cells = m_table.GetRowTextViews(row);
        return {std::string(cells[0]), std::string(cells[1]), std::string(cells[2]), std::string(cells[3])};
    }

    const CCableTable& m_table;
    std::vector<Row> m_rows;
    int m_selected = -1;
};

bool Holds(const CCableTable& table, const CModel& model) {
    if (table.GetItemCount() != static_cast<int>(model.rows.size()) || table.GetSelectedRow() != model.selected) {
        return false;
    }
    for (int row = 0; row < table.GetItemCount(); ++row) {
        const auto cells = table.GetRowTextViews(row);
        for (std::size_t column = 0; column < cells.size(); ++column) {
            if (cells[column] != model.rows[static_cast<std::size_t>(row)][column]) {
                return false;
            }
        }
    }
    return true;
}

// Runs an operation that is out of range: it must throw std::out_of_range and change nothing,
// which the caller's check after it sees.
template <typename Operation>
void ExpectOutOfRange(Operation operation) {
    try {
        operation();
    } catch (const std::out_of_range&) {
        return;
    }
    Check(false, "an index out of range is refused");
}

std::string WithoutTrailingSpace(std::string text) {
    while (!text.empty() && std::string_view(" \t\n\v\f\r").find(text.back()) != std::string_view::npos) {
        text.pop_back();
    }
    return text;
}

// Writes the table to a file and reads it back into a new table.
void CheckRoundTrip(const CCableTable& table, const CModel& model) {
    try {
        WriteCableListFile(g_path, table);
        CCableTable readBack;
        const int count = ReadCableListFile(g_path, readBack);
        Check(count == static_cast<int>(model.rows.size()), "a written table reads back as as many rows");
        for (int row = 0; row < count; ++row) {
            for (int column = 0; column < 4; ++column) {
                const std::string& cell = model.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
                Check(readBack.GetCellText(row, column) == WithoutTrailingSpace(cell),
                      "each cell reads back less its trailing white space");
            }
        }
        Check(readBack.GetSelectedRow() == count - 1, "the last row read is the selected one");
    } catch (const CFileError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        Check(false, "a table is written to and read from a scratch file without a file error");
    }
}

void Insert(CInput& input, CCableTable& table, CModel& model) {
    const int count = table.GetItemCount();
    const int index = input.Between(-1, count + 1);
    std::string text = input.Text();
    if (index < 0 || index > count) {
        ExpectOutOfRange([&] { table.InsertRow(index, text); });
        return;
    }
    Check(table.InsertRow(index, text) == index, "InsertRow returns the new row's index");
    model.rows.insert(model.rows.begin() + index, Row{text, "", "", ""});
    model.selected = index;
}

void Append(CInput& input, CCableTable& table, CModel& model) {
    Row row{input.Text(), input.Text(), input.Text(), input.Text()};
    Check(table.AppendRow(row[0], row[1], row[2], row[3]) == table.GetItemCount() - 1,
          "AppendRow returns the last row's index");
    model.rows.push_back(std::move(row));
    model.selected = static_cast<int>(model.rows.size()) - 1;
}

void SetCell(CInput& input, CCableTable& table, CModel& model) {
    const int row = input.Between(-1, table.GetItemCount());
    const int column = input.Between(-1, 4);
    std::string text = input.Text();
    if (row < 0 || row >= table.GetItemCount() || column < 0 || column >= 4) {
        ExpectOutOfRange([&] { table.SetCellText(row, column, text); });
        return;
    }
    table.SetCellText(row, column, text);
    model.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::move(text);
}

void Delete(CInput& input, CCableTable& table, CModel& model) {
    const int row = input.Between(-1, table.GetItemCount());
    if (row < 0 || row >= table.GetItemCount()) {
        ExpectOutOfRange([&] { table.DeleteRow(row); });
        return;
    }
    table.DeleteRow(row);
    model.rows.erase(model.rows.begin() + row);
    if (model.selected == row) {
        model.selected = -1;
    } else if (model.selected > row) {
        --model.selected;
    }
}

void Select(CInput& input, CCableTable& table, CModel& model) {
    const int row = input.Between(-2, table.GetItemCount());
    if (row < -1 || row >= table.GetItemCount()) {
        ExpectOutOfRange([&] { table.SelectRow(row); });
        return;
    }
    table.SelectRow(row);
    model.selected = row;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A folder in memory where there is one: every export flushes its file to disk.
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    std::string pattern = (base / "cable-table-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    g_folder = pattern;
    g_path = (g_folder / "CableList.ini").string();
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(g_folder, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CInput input(data, size);
    CCableTable table;
    CMirror mirror(table);
    table.SetObserver(&mirror);
    CModel model;
    int roundTrips = 0;
    while (!input.AtEnd()) {
        const bool full = table.GetItemCount() >= kMostRows;
        switch (input.Byte() % 7) {
            case 0:
                if (!full) {
                    Insert(input, table, model);
                }
                break;
            case 1:
                if (!full) {
                    Append(input, table, model);
                }
                break;
            case 2:
                SetCell(input, table, model);
                break;
            case 3:
                Delete(input, table, model);
                break;
            case 4:
                Select(input, table, model);
                break;
            case 5:
                table.DeleteAllRows();
                model = CModel();
                break;
            default:
                if (roundTrips++ < kMostRoundTrips) {
                    CheckRoundTrip(table, model);
                }
                break;
        }
        Check(Holds(table, model), "the table holds the model's rows and selection");
        Check(mirror.Shows(model), "a view told of every change shows the same rows and selection");
    }
    return 0;
}
