// Short and long hints: a hint "A|B" gives the tool-tip text A and the
// status-bar text B; a hint without "|" is both. Only a "|" that is a
// character of its own splits (0x7C as a second byte does not).
#pragma once

#include <string_view>

#include "app/frame/LeadBytes.h"

namespace moke {

// The part before the first "|"; the whole hint when there is none.
std::string_view ShortHint(std::string_view hint, const LeadBytes& lead = SystemLeadBytes());

// The part after the first "|"; the whole hint when there is none.
std::string_view LongHint(std::string_view hint, const LeadBytes& lead = SystemLeadBytes());

} // namespace moke
