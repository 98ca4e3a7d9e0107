// Measures an editor from outside its process, the same way for any editor
// whose main window holds an EDIT control:
//   probe start  <exe> <class> [runs]                  start-up until idle with the editor ready
//   probe open   <exe> <class> <file> [runs]           start with a file until the editor holds it whole
//   probe make   <file> <megabytes> crlf|lf|sjis|utf8|line  writes a test file
// Prints one line per measurement: "<ms> <peak working set KB>".
// And, for end-to-end scripts that read a running editor from outside through
// its windows (any process):
//   probe wait    <class> [ms]                  waits for a visible top-level window of the class
//   probe gone    <class> [ms]                  waits until there is none
//   probe caption <class>                       its caption
//   probe text    <class>                       the text of its EDIT child
//   probe status  <class>                       the status bar's text (simple text while in simple mode)
//   probe rect    <class> <child class> [n]     screen rectangle of the n-th child of that class
// Texts are written as they are (code page 932 bytes).
#include "bench/AsciiLines.h"

#include <windows.h>

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A visible top-level window of the class, of that process when one is given.
HWND FindTopLevel(const char* className, DWORD process = 0) {
    struct Search {
        const char* className;
        DWORD process;
        HWND found;
    } search{className, process, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char name[128] = {};
            GetClassNameA(window, name, sizeof name);
            if ((s->process == 0 || owner == s->process) && IsWindowVisible(window) &&
                lstrcmpiA(name, s->className) == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The editor of a main window: the platform's edit control, or our own.
HWND FindEditor(HWND main) {
    HWND edit = FindWindowExA(main, nullptr, "Edit", nullptr);
    return edit ? edit : FindWindowExA(main, nullptr, "MokeEdit", nullptr);
}

// The number of UTF-16 units of a file's text: UTF-8 where its bytes are
// UTF-8, code page 932 otherwise. An editor that reads it another way shows
// at least as many.
long long FileCharacters(const std::string& path) {
    FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) return -1;
    std::string bytes;
    char buffer[1 << 16];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;) bytes.append(buffer, got);
    std::fclose(in);
    if (bytes.empty()) return 0;
    const int size = static_cast<int>(bytes.size());
    int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (units <= 0) units = MultiByteToWideChar(932, 0, bytes.data(), size, nullptr, 0);
    return units;
}

// One run: start the program, wait until it is ready (and, with a file, until
// its editor holds at least `expected` characters); returns milliseconds and
// the peak working set.
bool Run(const std::string& exe, const char* className, const std::string& file, long long expected, double& ms,
         SIZE_T& peakKb) {
    std::string command = "\"" + exe + "\"";
    if (!file.empty()) command += " \"" + file + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    const auto begin = std::chrono::steady_clock::now();
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        std::fprintf(stderr, "probe: cannot start %s (%lu)\n", command.c_str(), GetLastError());
        return false;
    }
    // Three minutes, or MOKE_PROBE_SECONDS.
    const char* seconds = std::getenv("MOKE_PROBE_SECONDS");
    const auto deadline = begin + std::chrono::seconds(seconds && *seconds ? std::atoi(seconds) : 180);
    WaitForInputIdle(info.hProcess, 180000);
    HWND window = nullptr;
    HWND editor = nullptr;
    bool ready = false;
    while (std::chrono::steady_clock::now() < deadline) {
        if (!window) window = FindTopLevel(className, info.dwProcessId);
        if (window && !editor) editor = FindEditor(window);
        if (editor) {
            DWORD_PTR length = 0;
            if (SendMessageTimeoutW(editor, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 1000, &length) &&
                static_cast<long long>(length) >= expected) {
                // Ready when the program is idle again with the text in place.
                WaitForInputIdle(info.hProcess, 180000);
                ready = true;
                break;
            }
        }
        Sleep(1);
    }
    const auto end = std::chrono::steady_clock::now();
    ms = std::chrono::duration<double, std::milli>(end - begin).count();
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    peakKb = GetProcessMemoryInfo(info.hProcess, &counters, sizeof counters) ? counters.PeakWorkingSetSize / 1024 : 0;
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 0);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    if (!ready) std::fprintf(stderr, "probe: %s was not ready in time\n", command.c_str());
    return ready;
}

