// The application hint and the status bar: the hint from the control under
// the pointer (the idle pass), from the highlighted menu item, the main
// window's ShowHint, and the status bar wrapper's messages.
#include "app/frame/StdCtrls.h"
#include "tests/support/MainFormFixture.h"
#include "tests/support/Pointer.h"
#include "tests/support/WindowSpy.h"

#include <memory>

namespace moke::test {
namespace {

std::string BarText(HWND bar, int part = 0) {
    char text[1024] = {};
    SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    return text;
}
int BarFlags(HWND bar, int part) {
    return HIWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0));
}
bool BarSimple(HWND bar) {
    return SendMessageA(bar, SB_ISSIMPLE, 0, 0) != 0;
}
std::vector<int> BarParts(HWND bar) {
    int edges[256] = {};
    const auto count = static_cast<int>(SendMessageA(bar, SB_GETPARTS, 256, reinterpret_cast<LPARAM>(edges)));
    return std::vector<int>(edges, edges + count);
}

// The pointer rests at a point: moved there, then the queue runs dry once.
void RestAt(POINT screen) {
    ASSERT_TRUE(PlacePointer(screen));
    Pump();
    Application().RunIdlePass();
}

class Hints : public MainFormTest {
  protected:
    void TearDown() override {
        ParkPointer();
        MainFormTest::TearDown();
    }
    HWND Bar() { return Form().StatusBar.Handle(); }
    void RestOn(const char* name) { RestAt(Middle(Control(name))); }
    void MenuSelect(UINT item, UINT flags, HMENU menu) {
        SendMessageA(Form().Handle(), WM_MENUSELECT, MAKEWPARAM(item, flags), reinterpret_cast<LPARAM>(menu));
    }
    // What the bar shows: simple mode and its text, or panel mode and panel 0.
    void ExpectShown(const std::string& hint) {
        EXPECT_EQ(Application().Hint(), hint);
        EXPECT_EQ(BarSimple(Bar()), !hint.empty());
        EXPECT_EQ(Form().StatusBar.SimplePanel(), !hint.empty());
        EXPECT_EQ(BarText(Bar()), hint.empty() ? Form().StatusBar.Panel(0).text : hint);
    }
};

TEST_F(Hints, TheHandlerRunsOnlyWhenTheHintChanges) {
    int calls = 0;
    TNotifyEvent showHint = Application().OnHint;
    ASSERT_TRUE(showHint) << "the main window installs its handler";
    Application().OnHint = [&](TObject& sender) {
        ++calls;
        EXPECT_EQ(&sender, static_cast<TObject*>(&Application()));
        showHint(sender);
    };
    Application().SetHint("ひとつ");
    EXPECT_EQ(calls, 1);
    ExpectShown("ひとつ");
    Application().SetHint("ひとつ");
    EXPECT_EQ(calls, 1) << "the same text byte for byte: no call";
    Application().SetHint("ふたつ");
    EXPECT_EQ(calls, 2);
    ExpectShown("ふたつ");
    Application().SetHint("");
    EXPECT_EQ(calls, 3);
    ExpectShown("");
    Application().SetHint("");
    EXPECT_EQ(calls, 3);
}

TEST_F(Hints, TheStatusBarFollowsThePointerOverToolButtonsAndSeparators) {
    RestOn("ToolButton1");
    ExpectShown("新規作成");
    RestOn("ToolButton2");
    {
        SCOPED_TRACE("from one hint to the next stays in simple mode");
        ExpectShown("開く");
    }
    RestOn("ToolButton4");
    {
        SCOPED_TRACE("a separator has no hint");
        ExpectShown("");
    }
    RestOn("ToolButton10");
    ExpectShown("コンボボックスの文字列を貼り付け");
    RestOn("ToolButton12");
    ExpectShown("");
    RestOn("ToolButton15");
    ExpectShown("選択文字列で起動");

    Control("ToolButton3").SetEnabled(false);
    RestOn("ToolButton3");
    {
        SCOPED_TRACE("disabled buttons are found too");
        ExpectShown("保存");
    }
}

