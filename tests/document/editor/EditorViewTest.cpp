// What the editor shows: its context menu beside the platform control's (the
// same items, enabled alike), the colours it asks of its parent, the
// selection it paints, and a long wrapped line reached with Ctrl+End.
#include "tests/document/editor/EditorPair.h"

#include <gtest/gtest.h>

#include <imm.h>

#include <string>
#include <vector>

namespace moke::test {
namespace {

// The context menu a control opens for WM_CONTEXTMENU: "caption:enabled" of
// each item, read from inside the menu's own loop, which is then closed.
std::vector<std::string> ContextMenuItems(HWND control) {
    std::vector<std::string> items;
    ModalAnswerer answerer;
    answerer.Expect("#32768", [&items](HWND menuWindow) {
        HMENU menu = HMENU(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
        for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
            wchar_t caption[64] = {};
            MENUITEMINFOW info{sizeof info, MIIM_STATE | MIIM_STRING | MIIM_FTYPE};
            info.dwTypeData = caption;
            info.cch = 64;
            GetMenuItemInfoW(menu, UINT(i), TRUE, &info);
            if (info.fType & MFT_SEPARATOR) {
                items.push_back("-");
                continue;
            }
            std::string text;
            for (const wchar_t* c = caption; *c; ++c) text += *c < 0x80 ? char(*c) : '?';
            items.push_back(text + ((info.fState & MFS_GRAYED) ? ":off" : ":on"));
        }
        PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    RECT r;
    GetWindowRect(control, &r);
    SendMessageW(control, WM_CONTEXTMENU, WPARAM(control), MAKELPARAM(r.left + 20, r.top + 20));
    EditorPair::DrainQueue();
    EXPECT_TRUE(answerer.Done()) << "no context menu was shown";
    return items;
}

TEST(EditorView, ContextMenuMatchesThePlatformControl) {
    const struct {
        const char* name;
        const wchar_t* text;
        int selStart, selEnd;
        bool readOnly, typed, clipboard;
    } states[] = {
        {"empty", L"", 0, 0, false, false, false},
        {"a selection", L"abc def", 1, 4, false, false, false},
        {"all selected", L"abc", 0, -1, false, false, true},
        {"something to undo", L"abc", 3, 3, false, true, true},
        {"read-only with a selection", L"abc", 0, 2, true, false, true},
    };
    for (const auto& state : states) {
        EditorPair pair(ES_AUTOHSCROLL | WS_VSCROLL);
        if (OpenClipboard(pair.Parent())) {
            EmptyClipboard();
            if (state.clipboard) {
                HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 4 * sizeof(wchar_t));
                std::wcscpy(static_cast<wchar_t*>(GlobalLock(memory)), L"clp");
                GlobalUnlock(memory);
                SetClipboardData(CF_UNICODETEXT, memory);
            }
            CloseClipboard();
        }
        std::vector<std::string> menus[2];
        int k = 0;
        for (HWND w : {pair.Platform(), pair.Ours()}) {
            SendMessageW(w, WM_SETTEXT, 0, LPARAM(state.text));
            if (state.typed) SendMessageW(w, WM_CHAR, L'x', 1);
            SendMessageW(w, EM_SETSEL, WPARAM(state.selStart), LPARAM(state.selEnd));
            SendMessageW(w, EM_SETREADONLY, state.readOnly, 0);
            SetFocus(w);
            menus[k++] = ContextMenuItems(w);
        }
        EXPECT_EQ(menus[1], menus[0]) << state.name;
        EXPECT_EQ(menus[1].size(), 8u) << state.name;
    }
}

// Colour requests seen by the parent: WM_CTLCOLOREDIT normally,
// WM_CTLCOLORSTATIC when read-only or disabled, as the platform control asks.
TEST(EditorView, AsksTheParentForColoursAsThePlatformControlDoes) {
    const struct {
        const char* name;
        bool readOnly, disabled;
    } cases[] = {{"editable", false, false}, {"read-only", true, false}, {"disabled", false, true}};
    for (const auto& c : cases) {
        EditorPair pair(ES_AUTOHSCROLL | WS_VSCROLL);
        std::vector<UINT> asked[2];
        int k = 0;
        for (HWND w : {pair.Platform(), pair.Ours()}) {
            SendMessageW(w, WM_SETTEXT, 0, LPARAM(L"colour"));
            SendMessageW(w, EM_SETREADONLY, c.readOnly, 0);
            EnableWindow(w, !c.disabled);
            SentMessageLog log;
            InvalidateRect(w, nullptr, TRUE);
            UpdateWindow(w);
            for (const auto& e : log.Entries())
                if (e.window == pair.Parent() && (e.msg == WM_CTLCOLOREDIT || e.msg == WM_CTLCOLORSTATIC) &&
                    HWND(e.lParam) == w)
                    asked[k].push_back(e.msg);
            ++k;
        }
        ASSERT_FALSE(asked[0].empty()) << c.name;
        ASSERT_FALSE(asked[1].empty()) << c.name;
        EXPECT_EQ(asked[1].front(), asked[0].front()) << c.name;
    }
}

// With word wrap, rows are counted in idle time: the scroll bar first counts
// a line not laid out yet as one row, and comes to the real count of rows while the message
// loop is idle, without anything asking for it.
TEST(EditorView, CountsWrappedRowsInIdleTime) {
    EditorPair pair(WS_VSCROLL);
    HWND w = pair.Ours();
    std::wstring text;
    const std::wstring line = L"one two three four five six seven eight nine ten eleven twelve\r\n";
    for (int i = 0; i < 20000; ++i) text += line;
    ASSERT_TRUE(SendMessageW(w, WM_SETTEXT, 0, LPARAM(text.c_str())));
    auto range = [w] {
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE};
        GetScrollInfo(w, SB_VERT, &si);
        return si.nMax - int(si.nPage) + 1; // the rows beyond the first page
    };
    const int before = range();
    // Only the first lines are laid out at once; the rest count as one row each.
    EXPECT_LT(before, 2 * 20000) << "the whole text was laid out at once";
    ASSERT_TRUE(PumpUntil([&] { return range() > 3 * 20000 - 20; }, std::chrono::seconds(10)))
        << "the rows were not counted in idle time: " << range();
    EXPECT_EQ(range() + 1, SendMessageW(w, EM_GETLINECOUNT, 0, 0)) << "the scroll bar's rows and the row count";
}

// Without word wrap, the widths of lines are measured in idle time too: the
// horizontal bar comes to span a wide line far below the view.
TEST(EditorView, MeasuresLineWidthsInIdleTime) {
    EditorPair pair(ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL);
    HWND w = pair.Ours();
    std::wstring text;
    for (int i = 0; i < 100000; ++i) text += L"ww\r\n";
    text += std::wstring(300, L'w');
    ASSERT_TRUE(SendMessageW(w, WM_SETTEXT, 0, LPARAM(text.c_str())));
    const int wide = 300 * (short(LOWORD(SendMessageW(w, EM_POSFROMCHAR, 1, 0))) -
                            short(LOWORD(SendMessageW(w, EM_POSFROMCHAR, 0, 0))));
    auto range = [w] {
        SCROLLINFO si{sizeof si, SIF_RANGE};
        GetScrollInfo(w, SB_HORZ, &si);
        return si.nMax + 1;
    };
    EXPECT_LT(range(), wide) << "the whole text was measured at once";
    ASSERT_TRUE(PumpUntil([&] { return range() == wide; }, std::chrono::seconds(10)))
        << "the widest line was not measured in idle time: " << range() << " of " << wide;
    // Gone again when that line is.
    SendMessageW(w, EM_SETSEL, text.size() - 300, text.size());
    SendMessageW(w, WM_CLEAR, 0, 0);
    EXPECT_EQ(range(), wide / 150);
}

// Focus comes and goes with EN_SETFOCUS and EN_KILLFOCUS, as from the
// platform control.
TEST(EditorView, ReportsFocusAsThePlatformControlDoes) {
    EditorPair pair(ES_AUTOHSCROLL);
    SetFocus(pair.Parent());
    EditorPair::TakeNotes(pair.Ours());
    EditorPair::TakeNotes(pair.Platform());
    SetFocus(pair.Ours());
    SetFocus(pair.Platform());
    SetFocus(pair.Ours());
    EXPECT_EQ(EditorPair::TakeNotes(pair.Ours()), (std::vector<WORD>{EN_SETFOCUS, EN_KILLFOCUS, EN_SETFOCUS}));
    EXPECT_EQ(EditorPair::TakeNotes(pair.Platform()), (std::vector<WORD>{EN_SETFOCUS, EN_KILLFOCUS}));
}

// A drag that leaves the window below keeps scrolling while the button is
// held: the pointer really moves, the editor's timer does the rest.
TEST(EditorView, DragBelowTheWindowScrollsOnItsOwn) {
    EditorPair pair(ES_AUTOHSCROLL | WS_VSCROLL);
    HWND w = pair.Ours();
    std::wstring text;
    for (int i = 0; i < 200; ++i) text += L"line " + std::to_wstring(i) + L"\r\n";
    SendMessageW(w, WM_SETTEXT, 0, LPARAM(text.c_str()));
    RECT r;
    GetWindowRect(w, &r);
    POINT pointerBefore{};
    GetCursorPos(&pointerBefore);
    struct PointerBack {
        POINT at;
        ~PointerBack() { SetCursorPos(at.x, at.y); }
    } pointerBack{pointerBefore};
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 5));
    SetCursorPos(r.left + 20, r.bottom + 30);
    ASSERT_TRUE(PumpUntil([w] { return SendMessageW(w, EM_GETFIRSTVISIBLELINE, 0, 0) >= 5; }))
        << "the view did not follow the pointer";
    SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(20, r.bottom - r.top + 30));
    const auto [start, end] = EditorPair::Selection(w);
    EXPECT_EQ(start, 0u);
    EXPECT_GT(SendMessageW(w, EM_LINEFROMCHAR, end, 0), 10) << "the selection did not follow the view";
    const LRESULT stopped = SendMessageW(w, EM_GETFIRSTVISIBLELINE, 0, 0);
    PumpFor(std::chrono::milliseconds(300));
    EXPECT_EQ(SendMessageW(w, EM_GETFIRSTVISIBLELINE, 0, 0), stopped) << "scrolling went on after the release";
}

