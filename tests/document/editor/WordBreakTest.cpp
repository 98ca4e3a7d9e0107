// Break opportunities of wrapped lines and the words of a double-click.
#include "document/editor/WordBreak.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace moke::editor {
namespace {

std::vector<std::size_t> Breaks(std::u16string_view text) {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (BreakBefore(text, i)) out.push_back(i);
    return out;
}

TEST(WordBreak, OpportunitiesInLines) {
    const struct { const char* name; std::u16string text; std::vector<std::size_t> breaks; } cases[] = {
        {"after spaces, not before them", u"ab  cd e", {4, 7}},
        {"one long word has none", u"abcdef", {}},
        {"between kana and kanji", u"日本語", {1, 2}},
        {"not before a full stop or small kana", u"あっ。い", {3}},
        {"not after an opening bracket", u"あ「い」う", {1, 4}},
        {"between Latin and ideographic", u"ab日cd", {2, 3}},
        {"never inside a surrogate pair", u"\U00020B9F\U00020B9F", {2}},
        {"after an ideographic space", u"あ\u3000い", {2}},
    };
    for (const auto& c : cases) EXPECT_EQ(Breaks(c.text), c.breaks) << c.name;
}

TEST(WordBreak, WordsAndNeighbouringBreaks) {
    const std::u16string text = u"one two  three";
    EXPECT_EQ(BreakAtOrBefore(text, 6), 4u);
    EXPECT_EQ(BreakAtOrBefore(text, 2), 0u);
    EXPECT_EQ(BreakAfter(text, 0), 4u);
    EXPECT_EQ(BreakAfter(text, 5), 9u);
    EXPECT_EQ(BreakAfter(text, 10), text.size());
    const struct { std::size_t at, first, last; } words[] = {{0, 0, 4}, {1, 0, 4}, {4, 0, 4}, {5, 4, 9}, {7, 4, 9}, {12, 9, 14}, {14, 9, 14}};
    for (const auto& w : words) {
        std::size_t first = 99, last = 99;
        WordAround(text, w.at, first, last);
        EXPECT_EQ(first, w.first) << w.at;
        EXPECT_EQ(last, w.last) << w.at;
    }
}

} // namespace
} // namespace moke::editor
