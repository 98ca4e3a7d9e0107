// Conversion between character positions (as a control may report them) and
// byte offsets in a text of the ANSI code page.
#pragma once

#include "app/frame/LeadBytes.h"

#include <cstddef>
#include <string_view>

namespace moke {

// Byte offset of the character with index `character`; the text's length when past its end.
std::size_t ByteOffsetOfCharacter(std::string_view text, std::size_t character,
                                  const LeadBytes& lead = SystemLeadBytes());
// Index of the character that starts at or contains the byte `offset`; the
// character count when past the end.
std::size_t CharacterIndexOfByte(std::string_view text, std::size_t offset, const LeadBytes& lead = SystemLeadBytes());

} // namespace moke
