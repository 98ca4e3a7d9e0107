// Where a line of the editor may wrap, and where words begin: break
// opportunities after white space and around ideographic characters (kana,
// kanji, full-width forms), except before closing punctuation and small kana
// and after opening punctuation, and never inside a surrogate pair.
#pragma once

#include <cstddef>
#include <string_view>

namespace moke::editor {

enum class CharClass { Space, Ideographic, Opening, Closing, Other };
CharClass ClassOf(char16_t c);

inline bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// True when a line may break before text[i] (0 < i < size).
bool BreakBefore(std::u16string_view text, std::size_t i);
// The nearest break opportunity at or before `i` (0 when there is none).
std::size_t BreakAtOrBefore(std::u16string_view text, std::size_t i);
// The nearest break opportunity after `i` (text.size() when there is none).
std::size_t BreakAfter(std::u16string_view text, std::size_t i);

// The word of a double-click at `i`, found as the platform control finds it:
// from the last break before `i` to the first break at or after it.
void WordAround(std::u16string_view text, std::size_t i, std::size_t& first, std::size_t& last);

} // namespace moke::editor
