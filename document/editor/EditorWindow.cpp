#include "document/editor/EditorWindow.h"

#include "document/editor/TextStore.h"
#include "document/editor/UndoRecord.h"
#include "document/editor/WordBreak.h"

#include <imm.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace moke::editor {
namespace {

constexpr wchar_t ClassName[] = L"MokeEdit";
constexpr UINT_PTR ScrollTimer = 1;
constexpr UINT_PTR LayoutTimer = 2;
constexpr std::size_t UnitsPerIdleStep = 200000; // a few milliseconds of layout
constexpr std::size_t DefaultLimit = 30000; // the platform control's starting limit
constexpr std::size_t NoLimit = 0xFFFFFFFFu;

// The next and previous character of a line (a surrogate pair is one).
std::size_t NextOfLine(std::u16string_view s, std::size_t i) {
    return i + 1 < s.size() && IsHighSurrogate(s[i]) && IsLowSurrogate(s[i + 1]) ? i + 2 : i + 1;
}
std::size_t PreviousOfLine(std::u16string_view s, std::size_t i) {
    return i >= 2 && IsLowSurrogate(s[i - 1]) && IsHighSurrogate(s[i - 2]) ? i - 2 : i - 1;
}

std::u16string_view View(const wchar_t* text) {
    return text ? std::u16string_view(reinterpret_cast<const char16_t*>(text)) : std::u16string_view();
}

// Widths of UTF-16 units in one font, asked of the system once each.
class CharWidths {
public:
    void Reset(HDC dc) {
        widths_.assign(0x10000, Unknown);
        pairs_.clear();
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        lineHeight_ = std::max<int>(1, tm.tmHeight);
        average_ = std::max<int>(1, tm.tmAveCharWidth);
    }
    int LineHeight() const { return lineHeight_; }
    int Average() const { return average_; }
    int TabWidth() const { return 8 * average_; }
    int Of(HDC dc, char16_t c) {
        std::uint16_t& w = widths_[c];
        if (w == Unknown) Fill(dc, c);
        return w;
    }
    int OfPair(HDC dc, char16_t high, char16_t low) {
        const std::uint32_t key = (std::uint32_t(high) << 16) | low;
        const auto found = pairs_.find(key);
        if (found != pairs_.end()) return found->second;
        const wchar_t both[2] = {wchar_t(high), wchar_t(low)};
        SIZE size{};
        GetTextExtentPoint32W(dc, both, 2, &size);
        pairs_.emplace(key, size.cx);
        return size.cx;
    }

private:
    static constexpr std::uint16_t Unknown = 0xFFFF;
    void Fill(HDC dc, char16_t c) {
        const UINT first = c & ~0xFFu;
        INT block[256];
        if (c >= 0xD800 && c <= 0xDFFF) {
            for (UINT i = 0; i < 256; ++i) widths_[first + i] = 0;
            return;
        }
        if (!GetCharWidth32W(dc, first, first + 255, block))
            for (UINT i = 0; i < 256; ++i) {
                const wchar_t one = wchar_t(first + i);
                SIZE size{};
                GetTextExtentPoint32W(dc, &one, 1, &size);
                block[i] = size.cx;
            }
        for (UINT i = 0; i < 256; ++i) widths_[first + i] = std::uint16_t(std::clamp(block[i], 0, 0xFFFE));
    }
    std::vector<std::uint16_t> widths_;
    std::unordered_map<std::uint32_t, int> pairs_;
    int lineHeight_ = 16;
    int average_ = 8;
};

// A font of an East Asian code page.
bool EastAsian(HDC dc) {
    FONTSIGNATURE fs{};
    const int charset = GetTextCharsetInfo(dc, &fs, 0);
    CHARSETINFO info{};
    const UINT codePage =
        TranslateCharsetInfo(reinterpret_cast<DWORD*>(UINT_PTR(charset)), &info, TCI_SRCCHARSET) ? info.ciACP : 0u;
    const DWORD eastAsian = FS_JISJAPAN | FS_CHINESESIMP | FS_WANSUNG | FS_CHINESETRAD | FS_JOHAB;
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 || codePage == 1361 ||
           (charset != DEFAULT_CHARSET && (fs.fsCsb[0] & eastAsian));
}

bool Scalable(HDC dc) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    return (tm.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) != 0;
}

// The margins a font asks for (EC_USEFONTINFO), as the platform control
// finds them: none for a font that is neither TrueType nor vector; for an
// East Asian font, what its glyphs reach out beyond their cells at most
// (from the system's undocumented GetCharWidthInfo, where it has one), up
// to half an average character; otherwise half an average character each
// side.
struct Margins {
    int left, right;
    int average = 0; // the letters' average width
};
Margins FontMargins(HDC dc) {
    if (!Scalable(dc)) return {0, 0, 0};
    // The average width of the Latin letters, rounded.
    static const wchar_t letters[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    SIZE size{};
    GetTextExtentPoint32W(dc, letters, 52, &size);
    const int width = (size.cx / 26 + 1) / 2;
    struct WidthInfo {
        INT minLsb, minRsb, unused;
    };
    using GetCharWidthInfoProc = BOOL(WINAPI*)(HDC, WidthInfo*);
    static const auto getWidthInfo = reinterpret_cast<GetCharWidthInfoProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"gdi32.dll"), "GetCharWidthInfo")));
    WidthInfo info{};
    if (EastAsian(dc) && getWidthInfo && getWidthInfo(dc, &info)) {
        auto reach = [width](int bearing) { return bearing < 0 ? std::min(-bearing, width / 2) : 0; };
        return {reach(info.minLsb), reach(info.minRsb), width};
    }
    return {width / 2, width / 2, width};
}

// The margins a new font brings, as the platform control sets them: for an
// East Asian scalable font, what the first 256 characters overhang their
// cells at most (nothing changes when they do not); for any other font,
// the font's margins (above).
std::optional<Margins> NewFontMargins(HDC dc) {
    if (!Scalable(dc) || !EastAsian(dc)) return std::nullopt;
    ABC abc[256];
    if (!GetCharABCWidthsW(dc, 0, 255, abc)) return Margins{0, 0}; // as if nothing overhung
    int left = 0, right = 0;
    for (const ABC& c : abc) {
        right = std::max(right, -c.abcA);
        left = std::max(left, -int(c.abcC));
    }
    return Margins{left, right};
}

// A device context of the window with the editor's font selected.
class FontDC {
public:
    FontDC(HWND window, HFONT font) : window_(window), dc_(GetDC(window)) {
        old_ = SelectObject(dc_, font ? font : GetStockObject(SYSTEM_FONT));
    }
    ~FontDC() {
        SelectObject(dc_, old_);
        ReleaseDC(window_, dc_);
    }
    FontDC(const FontDC&) = delete;
    FontDC& operator=(const FontDC&) = delete;
    operator HDC() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ old_;
};

class Editor {
public:
    explicit Editor(HWND window) : window_(window) {}
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    // State
    HWND window_;
    int depth_ = 0;          // messages of this window being handled
    bool destroyed_ = false; // the window is gone; the last of them deletes the state
    TextStore text_;
    UndoRecord undo_;
    std::size_t anchor_ = 0, caret_ = 0; // the selection runs between them; the caret is at caret_
    bool modified_ = false;
    std::size_t limit_ = DefaultLimit;
    HFONT font_ = nullptr;
    CharWidths widths_;
    int leftMargin_ = 2, rightMargin_ = 1;
    bool focused_ = false;
    bool dialogMode_ = false; // a dialog's keyboard handling has asked for our codes
    bool selecting_ = false; // a mouse drag
    // The view: the first visible row (a row of a line), the horizontal offset.
    std::size_t topLine_ = 0, topRow_ = 0;
    int xOffset_ = 0;
    // Wrapping: rows of each line (0: not counted yet), and the row starts of
    // the lines laid out lately. Not wrapping: the width of each line plus
    // one (0: not measured yet), for the horizontal scroll bar.
    std::vector<std::uint32_t> rowCounts_;
    std::vector<std::uint32_t> lineWidths_;
    int widest_ = 0; // the widest of lineWidths_; -1: to be found again
    std::unordered_map<std::size_t, std::vector<std::size_t>> rowStarts_;
    bool countsComplete_ = false;
    std::size_t countCursor_ = 0; // the first line whose rows or width may not be known

    DWORD Style() const { return DWORD(GetWindowLongPtrW(window_, GWL_STYLE)); }
    bool Wraps() const { return (Style() & (ES_AUTOHSCROLL | ES_MULTILINE)) == ES_MULTILINE; }
    bool ReadOnly() const { return (Style() & ES_READONLY) != 0; }
    std::size_t SelStart() const { return std::min(anchor_, caret_); }
    std::size_t SelEnd() const { return std::max(anchor_, caret_); }

