#include "app/frame/ShortcutText.h"

#include <gtest/gtest.h>

#include <vector>

using namespace moke;

TEST(ShortcutText, ValuesOfTheEditShortcuts) {
    EXPECT_EQ(MakeShortCut('Z', false, true, false), 16474);
    EXPECT_EQ(MakeShortCut('X', false, true, false), 16472);
    EXPECT_EQ(MakeShortCut('C', false, true, false), 16451);
    EXPECT_EQ(MakeShortCut('V', false, true, false), 16470);
    EXPECT_EQ(MakeShortCut('A', false, true, false), 16449);
    EXPECT_EQ(MakeShortCut(0x70, true, false, false), 0x2070);
    EXPECT_EQ(MakeShortCut(0x2E, false, false, true), 0x802E);
    EXPECT_EQ(MakeShortCut(0xFF, true, true, true), 0xE0FF);
    EXPECT_EQ(MakeShortCut(0, false, false, false), 0);
}

TEST(ShortcutText, KeyNamesAndModifierWords) {
    struct Case {
        ShortCut value;
        const char* text;
    };
    const Case cases[] = {
        {0x405A, "Ctrl+Z"},
        {0x08, "BkSp"},
        {0x09, "Tab"},
        {0x0D, "Enter"},
        {0x1B, "Esc"},
        {0x20, "Space"},
        {0x21, "PgUp"},
        {0x22, "PgDn"},
        {0x23, "End"},
        {0x24, "Home"},
        {0x25, "Left"},
        {0x26, "Up"},
        {0x27, "Right"},
        {0x28, "Down"},
        {0x2D, "Ins"},
        {0x2E, "Del"},
        {0x30, "0"},
        {0x39, "9"},
        {0x41, "A"},
        {0x5A, "Z"},
        {0x60, "0"}, // numeric keypad
        {0x69, "9"},
        {0x70, "F1"},
        {0x79, "F10"},
        {0x87, "F24"},
        {0x2000 | 0x4000 | 0x8000 | 0x41, "Shift+Ctrl+Alt+A"},
        {0x8000 | 0x2000 | 0x2E, "Shift+Alt+Del"},
        {0x2000 | 0x70, "Shift+F1"},
        // No name of the program's own and no platform name: no text at all.
        {0x4000 | 0x88, ""},
        {0x0A, ""},
        {0x1C, ""},
        {0x29, ""},
        {0x2F, ""},
        {0x3A, ""},
        {0x40, ""},
        {0x5B, ""},
        {0x6A, ""},
        {0x6F, ""},
        {0x4000, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(ShortCutToText(c.value), c.text);
    }
}

TEST(ShortcutText, PlatformNamesOfOneCharacterOnly) {
    const LeadBytes sjis = LeadBytes::ShiftJis();
    std::vector<int> asked;
    const KeyNameFunction names = [&asked](std::uint8_t vk) -> std::string {
        asked.push_back(vk);
        switch (vk) {
        case 0xBA: return ";";
        case 0xBB: return "Plus";
        case 0xBD: return "ー";   // one double-byte character
        case 0xBE: return "\x81"; // a lone lead byte is no character
        case 0x41: return "Q";
        default: return "";
        }
    };
    EXPECT_EQ(ShortCutToText(0x4000 | 0xBA, names, sjis), "Ctrl+;");
    EXPECT_EQ(asked, std::vector<int>{0xBA}); // the key code alone, without modifier bits
    EXPECT_EQ(ShortCutToText(0x8000 | 0xBB, names, sjis), "");
    EXPECT_EQ(ShortCutToText(0xBC, names, sjis), "");
    EXPECT_EQ(ShortCutToText(0x2000 | 0xBD, names, sjis), "Shift+ー");
    EXPECT_EQ(ShortCutToText(0xBD, names, LeadBytes()), ""); // two single bytes
    EXPECT_EQ(ShortCutToText(0xBE, names, sjis), "");
    // The program's own names come first; the platform is not asked.
    asked.clear();
    EXPECT_EQ(ShortCutToText(0x4041, names, sjis), "Ctrl+A");
    EXPECT_TRUE(asked.empty());
}

TEST(ShortcutText, MenuItemText) {
    EXPECT_EQ(MenuItemText("元に戻す(&U)", 0x405A, false, false), "元に戻す(&U)\tCtrl+Z");
    EXPECT_EQ(MenuItemText("すべて選択(&A)", 0x4041, false, false), "すべて選択(&A)\tCtrl+A");
    EXPECT_EQ(MenuItemText("開く(&O)...", 0, false, false), "開く(&O)...");
    EXPECT_EQ(MenuItemText("編集(&E)", 0x405A, true, false), "編集(&E)");
    EXPECT_EQ(MenuItemText("編集(&E)", 0x405A, false, true), "編集(&E)");
    // A key without a name still gets the Tab.
    EXPECT_EQ(MenuItemText("x", 0x4000 | 0x88, false, false), "x\t");
    const KeyNameFunction names = [](std::uint8_t) { return std::string("@"); };
    EXPECT_EQ(MenuItemText("x", 0x40C0, false, false, names), "x\tCtrl+@");
}
