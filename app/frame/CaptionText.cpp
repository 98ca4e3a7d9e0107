#include "app/frame/CaptionText.h"

namespace moke {

char AccessLetter(std::string_view caption, const LeadBytes& lead) {
    for (std::size_t i = 0; i < caption.size();) {
        const auto byte = static_cast<unsigned char>(caption[i]);
        if (lead.IsLead(byte)) {
            i += 2;
            continue;
        }
        if (caption[i] != '&') {
            ++i;
            continue;
        }
        if (i + 1 >= caption.size()) return 0; // a marker with nothing after it
        const char marked = caption[i + 1];
        if (marked == '&') { // "&&": a literal "&"
            i += 2;
            continue;
        }
        if (lead.IsLead(static_cast<unsigned char>(marked))) return 0;
        if (marked >= 'a' && marked <= 'z') return static_cast<char>(marked - 'a' + 'A');
        return marked;
    }
    return 0;
}

} // namespace moke
