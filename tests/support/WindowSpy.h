// Watching one window from the inside: what reached its window procedure
// (posted messages that were dispatched as well as sent ones), and a few
// helpers for the clipboard and the pointer that the keyboard and hint tests
// share.
#pragma once

#include "app/frame/Application.h"

#include <windows.h>

#include <algorithm>

#include <functional>
#include <string>
#include <vector>

namespace moke::test {

// Subclasses a window for its lifetime and records every message that
// reaches the window procedure, before it is handled.
class WindowSpy {
  public:
    struct Entry {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    };

    explicit WindowSpy(HWND window) : window_(window) {
        SetPropA(window_, kProperty, this);
        previous_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowSpy::Proc)));
    }
    ~WindowSpy() {
        if (!IsWindow(window_)) return;
        if (GetWindowLongPtrA(window_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowSpy::Proc))
            SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        RemovePropA(window_, kProperty);
    }
    WindowSpy(const WindowSpy&) = delete;
    WindowSpy& operator=(const WindowSpy&) = delete;

    const std::vector<Entry>& Entries() const { return entries_; }
    int Count(UINT msg) const {
        int count = 0;
        for (const Entry& entry : entries_)
            if (entry.msg == msg) ++count;
        return count;
    }
    // Key-downs and characters that reached the window.
    int Keys() const { return Count(WM_KEYDOWN) + Count(WM_SYSKEYDOWN) + Count(WM_CHAR) + Count(WM_SYSCHAR); }
    void Clear() { entries_.clear(); }

  private:
    static constexpr const char* kProperty = "MokeTestWindowSpy";
    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* spy = static_cast<WindowSpy*>(GetPropA(window, kProperty));
        if (!spy) return DefWindowProcA(window, msg, wParam, lParam);
        spy->entries_.push_back(Entry{msg, wParam, lParam});
        const WNDPROC previous = spy->previous_;
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
            RemovePropA(window, kProperty);
        }
        return CallWindowProcA(previous, window, msg, wParam, lParam);
    }

    HWND window_;
    WNDPROC previous_ = nullptr;
    std::vector<Entry> entries_;
};

// The clipboard, as another program would fill it: UTF-16 text (the system
// makes the narrow forms from it), converted from code page 932 here.
inline bool PutTextOnClipboard(const std::string& text) {
    const int length = MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (static_cast<size_t>(length) + 1) * sizeof(wchar_t));
    if (!memory) {
        CloseClipboard();
        return false;
    }
    auto* characters = static_cast<wchar_t*>(GlobalLock(memory));
    MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), characters, length);
    characters[length] = L'\0';
    GlobalUnlock(memory);
    const bool put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    return put;
}

// The clipboard holding UTF-16 text as it is, whatever code page has it.
inline bool PutWideTextOnClipboard(const std::wstring& text) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    bool put = false;
    if (memory) {
        auto* characters = static_cast<wchar_t*>(GlobalLock(memory));
        std::copy(text.c_str(), text.c_str() + text.size() + 1, characters);
        GlobalUnlock(memory);
        put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    CloseClipboard();
    return put;
}

// A clipboard that holds only a picture.
inline bool PutPictureOnClipboard() {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    HDC screen = GetDC(nullptr);
    HBITMAP picture = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(nullptr, screen);
    const bool put = SetClipboardData(CF_BITMAP, picture) != nullptr;
    CloseClipboard();
    return put;
}

inline bool EmptyTheClipboard() {
    if (!OpenClipboard(nullptr)) return false;
    const bool emptied = EmptyClipboard() != FALSE;
    CloseClipboard();
    return emptied;
}

// The clipboard's text as code page 932 bytes (read as UTF-16 and converted
// here, whatever the system's code page); "<none>" when it holds no text.
inline std::string ClipboardText() {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(nullptr)) return "<none>";
    std::string text = "<none>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* characters = static_cast<const wchar_t*>(GlobalLock(data))) {
            const int length = WideCharToMultiByte(932, 0, characters, -1, nullptr, 0, nullptr, nullptr);
            text.assign(static_cast<size_t>(length > 0 ? length : 1), '\0');
            if (length > 0) WideCharToMultiByte(932, 0, characters, -1, text.data(), length, nullptr, nullptr);
            text.resize(text.size() - 1);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

} // namespace moke::test