// Cut deletes only what the clipboard took: while another window holds the
// clipboard open, the text stays.
TEST(EditorView, CutKeepsTheTextWhenTheClipboardIsBusy) {
    EditorPair pair(ES_AUTOHSCROLL);
    HWND w = pair.Ours();
    SendMessageW(w, WM_SETTEXT, 0, LPARAM(L"keep this"));
    SendMessageW(w, EM_SETSEL, 0, 4);
    ASSERT_TRUE(OpenClipboard(pair.Parent()));
    SendMessageW(w, WM_CUT, 0, 0);
    CloseClipboard();
    EXPECT_TRUE(EditorPair::Text(w) == u"keep this");
    SendMessageW(w, WM_CUT, 0, 0);
    EXPECT_TRUE(EditorPair::Text(w) == u" this") << "with the clipboard free, cut deletes";
}

// A parent that destroys the editor when it reports a change: the editor
// finishes the message it was handling without touching its freed state.
TEST(EditorView, SurvivesItsParentDestroyingItFromANotification) {
    EditorPair pair(ES_AUTOHSCROLL | WS_VSCROLL);
    HWND w = pair.Ours();
    static HWND victim;
    victim = w;
    auto hook = SetWindowsHookExW(
        WH_CALLWNDPROCRET,
        [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
            const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lp);
            if (code == HC_ACTION && m->message == WM_COMMAND && HWND(m->lParam) == victim &&
                HIWORD(m->wParam) == EN_UPDATE && IsWindow(victim))
                DestroyWindow(victim);
            return CallNextHookEx(nullptr, code, wp, lp);
        },
        nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    SendMessageW(w, WM_CHAR, L'a', 1);
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(IsWindow(w));
}

