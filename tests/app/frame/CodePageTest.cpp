// The program's own strings are code page 932 whatever the system's code
// page: the process runs in it (the manifest), the conversion to UTF-16 is
// explicit, and font names reach the system whole.
#include "app/frame/CodePage.h"
#include "app/frame/Control.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace moke {
namespace {

TEST(CodePage, TheProcessRunsInCodePage932) {
    EXPECT_EQ(GetACP(), 932u);
    EXPECT_TRUE(IsDBCSLeadByte(0x81));
    EXPECT_TRUE(IsDBCSLeadByte(0xFC));
    EXPECT_FALSE(IsDBCSLeadByte(0xA1)) << "half-width katakana are single bytes";
}

TEST(CodePage, ProgramStringsConvertBothWays) {
    const struct {
        const char* bytes;
        const wchar_t* wide;
    } cases[] = {
        {"", L""},
        {"zoz", L"zoz"},
        {"ＭＳ Ｐゴシック", L"ＭＳ Ｐゴシック"},
        {"ｷｬﾝｾﾙ", L"ｷｬﾝｾﾙ"},
        {"表示\\a", L"表示\\a"}, // 0x5C as a trail byte and on its own
        {"もけらメモ帳\r\n", L"もけらメモ帳\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WideFromProgram(c.bytes), std::wstring(c.wide)) << c.bytes;
        EXPECT_EQ(ProgramFromWide(c.wide), std::string(c.bytes)) << c.bytes;
    }
}

// The face name of a font the frame makes, as the system holds it.
std::wstring FaceOf(HFONT font) {
    LOGFONTW described{};
    GetObjectW(font, sizeof described, &described);
    return described.lfFaceName;
}

TEST(CodePage, FontFacesReachTheSystemAsTheirCharacters) {
    const struct {
        const char* name;
        const wchar_t* face;
    } cases[] = {{"ＭＳ Ｐゴシック", L"ＭＳ Ｐゴシック"}, {"ＭＳ 明朝", L"ＭＳ 明朝"}, {"zoz", L"zoz"}};
    for (const auto& c : cases) {
        TFont font;
        font.SetName(c.name);
        EXPECT_EQ(FaceOf(font.Handle()), std::wstring(c.face)) << c.name;
    }
    TFont fresh;
    EXPECT_EQ(FaceOf(fresh.Handle()), std::wstring(L"ＭＳ Ｐゴシック")) << "the default face";
}

} // namespace
} // namespace moke
