#include "document/LineBreaks.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace moke {

namespace {

// True when the byte at `p` is the second byte of a double-byte character.
// The bytes just before it that are in the lead set pair up from the first of
// them (the byte before that run is not a lead byte, so a character ends
// there); an odd run leaves a lead byte that owns the byte at `p`.
// The run never reaches back past an earlier CR or LF (they are not lead
// bytes on this path), so the backward steps of a whole scan add up to at most
// the text length.
bool IsSecondByte(const unsigned char* s, std::size_t p, const LeadBytes& lead) {
    std::size_t run = 0;
    while (run < p && lead.IsLead(s[p - 1 - run]))
        ++run;
    return run % 2 == 1;
}

// Calls onLone(p) for every lone CR or LF at p, in order.
template <typename OnLone> void ScanLoneBreaks(std::string_view text, const LeadBytes& lead, OnLone onLone) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();

    if (lead.IsLead('\r') || lead.IsLead('\n')) {
        // A lead set holding CR or LF itself: walk the text character by
        // character.
        for (std::size_t i = 0; i < n;) {
            if (lead.IsLead(s[i])) {
                i += 2;
            } else if (s[i] == '\r' && i + 1 < n && s[i + 1] == '\n') {
                i += 2;
            } else {
                if (s[i] == '\r' || s[i] == '\n') onLone(i);
                ++i;
            }
        }
        return;
    }

    // Candidates are found sixteen bytes at a time; each CR or LF found is
    // then checked against its neighbours. `skip` passes over the LF of a
    // CR LF pair.
    std::size_t skip = 0;
    auto candidate = [&](std::size_t p) {
        if (p < skip) return;
        if (IsSecondByte(s, p, lead)) return;
        if (s[p] == '\r' && p + 1 < n && s[p + 1] == '\n') {
            skip = p + 2;
            return;
        }
        onLone(p);
    };
    std::size_t i = 0;
#if defined(__SSE2__)
    // Where no lead byte can be below 0x80, a block of plain ASCII after a
    // byte that is not a lead byte holds no second bytes: its CR LF pairs are
    // passed over with mask arithmetic, and only lone breaks are looked at.
    bool lowLeads = false;
    for (unsigned b = 0; b < 0x80; ++b) lowLeads = lowLeads || lead.IsLead(static_cast<unsigned char>(b));
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    // 64 bytes at a time: four blocks, one mask bit per byte.
    for (; i + 64 <= n; i += 64) {
        std::uint64_t crMask = 0, lfMask = 0, highMask = 0;
        for (int k = 0; k < 4; ++k) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 16 * k));
            crMask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, cr))))
                      << (16 * k);
            lfMask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf))))
                      << (16 * k);
            highMask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(block))) << (16 * k);
        }
        std::uint64_t mask = crMask | lfMask;
        if (!mask) continue;
        if (!lowLeads && highMask == 0 && (i == 0 || !lead.IsLead(s[i - 1]))) {
            const std::uint64_t pairs = crMask & (lfMask >> 1);
            mask = (crMask & ~pairs) | (lfMask & ~(pairs << 1));
        }
        while (mask) {
            candidate(i + static_cast<std::size_t>(__builtin_ctzll(mask)));
            mask &= mask - 1;
        }
    }
#endif
    for (; i < n; ++i)
        if (s[i] == '\r' || s[i] == '\n') candidate(i);
}

// True when the CR or LF at `p` is a lone line break, judged from its
// neighbours alone. Only for lead sets that hold neither CR nor LF.
bool IsLoneBreak(const unsigned char* s, std::size_t n, std::size_t p, const LeadBytes& lead) {
    if (IsSecondByte(s, p, lead)) return false;
    if (s[p] == '\r') return !(p + 1 < n && s[p + 1] == '\n');
    return !(p > 0 && s[p - 1] == '\r' && !IsSecondByte(s, p - 1, lead));
}

} // namespace

std::size_t ExtraLineBreakBytes(std::string_view text, const LeadBytes& lead) {
    std::size_t extra = 0;
    ScanLoneBreaks(text, lead, [&extra](std::size_t) { ++extra; });
    return extra;
}

bool NormalizeLineBreaks(std::string_view text, std::string& out, const LeadBytes& lead) {
    const std::size_t extra = ExtraLineBreakBytes(text, lead);
    if (extra == 0) return false;

    // One allocation of the exact size; the pieces between lone breaks are
    // copied straight in.
    std::string result(text.size() + extra, '\0');
    char* to = result.data();
    std::size_t copied = 0;
    // A lone CR and a lone LF both become CR LF.
    ScanLoneBreaks(text, lead, [&](std::size_t p) {
        std::memcpy(to, text.data() + copied, p - copied);
        to += p - copied;
        *to++ = '\r';
        *to++ = '\n';
        copied = p + 1;
    });
    std::memcpy(to, text.data() + copied, text.size() - copied);
    out = std::move(result);
    return true;
}

bool NormalizeLineBreaksInPlace(std::string& text, const LeadBytes& lead) {
    const std::size_t extra = ExtraLineBreakBytes(text, lead);
    if (extra == 0) return false;
    const std::size_t n = text.size();
    if (text.capacity() < n + extra || lead.IsLead('\r') || lead.IsLead('\n')) {
        std::string out;
        NormalizeLineBreaks(text, out, lead);
        text = std::move(out);
        return true;
    }
    text.resize(n + extra);
    auto* s = reinterpret_cast<unsigned char*>(text.data());
    // From the end backwards: each lone break found moves the bytes after it
    // (up to the break found before) to their final place and becomes CR LF.
    // `to` - `from` is the number of lone breaks still below `from`; bytes
    // below `from` are untouched until then, so every break is judged on
    // the original text. When none are left, the rest is in place already.
    std::size_t from = n, to = n + extra;
    auto take = [&](std::size_t p) {
        if (to == from || !IsLoneBreak(s, n, p, lead)) return;
        const std::size_t length = from - p - 1;
        to -= length;
        std::memmove(s + to, s + p + 1, length);
        s[--to] = '\n';
        s[--to] = '\r';
        from = p;
    };
    std::size_t i = n;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i >= 64 && to != from; i -= 64) {
        const std::size_t b = i - 64;
        std::uint64_t mask = 0;
        for (int k = 0; k < 4; ++k) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + b + 16 * k));
            const auto bits = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))));
            mask |= static_cast<std::uint64_t>(bits) << (16 * k);
        }
        while (mask) {
            const int top = 63 - __builtin_clzll(mask);
            take(b + static_cast<std::size_t>(top));
            mask &= ~(std::uint64_t{1} << top);
        }
    }
#endif
    while (i > 0 && to != from) {
        --i;
        if (s[i] == '\r' || s[i] == '\n') take(i);
    }
    return true;
}

} // namespace moke
