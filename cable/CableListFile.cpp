#include "cable/CableListFile.h"

#include "cable/CableListText.h"
#include "cable/FileReplacement.h"
#include "cable/FileSystem.h"
#include "cable/FileText.h"

void WriteCableListFile(const std::string& path, const CCableTable& table)
{
    WriteCableListFile(path, table, GetSystemFileSystem());
}

void WriteCableListFile(const std::string& path, const CCableTable& table, IFileSystem& fileSystem)
{
    ReplaceFileText(fileSystem, path,
                    [&](IFile& file) { WriteAll(file, BuildCableListText(table), path); });
}

int ReadCableListFile(const std::string& path, CCableTable& table)
{
    return ReadCableListFile(path, table, GetSystemFileSystem());
}

int ReadCableListFile(const std::string& path, CCableTable& table, IFileSystem& fileSystem)
{
    const CFileText file = ReadFileText(fileSystem, path);
    return FillCableTable(SplitCableLines(file.GetText()), table);
}
