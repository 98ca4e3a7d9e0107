#include "document/PathParts.h"

namespace moke {

namespace {
constexpr std::string_view kDelimiters = "\\:";
}

std::string_view NamePart(std::string_view path, const LeadBytes& lead) {
    const std::size_t last = LastDelimiter(path, kDelimiters, lead);
    return last == std::string_view::npos ? path : path.substr(last + 1);
}

std::string_view FolderPart(std::string_view path, const LeadBytes& lead) {
    const std::size_t last = LastDelimiter(path, kDelimiters, lead);
    return last == std::string_view::npos ? std::string_view{} : path.substr(0, last + 1);
}

std::string DirectoryPart(std::string_view path, const LeadBytes& lead) {
    const std::size_t last = LastDelimiter(path, kDelimiters, lead);
    if (last == std::string_view::npos) return {};
    std::size_t length = last + 1; // 1-based position of the delimiter
    if (last > 0 && path[last] == '\\') {
        const char before = path[last - 1];
        const bool beforeIsDelimiter =
            (before == '\\' || before == ':') && !IsTrailByte(path, last - 1, lead);
        if (!beforeIsDelimiter) --length; // drop the trailing "\" of a non-root directory
    }
    return std::string(path.substr(0, length));
}

std::string ListFileNameFor(std::string_view modulePath, const LeadBytes& lead) {
    std::string name(FolderPart(modulePath, lead));
    name += "MokeList.txt";
    return name;
}

} // namespace moke
