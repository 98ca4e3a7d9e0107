// Line-break normalisation of text entering the editor: every lone CR and
// lone LF becomes CR LF. A CR or LF that is the second byte of a double-byte
// character is left alone.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "app/frame/LeadBytes.h"

namespace moke {

// How many bytes normalisation adds: one per lone LF and one per CR not
// followed by LF (also a CR as the last byte).
std::size_t ExtraLineBreakBytes(std::string_view text, const LeadBytes& lead = SystemLeadBytes());

// When normalisation adds nothing, returns false and leaves `out` untouched,
// so the caller keeps using `text` without a copy. Otherwise sets `out` to
// the normalised text (allocated once, at its exact size) and returns true.
// `text` may view the contents of `out`.
bool NormalizeLineBreaks(std::string_view text, std::string& out, const LeadBytes& lead = SystemLeadBytes());

// Normalises `text` itself and returns whether anything changed. The text
// grows into its spare capacity when that is enough, with no second copy of
// it ever made; otherwise it is normalised into a new allocation.
bool NormalizeLineBreaksInPlace(std::string& text, const LeadBytes& lead = SystemLeadBytes());

} // namespace moke
