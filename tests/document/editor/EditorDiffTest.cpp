// Our editor beside the platform's edit control: one table of operation
// sequences, each run on both with the same styles, size and font; after every
// step the text, the selection, the modified flag, the undo state, the
// notifications, the lines (count, start, length, the line of every
// position), the first visible line, the caret's point and the dialog code
// must agree. A row where ours is known to differ says how and whether on
// purpose, and the test checks that it still differs.
#include "tests/document/editor/EditorPair.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace moke::test {
namespace {

enum class Op {
    SetText,      // WM_SETTEXT
    Type,         // WM_CHAR, one message per UTF-16 unit
    Key,          // a key pressed through the queue (WM_KEYDOWN, translated)
    Select,       // EM_SETSEL a, b
    Replace,      // EM_REPLACESEL with can-undo a
    Undo,         // EM_UNDO
    Cut,          // WM_CUT
    Copy,         // WM_COPY
    Paste,        // WM_PASTE
    Clear,        // WM_CLEAR
    EmptyUndo,    // EM_EMPTYUNDOBUFFER
    SetModify,    // EM_SETMODIFY a
    Limit,        // EM_SETLIMITTEXT a
    SetReadOnly,  // EM_SETREADONLY a
    Click,        // left button down and up at the client point (a, b), Shift with `shift`
    DoubleClick,  // a double click there
    Drag,         // button down at (a, b), moved to the point in `text` (x, y), up there
    Wheel,        // the wheel turned by a notches (negative: towards the user)
    ScrollCaret,  // EM_SCROLLCARET
    DialogCode,   // WM_GETDLGCODE for the key a, with its message, as a dialog asks
    VScroll,      // WM_VSCROLL with the request a and the position b
    HScroll,      // WM_HSCROLL with the request a and the position b
    ShowBar,      // from now on the horizontal scroll bar is compared too
};

struct Step {
    Op op;
    std::u16string text;
    long long a = 0, b = 0;
    bool shift = false, ctrl = false;
};

Step SetText(std::u16string t) { return {Op::SetText, std::move(t)}; }
Step Type(std::u16string t) { return {Op::Type, std::move(t)}; }
Step Key(UINT vk, bool shift = false, bool ctrl = false) { return {Op::Key, {}, vk, 0, shift, ctrl}; }
Step Select(long long a, long long b) { return {Op::Select, {}, a, b}; }
Step Replace(std::u16string t, bool canUndo = true) { return {Op::Replace, std::move(t), canUndo}; }
Step Do(Op op, long long a = 0, long long b = 0) { return {op, {}, a, b}; }
// The client point of a character cell: column and row of the 8 by 17 pixel
// cells of the 16-pixel font, inside the 3, 1 offset of the text.
long long CellX(int column) { return 3 + 8 * column + 2; }
long long CellY(int row) { return 1 + 17 * row + 8; }
Step Click(int column, int row, bool shift = false) { return {Op::Click, {}, CellX(column), CellY(row), shift}; }
Step DoubleClick(int column, int row) { return {Op::DoubleClick, {}, CellX(column), CellY(row)}; }
Step Drag(int column, int row, int toColumn, int toRow) {
    return {Op::Drag, {char16_t(CellX(toColumn)), char16_t(CellY(toRow))}, CellX(column), CellY(row)};
}

struct Row {
    const char* name;
    DWORD style; // besides WS_CHILD, ES_MULTILINE, ES_AUTOVSCROLL
    std::vector<Step> steps;
    const char* knownDifference = nullptr; // how ours differs, and whether on purpose
};

constexpr DWORD NoWrap = ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL;
constexpr DWORD Wrap = WS_VSCROLL;

// The horizontal bar's range is the widest line's width, and the platform
// control under Wine never narrows it while the text changes (it keeps the
// widest line there has been; ours, the widest there is): rows whose lines
// only ever grow compare it.
bool& BarShown() {
    static bool shown = false;
    return shown;
}

void Perform(HWND w, const Step& s) {
    EditorPair::Acting() = w;
    switch (s.op) {
    case Op::SetText:
        SendMessageW(w, WM_SETTEXT, 0, LPARAM(s.text.c_str()));
        break;
    case Op::Type:
        for (char16_t c : s.text) SendMessageW(w, WM_CHAR, WPARAM(c), 1);
        break;
    case Op::Key:
        EditorPair::PressKey(w, UINT(s.a), s.shift, s.ctrl);
        break;
    case Op::Select:
        SendMessageW(w, EM_SETSEL, WPARAM(s.a), LPARAM(s.b));
        break;
    case Op::Replace:
        SendMessageW(w, EM_REPLACESEL, WPARAM(s.a), LPARAM(s.text.c_str()));
        break;
    case Op::Undo: SendMessageW(w, EM_UNDO, 0, 0); break;
    case Op::Cut: SendMessageW(w, WM_CUT, 0, 0); break;
    case Op::Copy: SendMessageW(w, WM_COPY, 0, 0); break;
    case Op::Paste: SendMessageW(w, WM_PASTE, 0, 0); break;
    case Op::Clear: SendMessageW(w, WM_CLEAR, 0, 0); break;
    case Op::EmptyUndo: SendMessageW(w, EM_EMPTYUNDOBUFFER, 0, 0); break;
    case Op::SetModify: SendMessageW(w, EM_SETMODIFY, WPARAM(s.a), 0); break;
    case Op::Limit: SendMessageW(w, EM_SETLIMITTEXT, WPARAM(s.a), 0); break;
    case Op::SetReadOnly: SendMessageW(w, EM_SETREADONLY, WPARAM(s.a), 0); break;
    case Op::ScrollCaret: SendMessageW(w, EM_SCROLLCARET, 0, 0); break;
    case Op::VScroll: SendMessageW(w, WM_VSCROLL, MAKEWPARAM(s.a, s.b), 0); break;
    case Op::HScroll: SendMessageW(w, WM_HSCROLL, MAKEWPARAM(s.a, s.b), 0); break;
    case Op::ShowBar: BarShown() = true; break;
    case Op::DialogCode: {
        MSG key{w, WM_KEYDOWN, WPARAM(s.a), 0, 0, {}};
        SendMessageW(w, WM_GETDLGCODE, WPARAM(s.a), LPARAM(&key));
        break;
    }
    case Op::Click: {
        HeldKeys held(s.shift, false);
        const WPARAM shift = s.shift ? MK_SHIFT : 0;
        PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON | shift, MAKELPARAM(s.a, s.b));
        PostMessageW(w, WM_LBUTTONUP, shift, MAKELPARAM(s.a, s.b));
        EditorPair::DrainQueue();
        break;
    }
    case Op::DoubleClick:
        PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(s.a, s.b));
        PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(s.a, s.b));
        PostMessageW(w, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(s.a, s.b));
        PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(s.a, s.b));
        break;
    case Op::Drag:
        PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(s.a, s.b));
        PostMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(s.text[0], s.text[1]));
        PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(s.text[0], s.text[1]));
        break;
    case Op::Wheel: {
        RECT r;
        GetWindowRect(w, &r);
        SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, short(s.a * WHEEL_DELTA)),
                     MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
        break;
    }
    }
    EditorPair::DrainQueue();
}