    // Notifications
    void Notify(WORD code) {
        HWND parent = GetParent(window_);
        if (parent)
            SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window_), code), LPARAM(window_));
    }

    // Geometry
    // The client area less a pixel all round and the margins; whole lines high.
    RECT FormatRect() const {
        RECT r;
        GetClientRect(window_, &r);
        InflateRect(&r, -1, -1);
        r.left += leftMargin_;
        r.right -= rightMargin_;
        r.right = std::max<LONG>(r.right, r.left + widths_.Average()); // room for a character at least
        const int lh = widths_.LineHeight();
        if (r.bottom - r.top >= lh) r.bottom = r.top + (r.bottom - r.top) / lh * lh;
        return r;
    }
    // Where lines wrap: one average character short of the right edge.
    int WrapWidth() const { return std::max(FormatWidth() - widths_.Average(), 1); }
    int FormatWidth() const {
        const RECT r = FormatRect();
        return std::max<LONG>(r.right - r.left, 1);
    }
    int VisibleRows() const {
        const RECT r = FormatRect();
        return std::max<int>(1, int(r.bottom - r.top) / widths_.LineHeight());
    }

    // Layout
    // Rows are found again; so are the widths of lines when `widths` says the
    // text or the font changed (a new size or new margins leave them as they are).
    void ForgetLayout(bool widths = false) {
        rowStarts_.clear();
        rowCounts_.assign(Wraps() ? text_.LineCount() : 0, 0);
        const std::size_t measured = Wraps() ? 0 : text_.LineCount();
        if (widths || lineWidths_.size() != measured) {
            lineWidths_.assign(measured, 0);
            widest_ = 0;
        }
        countsComplete_ = false;
        countCursor_ = 0;
        CountLater();
    }
    void LinesChanged(std::size_t firstLine, std::size_t oldCount, std::size_t newCount);
    int UnitWidth(HDC dc, std::u16string_view s, std::size_t i, int x);
    int LineWidth(HDC dc, std::size_t line);
    void MeasuredWidth(std::size_t line, int width);
    // The widest line's width: exact once every line has been measured.
    int Widest() {
        if (widest_ < 0) {
            std::uint32_t widest = 1;
            for (const auto w : lineWidths_) widest = std::max(widest, w);
            widest_ = int(widest - 1);
        }
        return widest_;
    }
    std::size_t ComputeRows(HDC dc, std::size_t line, std::vector<std::size_t>* starts);
    const std::vector<std::size_t>& Rows(HDC dc, std::size_t line);
    std::size_t RowCount(HDC dc, std::size_t line);
    void CountAllRows();
    void CountRows(std::size_t units);
    // Rows are counted in idle time: a timer that yields to every other message.
    void CountLater() {
        if (!countsComplete_) SetTimer(window_, LayoutTimer, USER_TIMER_MINIMUM, nullptr);
    }
    // Visual lines: rows of all lines before, counted.
    std::size_t VisualLineOf(std::size_t position);
    std::size_t VisualLineCount();
    void VisualLineSpan(std::size_t visual, std::size_t& start, std::size_t& end);
    std::size_t RowOf(HDC dc, std::size_t line, std::size_t offset);
    int XOf(HDC dc, std::size_t position);
    std::size_t PositionAt(HDC dc, std::size_t line, std::size_t row, int x);
    std::size_t PositionFromPoint(int x, int y);
    void StepRows(std::size_t& line, std::size_t& row, long long delta);
    long long RowsBetweenTopAnd(std::size_t line, std::size_t row, long long limit);

    // Edits
    void Replace(std::u16string_view with, bool canUndo, bool honourLimit, bool notify);
    void SetText(std::u16string_view text);
    void TextReplaced(); // the state of a new whole text
    void Undo();
    void SetSelection(std::size_t anchor, std::size_t caret, bool scroll);
    void MoveCaret(std::size_t to, bool extend);
    std::size_t PreviousPosition(std::size_t p) const;
    std::size_t NextPosition(std::size_t p) const;
    std::size_t WordLeft(std::size_t p);
    std::size_t WordRight(std::size_t p);
    bool CopySelection();
    void Paste();

    // View
    void ScrollCaret();
    void ScrollToRow(std::size_t line, std::size_t row);
    void ScrollHorizontally(int x);
    void UpdateScrollBars();
    void PlaceCaret();
    void Paint();
    void SetMargins(WPARAM which, WORD left, WORD right);
    HBRUSH AskColours(HDC dc);
    void ContextMenu(int x, int y);
    // Where the thumb is: the 32-bit tracking position while the bar is being
    // dragged, the message's own 16-bit position otherwise.
    std::size_t ThumbPosition(int bar, WPARAM wParam) const {
        SCROLLINFO si{sizeof si, SIF_TRACKPOS | SIF_RANGE};
        GetScrollInfo(window_, bar, &si);
        if (LOWORD(wParam) == SB_THUMBTRACK || si.nMax > 0xFFFF) return std::size_t(std::max(0, si.nTrackPos));
        return HIWORD(wParam);
    }
    POINT Confined(POINT at) const {
        const RECT r = FormatRect();
        at.x = std::clamp<LONG>(at.x, r.left, std::max(r.left, r.right - 1));
        at.y = std::clamp<LONG>(at.y, r.top, std::max(r.top, r.bottom - 1));
        return at;
    }
    void KeyDown(WPARAM key);
    void Char(wchar_t c);
    void PlaceImeWindow();

    friend LRESULT CALLBACK EditorProc(HWND, UINT, WPARAM, LPARAM);
};

// ---------------------------------------------------------------- layout

void Editor::LinesChanged(std::size_t firstLine, std::size_t oldCount, std::size_t newCount) {
    // Rows laid out before stay while the lines keep their numbers.
    if (oldCount == newCount)
        for (std::size_t line = firstLine; line < firstLine + oldCount; ++line) rowStarts_.erase(line);
    else
        rowStarts_.clear();
    auto& measures = Wraps() ? rowCounts_ : lineWidths_;
    if (firstLine > measures.size()) firstLine = measures.size();
    oldCount = std::min(oldCount, measures.size() - firstLine);
    const auto from = measures.begin() + firstLine, to = from + oldCount;
    if (!Wraps() && widest_ >= 0 && std::find(from, to, std::uint32_t(widest_) + 1) != to)
        widest_ = -1; // the widest line is gone or changed
    measures.erase(measures.begin() + firstLine, measures.begin() + firstLine + oldCount);
    measures.insert(measures.begin() + firstLine, newCount, 0);
    countsComplete_ = false;
    countCursor_ = std::min(countCursor_, firstLine);
    CountLater();
}

int Editor::UnitWidth(HDC dc, std::u16string_view s, std::size_t i, int x) {
    const char16_t c = s[i];
    if (c == u'\t') {
        const int tab = widths_.TabWidth();
        return tab - x % tab;
    }
    if (IsHighSurrogate(c) && i + 1 < s.size() && IsLowSurrogate(s[i + 1])) return widths_.OfPair(dc, c, s[i + 1]);
    if (IsLowSurrogate(c) && i > 0 && IsHighSurrogate(s[i - 1])) return 0;
    if (c == u'\r') return 0;                 // a lone CR takes no room, as in the platform control
    if (c < 0x20) return widths_.Average(); // another control character shows as a box
    return widths_.Of(dc, c);
}

std::size_t Editor::ComputeRows(HDC dc, std::size_t line, std::vector<std::size_t>* starts) {
    if (starts) starts->assign(1, 0);
    if (!Wraps()) return 1;
    std::size_t count = 1;
    const std::size_t length = text_.LineLength(line);
    const std::u16string_view s(text_.Contiguous(text_.LineStart(line), length), length);
    const int width = WrapWidth();
    std::size_t start = 0;
    while (start < s.size()) {
        int x = 0;
        std::size_t i = start;
        while (i < s.size()) {
            const int w = UnitWidth(dc, s, i, x);
            if (x + w > width) break;
            x += w;
            ++i;
            if (i < s.size() && IsLowSurrogate(s[i]) && IsHighSurrogate(s[i - 1])) ++i;
        }
        // Spaces at the end of a row hang past the edge.
        while (i < s.size() && (s[i] == u' ' || s[i] == 0x3000)) ++i;
        if (i >= s.size()) break;
        // The break is looked for in this row only: a line without any (a long
        // run of letters) would otherwise be searched back to its start for
        // every row.
        std::size_t next = i;
        while (next > start && !BreakBefore(s, next)) --next;
        if (next <= start) next = i > start ? i : NextOfLine(s, start);
        if (starts) starts->push_back(next);
        ++count;
        start = next;
    }
    return count;
}

