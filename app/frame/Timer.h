// A timer with a hidden window of its own: platform timer number 1 on that
// window, armed only while the period is not 0, it is enabled and it has a handler.
#pragma once

#include "app/frame/Control.h"

namespace moke {

class TTimerWindow;

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned milliseconds);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    void SetOnTimer(TNotifyEvent handler);
    // The hidden window that receives WM_TIMER.
    HWND Handle() const;

private:
    friend class TTimerWindow;
    void Rearm();
    void Tick();

    unsigned interval_ = 1000;
    bool enabled_ = true;
    TNotifyEvent onTimer_;
    TTimerWindow* window_;
};

} // namespace moke
