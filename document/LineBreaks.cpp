#include "document/LineBreaks.h"

#include <algorithm>
#include <cstring>

namespace moke {

namespace {

// Next CR and next LF at or after a position, each found with memchr and
// kept until the scan passes it, so every byte is searched once per value.
class BreakFinder {
  public:
    explicit BreakFinder(std::string_view text)
        : data_(text.data()), size_(text.size()), nextCr_(Find(0, '\r')), nextLf_(Find(0, '\n')) {}

    // Position of the first CR or LF at or after `pos`; the text size when none.
    std::size_t Next(std::size_t pos) {
        if (nextCr_ < pos) nextCr_ = Find(pos, '\r');
        if (nextLf_ < pos) nextLf_ = Find(pos, '\n');
        return std::min(nextCr_, nextLf_);
    }

  private:
    std::size_t Find(std::size_t pos, char c) const {
        if (pos >= size_) return size_;
        const void* hit = std::memchr(data_ + pos, c, size_ - pos);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - data_) : size_;
    }

    const char* data_;
    std::size_t size_;
    std::size_t nextCr_;
    std::size_t nextLf_;
};

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

    BreakFinder finder(text);
    for (std::size_t pos = 0;;) {
        const std::size_t p = finder.Next(pos);
        if (p >= n) return;
        if (IsSecondByte(s, p, lead)) {
            pos = p + 1;
        } else if (s[p] == '\r' && p + 1 < n && s[p + 1] == '\n') {
            pos = p + 2;
        } else {
            onLone(p);
            pos = p + 1;
        }
    }
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

    std::string result;
    result.reserve(text.size() + extra);
    std::size_t copied = 0;
    // A lone CR and a lone LF both become CR LF.
    ScanLoneBreaks(text, lead, [&](std::size_t p) {
        result.append(text.data() + copied, p - copied);
        result += "\r\n";
        copied = p + 1;
    });
    result.append(text.data() + copied, text.size() - copied);
    out = std::move(result);
    return true;
}

} // namespace moke
