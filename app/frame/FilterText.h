// The filter list of the file dialogs: "description|pattern|..." becomes
// NUL-separated pairs ending in a double NUL.
#pragma once

#include <string>
#include <string_view>

#include "app/frame/LeadBytes.h"

namespace moke {

// Appends one NUL and turns every "|" that is a character of its own into
// NUL (0x7C as the second byte of a double-byte character stays). The
// returned bytes themselves end in two NULs (one more is added where the
// filter did not already end in "|"), so data() with size() is a complete
// list without relying on the string's own terminator.
std::string FilterToNulList(std::string_view filter, const LeadBytes& lead = SystemLeadBytes());

} // namespace moke
