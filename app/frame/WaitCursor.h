// The hourglass for the span of a long piece of work on the GUI thread; the
// pointer it replaced comes back when the work ends, and the window that was
// busy is repainted at once.
#pragma once

#include <windows.h>

namespace moke {

class WaitCursor {
public:
    explicit WaitCursor(HWND repaint = nullptr)
        : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))), repaint_(repaint) {}
    ~WaitCursor() {
        SetCursor(previous_);
        if (repaint_ && IsWindow(repaint_)) {
            RedrawWindow(repaint_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
    HWND repaint_;
};

} // namespace moke
