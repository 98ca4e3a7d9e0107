#include "app/frame/LeadBytes.h"

#include <gtest/gtest.h>

using namespace moke;

TEST(LeadBytes, ShiftJisRangesAndEmptyRange) {
    LeadBytes sjis = LeadBytes::ShiftJis();
    EXPECT_TRUE(sjis.IsLead(0x81));
    EXPECT_TRUE(sjis.IsLead(0x9F));
    EXPECT_FALSE(sjis.IsLead(0xA0));
    EXPECT_TRUE(sjis.IsLead(0xE0));
    EXPECT_TRUE(sjis.IsLead(0xFC));
    EXPECT_FALSE(sjis.IsLead(0xFD));
    EXPECT_FALSE(sjis.IsLead(0x80));
    EXPECT_FALSE(sjis.IsLead(0xDF));
    EXPECT_FALSE(sjis.IsLead('\\'));
    LeadBytes none;
    none.AddRange(0x90, 0x80);
    EXPECT_TRUE(none.Empty());
}

TEST(LeadBytes, RangesAtTheEndsOfTheByteValues) {
    LeadBytes all;
    all.AddRange(0x00, 0xFF); // must stop after 0xFF rather than wrap around
    for (unsigned b = 0; b <= 0xFF; ++b)
        EXPECT_TRUE(all.IsLead(static_cast<unsigned char>(b))) << b;
    LeadBytes one;
    one.AddRange(0xFF, 0xFF);
    EXPECT_TRUE(one.IsLead(0xFF));
    EXPECT_FALSE(one.IsLead(0xFE));
    EXPECT_FALSE(one.IsLead(0x00));
}

// The sources are UTF-8 and their narrow literals code page 932; every other
// test relies on these byte values.
TEST(LeadBytes, LiteralsAreShiftJis) {
    EXPECT_EQ(std::string("表"), "\x95\x5C");
    EXPECT_EQ(std::string("ポ"), "\x83\x7C");
    EXPECT_EQ(std::string("ｱ"), "\xB1");
    EXPECT_EQ(std::string("ん"), "\x82\xF1");
}

TEST(LeadBytes, DelimiterSearchSkipsTrailBytes) {
    const LeadBytes sjis = LeadBytes::ShiftJis();
    const std::string path = "C:\\表\\a.txt"; // 表 is 0x95 0x5C
    ASSERT_EQ(path.size(), 11u);
    EXPECT_EQ(LastDelimiter(path, "\\:", sjis), 5u);
    EXPECT_TRUE(IsTrailByte(path, 4, sjis));
    EXPECT_FALSE(IsTrailByte(path, 3, sjis));
    EXPECT_EQ(LastDelimiter("C:\\表", "\\:", sjis), 2u);
    EXPECT_EQ(LastDelimiter("表", "\\", LeadBytes()), 1u);
    EXPECT_EQ(FindCharacter("表|", '|', sjis), 2u);
    EXPECT_EQ(FindCharacter("ポ", '|', sjis), std::string_view::npos);
    EXPECT_EQ(FindCharacter("ポ", '|', LeadBytes()), 1u);
    EXPECT_EQ(FindCharacter("", '|', sjis), std::string_view::npos);
    EXPECT_EQ(LastDelimiter("", "\\", sjis), std::string_view::npos);
    // A lone lead byte at the end owns nothing; one before "\" swallows it.
    EXPECT_EQ(LastDelimiter("a\\\x81", "\\", sjis), 1u);
    EXPECT_EQ(LastDelimiter("\x81\\", "\\", sjis), std::string_view::npos);
}

TEST(LeadBytes, TrailBytesInRunsOfLeadBytes) {
    const LeadBytes sjis = LeadBytes::ShiftJis();
    // 81 81 | 81 5C : two characters whose bytes are all lead values but the last.
    const std::string_view s = "\x81\x81\x81\x5C";
    const bool expected[] = {false, true, false, true};
    for (std::size_t i = 0; i < s.size(); ++i)
        EXPECT_EQ(IsTrailByte(s, i, sjis), expected[i]) << i;
    EXPECT_FALSE(IsTrailByte(s, 4, sjis)); // past the end
    EXPECT_FALSE(IsTrailByte(s, 99, sjis));
    // A single byte after a character ends the run: 81 40 | 41 | 81 5C
    const std::string_view t = "\x81\x40\x41\x81\x5C";
    EXPECT_TRUE(IsTrailByte(t, 1, sjis));
    EXPECT_FALSE(IsTrailByte(t, 2, sjis));
    EXPECT_FALSE(IsTrailByte(t, 3, sjis));
    EXPECT_TRUE(IsTrailByte(t, 4, sjis));
}

TEST(LeadBytes, CharacterLength) {
    const LeadBytes sjis = LeadBytes::ShiftJis();
    EXPECT_EQ(CharacterLength("表a", 0, sjis), 2u);
    EXPECT_EQ(CharacterLength("表a", 2, sjis), 1u);
    EXPECT_EQ(CharacterLength("a\x81", 1, sjis), 1u); // a lead byte with nothing after it
    EXPECT_EQ(CharacterLength("表", 0, LeadBytes()), 1u);
}

TEST(LeadBytes, DefaultArgumentsFollowTheSystemSet) {
    const LeadBytes saved = SystemLeadBytes();
    SetSystemLeadBytes(LeadBytes::ShiftJis());
    EXPECT_TRUE(IsTrailByte("表", 1));
    EXPECT_EQ(LastDelimiter("C:\\表", "\\"), 2u);
    SetSystemLeadBytes(LeadBytes());
    EXPECT_FALSE(IsTrailByte("表", 1));
    EXPECT_EQ(LastDelimiter("C:\\表", "\\"), 4u);
    SetSystemLeadBytes(saved);
}
