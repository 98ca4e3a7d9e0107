// Measures one editor control inside this process, one case a run (so that
// the peak working set belongs to that case alone):
//   moke_editor_bench <control> <case> [megabytes]
// <control>: "ours" (the editor's own class) or "edit" (the platform's EDIT).
// <case>:
//   set      WM_SETTEXT of a Japanese and ASCII text of that size, to the first repaint
//   setwrap  the same with word wrap on (the editor's default)
//   key      the same text (word wrap on), then one typed character at its end, to the repaint
//   narrow   the same text as code page 932 bytes through the narrow WM_SETTEXT, then read
//            back whole through the narrow WM_GETTEXTLENGTH and WM_GETTEXT (as the
//            editor's component sends them today)
//   wrapline one line of that size with word wrap on: set, then Ctrl+End
// Prints one line: the times, and the growth of the peak working set from
// before the text was made (the caller's copy included) against the text's
// size in UTF-16.
#include "document/editor/EditorWindow.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// About `megabytes` MB of UTF-16 text: lines of Japanese and ASCII.
std::wstring JapaneseLines(double megabytes) {
    const wchar_t* pieces[] = {L"\u65E5\u672C\u8A9E\u306E\u6587\u7AE0\u3068 ASCII text, ",
                               L"\u3082\u3051\u3089\u30E1\u30E2\u5E33 line ", L"\u3042\u3044\u3046 0123456789 "};
    const std::size_t units = std::size_t(megabytes * 1024 * 1024 / 2);
    std::wstring text;
    text.reserve(units + 128);
    unsigned n = 0;
    while (text.size() < units) {
        for (int k = 0; k < 3; ++k) text += pieces[(n + k) % 3];
        text += std::to_wstring(n++);
        text += L"\r\n";
    }
    return text;
}

std::wstring OneLine(double megabytes) {
    std::wstring text;
    const std::size_t units = std::size_t(megabytes * 1024 * 1024 / 2);
    text.reserve(units);
    while (text.size() < units) text += L"word \u65E5\u672C\u8A9E ";
    return text;
}

LRESULT CALLBACK ParentProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

void Drain() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

double PeakMegabytes() {
    PROCESS_MEMORY_COUNTERS counters{sizeof counters};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return double(counters.PeakWorkingSetSize) / (1024 * 1024);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: moke_editor_bench ours|edit set|setwrap|key|narrow|wrapline [megabytes]\n");
        return 2;
    }
    const bool ours = std::strcmp(argv[1], "ours") == 0;
    const std::string what = argv[2];
    const double megabytes = argc > 3 ? std::atof(argv[3]) : 10;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const wchar_t* className = ours ? moke::editor::RegisterEditorClass(instance) : L"EDIT";

    WNDCLASSEXW wc{sizeof wc};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"MokeEditorBench";
    RegisterClassExW(&wc);
    HWND parent = CreateWindowExW(0, wc.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600,
                                  nullptr, nullptr, instance, nullptr);
    const bool wrap = what != "set";
    const DWORD style = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL | WS_VSCROLL |
                        (wrap ? 0 : ES_AUTOHSCROLL | WS_HSCROLL);
    HWND editor = CreateWindowExW(WS_EX_CLIENTEDGE, className, L"", style, 0, 0, 780, 560, parent, HMENU(1), instance,
                                  nullptr);
    HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                             L"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF");
    SendMessageW(editor, WM_SETFONT, WPARAM(font), TRUE);
    SendMessageW(editor, EM_SETLIMITTEXT, 0, 0);
    SetFocus(editor);
    Drain();

    const double baseline = PeakMegabytes();
    std::wstring text = what == "wrapline" ? OneLine(megabytes) : JapaneseLines(megabytes);
    const double textMegabytes = double(text.size()) * 2 / (1024 * 1024);
    std::printf("%-8s %5.1f MB %-4s:", what.c_str(), textMegabytes, ours ? "ours" : "edit");

    if (what == "narrow") {
        const int bytes = WideCharToMultiByte(932, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
        std::string narrow(std::size_t(bytes), '\0');
        WideCharToMultiByte(932, 0, text.c_str(), int(text.size()), narrow.data(), bytes, nullptr, nullptr);
        text = std::wstring();
        auto start = Clock::now();
        const LRESULT taken = SendMessageA(editor, WM_SETTEXT, 0, LPARAM(narrow.c_str()));
        UpdateWindow(editor);
        std::printf(" narrow set of %.1f MB %.0f ms%s", double(bytes) / (1024 * 1024), Since(start),
                    taken ? "" : " (refused)");
        narrow = std::string();
        start = Clock::now();
        const LRESULT length = SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0);
        std::string back(std::size_t(length) + 1, '\0');
        const LRESULT got = SendMessageA(editor, WM_GETTEXT, WPARAM(back.size()), LPARAM(back.data()));
        std::printf(", narrow length and text %.0f ms (%s)", Since(start), got == length ? "whole" : "short");
    } else {
        const auto start = Clock::now();
        const LRESULT taken = SendMessageW(editor, WM_SETTEXT, 0, LPARAM(text.c_str()));
        UpdateWindow(editor);
        std::printf(" set %.0f ms%s", Since(start), taken ? "" : " (refused)");
        text = std::wstring(); // the caller's copy goes; the control's stays
    }
    auto start = Clock::now();

    if (what == "key") {
        SendMessageW(editor, EM_SETSEL, WPARAM(0x7FFFFFFF), LPARAM(0x7FFFFFFF));
        SendMessageW(editor, EM_SCROLLCARET, 0, 0);
        UpdateWindow(editor);
        double worst = 0, total = 0;
        for (int i = 0; i < 10; ++i) {
            start = Clock::now();
            SendMessageW(editor, WM_CHAR, WPARAM(L'a' + i), 1);
            UpdateWindow(editor);
            const double ms = Since(start);
            worst = std::max(worst, ms);
            total += ms;
        }
        std::printf(", keystroke at the end to the repaint %.2f ms (worst of 10 %.2f ms)", total / 10, worst);
    } else if (what == "wrapline") {
        BYTE saved[256], state[256];
        GetKeyboardState(saved);
        std::memcpy(state, saved, sizeof state);
        state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
        SetKeyboardState(state);
        start = Clock::now();
        SendMessageW(editor, WM_KEYDOWN, VK_END, 1 | (1 << 24));
        UpdateWindow(editor);
        std::printf(", Ctrl+End to the repaint %.0f ms", Since(start));
        SetKeyboardState(saved);
    }
    const double peak = PeakMegabytes();
    // The growth of the peak from before the text was made: the caller's copy
    // of the text (1 x) and what the control needed.
    std::printf(", peak working set +%.0f MB (%.2f x the text)\n", peak - baseline, (peak - baseline) / textMegabytes);
    DestroyWindow(parent);
    DeleteObject(font);
    return 0;
}
