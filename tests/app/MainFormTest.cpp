#include "tests/support/MainFormFixture.h"

namespace moke::test {
namespace {

TEST_F(MainFormTest, StartsUntitledWithTheTitleInTheCaption) {
    EXPECT_EQ(WindowText(Form().Handle()), "無題 - もけらメモ帳");
    EXPECT_EQ(Application().Title(), WindowText(Form().Handle()));
    EXPECT_EQ(Form().CurrentFile(), "無題");
    EXPECT_EQ(Form().Memo1.Text(), "");
    EXPECT_FALSE(Form().Memo1.Modified());
    EXPECT_EQ(Form().StatusBar.Panel(0).text, "");
    EXPECT_EQ(ClassName(Form().Handle()), "TMainForm");
}

TEST_F(MainFormTest, TypingShowsTheModifiedIndicator) {
    HWND edit = Form().Memo1.Handle();
    Form().Memo1.SetFocus();
    PostChar(edit, 'a');
    Pump();
    EXPECT_EQ(Form().Memo1.Text(), "a");
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

} // namespace
} // namespace moke::test
