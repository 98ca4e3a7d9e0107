// Failures at the dispatch points reach the standard error box (a system
// message box owned by the application window); the silent cancellation shows
// nothing; the mouse capture is cancelled first; a failing creation handler
// still leaves a window; what escapes everything ends in the last resort.
#include "app/frame/Application.h"
#include "app/frame/ComCtrls.h"
#include "app/frame/Failure.h"
#include "app/frame/FormDefinition.h"
#include "app/frame/Menus.h"
#include "tests/support/Gui.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace moke::test {
namespace {

constexpr const char* kSystemBox = "#32770";
// How long to wait for a box that must not come.
constexpr std::chrono::milliseconds kNoBoxWait{400};

// A window with a menu and a tool bar whose handlers do what the test says.
class ErrorReportTest : public testing::Test {
  protected:
    void SetUp() override {
        Application().SetTitle("報告テスト - もけらメモ帳");
        form = std::make_unique<TForm>(&Application(), "TErrorTestForm");
        form->SetPosition(TPosition::Designed);
        form->SetBounds(50, 50, 400, 200);
        auto& menu = form->Make<TMainMenu>();
        auto& top = form->Make<TMenuItem>();
        top.SetCaption("操作(&O)");
        menu.Items().Add(top);
        item = &form->Make<TMenuItem>();
        item->SetCaption("失敗(&F)");
        item->OnClick = [this](TObject&) { action(); };
        top.Add(*item);
        good = &form->Make<TMenuItem>();
        good->SetCaption("成功(&S)");
        good->OnClick = [this](TObject&) { ++goodRuns; };
        top.Add(*good);
        form->SetMenu(&menu);

        bar = &form->Make<TToolBar>();
        bar->SetButtonSize(75, 35);
        bar->SetBounds(0, 0, 400, 40);
        bar->SetParent(form.get());
        auto& button = form->Make<TToolButton>();
        button.SetCaption("失敗");
        button.OnClick = [this](TObject&) { action(); };
        bar->AddButton(button);

        form->Show();
        Pump();
    }
    void TearDown() override {
        form.reset();
        Pump();
        Application().SetTitle("もけらメモ帳");
    }

