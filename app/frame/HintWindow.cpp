#include "app/frame/HintWindow.h"

#include "app/frame/Application.h"
#include "app/frame/HintText.h"

#include <cstddef>
#include <vector>

namespace moke {

enum : UINT { CM_RENEWTIPS = CM_BASE + 0x20 };

// The tip window: a pop-up with a one-pixel raised edge, never activated,
// transparent to the mouse.
class THintWindow : public TWinControl {
public:
    explicit THintWindow(TComponent* owner) : TWinControl(owner) {
        SetName("HintWindow");
        TControl::SetVisible(false);
        NONCLIENTMETRICSA metrics;
        if (ReadNonClientMetrics(metrics)) {
            Font().Assign(metrics.lfStatusFont, GetSysColor(COLOR_INFOTEXT));
        } else {
            HDC screen = GetDC(nullptr);
            Font().SetHeight(-MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));
            ReleaseDC(nullptr, screen);
        }
    }

    // Size of the window for a text: its extent word-wrapped within the
    // screen's width, plus 6 each way.
    SIZE Measure(const std::string& text) {
        const RECT r = MeasureText(Font().Handle(), text, RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), 0},
                                   DT_WORDBREAK | DT_NOPREFIX);
        return SIZE{r.right - r.left + 6, r.bottom - r.top + 6};
    }

protected:
    void CreateParams(TCreateParams& params) override {
        params.className = "THintWindow";
        params.ownClass = true;
        params.classStyle = CS_SAVEBITS;
        params.style = WS_POPUP;
        params.exStyle = WS_EX_TOOLWINDOW;
        params.parent = nullptr;
    }

    void WndProc(TMessage& message) override {
        switch (message.Msg) {
        case WM_NCHITTEST: message.Result = HTTRANSPARENT; return;
        case WM_MOUSEACTIVATE: message.Result = MA_NOACTIVATE; return;
        case WM_NCCALCSIZE:
            if (message.WParam) {
                auto* sizes = reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam);
                InflateRect(&sizes->rgrc[0], -1, -1);
            } else {
                InflateRect(reinterpret_cast<RECT*>(message.LParam), -1, -1);
            }
            message.Result = 0;
            return;
        case WM_NCPAINT: {
            HDC dc = GetWindowDC(ExistingHandle());
            RECT r;
            GetWindowRect(ExistingHandle(), &r);
            OffsetRect(&r, -r.left, -r.top);
            DrawEdge(dc, &r, BDR_RAISEDOUTER, BF_RECT);
            ReleaseDC(ExistingHandle(), dc);
            message.Result = 0;
            return;
        }
        case WM_ERASEBKGND: message.Result = 1; return;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(ExistingHandle(), &ps);
            RECT r;
            GetClientRect(ExistingHandle(), &r);
            HBRUSH back = CreateSolidBrush(ToolTips().Color());
            FillRect(dc, &r, back);
            DeleteObject(back);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
            HGDIOBJ old = SelectObject(dc, Font().Handle());
            r.left += 2;
            r.top += 2;
            DrawProgramText(dc, ToolTips().Text(), r, DT_WORDBREAK | DT_NOPREFIX | DT_LEFT);
            SelectObject(dc, old);
            EndPaint(ExistingHandle(), &ps);
            return;
        }
        case WM_TIMER: ToolTips().TimerExpired(); return;
        case WM_WININICHANGE:
            // Renewed once the notice has been handled: the window goes with it.
            PostMessageA(ExistingHandle(), CM_RENEWTIPS, 0, 0);
            break;
        case CM_RENEWTIPS: ToolTips().Renew(); return; // this window is gone now
        default: break;
        }
        DefaultHandler(message);
    }
};

TToolTips& ToolTips() {
    static TToolTips* tips = new TToolTips(); // lives until the process ends
    return *tips;
}

HWND TToolTips::Window() const { return window_ ? window_->ExistingHandle() : nullptr; }

bool TToolTips::Showing() const { return window_ && window_->HandleAllocated() && IsWindowVisible(Window()); }

void TToolTips::SetEnabled(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    if (on) {
        color_ = GetSysColor(COLOR_INFOBK);
        window_ = new THintWindow(nullptr);
        window_->HandleNeeded();
    } else {
        Cancel();
        delete window_;
        window_ = nullptr;
    }
}

void TToolTips::Renew() {
    SetEnabled(false);
    SetEnabled(true);
}

void TToolTips::ControlDestroyed(TControl* control) {
    if (hintControl_ == control) Cancel();
}

TControl* TToolTips::CandidateAt(POINT screen) {
    for (TControl* c = TApplication::ControlAtScreenPoint(screen); c; c = c->Parent())
        if (c->ShowHint()) return c;
    return nullptr;
}

void TToolTips::StopTimer() {
    if (mode_ != TimerMode::Stopped && Window()) KillTimer(Window(), 1);
    mode_ = TimerMode::Stopped;
}

void TToolTips::StartTimer(TimerMode mode, unsigned pause) {
    StopTimer();
    if (!Window() || !SetTimer(Window(), 1, pause, nullptr)) {
        Cancel();
        return;
    }
    mode_ = mode;
    pause_ = pause;
}

