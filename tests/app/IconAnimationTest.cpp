// The animated icon on the real main window: ticks delivered through the
// timer's own window show frames A, A, B, A (images 6 and 8 of ImageList1,
// compared by their pixels and masks) on the main window and on the
// application window; the real timer keeps the animation going while a
// message box or the About box is up; a failing tick is reported and the
// next one runs.
#include "app/frame/Failure.h"
#include "app/frame/Menus.h"
#include "app/frame/MessageBox.h"
#include "app/frame/Timer.h"
#include "tests/support/IconPixels.h"
#include "tests/support/Later.h"
#include "tests/support/MainFormFixture.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace moke::test {
namespace {

using namespace std::chrono_literals;

HICON HeldIcon(HWND window, WPARAM which = ICON_BIG) {
    return reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, which, 0));
}

// Records the WM_TIMER messages taken from this thread's queue.
class TimerMessages {
  public:
    struct Taken {
        HWND window;
        WPARAM id;
    };
    TimerMessages() {
        current = this;
        hook_ = SetWindowsHookExA(WH_GETMESSAGE, &TimerMessages::Hook, nullptr, GetCurrentThreadId());
    }
    ~TimerMessages() {
        UnhookWindowsHookEx(hook_);
        current = nullptr;
    }
    TimerMessages(const TimerMessages&) = delete;
    TimerMessages& operator=(const TimerMessages&) = delete;

    std::vector<Taken> For(HWND window) const {
        std::vector<Taken> found;
        for (const Taken& t : taken_)
            if (t.window == window) found.push_back(t);
        return found;
    }
    void Clear() { taken_.clear(); }

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && wParam == PM_REMOVE && current) {
            const auto* message = reinterpret_cast<const MSG*>(lParam);
            if (message->message == WM_TIMER)
                current->taken_.push_back(Taken{message->hwnd, message->wParam});
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline TimerMessages* current = nullptr;
    HHOOK hook_ = nullptr;
    std::vector<Taken> taken_;
};

// Records the icons handed over with WM_SETICON to windows of this thread.
class SetIconLog {
  public:
    struct Entry {
        HWND window;
        WPARAM which;
        HICON icon;
    };
    SetIconLog() {
        current = this;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &SetIconLog::Hook, nullptr, GetCurrentThreadId());
    }
    ~SetIconLog() {
        UnhookWindowsHookEx(hook_);
        current = nullptr;
    }
    SetIconLog(const SetIconLog&) = delete;
    SetIconLog& operator=(const SetIconLog&) = delete;
    const std::vector<Entry>& Entries() const { return entries_; }
    void Clear() { entries_.clear(); }

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && current) {
            const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
            if (sent->message == WM_SETICON)
                current->entries_.push_back(
                    Entry{sent->hwnd, sent->wParam, reinterpret_cast<HICON>(sent->lParam)});
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline SetIconLog* current = nullptr;
    HHOOK hook_ = nullptr;
    std::vector<Entry> entries_;
};

class IconAnimationTest : public MainFormTest {
  protected:
    void SetUp() override {
        MainFormTest::SetUp();
        HIMAGELIST images = Form().ImageList1.Handle();
        ASSERT_NE(images, nullptr);
        ASSERT_GE(ImageList_GetImageCount(images), 9);
        HICON a = ImageList_GetIcon(images, 6, ILD_NORMAL);
        HICON b = ImageList_GetIcon(images, 8, ILD_NORMAL);
        frameA = PictureOf(a);
        frameB = PictureOf(b);
        DestroyIcon(a);
        DestroyIcon(b);
        ASSERT_EQ(frameA.width, 16);
        ASSERT_EQ(frameA.height, 16);
        ASSERT_NE(frameA, frameB) << "the two frames must differ to be told apart";
    }

    // Frame shown by a window: 'A', 'B', or '?' for anything else.
    char FrameOf(HWND window) const {
        const IconPicture held = PictureOf(HeldIcon(window));
        if (held == frameA) return 'A';
        if (held == frameB) return 'B';
        return '?';
    }
    char FrameOf(HICON icon) const {
        const IconPicture held = PictureOf(icon);
        if (held == frameA) return 'A';
        if (held == frameB) return 'B';
        return '?';
    }

    // The frames handed to a window, in order; every one as the large icon.
    std::vector<char> FramesSent(const SetIconLog& log, HWND window) const {
        std::vector<char> frames;
        for (const auto& entry : log.Entries()) {
            if (entry.window != window) continue;
            EXPECT_EQ(entry.which, static_cast<WPARAM>(ICON_BIG));
            frames.push_back(FrameOf(entry.icon));
        }
        return frames;
    }