    void Command(UINT id) { PostMessageA(form->Handle(), WM_COMMAND, id, 0); }
    void ClickToolButton() {
        RECT r{};
        SendMessageA(bar->Handle(), TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
        PostClick(bar->Handle(), POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    // Runs the posted work; the expected system box is answered with OK.
    std::vector<ModalAnswerer::Seen> RunAnswering(int boxes,
                                                  std::chrono::milliseconds wait = std::chrono::seconds(3)) {
        ModalAnswerer answerer;
        for (int i = 0; i < boxes; ++i)
            answerer.Expect(kSystemBox, ModalAnswerer::Click("OK"));
        PumpFor(std::chrono::milliseconds(50));
        PumpUntil([&] { return answerer.Done(); }, wait);
        PumpFor(std::chrono::milliseconds(50));
        return answerer.Answered();
    }

    std::unique_ptr<TForm> form;
    TMenuItem* item = nullptr;
    TMenuItem* good = nullptr;
    TToolBar* bar = nullptr;
    std::function<void()> action = [] {};
    int goodRuns = 0;
};

TEST_F(ErrorReportTest, MenuCommandFailureIsShownInTheStandardErrorBox) {
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"ファイルが開けません", "ファイルが開けません."},
        {"閉じ括弧(1)", "閉じ括弧(1)"},
        {"終わり.", "終わり."},
        {"", ""},
        {"ｴﾗｰ", "ｴﾗｰ."},
        {"abc", "abc."},
        {"句点。", "句点。."},
    };
    for (const auto& c : cases) {
        action = [&c] { throw Failure(c.message); };
        Command(item->Command());
        const auto seen = RunAnswering(1);
        ASSERT_EQ(seen.size(), 1u) << Utf8(c.message);
        EXPECT_EQ(seen[0].text, c.shown) << Utf8(c.message);
        EXPECT_EQ(seen[0].caption, "報告テスト - もけらメモ帳");
        EXPECT_EQ(seen[0].owner, Application().Handle());
        EXPECT_EQ(seen[0].buttons, (std::vector<std::string>{"OK"}));
    }
    // The window is usable again: enabled, and its commands run.
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    Command(good->Command());
    Pump();
    EXPECT_EQ(goodRuns, 1);
}

TEST_F(ErrorReportTest, TheRestOfTheHandlerDoesNotRunAndOtherWindowsAreDisabledMeanwhile) {
    bool after = false, enabledMeanwhile = true;
    action = [&] {
        throw Failure("途中で失敗");
        after = true;
    };
    ModalAnswerer answerer;
    HICON shownIcon = nullptr;
    answerer.Expect(kSystemBox, [&](HWND box) {
        enabledMeanwhile = IsWindowEnabled(form->Handle());
        // The system box shows its icon in the static control stc1.
        shownIcon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, 0x0440, STM_GETICON, 0, 0));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    SetActiveWindow(form->Handle());
    Command(item->Command());
    PumpUntil([&] { return answerer.Done(); }, std::chrono::seconds(3));
    PumpFor(std::chrono::milliseconds(50));
    ASSERT_TRUE(answerer.Done());
    EXPECT_FALSE(after);
    EXPECT_FALSE(enabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    // The style is MB_OK | MB_ICONHAND: one OK button and the stop icon.
    EXPECT_EQ(answerer.Answered()[0].buttons, (std::vector<std::string>{"OK"}));
    EXPECT_EQ(shownIcon, LoadIconA(nullptr, IDI_HAND));
    EXPECT_NE(shownIcon, LoadIconA(nullptr, IDI_EXCLAMATION));
}

TEST_F(ErrorReportTest, ToolButtonFailureIsShownInTheStandardErrorBox) {
    action = [] { throw Failure("ボタンで失敗しません"); };
    ClickToolButton();
    const auto seen = RunAnswering(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "ボタンで失敗しません.");
    EXPECT_EQ(seen[0].owner, Application().Handle());
    EXPECT_EQ(seen[0].caption, Application().Title());
    // And again: the tool bar still works.
    ClickToolButton();
    EXPECT_EQ(RunAnswering(1).size(), 1u);
}

TEST_F(ErrorReportTest, OtherExceptionsAreShownToo) {
    action = [] { throw std::runtime_error("runtime"); };
    Command(item->Command());
    auto seen = RunAnswering(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "runtime.");
    action = [] { throw MakeFailure(FailureKind::Write); };
    Command(item->Command());
    seen = RunAnswering(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "ｽﾄﾘｰﾑへの書き込みｴﾗｰ.");
}

TEST_F(ErrorReportTest, SilentCancellationShowsNothing) {
    bool after = false;
    action = [&] {
        Abort();
        after = true;
    };
    Command(item->Command());
    EXPECT_TRUE(RunAnswering(1, kNoBoxWait).empty());
    EXPECT_FALSE(after);
    ClickToolButton();
    EXPECT_TRUE(RunAnswering(1, kNoBoxWait).empty());
    action = [] { throw MakeFailure(FailureKind::Abort); };
    Command(item->Command());
    EXPECT_TRUE(RunAnswering(1, kNoBoxWait).empty());
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}

// A plain child window that holds the mouse capture and notes WM_CANCELMODE
// (a child, so that disabling the top-level windows does not send it one).
struct CaptureProbe {
    static inline int cancelModes = 0;
    static inline bool boxWasUp = false;
    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_CANCELMODE) {
            ++cancelModes;
            boxWasUp = boxWasUp || !ThreadWindows(kSystemBox).empty();
        }
        return DefWindowProcA(window, msg, wParam, lParam);
    }
    explicit CaptureProbe(HWND parent) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TCaptureProbe";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, "TCaptureProbe", "", WS_CHILD | WS_VISIBLE, 0, 100, 10, 10, parent,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        cancelModes = 0;
        boxWasUp = false;
    }
    ~CaptureProbe() { DestroyWindow(window); }
    HWND window;
};

