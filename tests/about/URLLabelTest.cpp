// The link label on a real form: drawn by its parent; the pointer moved for
// real over it, with the idle pass telling it when the mouse enters and
// leaves (capture rules included); presses and releases posted to the
// parent. The colour is checked both as the font colour and as the pixels
// the parent paints.
#include "about/URLLabel.h"

#include "app/frame/Application.h"
#include "app/frame/Forms.h"
#include "shell/ShellLaunch.h"
#include "tests/support/Gui.h"
#include "tests/support/Pointer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace moke::test {
namespace {

constexpr COLORREF kAqua = 0xFFFF00, kRed = 0x0000FF, kBlue = 0xFF0000, kLime = 0x00FF00, kBlack = 0x000000;

class URLLabelTest : public testing::Test {
  protected:
    void SetUp() override {
        SetShellOpenHookForTesting([this](const std::string& target) { opened.push_back(target); });
        form = std::make_unique<TForm>(nullptr, "TURLLabelTestForm");
        form->SetPosition(TPosition::Designed);
        form->SetBounds(150, 150, 420, 220);
        label = &MakeLabel("http://www.example.com/", 40, 40, kBlue);
        other = &MakeLabel("mailto:someone@example.com", 40, 120, kBlack);
        form->Show();
        Pump();
        // The pointer starts well away from the form.
        PointAt(POINT{5, 5});
    }
    void TearDown() override {
        form.reset();
        SetShellOpenHookForTesting({});
        PointAt(POINT{5, 5});
        Pump();
    }

    TURLLabel& MakeLabel(const char* caption, int left, int top, COLORREF colour) {
        auto& made = form->Make<TURLLabel>();
        made.Font().SetName("ＭＳ Ｐゴシック");
        made.Font().SetHeight(-20);
        made.Font().SetStyles(TFont::Bold);
        made.Font().SetColor(colour);
        made.SetCaption(caption);
        made.SetBounds(left, top, made.Width(), made.Height());
        made.SetParent(form.get());
        return made;
    }

    void PointAt(POINT screen) { ASSERT_TRUE(test::PointAt(screen)) << screen.x << "," << screen.y; }
    POINT CentreInForm(const TControl& control) const {
        return POINT{control.Left() + control.Width() / 2, control.Top() + control.Height() / 2};
    }
    // A point of the form's client area outside both labels.
    POINT EmptyInForm() const { return POINT{300, 90}; }
    void MoveOver(const TControl& control) { PointAt(Middle(control)); }
    void MoveToEmptyPart() { PointAt(form->ClientToScreen(EmptyInForm())); }

    void Post(UINT msg, WPARAM keys, POINT client) {
        PostMessageA(form->Handle(), msg, keys, MAKELPARAM(client.x, client.y));
        Pump();
    }

    // Pixels of exactly this colour inside the control's bounds, as painted.
    int PaintedPixels(const TControl& control, COLORREF colour) {
        HWND window = form->Handle();
        UpdateWindow(window);
        HDC dc = GetDC(window);
        int count = 0;
        for (int y = control.Top(); y < control.Top() + control.Height(); ++y)
            for (int x = control.Left(); x < control.Left() + control.Width(); ++x)
                if (GetPixel(dc, x, y) == colour) ++count;
        ReleaseDC(window, dc);
        return count;
    }
    // The colour is the font's, and the caption is painted in it and in no
    // other colour of the label's.
    void ExpectShownIn(const TURLLabel& shown, COLORREF colour, const char* when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(const_cast<TURLLabel&>(shown).Font().Color(), colour);
        EXPECT_GT(PaintedPixels(shown, colour), 0);
        for (COLORREF elsewhere : {kAqua, kRed, kBlue, kLime})
            if (elsewhere != colour) EXPECT_EQ(PaintedPixels(shown, elsewhere), 0) << std::hex << elsewhere;
    }

