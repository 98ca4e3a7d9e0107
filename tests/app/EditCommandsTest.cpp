// The Edit menu's commands on the real main window: live enabling when the
// menu opens, the commands through the menu and the tool buttons, word wrap
// and the font command.
#include "tests/support/MainFormFixture.h"
#include "tests/support/ProgramText.h"
#include "tests/support/WindowSpy.h"

namespace moke::test {
namespace {

class EditCommands : public MainFormTest {
  protected:
    HMENU EditMenu() { return Item("Edit1").Handle(); }
    // The platform shows the Edit menu: the menu's owner is clicked.
    void OpenEditMenu() {
        SendMessageA(Form().Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(EditMenu()),
                     MAKELPARAM(1, FALSE));
    }
    // A choice in the open Edit menu, as the platform reports it.
    void Choose(TMenuItem& item) {
        OpenEditMenu();
        SendMessageA(Form().Handle(), WM_COMMAND, MAKEWPARAM(item.Command(), 0), 0);
        Pump();
    }
    bool Greyed(TMenuItem& item) {
        const UINT state = GetMenuState(EditMenu(), item.Command(), MF_BYCOMMAND);
        EXPECT_EQ((state & MF_GRAYED) != 0, !item.Enabled()) << "the platform menu shows the item's state";
        return (state & MF_GRAYED) != 0;
    }
    LONG_PTR Style() { return GetWindowLongPtrA(Form().Memo1.Handle(), GWL_STYLE); }
};

TEST_F(EditCommands, OpeningTheMenuGreysItemsBySelectionClipboardAndUndo) {
    TMemo& memo = Form().Memo1;
    memo.SetText(W("abc"));
    memo.SetSelection(0, 0);
    ASSERT_TRUE(EmptyTheClipboard());
    Form().ComboBox1.SetFocus();
    Pump();

    OpenEditMenu();
    EXPECT_TRUE(Greyed(Form().Cut1));
    EXPECT_TRUE(Greyed(Form().Copy1));
    EXPECT_TRUE(Greyed(Form().Delete1));
    EXPECT_TRUE(Greyed(Form().Paste1));
    EXPECT_TRUE(Greyed(Form().Undo1));
    EXPECT_FALSE(Greyed(Item("SelectAll1")));
    EXPECT_FALSE(Greyed(Item("DateTime1")));
    EXPECT_FALSE(Greyed(Item("CBPaste")));
    EXPECT_FALSE(Greyed(Form().Wrap1));
    EXPECT_EQ(GetFocus(), memo.Handle()) << "opening the menu focuses the editor";

    memo.SetSelection(1, 2);
    OpenEditMenu();
    EXPECT_FALSE(Greyed(Form().Cut1));
    EXPECT_FALSE(Greyed(Form().Copy1));
    EXPECT_FALSE(Greyed(Form().Delete1));
    EXPECT_TRUE(Greyed(Form().Paste1));

    ASSERT_TRUE(PutTextOnClipboard("x"));
    OpenEditMenu();
    EXPECT_FALSE(Greyed(Form().Paste1));
    ASSERT_TRUE(PutPictureOnClipboard());
    OpenEditMenu();
    EXPECT_TRUE(Greyed(Form().Paste1)) << "a picture alone is no text";

    PostChar(memo.Handle(), 'z');
    Pump();
    OpenEditMenu();
    EXPECT_FALSE(Greyed(Form().Undo1));
    EXPECT_TRUE(Greyed(Form().Cut1)) << "typing replaced the selection";
}

TEST_F(EditCommands, MenuCommandsActOnTheEditor) {
    TMemo& memo = Form().Memo1;
    memo.SetText(W("abcdef"));
    ASSERT_TRUE(PutTextOnClipboard("old"));

    memo.SetSelection(1, 3);
    Choose(Form().Copy1);
    EXPECT_EQ(ClipboardText(), "bc");
    EXPECT_EQ(memo.Text(), W("abcdef"));

    memo.SetSelection(3, 5);
    Choose(Form().Cut1);
    EXPECT_EQ(ClipboardText(), "de");
    EXPECT_EQ(memo.Text(), W("abcf"));

    memo.SetSelection(0, 1);
    Choose(Form().Paste1);
    EXPECT_EQ(memo.Text(), W("debcf"));

    memo.SetSelection(2, 4);
    Choose(Form().Delete1);
    EXPECT_EQ(memo.Text(), W("def"));
    EXPECT_EQ(ClipboardText(), "de") << "delete leaves the clipboard alone";

    Choose(Form().Undo1);
    EXPECT_EQ(memo.Text(), W("debcf")) << "undo takes back the deletion";

    memo.SetSelection(0, 0);
    Choose(Item("SelectAll1"));
    std::size_t start = 9, end = 9;
    memo.GetSelection(start, end);
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 5u);
    EXPECT_EQ(GetFocus(), memo.Handle());
}

TEST_F(EditCommands, ToolButtonsRunTheHandlersWithoutTheEnablingCheck) {
    TMemo& memo = Form().Memo1;
    memo.SetText(W("abcd"));
    memo.SetSelection(0, 2);
    ASSERT_FALSE(Form().Cut1.Enabled()) << "the items start greyed";
    ASSERT_TRUE(EmptyTheClipboard());

    ClickToolButton("ToolButton5");
    EXPECT_EQ(memo.Text(), W("cd")) << "切り取り cuts although the item is greyed";
    EXPECT_EQ(ClipboardText(), "ab");

    memo.SetSelection(1, 1);
    ClickToolButton("ToolButton6");
    EXPECT_EQ(ClipboardText(), "ab") << "copy with nothing selected does nothing";

    ClickToolButton("ToolButton7");
    EXPECT_EQ(memo.Text(), W("cabd"));

    ASSERT_TRUE(EmptyTheClipboard());
    memo.SetSelection(0, 0);
    ClickToolButton("ToolButton7");
    EXPECT_EQ(memo.Text(), W("cabd")) << "paste with an empty clipboard inserts nothing";
}

TEST_F(EditCommands, WordWrapRecreatesTheEditorOnceKeepingTextAndFlagsButNotTheSelection) {
    TMemo& memo = Form().Memo1;
    const std::string line(400, 'x');
    memo.SetText(W(line + "\r\nzwei"));
    memo.SetModified(true);
    memo.SetReadOnly(true);
    memo.SetSelection(2, 5);
    memo.SetFocus();
    Pump();
    ASSERT_TRUE(Form().Wrap1.Checked());
    ASSERT_TRUE(GetMenuState(EditMenu(), Form().Wrap1.Command(), MF_BYCOMMAND) & MF_CHECKED);
    ASSERT_TRUE(Style() & WS_VSCROLL);
    ASSERT_FALSE(Style() & WS_HSCROLL);
    ASSERT_GT(SendMessageA(memo.Handle(), EM_GETLINECOUNT, 0, 0), 2) << "the long line is wrapped";
    HWND before = memo.Handle();

    int created = 0, destroyed = 0;
    bool firstDestroyedWasTheOld = false;
    {
        SentMessageLog log;
        Choose(Form().Wrap1);
        for (const auto& entry : log.Entries()) {
            if (entry.msg == WM_NCCREATE) ++created;
            if (entry.msg == WM_NCDESTROY) {
                if (destroyed++ == 0) firstDestroyedWasTheOld = entry.window == before;
            }
        }
    }
    EXPECT_EQ(created, 1) << "word wrap and scroll bars change in one re-creation";
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(firstDestroyedWasTheOld);
    EXPECT_FALSE(memo.WordWrap());
    EXPECT_TRUE(Style() & WS_HSCROLL);
    EXPECT_TRUE(Style() & WS_VSCROLL);
    EXPECT_TRUE(Style() & ES_AUTOHSCROLL);
    EXPECT_TRUE(Style() & ES_READONLY) << "the read-only state carries over";
    EXPECT_EQ(SendMessageA(memo.Handle(), EM_GETLINECOUNT, 0, 0), 2) << "long lines run past the right edge";
    EXPECT_FALSE(Form().Wrap1.Checked());
    EXPECT_FALSE(GetMenuState(EditMenu(), Form().Wrap1.Command(), MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(memo.Text(), W(line + "\r\nzwei"));
    EXPECT_TRUE(memo.Modified());
    EXPECT_EQ(memo.SelectionLength(), 0u) << "the selection is lost";
    EXPECT_EQ(GetFocus(), memo.Handle()) << "the focus carries over";
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(memo.Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(std::string(font.lfFaceName), memo.Font().Name()) << "the font carries over";

    Choose(Form().Wrap1);
    EXPECT_TRUE(memo.WordWrap());
    EXPECT_FALSE(Style() & WS_HSCROLL);
    EXPECT_TRUE(Style() & WS_VSCROLL);
    EXPECT_TRUE(Form().Wrap1.Checked());
    EXPECT_GT(SendMessageA(memo.Handle(), EM_GETLINECOUNT, 0, 0), 2);
    EXPECT_EQ(memo.Text(), W(line + "\r\nzwei"));
    EXPECT_TRUE(memo.Modified());
}

TEST_F(EditCommands, CancellingTheFontDialogKeepsTheFontAndTheCaretInTheEditor) {
    TMemo& memo = Form().Memo1;
    const std::string name = memo.Font().Name();
    const int height = memo.Font().Height();
    Form().ComboBox1.SetFocus();
    Pump();
    ModalAnswerer answerer;
    answerer.Expect("#32770", [&](HWND box) { PostMessageA(box, WM_COMMAND, IDCANCEL, 0); });
    SendMessageA(Form().Handle(), WM_COMMAND, MAKEWPARAM(Item("Font1").Command(), 0), 0);
    ASSERT_TRUE(answerer.Done());
    EXPECT_EQ(memo.Font().Name(), name);
    EXPECT_EQ(memo.Font().Height(), height);
    Pump();
    EXPECT_EQ(GetFocus(), memo.Handle());
}

TEST_F(EditCommands, ConfirmingTheFontDialogGivesTheEditorTheChosenFont) {
    TMemo& memo = Form().Memo1;
    const std::string before = memo.Font().Name();
    std::string chosen;
    ModalAnswerer answerer;
    answerer.Expect("#32770", [&](HWND box) {
        // The first face in the list that is not the editor's now.
        HWND faces = GetDlgItem(box, 0x470);
        const int rows = static_cast<int>(SendMessageA(faces, CB_GETCOUNT, 0, 0));
        for (int row = 0; row < rows && chosen.empty(); ++row) {
            char face[LF_FACESIZE + 1] = {};
            if (SendMessageA(faces, CB_GETLBTEXTLEN, row, 0) > LF_FACESIZE) continue;
            SendMessageA(faces, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(face));
            if (face[0] != '@' && lstrcmpiA(face, before.c_str()) != 0) {
                chosen = face;
                SendMessageA(faces, CB_SETCURSEL, row, 0);
            }
        }
        SendMessageA(box, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELCHANGE), reinterpret_cast<LPARAM>(faces));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    SendMessageA(Form().Handle(), WM_COMMAND, MAKEWPARAM(Item("Font1").Command(), 0), 0);
    ASSERT_TRUE(answerer.Done());
    ASSERT_FALSE(chosen.empty()) << "the font dialog offered no other face";
    EXPECT_EQ(memo.Font().Name(), chosen);
    EXPECT_EQ(memo.Font().Name(), Form().FontDialog.Font().Name());
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(memo.Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(std::string(font.lfFaceName), memo.Font().Name()) << "the editor shows the new font at once";
    Pump();
    EXPECT_EQ(GetFocus(), memo.Handle());
}

} // namespace
} // namespace moke::test
