// Access letters of captions: "&" marks the next character, "&&" stands for
// a literal "&".
#pragma once

#include <string_view>

#include "app/frame/LeadBytes.h"

namespace moke {

// The access letter of `caption`: the character after the first lone "&",
// upper-cased when it is a-z. 0 when the caption has no lone "&" followed by a
// character, and when the marked character is a double-byte one (it cannot be
// typed as one key). Bytes ending a double-byte character are never taken for
// "&".
char AccessLetter(std::string_view caption, const LeadBytes& lead = SystemLeadBytes());

} // namespace moke
