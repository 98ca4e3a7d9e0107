// Tool tips on the real main window: the tip window, the show, quick and hide
// pauses of the one timer, placement, every cancel trigger and the state
// table. Pauses are read from the armed timer and their expiry is delivered
// as the timer message the platform would send, so no test sleeps on a wall
// clock except the one that proves the platform timer itself.
#include "app/frame/HintWindow.h"
#include "app/frame/StdCtrls.h"
#include "tests/support/MainFormFixture.h"
#include "tests/support/Pointer.h"
#include "tests/support/WindowSpy.h"

#include <atomic>
#include <memory>
#include <thread>

namespace moke::test {
namespace {

using Mode = TToolTips::TimerMode;

RECT ScreenBounds(const TControl& control) {
    const POINT origin = control.ClientToScreen(POINT{0, 0});
    return RECT{origin.x, origin.y, origin.x + control.Width(), origin.y + control.Height()};
}
RECT WindowBounds(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}
// The font the tip window draws with.
std::string TipFontFace() {
    TWinControl* tip = TWinControl::FromHandle(ToolTips().Window());
    return tip ? tip->Font().Name() : std::string("<no tip window>");
}
std::string StatusFontFace() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return {};
    char face[LF_FACESIZE * 2] = {};
    WideCharToMultiByte(932, 0, metrics.lfStatusFont.lfFaceName, -1, face, sizeof face, nullptr, nullptr);
    return face;
}

class ToolTipsTest : public MainFormTest {
  protected:
    void TearDown() override {
        ParkPointer();
        MainFormTest::TearDown();
    }
    TToolTips& Tips() { return ToolTips(); }

