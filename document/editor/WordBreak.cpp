#include "document/editor/WordBreak.h"

namespace moke::editor {

CharClass ClassOf(char16_t c) {
    switch (c) {
    case u' ':
    case u'\t':
    case 0x3000: // ideographic space
        return CharClass::Space;
    case u'(': case u'[': case u'{':
    case 0x3008: case 0x300A: case 0x300C: case 0x300E: case 0x3010: case 0x3014:
    case 0xFF08: case 0xFF3B: case 0xFF5B: case 0xFF62:
        return CharClass::Opening;
    case u')': case u']': case u'}': case u',': case u'.': case u'!': case u'?': case u':': case u';':
    case 0x3001: case 0x3002: case 0x3009: case 0x300B: case 0x300D: case 0x300F: case 0x3011:
    case 0x3015: case 0x30FC: case 0x309B: case 0x309C: case 0x30FB: case 0x3005:
    case 0xFF09: case 0xFF0C: case 0xFF0E: case 0xFF01: case 0xFF1F: case 0xFF1A: case 0xFF1B:
    case 0xFF3D: case 0xFF5D: case 0xFF63: case 0xFF61: case 0xFF64: case 0xFF70:
    // small kana
    case 0x3041: case 0x3043: case 0x3045: case 0x3047: case 0x3049: case 0x3063: case 0x3083:
    case 0x3085: case 0x3087: case 0x308E: case 0x30A1: case 0x30A3: case 0x30A5: case 0x30A7:
    case 0x30A9: case 0x30C3: case 0x30E3: case 0x30E5: case 0x30E7: case 0x30EE: case 0x30F5:
    case 0x30F6:
        return CharClass::Closing;
    default:
        break;
    }
    if ((c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF) ||
        (c >= 0xAC00 && c <= 0xD7A3) || IsHighSurrogate(c))
        return CharClass::Ideographic;
    return CharClass::Other;
}

bool BreakBefore(std::u16string_view text, std::size_t i) {
    if (i == 0 || i >= text.size()) return false;
    const char16_t before = text[i - 1], here = text[i];
    if (IsLowSurrogate(here) && IsHighSurrogate(before)) return false;
    const CharClass a = ClassOf(IsLowSurrogate(before) && i >= 2 ? text[i - 2] : before);
    const CharClass b = ClassOf(here);
    if (b == CharClass::Space) return false;
    if (a == CharClass::Space) return true;
    if (b == CharClass::Closing || a == CharClass::Opening) return false;
    return a == CharClass::Ideographic || b == CharClass::Ideographic;
}

std::size_t BreakAtOrBefore(std::u16string_view text, std::size_t i) {
    if (i > text.size()) i = text.size();
    while (i > 0 && !BreakBefore(text, i)) --i;
    return i;
}

std::size_t BreakAfter(std::u16string_view text, std::size_t i) {
    ++i;
    while (i < text.size() && !BreakBefore(text, i)) ++i;
    return i < text.size() ? i : text.size();
}

void WordAround(std::u16string_view text, std::size_t i, std::size_t& first, std::size_t& last) {
    if (i > text.size()) i = text.size();
    first = i > 0 ? BreakAtOrBefore(text, i - 1) : 0;
    last = i >= text.size() ? text.size() : BreakBefore(text, i) ? i : BreakAfter(text, i);
}

} // namespace moke::editor
