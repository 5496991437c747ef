#include "res/win32/PeImage.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::size_t kCoffHeaderSize = 20;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kImportDescriptorSize = 20;
constexpr std::uint32_t kImportDirectory = 1;
constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kSubdirectoryBit = 0x80000000;
constexpr std::size_t kLongestDllName = 260;

[[noreturn]] void Malformed(const std::string& what) {
    throw std::runtime_error("not a well-formed PE image: " + what);
}

}  // namespace

CPeImage::CPeImage(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) { ReadHeaders(); }

CPeImage CPeImage::ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw std::runtime_error("cannot read " + path);
    try {
        return CPeImage(std::move(bytes));
    } catch (const std::runtime_error& error) {
        throw std::runtime_error(path + ": " + error.what());
    }
}

std::uint16_t CPeImage::Read16(std::size_t offset) const {
    if (offset > m_bytes.size() || m_bytes.size() - offset < 2) Malformed("a field lies past the end of the file");
    return static_cast<std::uint16_t>(m_bytes[offset] | m_bytes[offset + 1] << 8);
}

std::uint32_t CPeImage::Read32(std::size_t offset) const {
    return Read16(offset) | static_cast<std::uint32_t>(Read16(offset + 2)) << 16;
}

std::size_t CPeImage::FileOffset(std::uint32_t rva, std::size_t size) const {
    for (const SSection& section : m_sections) {
        if (rva < section.virtualAddress) continue;
        const std::uint64_t inSection = rva - section.virtualAddress;
        // The file holds at most rawSize bytes of the section; the rest of it is zeros in memory.
        const std::uint32_t inFile =
            section.virtualSize ? std::min(section.virtualSize, section.rawSize) : section.rawSize;
        if (inSection + size > inFile) continue;
        const std::uint64_t offset = section.rawOffset + inSection;
        if (offset + size > m_bytes.size()) break;
        return static_cast<std::size_t>(offset);
    }
    Malformed("address " + std::to_string(rva) + " is outside the sections' data");
}

std::string CPeImage::ReadNulTerminated(std::uint32_t rva) const {
    std::string text;
    for (std::uint32_t i = 0; i < kLongestDllName; ++i) {
        const char c = static_cast<char>(m_bytes[FileOffset(rva + i, 1)]);
        if (c == '\0') return text;
        text += c;
    }
    Malformed("a name runs on without an end");
}

void CPeImage::ReadHeaders() {
    if (Read16(0) != 0x5A4D) Malformed("no MZ header");
    const std::size_t pe = Read32(0x3C);
    if (Read32(pe) != 0x00004550) Malformed("no PE signature");
    const std::size_t coff = pe + 4;
    m_machine = Read16(coff);
    const std::uint16_t sectionCount = Read16(coff + 2);
    const std::uint16_t optionalSize = Read16(coff + 16);
    const std::size_t optional = coff + kCoffHeaderSize;
    const std::uint16_t magic = Read16(optional);
    if (magic != kPe32Magic && magic != kPe32PlusMagic) Malformed("unknown optional header");
    m_pe32Plus = magic == kPe32PlusMagic;
    m_subsystem = Read16(optional + 68);
    const std::size_t directoryCountAt = optional + (m_pe32Plus ? 108 : 92);
    const std::uint32_t directoryCount = Read32(directoryCountAt);
    if (directoryCountAt + 4 + std::size_t{directoryCount} * 8 > optional + optionalSize) {
        Malformed("the data directories overrun the optional header");
    }
    const std::size_t sections = optional + optionalSize;
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::size_t header = sections + i * kSectionHeaderSize;
        m_sections.push_back({Read32(header + 12), Read32(header + 8), Read32(header + 20), Read32(header + 16)});
    }
    const auto directory = [&](std::uint32_t index) -> std::size_t { return directoryCountAt + 4 + index * 8; };
    if (directoryCount > kImportDirectory && Read32(directory(kImportDirectory)) != 0) {
        ReadImports(Read32(directory(kImportDirectory)));
    }
    if (directoryCount > kResourceDirectory) {
        m_resourceRva = Read32(directory(kResourceDirectory));
        const std::uint32_t resourceSize = Read32(directory(kResourceDirectory) + 4);
        if (m_resourceRva != 0) FileOffset(m_resourceRva, resourceSize);
    }
}

void CPeImage::ReadImports(std::uint32_t rva) {
    for (std::uint32_t descriptor = rva;; descriptor += kImportDescriptorSize) {
        const std::size_t at = FileOffset(descriptor, kImportDescriptorSize);
        const std::uint32_t name = Read32(at + 12);
        if (name == 0) return;
        m_importedDlls.push_back(ReadNulTerminated(name));
    }
}

std::optional<std::uint32_t> CPeImage::FindResourceEntry(std::uint32_t directory,
                                                         std::optional<std::uint16_t> id) const {
    const std::size_t at = FileOffset(m_resourceRva + directory, 16);
    const std::size_t count = std::size_t{Read16(at + 12)} + Read16(at + 14);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = FileOffset(m_resourceRva + directory + 16 + static_cast<std::uint32_t>(i * 8), 8);
        const std::uint32_t name = Read32(entry);
        if (!id || name == *id) return Read32(entry + 4);
    }
    return std::nullopt;
}

std::optional<std::string> CPeImage::FindResource(std::uint16_t type, std::uint16_t id) const {
    if (m_resourceRva == 0) return std::nullopt;
    std::uint32_t offset = 0;
    const std::optional<std::uint16_t> path[] = {type, id, std::nullopt};
    for (const std::optional<std::uint16_t>& step : path) {
        if (!(offset & kSubdirectoryBit) && offset != 0) Malformed("a resource leaf where a directory belongs");
        const std::optional<std::uint32_t> entry = FindResourceEntry(offset & ~kSubdirectoryBit, step);
        if (!entry) return std::nullopt;
        offset = *entry;
    }
    if (offset & kSubdirectoryBit) Malformed("a resource directory where its data belongs");
    const std::size_t leaf = FileOffset(m_resourceRva + offset, 16);
    const std::uint32_t size = Read32(leaf + 4);
    const std::size_t data = FileOffset(Read32(leaf), size);
    return std::string(reinterpret_cast<const char*>(m_bytes.data() + data), size);
}
