#pragma once
// A Windows program file (a PE image) read on any machine, without the Windows API: its headers,
// the DLLs it imports and its resources. Every offset is checked against the file.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace PeValues {
inline constexpr std::uint16_t kMachineI386 = 0x014C;
inline constexpr std::uint16_t kMachineAmd64 = 0x8664;
inline constexpr std::uint16_t kSubsystemGui = 2;
inline constexpr std::uint16_t kResourceIcon = 3;
inline constexpr std::uint16_t kResourceDialog = 5;
inline constexpr std::uint16_t kResourceString = 6;
inline constexpr std::uint16_t kResourceGroupIcon = 14;
inline constexpr std::uint16_t kResourceVersion = 16;
inline constexpr std::uint16_t kResourceManifest = 24;
}  // namespace PeValues

class CPeImage {
public:
    // The image in bytes. Throws std::runtime_error, saying what is wrong, when they are not a PE
    // image or its headers, import table or resource directory point outside the file.
    explicit CPeImage(std::vector<std::uint8_t> bytes);
    // The image in the file at path. Throws std::runtime_error when it cannot be read or is not an
    // image.
    static CPeImage ReadFile(const std::string& path);

    std::uint16_t GetMachine() const { return m_machine; }
    // Whether the optional header is the 64-bit one (PE32+).
    bool IsPe32Plus() const { return m_pe32Plus; }
    std::uint16_t GetSubsystem() const { return m_subsystem; }
    // The names of the DLLs the image imports, as the import table spells them.
    const std::vector<std::string>& GetImportedDlls() const { return m_importedDlls; }

    // The bytes of the resource of type and id (numbers, not names), in its first language; nullopt
    // when there is none. Throws std::runtime_error when the resource directory is malformed.
    std::optional<std::string> FindResource(std::uint16_t type, std::uint16_t id) const;

private:
    struct SSection {
        std::uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
    };
    std::uint16_t Read16(std::size_t offset) const;
    std::uint32_t Read32(std::size_t offset) const;
    // The file offset of size bytes at rva; throws when they are not all in one section's data.
    std::size_t FileOffset(std::uint32_t rva, std::size_t size) const;
    std::string ReadNulTerminated(std::uint32_t rva) const;
    void ReadHeaders();
    void ReadImports(std::uint32_t rva);
    // The entry with id in the resource directory at offset (from the directory's start), or the
    // first entry when id is nullopt. Returns the entry's offset field, or nullopt.
    std::optional<std::uint32_t> FindResourceEntry(std::uint32_t directory, std::optional<std::uint16_t> id) const;

    std::vector<std::uint8_t> m_bytes;
    std::vector<SSection> m_sections;
    std::uint16_t m_machine = 0;
    bool m_pe32Plus = false;
    std::uint16_t m_subsystem = 0;
    std::vector<std::string> m_importedDlls;
    std::uint32_t m_resourceRva = 0;
};