TEST_F(ErrorReportTest, MouseCaptureIsCancelledBeforeTheBox) {
    CaptureProbe probe(form->Handle());
    int cancelsWhenShown = -1;
    action = [] { throw Failure("捕捉中の失敗"); };
    SetCapture(probe.window);
    ASSERT_EQ(GetCapture(), probe.window);
    ModalAnswerer answerer;
    answerer.Expect(kSystemBox, [&](HWND box) {
        cancelsWhenShown = CaptureProbe::cancelModes;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    Command(item->Command());
    PumpUntil([&] { return answerer.Done(); }, std::chrono::seconds(3));
    Pump();
    EXPECT_EQ(cancelsWhenShown, 1);
    EXPECT_FALSE(CaptureProbe::boxWasUp);
    EXPECT_NE(GetCapture(), probe.window);

    // The silent cancellation cancels the capture as well.
    SetCapture(probe.window);
    action = [] { Abort(); };
    Command(item->Command());
    EXPECT_TRUE(RunAnswering(1, kNoBoxWait).empty());
    EXPECT_EQ(CaptureProbe::cancelModes, 2);
}

// A form whose creation handler fails, built from a definition as the program's forms are.
class FailingCreateForm : public TForm {
  public:
    explicit FailingCreateForm(TComponent* owner) : TForm(owner, "TFailingCreateForm") {
        static const FormDef def{.className = "TFailingCreateForm",
                                 .caption = "作成失敗テスト",
                                 .position = TPosition::Designed,
                                 .width = 240,
                                 .height = 120,
                                 .onCreate = "FormCreate"};
        static const Handler<FailingCreateForm> handlers[] = {{"FormCreate", &FailingCreateForm::FormCreate}};
        BuildForm<FailingCreateForm>(*this, def, {}, handlers);
        DoCreate();
        constructed = true;
    }
    void FormCreate(TObject&) {
        createRan = true;
        throw Failure("作成中に失敗しました");
    }
    bool createRan = false;
    bool constructed = false;
};

TEST(ErrorReport, FailingCreationHandlerIsReportedAndTheFormIsStillMade) {
    ModalAnswerer answerer;
    answerer.Expect(kSystemBox, ModalAnswerer::Click("OK"));
    FailingCreateForm made(&Application());
    EXPECT_TRUE(answerer.Done());
    ASSERT_EQ(answerer.Answered().size(), 1u);
    EXPECT_EQ(answerer.Answered()[0].text, "作成中に失敗しました.");
    EXPECT_EQ(answerer.Answered()[0].owner, Application().Handle());
    EXPECT_TRUE(made.createRan);
    EXPECT_TRUE(made.constructed);
    EXPECT_EQ(WindowText(made.Handle()), "作成失敗テスト");
    made.Show();
    Pump();
    EXPECT_TRUE(IsWindowVisible(made.Handle()));
    EXPECT_TRUE(IsWindowEnabled(made.Handle()));
}

// --- Last resort --------------------------------------------------------------

struct ProcessWindowSearch {
    DWORD process;
    HWND found = nullptr;
};

BOOL CALLBACK MatchProcessBox(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ProcessWindowSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && IsWindowVisible(window) && ClassName(window) == kSystemBox &&
        WindowText(window) == "ｱﾌﾟﾘｹｰｼｮﾝ ｴﾗｰ") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

TEST(ErrorReport, FailureEscapingEveryDispatchPointEndsInTheLastResort) {
    char module[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string command = "\"" + std::string(module) + "\" --last-resort";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &child));
    struct Handles {
        PROCESS_INFORMATION& info;
        ~Handles() {
            if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 99);
            CloseHandle(info.hThread);
            CloseHandle(info.hProcess);
        }
    } handles{child};

    ProcessWindowSearch search{child.dwProcessId};
    PumpUntil(
        [&] {
            EnumWindows(MatchProcessBox, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        std::chrono::seconds(20));
    ASSERT_NE(search.found, nullptr) << "no last-resort box";
    EXPECT_EQ(GetWindow(search.found, GW_OWNER), nullptr);

    const std::string text = WindowText(GetDlgItem(search.found, 0xFFFF));
    const std::string head =
        std::string(FailureKindName(FailureKind::General)) + "がﾓｼﾞｭｰﾙ moke_gui_tests.exe の ";
    const std::string tail = " で発生しました。\nフォーム定義: 処理 FormCreate が見つかりません.";
    EXPECT_EQ(text.substr(0, head.size()), head) << Utf8(text);
    ASSERT_GT(text.size(), head.size() + tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << Utf8(text);
    const std::string address = text.substr(head.size(), text.size() - head.size() - tail.size());
    EXPECT_GE(address.size(), 8u);
    EXPECT_EQ(address.find_first_not_of("0123456789ABCDEF"), std::string::npos) << address;

    HWND ok = FindChild(search.found, "Button", "OK");
    ASSERT_NE(ok, nullptr);
    PostMessageA(ok, BM_CLICK, 0, 0);
    ASSERT_EQ(WaitForSingleObject(child.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(child.hProcess, &code);
    EXPECT_EQ(code, 1u);
}

} // namespace
} // namespace moke::test
