#pragma once
// The lengths of the characters of a multi-byte character set, worked out once for each set and
// looked up by byte afterwards. A byte of 0x80 or above either is a character of its own, or begins
// a two-byte character when the byte after it is one of its trail bytes, or begins characters
// whose length only the system can tell ("other"). A byte below 0x80 is always one character.

#include <array>
#include <bitset>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class CCharLengthTable {
public:
    enum class ELead : unsigned char { Single, Pair, Other };

    // A table in which every byte is a character of its own.
    CCharLengthTable();

    // Makes byte (0x80 or above) and the trail byte after it one character.
    void AddPair(unsigned char lead, unsigned char trail);
    // Leaves the length of the characters that byte (0x80 or above) begins to the system.
    void SetOther(unsigned char lead);

    ELead GetLead(unsigned char byte) const { return m_leads[byte]; }

    // The length of the character at text[pos] when its first byte is a Single or Pair lead: 2 for
    // a Pair lead followed by one of its trail bytes, else 1 (also at the end of text).
    std::size_t PairLength(std::string_view text, std::size_t pos) const {
        const auto lead = static_cast<unsigned char>(text[pos]);
        return m_leads[lead] == ELead::Pair && pos + 1 < text.size() &&
                       m_trails[lead - 0x80].test(static_cast<unsigned char>(text[pos + 1]))
                   ? 2
                   : 1;
    }

    // Whether byte c, wherever it stands, begins a character: it is no trail byte of any pair, and
    // no lead is Other.
    bool AlwaysBeginsChar(char c) const;

    // The table of the character set called name, made by build the first time it is asked for and
    // shared by every later caller in the process.
    static std::shared_ptr<const CCharLengthTable> ForCharset(const std::string& name,
                                                              const std::function<CCharLengthTable()>& build);

private:
    std::array<ELead, 256> m_leads;
    std::array<std::bitset<256>, 128> m_trails;  // for the leads 0x80..0xFF
    std::bitset<256> m_anyTrail;
    bool m_hasOther = false;
};
