#include "app/frame/FailureText.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace moke;

TEST(FailureText, FullStopRule) {
    const LeadBytes sjis = LeadBytes::ShiftJis();
    struct Case {
        const char* message;
        bool appended;
    };
    const Case cases[] = {
        {"ﾌｧｲﾙ C:\\a.txt は開けません", true}, // double-byte "ん"
        {"終わり。", true},                    // "。" is 81 42
        {"C:\\表", true},                      // ends in 95 5C
        {"ｴﾗｰ", true},                         // half-width katakana
        {"abc", true},
        {"version 2", true},
        {"a/", true},
        {"broken \x81", true}, // a lone lead byte compares above "."
        {"done.", false},
        {"(C:\\a.txt)", false},
        {"stop!", false},
        {"trailing ", false},
        {"line\r\n", false},
        {"a-", false}, // 0x2D sorts below "."
        {".", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const std::string expected = c.appended ? std::string(c.message) + "." : std::string(c.message);
        EXPECT_EQ(WithFullStop(c.message, sjis), expected);
    }
    EXPECT_EQ(WithFullStop("", sjis), "");
}

// Where the last character is two bytes, both are compared with ".": this
// decides when the lead byte sorts at or below ".".
TEST(FailureText, FullStopComparesTheWholeLastCharacter) {
    LeadBytes dotLead; // "." as a lead byte: ".)" is one character, greater than "."
    dotLead.AddRange('.', '.');
    EXPECT_EQ(WithFullStop("x.)", dotLead), "x.).");
    EXPECT_EQ(WithFullStop("x)", dotLead), "x)");
    LeadBytes bangLead; // "!A" is one character, below "." although "A" is above it
    bangLead.AddRange('!', '!');
    EXPECT_EQ(WithFullStop("x!A", bangLead), "x!A");
    EXPECT_EQ(WithFullStop("x!A", LeadBytes()), "x!A.");
}

TEST(FailureText, LastResortText) {
    const LeadBytes sjis = LeadBytes::ShiftJis();
    const auto* address = reinterpret_cast<const void*>(std::uintptr_t{0x4A3F0});
    EXPECT_EQ(LastResortText("FileOpenFailure", "C:\\Program Files\\moke\\MokeMemo.exe", address,
                             "ﾌｧｲﾙ a は開けません", sjis),
              "FileOpenFailureがﾓｼﾞｭｰﾙ MokeMemo.exe の 0004A3F0 で発生しました。\nﾌｧｲﾙ a は開けません.");
    // Message already ending in ".", empty message, module without folder.
    EXPECT_EQ(LastResortText("Failure", "moke.exe", nullptr, "done.", sjis),
              "Failureがﾓｼﾞｭｰﾙ moke.exe の 00000000 で発生しました。\ndone.");
    EXPECT_EQ(LastResortText("Failure", "C:\\moke.exe", nullptr, "", sjis),
              "Failureがﾓｼﾞｭｰﾙ moke.exe の 00000000 で発生しました。\n");
    // The "." test is on the last byte alone: "!" gets one too.
    EXPECT_EQ(LastResortText("F", "m", nullptr, "stop!", sjis),
              "Fがﾓｼﾞｭｰﾙ m の 00000000 で発生しました。\nstop!.");
}

TEST(FailureText, LastResortModuleNameKeepsDoubleByteCharacters) {
    const LeadBytes sjis = LeadBytes::ShiftJis();
    // "表示.exe": the 5C inside 表 is no folder separator.
    const std::string text = LastResortText("F", "C:\\dir\\表示.exe", nullptr, "", sjis);
    EXPECT_NE(text.find("ﾓｼﾞｭｰﾙ 表示.exe の"), std::string::npos) << text;
    const std::string folder = LastResortText("F", "C:\\表\\moke.exe", nullptr, "", sjis);
    EXPECT_NE(folder.find("ﾓｼﾞｭｰﾙ moke.exe の"), std::string::npos) << folder;
}

TEST(FailureText, AddressDigits) {
    EXPECT_EQ(HexAddress(nullptr), "00000000");
    EXPECT_EQ(HexAddress(reinterpret_cast<const void*>(std::uintptr_t{0xABCDEF})), "00ABCDEF");
    EXPECT_EQ(HexAddress(reinterpret_cast<const void*>(std::uintptr_t{0xFFFFFFFFu})), "FFFFFFFF");
    if constexpr (sizeof(void*) == 8) {
        EXPECT_EQ(HexAddress(reinterpret_cast<const void*>(std::uintptr_t{0x1234567890ull})), "1234567890");
        EXPECT_EQ(HexAddress(reinterpret_cast<const void*>(~std::uintptr_t{0})), "FFFFFFFFFFFFFFFF");
    }
}