    std::unique_ptr<TForm> form;
    TURLLabel* label = nullptr;
    TURLLabel* other = nullptr;
    std::vector<std::string> opened;
};

// --- The component ------------------------------------------------------------

TEST_F(URLLabelTest, DefaultsAndNoWindowOfItsOwn) {
    TURLLabel fresh(nullptr);
    EXPECT_TRUE(fresh.HotTrack());
    EXPECT_EQ(fresh.HotColor(), kAqua);
    EXPECT_EQ(fresh.PushedColor(), kRed);
    EXPECT_FALSE(fresh.Executable());
    EXPECT_EQ(fresh.Cursor(), LoadCursorA(nullptr, IDC_HAND));
    EXPECT_FALSE(fresh.IsWindowed());
    EXPECT_TRUE(fresh.StoredProperties().empty());
    // The form shows two labels and has no child window at all.
    EXPECT_EQ(GetWindow(form->Handle(), GW_CHILD), nullptr);
    ExpectShownIn(*label, kBlue, "as built");
}

TEST_F(URLLabelTest, OnlyPropertiesThatDifferFromTheirDefaultsAreStored) {
    TURLLabel l(nullptr);
    l.SetHotTrack(false);
    l.SetHotColor(kLime);
    l.SetPushedColor(kBlue);
    l.SetExecutable(true);
    l.SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(l.StoredProperties(),
              (std::vector<std::string>{"HotTrack", "HotColor", "PushedColor", "Executable", "Cursor"}));
    l.SetHotTrack(true);
    l.SetHotColor(kAqua);
    l.SetPushedColor(kRed);
    l.SetExecutable(false);
    l.SetCursor(LoadCursorA(nullptr, IDC_HAND));
    EXPECT_TRUE(l.StoredProperties().empty());
}

TEST_F(URLLabelTest, ChangingAColourOrHotTrackRepaintsTheLabelAndTheSameValueDoesNothing) {
    HWND window = form->Handle();
    RECT bounds = label->BoundsRect();
    const auto pendingPaint = [&] {
        RECT update{};
        return GetUpdateRect(window, &update, FALSE) != 0;
    };
    const auto settle = [&] { ValidateRect(window, nullptr); };

    settle();
    label->SetHotColor(kAqua);
    label->SetPushedColor(kRed);
    label->SetHotTrack(true);
    EXPECT_FALSE(pendingPaint()) << "the same values change nothing";

    for (int property = 0; property < 3; ++property) {
        SCOPED_TRACE(property);
        settle();
        if (property == 0) label->SetHotColor(kLime);
        if (property == 1) label->SetPushedColor(kBlue);
        if (property == 2) label->SetHotTrack(false);
        RECT update{};
        ASSERT_TRUE(GetUpdateRect(window, &update, FALSE));
        RECT both{};
        EXPECT_TRUE(IntersectRect(&both, &update, &bounds)) << "the label's area is repainted";
    }
    EXPECT_EQ(label->HotColor(), kLime);
    EXPECT_EQ(label->PushedColor(), kBlue);
    EXPECT_FALSE(label->HotTrack());
}

TEST_F(URLLabelTest, HandCursorOverTheLabelOnly) {
    HWND window = form->Handle();
    const auto cursorAt = [&](POINT screen) {
        EXPECT_TRUE(PlacePointer(screen));
        SetCursor(nullptr);
        SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    EXPECT_EQ(cursorAt(Middle(*label)), LoadCursorA(nullptr, IDC_HAND));
    EXPECT_NE(cursorAt(form->ClientToScreen(EmptyInForm())), LoadCursorA(nullptr, IDC_HAND));
}

// --- Colours under the pointer ----------------------------------------------------

TEST_F(URLLabelTest, HoverPressReleaseInsideAndLeave) {
    ExpectShownIn(*label, kBlue, "normal");
    MoveOver(*label);
    EXPECT_EQ(label->NormalColor(), kBlue);
    ExpectShownIn(*label, kAqua, "hovered");
    Post(WM_LBUTTONDOWN, MK_LBUTTON, CentreInForm(*label));
    ExpectShownIn(*label, kRed, "pressed");
    Post(WM_LBUTTONUP, 0, CentreInForm(*label));
    ExpectShownIn(*label, kAqua, "released inside");
    EXPECT_EQ(GetCapture(), nullptr);
    MoveToEmptyPart();
    ExpectShownIn(*label, kBlue, "left");
    // The other label was never under the pointer.
    ExpectShownIn(*other, kBlack, "untouched");
}

TEST_F(URLLabelTest, PressDragOutAndReleaseOutsideEndsInTheNormalColour) {
    MoveOver(*label);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, CentreInForm(*label));
    ExpectShownIn(*label, kRed, "pressed");
    EXPECT_EQ(GetCapture(), form->Handle()) << "the press captures the mouse";
    MoveToEmptyPart();
    ExpectShownIn(*label, kBlue, "dragged out");
    Post(WM_LBUTTONUP, 0, EmptyInForm());
    ExpectShownIn(*label, kBlue, "released outside");
    EXPECT_EQ(GetCapture(), nullptr);
    // Afterwards the label takes the pointer as before.
    MoveOver(*label);
    ExpectShownIn(*label, kAqua, "hovered again");
}

TEST_F(URLLabelTest, CaptureTakenAwayWithoutAReleaseLetsLaterClicksGoWhereTheyAreMade) {
    label->SetExecutable(true);
    MoveOver(*label);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, CentreInForm(*label));
    ASSERT_EQ(opened.size(), 1u);
    ASSERT_EQ(GetCapture(), form->Handle());
    // Another window takes the capture; no release reaches the form.
    TForm thief(nullptr, "TURLLabelThiefForm");
    SetCapture(thief.Handle());
    ReleaseCapture();
    Pump();
    // A click on an empty part of the form opens nothing; one on the other
    // label is the other label's.
    Post(WM_LBUTTONDOWN, MK_LBUTTON, EmptyInForm());
    Post(WM_LBUTTONUP, 0, EmptyInForm());
    EXPECT_EQ(opened.size(), 1u) << "the first label was still taking the clicks";
    other->SetExecutable(true);
    MoveOver(*other);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, CentreInForm(*other));
    Post(WM_LBUTTONUP, 0, CentreInForm(*other));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1], "mailto:someone@example.com");
}