const std::vector<std::size_t>& Editor::Rows(HDC dc, std::size_t line) {
    auto found = rowStarts_.find(line);
    if (found != rowStarts_.end()) return found->second;
    if (rowStarts_.size() > 4096) rowStarts_.clear();
    std::vector<std::size_t> rows;
    ComputeRows(dc, line, &rows);
    if (line < rowCounts_.size()) rowCounts_[line] = std::uint32_t(rows.size());
    return rowStarts_.emplace(line, std::move(rows)).first->second;
}

int Editor::LineWidth(HDC dc, std::size_t line) {
    const std::size_t length = text_.LineLength(line);
    const std::u16string_view s(text_.Contiguous(text_.LineStart(line), length), length);
    int x = 0;
    for (std::size_t i = 0; i < s.size(); ++i) x += UnitWidth(dc, s, i, x);
    return x;
}

void Editor::MeasuredWidth(std::size_t line, int width) {
    if (line >= lineWidths_.size()) return;
    if (widest_ >= 0 && int(lineWidths_[line]) - 1 == widest_ && width < widest_) widest_ = -1;
    lineWidths_[line] = std::uint32_t(width) + 1;
    if (widest_ >= 0) widest_ = std::max(widest_, width);
}

std::size_t Editor::RowCount(HDC dc, std::size_t line) {
    if (!Wraps()) return 1;
    if (line < rowCounts_.size() && rowCounts_[line] != 0) return rowCounts_[line];
    return Rows(dc, line).size();
}

void Editor::CountAllRows() {
    while (!countsComplete_) CountRows(std::size_t(-1));
}

// Counts the rows of lines not counted yet, from where the last call stopped,
// until about `units` code units have been laid out; the last line counted
// completes the counts.
void Editor::CountRows(std::size_t units) {
    if (countsComplete_) return;
    FontDC dc(window_, font_);
    std::size_t done = 0;
    for (; countCursor_ < lineWidths_.size() && done < units; ++countCursor_) {
        if (lineWidths_[countCursor_] != 0) continue;
        MeasuredWidth(countCursor_, LineWidth(dc, countCursor_));
        done += text_.LineLength(countCursor_) + 1;
    }
    for (; countCursor_ < rowCounts_.size() && done < units; ++countCursor_) {
        if (rowCounts_[countCursor_] != 0) continue;
        const auto found = rowStarts_.find(countCursor_);
        rowCounts_[countCursor_] =
            std::uint32_t(found != rowStarts_.end() ? found->second.size() : ComputeRows(dc, countCursor_, nullptr));
        done += text_.LineLength(countCursor_) + 1;
    }
    if (countCursor_ >= std::max(rowCounts_.size(), lineWidths_.size())) {
        countsComplete_ = true;
        KillTimer(window_, LayoutTimer);
    }
}

std::size_t Editor::RowOf(HDC dc, std::size_t line, std::size_t offset) {
    const auto& rows = Rows(dc, line);
    return std::size_t(std::upper_bound(rows.begin(), rows.end(), offset) - rows.begin()) - 1;
}

std::size_t Editor::VisualLineOf(std::size_t position) {
    const std::size_t line = text_.LineFromPosition(position);
    if (!Wraps()) return line;
    CountAllRows();
    std::size_t visual = 0;
    for (std::size_t i = 0; i < line; ++i) visual += rowCounts_[i];
    FontDC dc(window_, font_);
    return visual + RowOf(dc, line, position - text_.LineStart(line));
}

std::size_t Editor::VisualLineCount() {
    if (!Wraps()) return text_.LineCount();
    CountAllRows();
    std::size_t visual = 0;
    for (const auto n : rowCounts_) visual += n;
    return visual;
}

// The characters of a visual line: [start, end) without its line break.
void Editor::VisualLineSpan(std::size_t visual, std::size_t& start, std::size_t& end) {
    if (!Wraps()) {
        start = text_.LineStart(visual);
        end = text_.LineEnd(visual);
        return;
    }
    CountAllRows();
    std::size_t line = 0;
    while (line + 1 < rowCounts_.size() && visual >= rowCounts_[line]) visual -= rowCounts_[line++];
    FontDC dc(window_, font_);
    const auto& rows = Rows(dc, line);
    const std::size_t row = std::min(visual, rows.size() - 1);
    const std::size_t ls = text_.LineStart(line);
    start = ls + rows[row];
    end = row + 1 < rows.size() ? ls + rows[row + 1] : text_.LineEnd(line);
}

// Moves (line, row) by delta rows, stopping at the ends of the text.
void Editor::StepRows(std::size_t& line, std::size_t& row, long long delta) {
    FontDC dc(window_, font_);
    while (delta > 0) {
        const std::size_t rows = RowCount(dc, line);
        if (row + 1 < rows) {
            const std::size_t step = std::min<long long>(delta, rows - 1 - row);
            row += step;
            delta -= step;
        } else if (line + 1 < text_.LineCount()) {
            ++line;
            row = 0;
            --delta;
        } else {
            break;
        }
    }
    while (delta < 0) {
        if (row > 0) {
            const std::size_t step = std::min<long long>(-delta, row);
            row -= step;
            delta += step;
        } else if (line > 0) {
            --line;
            row = RowCount(dc, line) - 1;
            ++delta;
        } else {
            break;
        }
    }
}

// Rows from the top of the view to (line, row): negative above it; counted
// only up to `limit` either way.
long long Editor::RowsBetweenTopAnd(std::size_t line, std::size_t row, long long limit) {
    if (!Wraps()) return static_cast<long long>(line) - static_cast<long long>(topLine_);
    FontDC dc(window_, font_);
    if (line == topLine_) return static_cast<long long>(row) - static_cast<long long>(topRow_);
    long long n = 0;
    if (line > topLine_) {
        n = static_cast<long long>(RowCount(dc, topLine_) - topRow_);
        for (std::size_t l = topLine_ + 1; l < line && n <= limit; ++l) n += RowCount(dc, l);
        return n + static_cast<long long>(row);
    }
    n = -static_cast<long long>(topRow_);
    for (std::size_t l = topLine_; l-- > line && -n <= limit;) n -= RowCount(dc, l);
    return n + static_cast<long long>(row);
}

int Editor::XOf(HDC dc, std::size_t position) {
    const std::size_t line = text_.LineFromPosition(position);
    const std::size_t ls = text_.LineStart(line), length = text_.LineLength(line);
    const std::size_t offset = position - ls;
    const auto& rows = Rows(dc, line);
    const std::size_t row = RowOf(dc, line, offset);
    const std::u16string_view s(text_.Contiguous(ls, length), length);
    int x = 0;
    for (std::size_t i = rows[row]; i < offset && i < s.size(); ++i) x += UnitWidth(dc, s, i, x);
    return x;
}

std::size_t Editor::PositionAt(HDC dc, std::size_t line, std::size_t row, int x) {
    const std::size_t ls = text_.LineStart(line), length = text_.LineLength(line);
    const auto& rows = Rows(dc, line);
    row = std::min(row, rows.size() - 1);
    const std::size_t end = row + 1 < rows.size() ? rows[row + 1] : length;
    const std::u16string_view s(text_.Contiguous(ls, length), length);
    int at = 0;
    std::size_t i = rows[row];
    while (i < end) {
        const int w = UnitWidth(dc, s, i, at);
        std::size_t next = i + 1;
        if (next < s.size() && IsLowSurrogate(s[next]) && IsHighSurrogate(s[i])) ++next;
        if (x < at + w / 2) break;
        at += w;
        i = next;
    }
    // A wrapped row ends before the next row's first character.
    if (i == end && row + 1 < rows.size() && i > rows[row]) i = PreviousOfLine(s, i);
    return ls + i;
}

std::size_t Editor::PositionFromPoint(int x, int y) {
    const RECT r = FormatRect();
    std::size_t line = topLine_, row = topRow_;
    const int lh = widths_.LineHeight();
    long long rows = y >= r.top ? (y - r.top) / lh : -((r.top - y + lh - 1) / lh);
    StepRows(line, row, rows);
    FontDC dc(window_, font_);
    return PositionAt(dc, line, row, x - r.left + xOffset_);
}

// ---------------------------------------------------------------- positions

std::size_t Editor::PreviousPosition(std::size_t p) const {
    if (p == 0) return 0;
    if (p >= 2 && text_.At(p - 1) == u'\n' && text_.At(p - 2) == u'\r') return p - 2;
    if (p >= 2 && IsLowSurrogate(text_.At(p - 1)) && IsHighSurrogate(text_.At(p - 2))) return p - 2;
    return p - 1;
}

