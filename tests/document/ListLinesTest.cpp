#include "document/ListLines.h"

#include <gtest/gtest.h>

using namespace moke;

using namespace std::string_literals;
using Lines = std::vector<std::string>;

TEST(ListLines, EveryKindOfBreak) {
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"a\r\nbb", {"a", "bb"}},
        {"a\nbb", {"a", "bb"}},
        {"a\rbb", {"a", "bb"}},
        {"a\r\nbb\r\n", {"a", "bb"}},
        {"a\r\nbb\r\n\r\n", {"a", "bb", ""}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\r\n\r\nbb", {"a", "", "bb"}},
        {"a\n\rbb", {"a", "", "bb"}},
        {"a\r\r\nbb", {"a", "", "bb"}},
        {"\r\n", {""}},
        {"\n\n", {"", ""}},
        {"", {}},
        {"one", {"one"}},
        {" tab\there ", {" tab\there "}},
        // A NUL ends the list.
        {"a\0b\r\nc"s, {"a"}},
        {"a\r\nb\0c\r\nd"s, {"a", "b"}},
        {"a\r\n\0b"s, {"a"}},
        {"\0a"s, {}},
        // Single bytes only: a CR or LF after a lead byte still breaks.
        {"表\r\n示", {"表", "示"}},
        {"\x81\nx", {"\x81", "x"}},
        {"\x81\rx", {"\x81", "x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes));
        EXPECT_EQ(SplitListLines(c.bytes), c.lines);
    }
}

TEST(ListLines, LinesAreViewsInOrderAndOfAnyLength) {
    const std::string longLine(100000, 'x');
    const std::string bytes = "first\r\n" + longLine + "\nlast";
    Lines seen;
    ForEachListLine(bytes, [&](std::string_view line) {
        EXPECT_GE(line.data(), bytes.data());
        EXPECT_LE(line.data() + line.size(), bytes.data() + bytes.size());
        seen.emplace_back(line);
    });
    EXPECT_EQ(seen, (Lines{"first", longLine, "last"}));
}
