// The keyboard path of the message loop and the menus' shortcuts, driven by
// real key messages posted into the queue: the main window's Edit-menu
// shortcuts, and the search, click chain and texts of a menu of our own.
#include "app/frame/Failure.h"
#include "app/frame/MessageBox.h"
#include "tests/support/MainFormFixture.h"
#include "tests/support/ProgramText.h"
#include "tests/support/WindowSpy.h"

#include <algorithm>
#include <memory>

namespace moke::test {
namespace {

LPARAM KeyLParam(UINT virtualKey, bool up) {
    LPARAM data = 1 | (static_cast<LPARAM>(MapVirtualKeyA(virtualKey, 0) & 0xFF) << 16);
    if (up) data |= (1u << 30) | (1u << 31);
    return data;
}

std::string MenuText(HMENU menu, UINT item, UINT by) {
    char text[256] = {};
    GetMenuStringA(menu, item, text, sizeof text, by);
    return text;
}


// ---------------------------------------------------------------------------
// The main window's Edit-menu shortcuts

using MainFormShortcuts = MainFormTest;

TEST_F(MainFormShortcuts, CtrlXWithoutSelectionFocusesTheEditorAndTypesNothing) {
    TMemo& memo = Form().Memo1;
    memo.SetText(W("abc"));
    memo.SetSelection(1, 1);
    ASSERT_TRUE(PutTextOnClipboard("kept"));
    HWND combo = Form().ComboBox1.Handle();
    Form().ComboBox1.SetFocus();
    Pump();
    ASSERT_EQ(GetFocus(), combo);
    Form().Cut1.SetEnabled(true); // a stale state that the Edit menu must correct first

    WindowSpy comboSpy(combo), memoSpy(memo.Handle());
    TakenMessageCount characters(combo, WM_CHAR);
    PostKey(combo, 'X', false, true);

    EXPECT_EQ(GetFocus(), memo.Handle()) << "the Edit menu's click gives the focus to the editor";
    EXPECT_FALSE(Form().Cut1.Enabled());
    EXPECT_EQ(memo.Text(), W("abc"));
    EXPECT_EQ(ClipboardText(), "kept");
    EXPECT_EQ(comboSpy.Count(WM_KEYDOWN), 0) << "a consumed key-down is not dispatched";
    EXPECT_EQ(memoSpy.Keys(), 0);
    EXPECT_EQ(characters.Count(), 0) << "a consumed key-down is not translated";
}

TEST_F(MainFormShortcuts, CtrlVWhileTheDropDownHasTheFocusPastesIntoTheEditor) {
    TMemo& memo = Form().Memo1;
    memo.SetText(W("ab"));
    memo.SetSelection(1, 1);
    ASSERT_TRUE(PutTextOnClipboard("貼り付け"));
    TComboBox& combo = Form().ComboBox1;
    combo.SetItemIndex(2);
    combo.SetFocus();
    Pump();
    ASSERT_EQ(GetFocus(), combo.Handle());

    WindowSpy comboSpy(combo.Handle());
    PostKey(combo.Handle(), 'V', false, true);

    EXPECT_EQ(memo.Text(), W("a貼り付けb"));
    EXPECT_EQ(GetFocus(), memo.Handle()) << "the focus stays in the editor";
    EXPECT_EQ(combo.ItemIndex(), 2);
    EXPECT_EQ(comboSpy.Keys(), 0);
    EXPECT_TRUE(Form().Paste1.Enabled());
}

TEST_F(MainFormShortcuts, CtrlZUndoesOnlyWhenThereIsSomethingToUndo) {
    TMemo& memo = Form().Memo1;
    HWND edit = memo.Handle();
    memo.SetFocus();
    Pump();
    ASSERT_TRUE(Form().Undo1.Enabled()) << "the item starts enabled";
    {
        WindowSpy spy(edit);
        TakenMessageCount characters(edit, WM_CHAR);
        PostKey(edit, 'Z', false, true);
        EXPECT_FALSE(Form().Undo1.Enabled()) << "nothing to undo right after start-up";
        EXPECT_EQ(memo.Text(), W(""));
        EXPECT_EQ(spy.Keys(), 0);
        EXPECT_EQ(characters.Count(), 0);
    }
    PostChar(edit, 'a');
    PostChar(edit, 'b');
    Pump();
    ASSERT_EQ(memo.Text(), W("ab"));
    WindowSpy spy(edit);
    PostKey(edit, 'Z', false, true);
    EXPECT_EQ(memo.Text(), W("")) << "Ctrl+Z runs Undo1Click";
    EXPECT_TRUE(Form().Undo1.Enabled());
    EXPECT_EQ(spy.Keys(), 0);
}

TEST_F(MainFormShortcuts, CtrlShiftZIsAnOrdinaryKeyForTheFocusedControl) {
    TComboBox& combo = Form().ComboBox1;
    combo.SetFocus();
    Pump();
    Form().Undo1.SetEnabled(true);
    Form().Cut1.SetEnabled(true); // stays as it is unless the Edit menu is clicked
    {
        WindowSpy spy(combo.Handle());
        PostKey(combo.Handle(), 'Z', true, true);
        EXPECT_EQ(GetFocus(), combo.Handle()) << "the Edit menu was not clicked";
        ASSERT_EQ(spy.Count(WM_KEYDOWN), 1) << "the drop-down receives the key";
        EXPECT_EQ(spy.Entries().front().wParam, static_cast<WPARAM>('Z'));
        EXPECT_TRUE(Form().Cut1.Enabled());
    }
    TMemo& memo = Form().Memo1;
    memo.SetFocus();
    Pump();
    WindowSpy spy(memo.Handle());
    PostKey(memo.Handle(), 'Z', true, true);
    EXPECT_EQ(spy.Count(WM_KEYDOWN), 1) << "the editor receives the key";
    EXPECT_TRUE(Form().Cut1.Enabled()) << "the Edit menu was not clicked";
}

TEST_F(MainFormShortcuts, EachShortcutRefreshesTheEditMenuBeforeItsItem) {
    TMemo& memo = Form().Memo1;
    HWND edit = memo.Handle();
    memo.SetText(W("hello"));
    memo.SetSelection(0, 0);
    Form().ComboBox1.SetFocus();
    Pump();

    PostKey(Form().ComboBox1.Handle(), 'A', false, true);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(memo.SelectionLength(), 5u) << "Ctrl+A selects the whole text";
    EXPECT_FALSE(Form().Cut1.Enabled()) << "enabled states were computed before the selection was made";

    ASSERT_TRUE(PutTextOnClipboard("old"));
    PostKey(edit, 'C', false, true);
    EXPECT_EQ(ClipboardText(), "hello");
    EXPECT_TRUE(Form().Copy1.Enabled());
    EXPECT_TRUE(Form().Cut1.Enabled());
    EXPECT_TRUE(Form().Delete1.Enabled());
    EXPECT_EQ(memo.Text(), W("hello"));

    memo.SetSelection(1, 3);
    PostKey(edit, 'X', false, true);
    EXPECT_EQ(memo.Text(), W("hlo"));
    EXPECT_EQ(ClipboardText(), "el");

    PostKey(edit, 'C', false, true); // nothing selected now: the item is greyed and nothing happens
    EXPECT_FALSE(Form().Copy1.Enabled());
    EXPECT_EQ(ClipboardText(), "el");
}

TEST_F(MainFormShortcuts, NoShortcutRunsWhileAModalBoxIsUp) {
    TMemo& memo = Form().Memo1;
    memo.SetText(W("abc"));
    memo.SetSelection(0, 0);
    memo.SetFocus();
    Pump();
    Form().Cut1.SetEnabled(true);

    bool mainEnabled = true;
    std::size_t selectionWhileUp = 99;
    bool cutWhileUp = false;
    HWND keyTarget = nullptr;
    ModalAnswerer answerer;
    answerer.Expect("TMessageForm", [&](HWND box) {
        mainEnabled = IsWindowEnabled(Form().Handle()) != FALSE;
        keyTarget = GetFocus();
        if (!keyTarget) keyTarget = box;
        {
            HeldKeys ctrl(false, true);
            PostMessageA(keyTarget, WM_KEYDOWN, 'A', KeyLParam('A', false));
            PostMessageA(keyTarget, WM_KEYUP, 'A', KeyLParam('A', true));
            Application().ProcessMessages();
        }
        selectionWhileUp = memo.SelectionLength();
        cutWhileUp = Form().Cut1.Enabled();
        ModalAnswerer::Key(VK_RETURN)(box);
    });
    ShowMessageBox("モーダルの間", mtInformation, mbOK);
    ASSERT_TRUE(answerer.Done());
    EXPECT_FALSE(mainEnabled) << "the main window is disabled while the box is up";
    EXPECT_NE(keyTarget, memo.Handle());
    EXPECT_EQ(selectionWhileUp, 0u) << "Ctrl+A did not select the editor's text";
    EXPECT_TRUE(cutWhileUp) << "the Edit menu was not clicked";
    EXPECT_EQ(memo.Text(), W("abc"));
}

TEST_F(MainFormShortcuts, NoShortcutRunsWhileTheAboutBoxIsOpen) {
    TMemo& memo = Form().Memo1;
    memo.SetText(W("abc"));
    memo.SetSelection(0, 0);
    std::size_t selectionWhileUp = 99;
    bool focusInTheBox = false;
    ModalAnswerer answerer;
    answerer.Expect("TAboutDlg", [&](HWND box) {
        HWND target = GetFocus();
        focusInTheBox = target && (target == box || IsChild(box, target));
        if (!focusInTheBox) target = box;
        {
            HeldKeys ctrl(false, true);
            PostMessageA(target, WM_KEYDOWN, 'A', KeyLParam('A', false));
            PostMessageA(target, WM_KEYUP, 'A', KeyLParam('A', true));
            Application().ProcessMessages();
        }
        selectionWhileUp = memo.SelectionLength();
        PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    SendMessageA(Form().Handle(), WM_COMMAND, MAKEWPARAM(Item("About1").Command(), 0), 0);
    ASSERT_TRUE(answerer.Done());
    EXPECT_TRUE(focusInTheBox);
    EXPECT_EQ(selectionWhileUp, 0u);
}

TEST_F(MainFormShortcuts, NoShortcutIsTriedWhileTheMouseIsCaptured) {
    TMemo& memo = Form().Memo1;
    HWND edit = memo.Handle();
    memo.SetText(W("abc"));
    memo.SetFocus();
    Pump();
    PostMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    Pump();
    ASSERT_EQ(GetCapture(), edit) << "the edit control holds the mouse while its button is down";
    Form().Cut1.SetEnabled(true);
    {
        WindowSpy spy(edit);
        PostKey(edit, 'C', false, true);
        EXPECT_EQ(spy.Count(WM_KEYDOWN), 1) << "the key goes to its window as an ordinary key";
        EXPECT_TRUE(Form().Cut1.Enabled()) << "the Edit menu was not clicked";
    }
    PostMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    Pump();
    ASSERT_EQ(GetCapture(), nullptr);
    WindowSpy spy(edit);
    PostKey(edit, 'C', false, true);
    EXPECT_EQ(spy.Count(WM_KEYDOWN), 0) << "released: the key is a shortcut again";
    EXPECT_FALSE(Form().Cut1.Enabled());
}

TEST_F(MainFormShortcuts, TheMainMenuServesTheProgramsOtherWindowsOnlyWhileEnabled) {
    TMemo& memo = Form().Memo1;
    memo.SetText(W("abc"));
    memo.SetSelection(0, 0);
    std::unique_ptr<TForm> other(new TForm(&Application(), "TKeyTestOther"));
    other->SetClientSize(200, 100);
    other->Show();
    Pump();
    HWND window = other->Handle();

    PostKey(window, 'A', false, true);
    EXPECT_EQ(memo.SelectionLength(), 3u) << "Ctrl+A in another window runs the main window's item";

    memo.SetSelection(0, 0);
    EnableWindow(Form().Handle(), FALSE);
    {
        WindowSpy spy(window);
        PostKey(window, 'A', false, true);
        EXPECT_EQ(memo.SelectionLength(), 0u) << "not while the main window is disabled";
        EXPECT_EQ(spy.Count(WM_KEYDOWN), 1);
    }
    EnableWindow(Form().Handle(), TRUE);

    // A window's own menu comes first.
    auto& menu = other->Make<TMainMenu>();
    auto& title = other->Make<TMenuItem>();
    title.SetCaption("A");
    menu.Items().Add(title);
    auto& own = other->Make<TMenuItem>();
    own.SetCaption("own");
    own.SetShortcut(static_cast<ShortCut>(kCtrl | 'A'));
    int ownClicks = 0;
    own.OnClick = [&](TObject&) { ++ownClicks; };
    title.Add(own);
    other->SetMenu(&menu);
    other->Show();
    Pump();
    PostKey(window, 'A', false, true);
    EXPECT_EQ(ownClicks, 1);
    EXPECT_EQ(memo.SelectionLength(), 0u) << "the main window's menu is not tried after the window's own";
}

TEST_F(MainFormShortcuts, TabMovesTheFocusUnlessTheControlWantsIt) {
    TComboBox& combo = Form().ComboBox1;
    TMemo& memo = Form().Memo1;
    combo.SetFocus();
    Pump();
    {
        WindowSpy spy(combo.Handle());
        PostKey(combo.Handle(), VK_TAB);
        EXPECT_EQ(GetFocus(), memo.Handle()) << "Tab goes to the next tab stop";
        EXPECT_EQ(spy.Count(WM_KEYDOWN), 0);
    }
    PostKey(memo.Handle(), VK_TAB);
    EXPECT_EQ(GetFocus(), memo.Handle()) << "the editor asks for Tab";
    EXPECT_EQ(memo.Text(), W("\t"));

    combo.SetFocus();
    Pump();
    WindowSpy spy(combo.Handle());
    PostKey(combo.Handle(), VK_TAB, false, true);
    EXPECT_EQ(GetFocus(), combo.Handle()) << "Ctrl+Tab is no navigation";
    EXPECT_EQ(spy.Count(WM_KEYDOWN), 1);

    const int before = combo.ItemIndex();
    PostKey(combo.Handle(), VK_DOWN);
    EXPECT_EQ(GetFocus(), combo.Handle()) << "the drop-down asks for the arrows";
    EXPECT_EQ(combo.ItemIndex(), before + 1);
}

TEST_F(MainFormShortcuts, MenuTextsShowTheShortcutsRightAlignedOnItemsOnly) {
    HMENU bar = Form().MainMenu1.Handle();
    HMENU edit = Item("Edit1").Handle();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(MenuText(bar, 1, MF_BYPOSITION), "編集(&E)");
    EXPECT_EQ(MenuText(edit, Form().Undo1.Command(), MF_BYCOMMAND), "元に戻す(&U)\tCtrl+Z");
    EXPECT_EQ(MenuText(edit, Form().Cut1.Command(), MF_BYCOMMAND), "切り取り(&T)\tCtrl+X");
    EXPECT_EQ(MenuText(edit, Form().Copy1.Command(), MF_BYCOMMAND), "コピー(&C)\tCtrl+C");
    EXPECT_EQ(MenuText(edit, Form().Paste1.Command(), MF_BYCOMMAND), "貼り付け(&P)\tCtrl+V");
    EXPECT_EQ(MenuText(edit, Item("SelectAll1").Command(), MF_BYCOMMAND), "すべて選択(&A)\tCtrl+A");
    EXPECT_EQ(MenuText(edit, Form().Delete1.Command(), MF_BYCOMMAND), "削除(&L)");
    EXPECT_EQ(MenuText(edit, Form().Wrap1.Command(), MF_BYCOMMAND), "右端で折り返す(&W)");
    for (int i = 0; i < GetMenuItemCount(bar); ++i)
        EXPECT_EQ(MenuText(bar, static_cast<UINT>(i), MF_BYPOSITION).find('\t'), std::string::npos);
}

TEST_F(MainFormShortcuts, OpeningTheEditMenuClicksIt) {
    Form().Memo1.SetText(W("abc"));
    Form().Memo1.SetSelection(0, 2);
    Form().ComboBox1.SetFocus();
    Pump();
    HMENU edit = Item("Edit1").Handle();
    ASSERT_FALSE(Form().Cut1.Enabled());
    SendMessageA(Form().Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), MAKELPARAM(1, FALSE));
    EXPECT_TRUE(Form().Cut1.Enabled());
    EXPECT_FALSE(GetMenuState(edit, Form().Cut1.Command(), MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(GetFocus(), Form().Memo1.Handle());
}

// ---------------------------------------------------------------------------
// A menu of our own: search order, click chain, failures, texts

class MenuShortcuts : public testing::Test {
  protected:
    void SetUp() override {
        form.reset(new TForm(&Application(), "TMenuTestForm"));
        form->SetClientSize(240, 120);
        menu = &form->Make<TMainMenu>();
    }
    void TearDown() override {
        form.reset();
        Pump();
    }

    TMenuItem& Add(TMenuItem& parent, const char* name, ShortCut shortcut = 0) {
        auto& item = form->Make<TMenuItem>();
        item.SetName(name);
        item.SetCaption(name);
        item.SetShortcut(shortcut);
        item.OnClick = [this, name](TObject&) { clicks.push_back(name); };
        parent.Add(item);
        return item;
    }
    TMenuItem& Root() { return menu->Items(); }
    void Show() {
        form->SetMenu(menu);
        form->Show();
        Pump();
    }
    HWND Window() { return form->Handle(); }

    static constexpr ShortCut kCtrlQ = kCtrl | 'Q';
    std::unique_ptr<TForm> form;
    TMainMenu* menu = nullptr;
    std::vector<std::string> clicks;
};

using Clicks = std::vector<std::string>;

TEST_F(MenuShortcuts, SearchIsDepthFirstInMenuOrderWithEachItemBeforeItsChildren) {
    TMenuItem& a = Add(Root(), "A");
    TMenuItem& a1 = Add(a, "A1");
    Add(a1, "A1a", kCtrlQ);
    TMenuItem& b = Add(Root(), "B");
    Add(b, "B1", kCtrlQ);
    Show();

    PostKey(Window(), 'Q', false, true);
    EXPECT_EQ(clicks, (Clicks{"A", "A1", "A1a"}))
        << "the deep item of the first menu wins, its ancestors first";

    clicks.clear();
    a1.SetShortcut(kCtrlQ);
    PostKey(Window(), 'Q', false, true);
    EXPECT_EQ(clicks, (Clicks{"A", "A1"})) << "an item is examined before its children";
}

TEST_F(MenuShortcuts, ADisabledItemIsFoundAndConsumesTheKey) {
    TMenuItem& a = Add(Root(), "A");
    TMenuItem& x = Add(a, "X", kCtrlQ);
    TMenuItem& b = Add(Root(), "B");
    Add(b, "Y", kCtrlQ);
    Show();
    x.SetEnabled(false);
    {
        WindowSpy spy(Window());
        PostKey(Window(), 'Q', false, true);
        EXPECT_EQ(clicks, (Clicks{"A"}))
            << "the chain stops at the disabled item; the later match never runs";
        EXPECT_EQ(spy.Count(WM_KEYDOWN), 0) << "the key is consumed";
    }
    clicks.clear();
    x.SetEnabled(true);
    a.SetEnabled(false);
    WindowSpy spy(Window());
    PostKey(Window(), 'Q', false, true);
    EXPECT_EQ(clicks, Clicks{}) << "nothing below a disabled level runs";
    EXPECT_EQ(spy.Count(WM_KEYDOWN), 0);
}

TEST_F(MenuShortcuts, AClickHigherUpMayEnableTheItem) {
    TMenuItem& a = Add(Root(), "A");
    TMenuItem& x = Add(a, "X", kCtrlQ);
    a.OnClick = [&](TObject&) {
        clicks.push_back("A");
        x.SetEnabled(true);
    };
    Show();
    x.SetEnabled(false);
    PostKey(Window(), 'Q', false, true);
    EXPECT_EQ(clicks, (Clicks{"A", "X"}));
}

TEST_F(MenuShortcuts, AClickThatChangesTheShortcutStartsTheSearchAgain) {
    TMenuItem& a = Add(Root(), "A");
    TMenuItem& x = Add(a, "X", kCtrlQ);
    TMenuItem& b = Add(Root(), "B");
    Add(b, "Y", kCtrlQ);
    a.OnClick = [&](TObject&) {
        clicks.push_back("A");
        x.SetShortcut(0);
    };
    Show();
    PostKey(Window(), 'Q', false, true);
    EXPECT_EQ(clicks, (Clicks{"A", "B", "Y"}));

    // When the search finds nothing any more, the key stays consumed.
    clicks.clear();
    x.SetShortcut(kCtrlQ);
    Part<TMenuItem>(*form, "Y").SetShortcut(0);
    WindowSpy spy(Window());
    PostKey(Window(), 'Q', false, true);
    EXPECT_EQ(clicks, (Clicks{"A"}));
    EXPECT_EQ(spy.Count(WM_KEYDOWN), 0);
}

TEST_F(MenuShortcuts, AFailureInTheChainIsReportedAndTheChainGoesOn) {
    TMenuItem& a = Add(Root(), "A");
    Add(a, "X", kCtrlQ);
    a.OnClick = [&](TObject&) {
        clicks.push_back("A");
        throw Failure("メニューの失敗");
    };
    Show();
    std::vector<std::string> clicksWhileShown;
    ModalAnswerer answerer;
    answerer.Expect("#32770", [&](HWND box) {
        clicksWhileShown = clicks;
        ModalAnswerer::Key(VK_RETURN)(box);
    });
    answerer.Expect("#32770", ModalAnswerer::Key(VK_RETURN)); // a second report would be answered here
    WindowSpy spy(Window());
    PostKey(Window(), 'Q', false, true);
    ASSERT_EQ(answerer.Answered().size(), 1u) << "the standard error box was shown once";
    EXPECT_EQ(answerer.Answered()[0].text, "メニューの失敗.");
    EXPECT_EQ(answerer.Answered()[0].caption, Application().Title());
    EXPECT_EQ(clicksWhileShown, (Clicks{"A"})) << "reported at once, before the next level";
    EXPECT_EQ(clicks, (Clicks{"A", "X"}));
    EXPECT_EQ(spy.Count(WM_KEYDOWN), 0);
}

TEST_F(MenuShortcuts, ModifiersComeFromTheKeyStateAndTheAltBitOfTheKeyData) {
    TMenuItem& a = Add(Root(), "A");
    Add(a, "AltQ", static_cast<ShortCut>(kAlt | 'Q'));
    Add(a, "ShiftCtrlQ", static_cast<ShortCut>(kShift | kCtrl | 'Q'));
    Add(a, "F5", VK_F5);
    Show();
    PostKey(Window(), 'Q', false, false, true);
    PostKey(Window(), 'Q', true, true);
    PostKey(Window(), VK_F5);
    EXPECT_EQ(clicks, (Clicks{"A", "AltQ", "A", "ShiftCtrlQ", "A", "F5"}));

    clicks.clear();
    WindowSpy spy(Window());
    PostKey(Window(), 'Q', false, true); // Ctrl+Q belongs to no item
    PostKey(Window(), 'Q');
    EXPECT_EQ(clicks, Clicks{});
    EXPECT_EQ(spy.Count(WM_KEYDOWN), 2) << "keys that are no shortcut reach the window";
}

TEST_F(MenuShortcuts, MenuNoticesClickTheItemTheyName) {
    TMenuItem& a = Add(Root(), "A");
    TMenuItem& sub = Add(a, "Sub");
    TMenuItem& x = Add(sub, "X");
    Show();
    ASSERT_NE(sub.Handle(), nullptr);

    SendMessageA(Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub.Handle()), MAKELPARAM(0, FALSE));
    EXPECT_EQ(clicks, (Clicks{"Sub"})) << "opening a drop-down clicks the item that owns it";

    clicks.clear();
    SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(x.Command(), 0), 0);
    EXPECT_EQ(clicks, (Clicks{"X"}));

    clicks.clear();
    x.SetEnabled(false);
    SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(x.Command(), 0), 0);
    EXPECT_EQ(clicks, Clicks{}) << "a disabled item does nothing";

    x.SetEnabled(true);
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, Window(), nullptr, nullptr, nullptr);
    SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(x.Command(), 0), reinterpret_cast<LPARAM>(child));
    DestroyWindow(child);
    EXPECT_EQ(clicks, Clicks{}) << "a control's notice is no menu command";
}