std::string Escaped(const std::u16string& s) {
    std::ostringstream out;
    for (char16_t c : s) {
        if (c >= 0x20 && c < 0x7F)
            out << char(c);
        else
            out << "\\u" << std::hex << int(c) << std::dec;
    }
    return out.str();
}

// Everything the two must agree on after a step, as one readable string.
std::string State(HWND w) {
    std::ostringstream out;
    const std::u16string text = EditorPair::Text(w);
    const auto [s, e] = EditorPair::Selection(w);
    out << "text \"" << Escaped(text) << "\" sel " << s << "-" << e << " modified "
        << SendMessageW(w, EM_GETMODIFY, 0, 0) << " canUndo " << (SendMessageW(w, EM_CANUNDO, 0, 0) != 0)
        << " limit " << SendMessageW(w, EM_GETLIMITTEXT, 0, 0);
    const LRESULT lines = SendMessageW(w, EM_GETLINECOUNT, 0, 0);
    out << "\n  lines " << lines << ":";
    for (LRESULT i = 0; i < lines; ++i) {
        const LRESULT start = SendMessageW(w, EM_LINEINDEX, WPARAM(i), 0);
        out << " [" << start << "+" << SendMessageW(w, EM_LINELENGTH, WPARAM(start), 0) << "]";
    }
    out << "\n  line of each position:";
    for (std::size_t p = 0; p <= text.size(); ++p) out << " " << SendMessageW(w, EM_LINEFROMCHAR, WPARAM(p), 0);
    out << "\n  caret line " << SendMessageW(w, EM_LINEFROMCHAR, WPARAM(-1), 0) << " index "
        << SendMessageW(w, EM_LINEINDEX, WPARAM(-1), 0) << " unselected " << SendMessageW(w, EM_LINELENGTH, WPARAM(-1), 0);
    const LRESULT caretAt = SendMessageW(w, EM_POSFROMCHAR, WPARAM(e), 0);
    out << "\n  first visible line " << SendMessageW(w, EM_GETFIRSTVISIBLELINE, 0, 0) << " caret point "
        << short(LOWORD(caretAt)) << "," << short(HIWORD(caretAt));
    out << "\n  dialog code " << SendMessageW(w, WM_GETDLGCODE, 0, 0);
    if (BarShown()) {
        SCROLLINFO si{sizeof si, SIF_ALL};
        GetScrollInfo(w, SB_HORZ, &si);
        out << "\n  horizontal bar " << si.nMin << "-" << si.nMax << " page " << si.nPage << " at " << si.nPos;
    }
    out << "\n  notes:";
    for (WORD code : EditorPair::TakeNotes(w))
        if (code != EN_SETFOCUS && code != EN_KILLFOCUS && code != EN_VSCROLL && code != EN_HSCROLL) out << " " << code;
    return out.str();
}

