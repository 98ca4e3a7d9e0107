#include "app/frame/CaptionText.h"
#include "app/frame/MessageLayout.h"

#include <gtest/gtest.h>

#include <string>

using namespace moke;

TEST(CaptionText, AccessLetter) {
    const LeadBytes sjis = LeadBytes::ShiftJis();
    struct Case {
        const char* caption;
        char letter;
    };
    const Case cases[] = {
        {"はい(&Y)", 'Y'}, {"&yes", 'Y'},                 // lower case a-z is raised
        {"&1", '1'},       {"a&-b", '-'}, {"&ｱ", '\xB1'}, // half-width katakana is one byte
        {"OK", 0},         {"", 0},       {"abc&", 0},    // marker with nothing after it
        {"a&&b", 0},                                      // "&&" is a literal "&"
        {"a&&&b", 'B'},    {"&&&&", 0},   {"&a&b", 'A'},  // the first lone marker decides
        {"&表", 0},                                       // double-byte character marked
        {"&\x81", 0},                                     // a lone lead byte at the end
        {"ポ&x", 'X'},                                    // trail byte 7C is skipped, "&" found after it
        {"\x81&x", 0}, // "&" as the second byte of a character is no marker
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(AccessLetter(c.caption, sjis), c.letter);
    }
}

TEST(CaptionText, MessageBoxButtonsAnswerTheirLetters) {
    const LeadBytes sjis = LeadBytes::ShiftJis();
    std::string letters;
    for (const MessageButtonKind& kind : MessageButtonKinds()) {
        const char letter = AccessLetter(kind.caption, sjis);
        letters += letter == 0 ? '-' : letter;
    }
    // Yes No OK Cancel Abort Retry Ignore All NoToAll YesToAll Help
    EXPECT_EQ(letters, "YN--ARI-OEH");
}