// Pixels of the system's selection colour in a window, as painted.
int HighlightPixels(HWND w) {
    RECT r;
    GetClientRect(w, &r);
    HDC dc = GetDC(w);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    int count = 0;
    for (int y = 0; y < std::min<LONG>(r.bottom, 40); ++y)
        for (int x = 0; x < std::min<LONG>(r.right, 120); ++x)
            if (GetPixel(dc, x, y) == highlight) ++count;
    ReleaseDC(w, dc);
    return count;
}

TEST(EditorView, PaintsTheSelectionInTheSystemColoursWhileFocusedOrNotHidden) {
    const struct {
        const char* name;
        DWORD style;
        bool focused;
        bool shown;
    } cases[] = {
        {"focused", ES_AUTOHSCROLL, true, true},
        {"not focused, selection hidden", ES_AUTOHSCROLL, false, false},
        {"not focused, ES_NOHIDESEL", ES_AUTOHSCROLL | ES_NOHIDESEL, false, true},
    };
    for (const auto& c : cases) {
        EditorPair pair(c.style);
        HWND w = pair.Ours();
        SendMessageW(w, WM_SETTEXT, 0, LPARAM(L"selected text here"));
        SendMessageW(w, EM_SETSEL, 0, 8);
        SetFocus(c.focused ? w : pair.Platform());
        InvalidateRect(w, nullptr, TRUE);
        UpdateWindow(w);
        if (c.shown)
            EXPECT_GT(HighlightPixels(w), 200) << c.name;
        else
            EXPECT_EQ(HighlightPixels(w), 0) << c.name;
    }
}