const std::u16string Japanese = u"日本語の文章です。";
const std::u16string Pair = u"\U00020B9F"; // a kanji outside the basic plane: one surrogate pair
const std::u16string Lines = u"first line\r\nsecond\r\n\r\nlast";

const Row Table[] = {
    {"set text, no notification, modified cleared", NoWrap,
     {SetText(u"abc"), Do(Op::SetModify, 1), SetText(Lines), SetText(u"")}},
    {"typing, then undo twice", NoWrap,
     {Type(u"hello"), Do(Op::Undo), Do(Op::Undo), Type(u" world"), Do(Op::Undo)}},
    {"typing at two places makes two records", NoWrap,
     {Type(u"abc"), Select(1, 1), Type(u"X"), Do(Op::Undo), Do(Op::Undo)}},
    {"Enter and Tab are typed", NoWrap, {Type(u"a\rb\tc\r"), Do(Op::Undo)}},
    {"once a dialog has asked, Enter and Tab are the dialog's", NoWrap,
     {Do(Op::DialogCode, VK_TAB), Type(u"a\rb\tc"), Key(VK_TAB), Key(VK_RETURN)}},
    {"once a dialog has asked, Enter is typed with ES_WANTRETURN", NoWrap | ES_WANTRETURN,
     {Do(Op::DialogCode, VK_RETURN), Type(u"a\rb\tc")}},
    {"control characters other than those are not typed", NoWrap, {Type(u"a\x02\x05" u"b")}},
    {"Esc closes a dialog once it has asked, and does nothing before", NoWrap,
     {Type(u"ab"), Key(VK_ESCAPE), Do(Op::DialogCode, VK_ESCAPE), Key(VK_ESCAPE)}},
    {"caret moves by character over line breaks", NoWrap,
     {SetText(Lines), Key(VK_END), Key(VK_RIGHT), Key(VK_RIGHT), Key(VK_LEFT), Key(VK_LEFT), Key(VK_LEFT)}},
    {"caret moves over Japanese one character a step", NoWrap,
     {SetText(Japanese), Key(VK_RIGHT), Key(VK_RIGHT), Key(VK_RIGHT, true), Key(VK_END, true), Key(VK_LEFT)}},
    {"a surrogate pair is one step", NoWrap,
     {SetText(u"a" + Pair + u"b" + Pair), Key(VK_RIGHT), Key(VK_RIGHT), Key(VK_RIGHT), Key(VK_RIGHT), Key(VK_LEFT),
      Key(VK_LEFT, true), Key(VK_BACK), Key(VK_END), Key(VK_BACK)},
     "on purpose: a surrogate pair is one character here; the platform control steps into it and deletes half of it"},
    {"Delete over a surrogate pair and a line break", NoWrap,
     {SetText(Pair + u"\r\nx"), Key(VK_DELETE), Key(VK_DELETE), Do(Op::Undo), Do(Op::Undo)},
     "on purpose: Delete takes a whole surrogate pair here; the platform control leaves half of it"},
    {"Home, End, Ctrl+Home, Ctrl+End with and without Shift", NoWrap,
     {SetText(Lines), Select(14, 14), Key(VK_HOME), Key(VK_END, true), Key(VK_HOME, true, true), Key(VK_END),
      Key(VK_END, false, true), Key(VK_HOME, true), Key(VK_HOME, false, true)}},
    {"Up and Down keep the column", NoWrap,
     {SetText(Lines), Select(8, 8), Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN), Key(VK_UP), Key(VK_UP, true),
      Key(VK_UP, true), Key(VK_DOWN)}},
    {"Ctrl+Left and Ctrl+Right move by words", NoWrap,
     {SetText(u"one two  three\r\nfour"), Key(VK_RIGHT, false, true), Key(VK_RIGHT, false, true),
      Key(VK_RIGHT, false, true), Key(VK_RIGHT, false, true), Key(VK_RIGHT, false, true), Key(VK_LEFT, false, true),
      Key(VK_LEFT, false, true), Key(VK_LEFT, true, true)}},
    {"Ctrl+Right over Japanese", NoWrap,
     {SetText(u"漢字とかなカナ abc"), Key(VK_RIGHT, false, true), Key(VK_RIGHT, false, true), Key(VK_RIGHT, false, true)}},
    {"Backspace and Delete gather one undo record", NoWrap,
     {SetText(u"abcdef"), Select(4, 4), Key(VK_BACK), Key(VK_BACK), Key(VK_DELETE), Key(VK_DELETE), Do(Op::Undo),
      Do(Op::Undo)}},
    {"Backspace over a line break", NoWrap, {SetText(Lines), Select(12, 12), Key(VK_BACK), Do(Op::Undo)}},
    {"Ctrl+Backspace", NoWrap, {SetText(u"one two three"), Key(VK_END, false, true), Key(VK_BACK, false, true)},
     "on purpose: Ctrl+Backspace deletes the word before the caret here; the platform control ignores it"},
    {"typing replaces the selection", NoWrap,
     {SetText(u"abcdef"), Select(1, 4), Type(u"XY"), Do(Op::Undo), Do(Op::Undo)}},
    {"backwards selection", NoWrap, {SetText(u"abcdef"), Select(5, 2), Key(VK_LEFT, true), Type(u"Z")}},
    {"select all and past the end", NoWrap, {SetText(u"abc"), Select(0, -1), Select(10, 1), Select(-1, 0)}},
    {"replace selection with and without undo", NoWrap,
     {SetText(u"abcdef"), Select(2, 4), Replace(u"XYZ"), Do(Op::Undo), Select(0, 1), Replace(u"", false),
      Replace(u"\r\n")}},
    {"replace an empty selection with nothing", NoWrap, {SetText(u"abc"), Select(1, 1), Replace(u"")}},
    {"cut and paste", NoWrap,
     {SetText(u"copy this text"), Select(5, 10), Do(Op::Cut), Key(VK_END, false, true), Do(Op::Paste), Do(Op::Undo),
      Do(Op::Paste)}},
    {"copy and paste Japanese over a selection", NoWrap,
     {SetText(Japanese), Select(0, 3), Do(Op::Copy), Select(5, 7), Do(Op::Paste), Do(Op::Undo)}},
    {"clear", NoWrap, {SetText(u"abc"), Select(0, 2), Do(Op::Clear), Do(Op::Undo), Do(Op::Clear)}},
    {"undo with nothing to undo", NoWrap,
     {SetText(u"abcdef"), Select(4, 4), Do(Op::Undo), Type(u"x"), Select(0, 0), Do(Op::EmptyUndo), SetText(u"ab"),
      Do(Op::Undo)}},
    {"empty undo buffer and the modified flag", NoWrap,
     {Type(u"ab"), Do(Op::EmptyUndo), Do(Op::SetModify, 0), Type(u"c"), Do(Op::SetModify, 0), Do(Op::Undo)}},
    {"read-only refuses typing, keys still move", NoWrap,
     {SetText(u"abc"), Do(Op::SetReadOnly, 1), Type(u"x"), Key(VK_BACK), Key(VK_END), Key(VK_DELETE),
      Select(0, 1), Do(Op::Cut), Do(Op::Clear), Replace(u"R"), Do(Op::Undo), Do(Op::SetReadOnly, 0), Type(u"y")}},
    {"the limit stops typing and replacing", NoWrap,
     {Do(Op::Limit, 5), Type(u"abcdefg"), Select(0, 1), Replace(u"123"), Do(Op::Limit, 0), Type(u"z")}},
    {"the limit does not stop a whole-text set", NoWrap, {Do(Op::Limit, 3), SetText(u"longer than three")}},
    {"lone CR and LF are not line breaks", NoWrap, {SetText(u"a\rb\nc\r\r\nd\n\re")}},
    {"typing Enter between CR and LF", NoWrap, {SetText(u"ab\r\ncd"), Select(3, 3), Type(u"x")}},
    {"word wrap of ASCII words", Wrap,
     {SetText(u"The quick brown fox jumps over the lazy dog and keeps running far away"),
      Key(VK_END, false, true), Key(VK_HOME), Key(VK_UP), Key(VK_END), Type(u" more words here")}},
    {"the caret over wrapped rows", Wrap,
     {SetText(u"alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu xi omicron pi rho"),
      Key(VK_DOWN), Key(VK_END), Key(VK_RIGHT), Key(VK_HOME), Key(VK_LEFT), Key(VK_DOWN), Key(VK_DOWN),
      Key(VK_UP, true), Key(VK_END, true), Key(VK_HOME, false, true), Key(VK_RIGHT, false, true),
      Key(VK_DOWN, true, true)}},
    {"typing at the edge wraps again", Wrap,
     {SetText(u"aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kk"), Key(VK_END), Type(u"llll mmmm"),
      Select(5, 5), Type(u"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"), Do(Op::Undo), Select(0, 20), Do(Op::Clear)},
     "not on purpose: a row of words that ends near the right edge may end a word apart from the platform "
     "control's"},
    {"word wrap of one long word", Wrap, {SetText(std::u16string(80, u'x') + u"\r\n" + std::u16string(5, u'y'))}},
    {"word wrap of Japanese", Wrap,
     {SetText(Japanese + Japanese + Japanese + u"\r\n" + Japanese), Key(VK_DOWN), Key(VK_DOWN), Key(VK_END)},
     "not on purpose: rows of full-width text may end one character apart from the platform control's"},
    {"word wrap of Japanese with punctuation at the edge", Wrap,
     {SetText(u"あいうえおかきくけこさしすせ。そたちつてとなにぬねの、はひふへほ「まみむめも」やゆよ")},
     "not on purpose: rows of full-width text may end one character apart from the platform control's"},
    {"word wrap with spaces at the edge", Wrap,
     {SetText(u"aaaaaaaaaaaaaaaaaaaaaaaaa bbbbbbbbbbbbbbbbbbbbbbbbbb     cccccccccccc dd")}},
    {"click, Shift+click, drag", NoWrap,
     {SetText(Lines), Click(3, 0), Click(2, 1, true), Click(20, 0), Drag(1, 1, 4, 0), Click(2, 5), Click(2, 2)}},
    {"double-click selects a word", NoWrap,
     {SetText(u"one two  three\r\nfour"), DoubleClick(1, 0), DoubleClick(5, 0), DoubleClick(8, 0),
      DoubleClick(11, 0), DoubleClick(2, 1)}},
    {"double-click in Japanese", NoWrap,
     {SetText(u"漢字とかなカナ abc 日本"), DoubleClick(1, 0), DoubleClick(5, 0), DoubleClick(13, 0), DoubleClick(16, 0)}},
    {"a drag below the window scrolls", NoWrap,
     {SetText(u"0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12"), Drag(0, 0, 1, 10)}},
    {"clipboard keys", NoWrap,
     {SetText(u"copy this"), Select(0, 4), Key(VK_INSERT, false, true), Key(VK_END), Key(VK_INSERT, true),
      Select(0, 2), Key(VK_DELETE, true), Key('V', false, true), Key('Z', false, true), Key('A', false, true),
      Key('X', false, true), Key('C', false, true), Key('V', false, true), Key('V', false, true)}},
    {"Delete with Shift, Ctrl or both and no selection", NoWrap,
     {SetText(u"one two\r\nthree"), Select(5, 5), Key(VK_DELETE, true), Key(VK_DELETE, false, true),
      Key(VK_DELETE, true, true), Select(0, 0), Key(VK_DELETE, true), Select(1, 3), Key(VK_DELETE, true, true),
      Key(VK_DELETE, false, true), Do(Op::Undo)}},
    {"selecting far down scrolls only when asked", NoWrap,
     {SetText(u"0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n13\r\n14"), Select(40, 40),
      Do(Op::ScrollCaret), Select(0, 0), Do(Op::ScrollCaret)}},
    {"a long line scrolls sideways", NoWrap,
     {SetText(std::u16string(60, u'w') + u"\r\n" + std::u16string(10, u'k')), Key(VK_END), Type(u"more"), Key(VK_DOWN),
      Key(VK_HOME), Key(VK_UP), Key(VK_END, false, true)}},
    {"the scroll bars scroll", NoWrap,
     {SetText(u"0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n13\r\n14\r\n15\r\n" +
              std::u16string(90, u'w')),
      Select(3, 3), Do(Op::VScroll, SB_LINEDOWN), Do(Op::VScroll, SB_LINEDOWN), Do(Op::VScroll, SB_PAGEDOWN),
      Do(Op::VScroll, SB_LINEUP), Do(Op::VScroll, SB_THUMBPOSITION, 4), Do(Op::VScroll, SB_BOTTOM),
      Do(Op::VScroll, SB_TOP), Select(60, 60), Do(Op::HScroll, SB_LINERIGHT), Do(Op::HScroll, SB_PAGERIGHT),
      Do(Op::HScroll, SB_LINELEFT), Do(Op::HScroll, SB_THUMBPOSITION, 40), Do(Op::HScroll, SB_LEFT)}},
    {"the wheel scrolls", NoWrap,
     {SetText(u"0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n13\r\n14\r\n15\r\n16"),
      Do(Op::Wheel, -1), Do(Op::Wheel, -1), Do(Op::Wheel, -5), Do(Op::Wheel, 1), Key(VK_HOME, false, true),
      Key(VK_END, false, true), Key(VK_PRIOR), Key(VK_NEXT, true)}},
    {"word wrap with tabs", Wrap, {SetText(u"\tone\ttwo\tthree\tfour\tfive\tsix\tseven")}},
    {"the horizontal bar spans the widest line, and sideways scrolling stops at it", NoWrap,
     {Do(Op::ShowBar), SetText(u"short"), Do(Op::HScroll, SB_LINERIGHT), Do(Op::HScroll, SB_RIGHT),
      SetText(u"ab\r\n" + std::u16string(60, u'x') + u"\r\n" + Japanese), Do(Op::HScroll, SB_LINERIGHT),
      Do(Op::HScroll, SB_PAGERIGHT), Do(Op::HScroll, SB_RIGHT), Do(Op::HScroll, SB_LINERIGHT),
      Do(Op::HScroll, SB_PAGERIGHT), Do(Op::HScroll, SB_LINELEFT), Do(Op::HScroll, SB_THUMBPOSITION, 5000),
      Do(Op::HScroll, SB_LEFT), Select(2, 2), Type(std::u16string(35, u'y')), Key(VK_HOME), Key(VK_END),
      Select(66, 66), Do(Op::ScrollCaret), Key(VK_HOME), Type(Japanese + Japanese + Japanese)}},
    {"the horizontal bar narrows with the widest line", NoWrap,
     {Do(Op::ShowBar), SetText(u"ab\r\n" + std::u16string(60, u'x')), Select(4, 64), Do(Op::Clear)},
     "on purpose: ours spans the widest line there is, the platform control the widest there has been"},
};

