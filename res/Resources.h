#pragma once
// The program's resources: dialog layouts, the string table, message texts and the icon.

#include "cable/CableColumns.h"
#include "res/Commands.h"
#include "res/Layout.h"
#include "res/ResourceIds.h"

#include <array>
#include <span>
#include <string>

// The layout of dialog id. Throws std::out_of_range for an unknown id.
const SDialogLayout& FindDialogLayout(int id);

// The menu id. Throws std::out_of_range for an unknown id.
const SMenuLayout& FindMenuLayout(int id);
// The accelerator table id. Throws std::out_of_range for an unknown id.
const SAcceleratorTable& FindAcceleratorTable(int id);

// The string-table entry id, or "" when there is none.
std::string LoadResString(int id);

// The PNG image of icon id at size x size pixels (16, 32, 48, ...), or an empty span when there is
// none of that size.
std::span<const unsigned char> FindIconPng(int id, int size);
// The scalable (SVG) image of icon id, or an empty span.
std::span<const unsigned char> FindIconSvg(int id);

// Texts the program shows.
namespace QuorlisText {
// The names of the two file commands: their buttons and the titles of their file choosers.
inline constexpr const char* kImportCommand = "Import";
inline constexpr const char* kExportCommand = "Export";
inline constexpr const char* kDefaultFileName = "CableList.ini";
inline constexpr const char* kDefaultExtension = "ini";
inline constexpr const char* kFileFilter = "Cablie List Files (*.ini)|*.ini|All Files (*.*)|*.*||";
inline constexpr const char* kOpenFailed = "Open Cable File Failed";
inline constexpr const char* kFormatError = "The format of calbe list file is not correct ";
inline constexpr const char* kItemCountError = "The number of items is incorrect,Please check the cable list  file";
inline constexpr const char* kExportFailed = "Export Cable List File Failed";
// The second line under kExportFailed for a cell that a file cannot keep: "Row 3, Cable Name: ...".
inline constexpr const char* kRowPrefix = "Row ";
inline constexpr const char* kUnwritableCell = ": holds a line break or a zero byte, which the file cannot keep.";
inline constexpr const char* kSelectToEdit = "Please select item to edit";
inline constexpr const char* kNothingToDelete = "There is no item to delete";
inline constexpr const char* kSelectToDelete = "Please select item to delete";
inline constexpr const char* kExitQuestion = "Are you sure to exit the program?";
// The list's columns, in the order of CableColumns.h.
inline constexpr std::array<const char*, kCableColumnCount> kColumnHeadings = {"Cable Name", "Velocity", "Cable Loss",
                                                                               "Frequency(MHz)"};
inline constexpr std::array<int, kCableColumnCount> kColumnWidths = {220, 120, 120, 120};
// Copy and Paste.
inline constexpr const char* kClipboardUnavailable = "The clipboard cannot be used now. Please try again.";
inline constexpr const char* kNothingToPaste = "There are no rows on the clipboard to paste.";
// A wrong line of the clipboard's text: "Line 2: " and one of these.
inline constexpr const char* kLinePrefix = "Line ";
inline constexpr std::array<const char*, kCableColumnCount> kPasteFieldNames = {"Name", "Velocity", "Cable Loss",
                                                                                "Frequency"};
inline constexpr const char* kNotANumber = " is not a number.";
inline constexpr const char* kEmptyField = " is empty.";
inline constexpr const char* kWrongFieldCount = "It needs 4 fields, tab-separated; it has ";  // then "3."
inline constexpr const char* kLineBreakInField = "A field holds a line break.";
inline constexpr const char* kZeroByteInField = "A field holds a zero byte.";
inline constexpr const char* kQuoteNotClosed = "A quoted field is not closed.";
inline constexpr const char* kTextAfterQuote = "A quoted field has text after its closing quote.";
inline constexpr const char* kUnconvertibleCharacter = "It holds a character that the cable list file cannot.";
}  // namespace QuorlisText
