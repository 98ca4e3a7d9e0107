#include "editing/DateStamp.h"

#include <gtest/gtest.h>

using namespace moke;

namespace {
TimeSettings Settings(bool leadingZero, bool twelveHour, bool designatorFirst) {
    TimeSettings s;
    s.leadingZeroHour = leadingZero;
    s.twelveHour = twelveHour;
    s.designatorFirst = designatorFirst;
    s.am = "午前";
    s.pm = "午後";
    return s;
}
} // namespace

TEST(DateStamp, StampsOfOneMorning) {
    const StampTime time{2001, 1, 5, 9, 5};
    EXPECT_EQ(DateStampText(time, Settings(false, false, false)), "9:05 01/1/5");
    EXPECT_EQ(DateStampText(time, Settings(true, false, false)), "09:05 01/1/5");
    EXPECT_EQ(DateStampText(time, Settings(false, true, false)), "9:05 午前 01/1/5");
    EXPECT_EQ(DateStampText(time, Settings(false, true, true)), "午前 9:05 01/1/5");
    EXPECT_EQ(DateStampText(time, Settings(true, true, false)), "09:05 午前 01/1/5");
    EXPECT_EQ(DateStampText(time, TimeSettings{}), "9:05 01/1/5");
}

TEST(DateStamp, HoursOnBothClocks) {
    struct Case {
        int hour, minute;
        bool leadingZero, twelveHour;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, false, false, "0:00"},        {0, 0, true, false, "00:00"},
        {0, 7, false, true, "12:07 午前"},   {0, 7, true, true, "12:07 午前"},
        {11, 59, false, true, "11:59 午前"}, {12, 0, false, true, "12:00 午後"},
        {12, 0, false, false, "12:00"},      {13, 1, false, true, "1:01 午後"},
        {13, 1, true, true, "01:01 午後"},   {13, 1, false, false, "13:01"},
        {23, 59, false, true, "11:59 午後"}, {23, 59, false, false, "23:59"},
        {9, 0, true, true, "09:00 午前"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ShortTimeText({2001, 1, 5, c.hour, c.minute}, Settings(c.leadingZero, c.twelveHour, false)),
                  c.text);
    }
    EXPECT_EQ(ShortTimeText({2001, 1, 5, 18, 30}, Settings(false, true, true)), "午後 6:30");
    TimeSettings english;
    english.twelveHour = true;
    EXPECT_EQ(ShortTimeText({2001, 1, 5, 0, 30}, english), "12:30 AM");
}

TEST(DateStamp, YearsMonthsAndSeparators) {
    const TimeSettings plain;
    EXPECT_EQ(DateStampText({2000, 1, 5, 9, 5}, plain), "9:05 00/1/5");
    EXPECT_EQ(DateStampText({1999, 12, 31, 23, 59}, plain), "23:59 99/12/31");
    EXPECT_EQ(DateStampText({2010, 10, 10, 10, 10}, plain), "10:10 10/10/10");
    EXPECT_EQ(DateStampText({2009, 2, 28, 0, 0}, plain), "0:00 09/2/28");
    TimeSettings other;
    other.dateSeparator = "-";
    other.timeSeparator = ".";
    EXPECT_EQ(DateStampText({2001, 1, 5, 9, 5}, other), "9.05 01-1-5");
    other.dateSeparator = "／"; // a double-byte separator
    EXPECT_EQ(DateStampText({2001, 1, 5, 9, 5}, other), "9.05 01／1／5");
}

TEST(DateStamp, FirstCharacterOfASetting) {
    const LeadBytes sjis = LeadBytes::ShiftJis();
    struct Case {
        const char* setting;
        const char* fallback;
        const char* first;
    };
    const Case cases[] = {
        {"/", "/", "/"},     {"", "/", "/"},        {"", ":", ":"},      {"-.", "/", "-"},
        {"年月", "/", "年"}, {"\x81", "/", "\x81"}, {".\x81", ":", "."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        EXPECT_EQ(FirstCharacter(c.setting, c.fallback, sjis), c.first);
    }
    EXPECT_EQ(FirstCharacter("年月", "/", LeadBytes()), "\x94");
}
