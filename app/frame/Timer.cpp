#include "app/frame/Timer.h"

#include "app/frame/Application.h"
#include "app/frame/Failure.h"

namespace moke {

// The timer's own window: message-only, never shown.
class TTimerWindow : public TWinControl {
public:
    TTimerWindow(TComponent* owner, TTimer& timer) : TWinControl(owner), timer_(timer) {}

protected:
    void CreateParams(TCreateParams& params) override {
        params.className = "TTimerWindow";
        params.ownClass = true;
        params.classStyle = 0;
        params.style = WS_POPUP;
        params.parent = HWND_MESSAGE;
    }
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_TIMER) {
            // A failing tick is reported here and the timer goes on.
            try {
                timer_.Tick();
            } catch (...) {
                Application().HandleException();
            }
            return;
        }
        DefaultHandler(message);
    }

private:
    TTimer& timer_;
};

TTimer::TTimer(TComponent* owner) : TComponent(owner), window_(new TTimerWindow(this, *this)) {}

TTimer::~TTimer() {
    if (window_->HandleAllocated()) KillTimer(window_->Handle(), 1);
}

HWND TTimer::Handle() const { return window_->Handle(); }

void TTimer::Rearm() {
    HWND window = window_->Handle();
    KillTimer(window, 1);
    if (interval_ != 0 && enabled_ && onTimer_) {
        if (!SetTimer(window, 1, interval_, nullptr)) throw Failure("タイマーを設定できません");
    }
}

void TTimer::SetInterval(unsigned milliseconds) {
    if (interval_ == milliseconds) return;
    interval_ = milliseconds;
    Rearm();
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Rearm();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    onTimer_ = std::move(handler);
    Rearm();
}

void TTimer::Tick() {
    if (onTimer_) onTimer_(*this);
}

} // namespace moke