// One long line with word wrap: Ctrl+End reaches its end, the caret's line
// is on screen, and the line is counted in rows.
TEST(EditorView, LongWrappedLineReachesItsEnd) {
    EditorPair pair(WS_VSCROLL);
    HWND w = pair.Ours();
    std::wstring line;
    while (line.size() < 200000) line += L"word \u65E5\u672C ";
    ASSERT_TRUE(SendMessageW(w, WM_SETTEXT, 0, LPARAM(line.c_str())));
    SetFocus(w);
    EditorPair::PressKey(w, VK_END, false, true);
    EXPECT_EQ(EditorPair::Selection(w), std::make_pair(DWORD(line.size()), DWORD(line.size())));
    const LRESULT rows = SendMessageW(w, EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(rows, 1000);
    const LRESULT first = SendMessageW(w, EM_GETFIRSTVISIBLELINE, 0, 0);
    const LRESULT caretRow = SendMessageW(w, EM_LINEFROMCHAR, WPARAM(line.size()), 0);
    EXPECT_EQ(caretRow, rows - 1);
    EXPECT_LE(first, caretRow);
    EXPECT_GT(first + 9, caretRow) << "the caret's row is not on screen";
}

// Japanese input: the IME's composition window is kept at the caret, and
// its result, arriving as WM_IME_CHAR in UTF-16, is typed.
TEST(EditorView, KeepsTheImeWindowAtTheCaretAndTypesItsResult) {
    EditorPair pair(ES_AUTOHSCROLL | WS_VSCROLL);
    HWND w = pair.Ours();
    SendMessageW(w, WM_SETTEXT, 0, LPARAM(L"abc\r\ndef"));
    SetFocus(w);
    const struct { DWORD caret; } places[] = {{0}, {2}, {7}};
    for (const auto& p : places) {
        SendMessageW(w, EM_SETSEL, p.caret, p.caret);
        SendMessageW(w, WM_IME_STARTCOMPOSITION, 0, 0);
        HIMC context = ImmGetContext(w);
        ASSERT_NE(context, nullptr);
        COMPOSITIONFORM form{};
        ASSERT_TRUE(ImmGetCompositionWindow(context, &form));
        ImmReleaseContext(w, context);
        const LRESULT at = SendMessageW(w, EM_POSFROMCHAR, p.caret, 0);
        EXPECT_EQ(form.ptCurrentPos.x, short(LOWORD(at))) << p.caret;
        EXPECT_EQ(form.ptCurrentPos.y, short(HIWORD(at))) << p.caret;
    }
    for (wchar_t c : {L'\u65E5', L'\u672C'}) SendMessageW(w, WM_IME_CHAR, WPARAM(c), 1);
    EditorPair::DrainQueue();
    EXPECT_TRUE(EditorPair::Text(w) == u"abc\r\nde\u65E5\u672Cf");
}

} // namespace
} // namespace moke::test
