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
    EXPECT_FALSE(sjis.IsLead('\\'));
    LeadBytes none;
    none.AddRange(0x90, 0x80);
    EXPECT_TRUE(none.Empty());
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
}
