// The GUI tests run in one process with the program's application object,
// as the program itself would.
//
// Started with "--last-resort", the executable plays a program whose start-up
// fails outside every dispatch point (a form definition that names a handler
// the form does not have): the failure reaches the last resort.
//
// Started as `moke_gui_tests --moke-hold-file READY RELEASE SHARE PATH ...`,
// it plays another program that holds a file open: it opens PATH for reading
// and writing with the share mode SHARE, signals the event READY, and keeps
// the file open until the event RELEASE is signalled (or a minute has
// passed). When it cannot open the file it signals nothing and ends with exit
// code 2.
#include "app/frame/Application.h"
#include "app/frame/FormDefinition.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

[[noreturn]] void RunFailingStartUp() {
    using namespace moke;
    try {
        TApplication& app = Application();
        app.Initialize();
        app.SetTitle("もけらメモ帳");
        static const FormDef broken{.className = "TBrokenForm", .caption = "", .onCreate = "FormCreate"};
        auto& form = app.CreateForm<TForm>(std::string("TBrokenForm"));
        BuildForm<TForm>(form, broken, {}, std::span<const Handler<TForm>>{});
        app.Run();
    } catch (...) {
        ShowLastResortAndExit();
    }
    ExitProcess(0);
}

int HoldFile(const char* ready, const char* release, const char* share, const char* path) {
    HANDLE readyEvent = OpenEventA(EVENT_MODIFY_STATE, FALSE, ready);
    HANDLE releaseEvent = OpenEventA(SYNCHRONIZE, FALSE, release);
    const DWORD shareMode = static_cast<DWORD>(std::strtoul(share, nullptr, 10));
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, shareMode, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    const int code = file == INVALID_HANDLE_VALUE ? 2 : 0;
    if (code == 0) {
        if (readyEvent) SetEvent(readyEvent);
        if (releaseEvent) WaitForSingleObject(releaseEvent, 60000);
    }
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (readyEvent) CloseHandle(readyEvent);
    if (releaseEvent) CloseHandle(releaseEvent);
    return code;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--last-resort") == 0) RunFailingStartUp();
    if (argc >= 6 && std::strcmp(argv[1], "--moke-hold-file") == 0)
        return HoldFile(argv[2], argv[3], argv[4], argv[5]);
    testing::InitGoogleTest(&argc, argv);
    moke::TApplication& app = moke::Application();
    app.Initialize();
    app.SetTitle("もけらメモ帳");
    return RUN_ALL_TESTS();
}
