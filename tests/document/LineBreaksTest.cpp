#include "document/LineBreaks.h"

#include <gtest/gtest.h>

#include <random>

using namespace moke;

using namespace std::string_literals;

namespace {

// The rule written the plain way, one character at a time: the model the
// scanning implementation is checked against.
std::string Model(std::string_view text, const LeadBytes& lead) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (lead.IsLead(static_cast<unsigned char>(c))) {
            out += text.substr(i, 2);
            i += 2;
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "\r\n";
            i += 2;
        } else if (c == '\r' || c == '\n') {
            out += "\r\n";
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

// In place, with room behind the text to grow into (`room`) or without.
std::string InPlace(std::string_view text, const LeadBytes& lead, bool room, bool* changed = nullptr) {
    std::string own;
    own.reserve(room ? text.size() * 2 + 16 : text.size());
    own.assign(text);
    const bool c = NormalizeLineBreaksInPlace(own, lead);
    if (changed) *changed = c;
    return own;
}

void ExpectNormalized(std::string_view text, const std::string& expected, const LeadBytes& lead) {
    EXPECT_EQ(ExtraLineBreakBytes(text, lead), expected.size() - text.size());
    std::string out = "untouched";
    const bool changed = NormalizeLineBreaks(text, out, lead);
    EXPECT_EQ(changed, expected != text);
    EXPECT_EQ(out, changed ? expected : "untouched");
    for (bool room : {true, false}) {
        bool inPlaceChanged = false;
        EXPECT_EQ(InPlace(text, lead, room, &inPlaceChanged), expected) << "in place, room " << room;
        EXPECT_EQ(inPlaceChanged, changed);
    }
}

} // namespace

TEST(LineBreaks, EveryKindOfBreak) {
    const LeadBytes sjis = LeadBytes::ShiftJis();
    struct Case {
        std::string text, expected;
    };
    const Case cases[] = {
        {"", ""},
        {"plain", "plain"},
        {"a\r\nb", "a\r\nb"},
        {"a\nb", "a\r\nb"},
        {"a\rb", "a\r\nb"},
        {"a\r", "a\r\n"},
        {"\r", "\r\n"},
        {"\n", "\r\n"},
        {"\r\n", "\r\n"},
        {"\n\r", "\r\n\r\n"},
        {"\r\r\n", "\r\n\r\n"},
        {"\n\n", "\r\n\r\n"},
        {"a\r\n\n", "a\r\n\r\n"},
        {"\r\rx\n", "\r\n\r\nx\r\n"},
        {"a\0\nb"s, "a\0\r\nb"s},
        // A lead byte owns the byte after it, whatever it is.
        {"\x81\n", "\x81\n"},
        {"\x81\r", "\x81\r"},
        {"\x81\r\n", "\x81\r\r\n"}, // the CR belongs to 81; the LF is lone
        {"\x81", "\x81"},
        {"a\x81", "a\x81"},
        {"\n\x81", "\r\n\x81"},
        {"\x81\x81\n", "\x81\x81\r\n"},
        {"\x81\x81\x81\n", "\x81\x81\x81\n"},
        {"\x81\x40\x81\n", "\x81\x40\x81\n"},
        {"\x81\x40\n", "\x81\x40\r\n"},
        {"\xA0\x81\n", "\xA0\x81\n"}, // A0 is a single byte
        {"表\n示\r", "表\r\n示\r\n"},
        {"ポ\rポ\r\n", "ポ\r\nポ\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.text));
        ExpectNormalized(c.text, c.expected, sjis);
    }
    // Without lead bytes the same bytes are lone breaks.
    ExpectNormalized("\x81\n", "\x81\r\n", LeadBytes());
    ExpectNormalized("\x81\r", "\x81\r\n", LeadBytes());
}

TEST(LineBreaks, LeadSetHoldingCrOrLf) {
    LeadBytes crLead;
    crLead.AddRange('\r', '\r');
    ExpectNormalized("\r\n", "\r\n", crLead); // one character
    ExpectNormalized("\r\r\n", "\r\r\r\n", crLead);
    ExpectNormalized("a\n", "a\r\n", crLead);
    ExpectNormalized("a\r", "a\r", crLead); // a lead byte at the end is copied alone
    LeadBytes lfLead;
    lfLead.AddRange('\n', '\n');
    ExpectNormalized("\n\n\n", "\n\n\n", lfLead); // the last LF is a lead byte at the end
    ExpectNormalized("\n\n\rx", "\n\n\r\nx", lfLead);
    ExpectNormalized("\r\n", "\r\n", lfLead);
    ExpectNormalized("\rx", "\r\nx", lfLead);
}

TEST(LineBreaks, OutMayHoldTheInput) {
    std::string text = "one\ntwo\rthree";
    EXPECT_TRUE(NormalizeLineBreaks(text, text, LeadBytes::ShiftJis()));
    EXPECT_EQ(text, "one\r\ntwo\r\nthree");
}

// Random texts over the bytes that matter, under several lead sets, against
// the model: catches scans that lose track of character boundaries.
TEST(LineBreaks, AgreesWithTheModelOnRandomTexts) {
    LeadBytes wide; // most bytes are lead bytes: long runs of them
    wide.AddRange(0x40, 0xFF);
    LeadBytes crLead;
    crLead.AddRange('\r', '\r');
    const LeadBytes sets[] = {LeadBytes::ShiftJis(), LeadBytes(), wide, crLead};
    const char alphabet[] = {'a', '\r', '\n', '\x81', '\x40', '\x5C', '\xE0', '\xA0', '\0', '\xFC'};
    std::mt19937 random(20240601);
    for (int round = 0; round < 20000; ++round) {
        const LeadBytes& lead = sets[round % std::size(sets)];
        // Mostly short texts; every eighth one long enough for whole blocks.
        std::string text(round % 8 == 0 ? random() % 400 : random() % 40, ' ');
        for (char& c : text)
            c = alphabet[random() % std::size(alphabet)];
        const std::string expected = Model(text, lead);
        ASSERT_EQ(ExtraLineBreakBytes(text, lead), expected.size() - text.size())
            << ::testing::PrintToString(text) << " set " << round % std::size(sets);
        std::string out;
        ASSERT_EQ(NormalizeLineBreaks(text, out, lead), expected.size() != text.size());
        if (expected.size() != text.size()) {
            ASSERT_EQ(out, expected) << ::testing::PrintToString(text);
        }
        ASSERT_EQ(InPlace(text, lead, round % 3 != 0), expected) << ::testing::PrintToString(text);
    }
}

TEST(LineBreaks, LargeText) {
    const LeadBytes sjis = LeadBytes::ShiftJis();
    std::string text;
    for (int i = 0; i < 50000; ++i)
        text += (i % 3 == 0) ? "表示テキスト\n" : (i % 3 == 1) ? "line\r\n" : "ポ\r";
    const std::string expected = Model(text, sjis);
    std::string out;
    ASSERT_TRUE(NormalizeLineBreaks(text, out, sjis));
    EXPECT_EQ(out.size(), expected.size());
    EXPECT_TRUE(out == expected);
    EXPECT_TRUE(InPlace(text, sjis, true) == expected);
    // Already normalised: no change and no copy.
    std::string again = "untouched";
    EXPECT_FALSE(NormalizeLineBreaks(out, again, sjis));
    EXPECT_EQ(again, "untouched");
}