TEST_F(Hints, ControlsWithoutHintsGiveThePanelBack) {
    for (const char* name : {"ComboBox1", "Memo1", "StatusBar"}) {
        SCOPED_TRACE(name);
        RestOn("ToolButton1");
        ASSERT_EQ(Application().Hint(), "新規作成");
        RestOn(name);
        ExpectShown("");
    }
    RECT frame;
    GetWindowRect(Form().Handle(), &frame);
    const POINT outside{std::min<LONG>(frame.right + 20, GetSystemMetrics(SM_CXSCREEN) - 2),
                        std::min<LONG>(frame.bottom + 20, GetSystemMetrics(SM_CYSCREEN) - 2)};
    if (ProgramWindowAt(outside)) GTEST_SKIP() << "no point outside the program's windows on this screen";
    RestOn("ToolButton1");
    RestAt(outside);
    ExpectShown("");
}

TEST_F(Hints, TypingUnderARestingPointerSetsTheIndicatorUnseen) {
    RestOn("ToolButton1");
    PostChar(Form().Memo1.Handle(), 'a');
    Pump();
    Application().RunIdlePass();
    EXPECT_EQ(Form().StatusBar.Panel(0).text, "変更あり");
    ExpectShown("新規作成");
    RestOn("Memo1");
    ExpectShown("");
    EXPECT_EQ(BarText(Bar()), "変更あり") << "it shows as soon as the pointer leaves the button";
}

