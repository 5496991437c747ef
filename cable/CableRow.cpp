#include "cable/CableRow.h"

#include <array>
#include <cstring>

namespace {

std::size_t LengthSize(std::size_t length) {
    std::size_t bytes = 1;
    while (length >= 0x80) {
        length >>= 7;
        ++bytes;
    }
    return bytes;
}

char* PutLength(char* out, std::size_t length) {
    while (length >= 0x80) {
        *out++ = static_cast<char>(0x80 | (length & 0x7F));
        length >>= 7;
    }
    *out++ = static_cast<char>(length);
    return out;
}

const char* GetLength(const char* in, std::size_t& length) {
    length = 0;
    for (unsigned shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*in++);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (byte < 0x80) {
            return in;
        }
    }
}

// Whether every cell's length takes one byte, as it does in almost every row.
bool AllShort(const CCableRow::Cells& cells) {
    std::size_t anyLong = 0;
    for (std::string_view cell : cells) {
        anyLong |= cell.size();
    }
    return anyLong < 0x80;
}

}  // namespace

std::size_t CCableRow::StoredSize(const Cells& cells) {
    std::size_t size = 0;
    if (AllShort(cells)) {
        for (std::string_view cell : cells) {
            size += cell.size();
        }
        return size + cells.size();
    }
    for (std::string_view cell : cells) {
        size += LengthSize(cell.size()) + cell.size();
    }
    return size;
}

void CCableRow::Store(char* out, const Cells& cells) {
    if (AllShort(cells)) {
        for (std::string_view cell : cells) {
            *out++ = static_cast<char>(cell.size());
        }
    } else {
        for (std::string_view cell : cells) {
            out = PutLength(out, cell.size());
        }
    }
    for (std::string_view cell : cells) {
        if (!cell.empty()) {
            std::memcpy(out, cell.data(), cell.size());
            out += cell.size();
        }
    }
}

CCableRow::Cells CCableRow::GetCellsWithLongLengths() const {
    std::array<std::size_t, kColumnCount> lengths;
    const char* text = m_stored;
    for (std::size_t& length : lengths) {
        text = GetLength(text, length);
    }
    Cells cells;
    for (std::size_t column = 0; column < cells.size(); ++column) {
        cells[column] = std::string_view(text, lengths[column]);
        text += lengths[column];
    }
    return cells;
}

std::string_view CCableRow::GetCell(int column) const { return GetCells()[static_cast<std::size_t>(column)]; }

std::size_t CCableRow::GetStoredSize() const {
    const Cells cells = GetCells();
    return static_cast<std::size_t>(cells.back().data() + cells.back().size() - m_stored);
}
