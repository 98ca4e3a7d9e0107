// The real pointer, moved as the user moves it, and where it rests.
#pragma once

#include "app/frame/Application.h"
#include "app/frame/Control.h"
#include "tests/support/Gui.h"

#include <windows.h>

#include <functional>

namespace moke::test {

// Puts the pointer at a screen point and waits until the display server's
// own reports of the movement, which may lag behind, agree with it: a late
// report would otherwise move the pointer back. The program's loop runs
// meanwhile; `eachRound` runs after each pass (tests stop the tip timer there).
inline bool PlacePointer(POINT target, const std::function<void()>& eachRound = {}) {
    int steady = 0;
    for (int round = 0; round < 200 && steady < 3; ++round) {
        POINT at{};
        GetCursorPos(&at);
        if (at.x != target.x || at.y != target.y) {
            SetCursorPos(target.x, target.y);
            steady = 0;
        } else {
            ++steady;
        }
        Application().ProcessMessages();
        if (eachRound) eachRound();
        Sleep(3);
    }
    return steady >= 3;
}

// Leaves the pointer in the screen's bottom-right corner, away from where
// the tests' windows appear, so that no later idle pass finds a hint there.
inline void ParkPointer() {
    PlacePointer(POINT{GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
}

// Moves the pointer to a screen point, then runs the idle pass once.
inline bool PointAt(POINT screen) {
    const bool moved = PlacePointer(screen);
    Application().RunIdlePass();
    Pump();
    return moved;
}

// The middle of a control, on the screen.
inline POINT Middle(const TControl& control) {
    return control.ClientToScreen(POINT{control.Width() / 2, control.Height() / 2});
}

// True when a window of the program is at that point of the screen.
inline bool ProgramWindowAt(POINT screen) { return TWinControl::FromWindowOrAncestor(WindowFromPoint(screen)); }

} // namespace moke::test
