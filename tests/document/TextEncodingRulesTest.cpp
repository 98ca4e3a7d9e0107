// Telling a file's encoding from its bytes, and the UTF-8 and UTF-16
// conversions, on tables of bytes (no platform involved).
#include "document/TextScan.h"

#include <gtest/gtest.h>

namespace moke::test {
namespace {

using namespace std::string_literals;

TEST(EncodingRules, DetectedFromTheBytesAlone) {
    struct Case {
        std::string bytes;
        TextEncoding encoding;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBFplain", TextEncoding::Utf8Bom},
        {"\xEF\xBB\xBF", TextEncoding::Utf8Bom},
        {"\xFF\xFE" "a\0"s, TextEncoding::Utf16Le},
        {"\xFE\xFF\0a"s, TextEncoding::Utf16Be},
        {"\xE6\x97\xA5\xE6\x9C\xAC", TextEncoding::Utf8},      // 日本
        {"caf\xC3\xA9\r\n", TextEncoding::Utf8},               // "cafe" with an e acute
        {"\xF0\x9F\x98\x80", TextEncoding::Utf8},              // an emoji, four bytes
        {"plain ASCII\r\n", TextEncoding::ShiftJis},           // no multi-byte sequence
        {"", TextEncoding::ShiftJis},
        {"\x93\xFA\x96\x7B", TextEncoding::ShiftJis},          // 日本 in Shift-JIS
        {"\xC0\x80", TextEncoding::ShiftJis},                  // overlong NUL
        {"\xE0\x80\xAF", TextEncoding::ShiftJis},              // overlong "/"
        {"\xED\xA0\x80", TextEncoding::ShiftJis},              // an encoded surrogate
        {"\xF4\x90\x80\x80", TextEncoding::ShiftJis},          // above U+10FFFF
        {"\xE6\x97", TextEncoding::ShiftJis},                  // cut short
        {"\xE6\x97\xA5\x80", TextEncoding::ShiftJis},          // a stray trail byte
        {"\xFE\xFE", TextEncoding::ShiftJis},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_EQ(DetectEncoding(c.bytes), c.encoding);
    }
}

TEST(EncodingRules, Utf8DecodesAndEncodesBackExactly) {
    const std::u16string texts[] = {
        u"", u"ascii only", u"caf\u00e9 \u20ac \ud55c\uad6d\uc5b4", u"\u65e5\u672c\u8a9e\r\n",
        u"\U0001F600 and \U0010FFFF", u"\u07ff\u0800\uffff",
    };
    for (const std::u16string& text : texts) {
        bool lossless = true;
        std::string bytes;
        EncodeUtf8(std::u16string_view(text), bytes, lossless);
        EXPECT_TRUE(lossless);
        const std::size_t units = Utf16LengthOfUtf8(bytes);
        ASSERT_EQ(units, text.size());
        std::u16string back(units, u'\0');
        DecodeUtf8(bytes, back.data());
        EXPECT_EQ(back, text);
    }
    std::string bytes;
    bool lossless = true;
    EncodeUtf8(std::u16string_view(u"a\xD800z"), bytes, lossless);
    EXPECT_FALSE(lossless) << "a surrogate without its pair has no UTF-8 form";
    EXPECT_EQ(bytes, "a\xEF\xBF\xBDz");
}

TEST(EncodingRules, Utf16InEitherByteOrder) {
    const std::u16string text = u"A\u00e4\u20ac\U0001F600";
    for (const bool big : {false, true}) {
        std::string bytes;
        EncodeUtf16(std::u16string_view(text), big, bytes);
        EXPECT_EQ(bytes, big ? "\0A\0\xE4\x20\xAC\xD8\x3D\xDE\x00"s : "A\0\xE4\0\xAC\x20\x3D\xD8\x00\xDE"s);
        std::u16string back(bytes.size() / 2, u'\0');
        DecodeUtf16(bytes, big, back.data());
        EXPECT_EQ(back, text);
    }
}

TEST(EncodingRules, LineBreaksOfUtf16TextBecomeCrLf) {
    struct Case {
        std::u16string in, out;
    };
    const Case cases[] = {
        {u"a\r\nb", u"a\r\nb"}, {u"a\nb\n", u"a\r\nb\r\n"}, {u"a\rb\r", u"a\r\nb\r\n"},
        {u"\n\r", u"\r\n\r\n"}, {u"\r\r\n", u"\r\n\r\n"},    {u"\u8868\n\u793a", u"\u8868\r\n\u793a"},
        {u"", u""},             {u"\n", u"\r\n"},            {u"x\n\ny", u"x\r\n\r\ny"},
    };
    for (const Case& c : cases) {
        std::u16string text = c.in;
        EXPECT_EQ(NormalizeLineBreaksInPlace(text), c.in != c.out);
        EXPECT_EQ(text, c.out);
    }
}

TEST(EncodingRules, SecondCodesAreLookedForOnlyAtLeadBytes) {
    struct Case {
        std::string bytes;
        bool may;
    };
    const Case cases[] = {
        {"plain", false},
        {"\x93\xFA\x96\x7B", false},        // 日本
        {"\x83\x87\x83\xED", false},        // ョ and a trail byte 0xED: not leads
        {"\xB1\xB2", false},                // single-byte katakana
        {"\x87\x90", true},                 // ≒ of the NEC row
        {"\xED\x40", true},                 // an NEC-selected IBM character
        {"\xFA\x4A", true},                 // Ⅰ of the IBM rows
        {"ok \xFC\x4B", true},
        {"\x80", true},
        {"\xA0", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_EQ(MayHoldSecondCodes(c.bytes), c.may);
    }
}

} // namespace
} // namespace moke::test
