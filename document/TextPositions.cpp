#include "document/TextPositions.h"

namespace moke {

std::size_t ByteOffsetOfCharacter(std::string_view text, std::size_t character, const LeadBytes& lead) {
    std::size_t offset = 0;
    for (std::size_t i = 0; i < character && offset < text.size(); ++i)
        offset += CharacterLength(text, offset, lead);
    return offset < text.size() ? offset : text.size();
}

std::size_t CharacterIndexOfByte(std::string_view text, std::size_t offset, const LeadBytes& lead) {
    std::size_t index = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t next = at + CharacterLength(text, at, lead);
        if (offset < next) return index;
        at = next;
        ++index;
    }
    return index;
}

} // namespace moke