std::size_t Editor::NextPosition(std::size_t p) const {
    const std::size_t n = text_.Length();
    if (p >= n) return n;
    if (p + 1 < n && text_.At(p) == u'\r' && text_.At(p + 1) == u'\n') return p + 2;
    if (p + 1 < n && IsHighSurrogate(text_.At(p)) && IsLowSurrogate(text_.At(p + 1))) return p + 2;
    return p + 1;
}

std::size_t Editor::WordLeft(std::size_t p) {
    const std::size_t line = text_.LineFromPosition(p);
    const std::size_t ls = text_.LineStart(line);
    if (p == ls) return line > 0 ? text_.LineEnd(line - 1) : 0;
    const std::size_t length = text_.LineLength(line);
    const std::u16string_view s(text_.Contiguous(ls, length), length);
    return ls + BreakAtOrBefore(s, p - ls - 1);
}

std::size_t Editor::WordRight(std::size_t p) {
    const std::size_t line = text_.LineFromPosition(p);
    const std::size_t ls = text_.LineStart(line), le = text_.LineEnd(line);
    if (p >= le) return line + 1 < text_.LineCount() ? text_.LineStart(line + 1) : le;
    const std::u16string_view s(text_.Contiguous(ls, le - ls), le - ls);
    return ls + BreakAfter(s, p - ls);
}

// ---------------------------------------------------------------- edits

void Editor::Replace(std::u16string_view with, bool canUndo, bool honourLimit, bool notify) {
    const std::size_t start = SelStart(), end = SelEnd();
    std::size_t keep = with.size();
    bool overLimit = false;
    if (honourLimit) {
        const std::size_t remaining = text_.Length() - (end - start);
        const std::size_t room = limit_ > remaining ? limit_ - remaining : 0;
        if (keep > room) {
            keep = room;
            overLimit = true;
        }
        // A line break or a surrogate pair is not cut in half.
        if (keep > 0 && keep < with.size() && (IsHighSurrogate(with[keep - 1]) || with[keep - 1] == u'\r')) --keep;
    }
    with = with.substr(0, keep);
    if (overLimit) Notify(EN_MAXTEXT);
    if (start == end && with.empty()) {
        // The platform control reports a change even when the limit left nothing to insert.
        if (overLimit && notify) {
            Notify(EN_UPDATE);
            Notify(EN_CHANGE);
        }
        return;
    }
    const std::u16string removed = text_.Substr(start, end - start);
    // Lines touched: from the line of the start to the line of the end (one
    // past for a CR LF that the edit may split or join).
    const std::size_t firstLine = start > 0 ? text_.LineFromPosition(start - 1) : 0;
    const std::size_t lastLine = text_.LineFromPosition(std::min(end + 1, text_.Length()));
    const std::size_t linesBefore = text_.LineCount();
    text_.Erase(start, end - start);
    try {
        text_.Insert(start, with);
    } catch (...) {
        text_.Insert(start, removed); // into the room it left
        throw;
    }
    if (canUndo)
        undo_.Record(start, removed, with.size());
    else
        undo_.Clear();
    const std::size_t linesAfter = text_.LineCount();
    LinesChanged(firstLine, lastLine - firstLine + 1, lastLine - firstLine + 1 + linesAfter - linesBefore);
    anchor_ = caret_ = start + with.size();
    modified_ = true;
    if (topLine_ >= text_.LineCount()) topLine_ = text_.LineCount() - 1, topRow_ = 0;
    if (topLine_ >= firstLine) topRow_ = 0;
    if (notify) Notify(EN_UPDATE);
    InvalidateRect(window_, nullptr, FALSE);
    ScrollCaret();
    UpdateScrollBars();
    if (notify) Notify(EN_CHANGE);
}

void Editor::SetText(std::u16string_view text) {
    text_.Assign(text); // raises before anything changed
    TextReplaced();
}

void Editor::TextReplaced() {
    undo_.Clear();
    anchor_ = caret_ = 0;
    modified_ = false;
    topLine_ = topRow_ = 0;
    xOffset_ = 0;
    ForgetLayout(true);
    InvalidateRect(window_, nullptr, FALSE);
    UpdateScrollBars();
    PlaceCaret();
}

void Editor::Undo() {
    if (ReadOnly()) return;
    const std::u16string restore = undo_.Removed();
    const std::size_t start = std::min(undo_.Start(), text_.Length());
    anchor_ = start;
    caret_ = std::min(start + undo_.InsertedLength(), text_.Length());
    undo_.Clear();
    Replace(restore, true, false, true);
    SetSelection(undo_.Start(), undo_.Start() + undo_.InsertedLength(), false);
    Notify(EN_CHANGE);
    ScrollCaret();
}

void Editor::SetSelection(std::size_t anchor, std::size_t caret, bool scroll) {
    const std::size_t n = text_.Length();
    anchor = std::min(anchor, n);
    caret = std::min(caret, n);
    if (anchor == anchor_ && caret == caret_) {
        if (scroll) ScrollCaret();
        return;
    }
    anchor_ = anchor;
    caret_ = caret;
    InvalidateRect(window_, nullptr, FALSE);
    if (scroll)
        ScrollCaret();
    else
        PlaceCaret();
}

void Editor::MoveCaret(std::size_t to, bool extend) {
    SetSelection(extend ? anchor_ : to, to, true);
}

// True when the clipboard took the selection.
bool Editor::CopySelection() {
    if (SelStart() == SelEnd()) return false;
    const std::size_t n = SelEnd() - SelStart();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (n + 1) * sizeof(wchar_t));
    if (!memory) throw std::bad_alloc();
    auto* out = static_cast<wchar_t*>(GlobalLock(memory));
    if (!out) {
        GlobalFree(memory);
        throw std::bad_alloc();
    }
    text_.CopyTo(SelStart(), n, reinterpret_cast<char16_t*>(out));
    out[n] = 0;
    GlobalUnlock(memory);
    if (!OpenClipboard(window_)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    const bool taken = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!taken) GlobalFree(memory);
    CloseClipboard();
    return taken;
}

void Editor::Paste() {
    if (ReadOnly() || !OpenClipboard(window_)) return;
    std::u16string s;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
            const std::size_t most = GlobalSize(data) / sizeof(wchar_t);
            std::size_t n = 0;
            while (n < most && p[n]) ++n;
            s.assign(reinterpret_cast<const char16_t*>(p), n);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    if (!s.empty()) Replace(s, true, true, true);
}

// ---------------------------------------------------------------- view

void Editor::ScrollToRow(std::size_t line, std::size_t row) {
    // The view goes no further down than to show the last row at the bottom.
    std::size_t lastLine = text_.LineCount() - 1, lastRow = 0;
    {
        FontDC dc(window_, font_);
        lastRow = RowCount(dc, lastLine) - 1;
    }
    StepRows(lastLine, lastRow, -(VisibleRows() - 1));
    if (line > lastLine || (line == lastLine && row > lastRow)) line = lastLine, row = lastRow;
    if (line == topLine_ && row == topRow_) return;
    topLine_ = line;
    topRow_ = row;
    InvalidateRect(window_, nullptr, FALSE);
    UpdateScrollBars();
    PlaceCaret();
}

void Editor::ScrollHorizontally(int x) {
    x = std::max(0, std::min(x, Widest() - FormatWidth()));
    if (x == xOffset_) return;
    xOffset_ = x;
    InvalidateRect(window_, nullptr, FALSE);
    UpdateScrollBars();
    PlaceCaret();
}

void Editor::ScrollCaret() {
    const std::size_t line = text_.LineFromPosition(caret_);
    std::size_t row = 0;
    int x = 0;
    {
        FontDC dc(window_, font_);
        row = RowOf(dc, line, caret_ - text_.LineStart(line));
        x = XOf(dc, caret_);
    }
    const long long visible = VisibleRows();
    const long long at = RowsBetweenTopAnd(line, row, visible + 1);
    if (at < 0) {
        ScrollToRow(line, row);
    } else if (at >= visible) {
        std::size_t l = line, r = row;
        StepRows(l, r, -(visible - 1));
        ScrollToRow(l, r);
    }
    if (!Wraps()) {
        // As the platform control scrolls: a caret left of the view comes to a
        // third of the width from the left edge, one right of it to two
        // thirds, both in whole average characters; never so far that the
        // widest line would end before the right edge.
        const int width = FormatWidth(), cw = widths_.Average();
        if (x < xOffset_ || x > xOffset_ + width) {
            if (line < lineWidths_.size() && lineWidths_[line] == 0) {
                FontDC dc(window_, font_);
                MeasuredWidth(line, LineWidth(dc, line));
            }
            ScrollHorizontally(x < xOffset_ ? x - width / 3 / cw * cw : x - 2 * width / 3 / cw * cw);
        }
    }
    PlaceCaret();
}

