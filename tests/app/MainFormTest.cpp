#include "tests/support/MainFormFixture.h"
#include "tests/support/ProgramText.h"

namespace moke::test {
namespace {

TEST_F(MainFormTest, StartsUntitledWithTheTitleInTheCaption) {
    EXPECT_EQ(WindowText(Form().Handle()), "無題 - もけらメモ帳");
    EXPECT_EQ(Application().Title(), WindowText(Form().Handle()));
    EXPECT_EQ(Form().CurrentFile(), "無題");
    EXPECT_EQ(Form().Memo1.Text(), W(""));
    EXPECT_FALSE(Form().Memo1.Modified());
    EXPECT_EQ(Form().StatusBar.Panel(0).text, "");
    EXPECT_EQ(ClassName(Form().Handle()), "TMainForm");
}

TEST_F(MainFormTest, TypingShowsTheModifiedIndicator) {
    HWND edit = Form().Memo1.Handle();
    Form().Memo1.SetFocus();
    PostChar(edit, 'a');
    Pump();
    EXPECT_EQ(Form().Memo1.Text(), W("a"));
    EXPECT_TRUE(Form().Memo1.Modified());
    EXPECT_EQ(Form().StatusBar.Panel(0).text, "変更あり");
    char shown[64] = {};
    SendMessageA(Form().StatusBar.Handle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(shown));
    EXPECT_STREQ(shown, "変更あり");
}

TEST_F(MainFormTest, FirstToolBarIsOneRowOfSixButtons) {
    const SIZE ideal = Form().ToolBar1.IdealSize();
    EXPECT_EQ(ideal.cx, 458);
    EXPECT_EQ(ideal.cy, 35);
    EXPECT_EQ(SendMessageA(Form().ToolBar1.Handle(), TB_GETROWS, 0, 0), 1);
}

TEST_F(MainFormTest, ResizingRepaintsBothToolBarsAndKeepsBothBands) {
    HWND window = Form().Handle();
    SetWindowPos(window, nullptr, 0, 0, 700, 400, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    UpdateWindow(window);
    HWND bars[] = {Form().ToolBar1.Handle(), Form().ToolBar2.Handle()};
    for (HWND bar : bars) ValidateRect(bar, nullptr);
    // Narrower than either tool bar.
    SetWindowPos(window, nullptr, 0, 0, 240, 400, SWP_NOMOVE | SWP_NOZORDER);
    for (HWND bar : bars) {
        RECT update{};
        EXPECT_TRUE(GetUpdateRect(bar, &update, FALSE)) << "a tool bar was not repainted";
    }
    Pump();
    HWND cool = Form().CoolBar1.Handle();
    ASSERT_EQ(SendMessageA(cool, RB_GETBANDCOUNT, 0, 0), 2);
    for (int band = 0; band < 2; ++band) {
        RECT r{};
        SendMessageA(cool, RB_GETRECT, band, reinterpret_cast<LPARAM>(&r));
        EXPECT_GT(r.right - r.left, 0) << band;
        EXPECT_GE(r.bottom - r.top, 35) << band;
    }
    for (HWND bar : bars) EXPECT_TRUE(IsWindowVisible(bar));
}

// The launching program's show request: maximised, minimised without
// activation (the window comes, in the normal state, when restored), and
// any other request in the normal state.
TEST(MainWindowShowState, NormalUnlessMaximisedOrMinimisedWithoutActivation) {
    const int requests[] = {SW_SHOWNORMAL, SW_SHOWDEFAULT, SW_SHOWMINIMIZED, SW_MINIMIZE, SW_SHOWMAXIMIZED,
                            SW_SHOWMINNOACTIVE};
    for (int request : requests) {
        SCOPED_TRACE(request);
        Application().ClearTerminated();
        auto form = std::make_unique<TMainForm>(&Application(), std::vector<std::string>{"MokeMemo.exe"});
        Application().SetMainForm(form.get());
        Application().ShowMainForm(request);
        Pump();
        HWND window = form->Handle();
        if (request == SW_SHOWMINNOACTIVE) {
            EXPECT_FALSE(IsWindowVisible(window));
            EXPECT_TRUE(IsIconic(Application().Handle()));
            Application().Restore();
            Pump();
            EXPECT_FALSE(IsIconic(Application().Handle()));
        }
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_FALSE(IsIconic(window));
        EXPECT_EQ(IsZoomed(window) != FALSE, request == SW_SHOWMAXIMIZED);
        EndMainForm(form);
    }
}

} // namespace
} // namespace moke::test