TEST_F(Hints, HighlightedMenuItemsShowTheirHints) {
    HMENU bar = Form().MainMenu1.Handle();
    HMENU edit = Item("Edit1").Handle();
    ASSERT_FALSE(Form().Cut1.Enabled());
    MenuSelect(Form().Cut1.Command(), MF_GRAYED | MF_HILITE, edit);
    {
        SCOPED_TRACE("greyed items show their hint");
        ExpectShown("選択範囲を切り取ってクリップボードに移動します。");
    }
    MenuSelect(Form().Undo1.Command(), MF_HILITE, edit);
    ExpectShown("直前に行った操作を取り消します。");
    MenuSelect(1, MF_POPUP | MF_HILITE, bar);
    {
        SCOPED_TRACE("a title has no hint");
        ExpectShown("");
    }
    MenuSelect(Item("N3").Command(), MF_SEPARATOR, edit);
    {
        SCOPED_TRACE("a separator has no hint");
        ExpectShown("");
    }

    Item("Edit1").SetHint("編集|編集メニューのヒント");
    MenuSelect(1, MF_POPUP | MF_HILITE, bar);
    {
        SCOPED_TRACE("a drop-down is found by its handle; the long hint shows");
        ExpectShown("編集メニューのヒント");
    }
    MenuSelect(0xFFFF, MF_POPUP | MF_HILITE, bar);
    {
        SCOPED_TRACE("no drop-down at that position");
        ExpectShown("");
    }

    MenuSelect(Form().Undo1.Command(), MF_HILITE, edit);
    MenuSelect(0, 0xFFFF, nullptr);
    {
        SCOPED_TRACE("the menu has closed");
        ExpectShown("");
    }

    MenuSelect(Form().Undo1.Command(), MF_HILITE, edit);
    MenuSelect(SC_CLOSE, MF_SYSMENU | MF_HILITE, GetSystemMenu(Form().Handle(), FALSE));
    {
        SCOPED_TRACE("the system menu's entries have no hint");
        ExpectShown("");
    }

    MenuSelect(Form().Undo1.Command(), MF_HILITE, edit);
    TForm plain(&Application(), "THintsTestForm");
    SendMessageA(plain.Handle(), WM_MENUSELECT, MAKEWPARAM(SC_CLOSE, MF_SYSMENU | MF_HILITE),
                 reinterpret_cast<LPARAM>(GetSystemMenu(plain.Handle(), FALSE)));
    SendMessageA(plain.Handle(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    {
        SCOPED_TRACE("a window without a menu bar leaves the hint alone");
        ExpectShown("直前に行った操作を取り消します。");
    }
}

TEST_F(Hints, ShowHintSwitchesTheModeBeforeTheText) {
    HWND bar = Bar();
    SentMessageLog log;
    Application().SetHint("ヒント");
    ASSERT_EQ(log.Of(bar, SB_SETTEXTA).size(), 1u);
    std::vector<UINT> order;
    for (const auto& e : log.Entries())
        if (e.window == bar && (e.msg == SB_SIMPLE || e.msg == SB_SETTEXTA)) order.push_back(e.msg);
    EXPECT_EQ(order, (std::vector<UINT>{SB_SIMPLE, SB_SETTEXTA}));
    EXPECT_EQ(log.Of(bar, SB_SIMPLE)[0].wParam, 1u);
    EXPECT_EQ(log.Of(bar, SB_SETTEXTA)[0].wParam, 255u);

    log.Clear();
    Application().SetHint("");
    ASSERT_EQ(log.Of(bar, SB_SIMPLE).size(), 1u);
    EXPECT_EQ(log.Of(bar, SB_SIMPLE)[0].wParam, 0u);
    EXPECT_TRUE(log.Of(bar, SB_SETTEXTA).empty()) << "the simple text is left as it was";
    EXPECT_EQ(Form().StatusBar.SimpleText(), "ヒント");

    log.Clear();
    Application().SetHint("ヒント");
    EXPECT_EQ(log.Of(bar, SB_SIMPLE).size(), 1u);
    EXPECT_TRUE(log.Of(bar, SB_SETTEXTA).empty()) << "an unchanged simple text is not sent again";
    EXPECT_EQ(BarText(bar), "ヒント");
}

TEST_F(Hints, TheMainWindowsBarHasTheIndicatorAndTheEncodingWithASizeGrip) {
    HWND bar = Bar();
    EXPECT_EQ(BarParts(bar), (std::vector<int>{50, -1}));
    EXPECT_TRUE(GetWindowLongPtrA(bar, GWL_STYLE) & SBARS_SIZEGRIP);
    EXPECT_EQ(Form().StatusBar.Height(), 19);
    EXPECT_EQ(BarFlags(bar, 0) & (SBT_NOBORDERS | SBT_POPOUT), 0) << "a lowered frame";
}

// ---------------------------------------------------------------------------
// The control under the pointer in a window of our own: children drawn by
// their parent, the topmost first, disabled ones too.

class PointerHints : public testing::Test {
  protected:
    void SetUp() override {
        Application().SetHint("");
        form.reset(new TForm(&Application(), "THintTestForm"));
        form->SetPosition(TPosition::Designed);
        form->SetBounds(150, 150, 320, 180);
        form->SetClientSize(300, 150);
        form->SetHint("フォーム");
    }
    void TearDown() override {
        ParkPointer();
        form.reset();
        Pump();
        Application().SetHint("");
    }
    TLabel& AddLabel(const char* hint, RECT bounds) {
        auto& label = form->Make<TLabel>();
        label.SetAutoSize(false);
        label.SetCaption("label");
        label.SetHint(hint);
        label.SetParent(form.get());
        label.SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
        return label;
    }
    POINT At(int x, int y) { return form->ClientToScreen(POINT{x, y}); }
    std::unique_ptr<TForm> form;
};

TEST_F(PointerHints, LabelsAreFoundInsideTheirParentTopmostFirst) {
    TLabel& lower = AddLabel("下|下のラベル", RECT{10, 10, 110, 40});
    TLabel& upper = AddLabel("上の短いヒント|上のラベル", RECT{60, 10, 160, 40});
    TLabel& hidden = AddLabel("隠れたラベル", RECT{200, 10, 280, 40});
    AddLabel("ポイント", RECT{10, 80, 110, 110}); // 0x7C as a second byte does not split
    hidden.SetVisible(false);
    form->Show();
    Pump();
    ASSERT_EQ(form->ClientToScreen(POINT{0, 0}).x, 150 + (form->Width() - 300) / 2) << "placed as designed";

    RestAt(At(20, 20));
    EXPECT_EQ(Application().Hint(), "下のラベル") << "the long hint";
    EXPECT_EQ(TApplication::ControlAtScreenPoint(At(20, 20)), &lower);
    RestAt(At(80, 20));
    EXPECT_EQ(Application().Hint(), "上のラベル") << "the topmost child at the point";
    upper.SetEnabled(false);
    RestAt(At(80, 20));
    EXPECT_EQ(Application().Hint(), "上のラベル") << "disabled children are found too";
    RestAt(At(220, 20));
    EXPECT_EQ(Application().Hint(), "フォーム") << "invisible children are not; the parent's hint is used";
    RestAt(At(20, 90));
    EXPECT_EQ(Application().Hint(), "ポイント");
}

// ---------------------------------------------------------------------------
// The status bar wrapper

class StatusBarWrapper : public testing::Test {
  protected:
    void SetUp() override {
        form.reset(new TForm(&Application(), "TStatusTestForm"));
        form->SetClientSize(400, 100);
        bar = &form->Make<TStatusBar>();
        bar->SetAlign(TAlign::Bottom);
        bar->SetParent(form.get());
    }
    void TearDown() override {
        form.reset();
        Pump();
    }
    // The bar's messages of the status-bar kind, in order.
    std::vector<std::pair<UINT, WPARAM>> BarMessages(const SentMessageLog& log) {
        std::vector<std::pair<UINT, WPARAM>> messages;
        for (const auto& e : log.Entries())
            if (e.window == bar->ExistingHandle() &&
                (e.msg == SB_SETPARTS || e.msg == SB_SETTEXTA || e.msg == SB_SIMPLE))
                messages.emplace_back(e.msg, e.wParam);
        return messages;
    }
    static TStatusPanel Panel(int width, TBevelKind bevel, int alignment, std::string text,
                              TPanelStyle style = TPanelStyle::Text) {
        TStatusPanel panel;
        panel.width = width;
        panel.bevel = bevel;
        panel.alignment = alignment;
        panel.text = std::move(text);
        panel.style = style;
        return panel;
    }
    using Messages = std::vector<std::pair<UINT, WPARAM>>;
    std::unique_ptr<TForm> form;
    TStatusBar* bar = nullptr;
};

TEST_F(StatusBarWrapper, StateSetBeforeTheWindowIsAppliedWhenItIsMade) {
    bar->AddPanel(Panel(40, TBevelKind::Lowered, 0, "L"));
    bar->AddPanel(Panel(60, TBevelKind::None, 1, "R"));
    bar->AddPanel(Panel(80, TBevelKind::Raised, 2, "C"));
    bar->SetSimpleText("S");
    bar->SetSimplePanel(true);
    ASSERT_FALSE(bar->HandleAllocated());
    SentMessageLog log;
    form->Show();
    Pump();
    HWND window = bar->Handle();
    EXPECT_EQ(BarMessages(log), (Messages{{SB_SETPARTS, 3},
                                          {SB_SETTEXTA, 0},
                                          {SB_SETTEXTA, 1 | SBT_NOBORDERS},
                                          {SB_SETTEXTA, 2 | SBT_POPOUT},
                                          {SB_SETTEXTA, 255},
                                          {SB_SIMPLE, 1}}));
    EXPECT_EQ(BarParts(window), (std::vector<int>{40, 100, -1})) << "the last panel reaches the bar's end";
    EXPECT_TRUE(BarSimple(window));
    EXPECT_EQ(BarText(window), "S");

    bar->SetSimplePanel(false);
    EXPECT_EQ(BarText(window, 0), "L");
    EXPECT_EQ(BarText(window, 1), "\t\tR") << "right-aligned: two Tabs";
    EXPECT_EQ(BarText(window, 2), "\tC") << "centred: one Tab";
    EXPECT_EQ(BarFlags(window, 1) & SBT_NOBORDERS, SBT_NOBORDERS);
    EXPECT_EQ(BarFlags(window, 2) & SBT_POPOUT, SBT_POPOUT);
}

TEST_F(StatusBarWrapper, AssignmentsSendOnlyWhatChanges) {
    bar->AddPanel(Panel(50, TBevelKind::Lowered, 0, ""));
    form->Show();
    Pump();
    HWND window = bar->Handle();
    SentMessageLog log;
    bar->SetSimplePanel(false);
    bar->SetSimpleText("");
    bar->SetPanelText(0, "");
    EXPECT_EQ(BarMessages(log), Messages{}) << "nothing changed, nothing sent";

    bar->SetSimpleText("simple");
    EXPECT_EQ(BarMessages(log), (Messages{{SB_SETTEXTA, 255}}));
    EXPECT_FALSE(BarSimple(window)) << "a simple text assigned in panel mode is only stored";
    bar->SetSimplePanel(true);
    bar->SetSimplePanel(true);
    EXPECT_EQ(BarMessages(log), (Messages{{SB_SETTEXTA, 255}, {SB_SIMPLE, 1}}));
    EXPECT_EQ(BarText(window), "simple");

    bar->SetPanelText(0, "panel");
    EXPECT_EQ(BarText(window), "simple") << "a panel text assigned in simple mode is stored";
    bar->SetSimplePanel(false);
    EXPECT_EQ(BarText(window), "panel");
}

TEST_F(StatusBarWrapper, LayoutFollowsWidthsAndBevels) {
    bar->AddPanel(Panel(40, TBevelKind::Lowered, 0, "a"));
    bar->AddPanel(Panel(60, TBevelKind::Lowered, 0, "b"));
    bar->AddPanel(Panel(999, TBevelKind::Lowered, 0, "c"));
    form->Show();
    Pump();
    HWND window = bar->Handle();
    SentMessageLog log;
    bar->SetPanelWidth(0, 70);
    EXPECT_EQ(BarParts(window), (std::vector<int>{70, 130, -1}));
    EXPECT_EQ(BarMessages(log),
              (Messages{{SB_SETPARTS, 3}, {SB_SETTEXTA, 0}, {SB_SETTEXTA, 1}, {SB_SETTEXTA, 2}}));
    log.Clear();
    bar->SetPanelBevel(1, TBevelKind::Raised);
    EXPECT_EQ(
        BarMessages(log),
        (Messages{{SB_SETPARTS, 3}, {SB_SETTEXTA, 0}, {SB_SETTEXTA, 1 | SBT_POPOUT}, {SB_SETTEXTA, 2}}));
    log.Clear();
    bar->SetPanelAlignment(2, 1);
    EXPECT_EQ(BarMessages(log), (Messages{{SB_SETTEXTA, 2}}));
    EXPECT_EQ(BarText(window, 2), "\t\tc");
}

TEST_F(StatusBarWrapper, NoPanelsIsOneEmptyPartAndAtMost128AreUsed) {
    SentMessageLog log;
    form->Show();
    Pump();
    EXPECT_EQ(BarMessages(log), (Messages{{SB_SETPARTS, 1}, {SB_SETTEXTA, 0}}));
    EXPECT_EQ(BarParts(bar->Handle()), (std::vector<int>{-1}));

    for (int i = 0; i < 130; ++i)
        bar->AddPanel(Panel(3, TBevelKind::Lowered, 0, std::to_string(i)));
    const std::vector<int> parts = BarParts(bar->Handle());
    ASSERT_EQ(parts.size(), 128u);
    EXPECT_EQ(parts[0], 3);
    EXPECT_EQ(parts[126], 381);
    EXPECT_EQ(parts[127], -1);
    EXPECT_EQ(BarText(bar->Handle(), 127), "127");
}

TEST_F(StatusBarWrapper, OwnerDrawnPanelsAreSentWithTheirFlag) {
    bar->AddPanel(Panel(50, TBevelKind::Raised, 0, "", TPanelStyle::OwnerDraw));
    SentMessageLog log;
    form->Show();
    Pump();
    EXPECT_EQ(BarMessages(log), (Messages{{SB_SETPARTS, 1}, {SB_SETTEXTA, 0 | SBT_POPOUT | SBT_OWNERDRAW}}));
}

TEST_F(StatusBarWrapper, TheSizeGripIsAStyleThatRecreatesTheBar) {
    bar->AddPanel(Panel(50, TBevelKind::Lowered, 0, "kept"));
    bar->SetSimpleText("simple kept");
    form->Show();
    Pump();
    EXPECT_TRUE(GetWindowLongPtrA(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
    bar->SetSizeGrip(false);
    HWND window = bar->Handle();
    EXPECT_FALSE(GetWindowLongPtrA(window, GWL_STYLE) & SBARS_SIZEGRIP);
    EXPECT_TRUE(GetWindowLongPtrA(window, GWL_STYLE) & CCS_TOP);
    EXPECT_EQ(BarText(window), "kept");
    bar->SetSimplePanel(true);
    EXPECT_EQ(BarText(window), "simple kept");
}

} // namespace
} // namespace moke::test