// EC_USEFONTINFO takes the font's margins, unless the window is too narrow
// for them and two average characters (a window not sized yet counts as 80
// pixels wide): then the margins stay as they were.
void Editor::SetMargins(WPARAM which, WORD left, WORD right) {
    Margins fromFont{leftMargin_, rightMargin_};
    if (font_ && (left == EC_USEFONTINFO || right == EC_USEFONTINFO)) {
        FontDC dc(window_, font_);
        fromFont = FontMargins(dc);
        RECT client;
        GetClientRect(window_, &client);
        const int width = IsRectEmpty(&client) ? 80 : client.right - client.left;
        if (width < fromFont.left + fromFont.right + 2 * fromFont.average) fromFont = {leftMargin_, rightMargin_};
    } else if (left == EC_USEFONTINFO || right == EC_USEFONTINFO) {
        fromFont = {0, 0};
    }
    if (which & EC_LEFTMARGIN) leftMargin_ = left == EC_USEFONTINFO ? fromFont.left : left;
    if (which & EC_RIGHTMARGIN) rightMargin_ = right == EC_USEFONTINFO ? fromFont.right : right;
}

void Editor::UpdateScrollBars() {
    // A text small enough is laid out at once: its bars are exact from the start.
    if (!countsComplete_) CountRows(UnitsPerIdleStep);
    const DWORD style = Style();
    if (style & WS_VSCROLL) {
        SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL};
        // Rows of lines not laid out yet count as one each until they are.
        std::size_t total = text_.LineCount(), before = topLine_;
        if (Wraps()) {
            total = before = 0;
            for (std::size_t l = 0; l < rowCounts_.size(); ++l) {
                const std::size_t n = rowCounts_[l] ? rowCounts_[l] : 1;
                total += n;
                if (l < topLine_) before += n;
            }
        }
        si.nMin = 0;
        si.nMax = int(std::min<std::size_t>(total, 0x7FFFFFFF) - 1 + VisibleRows() - 1);
        si.nPage = UINT(VisibleRows());
        si.nPos = int(std::min<std::size_t>(before + topRow_, 0x7FFFFFFF));
        SetScrollInfo(window_, SB_VERT, &si, TRUE);
    }
    if (style & WS_HSCROLL) {
        SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL};
        const int width = FormatWidth();
        si.nMin = 0;
        // The widest line's width is the range, as in the platform control;
        // a view scrolled past it (the widest line was shortened) widens it.
        const int range = xOffset_ > 0 ? std::max(Widest(), xOffset_ + width) : Widest();
        si.nMax = Wraps() ? 0 : range - 1;
        si.nPage = UINT(width);
        si.nPos = xOffset_;
        SetScrollInfo(window_, SB_HORZ, &si, TRUE);
    }
}

void Editor::PlaceCaret() {
    if (!focused_) return;
    const std::size_t line = text_.LineFromPosition(caret_);
    FontDC dc(window_, font_);
    const std::size_t row = RowOf(dc, line, caret_ - text_.LineStart(line));
    const long long at = RowsBetweenTopAnd(line, row, VisibleRows() + 1);
    const RECT r = FormatRect();
    const int y = at < 0 || at > VisibleRows() ? -10000 : r.top + int(at) * widths_.LineHeight();
    SetCaretPos(r.left + XOf(dc, caret_) - xOffset_, y);
    PlaceImeWindow();
}

void Editor::PlaceImeWindow() {
    HIMC context = ImmGetContext(window_);
    if (!context) return;
    POINT caret{};
    GetCaretPos(&caret);
    COMPOSITIONFORM composition{CFS_POINT, caret, {}};
    ImmSetCompositionWindow(context, &composition);
    CANDIDATEFORM candidate{0, CFS_CANDIDATEPOS, {caret.x, caret.y + widths_.LineHeight()}, {}};
    ImmSetCandidateWindow(context, &candidate);
    if (font_) {
        LOGFONTW lf{};
        if (GetObjectW(font_, sizeof lf, &lf)) ImmSetCompositionFontW(context, &lf);
    }
    ImmReleaseContext(window_, context);
}

HBRUSH Editor::AskColours(HDC dc) {
    const bool grey = ReadOnly() || !IsWindowEnabled(window_);
    HWND parent = GetParent(window_);
    HBRUSH brush = nullptr;
    if (parent)
        brush = HBRUSH(SendMessageW(parent, grey ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(window_)));
    if (!brush) {
        SetTextColor(dc, GetSysColor(grey && !IsWindowEnabled(window_) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(grey ? COLOR_3DFACE : COLOR_WINDOW));
        brush = GetSysColorBrush(grey ? COLOR_3DFACE : COLOR_WINDOW);
    }
    return brush;
}

void Editor::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    HGDIOBJ oldFont = SelectObject(dc, font_ ? font_ : GetStockObject(SYSTEM_FONT));
    HBRUSH background = AskColours(dc);
    const COLORREF textColour = GetTextColor(dc), backColour = GetBkColor(dc);
    RECT client;
    GetClientRect(window_, &client);
    const RECT format = FormatRect();
    const bool showSelection = focused_ || (Style() & ES_NOHIDESEL);
    const std::size_t selStart = SelStart(), selEnd = SelEnd();
    const int lh = widths_.LineHeight();
    // The margins
    RECT left{client.left, client.top, format.left, client.bottom};
    FillRect(dc, &left, background);
    RECT right{format.right, client.top, client.right, client.bottom};
    FillRect(dc, &right, background);
    IntersectClipRect(dc, format.left, client.top, format.right, client.bottom);

    std::vector<wchar_t> glyphs;
    std::vector<INT> advances;
    std::size_t line = topLine_, row = topRow_;
    int y = format.top;
    bool more = text_.LineCount() > 0;
    while (y < client.bottom && more) {
        if (y + lh > ps.rcPaint.top) {
            const std::size_t ls = text_.LineStart(line), length = text_.LineLength(line);
            const auto& rows = Rows(dc, line);
            const std::size_t from = rows[row], to = row + 1 < rows.size() ? rows[row + 1] : length;
            const std::u16string_view s(text_.Contiguous(ls, length), length);
            // Only the characters from the left edge of the view to its right
            // edge are measured for drawing; a long line left of the view is
            // walked once, not drawn.
            const int viewLeft = xOffset_, viewRight = xOffset_ + (format.right - format.left);
            int x = 0;
            std::size_t first = from;
            while (first < to) {
                const int w = UnitWidth(dc, s, first, x);
                if (x + w > viewLeft) break;
                x += w;
                ++first;
            }
            if (first > from && first < to && IsLowSurrogate(s[first]) && IsHighSurrogate(s[first - 1]))
                x -= UnitWidth(dc, s, --first, x);
            const int firstX = x;
            std::size_t last = first;
            glyphs.clear();
            advances.clear();
            while (last < to && x <= viewRight) {
                const int w = UnitWidth(dc, s, last, x);
                glyphs.push_back(s[last] == u'\t' ? L' ' : wchar_t(s[last]));
                advances.push_back(w);
                x += w;
                ++last;
            }
            if (last < to && IsLowSurrogate(s[last]) && IsHighSurrogate(s[last - 1])) {
                glyphs.push_back(wchar_t(s[last]));
                advances.push_back(0);
                ++last;
            }
            if (last == to) MeasuredWidth(line, x);
            // A surrogate pair's advance goes with its second unit for the system.
            for (std::size_t i = 0; i + 1 < glyphs.size(); ++i)
                if (IsHighSurrogate(glyphs[i]) && IsLowSurrogate(glyphs[i + 1]))
                    advances[i + 1] = advances[i], advances[i] = 0;
            // Runs: before the selection, in it, after it.
            const std::size_t a = ls + first, b = ls + last;
            std::size_t cuts[4] = {a, std::clamp(selStart, a, b), std::clamp(selEnd, a, b), b};
            if (!showSelection) cuts[1] = cuts[2] = b;
            int runX = format.left - xOffset_ + firstX;
            for (int k = 0; k < 3; ++k) {
                const std::size_t r0 = cuts[k] - a, r1 = cuts[k + 1] - a;
                int runWidth = 0;
                for (std::size_t i = r0; i < r1; ++i) runWidth += advances[i];
                if (r1 > r0) {
                    const bool selected = k == 1;
                    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColour);
                    SetBkColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHT) : backColour);
                    RECT cell{runX, y, runX + runWidth, y + lh};
                    ExtTextOutW(dc, runX, y, ETO_OPAQUE | ETO_CLIPPED, &cell, glyphs.data() + r0, UINT(r1 - r0),
                                advances.data() + r0);
                }
                runX += runWidth;
            }
            // A selected line break shows as a little selected room.
            RECT rest{std::max<int>(runX, format.left), y, format.right, y + lh};
            if (showSelection && last == to && selStart <= b && selEnd > b && to == length &&
                line + 1 < text_.LineCount()) {
                RECT mark{runX, y, runX + widths_.Average(), y + lh};
                FillRect(dc, &mark, GetSysColorBrush(COLOR_HIGHLIGHT));
                rest.left = std::max<int>(mark.right, format.left);
            }
            if (rest.right > rest.left) FillRect(dc, &rest, background);
        }
        y += lh;
        const std::size_t rows = RowCount(dc, line);
        if (row + 1 < rows)
            ++row;
        else if (line + 1 < text_.LineCount())
            ++line, row = 0;
        else
            more = false;
    }
    if (y < client.bottom) {
        RECT rest{format.left, y, format.right, client.bottom};
        FillRect(dc, &rest, background);
    }
    SelectObject(dc, oldFont);
    EndPaint(window_, &ps);
}

