#include "app/frame/CommandLine.h"

namespace moke {

namespace {

bool IsSeparator(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 1 && byte <= 32;
}

// Reads the token that starts at or after `pos`; leaves `pos` after it.
std::string NextToken(std::string_view line, std::size_t& pos) {
    const std::size_t end = line.size();
    for (;;) {
        while (pos < end && IsSeparator(line[pos]))
            ++pos;
        if (pos + 1 < end && line[pos] == '"' && line[pos + 1] == '"') {
            pos += 2;
            continue;
        }
        break;
    }
    std::string token;
    while (pos < end && !IsSeparator(line[pos])) {
        if (line[pos] == '"') {
            ++pos;
            while (pos < end && line[pos] != '"')
                token += line[pos++];
            if (pos < end && line[pos] == '"') ++pos;
        } else {
            token += line[pos++];
        }
    }
    return token;
}

} // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    // Nothing after a NUL belongs to the line.
    if (const auto nul = commandLine.find('\0'); nul != std::string_view::npos)
        commandLine = commandLine.substr(0, nul);
    std::size_t pos = 0;
    std::vector<std::string> tokens;
    tokens.push_back(NextToken(commandLine, pos));
    for (;;) {
        std::string argument = NextToken(commandLine, pos);
        if (argument.empty()) break;
        tokens.push_back(std::move(argument));
    }
    return tokens;
}

} // namespace moke
