// Two editors side by side for differential tests: the platform's multi-line
// edit control ("EDIT") and ours, made with the same styles, size and font in
// one parent window that records the notifications each sends.
#pragma once

#include "document/editor/EditorWindow.h"
#include "tests/support/Gui.h"

#include <windows.h>

#include <string>
#include <vector>

namespace moke::test {

class EditorPair {
public:
    struct Note {
        HWND from;
        WORD code;
    };

    explicit EditorPair(DWORD style, int width = 240, int height = 160) {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        editor::RegisterEditorClass(instance);
        WNDCLASSEXW wc{sizeof wc};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = instance;
        wc.lpszClassName = L"MokeEditorPairParent";
        RegisterClassExW(&wc); // a second registration fails harmlessly
        parent_ = CreateWindowExW(0, wc.lpszClassName, L"pair", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  2 * width + 60, height + 80, nullptr, nullptr, instance, nullptr);
        font_ = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                            L"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF"); // ＭＳ ゴシック
        const DWORD styles = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | style;
        platform_ = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", styles, 10, 10, width, height, parent_,
                                    HMENU(1), instance, nullptr);
        ours_ = CreateWindowExA(WS_EX_CLIENTEDGE, "MokeEdit", "", styles, width + 30, 10, width, height, parent_,
                                HMENU(2), instance, nullptr);
        for (HWND w : {platform_, ours_}) SendMessageW(w, WM_SETFONT, WPARAM(font_), TRUE);
        Notes().clear();
    }
    ~EditorPair() {
        DestroyWindow(parent_);
        DeleteObject(font_);
    }
    EditorPair(const EditorPair&) = delete;
    EditorPair& operator=(const EditorPair&) = delete;

    HWND Platform() const { return platform_; }
    HWND Ours() const { return ours_; }
    HWND Parent() const { return parent_; }

    // The editor a test is acting on, to which a request to close the parent
    // is put down (as the note CloseNote).
    static HWND& Acting() {
        static HWND acting = nullptr;
        return acting;
    }
    static constexpr WORD CloseNote = 0xFFFF;

    // The notifications received since the last call, from one of the two.
    static std::vector<WORD> TakeNotes(HWND from) {
        std::vector<WORD> codes;
        for (const Note& n : Notes())
            if (n.from == from) codes.push_back(n.code);
        std::erase_if(Notes(), [from](const Note& n) { return n.from == from; });
        return codes;
    }

    static std::u16string Text(HWND w) {
        const int n = int(SendMessageW(w, WM_GETTEXTLENGTH, 0, 0));
        std::u16string s(std::size_t(n) + 1, u'\0');
        const int got = int(SendMessageW(w, WM_GETTEXT, WPARAM(n + 1), LPARAM(s.data())));
        s.resize(std::size_t(got));
        return s;
    }
    static std::pair<DWORD, DWORD> Selection(HWND w) {
        DWORD s = 0, e = 0;
        SendMessageW(w, EM_GETSEL, WPARAM(&s), LPARAM(&e));
        return {s, e};
    }

    // A key pressed and released as the keyboard would: posted, then taken
    // from the queue, translated and dispatched.
    static void PressKey(HWND w, UINT key, bool shift, bool ctrl) {
        HeldKeys held(shift, ctrl);
        const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
        const bool extended = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN ||
                              key == VK_HOME || key == VK_END || key == VK_PRIOR || key == VK_NEXT ||
                              key == VK_DELETE || key == VK_INSERT;
        const LPARAM down = 1 | LPARAM(scan) << 16 | (extended ? 1 << 24 : 0);
        PostMessageW(w, WM_KEYDOWN, key, down);
        PostMessageW(w, WM_KEYUP, key, down | 0xC0000000);
        DrainQueue();
    }
    static void DrainQueue() {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }

private:
    static std::vector<Note>& Notes() {
        static std::vector<Note> notes;
        return notes;
    }
    static LRESULT CALLBACK ParentProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        if (m == WM_COMMAND && lp) Notes().push_back({HWND(lp), HIWORD(wp)});
        // Asked to close: noted for the editor acting, and the pair stays.
        if (m == WM_CLOSE) {
            Notes().push_back({Acting(), CloseNote});
            return 0;
        }
        return DefWindowProcW(w, m, wp, lp);
    }

    HWND parent_ = nullptr;
    HWND platform_ = nullptr;
    HWND ours_ = nullptr;
    HFONT font_ = nullptr;
};

} // namespace moke::test