TEST_F(URLLabelTest, WhileCapturedOnlyThePressedLabelHearsThePointer) {
    MoveOver(*label);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, CentreInForm(*label));
    // Over the other label while the first holds the capture: it is not told.
    MoveOver(*other);
    ExpectShownIn(*other, kBlack, "other label under the captured pointer");
    ExpectShownIn(*label, kBlue, "pressed label left");
    // Back over the pressed label: it is told that the mouse came back.
    MoveOver(*label);
    ExpectShownIn(*label, kAqua, "pressed label entered again");
    Post(WM_LBUTTONUP, 0, CentreInForm(*label));
    ExpectShownIn(*label, kAqua, "released inside");
    // Released: the other label hears the pointer again.
    MoveOver(*other);
    EXPECT_EQ(other->Font().Color(), kAqua);
    ExpectShownIn(*label, kBlue, "left after the release");
}

TEST_F(URLLabelTest, RightPressThenReleaseOutsideIsNotSeenByTheLabel) {
    label->SetExecutable(true);
    MoveOver(*label);
    Post(WM_RBUTTONDOWN, MK_RBUTTON, CentreInForm(*label));
    ExpectShownIn(*label, kRed, "right-pressed");
    EXPECT_EQ(opened, std::vector<std::string>{"http://www.example.com/"});
    MoveToEmptyPart();
    ExpectShownIn(*label, kBlue, "left while the right button is down");
    Post(WM_RBUTTONUP, 0, EmptyInForm());
    ExpectShownIn(*label, kBlue, "released outside");
}

