// A file read in blocks: whatever the blocks' sizes, the first pass tells
// what a look at the whole file tells, and the pieces written with their
// line breaks made CR LF are the whole text normalised at once.
#include "document/TextScan.h"

#include <gtest/gtest.h>

#include <vector>

namespace moke::test {
namespace {

using namespace std::string_literals;

constexpr std::size_t kAny = std::size_t(-1); // bytes that will not decode: any length

struct Told {
    TextEncoding encoding;
    bool refused;
    std::size_t units;
    bool secondCodes;
    bool operator==(const Told&) const = default;
};

Told Scan(const std::vector<std::string_view>& blocks) {
    TextScan scan;
    for (std::string_view block : blocks) scan.Feed(block);
    scan.Finish();
    return {scan.Encoding(), scan.Refused(), scan.Units(), scan.MayHoldSecondCodes()};
}

// Files whose characters, line breaks and marks fall on every side of a
// block's end somewhere among the cuts tried.
TEST(TextScan, TellsTheSameOfAFileInAnyBlocks) {
    struct Case {
        std::string bytes;
        Told told;
    };
    const Case cases[] = {
        {"", {TextEncoding::ShiftJis, false, 0, false}},
        {"a\rb\nc\r\nd\r\r\ne\r", {TextEncoding::ShiftJis, false, 17, false}},
        {"\x93\xFA\x96\x7B\r\n\xB1", {TextEncoding::ShiftJis, false, 5, false}}, // 日本, CR LF, half-width ア
        {"\x87\x40x", {TextEncoding::ShiftJis, false, 2, true}},                  // NEC row 13
        {"\x82\xA0\x87", {TextEncoding::ShiftJis, false, kAny, true}},            // cut after a lead byte
        {"\xE6\x97\xA5\n\xF0\x9F\x98\x80", {TextEncoding::Utf8, false, 5, false}}, // 日, LF, an emoji
        {"\xEF\xBB\xBF" "a\r", {TextEncoding::Utf8Bom, false, 3, false}},
        {"\xEF\xBB\xBF\xE6\x97", {TextEncoding::Utf8Bom, true, 0, false}},        // cut after the mark
        {"\xE6\x97\xA5\xE6\x97", {TextEncoding::ShiftJis, false, 3, false}},      // cut UTF-8 is read as Shift-JIS
        {"\xFF\xFE" "a\0\r\0\n\0\r\0"s, {TextEncoding::Utf16Le, false, 5, false}},
        {"\xFE\xFF\xD8\x3D\xDE\x00\0\n"s, {TextEncoding::Utf16Be, false, 4, false}},
        {"\xFF\xFE" "a\0b"s, {TextEncoding::Utf16Le, true, 2, false}},           // an odd byte
        {"\xFF\xFE" "a\0\0\0"s, {TextEncoding::Utf16Le, true, 2, false}},        // a NUL character
        {"ab\0c"s, {TextEncoding::ShiftJis, true, 4, false}},
        {"\xFF\xFE", {TextEncoding::Utf16Le, false, 0, false}},
        {"\xEF\xBB", {TextEncoding::ShiftJis, false, kAny, false}},
    };
    for (const Case& c : cases) {
        const std::string_view bytes = c.bytes;
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        const Told whole = Scan({bytes});
        EXPECT_EQ(whole.encoding, c.told.encoding);
        EXPECT_EQ(whole.refused, c.told.refused);
        if (!c.told.refused && c.told.units != kAny) {
            EXPECT_EQ(whole.units, c.told.units);
        }
        EXPECT_EQ(whole.secondCodes, c.told.secondCodes);
        for (std::size_t i = 0; i <= bytes.size(); ++i)
            for (std::size_t j = i; j <= bytes.size(); ++j) {
                SCOPED_TRACE(testing::Message() << "cut at " << i << " and " << j);
                ASSERT_EQ(Scan({bytes.substr(0, i), bytes.substr(i, j - i), bytes.substr(j)}), whole);
            }
    }
}

TEST(TextScan, CompletePrefixEndsWhereACharacterEnds) {
    struct Case {
        std::string bytes;
        TextEncoding encoding;
        std::size_t prefix;
    };
    const Case cases[] = {
        {"ab", TextEncoding::ShiftJis, 2},
        {"a\x93", TextEncoding::ShiftJis, 1},         // a lead byte waits for its trail
        {"\x93\xFA", TextEncoding::ShiftJis, 2},
        {"\x93\x93\x93", TextEncoding::ShiftJis, 2},   // 0x93 0x93 is one character
        {"\xB1\x93", TextEncoding::ShiftJis, 1},       // half-width kana stands alone
        {"a\xE6\x97", TextEncoding::Utf8, 1},
        {"\xE6\x97\xA5", TextEncoding::Utf8, 3},
        {"ab\xF0\x9F\x98", TextEncoding::Utf8, 2},
        {"\xF0\x9F\x98\x80", TextEncoding::Utf8, 4},
        {"a\xC3", TextEncoding::Utf8Bom, 1},
        {"a\x80\x80\x80", TextEncoding::Utf8, 4},      // malformed: left to the decoder
        {"abc", TextEncoding::Utf16Le, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_EQ(CompletePrefix(c.bytes, c.encoding), c.prefix);
    }
}

TEST(TextScan, LineBreaksWrittenInPiecesAreThoseOfTheWholeText) {
    const std::u16string texts[] = {u"", u"a\rb\nc\r\nd\r\r\ne\n\r", u"\r", u"\n\n", u"\r\r\r\n", u"x\r"};
    for (const std::u16string& text : texts) {
        std::u16string expected = text;
        NormalizeLineBreaksInPlace(expected);
        for (std::size_t cut = 0; cut <= text.size(); ++cut) {
            SCOPED_TRACE(testing::Message() << testing::PrintToString(text) << " cut at " << cut);
            std::u16string out(expected.size(), u'?');
            LineBreakWriter<char16_t> writer(out.data(), out.size());
            ASSERT_TRUE(writer.Write(text.data(), cut));
            ASSERT_TRUE(writer.Write(text.data() + cut, text.size() - cut));
            ASSERT_TRUE(writer.Finish());
            EXPECT_EQ(writer.Written(), expected.size());
            EXPECT_EQ(out, expected);
        }
    }
    // Never past the room it was given.
    std::u16string room(3, u'?');
    LineBreakWriter<char16_t> writer(room.data(), room.size());
    EXPECT_TRUE(writer.Write(u"ab", 2));
    EXPECT_FALSE(writer.Write(u"\n", 1));
    EXPECT_EQ(room, u"ab?"); // a line break is written whole or not at all
    std::u16string small(3, u'?');
    LineBreakWriter<char16_t> longRun(small.data(), small.size());
    EXPECT_FALSE(longRun.Write(u"abcd", 4));
    EXPECT_EQ(small, u"???");
}

} // namespace
} // namespace moke::test