    // One tick through the timer's own window, as the platform delivers it.
    void Tick() { SendMessageA(Form().Timer1.Handle(), WM_TIMER, 1, 0); }

    IconPicture frameA, frameB;
};

// --- Frames per tick ----------------------------------------------------------

TEST_F(IconAnimationTest, TicksShowFramesAABAOnTheWindowAndTheApplicationWindowAndTheCycleRepeats) {
    ASSERT_EQ(Form().IconPhase(), 0) << "a tick ran before the test";
    HWND main = Form().Handle();
    HWND app = Application().Handle();
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(FrameOf(main), '?') << "the design-time icon until the first tick";

    SetIconLog sent;
    const char expected[] = {'A', 'A', 'B', 'A', 'A', 'B'};
    const int phases[] = {1, 2, 0, 1, 2, 0};
    for (int tick = 0; tick < 6; ++tick) {
        Tick();
        SCOPED_TRACE("tick " + std::to_string(tick + 1));
        EXPECT_EQ(Form().IconPhase(), phases[tick]);
        EXPECT_EQ(FrameOf(main), expected[tick]);
        EXPECT_EQ(FrameOf(app), expected[tick]);
        EXPECT_EQ(FrameOf(Application().Icon()), expected[tick]);
    }
    // Delivered as the large icon to both windows; the small one is never set.
    const auto toMain = FramesSent(sent, main);
    const auto toApp = FramesSent(sent, app);
    EXPECT_EQ(toApp, std::vector<char>(std::begin(expected), std::end(expected)))
        << "the application icon follows every tick";
    EXPECT_GE(toMain.size(), 4u);
    EXPECT_EQ(sent.Entries().size(), toMain.size() + toApp.size()) << "no other window is given an icon";
}

TEST_F(IconAnimationTest, FramesAreTheImagesWithTheirMasksSoMaskedPixelsStayTransparent) {
    Tick();
    HICON held = HeldIcon(Form().Handle());
    ASSERT_NE(held, nullptr);
    HIMAGELIST images = Form().ImageList1.Handle();
    constexpr COLORREF background = RGB(0, 128, 255);
    const auto shown =
        Drawn(16, 16, background, [&](HDC dc) { DrawIconEx(dc, 0, 0, held, 16, 16, 0, nullptr, DI_NORMAL); });
    const auto image =
        Drawn(16, 16, background, [&](HDC dc) { ImageList_Draw(images, 6, dc, 0, 0, ILD_NORMAL); });
    EXPECT_EQ(shown, image);
    const auto keep = [](std::uint32_t p) { return p & 0xFFFFFF; };
    const auto transparent = std::count_if(shown.begin(), shown.end(),
                                           [&](std::uint32_t p) { return keep(p) == PixelOf(background); });
    EXPECT_GT(transparent, 0) << "masked pixels let the background through";
    EXPECT_LT(transparent, 256) << "the character itself is drawn";
    const auto maskColour = std::count_if(
        shown.begin(), shown.end(), [&](std::uint32_t p) { return keep(p) == PixelOf(RGB(255, 0, 255)); });
    EXPECT_EQ(maskColour, 0) << "the strip's mask colour never shows";
}

// --- The real timer -----------------------------------------------------------

TEST_F(IconAnimationTest, Timer1TicksEverySecondAsTimerOneOfItsOwnHiddenWindow) {
    EXPECT_TRUE(Form().Timer1.Enabled());
    EXPECT_EQ(Form().Timer1.Interval(), 1000u);
    HWND own = Form().Timer1.Handle();
    ASSERT_NE(own, nullptr);
    EXPECT_NE(own, Form().Handle());
    EXPECT_FALSE(IsWindowVisible(own));
    EXPECT_NE(GetAncestor(own, GA_PARENT), GetDesktopWindow()) << "a message-only window";

    TimerMessages timers;
    PumpFor(2600ms);
    const auto taken = timers.For(own);
    EXPECT_GE(taken.size(), 1u);
    EXPECT_LE(taken.size(), 4u);
    for (const auto& t : taken)
        EXPECT_EQ(t.id, 1u);
    EXPECT_TRUE(timers.For(Form().Handle()).empty()) << "the main window runs no timer of its own";
    EXPECT_NE(FrameOf(Form().Handle()), '?') << "the animation has started";
}

