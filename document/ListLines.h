// Splitting a file's bytes into list entries, one per line.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace moke {

// Calls `add` for each line, in order. A line ends at CR, LF or CR LF; a final
// line break adds no entry, but an empty line before it does; LF CR is two
// breaks. A NUL byte ends the list: the line holding it gives the bytes before
// it and nothing after it is read. The scan looks at single bytes only
// (a CR or LF is a break even as the second byte of a double-byte character);
// lines are not trimmed and have no length limit.
void ForEachListLine(std::string_view bytes, const std::function<void(std::string_view line)>& add);

std::vector<std::string> SplitListLines(std::string_view bytes);

} // namespace moke
