// Launching through the shell on the real main window: the 起動 tool button
// hands over the selected bytes exactly (double-byte text, line breaks and
// blanks included), the もけらトップ button and menu item hand over the home
// page, the 実行 menu's own item stays greyed, and the real shell call opens
// what it is given.
#include "shell/ShellLaunch.h"

#include "app/frame/CodePage.h"
#include "app/frame/ComCtrls.h"
#include "app/frame/Menus.h"
#include "tests/support/Files.h"
#include "tests/support/ProgramText.h"
#include "tests/support/MainFormFixture.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace moke::test {
namespace {

// Records what each shell call would open, for the life of the test.
class ShellCalls {
  public:
    ShellCalls() {
        SetShellOpenHookForTesting([this](const std::string& target) { opened_.push_back(target); });
    }
    ~ShellCalls() { SetShellOpenHookForTesting({}); }
    const std::vector<std::string>& Opened() const { return opened_; }

  private:
    std::vector<std::string> opened_;
};

// Number of characters (as the edit control counts them) in CP932 bytes.
int Characters(const std::string& ansi) {
    if (ansi.empty()) return 0;
    return MultiByteToWideChar(932, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
}

class ShellLaunchTest : public MainFormTest {
  protected:
    // Puts `before + selected + after` into the editor and selects `selected`
    // through the control itself, with positions counted independently of
    // the program's conversions.
    void SelectInText(const std::string& before, const std::string& selected, const std::string& after) {
        Form().Memo1.SetText(W(before + selected + after));
        Form().Memo1.SetModified(false);
        const bool charactersCounted = CountsCharacters();
        const auto from = charactersCounted ? Characters(before) : static_cast<int>(before.size());
        const auto to = from + (charactersCounted ? Characters(selected) : static_cast<int>(selected.size()));
        SendMessageA(Form().Memo1.Handle(), EM_SETSEL, from, to);
        Pump();
    }

    // Does the edit control report positions in characters (as on NT-based
    // systems and Wine) or in bytes?
    static bool CountsCharacters() {
        HWND probe = CreateWindowExA(0, "EDIT", "", ES_MULTILINE, 0, 0, 10, 10, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        SendMessageA(probe, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("\x95\x5c"));
        SendMessageA(probe, EM_SETSEL, 0, -1);
        DWORD start = 0, end = 0;
        SendMessageA(probe, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        DestroyWindow(probe);
        return end == 1;
    }

    // Clicks a tool button with the pointer's messages, as the user would.
    void ClickToolButton(const char* name) {
        auto* button = dynamic_cast<TToolButton*>(Form().FindComponent(name));
        ASSERT_NE(button, nullptr) << name;
        auto* bar = dynamic_cast<TToolBar*>(button->Parent());
        ASSERT_NE(bar, nullptr) << name;
        RECT r{};
        ASSERT_TRUE(SendMessageA(bar->Handle(), TB_GETRECT, button->Command(), reinterpret_cast<LPARAM>(&r)));
        PostClick(bar->Handle(), POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        Pump();
    }

    ShellCalls shell;
};

// --- The selected text, byte for byte ---------------------------------------

TEST_F(ShellLaunchTest, LaunchButtonHandsOverTheSelectedUrl) {
    SelectInText("see ", "http://www.example.com/a?b=1", " for more");
    ClickToolButton("ToolButton15");
    ASSERT_EQ(shell.Opened().size(), 1u);
    EXPECT_EQ(shell.Opened()[0], "http://www.example.com/a?b=1");
    EXPECT_EQ(Form().Memo1.Text(), W("see http://www.example.com/a?b=1 for more"))
        << "the document is not touched";
    EXPECT_FALSE(Form().Memo1.Modified());
}

TEST_F(ShellLaunchTest, DoubleByteTextBeforeAndInsideTheSelectionGivesTheExactBytes) {
    // 表 and 能 end in 0x5C, ソ in 0x5C too: byte and character positions part early.
    const std::string before = "表示と機能\\ソフト：";
    const std::string selected = "C:\\文書\\表示ソフト\\能力.txt";
    SelectInText(before, selected, "　です");
    ClickToolButton("ToolButton15");
    ASSERT_EQ(shell.Opened().size(), 1u);
    EXPECT_EQ(shell.Opened()[0], selected) << Utf8(shell.Opened()[0]);
}

TEST_F(ShellLaunchTest, SelectionOverTwoLinesKeepsItsLineBreakAndBlanks) {
    SelectInText("一行目\r\n", "  二行目の終わり \r\n三行目の頭\t", "残り");
    ClickToolButton("ToolButton15");
    ASSERT_EQ(shell.Opened().size(), 1u);
    EXPECT_EQ(shell.Opened()[0], "  二行目の終わり \r\n三行目の頭\t") << Utf8(shell.Opened()[0]);
}

TEST_F(ShellLaunchTest, SelectionMadeWithTheKeyboardIsHandedOver) {
    Form().Memo1.SetText(W("先頭の行\r\nmailto:someone@example.com"));
    Form().Memo1.SetFocus();
    HWND edit = Form().Memo1.Handle();
    PostKey(edit, VK_END, false, true);  // Ctrl+End: the end of the text
    PostKey(edit, VK_HOME, true, false); // Shift+Home: back to the start of the last line
    ClickToolButton("ToolButton15");
    ASSERT_EQ(shell.Opened().size(), 1u);
    EXPECT_EQ(shell.Opened()[0], "mailto:someone@example.com");
}

TEST_F(ShellLaunchTest, NothingSelectedHandsOverAnEmptyNameAndShowsNothing) {
    SelectInText("abc", "", "def");
    ClickToolButton("ToolButton15");
    ASSERT_EQ(shell.Opened().size(), 1u);
    EXPECT_EQ(shell.Opened()[0], "");
    EXPECT_TRUE(ThreadWindows("TMessageForm").empty());
    EXPECT_TRUE(ThreadWindows("#32770").empty());
    EXPECT_EQ(Form().Memo1.Text(), W("abcdef"));
}

// --- Menu item and home page --------------------------------------------------

TEST_F(ShellLaunchTest, ExecuteMenuItemStaysGreyedWhileTheLaunchButtonWorks) {
    SelectInText("", "notepad", "");
    TMenuItem& execute = Form().Execute1;
    EXPECT_FALSE(execute.Enabled());
    HMENU bar = GetMenu(Form().Handle());
    ASSERT_NE(bar, nullptr);
    auto* x1 = dynamic_cast<TMenuItem*>(Form().FindComponent("X1"));
    ASSERT_NE(x1, nullptr);
    // Opening the drop-down with text selected does not enable it.
    SendMessageA(Form().Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(x1->Handle()), 3);
    Pump();
    const UINT state = GetMenuState(x1->Handle(), execute.Command(), MF_BYCOMMAND);
    ASSERT_NE(state, static_cast<UINT>(-1));
    EXPECT_TRUE(state & MF_GRAYED);
    // Its command, were it to arrive, runs nothing.
    SendMessageA(Form().Handle(), WM_COMMAND, execute.Command(), 0);
    Pump();
    EXPECT_TRUE(shell.Opened().empty());
    // The tool button bound to the same handler works.
    ClickToolButton("ToolButton15");
    ASSERT_EQ(shell.Opened().size(), 1u);
    EXPECT_EQ(shell.Opened()[0], "notepad");
}

TEST_F(ShellLaunchTest, HomePageFromTheToolButtonAndTheMenuItem) {
    SelectInText("", "selected text is not used", "");
    ClickToolButton("ToolButton13");
    auto* item = dynamic_cast<TMenuItem*>(Form().FindComponent("MokeTop"));
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->Enabled());
    SendMessageA(Form().Handle(), WM_COMMAND, item->Command(), 0);
    Pump();
    ASSERT_EQ(shell.Opened().size(), 2u);
    EXPECT_EQ(shell.Opened()[0], kHomePage);
    EXPECT_EQ(shell.Opened()[1], kHomePage);
    // A neutral example address that opens in a browser.
    const std::string home = kHomePage;
    EXPECT_EQ(home.rfind("http://", 0), 0u) << home;
    EXPECT_NE(home.find(".example."), std::string::npos) << home;
}

// --- The real shell -----------------------------------------------------------

std::string TemporaryFolder() {
    char base[MAX_PATH + 1] = {};
    GetTempPathA(sizeof base, base);
    return base;
}

TEST_F(ShellLaunchTest, TheShellStartsTheSelectedProgramByItsExactName) {
    SetShellOpenHookForTesting({});
    // A folder name with 0x5C trail bytes: a byte lost or split on the way
    // names another file, and nothing runs.
    ScratchFolder scratch(TemporaryFolder());
    const std::string folder = scratch / "moke表示";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << Utf8(folder);
    const std::string script = folder + "\\能力.bat";
    const std::string marker = folder + "\\marker.txt";
    WriteBytes(script, "@echo started> \"%~dp0marker.txt\"\r\n");
    ASSERT_TRUE(Exists(script));
    SelectInText("表示: ", script, "\r\n次の行");
    ClickToolButton("ToolButton15");
    EXPECT_TRUE(PumpUntil([&] { return Exists(marker); }, std::chrono::seconds(30)))
        << "the shell did not run " << Utf8(script);
    // The program itself shows nothing about the launch.
    EXPECT_TRUE(ThreadWindows("TMessageForm").empty());
    // Let the script's interpreter finish with the folder before it goes.
    PumpFor(std::chrono::milliseconds(500));
}

TEST_F(ShellLaunchTest, TextTheShellCannotOpenIsNotReportedByTheProgram) {
    SetShellOpenHookForTesting({});
    // Whatever the shell itself does about it is answered here; the program
    // adds no box of its own.
    ModalAnswerer answerer;
    answerer.Expect("#32770", ModalAnswerer::Key(VK_RETURN));
    SelectInText("", "moke-no-such-program-xyz.exe\r\n次の行", "");
    ClickToolButton("ToolButton15");
    PumpFor(std::chrono::milliseconds(300));
    EXPECT_TRUE(ThreadWindows("TMessageForm").empty());
    for (const auto& seen : answerer.Answered())
        EXPECT_NE(seen.caption, Application().Title()) << "a box of the program's own: " << Utf8(seen.text);
    EXPECT_EQ(Form().Memo1.Text(), W("moke-no-such-program-xyz.exe\r\n次の行"));
}

TEST_F(ShellLaunchTest, LongSelectionIsHandedOverWhole) {
    // A URL as long as Windows takes, double-byte text ending in a character
    // with a 0x5C trail byte: no byte is cut off or split.
    std::string url = "http://www.example.com/search?q=";
    while (url.size() < 2083)
        url += "a";
    std::string text;
    while (text.size() < 4000)
        text += "表";
    for (const std::string& selected : {url, text}) {
        SelectInText("前", selected, "後");
        ClickToolButton("ToolButton15");
    }
    ASSERT_EQ(shell.Opened().size(), 2u);
    EXPECT_EQ(shell.Opened()[0], url);
    EXPECT_EQ(shell.Opened()[1], text);
}

// What the wide entry hands over, seen by either hook.
TEST(WideShellOpen, TextIsHandedOverWhole) {
    // A URL as long as Windows takes, with characters outside the program's
    // code page (an accented Latin letter, a Hangul syllable, an emoji as a
    // surrogate pair); and a text far beyond any name.
    std::wstring url = L"https://example.com/caf\u00e9/\ud55c/\U0001F600?q=\u8868";
    while (url.size() < 2083)
        url += L'x';
    std::wstring absurd;
    while (absurd.size() < 100000)
        absurd += L"\u8868\u793a ";
    for (const std::wstring& target : {url, absurd}) {
        std::vector<std::wstring> wide;
        std::vector<std::string> narrow;
        SetWideShellOpenHookForTesting([&](const std::wstring& seen) { wide.push_back(seen); });
        SetShellOpenHookForTesting([&](const std::string& seen) { narrow.push_back(seen); });
        ShellOpen(std::wstring_view(target));
        // Without the wide hook, the narrow one sees the program's code page.
        SetWideShellOpenHookForTesting({});
        ShellOpen(std::wstring_view(target));
        SetShellOpenHookForTesting({});
        ASSERT_EQ(wide.size(), 1u);
        EXPECT_TRUE(wide[0] == target) << "handed over " << wide[0].size() << " of " << target.size();
        ASSERT_EQ(narrow.size(), 1u);
        EXPECT_EQ(narrow[0], ProgramFromWide(target));
    }
}

TEST_F(ShellLaunchTest, VeryLongTextsDoNotEndTheProgramAndLoseNothing) {
    SetShellOpenHookForTesting({});
    ModalAnswerer answerer; // whatever the shell itself may show
    for (int i = 0; i < 16; ++i)
        answerer.Expect("#32770", ModalAnswerer::Key(VK_RETURN));
    // Lengths about which shells overrun their own buffers, a URL as long as
    // Windows takes, and a text far beyond any name; through the selection
    // (the narrow entry) and the wide entry.
    std::string text;
    for (int i = 0; text.size() < 70000; ++i)
        text += "表示" + std::to_string(i) + " ";
    std::vector<std::string> targets;
    for (size_t length : {900u, 990u, 997u, 999u, 1024u, 2083u})
        targets.push_back("moke-no-such-program-" + std::string(length - 21, 'x'));
    targets.push_back(text);
    for (const std::string& selected : targets) {
        SCOPED_TRACE(selected.size());
        SelectInText("", selected, "\r\n");
        Form().Memo1.SetModified(true);
        ClickToolButton("ToolButton15");
        ShellOpen(std::wstring_view(WideFromProgram(selected)));
        PumpFor(std::chrono::milliseconds(200));
        EXPECT_EQ(Form().Memo1.Text(), W(selected + "\r\n"));
        EXPECT_TRUE(Form().Memo1.Modified());
    }
    EXPECT_TRUE(ThreadWindows("TMessageForm").empty());
    for (const auto& seen : answerer.Answered())
        EXPECT_NE(seen.caption, Application().Title());
}

} // namespace
} // namespace moke::test
