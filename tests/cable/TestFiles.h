#pragma once
// Scratch folders and file helpers for the cable tests.

#include "cable/CableTable.h"

#include <string>
#include <vector>

// A new empty folder, removed with all it holds on destruction.
class CScratchFolder {
public:
    CScratchFolder();
    // A new empty folder inside parent, to test on parent's file system (POSIX only).
    explicit CScratchFolder(const std::string& parent);
    ~CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // The path of name inside the folder.
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }
    // The names of the entries in the folder, sorted.
    std::vector<std::string> Names() const;

private:
    std::string m_path;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// Makes folder the user's folder for the program's state, where backups go that their own folder
// refuses ($XDG_STATE_HOME; on Windows the local application-data folder).
void SetStateFolder(const std::string& folder);
// The number of descriptors this process has open.
int CountOpenDescriptors();
// The text of a list without rows, as the writer makes it.
extern const std::string kEmptyListText;
// Rows whose cells the file must carry exactly: blanks before and after, an empty and a blank-only
// cell, "=", a tab, bytes above 0x7F.
extern const std::vector<std::vector<std::string>> kSampleRows;

// The text of a list of rows rows as the writer makes it: RG1, RG2..., each with the same three
// numbers.
std::string NumberedListText(int rows);

// A table of the given rows, each of four cells.
CCableTable MakeTable(const std::vector<std::vector<std::string>>& rows);
// Every cell of table, row by row.
std::vector<std::vector<std::string>> CellsOf(const CCableTable& table);
