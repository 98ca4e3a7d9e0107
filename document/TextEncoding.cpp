#include "document/TextEncoding.h"

#include <cstring>

namespace moke {

std::string_view EncodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::ShiftJis: return "Shift_JIS";
    case TextEncoding::Utf8: return "UTF-8";
    case TextEncoding::Utf8Bom: return "UTF-8 BOM";
    case TextEncoding::Utf16Le: return "UTF-16LE";
    case TextEncoding::Utf16Be: return "UTF-16BE";
    }
    return {};
}

std::string_view ByteOrderMark(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8Bom: return "\xEF\xBB\xBF";
    case TextEncoding::Utf16Le: return "\xFF\xFE";
    case TextEncoding::Utf16Be: return "\xFE\xFF";
    default: return {};
    }
}

bool IsUtf16(TextEncoding encoding) {
    return encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
}

namespace {

// The length of the well-formed UTF-8 sequence at `i`, 0 when there is none.
std::size_t SequenceLength(const unsigned char* s, std::size_t n, std::size_t i) {
    const unsigned c = s[i];
    auto trail = [&](std::size_t k, unsigned lo = 0x80, unsigned hi = 0xBF) {
        return i + k < n && s[i + k] >= lo && s[i + k] <= hi;
    };
    if (c >= 0xC2 && c <= 0xDF) return trail(1) ? 2 : 0;
    if (c == 0xE0) return trail(1, 0xA0) && trail(2) ? 3 : 0;
    if (c == 0xED) return trail(1, 0x80, 0x9F) && trail(2) ? 3 : 0; // no surrogates
    if (c >= 0xE1 && c <= 0xEF) return trail(1) && trail(2) ? 3 : 0;
    if (c == 0xF0) return trail(1, 0x90) && trail(2) && trail(3) ? 4 : 0;
    if (c >= 0xF1 && c <= 0xF3) return trail(1) && trail(2) && trail(3) ? 4 : 0;
    if (c == 0xF4) return trail(1, 0x80, 0x8F) && trail(2) && trail(3) ? 4 : 0;
    return 0;
}

} // namespace

// Bytes below 0x80, eight at a time.
std::size_t AsciiRun(std::string_view bytes, std::size_t from) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = from;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s + i, 8);
        if (word & 0x8080808080808080ull) break;
    }
    while (i < n && s[i] < 0x80) ++i;
    return i - from;
}

std::size_t Utf16LengthOfUtf8(std::string_view bytes) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t units = 0;
    for (std::size_t i = 0; i < n;) {
        const std::size_t run = AsciiRun(bytes, i);
        i += run;
        units += run;
        if (i == n) break;
        const std::size_t length = SequenceLength(s, n, i);
        if (length == 0) return std::string_view::npos;
        i += length;
        units += length == 4 ? 2 : 1;
    }
    return units;
}

} // namespace moke
