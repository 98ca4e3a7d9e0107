#include "document/TextScan.h"

#include "app/frame/LeadBytes.h"

#include <algorithm>
#include <cstring>

namespace moke {

namespace {

// The length of the UTF-8 sequence that `c` begins, as far as `c` tells
// (1 for ASCII, 0 for a byte that begins none).
std::size_t ClaimedLength(unsigned char c) {
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) return 2;
    if (c >= 0xE0 && c <= 0xEF) return 3;
    if (c >= 0xF0 && c <= 0xF4) return 4;
    return 0;
}

// A first byte of a Shift-JIS character whose character may have a second
// code in code page 932.
bool MayBeSecondCode(unsigned c) {
    return c == 0x80 || c == 0x87 || c == 0xA0 || c == 0xED || c == 0xEE || c >= 0xFA;
}

const LeadBytes& ShiftJisLeads() {
    static const LeadBytes lead = LeadBytes::ShiftJis();
    return lead;
}

// Walks the Shift-JIS characters of `bytes` from `i`, which begins one:
// `each(c)` is told the first byte of every character that is not ASCII.
// Returns where the walk ends: the size, or one past it when the last byte
// begins a double-byte character.
template <class Each> std::size_t WalkShiftJis(std::string_view bytes, std::size_t i, Each&& each) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    const LeadBytes& lead = ShiftJisLeads();
    while (i < n) {
        i += AsciiRun(bytes, i);
        if (i >= n) break;
        const unsigned char c = s[i];
        const bool pair = lead.IsLead(c);
        each(c, pair);
        i += pair ? 2 : 1;
    }
    return i;
}

} // namespace

std::size_t CompletePrefix(std::string_view bytes, TextEncoding encoding) {
    const std::size_t n = bytes.size();
    switch (encoding) {
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: return n & ~std::size_t(1);
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        // The last byte that is no continuation byte, if among the last three,
        // may begin a sequence longer than what is left.
        for (std::size_t back = 1; back <= std::min<std::size_t>(3, n); ++back) {
            const auto c = static_cast<unsigned char>(bytes[n - back]);
            if ((c & 0xC0) == 0x80) continue;
            return ClaimedLength(c) > back ? n - back : n;
        }
        return n;
    case TextEncoding::ShiftJis:
        // A walk that ends past the block ended on the first byte of a pair.
        return WalkShiftJis(bytes, 0, [](unsigned char, bool) {}) > n ? n - 1 : n;
    }
    return n;
}

void TextScan::Feed(std::string_view block) {
    if (!begun_) {
        // Three bytes tell every mark.
        const std::size_t take = std::min(block.size(), 3 - head_.size());
        head_.append(block.substr(0, take));
        block.remove_prefix(take);
        if (head_.size() < 3) return;
        begun_ = true;
        for (TextEncoding marked : {TextEncoding::Utf8Bom, TextEncoding::Utf16Le, TextEncoding::Utf16Be})
            if (std::string_view(head_).substr(0, ByteOrderMark(marked).size()) == ByteOrderMark(marked)) {
                encoding_ = marked;
                break;
            }
        Body(std::string_view(head_).substr(MarkLength()));
    }
    Body(block);
}

void TextScan::Finish() {
    if (!begun_) {
        // Fewer than three bytes: only a UTF-16 mark fits in them.
        begun_ = true;
        for (TextEncoding marked : {TextEncoding::Utf16Le, TextEncoding::Utf16Be})
            if (std::string_view(head_).substr(0, 2) == ByteOrderMark(marked)) encoding_ = marked;
        Body(std::string_view(head_).substr(MarkLength()));
    }
    if (afterCr_) {
        afterCr_ = false;
        ++extra_;
    }
    if (IsUtf16(encoding_)) {
        if (oddByte_) refused_ = true;
        return;
    }
    if (!utf8Cut_.empty()) utf8_ = false;
    if (encoding_ == TextEncoding::Utf8Bom) {
        if (!utf8_) refused_ = true;
        return;
    }
    // No mark: bytes that are well-formed UTF-8 with fewer units than bytes
    // hold at least one multi-byte sequence.
    encoding_ = utf8_ && utf8Units_ < bytes_ ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
}

