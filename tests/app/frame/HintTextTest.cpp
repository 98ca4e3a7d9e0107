#include "app/frame/HintText.h"

#include <gtest/gtest.h>

using namespace moke;

TEST(HintText, SplitsAtTheFirstBarOfItsOwn) {
    const LeadBytes sjis = LeadBytes::ShiftJis();
    struct Case {
        const char* hint;
        const char* shortHint;
        const char* longHint;
    };
    const Case cases[] = {
        {"開く|ファイルを開きます。", "開く", "ファイルを開きます。"},
        {"|status only", "", "status only"},
        {"tip only|", "tip only", ""},
        {"no bar", "no bar", "no bar"},
        {"", "", ""},
        {"a|b|c", "a", "b|c"},
        {"|", "", ""},
        // ポ is 83 7C: its second byte is no bar.
        {"ポップ", "ポップ", "ポップ"},
        {"ポ|ップ", "ポ", "ップ"},
        {"表ポ\x81|x", "表ポ\x81|x", "表ポ\x81|x"}, // 81 7C is one character too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hint);
        EXPECT_EQ(ShortHint(c.hint, sjis), c.shortHint);
        EXPECT_EQ(LongHint(c.hint, sjis), c.longHint);
    }
    // Without lead bytes the same bytes do split.
    EXPECT_EQ(ShortHint("ポップ", LeadBytes()), "\x83");
}
