#include "app/frame/FailureText.h"

#include <cstdint>

namespace moke {

std::string WithFullStop(std::string_view message, const LeadBytes& lead) {
    std::string text(message);
    if (text.empty()) return text;
    // The last character: two bytes when the final byte ends a double-byte
    // character. Compared with "." as unsigned bytes, a longer string that
    // starts with "." is the greater one.
    const std::size_t length = IsTrailByte(text, text.size() - 1, lead) ? 2 : 1;
    const auto first = static_cast<unsigned char>(text[text.size() - length]);
    const auto stop = static_cast<unsigned char>('.');
    if (first > stop || (first == stop && length == 2)) text += '.';
    return text;
}

std::string HexAddress(const void* address, std::size_t minDigits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    auto value = reinterpret_cast<std::uintptr_t>(address);
    std::string reversed;
    do {
        reversed += kDigits[value & 0xF];
        value >>= 4;
    } while (value != 0);
    if (reversed.size() < minDigits) reversed.append(minDigits - reversed.size(), '0');
    return std::string(reversed.rbegin(), reversed.rend());
}

std::string LastResortText(std::string_view kindName, std::string_view moduleFileName, const void* address,
                           std::string_view message, const LeadBytes& lead) {
    const std::size_t slash = LastDelimiter(moduleFileName, "\\", lead);
    const std::string_view moduleName =
        slash == std::string_view::npos ? moduleFileName : moduleFileName.substr(slash + 1);

    std::string text;
    text.reserve(kindName.size() + moduleName.size() + message.size() + 64);
    text += kindName;
    text += "がﾓｼﾞｭｰﾙ ";
    text += moduleName;
    text += " の ";
    text += HexAddress(address);
    text += " で発生しました。";
    text += '\n';
    text += message;
    if (!message.empty() && message.back() != '.') text += '.';
    return text;
}

} // namespace moke
