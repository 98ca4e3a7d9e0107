#include "app/frame/MessageLayout.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace moke;

namespace moke {
// Found by argument-dependent lookup when a check fails.
std::ostream& operator<<(std::ostream& os, const LayoutRect& r) {
    return os << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
}
} // namespace moke

namespace {

MessageLayoutInput Input(int textWidth, int textHeight, bool hasIcon, std::vector<int> buttons) {
    return {6, 12, textWidth, textHeight, hasIcon, std::move(buttons), 1024, 768, 6, 25};
}
} // namespace

TEST(MessageLayout, MulDivRoundsHalvesAwayFromZero) {
    struct Case {
        int a, b, c, result;
    };
    const Case cases[] = {
        {8, 6, 4, 12},
        {50, 6, 4, 75},
        {14, 12, 8, 21},
        {14, 13, 8, 23}, // 22.75
        {10, 13, 8, 16}, // 16.25
        {1, 1, 2, 1},    // 0.5
        {3, 1, 2, 2},    // 1.5
        {-1, 1, 2, -1},  // -0.5
        {1, -3, 2, -2},  // -1.5
        {-1, -1, 2, 1},
        {1, 1, -2, -1},
        {-5, 1, -2, 3}, // 2.5
        {1, 1, 3, 0},
        {2, 1, 3, 1},
        {-2, 1, 3, -1},
        {0, 5, 7, 0},
        {7, 3, 0, -1},            // division by zero
        {INT_MAX, 2, 2, INT_MAX}, // 64-bit intermediate
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {INT_MIN, 1, 2, INT_MIN / 2},
        {INT_MIN, INT_MIN, INT_MIN, -1}, // result outside int
        {INT_MAX, INT_MAX, 1, -1},
        {INT_MIN, -1, 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + " * " + std::to_string(c.b) + " / " + std::to_string(c.c));
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.result);
    }
}

TEST(MessageLayout, MeasuresFromTheAverageCharacter) {
    const MessageLayout layout = ComputeMessageLayout(Input(100, 12, false, {}));
    EXPECT_EQ(layout.hm, 12);
    EXPECT_EQ(layout.vm, 12);
    EXPECT_EQ(layout.hs, 15);
    EXPECT_EQ(layout.vs, 15);
    EXPECT_EQ(layout.bw, 75);
    EXPECT_EQ(layout.bh, 21);
    EXPECT_EQ(layout.bs, 6);
    const MessageLayout odd = ComputeMessageLayout({7, 13, 100, 13, false, {}, 1024, 768, 6, 25});
    EXPECT_EQ(odd.hm, 14);
    EXPECT_EQ(odd.vm, 13);
    EXPECT_EQ(odd.hs, 18); // 17.5
    EXPECT_EQ(odd.vs, 16); // 16.25
    EXPECT_EQ(odd.bw, 88); // 87.5
    EXPECT_EQ(odd.bh, 23); // 22.75
    EXPECT_EQ(odd.bs, 7);
}

TEST(MessageLayout, ConfirmationWithIcon) {
    const MessageLayout layout = ComputeMessageLayout(Input(200, 30, true, {60, 70, 50}));
    EXPECT_EQ(layout.bw, 75);
    EXPECT_EQ(layout.clientWidth, 271); // 200 + 32 + 15, plus 2 * 12
    EXPECT_EQ(layout.clientHeight, 92); // max(30, 32) + 21 + 15 + 2 * 12
    EXPECT_EQ(layout.window, (LayoutRect{374, 326, 277, 117}));
    EXPECT_EQ(layout.icon, (LayoutRect{12, 12, 32, 32}));
    EXPECT_EQ(layout.text, (LayoutRect{59, 12, 200, 30}));
    ASSERT_EQ(layout.buttons.size(), 3u);
    EXPECT_EQ(layout.buttons[0], (LayoutRect{17, 59, 75, 21})); // (271 - 237) div 2
    EXPECT_EQ(layout.buttons[1], (LayoutRect{98, 59, 75, 21}));
    EXPECT_EQ(layout.buttons[2], (LayoutRect{179, 59, 75, 21}));
}

TEST(MessageLayout, ConfirmationWithoutIconTakesTheButtonRowWidth) {
    const MessageLayout layout = ComputeMessageLayout(Input(200, 30, false, {60, 70, 50}));
    EXPECT_EQ(layout.clientWidth, 261); // 3 * 75 + 2 * 6, plus 2 * 12
    EXPECT_EQ(layout.clientHeight, 90);
    EXPECT_EQ(layout.window, (LayoutRect{379, 327, 267, 115}));
    EXPECT_EQ(layout.icon, (LayoutRect{0, 0, 0, 0}));
    EXPECT_EQ(layout.text, (LayoutRect{12, 12, 200, 30}));
    ASSERT_EQ(layout.buttons.size(), 3u);
    EXPECT_EQ(layout.buttons[0], (LayoutRect{12, 57, 75, 21}));
    EXPECT_EQ(layout.buttons[2], (LayoutRect{174, 57, 75, 21}));
}

TEST(MessageLayout, TallTextPushesTheButtonsDown) {
    const MessageLayout layout = ComputeMessageLayout(Input(200, 60, true, {40}));
    EXPECT_EQ(layout.clientHeight, 60 + 21 + 15 + 24);
    ASSERT_EQ(layout.buttons.size(), 1u);
    EXPECT_EQ(layout.buttons[0], (LayoutRect{98, 87, 75, 21})); // (271 - 75) div 2
}