TEST(EditorDiff, TableAgreesWithThePlatformControl) {
    for (const Row& row : Table) {
        EditorPair pair(row.style);
        BarShown() = false;
        bool differed = false;
        std::string firstDifference;
        for (std::size_t i = 0; i <= row.steps.size(); ++i) {
            if (i > 0) {
                Perform(pair.Platform(), row.steps[i - 1]);
                Perform(pair.Ours(), row.steps[i - 1]);
            }
            const std::string platform = State(pair.Platform()), ours = State(pair.Ours());
            if (platform != ours && !differed) {
                differed = true;
                firstDifference = "after step " + std::to_string(i) + "\nplatform: " + platform + "\nours:     " + ours;
            }
        }
        if (row.knownDifference)
            EXPECT_TRUE(differed) << row.name << ": expected to differ (" << row.knownDifference << ") but agrees";
        else
            EXPECT_FALSE(differed) << row.name << ": " << firstDifference;
    }
}

// The narrow messages as the program sends them today (code page 932 text):
// what the system converts for each class must come out the same.
std::string Narrow(HWND w) {
    std::ostringstream out;
    const LRESULT length = SendMessageA(w, WM_GETTEXTLENGTH, 0, 0);
    std::string text(std::size_t(std::max<LRESULT>(length, 0)) + 16, '\0');
    const LRESULT got = SendMessageA(w, WM_GETTEXT, WPARAM(text.size()), LPARAM(text.data()));
    text.resize(std::size_t(std::max<LRESULT>(got, 0)));
    char small[5] = {};
    const LRESULT gotSmall = SendMessageA(w, WM_GETTEXT, WPARAM(sizeof small), LPARAM(small));
    char line[32] = {};
    *reinterpret_cast<WORD*>(line) = WORD(sizeof line - 1);
    const LRESULT lineLength = SendMessageA(w, EM_GETLINE, 0, LPARAM(line));
    out << "length " << length << " got " << got << " bytes";
    for (unsigned char c : text) out << " " << std::hex << int(c) << std::dec;
    out << " | small " << gotSmall << " \"" << Utf8(std::string(small, std::size_t(std::max<LRESULT>(gotSmall, 0))))
        << "\" | line " << lineLength << " \"" << Utf8(std::string(line, std::size_t(std::max<LRESULT>(lineLength, 0))))
        << "\" | wide \"" << Escaped(EditorPair::Text(w)) << "\"";
    const auto [start, end] = EditorPair::Selection(w);
    out << " sel " << start << "-" << end;
    return out.str();
}

