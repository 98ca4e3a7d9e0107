#include "app/frame/LeadBytes.h"

namespace moke {

void LeadBytes::AddRange(std::uint8_t lo, std::uint8_t hi) {
    for (unsigned b = lo; b <= hi; ++b) set_.set(b);
}

LeadBytes LeadBytes::ShiftJis() {
    LeadBytes set;
    set.AddRange(0x81, 0x9F);
    set.AddRange(0xE0, 0xFC);
    return set;
}

namespace {
LeadBytes& SystemSet() {
    static LeadBytes set;
    return set;
}
} // namespace

const LeadBytes& SystemLeadBytes() { return SystemSet(); }
void SetSystemLeadBytes(const LeadBytes& set) { SystemSet() = set; }

bool IsTrailByte(std::string_view s, std::size_t index, const LeadBytes& lead) {
    if (index >= s.size()) return false;
    std::size_t i = 0;
    while (i < index) i += lead.IsLead(static_cast<unsigned char>(s[i])) ? 2 : 1;
    return i != index;
}

std::size_t LastDelimiter(std::string_view s, std::string_view delimiters, const LeadBytes& lead) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < s.size();) {
        if (lead.IsLead(static_cast<unsigned char>(s[i]))) {
            i += 2;
            continue;
        }
        if (delimiters.find(s[i]) != std::string_view::npos) found = i;
        ++i;
    }
    return found;
}

std::size_t FindCharacter(std::string_view s, char c, const LeadBytes& lead) {
    for (std::size_t i = 0; i < s.size();) {
        if (lead.IsLead(static_cast<unsigned char>(s[i]))) {
            i += 2;
            continue;
        }
        if (s[i] == c) return i;
        ++i;
    }
    return std::string_view::npos;
}

std::size_t CharacterLength(std::string_view s, std::size_t index, const LeadBytes& lead) {
    return index + 1 < s.size() && lead.IsLead(static_cast<unsigned char>(s[index])) ? 2 : 1;
}

} // namespace moke
