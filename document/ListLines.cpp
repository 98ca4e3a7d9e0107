#include "document/ListLines.h"

namespace moke {

void ForEachListLine(std::string_view bytes, const std::function<void(std::string_view line)>& add) {
    const std::size_t n = bytes.size();
    std::size_t p = 0;
    while (p < n && bytes[p] != '\0') {
        const std::size_t start = p;
        while (p < n && bytes[p] != '\0' && bytes[p] != '\r' && bytes[p] != '\n')
            ++p;
        add(bytes.substr(start, p - start));
        if (p < n && bytes[p] == '\r') ++p;
        if (p < n && bytes[p] == '\n') ++p;
    }
}

std::vector<std::string> SplitListLines(std::string_view bytes) {
    std::vector<std::string> lines;
    ForEachListLine(bytes, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

} // namespace moke