TEST_F(URLLabelTest, DisabledLabelIsStillToldThatTheMouseEntered) {
    label->SetEnabled(false);
    MoveOver(*label);
    EXPECT_EQ(label->Font().Color(), kAqua);
    MoveToEmptyPart();
    EXPECT_EQ(label->Font().Color(), kBlue);
}

// --- Opening --------------------------------------------------------------------

TEST_F(URLLabelTest, ExecutableLabelOpensItsCaptionOnThePressOfAnyButton) {
    label->SetExecutable(true);
    MoveOver(*label);
    const POINT at = CentreInForm(*label);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_EQ(opened.size(), 1u) << "on the press, before any release";
    Post(WM_LBUTTONUP, 0, at);
    EXPECT_EQ(opened.size(), 1u) << "not again on the release";
    Post(WM_RBUTTONDOWN, MK_RBUTTON, at);
    Post(WM_RBUTTONUP, 0, at);
    Post(WM_MBUTTONDOWN, MK_MBUTTON, at);
    Post(WM_MBUTTONUP, 0, at);
    EXPECT_EQ(opened.size(), 3u);
    // A double-click: the second press is a press too.
    opened.clear();
    Post(WM_LBUTTONDOWN, MK_LBUTTON, at);
    Post(WM_LBUTTONUP, 0, at);
    Post(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    Post(WM_LBUTTONUP, 0, at);
    EXPECT_EQ(opened, (std::vector<std::string>{"http://www.example.com/", "http://www.example.com/"}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(URLLabelTest, LabelThatIsNotExecutableOpensNothing) {
    MoveOver(*label);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, CentreInForm(*label));
    Post(WM_LBUTTONUP, 0, CentreInForm(*label));
    EXPECT_TRUE(opened.empty());
}

TEST_F(URLLabelTest, WithoutHotTrackTheColourNeverChangesButThePressStillOpens) {
    label->SetHotTrack(false);
    label->SetExecutable(true);
    MoveOver(*label);
    ExpectShownIn(*label, kBlue, "hovered");
    Post(WM_LBUTTONDOWN, MK_LBUTTON, CentreInForm(*label));
    ExpectShownIn(*label, kBlue, "pressed");
    EXPECT_EQ(opened, std::vector<std::string>{"http://www.example.com/"});
    MoveToEmptyPart();
    Post(WM_LBUTTONUP, 0, EmptyInForm());
    ExpectShownIn(*label, kBlue, "released outside");
    MoveOver(*label);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, CentreInForm(*label));
    Post(WM_LBUTTONUP, 0, CentreInForm(*label));
    ExpectShownIn(*label, kBlue, "released inside");
    EXPECT_EQ(opened.size(), 2u);
}

TEST_F(URLLabelTest, TransparentLabelLeavesNoTraceOfAnEarlierColour) {
    label->SetTransparent(true);
    Pump();
    MoveOver(*label);
    ExpectShownIn(*label, kAqua, "hovered");
    MoveToEmptyPart();
    ExpectShownIn(*label, kBlue, "left");
}

TEST_F(URLLabelTest, CaptionTheShellCannotOpenFailsSilently) {
    SetShellOpenHookForTesting({});
    label->SetCaption("moke-no-such-target-xyz");
    label->SetExecutable(true);
    ModalAnswerer answerer; // whatever the shell itself may show
    answerer.Expect("#32770", ModalAnswerer::Key(VK_RETURN));
    MoveOver(*label);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, CentreInForm(*label));
    Post(WM_LBUTTONUP, 0, CentreInForm(*label));
    PumpFor(std::chrono::milliseconds(300));
    EXPECT_TRUE(ThreadWindows("TMessageForm").empty());
    for (const auto& seen : answerer.Answered())
        EXPECT_NE(seen.caption, Application().Title());
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}

} // namespace
} // namespace moke::test