    // The pointer moves onto a point: the cursor is there and the window
    // under it takes the movement from the queue. The armed timer is then
    // stopped so that its pause can be read and its expiry delivered here.
    void MoveTo(POINT screen) {
        ASSERT_TRUE(PlacePointer(screen, [this] { Freeze(); }));
        HWND window = WindowFromPoint(screen);
        POINT client = screen;
        ScreenToClient(window, &client);
        TakenMessageCount expiries(Tips().Window(), WM_TIMER);
        PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
        Application().ProcessMessages();
        Freeze();
        ASSERT_EQ(expiries.Count(), 0) << "the machine was too slow to read the armed pause";
    }
    void MoveOnto(const char* name) { MoveTo(Middle(Control(name))); }
    void Freeze() {
        if (Tips().Window()) KillTimer(Tips().Window(), 1);
    }
    // The expiry of the tip timer, as the platform delivers it.
    void Expire() {
        SendMessageA(Tips().Window(), WM_TIMER, 1, 0);
        Freeze();
    }
    void ShowTipOn(const char* name) {
        MoveOnto(name);
        Expire();
        ASSERT_TRUE(Tips().Showing()) << name;
    }
    void ExpectWaiting(TControl& control, unsigned pause) {
        EXPECT_EQ(Tips().HintControl(), &control);
        EXPECT_EQ(Tips().Mode(), Mode::Show);
        EXPECT_EQ(Tips().Pause(), pause);
        EXPECT_FALSE(Tips().Showing());
    }
    void ExpectIdle() {
        EXPECT_EQ(Tips().HintControl(), nullptr);
        EXPECT_EQ(Tips().Mode(), Mode::Stopped);
        EXPECT_FALSE(Tips().Active());
        EXPECT_FALSE(Tips().Showing());
    }
};

TEST_F(ToolTipsTest, TheTipWindowIsAToolWindowThatNeverTakesTheMouseOrTheActivation) {
    ASSERT_TRUE(Tips().Enabled()) << "tips are on from the frame's initialisation";
    HWND tip = Tips().Window();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(ClassName(tip), "THintWindow");
    EXPECT_TRUE(GetWindowLongPtrA(tip, GWL_STYLE) & WS_POPUP);
    EXPECT_TRUE(GetWindowLongPtrA(tip, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(GetClassLongPtrA(tip, GCL_STYLE) & CS_SAVEBITS);
    EXPECT_EQ(SendMessageA(tip, WM_NCHITTEST, 0, MAKELPARAM(1, 1)), HTTRANSPARENT);
    EXPECT_EQ(TipFontFace(), StatusFontFace()) << "the status font of the non-client metrics";
    EXPECT_EQ(Tips().Color(), GetSysColor(COLOR_INFOBK));

    ShowTipOn("ToolButton1");
    EXPECT_EQ(GetActiveWindow(), Form().Handle()) << "showing the tip does not activate it";
    EXPECT_TRUE(GetWindowLongPtrA(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT client{};
    GetClientRect(tip, &client);
    const RECT frame = WindowBounds(tip);
    EXPECT_EQ(frame.right - frame.left, client.right + 2) << "a one-pixel border";
    EXPECT_EQ(frame.bottom - frame.top, client.bottom + 2);
    UpdateWindow(tip);
    HDC dc = GetDC(tip);
    EXPECT_EQ(GetPixel(dc, client.right - 1, client.bottom - 1), GetSysColor(COLOR_INFOBK))
        << "the hint colour";
    ReleaseDC(tip, dc);

    // The tip window follows the switch.
    Tips().SetEnabled(false);
    EXPECT_EQ(Tips().Window(), nullptr);
    EXPECT_FALSE(IsWindow(tip));
    ExpectIdle();
    Tips().SetEnabled(true);
    ASSERT_NE(Tips().Window(), nullptr);
    EXPECT_EQ(ClassName(Tips().Window()), "THintWindow");
}

TEST_F(ToolTipsTest, ShowHintIsInheritedFromTheParentUntilSetOnTheControl) {
    EXPECT_TRUE(Control("ToolBar1").ShowHint());
    EXPECT_FALSE(Control("ToolBar1").ParentShowHint());
    EXPECT_TRUE(Control("ToolButton1").ShowHint());
    EXPECT_TRUE(Control("ToolButton4").ShowHint()) << "separators inherit too";
    EXPECT_TRUE(Control("ComboBox1").ShowHint());
    EXPECT_FALSE(Control("CoolBar1").ShowHint());
    EXPECT_FALSE(Control("Memo1").ShowHint());
    EXPECT_FALSE(Control("StatusBar").ShowHint());

    TForm form(&Application(), "TShowHintTestForm");
    form.SetShowHint(true);
    auto& bar = form.Make<TToolBar>();
    auto& button = form.Make<TToolButton>();
    auto& other = form.Make<TToolButton>();
    EXPECT_FALSE(bar.ShowHint());
    bar.SetParent(&form);
    EXPECT_TRUE(bar.ShowHint()) << "copied when placed in the parent";
    bar.AddButton(button);
    bar.AddButton(other);
    EXPECT_TRUE(button.ShowHint());

    form.SetShowHint(false);
    EXPECT_FALSE(bar.ShowHint());
    EXPECT_FALSE(button.ShowHint()) << "through every level that inherits";

    other.SetShowHint(false);
    EXPECT_TRUE(other.ParentShowHint()) << "the same value changes nothing";
    other.SetShowHint(true);
    EXPECT_FALSE(other.ParentShowHint()) << "a different value ends the inheritance";
    form.SetShowHint(true);
    form.SetShowHint(false);
    EXPECT_TRUE(other.ShowHint());
    EXPECT_FALSE(button.ShowHint());

    form.SetShowHint(true);
    other.SetShowHint(false);
    other.SetParentShowHint(true);
    EXPECT_TRUE(other.ShowHint()) << "inheriting again copies the parent's value at once";
}

TEST_F(ToolTipsTest, ATipWaitsShowsHidesAndTheNextComesQuickly) {
    TControl& first = Control("ToolButton1");
    MoveOnto("ToolButton1");
    ExpectWaiting(first, 500);
    EXPECT_FALSE(Tips().Active());

    const POINT p = Middle(first);
    const int offset = TToolTips::CursorOffset();
    Expire();
    ASSERT_TRUE(Tips().Showing());
    EXPECT_EQ(Tips().Text(), "新規作成");
    EXPECT_TRUE(Tips().Active());
    EXPECT_EQ(Tips().Mode(), Mode::Hide);
    EXPECT_EQ(Tips().Pause(), 2500u);
    EXPECT_EQ(Tips().TipRect(), ScreenBounds(first));
    const RECT shown = WindowBounds(Tips().Window());
    EXPECT_EQ(shown.left, p.x);
    EXPECT_EQ(shown.top, p.y + offset) << "just below the visible part of the cursor";
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, TWinControl::FromHandle(Tips().Window())->Font().Handle());
    RECT extent{0, 0, GetSystemMetrics(SM_CXSCREEN), 0};
    DrawTextW(dc, L"新規作成", -1, &extent, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(shown.right - shown.left, extent.right + 6);
    EXPECT_EQ(shown.bottom - shown.top, extent.bottom + 6);
    Application().RunIdlePass();
    EXPECT_EQ(Application().Hint(), "新規作成") << "the status bar shows the hint as well";

    MoveTo(POINT{p.x + 3, p.y + 2});
    EXPECT_TRUE(Tips().Showing()) << "moving within the button leaves the tip alone";
    EXPECT_EQ(Tips().Mode(), Mode::Hide);

    Expire();
    EXPECT_FALSE(Tips().Showing()) << "hidden after the hide pause";
    EXPECT_EQ(Tips().HintControl(), &first);
    EXPECT_TRUE(Tips().Active());
    EXPECT_EQ(Tips().Mode(), Mode::Stopped);
    MoveTo(POINT{p.x - 3, p.y - 2});
    EXPECT_FALSE(Tips().Showing()) << "a timed-out tip does not come back on the same button";
    EXPECT_EQ(Tips().Mode(), Mode::Stopped);
}

TEST_F(ToolTipsTest, MovingWhileATipIsAwaitedStartsTheWaitAgain) {
    MoveOnto("ToolButton1");
    ExpectWaiting(Control("ToolButton1"), 500);
    MoveOnto("ToolButton2");
    ExpectWaiting(Control("ToolButton2"), 500); // no tip was shown: the full pause
    const POINT p = Middle(Control("ToolButton2"));
    MoveTo(POINT{p.x + 4, p.y});
    ExpectWaiting(Control("ToolButton2"), 500);
    Expire();
    EXPECT_EQ(Tips().Text(), "開く");
}

TEST_F(ToolTipsTest, TheNextButtonsTipComesAfterTheQuickPause) {
    ShowTipOn("ToolButton1");
    MoveOnto("ToolButton2");
    ExpectWaiting(Control("ToolButton2"), 50);
    EXPECT_TRUE(Tips().Active()) << "the flag survives the move";
    Expire();
    EXPECT_TRUE(Tips().Showing());
    EXPECT_EQ(Tips().Text(), "開く");

    Expire(); // timed out
    MoveOnto("ToolButton3");
    ExpectWaiting(Control("ToolButton3"), 50);
    Expire();
    EXPECT_EQ(Tips().Text(), "保存");
}

TEST_F(ToolTipsTest, ASeparatorShowsNoTipAndTheNextButtonWaitsTheFullPause) {
    ShowTipOn("ToolButton3");
    MoveOnto("ToolButton4");
    ExpectWaiting(Control("ToolButton4"), 50);
    Application().RunIdlePass();
    EXPECT_FALSE(Form().StatusBar.SimplePanel()) << "the bar is back in panel mode";
    Expire();
    ExpectIdle();
    MoveOnto("ToolButton5");
    ExpectWaiting(Control("ToolButton5"), 500);
}

TEST_F(ToolTipsTest, ControlsWithoutAHintOrWithoutTipsShowNone) {
    MoveOnto("ComboBox1");
    ExpectWaiting(Form().ComboBox1, 500); // it inherits ShowHint from its tool bar
    Expire();
    ExpectIdle();

    ShowTipOn("ToolButton1");
    MoveOnto("Memo1");
    ExpectIdle();

    ShowTipOn("ToolButton1");
    Control("ToolButton1").SetHint("|長いヒントだけ");
    MoveOnto("ToolButton2");
    MoveOnto("ToolButton1");
    Expire();
    ExpectIdle();
    Application().RunIdlePass();
    EXPECT_EQ(Application().Hint(), "長いヒントだけ") << "no tip, but the status text";

    Control("ToolButton1").SetHint("短い|長い");
    MoveOnto("ToolButton2");
    MoveOnto("ToolButton1");
    Expire();
    EXPECT_EQ(Tips().Text(), "短い");
}

TEST_F(ToolTipsTest, TheTipTextIsTheFirstHintUpThroughTheParents) {
    Control("ToolBar1").SetHint("バー|バーの説明");
    MoveOnto("ToolButton4");
    ExpectWaiting(Control("ToolButton4"), 500);
    Expire();
    ASSERT_TRUE(Tips().Showing()) << "a separator shows its tool bar's hint";
    EXPECT_EQ(Tips().Text(), "バー");
    EXPECT_EQ(Tips().TipRect(), ScreenBounds(Control("ToolButton4"))) << "the bounds of the hint control";
    Application().RunIdlePass();
    EXPECT_EQ(Application().Hint(), "バーの説明");
    MoveOnto("ToolButton5");
    Expire();
    EXPECT_EQ(Tips().Text(), "切り取り") << "a button's own hint comes first";
}

TEST_F(ToolTipsTest, EveryCancelTriggerRemovesTheTip) {
    HWND main = Form().Handle();
    struct Trigger {
        const char* name;
        UINT msg;
        WPARAM wParam;
    };
    const Trigger triggers[] = {
        {"WM_KEYDOWN", WM_KEYDOWN, VK_SHIFT},
        {"WM_KEYUP", WM_KEYUP, VK_SHIFT},
        {"WM_CHAR", WM_CHAR, 0},
        {"WM_SYSKEYUP", WM_SYSKEYUP, VK_SHIFT},
        {"WM_SYSDEADCHAR", WM_SYSDEADCHAR, 0},
        {"0x108", 0x108, 0},
        {"WM_LBUTTONDOWN", WM_LBUTTONDOWN, 0},
        {"WM_RBUTTONUP", WM_RBUTTONUP, 0},
        {"WM_MBUTTONDBLCLK", WM_MBUTTONDBLCLK, 0},
        {"WM_MOUSEWHEEL", WM_MOUSEWHEEL, 0},
        {"WM_NCMOUSEMOVE", WM_NCMOUSEMOVE, HTCAPTION},
        {"WM_COMMAND", WM_COMMAND, 0},
    };
    for (const Trigger& trigger : triggers) {
        SCOPED_TRACE(trigger.name);
        ShowTipOn("ToolButton1");
        PostMessageA(main, trigger.msg, trigger.wParam, MAKELPARAM(-5, -5));
        Pump();
        ExpectIdle();
    }

    ShowTipOn("ToolButton1");
    SendMessageA(Application().Handle(), WM_ACTIVATEAPP, FALSE, 0);
    Pump();
    ExpectIdle(); // switching to another program

    ShowTipOn("ToolButton1");
    SendMessageA(Application().Handle(), WM_ACTIVATEAPP, TRUE, 0);
    Pump();
    ExpectIdle(); // and back

    ShowTipOn("ToolButton1");
    PostMessageA(main, WM_NULL, 0, 0);
    PostMessageA(main, WM_TIMER + 0x1000, 0, 0);
    Pump();
    EXPECT_TRUE(Tips().Showing()) << "other messages leave the tip alone";

    PostKey(Form().Memo1.Handle(), VK_SHIFT);
    ExpectIdle();
    MoveOnto("ToolButton2");
    ExpectWaiting(Control("ToolButton2"), 500); // a fresh rest is needed after a cancel
}

TEST_F(ToolTipsTest, TheIdlePassCancelsWhenThePointerLeavesTheProgram) {
    RECT frame = WindowBounds(Form().Handle());
    const POINT outside{std::min<LONG>(frame.right + 20, GetSystemMetrics(SM_CXSCREEN) - 2),
                        std::min<LONG>(frame.bottom + 20, GetSystemMetrics(SM_CYSCREEN) - 2)};
    if (ProgramWindowAt(outside)) GTEST_SKIP() << "no point outside the program's windows on this screen";
    ShowTipOn("ToolButton1");
    ASSERT_TRUE(PlacePointer(outside));
    Application().RunIdlePass();
    ExpectIdle();
}

TEST_F(ToolTipsTest, TheCursorOffsetComesFromTheCursorsMask) {
    // A 32x32 cursor: its AND mask shows pixels down to row 20; hot spot row 3.
    const int side = GetSystemMetrics(SM_CXCURSOR);
    ASSERT_EQ(side, GetSystemMetrics(SM_CYCURSOR));
    const int rowBytes = side / 8;
    std::vector<BYTE> andMask(static_cast<size_t>(rowBytes * side), 0xFF), xorMask(andMask.size(), 0x00);
    for (int row = 5; row <= 20; ++row)
        andMask[static_cast<size_t>(row * rowBytes)] = 0x0F;
    HCURSOR shaped =
        CreateCursor(GetModuleHandleA(nullptr), 0, 3, side, side, andMask.data(), xorMask.data());
    ASSERT_NE(shaped, nullptr);
    // Every AND byte 0xFF: the XOR mask below it tells, here down to row 12.
    std::vector<BYTE> clearAnd(andMask.size(), 0xFF), shapedXor(andMask.size(), 0x00);
    for (int row = 2; row <= 12; ++row)
        shapedXor[static_cast<size_t>(row * rowBytes + 1)] = 0xF0;
    HCURSOR inverted =
        CreateCursor(GetModuleHandleA(nullptr), 1, 3, side, side, clearAnd.data(), shapedXor.data());
    ASSERT_NE(inverted, nullptr);

    HCURSOR before = SetCursor(shaped);
    EXPECT_EQ(TToolTips::CursorOffset(), 17);
    SetCursor(inverted);
    EXPECT_EQ(TToolTips::CursorOffset(), 9);

    MoveOnto("ToolButton1");
    SetCursor(shaped);
    const POINT p = Middle(Control("ToolButton1"));
    Expire();
    EXPECT_EQ(WindowBounds(Tips().Window()).top, p.y + 17) << "the tip starts below the cursor's lowest row";

    SetCursor(before);
    DestroyCursor(shaped);
    DestroyCursor(inverted);
}

TEST_F(ToolTipsTest, TheTipIsKeptOnTheScreen) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    TControl& button = Control("ToolButton1");
    // Move the window so that the button's middle is near the bottom-right corner.
    const POINT p = Middle(button);
    const RECT frame = WindowBounds(Form().Handle());
    SetWindowPos(Form().Handle(), nullptr, frame.left + (screenWidth - 6 - p.x),
                 frame.top + (screenHeight - 6 - p.y), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    const POINT corner = Middle(button);
    ASSERT_EQ(corner.x, screenWidth - 6);
    ASSERT_EQ(corner.y, screenHeight - 6);

    ShowTipOn("ToolButton1");
    RECT tip = WindowBounds(Tips().Window());
    EXPECT_EQ(tip.right, screenWidth) << "pushed left to the screen's edge";
    EXPECT_EQ(tip.bottom, screenHeight) << "pushed up to the screen's edge";
    EXPECT_EQ(Tips().TipRect(), ScreenBounds(button));

    button.SetHint(std::string(400, 'x'));
    PostKey(Form().Memo1.Handle(), VK_SHIFT); // the buttons to its right are off the screen now
    MoveOnto("ToolButton1");
    Expire();
    ASSERT_TRUE(Tips().Showing());
    tip = WindowBounds(Tips().Window());
    ASSERT_GT(tip.right - tip.left, screenWidth) << "a tip wider than the screen";
    EXPECT_EQ(tip.left, 0) << "never left of the screen";
}

TEST_F(ToolTipsTest, NoTipWhileAnotherProgramIsActiveYetTheStatusBarFollows) {
    std::atomic<HWND> foreign{nullptr};
    std::atomic<bool> done{false};
    std::thread other([&] {
        HWND window = CreateWindowExA(0, "STATIC", "other program", WS_POPUP | WS_VISIBLE | WS_BORDER, 10, 10,
                                      80, 40, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(window);
        foreign = window;
        while (!done) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
            Sleep(5);
        }
        DestroyWindow(window);
    });
    PumpUntil([&] { return foreign.load() != nullptr && GetActiveWindow() == nullptr; },
              std::chrono::seconds(3));
    const bool otherActive = GetActiveWindow() == nullptr && GetForegroundWindow() == foreign.load();
    if (otherActive) {
        MoveOnto("ToolButton1");
        Expire();
        EXPECT_FALSE(Tips().Showing()) << "no tip while another program is active";
        EXPECT_EQ(Tips().HintControl(), nullptr);
        Application().RunIdlePass();
        EXPECT_EQ(Application().Hint(), "新規作成");
        EXPECT_TRUE(Form().StatusBar.SimplePanel());
    }
    done = true;
    other.join();
    Form().Show();
    Pump();
    if (!otherActive) GTEST_SKIP() << "another thread's window could not be made the active one here";
}

TEST_F(ToolTipsTest, ASettingsChangeRenewsTheTipWindow) {
    MoveOnto("ToolButton1");
    HWND old = Tips().Window();
    SendMessageA(old, WM_WININICHANGE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindow(old));
    ASSERT_NE(Tips().Window(), nullptr);
    EXPECT_NE(Tips().Window(), old);
    EXPECT_TRUE(Tips().Enabled());
    ExpectIdle();
    EXPECT_EQ(TipFontFace(), StatusFontFace());
    ShowTipOn("ToolButton2");
    EXPECT_EQ(Tips().Text(), "開く");
}

TEST_F(ToolTipsTest, ThePlatformTimerDrivesThePauses) {
    const POINT p = Middle(Control("ToolButton1"));
    ASSERT_TRUE(PlacePointer(p, [this] { Freeze(); }));
    HWND window = WindowFromPoint(p);
    POINT client = p;
    ScreenToClient(window, &client);
    TakenMessageCount expiries(Tips().Window(), WM_TIMER);
    const auto start = std::chrono::steady_clock::now();
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    ASSERT_TRUE(PumpUntil([&] { return Tips().Showing(); }, std::chrono::seconds(3)));
    const auto shown = std::chrono::steady_clock::now();
    EXPECT_EQ(expiries.Count(), 1) << "shown by one expiry of the tip timer";
    EXPECT_GE(shown - start, std::chrono::milliseconds(450));
    ASSERT_TRUE(PumpUntil([&] { return !Tips().Showing(); }, std::chrono::seconds(5)));
    EXPECT_EQ(expiries.Count(), 2) << "hidden by the next";
    EXPECT_GE(std::chrono::steady_clock::now() - shown, std::chrono::milliseconds(2400));
    EXPECT_EQ(Tips().HintControl(), &Control("ToolButton1"));
    EXPECT_EQ(Tips().Mode(), Mode::Stopped);
}

} // namespace
} // namespace moke::test
