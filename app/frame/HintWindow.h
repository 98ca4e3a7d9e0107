// Tool tips: a small pop-up window showing a control's short hint after the
// pointer has rested on it, driven by one timer in show or hide mode.
#pragma once

#include "app/frame/Control.h"

#include <string>

namespace moke {

class THintWindow;

class TToolTips {
public:
    enum class TimerMode { Stopped, Show, Hide };

    // The show-hints switch: on makes the one tip window, off destroys it.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    // Off and on again: a new tip window takes the current system font.
    void Renew();

    COLORREF Color() const { return color_; }

    // Hooks of the message loop.
    void MessageTaken(const MSG& message);
    void Idle(TControl* underPointer);
    // Pointer movement at a screen point.
    void PointerMoved(POINT screen);
    // Timer expiry.
    void TimerExpired();
    void Cancel();
    void ControlDestroyed(TControl* control);

    // State, for those who watch it.
    TControl* HintControl() const { return hintControl_; }
    bool Active() const { return active_; }
    TimerMode Mode() const { return mode_; }
    unsigned Pause() const { return pause_; }
    RECT TipRect() const { return tipRect_; }
    HWND Window() const;
    bool Showing() const;
    const std::string& Text() const { return text_; }

    // The first control at a screen point, walking up from the control under
    // it, that wants tips; null when none.
    static TControl* CandidateAt(POINT screen);
    // Rows from the cursor's hot spot down to its lowest visible row.
    static int CursorOffset();

private:
    void StartTimer(TimerMode mode, unsigned pause);
    void StopTimer();
    void ShowAt(POINT screen);

    bool enabled_ = false;
    COLORREF color_ = GetSysColor(COLOR_INFOBK);
    unsigned showPause_ = 500, quickPause_ = 50, hidePause_ = 2500;
    TControl* hintControl_ = nullptr;
    bool active_ = false;
    RECT tipRect_{0, 0, 0, 0};
    TimerMode mode_ = TimerMode::Stopped;
    unsigned pause_ = 0;
    std::string text_;
    THintWindow* window_ = nullptr;
};

// The program's tip state.
TToolTips& ToolTips();

} // namespace moke