std::size_t TextScan::Units() const {
    switch (encoding_) {
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: return static_cast<std::size_t>(bytes_ / 2) + extra_;
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom: return utf8Units_ + extra_;
    case TextEncoding::ShiftJis: break;
    }
    // Every character of code page 932 is one unit, a double-byte one too.
    return static_cast<std::size_t>(bytes_) - pairs_ + extra_;
}

void TextScan::LineBreak(bool cr, bool lf) {
    if (afterCr_) {
        afterCr_ = false;
        if (lf) return; // CR LF
        ++extra_;       // the CR before was alone
    }
    if (cr)
        afterCr_ = true;
    else if (lf)
        ++extra_;
}

void TextScan::Body(std::string_view bytes) {
    bytes_ += bytes.size();
    if (IsUtf16(encoding_)) {
        Utf16(bytes);
        return;
    }
    if (std::memchr(bytes.data(), '\0', bytes.size())) refused_ = true;
    for (const char c : bytes)
        if (afterCr_ || static_cast<unsigned char>(c) <= '\r') LineBreak(c == '\r', c == '\n');
    Utf8(bytes);
    if (encoding_ != TextEncoding::Utf8Bom) ShiftJis(bytes);
}

void TextScan::Utf16(std::string_view bytes) {
    const bool big = encoding_ == TextEncoding::Utf16Be;
    auto unit = [&](unsigned char first, unsigned char second) {
        const unsigned u = big ? (first << 8) | second : (second << 8) | first;
        if (u == 0) refused_ = true;
        if (afterCr_ || u <= '\r') LineBreak(u == '\r', u == '\n');
    };
    std::size_t i = 0;
    if (oddByte_ && !bytes.empty()) {
        unit(firstByte_, static_cast<unsigned char>(bytes[0]));
        oddByte_ = false;
        i = 1;
    }
    for (; i + 1 < bytes.size(); i += 2) unit(static_cast<unsigned char>(bytes[i]), static_cast<unsigned char>(bytes[i + 1]));
    if (i < bytes.size()) {
        oddByte_ = true;
        firstByte_ = static_cast<unsigned char>(bytes[i]);
    }
}

void TextScan::Utf8(std::string_view bytes) {
    if (!utf8_) return;
    if (!utf8Cut_.empty()) {
        // The end of a sequence the last block cut.
        const std::size_t need = ClaimedLength(static_cast<unsigned char>(utf8Cut_[0]));
        const std::size_t take = std::min(need - utf8Cut_.size(), bytes.size());
        utf8Cut_.append(bytes.substr(0, take));
        bytes.remove_prefix(take);
        if (utf8Cut_.size() < need) return;
        const std::size_t units = Utf16LengthOfUtf8(utf8Cut_);
        if (units == std::string_view::npos) {
            utf8_ = false;
            return;
        }
        utf8Units_ += units;
        utf8Cut_.clear();
    }
    const std::size_t whole = CompletePrefix(bytes, TextEncoding::Utf8);
    const std::size_t units = Utf16LengthOfUtf8(bytes.substr(0, whole));
    if (units == std::string_view::npos) {
        utf8_ = false;
        return;
    }
    utf8Units_ += units;
    utf8Cut_ = bytes.substr(whole);
}

void TextScan::ShiftJis(std::string_view bytes) {
    if (bytes.empty()) return;
    const std::size_t end = WalkShiftJis(bytes, inPair_ ? 1 : 0, [this](unsigned char c, bool pair) {
        if (MayBeSecondCode(c)) secondCodes_ = true;
        if (pair) ++pairs_;
    });
    inPair_ = end > bytes.size();
}

TextEncoding DetectEncoding(std::string_view bytes) {
    TextScan scan;
    scan.Feed(bytes);
    scan.Finish();
    return scan.Encoding();
}

bool MayHoldSecondCodes(std::string_view shiftJis) {
    bool found = false;
    WalkShiftJis(shiftJis, 0, [&found](unsigned char c, bool) {
        if (MayBeSecondCode(c)) found = true;
    });
    return found;
}

} // namespace moke
