// The encodings a document file may be in, how they are told apart from the
// bytes alone, and the conversions between UTF-8 or UTF-16 bytes and the
// UTF-16 code units the editor holds. Shift-JIS is converted by the platform
// (its tables are the system's); what is decided about it from bytes alone
// lives here.
//
// `Unit` is a 16-bit code unit: wchar_t on Windows, char16_t elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace moke {

enum class TextEncoding { ShiftJis, Utf8, Utf8Bom, Utf16Le, Utf16Be };

// The name shown in the status bar: "Shift_JIS", "UTF-8", "UTF-8 BOM",
// "UTF-16LE", "UTF-16BE".
std::string_view EncodingName(TextEncoding encoding);
// The byte-order mark written before the text (empty for none).
std::string_view ByteOrderMark(TextEncoding encoding);
bool IsUtf16(TextEncoding encoding);

// The number of bytes below 0x80 from `from` on.
std::size_t AsciiRun(std::string_view bytes, std::size_t from);

// The number of UTF-16 units that well-formed UTF-8 decodes to, or npos when
// the bytes are not well-formed (an overlong form, an encoded surrogate, a
// value above U+10FFFF, a cut or stray sequence).
std::size_t Utf16LengthOfUtf8(std::string_view bytes);

// Decodes well-formed UTF-8 (checked with Utf16LengthOfUtf8) into `out`,
// which has room for exactly that many units.
template <class Unit> void DecodeUtf8(std::string_view bytes, Unit* out) {
    static_assert(sizeof(Unit) == 2);
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned c = s[i];
        if (c < 0x80) {
            *out++ = static_cast<Unit>(c);
            ++i;
        } else if (c < 0xE0) {
            *out++ = static_cast<Unit>(((c & 0x1F) << 6) | (s[i + 1] & 0x3F));
            i += 2;
        } else if (c < 0xF0) {
            *out++ = static_cast<Unit>(((c & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F));
            i += 3;
        } else {
            const std::uint32_t v = ((c & 0x07u) << 18) | ((s[i + 1] & 0x3Fu) << 12) | ((s[i + 2] & 0x3Fu) << 6) |
                                    (s[i + 3] & 0x3Fu);
            *out++ = static_cast<Unit>(0xD800 + ((v - 0x10000) >> 10));
            *out++ = static_cast<Unit>(0xDC00 + ((v - 0x10000) & 0x3FF));
            i += 4;
        }
    }
}

// Encodes UTF-16 units as UTF-8 after `out`. A surrogate without its pair
// cannot be written in UTF-8: it becomes U+FFFD, and `lossless` turns false.
template <class Unit> void EncodeUtf8(std::basic_string_view<Unit> text, std::string& out, bool& lossless) {
    static_assert(sizeof(Unit) == 2);
    std::size_t size = 0;
    for (const Unit unit : text) {
        const auto u = static_cast<std::uint16_t>(unit);
        size += u < 0x80 ? 1 : u < 0x800 ? 2 : 3; // a pair: 3 + 3 counted, 4 written
    }
    out.reserve(out.size() + size);
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t v = static_cast<std::uint16_t>(text[i]);
        if (v >= 0xD800 && v < 0xE000) {
            const std::uint32_t low = i + 1 < text.size() ? static_cast<std::uint16_t>(text[i + 1]) : 0;
            if (v < 0xDC00 && low >= 0xDC00 && low < 0xE000) {
                v = 0x10000 + ((v - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            } else {
                v = 0xFFFD;
                lossless = false;
            }
        }
        if (v < 0x80) {
            out += static_cast<char>(v);
        } else if (v < 0x800) {
            out += static_cast<char>(0xC0 | (v >> 6));
            out += static_cast<char>(0x80 | (v & 0x3F));
        } else if (v < 0x10000) {
            out += static_cast<char>(0xE0 | (v >> 12));
            out += static_cast<char>(0x80 | ((v >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (v & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (v >> 18));
            out += static_cast<char>(0x80 | ((v >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((v >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (v & 0x3F));
        }
    }
}

// UTF-16 bytes (an even count, no mark) as units, and units as bytes.
template <class Unit> void DecodeUtf16(std::string_view bytes, bool bigEndian, Unit* out) {
    static_assert(sizeof(Unit) == 2);
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t units = bytes.size() / 2;
    const int high = bigEndian ? 0 : 1;
    for (std::size_t i = 0; i < units; ++i)
        out[i] = static_cast<Unit>((s[2 * i + high] << 8) | s[2 * i + (1 - high)]);
}

template <class Unit> void EncodeUtf16(std::basic_string_view<Unit> text, bool bigEndian, std::string& out) {
    static_assert(sizeof(Unit) == 2);
    const std::size_t start = out.size();
    out.resize(start + 2 * text.size());
    char* p = out.data() + start;
    for (const Unit unit : text) {
        const auto u = static_cast<std::uint16_t>(unit);
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        *p++ = bigEndian ? high : low;
        *p++ = bigEndian ? low : high;
    }
}

// Every lone CR and lone LF of UTF-16 text made CR LF. Returns whether
// anything changed; the text grows into its spare capacity where there is
// enough, so a text read with room behind it is not copied.
template <class Unit> bool NormalizeLineBreaksInPlace(std::basic_string<Unit>& text) {
    const std::size_t n = text.size();
    std::size_t extra = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] == Unit('\n')) ++extra;
        else if (text[i] == Unit('\r')) {
            if (i + 1 < n && text[i + 1] == Unit('\n')) ++i;
            else ++extra;
        }
    }
    if (extra == 0) return false;
    text.resize(n + extra);
    Unit* s = text.data();
    // From the end backwards, every unit is judged on the original text.
    std::size_t to = n + extra;
    for (std::size_t i = n; i-- > 0 && to != i + 1;) {
        const Unit c = s[i];
        if (c == Unit('\n')) {
            const bool paired = i > 0 && s[i - 1] == Unit('\r');
            s[--to] = Unit('\n');
            if (!paired) s[--to] = Unit('\r');
            else {
                s[--to] = Unit('\r');
                --i;
            }
        } else if (c == Unit('\r')) {
            s[--to] = Unit('\n');
            s[--to] = Unit('\r');
        } else {
            s[--to] = c;
        }
    }
    return true;
}

} // namespace moke
