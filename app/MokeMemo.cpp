// Program entry: the application object, the main window, the hidden About
// box, then the message loop until the main window closes.
#include "about/About.h"
#include "app/UMemo.h"
#include "app/frame/Application.h"
#include "app/frame/CommandLine.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    using namespace moke;
    try {
        TApplication& app = Application();
        app.Initialize();
        app.SetTitle(kProgramTitle);
        app.CreateForm<TMainForm>(SplitCommandLine(GetCommandLineA()));
        app.CreateForm<TAboutDlg>();
        app.Run(showCommand);
        app.DestroyComponents();
    } catch (...) {
        ShowLastResortAndExit();
    }
    return 0;
}
