#include "about/NumberFormat.h"

#include <gtest/gtest.h>

#include <climits>

using namespace moke;

TEST(NumberFormat, Kilobytes) {
    struct Case {
        std::uint64_t value;
        const char* separator;
        const char* text;
    };
    const Case cases[] = {
        {65012, ",", "65,012 KB"},
        {0, ",", " KB"}, // "#,###" shows no digit for zero
        {1, ",", "1 KB"},
        {999, ",", "999 KB"},
        {1000, ",", "1,000 KB"},
        {10000, ",", "10,000 KB"},
        {999999, ",", "999,999 KB"},
        {1000000, ",", "1,000,000 KB"},
        {4194304, ",", "4,194,304 KB"},
        {4294967296ull, ",", "4,294,967,296 KB"},
        {UINT64_MAX, ",", "18,446,744,073,709,551,615 KB"},
        {65012, ".", "65.012 KB"},
        {65012, "", "65012 KB"},
        {1234567, "，", "1，234，567 KB"}, // a double-byte separator
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatKilobytes(c.value, c.separator), c.text);
    }
}

TEST(NumberFormat, Percent) {
    EXPECT_EQ(FormatPercent(0), "0 %");
    EXPECT_EQ(FormatPercent(42), "42 %");
    EXPECT_EQ(FormatPercent(100), "100 %");
    EXPECT_EQ(FormatPercent(-1), "-1 %");
}
