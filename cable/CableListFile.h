#pragma once
// The cable list file: its writer and its reader.
//
// Format, one line each, every line ending in a single line feed:
//   /*!!!DO NOT MODIFY!!!!*/
//   [CableList] Version=1 CableCount=N
//   CableName1 = <cell 0 of row 1>
//   Velocity1 = <cell 1 of row 1>
//   CableLoss1 = <cell 2 of row 1>
//   Frequency1 = <cell 3 of row 1>
//   ... four lines for each further row.

#include <string>
#include <string_view>
#include <vector>

class CCableTable;
class IFileSystem;

// What ReadCableListFile and FillCableTable report when the keyword lines do not form whole rows.
constexpr int kCableFormatError = -1;

// Writes the table to path in the format above, replacing any file there only once the new text
// is safely on disk, with the old file's owner, group, permissions and links (ReplaceFileText); a
// symbolic link is followed to the file it names. The text is made and written piece by piece,
// never whole. A read-only file, a directory or a file locked by another process is refused.
// Throws CFileError when the file cannot be written (a short write is DiskFull); the old file is
// then left exactly as it was. A table with a line feed or a zero byte in a cell is
// refused before any file is opened: CUnwritableCellError naming the row and the column. A
// carriage return in a cell is written as it is.
void WriteCableListFile(const std::string& path, const CCableTable& table);

// Reads the file at path into the table, streaming it through a buffer of fixed size, as
// FillCableTable(SplitCableLines(the file's text)) would. Returns the number of rows made, or
// kCableFormatError. Unless rows were made, the table is untouched (its rows and its selection):
// a file that yields no rows is refused as a malformed one is. Throws CFileError when the file
// cannot be opened or read; the table is then untouched.
int ReadCableListFile(const std::string& path, CCableTable& table);

// The two above, with the file calls made through fileSystem instead of the machine's own.
void WriteCableListFile(const std::string& path, const CCableTable& table, IFileSystem& fileSystem);
int ReadCableListFile(const std::string& path, CCableTable& table, IFileSystem& fileSystem);

// The reader's three steps on a whole text in memory. They split and group through the classes that
// ReadCableListFile streams the file through, and scan text in the character set of the LC_CTYPE
// locale in force, stepping over multi-byte characters whole.

// Splits the file's text at line feeds, sets the first non-empty line aside, and returns the
// later lines that contain "CableName", "Velocity", "CableLoss" or "Frequency" (anywhere, at the
// line's end too), as views into text.
std::vector<std::string_view> SplitCableLines(std::string_view text);

// Turns each group of kCableColumnCount keyword lines, in order, into a row, replacing the table's rows. Returns the
// number of rows, or kCableFormatError when the lines are not whole rows; unless rows were made
// (no lines, or not whole rows) the table is untouched, its rows and its selection.
int FillCableTable(const std::vector<std::string_view>& lines, CCableTable& table);

// The value of one keyword line: the trimmed line after its first "=" less one blank directly
// after it, or the whole trimmed line when it has no "=".
std::string ExtractCableValue(std::string_view line);
