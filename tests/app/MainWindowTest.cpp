// The main window as built from its definition, read back from the real
// windows: menus, tool bars, bands, the editor's font, the status bar, the
// caption; and which handler each menu item and tool button runs.
#include "about/About.h"
#include "app/frame/MessageBox.h"
#include "resources/MainForm.def.h"
#include "tests/support/MainFormFixture.h"
#include "tests/support/ProgramText.h"

#include <array>
#include <span>
#include <utility>

namespace moke::test {
namespace {

// --- Menus ---------------------------------------------------------------------

struct MenuRow {
    const char* text; // as handed to the platform; null for a separator
    bool grayed = false;
    bool checked = false;
};

std::string MenuText(HMENU menu, int position) {
    char text[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

void CheckMenu(HMENU menu, const std::vector<MenuRow>& rows) {
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const MenuRow& row = rows[static_cast<size_t>(i)];
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        if (!row.text) {
            EXPECT_TRUE(state & MF_SEPARATOR) << "position " << i;
            continue;
        }
        EXPECT_FALSE(state & MF_SEPARATOR) << row.text;
        EXPECT_EQ(MenuText(menu, i), row.text);
        EXPECT_EQ((state & MF_GRAYED) != 0, row.grayed) << Utf8(row.text);
        EXPECT_EQ((state & MF_CHECKED) != 0, row.checked) << Utf8(row.text);
    }
}

TEST_F(MainFormTest, MenuBarCaptionsSeparatorsAndInitialStates) {
    HMENU bar = GetMenu(Form().Handle());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 5);
    const char* const titles[] = {"ファイル(&F)", "編集(&E)", "表示(&D)", "実行(&X)", "ヘルプ(&H)"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(MenuText(bar, i), titles[i]);
        EXPECT_TRUE(GetMenuState(bar, static_cast<UINT>(i), MF_BYPOSITION) & MF_POPUP);
        EXPECT_FALSE(GetMenuState(bar, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED);
    }
    CheckMenu(GetSubMenu(bar, 0), {{"新規作成(&N)"},
                                   {"開く(&O)..."},
                                   {"上書き保存(&S)"},
                                   {"名前を付けて保存(&A)..."},
                                   {nullptr},
                                   {"終了(&X)"}});
    CheckMenu(GetSubMenu(bar, 1), {{"元に戻す(&U)\tCtrl+Z"},
                                   {nullptr},
                                   {"切り取り(&T)\tCtrl+X", true},
                                   {"コピー(&C)\tCtrl+C", true},
                                   {"貼り付け(&P)\tCtrl+V", true},
                                   {"削除(&L)", true},
                                   {nullptr},
                                   {"すべて選択(&A)\tCtrl+A"},
                                   {"日付と時刻(&D)"},
                                   {nullptr},
                                   {"コンボボックスの内容を貼り付け(&B)"},
                                   {nullptr},
                                   {"右端で折り返す(&W)", false, true}});
    CheckMenu(GetSubMenu(bar, 2), {{"フォント(&F)..."}});
    CheckMenu(GetSubMenu(bar, 3), {{"選択文字列で起動(&E)", true}, {nullptr}, {"もけらトップ(&M)"}});
    CheckMenu(GetSubMenu(bar, 4), {{"バージョン情報(&A)..."}});
}

TEST_F(MainFormTest, MenuHintsAndShortcutValues) {
    const struct {
        const char* item;
        ShortCut shortcut;
        const char* hint;
    } rows[] = {
        {"New1", 0, "新しい文書を作成します。"},
        {"Open1", 0, "既存の文書を開きます。"},
        {"Save1", 0, "現在の文書を保存します。"},
        {"SaveAs1", 0, "現在の文書を新しい名前で保存します。"},
        {"Exit1", 0, "文書の保存を確認し、アプリケーションを終了します。"},
        {"Undo1", 16474, "直前に行った操作を取り消します。"},
        {"Cut1", 16472, "選択範囲を切り取ってクリップボードに移動します。"},
        {"Copy1", 16451, "選択範囲をクリップボードにコピーします。"},
        {"Paste1", 16470, "クリップボードの内容を挿入します。"},
        {"Delete1", 0, "選択範囲を削除します。"},
        {"SelectAll1", 16449, "文書全体を選択します。"},
        {"DateTime1", 0, "今日の日付と現在の時刻を挿入します。"},
        {"CBPaste", 0, "コンボボックスの内容を挿入します。"},
        {"Wrap1", 0, "文書を右端で折り返して表示します。"},
        {"Font1", 0, "フォントを変更します。"},
        {"Execute1", 0, "現在選択されている文字列で関連アプリケーションを起動します。"},
        {"MokeTop", 0, "ブラウザを起動して、ほろぴトップページを開きます。"},
        {"About1", 0, "プログラム情報、バージョン、著作権を表示します。"},
    };
    for (const auto& row : rows) {
        auto* item = dynamic_cast<TMenuItem*>(Form().FindComponent(row.item));
        ASSERT_NE(item, nullptr) << row.item;
        EXPECT_EQ(item->Shortcut(), row.shortcut) << row.item;
        EXPECT_EQ(item->Hint(), row.hint) << row.item;
    }
}

// --- Tool bars, bands, editor, status bar ----------------------------------------

struct ToolRow {
    const char* name; // component name
    bool separator;
    int image; // image index, or the separator's width
    const char* caption;
    const char* hint;
};

void CheckToolBar(TMainForm& form, TToolBar& bar, const std::vector<ToolRow>& rows) {
    HWND window = bar.Handle();
    ASSERT_EQ(SendMessageA(window, TB_BUTTONCOUNT, 0, 0), static_cast<LRESULT>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        const ToolRow& row = rows[i];
        SCOPED_TRACE(row.name);
        TBBUTTON button{};
        ASSERT_TRUE(SendMessageA(window, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
        EXPECT_EQ((button.fsStyle & BTNS_SEP) != 0, row.separator);
        EXPECT_EQ(button.iBitmap, row.image);
        EXPECT_TRUE(button.fsState & TBSTATE_ENABLED);
        if (row.separator) continue;
        char text[128] = {};
        SendMessageA(window, TB_GETBUTTONTEXTA, static_cast<WPARAM>(button.idCommand),
                     reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, row.caption);
        auto* component = dynamic_cast<TToolButton*>(form.FindComponent(row.name));
        ASSERT_NE(component, nullptr);
        EXPECT_EQ(component->Caption(), row.caption);
        EXPECT_EQ(component->Hint(), row.hint);
        EXPECT_EQ(component->ImageIndex(), row.image);
        RECT r{};
        SendMessageA(window, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        EXPECT_EQ(r.right - r.left, 75);
        EXPECT_EQ(r.bottom - r.top, 35);
    }
}

TEST_F(MainFormTest, FirstToolBarButtonsInOrder) {
    CheckToolBar(Form(), Form().ToolBar1,
                 {{"ToolButton1", false, 0, "新規作成", "新規作成"},
                  {"ToolButton2", false, 1, "開く", "開く"},
                  {"ToolButton3", false, 2, "保存", "保存"},
                  {"ToolButton4", true, 8, "", ""},
                  {"ToolButton5", false, 3, "切り取り", "切り取り"},
                  {"ToolButton6", false, 4, "コピー", "コピー"},
                  {"ToolButton7", false, 5, "貼り付け", "貼り付け"},
                  {"ToolButton23", true, 8, "", ""}});
    EXPECT_EQ(SendMessageA(Form().ToolBar1.Handle(), TB_GETIMAGELIST, 0, 0),
              reinterpret_cast<LRESULT>(Form().ImageList1.Handle()));
    EXPECT_EQ(Form().ImageList1.Count(), 10);
    auto* last = dynamic_cast<TToolButton*>(Form().FindComponent("ToolButton23"));
    ASSERT_NE(last, nullptr);
    EXPECT_TRUE(last->Wrap());
    EXPECT_EQ(SendMessageA(Form().ToolBar1.Handle(), TB_GETROWS, 0, 0), 1);
}

TEST_F(MainFormTest, SecondToolBarHoldsThePhraseListAndItsButtons) {
    CheckToolBar(Form(), Form().ToolBar2,
                 {{"ComboBox1", true, 217, "", ""},
                  {"ToolButton11", true, 8, "", ""},
                  {"ToolButton10", false, 9, "貼り付け", "コンボボックスの文字列を貼り付け"},
                  {"ToolButton12", true, 8, "", ""},
                  {"ToolButton13", false, 6, "もけらトップ", "もけらトップ"},
                  {"ToolButton14", true, 8, "", ""},
                  {"ToolButton15", false, 7, "起動", "選択文字列で起動"}});
    HWND combo = Form().ComboBox1.Handle();
    EXPECT_EQ(GetParent(combo), Form().ToolBar2.Handle());
    EXPECT_EQ(ClassName(combo), "ComboBox");
    RECT bounds;
    GetWindowRect(combo, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 217);
    // The list sits in the first slot of the bar.
    RECT slot{};
    SendMessageA(Form().ToolBar2.Handle(), TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&slot));
    MapWindowPoints(nullptr, Form().ToolBar2.Handle(), reinterpret_cast<POINT*>(&bounds), 2);
    EXPECT_EQ(bounds.left, slot.left);
    EXPECT_GE(bounds.top, slot.top);
    EXPECT_EQ(GetWindowLongPtrA(combo, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(Form().ComboBox1.ItemHeight(), 12);
}

TEST_F(MainFormTest, TwoBandsEachOnItsOwnRowAndAtLeast35High) {
    HWND coolBar = Form().CoolBar1.Handle();
    EXPECT_EQ(ClassName(coolBar), "ReBarWindow32");
    ASSERT_EQ(SendMessageA(coolBar, RB_GETBANDCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(coolBar, RB_GETROWCOUNT, 0, 0), 2);
    const HWND children[] = {Form().ToolBar1.Handle(), Form().ToolBar2.Handle()};
    for (int band = 0; band < 2; ++band) {
        REBARBANDINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE;
        ASSERT_TRUE(SendMessageA(coolBar, RB_GETBANDINFOA, static_cast<WPARAM>(band),
                                 reinterpret_cast<LPARAM>(&info)));
        EXPECT_EQ(info.hwndChild, children[band]);
        EXPECT_GE(info.cyMinChild, 35u);
        EXPECT_TRUE(info.fStyle & RBBS_BREAK);
        RECT r{};
        SendMessageA(coolBar, RB_GETRECT, static_cast<WPARAM>(band), reinterpret_cast<LPARAM>(&r));
        EXPECT_GE(r.bottom - r.top, 35) << band;
    }
    // The band container sits at the top and is as high as its bands.
    RECT bar;
    GetWindowRect(coolBar, &bar);
    MapWindowPoints(nullptr, Form().Handle(), reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.bottom - bar.top, SendMessageA(coolBar, RB_GETBARHEIGHT, 0, 0));
    EXPECT_GE(bar.bottom - bar.top, 70);
}

TEST_F(MainFormTest, EditorFillsTheMiddleWithItsFont) {
    HWND edit = Form().Memo1.Handle();
    LOGFONTA font{};
    ASSERT_TRUE(
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)), sizeof font, &font));
    EXPECT_STREQ(font.lfFaceName, "zoz");
    EXPECT_EQ(font.lfHeight, -16);
    EXPECT_EQ(font.lfCharSet, 128);
    const LONG_PTR style = GetWindowLongPtrA(edit, GWL_STYLE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & WS_HSCROLL);
    EXPECT_FALSE(style & ES_AUTOHSCROLL);
    EXPECT_FALSE(style & ES_READONLY);
    EXPECT_TRUE(SendMessageA(edit, WM_GETDLGCODE, VK_TAB, 0) & DLGC_WANTTAB);

    RECT client, bands, editor, status;
    GetClientRect(Form().Handle(), &client);
    GetWindowRect(Form().CoolBar1.Handle(), &bands);
    GetWindowRect(edit, &editor);
    GetWindowRect(Form().StatusBar.Handle(), &status);
    EXPECT_EQ(editor.top, bands.bottom);
    EXPECT_EQ(editor.bottom, status.top);
    EXPECT_EQ(editor.right - editor.left, client.right);
}

TEST_F(MainFormTest, StatusBarHoldsTheIndicatorAndTheEncodingAtTheRight) {
    HWND status = Form().StatusBar.Handle();
    EXPECT_EQ(ClassName(status), "msctls_statusbar32");
    RECT r, client;
    GetWindowRect(status, &r);
    EXPECT_EQ(r.bottom - r.top, 19);
    MapWindowPoints(nullptr, Form().Handle(), reinterpret_cast<POINT*>(&r), 2);
    GetClientRect(Form().Handle(), &client);
    EXPECT_EQ(r.bottom, client.bottom);
    int edges[4] = {7, 7, 7, 7};
    EXPECT_EQ(SendMessageA(status, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 2);
    EXPECT_EQ(edges[0], 50) << "the indicator's panel";
    EXPECT_EQ(edges[1], -1) << "the encoding's panel, to the right edge";
    EXPECT_FALSE(SendMessageA(status, SB_ISSIMPLE, 0, 0));
    char shown[64] = {};
    SendMessageA(status, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(shown));
    EXPECT_STREQ(shown, "\t\tShift_JIS") << "right-aligned";
}

// --- Caption and document state ----------------------------------------------------

TEST_F(MainFormTest, FileNamePartShownInCaptionAndTitle) {
    const struct {
        const char* path;
        const char* caption;
    } cases[] = {
        {"C:\\文書\\メモ.txt", "メモ.txt - もけらメモ帳"},
        {"C:name.txt", "name.txt - もけらメモ帳"},
        {"C:\\表\\a.txt", "a.txt - もけらメモ帳"},
        {"C:\\data\\表", "表 - もけらメモ帳"},
        {"\\\\server\\share\\予定表.txt", "予定表.txt - もけらメモ帳"},
        {"plain.txt", "plain.txt - もけらメモ帳"},
        {"無題", "無題 - もけらメモ帳"},
    };
    for (const auto& c : cases) {
        Form().SetFileName(c.path);
        EXPECT_EQ(Form().CurrentFile(), c.path);
        EXPECT_EQ(WindowText(Form().Handle()), c.caption) << Utf8(c.path);
        EXPECT_EQ(Application().Title(), c.caption) << Utf8(c.path);
    }
}

TEST_F(MainFormTest, ModifiedIndicatorFollowsTypingAndIsCleared) {
    HWND status = Form().StatusBar.Handle();
    auto shown = [status] {
        char text[64] = {};
        SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
        return std::string(text);
    };
    EXPECT_EQ(shown(), "");
    Form().Memo1.SetFocus();
    PostChar(Form().Memo1.Handle(), 'z');
    Pump();
    EXPECT_EQ(shown(), "変更あり");
    Form().ShowModified(false);
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(Form().StatusBar.Panel(0).text, "");
    Form().ShowModified(true);
    EXPECT_EQ(shown(), "変更あり");
    // A change that leaves the flag clear clears the indicator.
    Form().Memo1.SetModified(false);
    Form().Memo1.SetText(W("loaded"));
    EXPECT_EQ(shown(), "");
}

TEST_F(MainFormTest, TabKeyTypesATabIntoTheEditor) {
    Form().Memo1.SetFocus();
    PostKey(Form().Memo1.Handle(), VK_TAB);
    Pump();
    EXPECT_EQ(Form().Memo1.Text(), W("\t"));
    EXPECT_EQ(GetFocus(), Form().Memo1.Handle());
}

TEST_F(MainFormTest, WindowClassNames) {
    EXPECT_EQ(ClassName(Form().Handle()), "TMainForm");
    TAboutDlg about(&Application());
    EXPECT_EQ(ClassName(about.Handle()), "TAboutDlg");
    TMessageForm box(&Application(), "x", mtInformation, mbOK, 0);
    EXPECT_EQ(ClassName(box.Handle()), "TMessageForm");
    EXPECT_EQ(GetWindow(box.Handle(), GW_OWNER), Application().Handle());
    EXPECT_EQ(GetWindow(Form().Handle(), GW_OWNER), Application().Handle());
}

TEST_F(MainFormTest, ExitCommandEndsTheApplication) {
    auto* exit = dynamic_cast<TMenuItem*>(Form().FindComponent("Exit1"));
    ASSERT_NE(exit, nullptr);
    PostMessageA(Form().Handle(), WM_COMMAND, exit->Command(), 0);
    Pump();
    EXPECT_TRUE(Application().Terminated());
}

// --- Which handler runs ----------------------------------------------------------

// The main window's definition bound to handlers that only note their name.
constexpr const char* kHandlerNames[] = {
    "FormCreate",   "FormResize",    "Memo1Change",     "New1Click",      "Open1Click",   "Save1Click",
    "SaveAs1Click", "Exit1Click",    "Edit1Click",      "Undo1Click",     "Cut1Click",    "Copy1Click",
    "Paste1Click",  "Delete1Click",  "SelectAll1Click", "DateTime1Click", "CBPasteClick", "Wrap1Click",
    "Font1Click",   "Execute1Click", "MokeTopClick",    "About1Click",    "Timer1Timer",
};

class RecordingMainForm : public TForm {
  public:
    explicit RecordingMainForm(TComponent* owner);

    template <size_t I> void Record(TObject&) {
        const std::string name = kHandlerNames[I];
        if (name == "Timer1Timer")
            ++ticks;
        else if (name != "FormResize")
            calls.push_back(name);
    }
    void FormCloseQuery(TObject&, bool&) { calls.push_back("FormCloseQuery"); }

    std::vector<std::string> calls;
    int ticks = 0;
};

template <size_t... I> auto MakeHandlers(std::index_sequence<I...>) {
    return std::array<Handler<RecordingMainForm>, sizeof...(I) + 1>{
        Handler<RecordingMainForm>{kHandlerNames[I], &RecordingMainForm::Record<I>}...,
        Handler<RecordingMainForm>{"FormCloseQuery", nullptr, &RecordingMainForm::FormCloseQuery}};
}

const auto kRecordingHandlers = MakeHandlers(std::make_index_sequence<std::size(kHandlerNames)>());

RecordingMainForm::RecordingMainForm(TComponent* owner) : TForm(owner, "TMainForm") {
    BuildForm<RecordingMainForm>(*this, definition::MainForm, definition::MainFormComponents(),
                                 std::span<const Handler<RecordingMainForm>>(kRecordingHandlers));
}

class BindingTest : public testing::Test {
  protected:
    void SetUp() override {
        form = std::make_unique<RecordingMainForm>(&Application());
        form->Show();
        Pump();
        form->calls.clear();
    }
    void TearDown() override {
        form.reset();
        Pump();
    }
    TToolBar& Bar(const char* name) { return dynamic_cast<TToolBar&>(*form->FindComponent(name)); }
    POINT ButtonCentre(TToolBar& bar, int index) {
        RECT r{};
        SendMessageA(bar.Handle(), TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Mouse(HWND window, UINT msg, POINT at, WPARAM keys) {
        PostMessageA(window, msg, keys, MAKELPARAM(at.x, at.y));
    }
    UINT CommandOf(const char* item) {
        return dynamic_cast<TMenuItem&>(*form->FindComponent(item)).Command();
    }

    std::unique_ptr<RecordingMainForm> form;
};

TEST_F(BindingTest, PhraseListHasItsDesignItemsAndNoSelection) {
    // The definition alone (no creation handler has loaded a phrase list).
    auto& list = dynamic_cast<TComboBox&>(*form->FindComponent("ComboBox1"));
    HWND combo = list.Handle();
    ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list.Item(i), std::to_string(i + 1));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);

    // The item height is asked of the control when its window is made. (Wine's
    // list refuses it for a list that it draws itself, and keeps the font's.)
    SentMessageLog log;
    RecordingMainForm another(&Application());
    HWND made = dynamic_cast<TComboBox&>(*another.FindComponent("ComboBox1")).Handle();
    bool asked = false;
    for (const auto& entry : log.Of(made, CB_SETITEMHEIGHT))
        asked = asked || (entry.wParam == 0 && entry.lParam == 12);
    EXPECT_TRUE(asked);
}

TEST_F(BindingTest, EachToolButtonRunsItsHandler) {
    const struct {
        const char* bar;
        int index;
        const char* handler;
    } rows[] = {
        {"ToolBar1", 0, "New1Click"},    {"ToolBar1", 1, "Open1Click"},   {"ToolBar1", 2, "Save1Click"},
        {"ToolBar1", 4, "Cut1Click"},    {"ToolBar1", 5, "Copy1Click"},   {"ToolBar1", 6, "Paste1Click"},
        {"ToolBar2", 2, "CBPasteClick"}, {"ToolBar2", 4, "MokeTopClick"}, {"ToolBar2", 6, "Execute1Click"},
    };
    for (const auto& row : rows) {
        form->calls.clear();
        TToolBar& bar = Bar(row.bar);
        PostClick(bar.Handle(), ButtonCentre(bar, row.index));
        Pump();
        EXPECT_EQ(form->calls, std::vector<std::string>{row.handler}) << row.bar << " " << row.index;
    }
    // Separators run nothing.
    form->calls.clear();
    PostClick(Bar("ToolBar1").Handle(), ButtonCentre(Bar("ToolBar1"), 3));
    Pump();
    EXPECT_TRUE(form->calls.empty());
}

TEST_F(BindingTest, ToolButtonRunsOnReleaseOverItOnly) {
    TToolBar& bar = Bar("ToolBar1");
    HWND window = bar.Handle();
    const POINT on = ButtonCentre(bar, 0);
    const POINT other = ButtonCentre(bar, 2);

    // Released elsewhere: cancelled.
    Mouse(window, WM_LBUTTONDOWN, on, MK_LBUTTON);
    Mouse(window, WM_MOUSEMOVE, other, MK_LBUTTON);
    Mouse(window, WM_LBUTTONUP, other, 0);
    Pump();
    EXPECT_TRUE(form->calls.empty());
    Mouse(window, WM_LBUTTONDOWN, on, MK_LBUTTON);
    Mouse(window, WM_MOUSEMOVE, POINT{on.x, 200}, MK_LBUTTON);
    Mouse(window, WM_LBUTTONUP, POINT{on.x, 200}, 0);
    Pump();
    EXPECT_TRUE(form->calls.empty());
    EXPECT_EQ(GetCapture(), nullptr);

    // Right and middle buttons do nothing.
    Mouse(window, WM_RBUTTONDOWN, on, MK_RBUTTON);
    Mouse(window, WM_RBUTTONUP, on, 0);
    Mouse(window, WM_MBUTTONDOWN, on, MK_MBUTTON);
    Mouse(window, WM_MBUTTONUP, on, 0);
    Pump();
    EXPECT_TRUE(form->calls.empty());

    // Pressed and released over it: runs once.
    Mouse(window, WM_LBUTTONDOWN, on, MK_LBUTTON);
    Mouse(window, WM_LBUTTONUP, on, 0);
    Pump();
    EXPECT_EQ(form->calls, std::vector<std::string>{"New1Click"});

    // A double-click runs it twice.
    form->calls.clear();
    Mouse(window, WM_LBUTTONDOWN, on, MK_LBUTTON);
    Mouse(window, WM_LBUTTONUP, on, 0);
    Mouse(window, WM_LBUTTONDBLCLK, on, MK_LBUTTON);
    Mouse(window, WM_LBUTTONUP, on, 0);
    Pump();
    EXPECT_EQ(form->calls, (std::vector<std::string>{"New1Click", "New1Click"}));
}

TEST_F(BindingTest, ToolButtonsTakeNoFocus) {
    auto& memo = dynamic_cast<TMemo&>(*form->FindComponent("Memo1"));
    memo.SetFocus();
    ASSERT_EQ(GetFocus(), memo.Handle());
    TToolBar& bar = Bar("ToolBar1");
    PostClick(bar.Handle(), ButtonCentre(bar, 4));
    Pump();
    EXPECT_EQ(form->calls, std::vector<std::string>{"Cut1Click"});
    EXPECT_EQ(GetFocus(), memo.Handle());
    EXPECT_FALSE(GetWindowLongPtrA(bar.Handle(), GWL_STYLE) & WS_TABSTOP);
}

TEST_F(BindingTest, MenuCommandsRunTheirHandlerWhenEnabled) {
    const struct {
        const char* item;
        const char* handler; // null: disabled, runs nothing
    } rows[] = {
        {"New1", "New1Click"},
        {"Open1", "Open1Click"},
        {"Save1", "Save1Click"},
        {"SaveAs1", "SaveAs1Click"},
        {"Exit1", "Exit1Click"},
        {"Undo1", "Undo1Click"},
        {"Cut1", nullptr},
        {"Copy1", nullptr},
        {"Paste1", nullptr},
        {"Delete1", nullptr},
        {"SelectAll1", "SelectAll1Click"},
        {"DateTime1", "DateTime1Click"},
        {"CBPaste", "CBPasteClick"},
        {"Wrap1", "Wrap1Click"},
        {"Font1", "Font1Click"},
        {"Execute1", nullptr},
        {"MokeTop", "MokeTopClick"},
        {"About1", "About1Click"},
    };
    for (const auto& row : rows) {
        form->calls.clear();
        PostMessageA(form->Handle(), WM_COMMAND, CommandOf(row.item), 0);
        Pump();
        if (row.handler)
            EXPECT_EQ(form->calls, std::vector<std::string>{row.handler}) << row.item;
        else
            EXPECT_TRUE(form->calls.empty()) << row.item;
    }
    // Enabled, the same item runs.
    form->calls.clear();
    dynamic_cast<TMenuItem&>(*form->FindComponent("Cut1")).SetEnabled(true);
    PostMessageA(form->Handle(), WM_COMMAND, CommandOf("Cut1"), 0);
    Pump();
    EXPECT_EQ(form->calls, std::vector<std::string>{"Cut1Click"});
    // A command from a control is no menu command.
    form->calls.clear();
    HWND combo = dynamic_cast<TComboBox&>(*form->FindComponent("ComboBox1")).Handle();
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(CommandOf("New1"), 0),
                 reinterpret_cast<LPARAM>(combo));
    Pump();
    EXPECT_TRUE(form->calls.empty());
}

TEST_F(BindingTest, OpeningTheEditMenuRunsItsHandler) {
    HMENU bar = GetMenu(form->Handle());
    SendMessageA(form->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(bar, 1)), 1);
    EXPECT_EQ(form->calls, std::vector<std::string>{"Edit1Click"});
    form->calls.clear();
    for (int other : {0, 2, 3, 4})
        SendMessageA(form->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(bar, other)),
                     other);
    EXPECT_TRUE(form->calls.empty());
}

TEST_F(BindingTest, EditorChangeTimerAndCloseQueryAreBound) {
    auto& memo = dynamic_cast<TMemo&>(*form->FindComponent("Memo1"));
    memo.SetText(W("changed"));
    EXPECT_EQ(form->calls, std::vector<std::string>{"Memo1Change"});
    form->calls.clear();
    EXPECT_TRUE(form->CloseQuery());
    EXPECT_EQ(form->calls, std::vector<std::string>{"FormCloseQuery"});
    auto& timer = dynamic_cast<TTimer&>(*form->FindComponent("Timer1"));
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_TRUE(timer.Enabled());
    timer.SetInterval(20);
    EXPECT_TRUE(PumpUntil([&] { return form->ticks >= 2; }, std::chrono::seconds(3)));
}

} // namespace
} // namespace moke::test
