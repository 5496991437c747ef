#include "TestFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

const std::string kEmptyListText = "/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=0\n";
const std::vector<std::vector<std::string>> kSampleRows{
    {"RG58", "0.66", "0.5", "100"}, {"  lead", "", " ", "x"}, {"a=b \tc", "\t1", "=", "\xA0\xB1"}};

CScratchFolder::~CScratchFolder() {
    std::error_code ignored;
    // Permissions that tests took away would stop the removal of what is inside.
    for (const auto& entry : fs::recursive_directory_iterator(m_path, ignored)) {
        if (!entry.is_symlink()) {
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::remove_all(m_path, ignored);
}

std::vector<std::string> CScratchFolder::Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_path)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path);
    }
}

CCableTable MakeTable(const std::vector<std::vector<std::string>>& rows) {
    CCableTable table;
    for (const auto& cells : rows) {
        const int row = table.InsertRow(table.GetItemCount(), cells.at(0));
        for (int column = 1; column < 4; ++column) {
            table.SetCellText(row, column, cells.at(static_cast<std::size_t>(column)));
        }
    }
    return table;
}

std::vector<std::vector<std::string>> CellsOf(const CCableTable& table) {
    std::vector<std::vector<std::string>> cells;
    for (int row = 0; row < table.GetItemCount(); ++row) {
        cells.emplace_back();
        for (int column = 0; column < table.GetColumnCount(); ++column) {
            cells.back().push_back(table.GetCellText(row, column));
        }
    }
    return cells;
}

std::string NumberedListText(int rows) {
    std::string text = "/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=" + std::to_string(rows) + "\n";
    for (int r = 1; r <= rows; ++r) {
        const std::string n = std::to_string(r);
        text += "CableName" + n + " = RG" + n + "\nVelocity" + n + " = 0.66\nCableLoss" + n + " = 0.5\nFrequency" + n +
                " = 100\n";
    }
    return text;
}