// Japanese text: lines of 20 to 79 characters of kana, kanji and ASCII,
// CR LF, in code page 932 or UTF-8.
std::string JapaneseLines(std::size_t size, UINT codePage, unsigned seed) {
    static const wchar_t pool[] = L"\u3042\u3044\u3046\u3048\u304a\u304b\u304d\u304f\u3051\u3053"
                                  L"\u30a2\u30a4\u30a6\u30a8\u30aa\u6f22\u5b57\u65e5\u672c\u8a9e"
                                  L"\u8868\u793a\u6587\u66f8\u3002\u3001abcxyz 0123";
    const std::size_t poolSize = sizeof pool / sizeof pool[0] - 1;
    std::wstring text;
    std::size_t bytes = 0;
    while (bytes < size) {
        std::wstring line;
        seed = seed * 1103515245 + 12345;
        const unsigned length = 20 + (seed >> 16) % 60;
        for (unsigned i = 0; i < length; ++i) line.push_back(pool[(i * 7 + seed) % poolSize]);
        line += L"\r\n";
        bytes += static_cast<std::size_t>(
            WideCharToMultiByte(codePage, 0, line.data(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr));
        text += line;
    }
    std::string out(bytes, '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), static_cast<int>(bytes),
                        nullptr, nullptr);
    return out;
}

int MakeFile(const char* path, int megabytes, const std::string& kind) {
    const std::size_t size = static_cast<std::size_t>(megabytes) << 20;
    std::string text;
    if (kind == "line") text = std::string(size, 'x'); // one line, no break at all
    else if (kind == "sjis") text = JapaneseLines(size, 932, 4242);
    else if (kind == "utf8") text = JapaneseLines(size, CP_UTF8, 4242);
    else {
        const bool lf = kind == "lf";
        text = AsciiLines(size, lf ? "\n" : "\r\n", 4242);
        if (!lf && text.back() == '\r') text.back() = 'x';
    }
    FILE* out = std::fopen(path, "wb");
    if (!out) return 1;
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
    return 0;
}

HWND NthChild(HWND parent, const char* className, int n) {
    HWND child = nullptr;
    for (int i = 0; i <= n; ++i) {
        child = FindWindowExA(parent, child, className, nullptr);
        if (!child) {
            // Not a direct child: look one level deeper (tool bars in the band container).
            struct Search {
                const char* className;
                int left;
                HWND found;
            } search{className, n, nullptr};
            EnumChildWindows(
                parent,
                [](HWND w, LPARAM data) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(data);
                    char name[128] = {};
                    GetClassNameA(w, name, sizeof name);
                    if (lstrcmpiA(name, s->className) == 0 && s->left-- == 0) {
                        s->found = w;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            return search.found;
        }
    }
    return child;
}

std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length)) return {};
    std::string text(length + 1, '\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, 5000, &got);
    text.resize(got);
    return text;
}

// SB_GETTEXT needs its buffer in the status bar's own process.
std::string StatusText(HWND bar) {
    DWORD process = 0;
    GetWindowThreadProcessId(bar, &process);
    HANDLE target = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (!target) return {};
    void* remote = VirtualAllocEx(target, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
    std::string text;
    if (remote) {
        // Part 0: in simple mode the control answers with the simple text.
        const LRESULT result = SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(remote));
        char buffer[4096] = {};
        SIZE_T read = 0;
        ReadProcessMemory(target, remote, buffer, sizeof buffer - 1, &read);
        text.assign(buffer, std::min<size_t>(LOWORD(result), sizeof buffer - 1));
        VirtualFreeEx(target, remote, 0, MEM_RELEASE);
    }
    CloseHandle(target);
    return text;
}

int Query(int argc, char** argv) {
    const std::string what = argv[1];
    const char* className = argv[2];
    if (what == "wait" || what == "gone") {
        const DWORD limit = argc >= 4 ? static_cast<DWORD>(std::atoi(argv[3])) : 10000;
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < limit) {
            if ((FindTopLevel(className) != nullptr) == (what == "wait")) return 0;
            Sleep(20);
        }
        return 1;
    }
    HWND window = FindTopLevel(className);
    if (!window) return 1;
    std::string out;
    if (what == "caption") {
        out = WindowText(window);
    } else if (what == "text") {
        HWND edit = FindEditor(window);
        if (!edit) return 1;
        out = WindowText(edit);
    } else if (what == "status") {
        HWND bar = NthChild(window, STATUSCLASSNAMEA, 0);
        if (!bar) return 1;
        out = StatusText(bar);
    } else if (what == "rect" && argc >= 4) {
        HWND child = NthChild(window, argv[3], argc >= 5 ? std::atoi(argv[4]) : 0);
        if (!child) return 1;
        RECT r;
        GetWindowRect(child, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        return 0;
    } else {
        return 2;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // Texts go out byte for byte: no CR added before line feeds.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc >= 3) {
        const std::string what = argv[1];
        if (what == "wait" || what == "gone" || what == "caption" || what == "text" || what == "status" ||
            what == "rect")
            return Query(argc, argv);
    }
    if (argc >= 5 && std::string(argv[1]) == "make") return MakeFile(argv[2], std::atoi(argv[3]), argv[4]);
    if (argc < 4) {
        std::fprintf(stderr, "usage: probe start <exe> <class> [runs] | open <exe> <class> <file> [runs]\n");
        return 2;
    }
    const std::string mode = argv[1];
    const std::string exe = argv[2];
    const char* className = argv[3];
    std::string file;
    int runs = 5;
    long long expected = 0;
    if (mode == "open") {
        if (argc < 5) return 2;
        file = argv[4];
        expected = FileCharacters(file);
        if (argc >= 6) runs = std::atoi(argv[5]);
    } else if (argc >= 5) {
        runs = std::atoi(argv[4]);
    }
    for (int r = 0; r < runs; ++r) {
        double ms = 0;
        SIZE_T peak = 0;
        if (!Run(exe, className, file, expected, ms, peak)) return 1;
        std::printf("%.1f %zu\n", ms, static_cast<size_t>(peak));
        std::fflush(stdout);
    }
    return 0;
}