void Editor::ContextMenu(int x, int y) {
    if (x == -1 && y == -1) {
        POINT caret{};
        GetCaretPos(&caret);
        ClientToScreen(window_, &caret);
        x = caret.x;
        y = caret.y;
    }
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    const bool selection = SelStart() != SelEnd();
    const bool writable = !ReadOnly();
    const bool clipboard = IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT);
    auto add = [&](UINT id, const wchar_t* caption, bool enabled) {
        AppendMenuW(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id, caption);
    };
    add(WM_UNDO, L"\u5143\u306B\u623B\u3059(&U)", writable && undo_.CanUndo());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    add(WM_CUT, L"\u5207\u308A\u53D6\u308A(&T)", writable && selection);
    add(WM_COPY, L"\u30B3\u30D4\u30FC(&C)", selection);
    add(WM_PASTE, L"\u8CBC\u308A\u4ED8\u3051(&P)", writable && clipboard);
    add(WM_CLEAR, L"\u524A\u9664(&D)", writable && selection);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    add(EM_SETSEL, L"\u3059\u3079\u3066\u9078\u629E(&A)", !(SelStart() == 0 && SelEnd() == text_.Length()));
    const UINT chosen = UINT(TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0,
                                            window_, nullptr));
    DestroyMenu(menu);
    if (chosen == EM_SETSEL)
        SendMessageW(window_, EM_SETSEL, 0, -1);
    else if (chosen)
        SendMessageW(window_, chosen, 0, 0);
}

// ---------------------------------------------------------------- input

void Editor::KeyDown(WPARAM key) {
    const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool selection = SelStart() != SelEnd();
    auto verticalMove = [&](long long rows) {
        FontDC dc(window_, font_);
        const std::size_t line = text_.LineFromPosition(caret_);
        std::size_t row = RowOf(dc, line, caret_ - text_.LineStart(line));
        const int x = XOf(dc, caret_);
        std::size_t l = line, r = row;
        StepRows(l, r, rows);
        MoveCaret(PositionAt(dc, l, r, x), shift);
    };
    switch (key) {
    case VK_ESCAPE:
        // In a dialog, Esc closes it (the dialog's own handling never sees
        // the key: this control wants them all).
        if (dialogMode_)
            if (HWND parent = GetParent(window_)) PostMessageW(parent, WM_CLOSE, 0, 0);
        break;
    case VK_LEFT:
        MoveCaret(ctrl ? WordLeft(caret_) : PreviousPosition(caret_), shift);
        break;
    case VK_RIGHT:
        MoveCaret(ctrl ? WordRight(caret_) : NextPosition(caret_), shift);
        break;
    case VK_UP:
        verticalMove(-1);
        break;
    case VK_DOWN:
        verticalMove(1);
        break;
    case VK_PRIOR:
    case VK_NEXT:
        // The caret goes a page of rows; the view follows it only as far as it must.
        verticalMove(static_cast<long long>(VisibleRows()) * (key == VK_PRIOR ? -1 : 1));
        break;
    case VK_HOME:
    case VK_END: {
        if (ctrl) {
            MoveCaret(key == VK_HOME ? 0 : text_.Length(), shift);
            break;
        }
        const std::size_t line = text_.LineFromPosition(caret_);
        const std::size_t ls = text_.LineStart(line);
        FontDC dc(window_, font_);
        const auto& rows = Rows(dc, line);
        const std::size_t row = RowOf(dc, line, caret_ - ls);
        std::size_t to = ls + rows[row];
        if (key == VK_END) {
            to = row + 1 < rows.size() ? ls + rows[row + 1] : text_.LineEnd(line);
            // The end of a wrapped row is before the next row's first character,
            // after the spaces that end it.
        }
        MoveCaret(to, shift);
        break;
    }
    case VK_DELETE:
        // Shift cuts a selection and deletes the character before the caret;
        // Ctrl deletes to the end of the line; both together do nothing.
        if (ReadOnly() || (shift && ctrl)) break;
        if (selection) {
            if (shift)
                SendMessageW(window_, WM_CUT, 0, 0);
            else
                Replace({}, true, false, true);
        } else if (shift) {
            if (caret_ > 0) {
                SetSelection(caret_, PreviousPosition(caret_), false);
                Replace({}, true, false, true);
            }
        } else if (ctrl) {
            SetSelection(caret_, text_.LineEnd(text_.LineFromPosition(caret_)), false);
            Replace({}, true, false, true);
        } else if (caret_ < text_.Length()) {
            SetSelection(caret_, NextPosition(caret_), false);
            Replace({}, true, false, true);
        }
        break;
    case VK_INSERT:
        if (shift && !ctrl)
            SendMessageW(window_, WM_PASTE, 0, 0);
        else if (ctrl && !shift)
            SendMessageW(window_, WM_COPY, 0, 0);
        break;
    default:
        break;
    }
}

void Editor::Char(wchar_t c) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    switch (c) {
    case 0x03:
        SendMessageW(window_, WM_COPY, 0, 0);
        return;
    case 0x16:
        SendMessageW(window_, WM_PASTE, 0, 0);
        return;
    case 0x18:
        SendMessageW(window_, WM_CUT, 0, 0);
        return;
    case 0x1A:
        SendMessageW(window_, WM_UNDO, 0, 0);
        return;
    default:
        break;
    }
    if (ReadOnly()) return;
    if (c == L'\b' || c == 0x7F) {
        if (SelStart() != SelEnd()) {
            Replace({}, true, false, true);
        } else if (caret_ > 0) {
            const std::size_t to = (c == 0x7F || ctrl) ? WordLeft(caret_) : PreviousPosition(caret_);
            SetSelection(caret_, to, false);
            Replace({}, true, false, true);
        }
        return;
    }
    if (dialogMode_ && c == L'\t') {
        if (HWND parent = GetParent(window_)) SendMessageW(parent, WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0, 0);
        return;
    }
    if (dialogMode_ && c == L'\r' && !(Style() & ES_WANTRETURN)) {
        // The dialog's default button, when it has one.
        if (HWND parent = GetParent(window_)) {
            const LRESULT id = SendMessageW(parent, DM_GETDEFID, 0, 0);
            if (HIWORD(id) == DC_HASDEFID)
                PostMessageW(parent, WM_COMMAND, MAKEWPARAM(LOWORD(id), BN_CLICKED),
                             LPARAM(GetDlgItem(parent, LOWORD(id))));
        }
        return;
    }
    if (c == L'\r' || c == L'\n') {
        Replace(u"\r\n", true, true, true);
        return;
    }
    if (c < 0x20 && c != L'\t') return;
    const char16_t one = char16_t(c);
    Replace(std::u16string_view(&one, 1), true, true, true);
}

// ---------------------------------------------------------------- messages