TEST(MessageLayout, NoButtons) {
    const MessageLayout layout = ComputeMessageLayout(Input(100, 14, false, {}));
    EXPECT_TRUE(layout.buttons.empty());
    EXPECT_EQ(layout.clientWidth, 124);
    EXPECT_EQ(layout.clientHeight, 74);
    EXPECT_EQ(layout.window, (LayoutRect{512 - 65, 384 - 49, 130, 99}));
}

TEST(MessageLayout, WideCaptionWidensEveryButton) {
    const MessageLayout layout = ComputeMessageLayout(Input(200, 30, true, {60, 120, 50}));
    EXPECT_EQ(layout.bw, 120);
    EXPECT_EQ(layout.clientWidth, 396); // 3 * 120 + 2 * 6 + 24
    ASSERT_EQ(layout.buttons.size(), 3u);
    EXPECT_EQ(layout.buttons[0], (LayoutRect{12, 59, 120, 21}));
    EXPECT_EQ(layout.buttons[1], (LayoutRect{138, 59, 120, 21}));
    EXPECT_EQ(layout.buttons[2], (LayoutRect{264, 59, 120, 21}));
    EXPECT_EQ(layout.text.left, 59); // the text stays beside the icon
}

TEST(MessageLayout, TextWiderThanHalfTheScreen) {
    EXPECT_EQ(MessageTextWrapWidth(1024), 512);
    EXPECT_EQ(MessageTextWrapWidth(1023), 511);
    // One long word measured 700 wide on an 800-pixel screen (wrap width 400).
    MessageLayoutInput input = Input(700, 12, true, {40});
    input.screenWidth = 800;
    input.screenHeight = 600;
    const MessageLayout layout = ComputeMessageLayout(input);
    EXPECT_EQ(layout.clientWidth, 700 + 32 + 15 + 24);
    EXPECT_EQ(layout.window.width, 777);
    EXPECT_EQ(layout.window.left, 400 - 388);
    // Wider than the screen: the box starts left of it, as centring gives.
    input.textWidth = 900;
    EXPECT_EQ(ComputeMessageLayout(input).window.left, 400 - 488);
}

TEST(MessageLayout, ButtonTable) {
    const auto kinds = MessageButtonKinds();
    ASSERT_EQ(kinds.size(), 11u);
    const char* names[] = {"Yes",    "No",  "OK",      "Cancel",   "Abort", "Retry",
                           "Ignore", "All", "NoToAll", "YesToAll", "Help"};
    const char* captions[] = {"はい(&Y)",         "いいえ(&N)",     "OK",       "ｷｬﾝｾﾙ",
                              "中止(&A)",         "再試行(&R)",     "無視(&I)", "すべて",
                              "すべていいえ(&O)", "すべてはい(&E)", "ﾍﾙﾌﾟ(&H)"};
    const int results[] = {6, 7, 1, 2, 3, 4, 5, 8, 9, 10, 0};
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(kinds[i].bit, 1u << i);
        EXPECT_STREQ(kinds[i].name, names[i]);
        EXPECT_STREQ(kinds[i].caption, captions[i]);
        EXPECT_EQ(kinds[i].result, results[i]);
    }
    EXPECT_STREQ(kinds[3].caption, "\xB7\xAC\xDD\xBE\xD9"); // half-width, one byte each
    EXPECT_EQ(mrYes, 6);
    EXPECT_EQ(mrNo, 7);
    EXPECT_EQ(mrOk, 1);
    EXPECT_EQ(mrCancel, 2);
    EXPECT_EQ(mrYesToAll, 10);
}

TEST(MessageLayout, DefaultAndCancelButtons) {
    struct Case {
        unsigned set;
        int defaultBit, cancelBit;
    };
    const Case cases[] = {
        {mbYes | mbNo | mbCancel, mbYes, mbCancel},
        {mbOK, mbOK, mbOK},
        {mbOK | mbYes | mbCancel, mbOK, mbCancel},
        {mbYes | mbNo, mbYes, mbNo},
        {mbOK | mbNo, mbOK, mbNo},
        {mbAbort | mbRetry | mbIgnore, mbRetry, 0},
        {mbRetry | mbCancel, mbRetry, mbCancel},
        {mbNo | mbCancel, 0, mbCancel},
        {mbYes, mbYes, 0},
        {mbHelp, 0, 0},
        {0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set);
        EXPECT_EQ(DefaultButtonBit(c.set), c.defaultBit);
        EXPECT_EQ(CancelButtonBit(c.set), c.cancelBit);
    }
}

TEST(MessageLayout, Kinds) {
    struct Case {
        int code;
        const char* caption;
        int icon;
    };
    const Case cases[] = {{0, "警告", 32515}, {1, "ｴﾗｰ", 32513}, {2, "情報", 32516}, {3, "確認", 32514}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_STREQ(MessageKind(c.code).caption, c.caption);
        EXPECT_EQ(MessageKind(c.code).stockIcon, c.icon);
    }
    for (int code : {4, 5, -1}) {
        EXPECT_EQ(MessageKind(code).caption, nullptr) << code;
        EXPECT_EQ(MessageKind(code).stockIcon, 0) << code;
    }
}