TEST(EditorDiff, NarrowMessagesAgreeWithThePlatformControl) {
    const struct {
        const char* name;
        const char* text;       // WM_SETTEXT (narrow)
        const char* replace;    // EM_REPLACESEL (narrow) over the selection 1-3, or null
        const char* typed;      // bytes sent one by one as narrow WM_CHAR, or null
        const char* knownDifference = nullptr;
    } cases[] = {
        {"ASCII", "abc def\r\nline", nullptr, nullptr},
        {"Japanese", "表示テスト\r\n二行目", "置換", nullptr},
        {"half-width kana and a 0x5C trail byte", "ｱｲ表ソ\\", "x", nullptr},
        {"a double-byte character cut by a small buffer", "ｱｲｳ表ソ", nullptr, nullptr,
         "on purpose (the system's conversion for a wide window): a narrow WM_GETTEXT into a buffer too small for "
         "the next double-byte character ends before it; the platform control writes half of it"},
        {"typing a double-byte character as two narrow WM_CHAR", "ab", nullptr, "表漢a",
         "on purpose (the system's conversion for a wide window): the lead and trail bytes make one character; "
         "the platform control under Wine takes each byte as a character of its own"},
        {"empty", "", "", nullptr},
    };
    for (const auto& c : cases) {
        EditorPair pair(ES_AUTOHSCROLL | WS_VSCROLL);
        std::string results[2];
        int k = 0;
        for (HWND w : {pair.Platform(), pair.Ours()}) {
            const LRESULT taken = SendMessageA(w, WM_SETTEXT, 0, LPARAM(c.text));
            results[k] = "taken " + std::to_string(taken) + ": " + Narrow(w);
            if (c.replace) {
                SendMessageA(w, EM_SETSEL, 1, 3);
                SendMessageA(w, EM_REPLACESEL, TRUE, LPARAM(c.replace));
                results[k] += "\n  replaced: " + Narrow(w);
            }
            if (c.typed) {
                SendMessageA(w, EM_SETSEL, 1, 1);
                for (const char* b = c.typed; *b; ++b) SendMessageA(w, WM_CHAR, WPARAM(static_cast<unsigned char>(*b)), 1);
                results[k] += "\n  typed: " + Narrow(w);
            }
            ++k;
        }
        if (c.knownDifference)
            EXPECT_NE(results[1], results[0]) << c.name << ": expected to differ (" << c.knownDifference << ")";
        else
            EXPECT_EQ(results[1], results[0]) << c.name;
    }
}

} // namespace
} // namespace moke::test