void TToolTips::Cancel() {
    if (!hintControl_) return;
    if (Window()) ShowWindow(Window(), SW_HIDE);
    hintControl_ = nullptr;
    active_ = false;
    StopTimer();
}

void TToolTips::PointerMoved(POINT screen) {
    TControl* candidate = CandidateAt(screen);
    if (!candidate) {
        Cancel();
        return;
    }
    if (candidate == hintControl_ && PtInRect(&tipRect_, screen)) return;
    const unsigned pause = active_ ? quickPause_ : showPause_;
    const bool keepActive = active_;
    Cancel();
    active_ = keepActive;
    hintControl_ = candidate;
    StartTimer(TimerMode::Show, pause);
}

void TToolTips::TimerExpired() {
    const TimerMode mode = mode_;
    StopTimer();
    if (mode == TimerMode::Show) {
        POINT p;
        GetCursorPos(&p);
        ShowAt(p);
    } else if (mode == TimerMode::Hide) {
        if (Window()) ShowWindow(Window(), SW_HIDE);
    }
}

int TToolTips::CursorOffset() {
    const int fallback = GetSystemMetrics(SM_CYCURSOR);
    HCURSOR cursor = GetCursor();
    ICONINFO info{};
    if (!cursor || !GetIconInfo(cursor, &info)) return fallback;
    struct Release {
        ICONINFO& info;
        ~Release() {
            if (info.hbmMask) DeleteObject(info.hbmMask);
            if (info.hbmColor) DeleteObject(info.hbmColor);
        }
    } release{info};
    BITMAP mask{};
    if (!info.hbmMask || !GetObjectA(info.hbmMask, sizeof mask, &mask) || mask.bmBitsPixel != 1 || mask.bmWidth <= 0)
        return fallback;
    const int rowBytes = ((mask.bmWidth + 15) / 16) * 2;
    std::vector<BYTE> bits(static_cast<size_t>(rowBytes) * static_cast<size_t>(mask.bmHeight));
    if (GetBitmapBits(info.hbmMask, static_cast<LONG>(bits.size()), bits.data()) <= 0) return fallback;
    const int square = mask.bmWidth;
    const int andRows = std::min(square, static_cast<int>(mask.bmHeight));
    const int widthBytes = (mask.bmWidth + 7) / 8;
    auto scan = [&](int firstRow, int rows, BYTE blank) -> int {
        for (int row = rows - 1; row >= 0; --row)
            for (int b = 0; b < widthBytes; ++b)
                if (bits[static_cast<size_t>((firstRow + row) * rowBytes + b)] != blank) return row;
        return -1;
    };
    int row = scan(0, andRows, 0xFF);
    if (row < 0 && mask.bmHeight >= 2 * mask.bmWidth) row = scan(square, square, 0x00);
    if (row < 0) return fallback;
    return row - static_cast<int>(info.yHotspot);
}

void TToolTips::ShowAt(POINT p) {
    active_ = false;
    HWND active = GetActiveWindow();
    if (!enabled_ || !hintControl_ || !active || !TWinControl::FromHandle(active) || CandidateAt(p) != hintControl_) {
        Cancel();
        return;
    }
    const std::string_view hint = ShortHint(hintControl_->InheritedHint());
    if (hint.empty()) {
        Cancel();
        return;
    }
    active_ = true;
    text_ = hint;
    const SIZE size = window_->Measure(text_);
    int left = p.x;
    int top = p.y + CursorOffset();
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (top + size.cy > screenHeight) top = screenHeight - size.cy;
    if (left + size.cx > screenWidth) left = screenWidth - size.cx;
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    const POINT origin = hintControl_->ClientToScreen(POINT{0, 0});
    tipRect_ = RECT{origin.x, origin.y, origin.x + hintControl_->Width(), origin.y + hintControl_->Height()};
    InvalidateRect(Window(), nullptr, TRUE);
    SetWindowPos(Window(), HWND_TOPMOST, left, top, size.cx, size.cy, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    UpdateWindow(Window());
    StartTimer(TimerMode::Hide, hidePause_);
}

void TToolTips::MessageTaken(const MSG& message) {
    if (!enabled_) return;
    const UINT m = message.message;
    // Keyboard messages are 0x100 to 0x108: one past WM_SYSDEADCHAR belongs to them too.
    constexpr UINT kLastKeyMessage = 0x108;
    if ((m >= WM_KEYDOWN && m <= kLastKeyMessage) || (m >= WM_LBUTTONDOWN && m <= WM_MOUSEWHEEL) ||
        m == WM_NCMOUSEMOVE || m == WM_COMMAND || m == CM_APPACTIVATED || m == CM_APPDEACTIVATED) {
        Cancel();
        return;
    }
    if (m == WM_MOUSEMOVE) {
        if (TWinControl::FromWindowOrAncestor(message.hwnd)) PointerMoved(message.pt);
    }
}

void TToolTips::Idle(TControl* underPointer) {
    if (enabled_ && !underPointer) Cancel();
}

} // namespace moke
