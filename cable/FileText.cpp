#include "cable/FileText.h"

#include "cable/FileSystem.h"

#include <cstring>
#include <limits>
#include <new>

CFileText::CFileText(std::unique_ptr<char[]> bytes, std::size_t size)
    : m_bytes(std::move(bytes)), m_size(size)
{
}

std::string_view CFileText::GetText() const
{
    return std::string_view(m_bytes.get(), m_size);
}

CFileText ReadFileText(IFileSystem& fileSystem, const std::string& path)
{
    const std::unique_ptr<IFile> file = fileSystem.OpenExisting(path);
    file->Lock();
    const std::uint64_t size = file->GetSize();
    if (size > std::numeric_limits<std::size_t>::max() / 2) {
        throw std::bad_alloc();
    }
    auto bytes = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(size));
    std::size_t length = 0;
    while (length < size) {
        const std::size_t count = file->Read(bytes.get() + length, static_cast<std::size_t>(size) - length);
        if (count == 0) {
            break;
        }
        const void* zero = std::memchr(bytes.get() + length, '\0', count);
        if (zero != nullptr) {
            length = static_cast<std::size_t>(static_cast<const char*>(zero) - bytes.get());
            break;
        }
        length += count;
    }
    file->Close();
    return CFileText(std::move(bytes), length);
}