LRESULT Editor::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        {
            FontDC dc(window_, font_);
            widths_.Reset(dc);
        }
        ForgetLayout(true);
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (create->lpszName && *create->lpszName) SetText(View(create->lpszName));
        UpdateScrollBars();
        return 0;
    }
    case WM_SETTEXT:
        try {
            SetText(View(reinterpret_cast<const wchar_t*>(lParam)));
        } catch (const std::bad_alloc&) {
            Notify(EN_ERRSPACE);
            return FALSE;
        }
        return TRUE;
    case WM_GETTEXT: {
        if (wParam == 0 || !lParam) return 0;
        auto* out = reinterpret_cast<wchar_t*>(lParam);
        const std::size_t n = std::min<std::size_t>(text_.Length(), wParam - 1);
        text_.CopyTo(0, n, reinterpret_cast<char16_t*>(out));
        out[n] = 0;
        return LRESULT(n);
    }
    case WM_GETTEXTLENGTH:
        return LRESULT(text_.Length());
    case EM_TAKETEXT: {
        // A buffer of the caller's memory: nobody else's pointer is followed.
        if ((wParam & ~CompareFirst) != TextKey() || !lParam) return 0;
        auto* text = reinterpret_cast<TextBuffer*>(lParam);
        if ((wParam & CompareFirst) && text_.Equals(text->View())) return 2;
        try {
            text_.Adopt(*text);
        } catch (const std::bad_alloc&) {
            Notify(EN_ERRSPACE);
            return 0;
        }
        TextReplaced();
        return 1;
    }
    case EM_GIVETEXT: {
        if (wParam != TextKey() || !lParam) return 0;
        auto* text = reinterpret_cast<TextBuffer*>(lParam);
        *text = text_.Release();
        TextReplaced();
        return 1;
    }
    case EM_GETSEL: {
        const DWORD s = DWORD(SelStart()), e = DWORD(SelEnd());
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = s;
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = e;
        return s > 0xFFFF || e > 0xFFFF ? -1 : LRESULT(MAKELONG(s, e));
    }
    case EM_SETSEL: {
        std::size_t start = std::size_t(DWORD(wParam)), end = std::size_t(DWORD(lParam));
        if (INT(wParam) == -1) {
            start = end = caret_;
        } else {
            start = std::min(start, text_.Length());
            end = std::min(end, text_.Length());
        }
        SetSelection(start, end, true);
        return 1;
    }
    case EM_REPLACESEL:
        Replace(View(reinterpret_cast<const wchar_t*>(lParam)), wParam != 0, true, true);
        return 0;
    case EM_CANUNDO:
        return undo_.CanUndo();
    case EM_UNDO:
    case WM_UNDO:
        Undo();
        return TRUE;
    case EM_EMPTYUNDOBUFFER:
        undo_.Clear();
        return 0;
    case EM_GETMODIFY:
        return modified_;
    case EM_SETMODIFY:
        modified_ = wParam != 0;
        return 0;
    case EM_SETLIMITTEXT:
        limit_ = wParam ? std::size_t(DWORD(wParam)) : NoLimit;
        return 0;
    case EM_GETLIMITTEXT:
        return LRESULT(DWORD(limit_));
    case EM_SETREADONLY: {
        const DWORD style = Style();
        SetWindowLongPtrW(window_, GWL_STYLE, wParam ? style | ES_READONLY : style & ~ES_READONLY);
        InvalidateRect(window_, nullptr, TRUE);
        return TRUE;
    }
    case EM_GETLINECOUNT:
        return LRESULT(VisualLineCount());
    case EM_LINEINDEX: {
        std::size_t visual = std::size_t(INT(wParam) == -1 ? VisualLineOf(caret_) : std::size_t(DWORD(wParam)));
        if (visual >= VisualLineCount()) return -1;
        std::size_t start = 0, end = 0;
        VisualLineSpan(visual, start, end);
        return LRESULT(start);
    }
    case EM_LINEFROMCHAR: {
        std::size_t p = INT(wParam) == -1 ? (SelStart() != SelEnd() ? SelStart() : caret_) : std::size_t(DWORD(wParam));
        return LRESULT(VisualLineOf(std::min(p, text_.Length())));
    }
    case EM_LINELENGTH: {
        if (INT(wParam) == -1) {
            // The characters of the selection's lines that are not selected:
            // before the anchor on its line, after the caret on its line.
            std::size_t s1 = 0, e1 = 0, s2 = 0, e2 = 0;
            VisualLineSpan(VisualLineOf(anchor_), s1, e1);
            VisualLineSpan(VisualLineOf(caret_), s2, e2);
            // Counted as the platform control counts it: a caret inside a
            // line break gives a negative part.
            return LRESULT((static_cast<long long>(anchor_) - static_cast<long long>(s1)) +
                           (static_cast<long long>(e2) - static_cast<long long>(caret_)));
        }
        const std::size_t p = std::min<std::size_t>(DWORD(wParam), text_.Length());
        std::size_t start = 0, end = 0;
        VisualLineSpan(VisualLineOf(p), start, end);
        return LRESULT(end - start);
    }
    case EM_GETLINE: {
        if (!lParam) return 0;
        const std::size_t visual = std::size_t(DWORD(wParam));
        if (visual >= VisualLineCount()) return 0;
        std::size_t start = 0, end = 0;
        VisualLineSpan(visual, start, end);
        auto* out = reinterpret_cast<wchar_t*>(lParam);
        const std::size_t room = *reinterpret_cast<const WORD*>(lParam);
        const std::size_t n = std::min(room, end - start);
        text_.CopyTo(start, n, reinterpret_cast<char16_t*>(out));
        if (n < room) out[n] = 0;
        return LRESULT(n);
    }
    case EM_GETFIRSTVISIBLELINE: {
        if (!Wraps()) return LRESULT(topLine_);
        CountAllRows();
        std::size_t visual = topRow_;
        for (std::size_t l = 0; l < topLine_; ++l) visual += rowCounts_[l];
        return LRESULT(visual);
    }
    case EM_SCROLLCARET:
        ScrollCaret();
        return TRUE;
    case EM_LINESCROLL: {
        std::size_t l = topLine_, r = topRow_;
        StepRows(l, r, INT(lParam));
        ScrollToRow(l, r);
        if (!Wraps()) ScrollHorizontally(xOffset_ + INT(wParam) * widths_.Average());
        return TRUE;
    }
    case EM_SCROLL: {
        long long rows = 0;
        switch (LOWORD(wParam)) {
        case SB_LINEUP: rows = -1; break;
        case SB_LINEDOWN: rows = 1; break;
        case SB_PAGEUP: rows = -VisibleRows(); break;
        case SB_PAGEDOWN: rows = VisibleRows(); break;
        default: return FALSE;
        }
        std::size_t l = topLine_, r = topRow_;
        StepRows(l, r, rows);
        ScrollToRow(l, r);
        return MAKELRESULT(WORD(rows), TRUE);
    }
    case EM_GETRECT:
        if (lParam) *reinterpret_cast<RECT*>(lParam) = FormatRect();
        return 0;
    case EM_SETMARGINS:
        SetMargins(wParam, LOWORD(lParam), HIWORD(lParam));
        ForgetLayout();
        InvalidateRect(window_, nullptr, FALSE);
        return 0;
    case EM_GETMARGINS:
        return MAKELRESULT(leftMargin_, rightMargin_);
    case EM_POSFROMCHAR: {
        // As the platform control answers: no point for the end of the text.
        if (std::size_t(DWORD(wParam)) >= text_.Length()) return -1;
        std::size_t p = std::size_t(DWORD(wParam));
        // A position inside a line break answers the start of its row.
        const std::size_t breakLine = text_.LineFromPosition(p);
        if (p > text_.LineEnd(breakLine)) p = text_.LineStart(breakLine);
        const std::size_t line = text_.LineFromPosition(p);
        FontDC dc(window_, font_);
        const std::size_t row = RowOf(dc, line, p - text_.LineStart(line));
        const long long at = RowsBetweenTopAnd(line, row, 1 << 20);
        const RECT r = FormatRect();
        return MAKELRESULT(WORD(r.left + XOf(dc, p) - xOffset_), WORD(r.top + at * widths_.LineHeight()));
    }
    case EM_CHARFROMPOS: {
        const std::size_t p = PositionFromPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return MAKELRESULT(WORD(p), WORD(VisualLineOf(p)));
    }
    case WM_CUT:
        // What the clipboard did not take is not deleted.
        if (ReadOnly() || SelStart() == SelEnd()) return 0;
        if (CopySelection()) Replace({}, true, false, true);
        return 0;
    case WM_COPY:
        CopySelection();
        return 0;
    case WM_PASTE:
        Paste();
        return 0;
    case WM_CLEAR:
        if (ReadOnly() || SelStart() == SelEnd()) return 0;
        Replace({}, true, false, true);
        return 0;
    case WM_SETFONT: {
        font_ = HFONT(wParam);
        std::optional<Margins> margins;
        {
            FontDC dc(window_, font_);
            widths_.Reset(dc);
            margins = NewFontMargins(dc);
        }
        if (!margins)
            SetMargins(EC_LEFTMARGIN | EC_RIGHTMARGIN, EC_USEFONTINFO, EC_USEFONTINFO);
        else if (margins->left > 0 || margins->right > 0)
            SetMargins(EC_LEFTMARGIN | EC_RIGHTMARGIN, WORD(margins->left), WORD(margins->right));
        ForgetLayout(true);
        if (focused_) {
            DestroyCaret();
            CreateCaret(window_, nullptr, 1, widths_.LineHeight());
            ShowCaret(window_);
        }
        if (LOWORD(lParam)) InvalidateRect(window_, nullptr, TRUE);
        UpdateScrollBars();
        PlaceCaret();
        return 0;
    }
    case WM_GETFONT:
        return LRESULT(font_);
    case WM_GETDLGCODE:
        // Asked with a key's message, the question comes from a dialog's
        // keyboard handling: from then on Enter and Tab are the dialog's.
        if (lParam) dialogMode_ = true;
        return DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    case WM_SIZE:
        ForgetLayout();
        if (topRow_ != 0) topRow_ = 0;
        InvalidateRect(window_, nullptr, FALSE);
        UpdateScrollBars();
        PlaceCaret();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SETFOCUS:
        focused_ = true;
        CreateCaret(window_, nullptr, 1, widths_.LineHeight());
        PlaceCaret();
        ShowCaret(window_);
        InvalidateRect(window_, nullptr, FALSE);
        Notify(EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        focused_ = false;
        DestroyCaret();
        InvalidateRect(window_, nullptr, FALSE);
        Notify(EN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        InvalidateRect(window_, nullptr, TRUE);
        return 0;
    case WM_STYLECHANGED:
        ForgetLayout();
        InvalidateRect(window_, nullptr, TRUE);
        return 0;
    case WM_KEYDOWN:
        KeyDown(wParam);
        return 0;
    case WM_CHAR:
        Char(wchar_t(wParam));
        return 0;
    case WM_IME_STARTCOMPOSITION:
        PlaceImeWindow();
        break;
    case WM_IME_CHAR: // the composition's result, in UTF-16 for this wide window
        Char(wchar_t(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (GetFocus() != window_) SetFocus(window_);
        const std::size_t p = PositionFromPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (message == WM_LBUTTONDBLCLK) {
            const std::size_t line = text_.LineFromPosition(p);
            const std::size_t ls = text_.LineStart(line), length = text_.LineLength(line);
            std::size_t first = 0, last = 0;
            WordAround(std::u16string_view(text_.Contiguous(ls, length), length), p - ls, first, last);
            SetSelection(ls + first, ls + last, true);
        } else {
            SetSelection((wParam & MK_SHIFT) ? anchor_ : p, p, true);
        }
        selecting_ = true;
        SetCapture(window_);
        SetTimer(window_, ScrollTimer, 100, nullptr);
        return 0;
    }
    case WM_MOUSEMOVE:
        // Outside the text the pointer selects to the nearest visible
        // character; the timer scrolls.
        if (selecting_) {
            const POINT at = Confined({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            SetSelection(anchor_, PositionFromPoint(at.x, at.y), true);
        }
        return 0;
    case WM_TIMER:
        if (wParam == LayoutTimer) {
            UpdateScrollBars(); // lays out the next lines first
            return 0;
        }
        if (wParam == ScrollTimer && selecting_) {
            POINT at;
            GetCursorPos(&at);
            ScreenToClient(window_, &at);
            const RECT r = FormatRect();
            const int rows = at.y < r.top ? -1 : at.y >= r.bottom ? 1 : 0;
            if (rows != 0) {
                std::size_t l = topLine_, row = topRow_;
                StepRows(l, row, rows);
                ScrollToRow(l, row);
            }
            if (!Wraps() && (at.x < r.left || at.x >= r.right))
                ScrollHorizontally(xOffset_ + (at.x < r.left ? -1 : 1) * widths_.Average());
            if (rows != 0 || at.x < r.left || at.x >= r.right) {
                const POINT inside = Confined(at);
                SetSelection(anchor_, PositionFromPoint(inside.x, inside.y), false);
            }
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (selecting_) {
            selecting_ = false;
            KillTimer(window_, ScrollTimer);
            if (message == WM_LBUTTONUP) ReleaseCapture();
        }
        return 0;
    case WM_MOUSEWHEEL: {
        UINT lines = 3;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        const long long rows = lines == WHEEL_PAGESCROLL ? -notches * VisibleRows() : -notches * int(lines);
        std::size_t l = topLine_, r = topRow_;
        StepRows(l, r, rows);
        ScrollToRow(l, r);
        return 0;
    }
    case WM_VSCROLL: {
        std::size_t l = topLine_, r = topRow_;
        switch (LOWORD(wParam)) {
        case SB_LINEUP: StepRows(l, r, -1); break;
        case SB_LINEDOWN: StepRows(l, r, 1); break;
        case SB_PAGEUP: StepRows(l, r, -VisibleRows()); break;
        case SB_PAGEDOWN: StepRows(l, r, VisibleRows()); break;
        case SB_TOP: l = r = 0; break;
        case SB_BOTTOM: l = text_.LineCount() - 1, r = 0; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            std::size_t target = ThumbPosition(SB_VERT, wParam);
            l = r = 0;
            if (!Wraps()) {
                l = std::min(target, text_.LineCount() - 1);
            } else {
                while (l + 1 < rowCounts_.size()) {
                    const std::size_t n = rowCounts_[l] ? rowCounts_[l] : 1;
                    if (target < n) break;
                    target -= n;
                    ++l;
                }
                FontDC dc(window_, font_);
                r = std::min(target, RowCount(dc, l) - 1);
            }
            break;
        }
        default: return 0;
        }
        ScrollToRow(l, r);
        return 0;
    }
    case WM_HSCROLL: {
        const int width = FormatWidth();
        int x = xOffset_;
        switch (LOWORD(wParam)) {
        case SB_LINELEFT: x -= widths_.Average(); break;
        case SB_LINERIGHT: x += widths_.Average(); break;
        // A page sideways is a third of the width in whole average characters.
        case SB_PAGELEFT: x -= width / 3 / widths_.Average() * widths_.Average(); break;
        case SB_PAGERIGHT: x += width / 3 / widths_.Average() * widths_.Average(); break;
        case SB_LEFT: x = 0; break;
        case SB_RIGHT: x = Widest() - width; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            x = int(ThumbPosition(SB_HORZ, wParam));
            break;
        }
        default: return 0;
        }
        if (!Wraps()) ScrollHorizontally(x);
        return 0;
    }
    case WM_CONTEXTMENU:
        if (GetFocus() != window_) SetFocus(window_);
        ContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK EditorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* editor = reinterpret_cast<Editor*>(GetWindowLongPtrW(window, 0));
    if (message == WM_NCCREATE) {
        editor = new (std::nothrow) Editor(window);
        if (!editor) return FALSE;
        SetWindowLongPtrW(window, 0, LONG_PTR(editor));
    }
    if (!editor) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // A window destroyed from inside one of its own messages (a parent
        // answering a notification) keeps its state until that message is done.
        SetWindowLongPtrW(window, 0, 0);
        if (editor->depth_ == 0)
            delete editor;
        else
            editor->destroyed_ = true;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    struct Depth {
        Editor* editor;
        explicit Depth(Editor* e) : editor(e) { ++editor->depth_; }
        ~Depth() {
            if (--editor->depth_ == 0 && editor->destroyed_) delete editor;
        }
    } depth(editor);
    try {
        return editor->Handle(message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        if (!editor->destroyed_) editor->Notify(EN_ERRSPACE);
        return message == WM_SETTEXT ? FALSE : 0;
    } catch (...) {
        return 0;
    }
}

} // namespace

WPARAM TextKey() {
    // Unguessable from outside, and never CompareFirst's bit.
    static const WPARAM key = [] {
        std::random_device random;
        const std::uint64_t bits = (std::uint64_t(random()) << 32) ^ random();
        return (WPARAM(bits) | 2) & ~CompareFirst;
    }();
    return key;
}

const wchar_t* RegisterEditorClass(HINSTANCE instance) {
    WNDCLASSEXW existing{sizeof existing};
    if (GetClassInfoExW(instance, ClassName, &existing)) return ClassName;
    WNDCLASSEXW wc{sizeof wc};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = EditorProc;
    wc.cbWndExtra = sizeof(Editor*);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32513) /* IDC_IBEAM */);
    wc.lpszClassName = ClassName;
    if (!RegisterClassExW(&wc)) throw std::runtime_error("the editor's window class cannot be registered");
    return ClassName;
}

} // namespace moke::editor
