// Helpers for tests that drive the program's real windows under Wine: pumping
// the program's own message loop, posting real input, and answering modal
// boxes from inside their message loops.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

// Rectangles in test expectations.
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT& r, std::ostream* out) {
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace moke::test {

// Handles every message waiting for this thread through the program's loop
// (keyboard path included), then every message that this produced.
void Pump();
// Runs the program's loop for a span of time (timers included).
void PumpFor(std::chrono::milliseconds span);
// Runs the loop until `done` holds or `timeout` passes; returns done().
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(5));

std::string WindowText(HWND window);
std::string ClassName(HWND window);
// The first child (any depth) of `parent` with that class and, when given, that text.
HWND FindChild(HWND parent, const std::string& className, const std::string& text = {});
// Visible top-level windows of this thread with that class.
std::vector<HWND> ThreadWindows(const std::string& className);

// Posts a key press (down, and up) to a window, as the keyboard would: the
// program's loop sees and translates it. Modifier keys are pressed in the
// thread's key state for the span of the call to Pump that follows.
void PostKey(HWND window, UINT virtualKey, bool shift = false, bool ctrl = false, bool alt = false);
// Posts a character message (as TranslateMessage would produce it).
void PostChar(HWND window, char character);
// Posts a left click at a client point of a window.
void PostClick(HWND window, POINT client);
// Holds modifier keys down in this thread's key state until released.
class HeldKeys {
public:
    HeldKeys(bool shift, bool ctrl);
    ~HeldKeys();

private:
    BYTE saved_[256];
};

// Answers modal windows from inside their own message loop: when a visible,
// enabled window of the expected class appears on this thread, its text and
// children are recorded and the answer runs. Expectations are met in order.
class ModalAnswerer {
public:
    struct Seen {
        HWND window;
        std::string className;
        std::string caption;
        std::string text;                  // text of the "Message" label or of the system box
        std::vector<std::string> buttons;  // captions of the push buttons, left to right
        RECT bounds;
        HWND owner;
    };

    ModalAnswerer();
    ~ModalAnswerer();
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;

    void Expect(std::string className, std::function<void(HWND)> answer);
    bool Done() const { return next_ >= expected_.size(); }
    const std::vector<Seen>& Answered() const { return seen_; }

    // Common answers.
    static std::function<void(HWND)> Key(UINT virtualKey);
    static std::function<void(HWND)> Char(char character);
    static std::function<void(HWND)> Click(const std::string& buttonCaption);
    static std::function<void(HWND)> CloseBox();

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Check();

    struct Expected {
        std::string className;
        std::function<void(HWND)> answer;
    };
    std::vector<Expected> expected_;
    std::vector<Seen> seen_;
    size_t next_ = 0;
    UINT_PTR timer_ = 0;
    HWND lastAnswered_ = nullptr;
};

// Records the messages sent to windows of this thread (a WH_CALLWNDPROC hook)
// while it lives: what reached a window procedure, before it was handled.
class SentMessageLog {
public:
    struct Entry {
        HWND window;
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        std::string text; // the string of a WM_SETTEXT, or of the editor's EM_TAKETEXT
    };

    SentMessageLog();
    ~SentMessageLog();
    SentMessageLog(const SentMessageLog&) = delete;
    SentMessageLog& operator=(const SentMessageLog&) = delete;

    const std::vector<Entry>& Entries() const { return entries_; }
    // The entries for one window and message.
    std::vector<Entry> Of(HWND window, UINT msg) const;
    void Clear() { entries_.clear(); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook_ = nullptr;
    std::vector<Entry> entries_;
};

// Counts the messages of one kind taken from this thread's queue for a window
// (a WH_GETMESSAGE hook): posted messages such as WM_TIMER.
class TakenMessageCount {
public:
    TakenMessageCount(HWND window, UINT msg);
    ~TakenMessageCount();
    TakenMessageCount(const TakenMessageCount&) = delete;
    TakenMessageCount& operator=(const TakenMessageCount&) = delete;
    int Count() const { return count_; }
    void Reset() { count_ = 0; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook_ = nullptr;
    HWND window_;
    UINT msg_;
    int count_ = 0;
};

// Converts CP932 bytes to UTF-8 for readable failure messages.
std::string Utf8(const std::string& ansi);

} // namespace moke::test
