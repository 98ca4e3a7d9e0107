// The editor component on a real "EDIT" window: whole-text set with line-break
// normalisation, the change notification, window re-creation, styles, byte
// positions in double-byte text, the update batch and the capacity failure.
#include "document/Memo.h"
#include "document/editor/EditorWindow.h"

#include "app/frame/Application.h"
#include "app/frame/Failure.h"
#include "tests/support/Gui.h"
#include "tests/support/ProgramText.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace moke::test {
namespace {

class MemoTest : public testing::Test {
  protected:
    void SetUp() override {
        form = std::make_unique<TForm>(&Application(), "TMemoTestForm");
        form->SetPosition(TPosition::Designed);
        form->SetBounds(60, 60, 420, 300);
        memo = &form->Make<TMemo>();
        memo->SetParent(form.get());
        memo->SetBounds(0, 0, 400, 240);
        memo->OnChange = [this](TObject&) { ++changes; };
        form->Show();
        Pump();
        changes = 0;
    }
    void TearDown() override {
        form.reset();
        Pump();
    }

    HWND Edit() { return memo->Handle(); }
    LONG_PTR Style() { return GetWindowLongPtrA(Edit(), GWL_STYLE); }
    std::string WindowTextOf() { return WindowText(Edit()); }
    // Puts a text into the control as the user would have it, without the component.
    void Put(const char* text) {
        SendMessageA(Edit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        Pump();
        changes = 0;
    }

    std::unique_ptr<TForm> form;
    TMemo* memo = nullptr;
    int changes = 0;
};

// --- Whole-text set and line-break normalisation --------------------------

TEST_F(MemoTest, WholeTextSetNormalisesLineBreaksBeforeSending) {
    struct Case {
        const char* input;
        const char* sent;
    };
    const Case cases[] = {
        {"a\r\nb", "a\r\nb"},
        {"a\nb", "a\r\nb"},
        {"a\rb", "a\r\nb"},
        {"a\r", "a\r\n"},
        {"\n\r", "\r\n\r\n"},
        {"\r\r\n", "\r\n\r\n"},
        {"x\n\ny", "x\r\n\r\ny"},
        // The second byte 0x5C of "表" is no delimiter, and LF after it is a line break.
        {"表\n示", "表\r\n示"},
        {"表\r示\n", "表\r\n示\r\n"},
    };
    for (const Case& c : cases) {
        memo->Clear();
        SentMessageLog log;
        memo->SetText(W(c.input));
        const auto sent = log.Of(Edit(), editor::EM_TAKETEXT);
        ASSERT_EQ(sent.size(), 1u) << Utf8(c.input);
        EXPECT_EQ(sent[0].text, c.sent) << "input " << testing::PrintToString(std::string(c.input));
    }
}

TEST_F(MemoTest, WholeTextSetPutsTheNormalisedTextIntoTheControl) {
    memo->SetText(W("one\ntwo\rthree\r\n"));
    EXPECT_EQ(WindowTextOf(), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(memo->Text(), W("one\r\ntwo\r\nthree\r\n"));
    EXPECT_EQ(memo->TextLength(), 17u);
    memo->SetText(W("表示\n漢字"));
    EXPECT_EQ(memo->Text(), W("表示\r\n漢字"));
}

TEST_F(MemoTest, IdenticalWholeTextSetDisturbsNothingAndRaisesNoChange) {
    memo->SetText(W("same\r\nteXt"));
    SendMessageA(Edit(), EM_SETSEL, 8, 9);
    SendMessageW(Edit(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"x"));
    ASSERT_EQ(changes, 2);
    SendMessageA(Edit(), EM_SETSEL, 2, 7);
    memo->SetText(W("same\r\ntext"));
    // Equal after normalisation counts as identical too.
    memo->SetText(W("same\ntext"));
    EXPECT_EQ(changes, 2);
    // Nothing was disturbed: the selection and the undo are still there.
    DWORD start = 0, end = 0;
    SendMessageA(Edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 7u);
    EXPECT_NE(SendMessageA(Edit(), EM_CANUNDO, 0, 0), 0);
}

TEST_F(MemoTest, SameLengthButDifferentTextIsSent) {
    memo->SetText(W("abcd"));
    SentMessageLog log;
    memo->SetText(W("abce"));
    EXPECT_EQ(log.Of(Edit(), editor::EM_TAKETEXT).size(), 1u);
    EXPECT_EQ(memo->Text(), W("abce"));
    EXPECT_EQ(changes, 2);
}

// --- The change notification ---------------------------------------------

TEST_F(MemoTest, ChangeIsRaisedOncePerSuccessfulWholeTextSet) {
    memo->SetText(W("first"));
    EXPECT_EQ(changes, 1);
    memo->SetText(W("second\nline"));
    EXPECT_EQ(changes, 2);
    memo->SetText(W(""));
    EXPECT_EQ(changes, 3);
    Pump();
    EXPECT_EQ(changes, 3); // nothing arrives late from the control
}

TEST_F(MemoTest, ChangeIsRaisedByTyping) {
    memo->SetFocus();
    PostChar(Edit(), 'x');
    Pump();
    EXPECT_EQ(WindowTextOf(), "x");
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(memo->Modified());
    PostKey(Edit(), VK_BACK);
    PostChar(Edit(), '\b');
    Pump();
    EXPECT_EQ(WindowTextOf(), "");
    EXPECT_EQ(changes, 2);
}

TEST_F(MemoTest, ChangeIsRaisedByReplaceSelectionAndAnEmptyReplacementDeletes) {
    Put("hello world");
    memo->SetSelection(0, 5);
    memo->ReplaceSelection(W("HELLO"));
    EXPECT_EQ(memo->Text(), W("HELLO world"));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(memo->Modified());
    memo->SetSelection(5, 11);
    memo->ReplaceSelection(W(""));
    EXPECT_EQ(memo->Text(), W("HELLO"));
    EXPECT_EQ(changes, 2);
    // Nothing selected: inserted at the caret.
    memo->SetSelection(0, 0);
    memo->ReplaceSelection(W(">"));
    EXPECT_EQ(memo->Text(), W(">HELLO"));
    EXPECT_EQ(changes, 3);
    // It cannot be undone.
    EXPECT_FALSE(memo->CanUndo());
}

TEST_F(MemoTest, ChangeIsRaisedByClearSelectionCutPasteAndUndo) {
    Put("abcdef");
    memo->SetSelection(0, 2);
    memo->ClearSelection();
    EXPECT_EQ(memo->Text(), W("cdef"));
    EXPECT_EQ(changes, 1);

    memo->SetSelection(0, 2);
    memo->CutToClipboard();
    EXPECT_EQ(memo->Text(), W("ef"));
    EXPECT_EQ(changes, 2);

    memo->SetSelection(2, 2);
    memo->PasteFromClipboard();
    EXPECT_EQ(memo->Text(), W("efcd"));
    EXPECT_EQ(changes, 3);

    // Wine's control reports an undo twice (the replacement, then the undo
    // itself); every report is passed on.
    ASSERT_TRUE(memo->CanUndo());
    memo->Undo();
    EXPECT_EQ(memo->Text(), W("ef"));
    EXPECT_GE(changes, 4);
    const int afterUndo = changes;

    // Copy changes nothing.
    memo->SelectAll();
    memo->CopyToClipboard();
    EXPECT_EQ(changes, afterUndo);
}

TEST_F(MemoTest, ChangeIsNotRaisedByClearFlagsPropertiesOrFont) {
    memo->SetText(W("text"));
    ASSERT_EQ(changes, 1);
    changes = 0;
    memo->Clear();
    EXPECT_EQ(WindowTextOf(), "");
    memo->SetText(W("again"));
    changes = 0;
    memo->SetModified(true);
    memo->SetModified(false);
    memo->SetReadOnly(true);
    memo->SetReadOnly(false);
    memo->SetWordWrap(false);
    memo->SetWordWrap(true);
    memo->SetScrollBars(TScrollStyle::Both);
    memo->SetScrollBars(TScrollStyle::None);
    memo->Font().SetHeight(-20);
    memo->Font().SetName("ＭＳ ゴシック");
    Pump();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(memo->Text(), W("again"));
}

TEST_F(MemoTest, ClearEmptiesWithoutComparingOrNotifying) {
    Put("something");
    SentMessageLog log;
    memo->Clear();
    EXPECT_EQ(log.Of(Edit(), WM_SETTEXT).size(), 1u);
    EXPECT_EQ(memo->Text(), W(""));
    EXPECT_EQ(changes, 0);
    // Clear sends even when the control is already empty.
    memo->Clear();
    EXPECT_EQ(log.Of(Edit(), WM_SETTEXT).size(), 2u);
    EXPECT_EQ(changes, 0);
}

// --- Window re-creation ----------------------------------------------------

// A window that toggles the memo's word wrap when asked: a stand-in for a
// menu command sent by another thread (an automation tool).
TMemo* toggled = nullptr;
LRESULT CALLBACK ToggleProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m != WM_APP) return DefWindowProcW(w, m, wp, lp);
    try {
        toggled->SetWordWrap(!toggled->WordWrap());
        return 1;
    } catch (...) {
        return 2;
    }
}

// The text moves between windows while a message from another thread is
// being handled as at any other time; a message without the process's key,
// as another process would send one, is refused with nothing read.
TEST_F(MemoTest, TextMovesWhileAnotherThreadsMessageIsHandledAndOnlyWithTheKey) {
    memo->SetText(W("kept text"));
    toggled = memo;
    WNDCLASSW wc{};
    wc.lpfnWndProc = ToggleProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MokeMemoTestToggle";
    RegisterClassW(&wc);
    HWND receiver = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(receiver, nullptr);
    const bool wrapped = memo->WordWrap();
    std::atomic<LRESULT> answer{0};
    std::thread sender([&] { answer = SendMessageW(receiver, WM_APP, 0, 0); });
    while (answer == 0) PumpFor(std::chrono::milliseconds(5));
    sender.join();
    DestroyWindow(receiver);
    EXPECT_EQ(answer, 1);
    EXPECT_NE(memo->WordWrap(), wrapped);
    EXPECT_EQ(memo->Text(), W("kept text"));

    editor::TextBuffer buffer;
    EXPECT_EQ(SendMessageW(Edit(), editor::EM_GIVETEXT, 0, reinterpret_cast<LPARAM>(&buffer)), 0);
    EXPECT_EQ(SendMessageW(Edit(), editor::EM_TAKETEXT, editor::CompareFirst, reinterpret_cast<LPARAM>(&buffer)), 0);
    EXPECT_EQ(memo->Text(), W("kept text"));
}

TEST_F(MemoTest, WordWrapAndScrollBarsRecreateTheWindowCarryingState) {
    memo->SetText(W("line one\r\nline two"));
    memo->SetModified(true);
    memo->SetReadOnly(true);
    memo->Font().SetName("ＭＳ ゴシック");
    memo->Font().SetHeight(-18);
    memo->SetFocus();
    ASSERT_EQ(GetFocus(), Edit());
    changes = 0;

    const HWND before = Edit();
    memo->SetWordWrap(false);
    const HWND afterWrap = Edit();
    EXPECT_NE(afterWrap, before);
    EXPECT_FALSE(IsWindow(before));
    memo->SetScrollBars(TScrollStyle::Both);
    const HWND after = Edit();
    EXPECT_NE(after, afterWrap);

    EXPECT_EQ(WindowTextOf(), "line one\r\nline two");
    EXPECT_NE(SendMessageA(after, EM_GETMODIFY, 0, 0), 0);
    EXPECT_TRUE(memo->Modified());
    EXPECT_TRUE(Style() & ES_READONLY);
    const auto font = reinterpret_cast<HFONT>(SendMessageA(after, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTA described{};
    GetObjectA(font, sizeof described, &described);
    EXPECT_STREQ(described.lfFaceName, "ＭＳ ゴシック");
    EXPECT_EQ(described.lfHeight, -18);
    EXPECT_EQ(GetFocus(), after);
    EXPECT_EQ(changes, 0);

    // A clear flag is carried as well.
    memo->SetModified(false);
    memo->SetWordWrap(true);
    EXPECT_FALSE(memo->Modified());
    EXPECT_EQ(SendMessageA(Edit(), EM_GETMODIFY, 0, 0), 0);
}

TEST_F(MemoTest, RecreationDropsSelectionAndUndoAndKeepsFocusWhereItWas) {
    Put("abcdef");
    memo->SetSelection(1, 4);
    memo->ReplaceSelection(W("X"));
    memo->SetSelection(0, 2);
    SendMessageA(Edit(), WM_CLEAR, 0, 0); // an edit that can be undone
    ASSERT_TRUE(memo->CanUndo());
    memo->SetSelection(1, 2);
    // The focus is elsewhere: it stays elsewhere.
    SetFocus(form->Handle());
    ASSERT_NE(GetFocus(), Edit());
    memo->SetWordWrap(false);
    EXPECT_FALSE(memo->CanUndo());
    EXPECT_EQ(memo->SelectionLength(), 0u);
    std::size_t start = 9, end = 9;
    memo->GetSelection(start, end);
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);
    EXPECT_NE(GetFocus(), Edit());
}

TEST_F(MemoTest, SettingAPropertyToItsValueDoesNotRecreate) {
    const HWND window = Edit();
    memo->SetWordWrap(memo->WordWrap());
    memo->SetScrollBars(memo->ScrollBars());
    memo->SetHideSelection(memo->HideSelection());
    memo->SetReadOnly(memo->ReadOnly());
    EXPECT_EQ(Edit(), window);
    // ReadOnly never re-creates.
    memo->SetReadOnly(!memo->ReadOnly());
    EXPECT_EQ(Edit(), window);
}

TEST_F(MemoTest, PropertiesSetWithoutAWindowTakeEffectWhenItIsMade) {
    TForm other(&Application(), "TMemoTestForm");
    other.SetPosition(TPosition::Designed);
    other.SetBounds(80, 80, 300, 200);
    auto& late = other.Make<TMemo>();
    late.SetParent(&other);
    late.SetBounds(0, 0, 200, 100);
    late.SetWordWrap(false);
    late.SetScrollBars(TScrollStyle::Horizontal);
    late.SetReadOnly(true);
    late.SetModified(true);
    late.Font().SetHeight(-22);
    ASSERT_FALSE(late.HandleAllocated());
    EXPECT_TRUE(late.Modified());
    HWND window = late.Handle();
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    EXPECT_TRUE(style & ES_AUTOHSCROLL);
    EXPECT_TRUE(style & WS_HSCROLL);
    EXPECT_FALSE(style & WS_VSCROLL);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_NE(SendMessageA(window, EM_GETMODIFY, 0, 0), 0);
    LOGFONTA described{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof described, &described);
    EXPECT_EQ(described.lfHeight, -22);
}

// --- Styles ------------------------------------------------------------------

TEST_F(MemoTest, WindowStylesFollowTheProperties) {
    EXPECT_EQ(ClassName(Edit()), "MokeEdit");
    EXPECT_EQ(Style() & (ES_MULTILINE | ES_AUTOVSCROLL), ES_MULTILINE | ES_AUTOVSCROLL);
    EXPECT_TRUE(Style() & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongPtrA(Edit(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    memo->SetWordWrap(true);
    EXPECT_FALSE(Style() & ES_AUTOHSCROLL);
    memo->SetWordWrap(false);
    EXPECT_TRUE(Style() & ES_AUTOHSCROLL);

    const struct {
        TScrollStyle bars;
        bool horizontal, vertical;
    } bars[] = {{TScrollStyle::None, false, false},
                {TScrollStyle::Horizontal, true, false},
                {TScrollStyle::Vertical, false, true},
                {TScrollStyle::Both, true, true}};
    for (const auto& b : bars) {
        memo->SetScrollBars(b.bars);
        EXPECT_EQ((Style() & WS_HSCROLL) != 0, b.horizontal) << static_cast<int>(b.bars);
        EXPECT_EQ((Style() & WS_VSCROLL) != 0, b.vertical) << static_cast<int>(b.bars);
        // The fixed styles survive every re-creation.
        EXPECT_EQ(Style() & (ES_MULTILINE | ES_AUTOVSCROLL), ES_MULTILINE | ES_AUTOVSCROLL);
        EXPECT_TRUE(GetWindowLongPtrA(Edit(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        EXPECT_TRUE(Style() & WS_TABSTOP);
    }

    memo->SetHideSelection(true);
    EXPECT_FALSE(Style() & ES_NOHIDESEL);
    memo->SetHideSelection(false);
    EXPECT_TRUE(Style() & ES_NOHIDESEL);

    memo->SetReadOnly(true);
    EXPECT_TRUE(Style() & ES_READONLY);
    memo->SetReadOnly(false);
    EXPECT_FALSE(Style() & ES_READONLY);
}

TEST_F(MemoTest, ReadOnlyKeepsTheUserFromTyping) {
    memo->SetReadOnly(true);
    memo->SetFocus();
    PostChar(Edit(), 'q');
    Pump();
    EXPECT_EQ(WindowTextOf(), "");
    EXPECT_EQ(changes, 0);
    memo->SetReadOnly(false);
    PostChar(Edit(), 'q');
    Pump();
    EXPECT_EQ(WindowTextOf(), "q");
}

TEST_F(MemoTest, WantTabsTakesTheTabKey) {
    memo->SetWantTabs(true);
    EXPECT_TRUE(SendMessageA(Edit(), WM_GETDLGCODE, VK_TAB, 0) & DLGC_WANTTAB);
    memo->SetWantTabs(false);
    EXPECT_FALSE(SendMessageA(Edit(), WM_GETDLGCODE, VK_TAB, 0) & DLGC_WANTTAB);
}

// --- Positions in the control's own units -------------------------------------

TEST_F(MemoTest, SelectionIsMeasuredAndReplacedInUtf16Units) {
    memo->SetText(W("表示abc") + L"\U0001F600" + W("漢字"));
    // Units: 表 0, 示 1, a 2, b 3, c 4, the emoji 5-6 (a surrogate pair), 漢 7, 字 8.
    memo->SetSelection(1, 3);
    EXPECT_EQ(memo->SelectionLength(), 2u);
    EXPECT_EQ(memo->SelectedText(), W("示a"));
    std::size_t start = 0, end = 0;
    memo->GetSelection(start, end);
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);

    memo->SetSelection(4, 8);
    EXPECT_EQ(memo->SelectedText(), L"c\U0001F600" + W("漢"));

    memo->SetSelection(1, 3);
    memo->ReplaceSelection(L"\u00e4\u20ac\uD55C");
    EXPECT_EQ(memo->Text(), W("表") + L"\u00e4\u20ac\uD55C" + W("bc") + L"\U0001F600" + W("漢字"))
        << "characters outside the code page pass whole";
    memo->GetSelection(start, end);
    EXPECT_EQ(start, 4u) << "the caret stands after the inserted text";
    EXPECT_EQ(end, 4u);

    memo->SelectAll();
    EXPECT_EQ(memo->SelectionLength(), memo->TextLength());
}

TEST_F(MemoTest, SelectionMadeByTheUserIsReportedInUtf16Units) {
    Put("あいうえお");
    memo->SetFocus();
    // Shift+End from the start selects the whole line as the user would.
    SendMessageA(Edit(), EM_SETSEL, 0, 0);
    PostKey(Edit(), VK_END, true);
    Pump();
    EXPECT_EQ(memo->SelectionLength(), 5u);
    EXPECT_EQ(memo->SelectedText(), W("あいうえお"));
}

TEST_F(MemoTest, SelectedTextOverTwoLinesIncludesTheLineBreak) {
    Put("ab\r\ncd\r\nef");
    memo->SetSelection(1, 5);
    EXPECT_EQ(memo->SelectionLength(), 4u);
    EXPECT_EQ(memo->SelectedText(), W("b\r\nc"));
    Put("表\r\n示");
    memo->SelectAll();
    EXPECT_EQ(memo->SelectionLength(), 4u);
    EXPECT_EQ(memo->SelectedText(), W("表\r\n示"));
}

TEST_F(MemoTest, EmptySelectionGivesEmptyText) {
    Put("abc");
    memo->SetSelection(1, 1);
    EXPECT_EQ(memo->SelectionLength(), 0u);
    EXPECT_EQ(memo->SelectedText(), W(""));
}

// --- Update batch --------------------------------------------------------------

TEST_F(MemoTest, UpdateBatchesNestAndSwitchDrawingOffOnlyAtTheOutside) {
    SentMessageLog log;
    memo->BeginUpdate();
    auto redraws = log.Of(Edit(), WM_SETREDRAW);
    ASSERT_EQ(redraws.size(), 1u);
    EXPECT_EQ(redraws[0].wParam, static_cast<WPARAM>(FALSE));
    memo->BeginUpdate();
    memo->SetText(W("inside"));
    memo->EndUpdate();
    EXPECT_EQ(log.Of(Edit(), WM_SETREDRAW).size(), 1u);
    memo->EndUpdate();
    redraws = log.Of(Edit(), WM_SETREDRAW);
    ASSERT_EQ(redraws.size(), 2u);
    EXPECT_EQ(redraws[1].wParam, static_cast<WPARAM>(TRUE));
    // An unbalanced end does nothing.
    memo->EndUpdate();
    EXPECT_EQ(log.Of(Edit(), WM_SETREDRAW).size(), 2u);
    memo->BeginUpdate();
    EXPECT_EQ(log.Of(Edit(), WM_SETREDRAW).size(), 3u);
    memo->EndUpdate();
    EXPECT_EQ(log.Of(Edit(), WM_SETREDRAW).size(), 4u);
}

// --- Capacity -------------------------------------------------------------------

TEST_F(MemoTest, ATextTheControlRefusesIsACapacityFailureWithoutChange) {
    memo->SetText(W("abc"));
    changes = 0;
    SendMessageA(Edit(), EM_LIMITTEXT, 5, 0);
    SentMessageLog log;
    try {
        memo->SetText(W("0123456789"));
        FAIL() << "no capacity failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Kind(), FailureKind::Capacity);
        EXPECT_EQ(failure.Message(), "文字列の大きさが ﾒﾓ の制限を越えました");
    }
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(log.Of(Edit(), editor::EM_TAKETEXT).empty());
    EXPECT_EQ(memo->Text(), W("abc"));
    // A text within the limit still goes in.
    memo->SetText(W("12345"));
    EXPECT_EQ(memo->Text(), W("12345"));
    EXPECT_EQ(changes, 1);
}

TEST_F(MemoTest, TheComponentSetsNoLimitOfItsOwn) {
    std::wstring big;
    while (big.size() < 200000)
        big += L"a line of a longer text\r\n";
    memo->SetText(big);
    EXPECT_EQ(memo->TextLength(), big.size());
    EXPECT_EQ(changes, 1);
}

TEST_F(MemoTest, ALineOfTwoMegabytesIsTakenWrappedAndUnwrapped) {
    // The platform's control takes minutes to wrap a line of this length,
    // and so did ours while it looked for a place to break in the whole line
    // for every row.
    const std::wstring longLine = std::wstring(2 << 20, L'x') + L"\r\nend";
    ASSERT_TRUE(memo->WordWrap());
    memo->SetText(longLine);
    EXPECT_EQ(memo->TextLength(), longLine.size());
    memo->SetModified(true);
    memo->SetWordWrapAndScrollBars(false, TScrollStyle::Both);
    memo->SetWordWrapAndScrollBars(true, TScrollStyle::Vertical);
    EXPECT_TRUE(memo->WordWrap());
    EXPECT_EQ(memo->Text(), longLine);
    EXPECT_TRUE(memo->Modified());
}

} // namespace
} // namespace moke::test
