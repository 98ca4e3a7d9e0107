#include "tests/support/Gui.h"

#include "document/editor/EditorWindow.h"

#include "app/frame/CodePage.h"

#include "app/frame/Application.h"
#include "app/frame/StdCtrls.h"

#include <algorithm>
#include <cstring>

namespace moke::test {

void Pump() {
    TApplication& app = Application();
    // Twice: what the first round's messages sent or posted is handled too.
    app.ProcessMessages();
    app.ProcessMessages();
}

void PumpFor(std::chrono::milliseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    TApplication& app = Application();
    for (;;) {
        app.ProcessMessages();
        app.RunIdlePass();
        const auto now = std::chrono::steady_clock::now();
        if (now >= end) break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
    }
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    TApplication& app = Application();
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return done();
        app.ProcessMessages();
        app.RunIdlePass();
        if (done()) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

std::string ClassName(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

namespace {
struct ChildSearch {
    std::string className, text;
    HWND found = nullptr;
};
BOOL CALLBACK MatchChild(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ChildSearch*>(data);
    if (_stricmp(ClassName(window).c_str(), search->className.c_str()) == 0 &&
        (search->text.empty() || WindowText(window) == search->text)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}
struct ThreadSearch {
    std::string className;
    std::vector<HWND> found;
};
BOOL CALLBACK MatchThreadWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ThreadSearch*>(data);
    if (IsWindowVisible(window) && ClassName(window) == search->className) search->found.push_back(window);
    return TRUE;
}
} // namespace

HWND FindChild(HWND parent, const std::string& className, const std::string& text) {
    ChildSearch search{className, text};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> ThreadWindows(const std::string& className) {
    ThreadSearch search{className, {}};
    EnumThreadWindows(GetCurrentThreadId(), MatchThreadWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {
LPARAM KeyData(UINT virtualKey, bool up, bool alt) {
    const UINT scan = MapVirtualKeyA(virtualKey, 0);
    LPARAM data = 1 | (static_cast<LPARAM>(scan & 0xFF) << 16);
    if (alt) data |= 1 << 29;
    if (up) data |= (1u << 30) | (1u << 31);
    return data;
}
} // namespace

void PostKey(HWND window, UINT virtualKey, bool shift, bool ctrl, bool alt) {
    HeldKeys held(shift, ctrl);
    const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const UINT up = alt ? WM_SYSKEYUP : WM_KEYUP;
    PostMessageA(window, down, virtualKey, KeyData(virtualKey, false, alt));
    PostMessageA(window, up, virtualKey, KeyData(virtualKey, true, alt));
    // The key state matters while the key-down is handled.
    Pump();
}

void PostChar(HWND window, char character) {
    PostMessageA(window, WM_CHAR, static_cast<unsigned char>(character), 1);
}

void PostClick(HWND window, POINT client) {
    const LPARAM at = MAKELPARAM(client.x, client.y);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
}

HeldKeys::HeldKeys(bool shift, bool ctrl) {
    GetKeyboardState(saved_);
    BYTE state[256];
    std::memcpy(state, saved_, sizeof state);
    if (shift) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
    if (ctrl) state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
    SetKeyboardState(state);
}

HeldKeys::~HeldKeys() { SetKeyboardState(saved_); }

// ---------------------------------------------------------------------------

namespace {
ModalAnswerer* current = nullptr;

struct ButtonSearch {
    std::vector<std::pair<int, HWND>> buttons;
};
BOOL CALLBACK CollectButton(HWND window, LPARAM data) {
    if (_stricmp(ClassName(window).c_str(), "Button") == 0 && IsWindowVisible(window)) {
        RECT r;
        GetWindowRect(window, &r);
        reinterpret_cast<ButtonSearch*>(data)->buttons.emplace_back(r.left, window);
    }
    return TRUE;
}
} // namespace

ModalAnswerer::ModalAnswerer() {
    current = this;
    timer_ = SetTimer(nullptr, 0, 15, &ModalAnswerer::Tick);
}

ModalAnswerer::~ModalAnswerer() {
    if (timer_) KillTimer(nullptr, timer_);
    if (current == this) current = nullptr;
}

void ModalAnswerer::Expect(std::string className, std::function<void(HWND)> answer) {
    expected_.push_back(Expected{std::move(className), std::move(answer)});
}

void CALLBACK ModalAnswerer::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current) current->Check();
}

void ModalAnswerer::Check() {
    if (Done()) return;
    const Expected& wanted = expected_[next_];
    for (HWND window : ThreadWindows(wanted.className)) {
        if (!IsWindowEnabled(window) || window == lastAnswered_) continue;
        Seen seen{};
        seen.window = window;
        seen.className = wanted.className;
        seen.caption = WindowText(window);
        seen.owner = GetWindow(window, GW_OWNER);
        GetWindowRect(window, &seen.bounds);
        if (auto* control = TWinControl::FromHandle(window)) {
            if (auto* label = dynamic_cast<TLabel*>(control->FindComponent("Message"))) seen.text = label->Caption();
        } else if (HWND text = GetDlgItem(window, 0xFFFF)) {
            seen.text = WindowText(text);
        }
        ButtonSearch buttons;
        EnumChildWindows(window, CollectButton, reinterpret_cast<LPARAM>(&buttons));
        std::sort(buttons.buttons.begin(), buttons.buttons.end());
        for (auto& [x, button] : buttons.buttons) seen.buttons.push_back(WindowText(button));
        seen_.push_back(seen);
        lastAnswered_ = window;
        ++next_;
        wanted.answer(window);
        return;
    }
}

std::function<void(HWND)> ModalAnswerer::Key(UINT virtualKey) {
    return [virtualKey](HWND window) {
        HWND target = GetFocus();
        if (!target || (target != window && !IsChild(window, target))) target = window;
        PostMessageA(target, WM_KEYDOWN, virtualKey, KeyData(virtualKey, false, false));
        PostMessageA(target, WM_KEYUP, virtualKey, KeyData(virtualKey, true, false));
    };
}

std::function<void(HWND)> ModalAnswerer::Char(char character) {
    return [character](HWND window) {
        HWND target = GetFocus();
        if (!target || (target != window && !IsChild(window, target))) target = window;
        const UINT vk = static_cast<UINT>(VkKeyScanA(character) & 0xFF);
        PostMessageA(target, WM_KEYDOWN, vk, KeyData(vk, false, false));
        PostMessageA(target, WM_CHAR, static_cast<unsigned char>(character), KeyData(vk, false, false));
        PostMessageA(target, WM_KEYUP, vk, KeyData(vk, true, false));
    };
}

std::function<void(HWND)> ModalAnswerer::Click(const std::string& buttonCaption) {
    return [buttonCaption](HWND window) {
        if (HWND button = FindChild(window, "Button", buttonCaption)) PostMessageA(button, BM_CLICK, 0, 0);
    };
}

std::function<void(HWND)> ModalAnswerer::CloseBox() {
    return [](HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); };
}

// ---------------------------------------------------------------------------

namespace {
SentMessageLog* currentSentLog = nullptr;
TakenMessageCount* currentTakenCount = nullptr;
} // namespace

SentMessageLog::SentMessageLog() {
    currentSentLog = this;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &SentMessageLog::Hook, nullptr, GetCurrentThreadId());
}

SentMessageLog::~SentMessageLog() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (currentSentLog == this) currentSentLog = nullptr;
}

LRESULT CALLBACK SentMessageLog::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && currentSentLog) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        Entry entry{sent->hwnd, sent->message, sent->wParam, sent->lParam, {}};
        // The text as the window receives it: UTF-16 for a window that keeps
        // its text so (read back here in the program's code page).
        if (sent->message == WM_SETTEXT && sent->lParam)
            entry.text = IsWindowUnicode(sent->hwnd)
                             ? ProgramFromWide(reinterpret_cast<const wchar_t*>(sent->lParam))
                             : std::string(reinterpret_cast<const char*>(sent->lParam));
        // The editor's own whole-text set hands over a buffer.
        if (sent->message == editor::EM_TAKETEXT && sent->lParam &&
            (sent->wParam & ~editor::CompareFirst) == editor::TextKey()) {
            const std::u16string_view text = reinterpret_cast<const editor::TextBuffer*>(sent->lParam)->View();
            entry.text = ProgramFromWide(std::wstring(text.begin(), text.end()));
        }
        currentSentLog->entries_.push_back(std::move(entry));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<SentMessageLog::Entry> SentMessageLog::Of(HWND window, UINT msg) const {
    std::vector<Entry> found;
    for (const Entry& entry : entries_)
        if (entry.window == window && entry.msg == msg) found.push_back(entry);
    return found;
}

TakenMessageCount::TakenMessageCount(HWND window, UINT msg) : window_(window), msg_(msg) {
    currentTakenCount = this;
    hook_ = SetWindowsHookExA(WH_GETMESSAGE, &TakenMessageCount::Hook, nullptr, GetCurrentThreadId());
}

TakenMessageCount::~TakenMessageCount() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (currentTakenCount == this) currentTakenCount = nullptr;
}

LRESULT CALLBACK TakenMessageCount::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && currentTakenCount) {
        const auto* taken = reinterpret_cast<const MSG*>(lParam);
        if (taken->hwnd == currentTakenCount->window_ && taken->message == currentTakenCount->msg_)
            ++currentTakenCount->count_;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string Utf8(const std::string& ansi) {
    if (ansi.empty()) return {};
    const int wide = MultiByteToWideChar(932, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(932, 0, ansi.data(), static_cast<int>(ansi.size()), w.data(), wide);
    const int narrow = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(narrow), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, out.data(), narrow, nullptr, nullptr);
    return out;
}

} // namespace moke::test
