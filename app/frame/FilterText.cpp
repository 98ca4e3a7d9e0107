#include "app/frame/FilterText.h"

namespace moke {

std::string FilterToNulList(std::string_view filter, const LeadBytes& lead) {
    std::string list;
    list.reserve(filter.size() + 2);
    list.append(filter);
    list += '\0';
    for (std::size_t i = 0; i < filter.size();) {
        if (lead.IsLead(static_cast<unsigned char>(list[i]))) {
            i += 2;
            continue;
        }
        if (list[i] == '|') list[i] = '\0';
        ++i;
    }
    if (list.size() < 2 || list[list.size() - 2] != '\0') list += '\0';
    return list;
}

} // namespace moke
