// The word-wrap toggle of the main window beside a plain whole-text set of the
// same text into its editor, measured inside the process (the command has no
// shortcut another process could send).
//   moke_toggle_bench <runs> <file>...
// Prints for each file and run: "<file> <text set ms> <wrap off ms> <wrap on ms>".
#include "app/UMemo.h"
#include "app/frame/Application.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

double MillisecondsOf(const std::function<void()>& action) {
    const auto begin = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
}

void Settle() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

int main(int argc, char** argv) {
    using namespace moke;
    if (argc < 3) {
        std::fprintf(stderr, "usage: moke_toggle_bench <runs> <file>...\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    TApplication& app = Application();
    app.Initialize();
    app.SetTitle(kProgramTitle);
    for (int f = 2; f < argc; ++f) {
        TMainForm form(&app, {"MokeMemo.exe", argv[f]});
        form.Show();
        Settle();
        const std::wstring text = form.Memo1.Text();
        for (int r = 0; r < runs; ++r) {
            HWND editor = form.Memo1.Handle();
            const double set = MillisecondsOf([&] {
                SendMessageW(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
                UpdateWindow(editor);
            });
            double toggled[2] = {};
            for (double& ms : toggled) {
                ms = MillisecondsOf([&] {
                    form.Wrap1Click(form);
                    UpdateWindow(form.Memo1.Handle());
                });
            }
            std::printf("%s %.1f %.1f %.1f\n", argv[f], set, toggled[0], toggled[1]);
            std::fflush(stdout);
        }
        form.Memo1.SetModified(false);
    }
    return 0;
}