TEST_F(MenuShortcuts, CommandIdentifiersAreTheLowestFreeNumbersOfOneSharedPool) {
    auto* first = new TMenuItem(nullptr);
    auto* second = new TMenuItem(nullptr);
    auto* third = new TMenuItem(nullptr);
    const UINT a = first->Command(), b = second->Command(), c = third->Command();
    EXPECT_TRUE(a != b && b != c && a != c);
    // Freed in the order first, second: the lower number comes back first,
    // whichever was freed last.
    delete first;
    delete second;
    auto* again = new TMenuItem(nullptr);
    auto* then = new TMenuItem(nullptr);
    EXPECT_EQ(again->Command(), std::min(a, b));
    EXPECT_EQ(then->Command(), std::max(a, b));
    // Items of every menu draw from the same pool.
    const UINT inMenu = Add(Root(), "A").Command();
    EXPECT_NE(inMenu, again->Command());
    EXPECT_NE(inMenu, then->Command());
    EXPECT_NE(inMenu, c);
    delete again;
    delete then;
    delete third;
}

TEST_F(MenuShortcuts, ItemTextsCarryTheShortcutTextFromTheKeyNameTable) {
    TMenuItem& a = Add(Root(), "A");
    TMenuItem& undo = Add(a, "元に戻す(&U)", static_cast<ShortCut>(kCtrl | 'Z'));
    TMenuItem& all = Add(a, "all", static_cast<ShortCut>(kShift | kCtrl | kAlt | VK_F12));
    TMenuItem& pad = Add(a, "pad", static_cast<ShortCut>(kShift | VK_NUMPAD7));
    TMenuItem& nav = Add(a, "nav", VK_PRIOR);
    TMenuItem& nameless = Add(a, "nameless", static_cast<ShortCut>(kCtrl | 0xFF));
    TMenuItem& parent = Add(a, "parent", static_cast<ShortCut>(kCtrl | 'P'));
    Add(parent, "child");
    Add(Root(), "Title", static_cast<ShortCut>(kCtrl | 'T'));
    Add(a, "-");
    Show();
    HMENU drop = a.Handle();
    EXPECT_EQ(MenuText(drop, undo.Command(), MF_BYCOMMAND), "元に戻す(&U)\tCtrl+Z");
    EXPECT_EQ(MenuText(drop, all.Command(), MF_BYCOMMAND), "all\tShift+Ctrl+Alt+F12");
    EXPECT_EQ(MenuText(drop, pad.Command(), MF_BYCOMMAND), "pad\tShift+7");
    EXPECT_EQ(MenuText(drop, nav.Command(), MF_BYCOMMAND), "nav\tPgUp");
    EXPECT_EQ(MenuText(drop, nameless.Command(), MF_BYCOMMAND), "nameless\t") << "no name: the Tab alone";
    EXPECT_EQ(MenuText(drop, 5, MF_BYPOSITION), "parent") << "an item with children shows no shortcut";
    EXPECT_EQ(MenuText(menu->Handle(), 1, MF_BYPOSITION), "Title") << "a title on the bar shows no shortcut";
    EXPECT_TRUE(GetMenuState(drop, 6, MF_BYPOSITION) & MF_SEPARATOR);

    // A changed shortcut or caption shows at once.
    undo.SetShortcut(static_cast<ShortCut>(kAlt | VK_BACK));
    EXPECT_EQ(MenuText(drop, undo.Command(), MF_BYCOMMAND), "元に戻す(&U)\tAlt+BkSp");
}

} // namespace
} // namespace moke::test
