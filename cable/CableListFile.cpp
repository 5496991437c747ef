#include "cable/CableListFile.h"

#include "cable/CableListReader.h"
#include "cable/CableListText.h"
#include "cable/CableTable.h"
#include "os/FileReplacement.h"
#include "os/FileSystem.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

// As many rows as a file of size bytes can hold when each row has its four keys and short cells:
// room for them all is made at once, so that the index of the rows is not copied as it grows.
// Pages of the room that no row takes are never touched.
int MostRowsLikely(std::uint64_t size) {
    constexpr std::uint64_t kShortRowBytes = 48;
    return static_cast<int>(std::min<std::uint64_t>(size / kShortRowBytes, INT_MAX));
}

}  // namespace

void WriteCableListFile(const std::string& path, const CCableTable& table) {
    WriteCableListFile(path, table, GetSystemFileSystem());
}

void WriteCableListFile(const std::string& path, const CCableTable& table, IFileSystem& fileSystem) {
    CheckCableListCells(table, path);
    ReplaceFileText(fileSystem, path, [&](IFile& file) {
        WriteCableListText(table, [&](std::string_view piece) { WriteAll(file, piece, path); });
    });
}

int ReadCableListFile(const std::string& path, CCableTable& table) {
    return ReadCableListFile(path, table, GetSystemFileSystem());
}

int ReadCableListFile(const std::string& path, CCableTable& table, IFileSystem& fileSystem) {
    const std::unique_ptr<IFile> file = fileSystem.OpenExisting(path);
    file->Lock();
    // The text is what the file holds when it is opened: bytes added later are not read.
    std::uint64_t left = file->GetSize();
    CCableListReader reader(
        static_cast<std::size_t>(std::clamp<std::uint64_t>(left, 1, CCableListReader::kBufferSize)));
    CCableTable rows;
    rows.ReserveRows(MostRowsLikely(left));
    const int result = reader.ReadRows(
        [&](char* buffer, std::size_t size) -> std::size_t {
            if (left == 0) {
                return 0;
            }
            const std::size_t count = file->Read(buffer, static_cast<std::size_t>(std::min<std::uint64_t>(size, left)));
            left -= count;
            return count;
        },
        rows);
    file->Close();
    if (result > 0) {
        table.ReplaceWith(std::move(rows));
    }
    return result;
}
