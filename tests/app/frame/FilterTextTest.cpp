#include "app/frame/FilterText.h"

#include <gtest/gtest.h>

using namespace moke;

using namespace std::string_literals;

TEST(FilterText, BarsBecomeNuls) {
    const LeadBytes sjis = LeadBytes::ShiftJis();
    struct Case {
        std::string filter, list;
    };
    const Case cases[] = {
        {"テキストファイル(*.txt)|*.txt|すべてのファイル(*.*)|*.*",
         "テキストファイル(*.txt)\0*.txt\0すべてのファイル(*.*)\0*.*\0\0"s},
        {"", "\0\0"s},
        {"a", "a\0\0"s},
        {"a|", "a\0\0"s},
        {"a||b", "a\0\0b\0\0"s},
        // ポ ends in 7C: that byte is no separator.
        {"ポ|*.p", "ポ\0*.p\0\0"s},
        {"ポポ|ポ", "ポポ\0ポ\0\0"s},
        {"x\x81", "x\x81\0\0"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(FilterToNulList(c.filter, sjis), c.list);
    }
    // Read without lead bytes, the 7C inside ポ splits as well.
    EXPECT_EQ(FilterToNulList("ポ|", LeadBytes()), "\x83\0\0\0"s);
}
