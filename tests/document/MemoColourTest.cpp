// The editor draws its text in the colour of its font (the font dialog can
// choose one).
#include "tests/support/MainFormFixture.h"
#include "tests/support/ProgramText.h"

namespace moke::test {
namespace {

// Pixels of a colour within the editor's client area, as painted.
int CountPixels(HWND window, COLORREF colour) {
    RECT r;
    GetClientRect(window, &r);
    HDC dc = GetDC(window);
    int count = 0;
    for (int y = 0; y < std::min<LONG>(r.bottom, 60); ++y)
        for (int x = 0; x < std::min<LONG>(r.right, 200); ++x)
            if (GetPixel(dc, x, y) == colour) ++count;
    ReleaseDC(window, dc);
    return count;
}

TEST_F(MainFormTest, TextIsDrawnInTheFontColour) {
    TMemo& memo = Form().Memo1;
    memo.Font().SetHeight(-32);
    memo.SetText(W("■■■"));
    constexpr COLORREF red = RGB(255, 0, 0);
    UpdateWindow(memo.Handle());
    Pump();
    EXPECT_EQ(CountPixels(memo.Handle(), red), 0);

    memo.Font().SetColor(red);
    InvalidateRect(memo.Handle(), nullptr, TRUE);
    UpdateWindow(memo.Handle());
    Pump();
    EXPECT_GT(CountPixels(memo.Handle(), red), 50) << "the text is not drawn in the font's colour";

    memo.SetReadOnly(true);
    InvalidateRect(memo.Handle(), nullptr, TRUE);
    UpdateWindow(memo.Handle());
    Pump();
    EXPECT_GT(CountPixels(memo.Handle(), red), 50) << "a read-only editor lost the font's colour";
}

} // namespace
} // namespace moke::test
