// Plays a screen reader in a process of its own: reads one entry of another
// process's drop-down (or of its list box) the way they do, the length first,
// then the text into a buffer of that length.
//
//   moke_list_reader WINDOW INDEX combo|list wide|narrow OUTPUT
//
// WINDOW is the window handle in hexadecimal. The text read is written to the
// file OUTPUT (UTF-16 for wide, code page bytes for narrow). Exit codes: 0
// read; 1 bad arguments; 2 the window did not answer (gone, or hung for 10 s);
// 3 the window answered an error; 4 it wrote beyond the length it gave;
// 5 the reader itself broke down.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

bool Send(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, bool wide, LRESULT& result) {
    DWORD_PTR answer = 0;
    const LRESULT ok = wide ? SendMessageTimeoutW(window, msg, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &answer)
                            : SendMessageTimeoutA(window, msg, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &answer);
    result = static_cast<LRESULT>(answer);
    return ok != 0;
}

template <class Char> int Read(HWND window, WPARAM index, bool combo, bool wide, const char* output) {
    const UINT lengthMsg = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT textMsg = combo ? CB_GETLBTEXT : LB_GETTEXT;
    LRESULT length = 0;
    if (!Send(window, lengthMsg, index, 0, wide, length)) return 2;
    if (length < 0) return 3;
    // A guard behind the room asked for: the answer must stay inside.
    constexpr size_t kGuard = 64;
    std::vector<Char> buffer(static_cast<size_t>(length) + 1 + kGuard, static_cast<Char>(0x5A));
    LRESULT got = 0;
    if (!Send(window, textMsg, index, reinterpret_cast<LPARAM>(buffer.data()), wide, got)) return 2;
    if (got < 0 || got > length) return 3;
    for (size_t i = static_cast<size_t>(length) + 1; i < buffer.size(); ++i)
        if (buffer[i] != static_cast<Char>(0x5A)) return 4;
    FILE* out = std::fopen(output, "wb");
    if (!out) return 1;
    std::fwrite(buffer.data(), sizeof(Char), static_cast<size_t>(got), out);
    std::fclose(out);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) return 1;
    // A breakdown ends this process with its own code, and no debugger waits.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter([](EXCEPTION_POINTERS*) -> LONG {
        ExitProcess(5);
        return EXCEPTION_EXECUTE_HANDLER;
    });
    auto* window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::strtoull(argv[1], nullptr, 16)));
    const auto index = static_cast<WPARAM>(std::strtoul(argv[2], nullptr, 10));
    const bool combo = std::strcmp(argv[3], "combo") == 0;
    const bool wide = std::strcmp(argv[4], "wide") == 0;
    return wide ? Read<wchar_t>(window, index, combo, true, argv[5]) : Read<char>(window, index, combo, false, argv[5]);
}
