// Moves the real pointer and runs the idle pass, as the program's loop does
// when its queue runs empty.
#pragma once

#include "app/frame/Application.h"
#include "tests/support/Gui.h"

#include <windows.h>

namespace moke::test {

// Under Wine the display's late reports of earlier moves can put the pointer
// back for a moment, so the move is repeated until the position holds.
// Returns false when it does not.
inline bool MovePointer(POINT screen) {
    const auto there = [&] {
        POINT now{};
        GetCursorPos(&now);
        return now.x == screen.x && now.y == screen.y;
    };
    for (int attempt = 0, held = 0; attempt < 50 && held < 3; ++attempt) {
        if (!there()) {
            held = 0;
            SetCursorPos(screen.x, screen.y);
        }
        Pump();
        Sleep(5);
        Pump();
        held = there() ? held + 1 : 0;
    }
    return there();
}

// Moves the pointer to a screen point, then runs the idle pass once.
inline bool PointAt(POINT screen) {
    const bool moved = MovePointer(screen);
    Application().RunIdlePass();
    Pump();
    return moved;
}

} // namespace moke::test
