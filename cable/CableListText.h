#pragma once
// The text of a cable list file, built from a table.

#include <string>

class CCableTable;

// The whole text that WriteCableListFile writes for table, in the format of CableListFile.h.
std::string BuildCableListText(const CCableTable& table);