namespace moke::test {
namespace {

// The margins a font asks for: for fonts of every kind at several sizes, in
// a window wide enough for them and in one too narrow (where they stay as
// they were), and after EM_SETMARGINS with values and with EC_USEFONTINFO.
// (Margins set in a window too narrow for a character are not compared:
// there the platform control's format rectangle keeps the width it was
// stretched to, whatever the margins become.)
TEST(EditorDiff, FontMarginsAgreeWithThePlatformControl) {
    const wchar_t* faces[] = {L"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF", L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF",
                              L"Tahoma", L"Courier New", L"MS Sans Serif", L"System"};
    for (const int windowWidth : {240, 40}) {
        EditorPair pair(ES_AUTOHSCROLL | WS_VSCROLL, windowWidth);
        for (const wchar_t* face : faces)
            for (const int height : {-12, -16, -24, -48}) {
                HFONT font =
                    CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, face);
                std::string seen[2];
                for (int i = 0; i < 2; ++i) {
                    HWND w = i == 0 ? pair.Platform() : pair.Ours();
                    std::ostringstream out;
                    auto note = [&](const char* when) {
                        RECT r{};
                        SendMessageW(w, EM_GETRECT, 0, LPARAM(&r));
                        const LRESULT m = SendMessageW(w, EM_GETMARGINS, 0, 0);
                        out << when << ": margins " << LOWORD(m) << "/" << HIWORD(m) << " rect " << r.left << "-"
                            << r.right << " first character at " << short(LOWORD(SendMessageW(w, EM_POSFROMCHAR, 0, 0)))
                            << "; ";
                    };
                    SendMessageW(w, WM_SETTEXT, 0, LPARAM(L"abc"));
                    SendMessageW(w, WM_SETFONT, WPARAM(font), FALSE);
                    note("font");
                    if (windowWidth < 100) {
                        SendMessageW(w, WM_SETFONT, 0, FALSE);
                        seen[i] = out.str();
                        continue;
                    }
                    SendMessageW(w, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(7, 5));
                    note("7/5");
                    SendMessageW(w, EM_SETMARGINS, EC_LEFTMARGIN, MAKELONG(EC_USEFONTINFO, 0));
                    note("left from the font");
                    SendMessageW(w, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELONG(0, EC_USEFONTINFO));
                    note("right from the font");
                    SendMessageW(w, WM_SETFONT, 0, FALSE);
                    seen[i] = out.str();
                }
                DeleteObject(font);
                EXPECT_EQ(seen[1], seen[0]) << "face " << testing::PrintToString(std::wstring(face)) << " height "
                                            << height << " in a window " << windowWidth << " wide";
            }
    }
}

} // namespace
} // namespace moke::test
