#include "about/NumberFormat.h"

namespace moke {

std::string FormatKilobytes(std::uint64_t kilobytes, std::string_view thousandsSeparator) {
    std::string text;
    if (kilobytes != 0) {
        const std::string digits = std::to_string(kilobytes);
        for (std::size_t i = 0; i < digits.size(); ++i) {
            if (i != 0 && (digits.size() - i) % 3 == 0) text += thousandsSeparator;
            text += digits[i];
        }
    }
    text += " KB";
    return text;
}

std::string FormatPercent(int value) {
    return std::to_string(value) + " %";
}

} // namespace moke
