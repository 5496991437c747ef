#pragma once
// A file's text, read whole.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class IFileSystem;

class CFileText {
public:
    CFileText(std::unique_ptr<char[]> bytes, std::size_t size);

    // The bytes read, up to the first zero byte.
    std::string_view GetText() const;

private:
    std::unique_ptr<char[]> m_bytes;
    std::size_t m_size;
};

// Opens the existing file at path, locks it, reads it whole, whatever its size, and closes it.
// Reading stops at the first zero byte, where the text ends. Throws CFileError when any of these
// steps fails; the file is closed on every path.
CFileText ReadFileText(IFileSystem& fileSystem, const std::string& path);