// While a modal box of either kind is up (answered later from inside its own
// loop), the real timer goes on changing both icons.
TEST_F(IconAnimationTest, AnimationGoesOnWhileAMessageBoxIsUp) {
    HWND main = Form().Handle();
    HWND app = Application().Handle();
    SetIconLog icons;
    std::unique_ptr<Later> answerLater;
    ModalAnswerer answerer;
    answerer.Expect("TMessageForm", [&](HWND box) {
        icons.Clear();
        answerLater =
            std::make_unique<Later>(3600ms, [box] { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); });
    });
    EXPECT_EQ(ShowMessageBox("アイコンの確認", mtInformation, 4), 2);
    ASSERT_TRUE(answerer.Done());
    ASSERT_TRUE(answerLater && answerLater->Ran());
    const auto appFrames = FramesSent(icons, app);
    const auto mainFrames = FramesSent(icons, main);
    EXPECT_GE(appFrames.size(), 3u) << "about one tick a second reached the application window";
    EXPECT_NE(std::find(appFrames.begin(), appFrames.end(), 'A'), appFrames.end());
    EXPECT_NE(std::find(appFrames.begin(), appFrames.end(), 'B'), appFrames.end());
    EXPECT_NE(std::find(mainFrames.begin(), mainFrames.end(), 'A'), mainFrames.end());
    EXPECT_NE(std::find(mainFrames.begin(), mainFrames.end(), 'B'), mainFrames.end());
}

TEST_F(IconAnimationTest, AnimationGoesOnWhileTheAboutBoxIsUpAndTheBoxTakesNoIcon) {
    HWND main = Form().Handle();
    HWND app = Application().Handle();
    SetIconLog icons;
    std::unique_ptr<Later> answerLater;
    HWND about = nullptr;
    HICON aboutIcon = nullptr;
    ModalAnswerer answerer;
    answerer.Expect("TAboutDlg", [&](HWND box) {
        icons.Clear();
        about = box;
        answerLater = std::make_unique<Later>(3600ms, [&, box] {
            aboutIcon = HeldIcon(box);
            PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
    });
    auto* item = dynamic_cast<TMenuItem*>(Form().FindComponent("About1"));
    ASSERT_NE(item, nullptr);
    SendMessageA(main, WM_COMMAND, item->Command(), 0);
    ASSERT_TRUE(answerer.Done());
    ASSERT_TRUE(answerLater && answerLater->Ran());
    const auto appFrames = FramesSent(icons, app);
    const auto mainFrames = FramesSent(icons, main);
    EXPECT_GE(appFrames.size(), 3u);
    EXPECT_NE(std::find(appFrames.begin(), appFrames.end(), 'A'), appFrames.end());
    EXPECT_NE(std::find(appFrames.begin(), appFrames.end(), 'B'), appFrames.end());
    EXPECT_NE(std::find(mainFrames.begin(), mainFrames.end(), 'B'), mainFrames.end());
    EXPECT_TRUE(FramesSent(icons, about).empty()) << "a box with the dialog border takes no icon";
    EXPECT_EQ(aboutIcon, nullptr);
}

// --- Failures -----------------------------------------------------------------

TEST_F(IconAnimationTest, FailureInsideATickIsReportedAndTheNextTickRuns) {
    // Ticks come from the test alone here: none of the real timer's arrives
    // while the error box is up.
    Form().Timer1.SetEnabled(false);
    bool failNext = true;
    Form().Timer1.SetOnTimer([&](TObject& sender) {
        if (failNext) {
            failNext = false;
            throw Failure("アイコンを更新できません");
        }
        Form().Timer1Timer(sender);
    });
    ModalAnswerer answerer;
    answerer.Expect("#32770", ModalAnswerer::Key(VK_RETURN));
    Tick();
    ASSERT_TRUE(answerer.Done()) << "the failure was not reported";
    const auto& box = answerer.Answered()[0];
    EXPECT_EQ(box.caption, Application().Title());
    EXPECT_EQ(box.text.rfind("アイコンを更新できません", 0), 0u) << Utf8(box.text);
    EXPECT_EQ(box.owner, Application().Handle());
    EXPECT_EQ(Form().IconPhase(), 0);
    Tick();
    EXPECT_EQ(Form().IconPhase(), 1);
    EXPECT_EQ(FrameOf(Form().Handle()), 'A');
    EXPECT_EQ(FrameOf(Application().Handle()), 'A');
}

} // namespace
} // namespace moke::test
