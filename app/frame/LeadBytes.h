// The set of byte values that begin a double-byte character in the ANSI code
// page, and the searches that must not stop on the second byte of one.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace moke {

class LeadBytes {
public:
    // Adds every value from lo to hi inclusive; nothing when hi < lo.
    void AddRange(std::uint8_t lo, std::uint8_t hi);
    bool IsLead(unsigned char byte) const { return set_.test(byte); }
    bool Empty() const { return set_.none(); }

    // Shift-JIS (code page 932): 0x81-0x9F and 0xE0-0xFC.
    static LeadBytes ShiftJis();

private:
    std::bitset<256> set_;
};

// The program's set, built once at start-up before any window exists
// (empty until then).
const LeadBytes& SystemLeadBytes();
void SetSystemLeadBytes(const LeadBytes& set);

// True when the byte at `index` is the second byte of a double-byte character.
bool IsTrailByte(std::string_view s, std::size_t index, const LeadBytes& lead = SystemLeadBytes());

// Position of the last byte that is one of `delimiters` and not the second byte
// of a double-byte character; npos when there is none.
std::size_t LastDelimiter(std::string_view s, std::string_view delimiters,
                          const LeadBytes& lead = SystemLeadBytes());

// Position of the first byte equal to `c` that is a character of its own.
std::size_t FindCharacter(std::string_view s, char c, const LeadBytes& lead = SystemLeadBytes());

// Length in bytes of the character that starts at `index` (1 or 2).
std::size_t CharacterLength(std::string_view s, std::size_t index, const LeadBytes& lead = SystemLeadBytes());

} // namespace moke
