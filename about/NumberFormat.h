// The memory figures of the About box.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace moke {

// The pattern #,### followed by " KB": digits grouped in threes with the
// regional thousands separator (65012 -> "65,012 KB"). Like the pattern, 0
// shows no digit at all and gives " KB".
std::string FormatKilobytes(std::uint64_t kilobytes, std::string_view thousandsSeparator);

// "%d %%": the number, a blank and "%".
std::string FormatPercent(int value);

} // namespace moke
