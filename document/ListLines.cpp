#include "document/ListLines.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace moke {

namespace {

// Position of the first NUL, CR or LF at or after `p`; `n` when none.
std::size_t LineEnd(const char* s, std::size_t p, std::size_t n) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    for (; p + 16 <= n; p += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + p));
        const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)),
                                          _mm_cmpeq_epi8(block, nul));
        if (const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits)))
            return p + static_cast<std::size_t>(__builtin_ctz(mask));
    }
#endif
    while (p < n && s[p] != '\0' && s[p] != '\r' && s[p] != '\n') ++p;
    return p;
}

} // namespace

void ForEachListLine(std::string_view bytes, const std::function<void(std::string_view line)>& add) {
    const char* s = bytes.data();
    const std::size_t n = bytes.size();
    std::size_t p = 0;
    while (p < n && s[p] != '\0') {
        const std::size_t start = p;
        p = LineEnd(s, p, n);
        add(bytes.substr(start, p - start));
        if (p < n && s[p] == '\r') ++p;
        if (p < n && s[p] == '\n') ++p;
    }
}

std::vector<std::string> SplitListLines(std::string_view bytes) {
    std::vector<std::string> lines;
    ForEachListLine(bytes, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

} // namespace moke
