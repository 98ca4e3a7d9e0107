#include "app/frame/HintText.h"

namespace moke {

std::string_view ShortHint(std::string_view hint, const LeadBytes& lead) {
    const std::size_t bar = FindCharacter(hint, '|', lead);
    return bar == std::string_view::npos ? hint : hint.substr(0, bar);
}

std::string_view LongHint(std::string_view hint, const LeadBytes& lead) {
    const std::size_t bar = FindCharacter(hint, '|', lead);
    return bar == std::string_view::npos ? hint : hint.substr(bar + 1);
}

} // namespace moke
