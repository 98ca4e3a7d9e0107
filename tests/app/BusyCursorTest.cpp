// Long work shows itself: the hourglass while a file is read into the editor
// or written, the pointer it replaced afterwards.
#include "document/editor/EditorWindow.h"
#include "tests/support/Files.h"
#include "tests/support/MainFormFixture.h"

namespace moke::test {
namespace {

HCURSOR cursorWhileTextArrives = nullptr;
HWND watchedEditor = nullptr;

LRESULT CALLBACK WatchText(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->hwnd == watchedEditor && sent->message == editor::EM_TAKETEXT)
        cursorWhileTextArrives = GetCursor();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MainFormTest, TheHourglassShowsWhileAFileIsReadAndWritten) {
    ScratchFolder folder;
    const std::string path = folder / "busy.txt";
    std::string text;
    for (int line = 0; line < 2000; ++line) text += std::string(100, 'a') + "\r\n";
    WriteBytes(path, text);
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    const HCURSOR hourglass = LoadCursorA(nullptr, IDC_WAIT);
    SetCursor(arrow);

    watchedEditor = Form().Memo1.Handle();
    cursorWhileTextArrives = nullptr;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchText, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    Form().OpenFile(path);
    UnhookWindowsHookEx(hook);

    EXPECT_EQ(cursorWhileTextArrives, hourglass) << "the text reached the editor without the hourglass";
    EXPECT_EQ(GetCursor(), arrow) << "the pointer did not come back after reading";
    EXPECT_EQ(Form().CurrentFile(), path);

    Form().Memo1.SetModified(true);
    TObject& sender = Form();
    Form().Save1Click(sender);
    EXPECT_EQ(GetCursor(), arrow) << "the pointer did not come back after writing";
    EXPECT_EQ(ReadBytes(path), text);
}

} // namespace
} // namespace moke::test
