// The main window's definition: every component in creation order with its
// properties, the menu tree with captions, shortcuts, hints and initial
// states, the tool bar items, and the handler each of them runs.
#pragma once

#include "app/frame/FormDefinition.h"
#include "document/Memo.h"
#include "resources/resource.h"

#include <vector>

namespace moke::definition {

inline const FormDef MainForm{
    .className = "TMainForm",
    .caption = "もけらメモ帳",
    .width = 550,
    .height = 227,
    .font = {"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET},
    .icon = IDI_MAINFORM,
    .menu = "MainMenu1",
    .activeControl = "Memo1",
    .onCreate = "FormCreate",
    .onCloseQuery = "FormCloseQuery",
    .onResize = "FormResize",
};

constexpr ShortCut Ctrl(char key) { return static_cast<ShortCut>(kCtrl | static_cast<unsigned char>(key)); }
constexpr auto Sep = TToolButtonStyle::Separator;
constexpr const char* kTextFilter = "テキストファイル(*.txt)|*.txt|すべてのファイル(*.*)|*.*";

inline std::vector<ComponentDef> MainFormComponents() {
    const auto tool = [](const char* bar, const char* caption, const char* hint, int image, const char* onClick) {
        return ToolButtonDef{.toolBar = bar, .caption = caption, .hint = hint, .image = image, .onClick = onClick};
    };
    const auto menu = [](const char* parent, const char* caption, const char* hint = "", const char* onClick = nullptr,
                         ShortCut shortcut = 0, bool enabled = true, bool checked = false) {
        return MenuItemDef{.parent = parent, .caption = caption, .shortcut = shortcut, .enabled = enabled,
                           .checked = checked, .hint = hint, .onClick = onClick};
    };
    const ControlDef bandBar{.parent = "CoolBar1", .showHint = true};
    return {
        Component("ImageList1", ImageListDef{.resource = IDB_IMAGELIST1}),
        Component("CoolBar1", CoolBarDef{.control = {.height = 76, .align = TAlign::Top}, .bitmap = IDB_COOLBAR_BACK}),

        Component("ToolBar1", ToolBarDef{.control = bandBar, .bandMinHeight = 35, .images = "ImageList1",
                                         .buttonWidth = 75, .buttonHeight = 35}),
        Component("ToolButton1", tool("ToolBar1", "新規作成", "新規作成", 0, "New1Click")),
        Component("ToolButton2", tool("ToolBar1", "開く", "開く", 1, "Open1Click")),
        Component("ToolButton3", tool("ToolBar1", "保存", "保存", 2, "Save1Click")),
        Component("ToolButton4", ToolButtonDef{.toolBar = "ToolBar1", .style = Sep, .width = 8}),
        Component("ToolButton5", tool("ToolBar1", "切り取り", "切り取り", 3, "Cut1Click")),
        Component("ToolButton6", tool("ToolBar1", "コピー", "コピー", 4, "Copy1Click")),
        Component("ToolButton7", tool("ToolBar1", "貼り付け", "貼り付け", 5, "Paste1Click")),
        Component("ToolButton23", ToolButtonDef{.toolBar = "ToolBar1", .style = Sep, .width = 8, .wrap = true}),

        Component("ToolBar2", ToolBarDef{.control = bandBar, .bandMinHeight = 35, .images = "ImageList1",
                                         .buttonWidth = 75, .buttonHeight = 35}),
        Component("ComboBox1", ComboBoxDef{.control = {.parent = "ToolBar2", .width = 217},
                                           .itemHeight = 12,
                                           .items = {"1", "2", "3", "4", "5"}}),
        Component("ToolButton11", ToolButtonDef{.toolBar = "ToolBar2", .style = Sep, .width = 8}),
        Component("ToolButton10", tool("ToolBar2", "貼り付け", "コンボボックスの文字列を貼り付け", 9, "CBPasteClick")),
        Component("ToolButton12", ToolButtonDef{.toolBar = "ToolBar2", .style = Sep, .width = 8}),
        Component("ToolButton13", tool("ToolBar2", "もけらトップ", "もけらトップ", 6, "MokeTopClick")),
        Component("ToolButton14", ToolButtonDef{.toolBar = "ToolBar2", .style = Sep, .width = 8}),
        Component("ToolButton15", tool("ToolBar2", "起動", "選択文字列で起動", 7, "Execute1Click")),

        Component("Memo1", MemoDef{.control = {.align = TAlign::Client, .font = FontDef{"zoz", -16, SHIFTJIS_CHARSET}},
                                   .wordWrap = true,
                                   .scrollBars = TScrollStyle::Vertical,
                                   .wantTabs = true,
                                   .onChange = "Memo1Change"}),
        Component("StatusBar", StatusBarDef{.control = {.height = 19, .align = TAlign::Bottom}, .panels = {{50}, {.width = 50, .alignment = 1}}}),

        Component("MainMenu1", MainMenuDef{}),
        Component("File1", menu("MainMenu1", "ファイル(&F)")),
        Component("New1", menu("File1", "新規作成(&N)", "新しい文書を作成します。", "New1Click")),
        Component("Open1", menu("File1", "開く(&O)...", "既存の文書を開きます。", "Open1Click")),
        Component("Save1", menu("File1", "上書き保存(&S)", "現在の文書を保存します。", "Save1Click")),
        Component("SaveAs1", menu("File1", "名前を付けて保存(&A)...", "現在の文書を新しい名前で保存します。", "SaveAs1Click")),
        Component("N11", menu("File1", "-")),
        Component("Exit1", menu("File1", "終了(&X)", "文書の保存を確認し、アプリケーションを終了します。", "Exit1Click")),
        Component("Edit1", menu("MainMenu1", "編集(&E)", "", "Edit1Click")),
        Component("Undo1", menu("Edit1", "元に戻す(&U)", "直前に行った操作を取り消します。", "Undo1Click", Ctrl('Z'))),
        Component("N3", menu("Edit1", "-")),
        Component("Cut1", menu("Edit1", "切り取り(&T)", "選択範囲を切り取ってクリップボードに移動します。", "Cut1Click",
                               Ctrl('X'), false)),
        Component("Copy1", menu("Edit1", "コピー(&C)", "選択範囲をクリップボードにコピーします。", "Copy1Click", Ctrl('C'),
                                false)),
        Component("Paste1", menu("Edit1", "貼り付け(&P)", "クリップボードの内容を挿入します。", "Paste1Click", Ctrl('V'),
                                 false)),
        Component("Delete1", menu("Edit1", "削除(&L)", "選択範囲を削除します。", "Delete1Click", 0, false)),
        Component("N4", menu("Edit1", "-")),
        Component("SelectAll1", menu("Edit1", "すべて選択(&A)", "文書全体を選択します。", "SelectAll1Click", Ctrl('A'))),
        Component("DateTime1", menu("Edit1", "日付と時刻(&D)", "今日の日付と現在の時刻を挿入します。", "DateTime1Click")),
        Component("N1", menu("Edit1", "-")),
        Component("CBPaste", menu("Edit1", "コンボボックスの内容を貼り付け(&B)", "コンボボックスの内容を挿入します。",
                                  "CBPasteClick")),
        Component("N5", menu("Edit1", "-")),
        Component("Wrap1", menu("Edit1", "右端で折り返す(&W)", "文書を右端で折り返して表示します。", "Wrap1Click", 0, true,
                                true)),
        Component("Show1", menu("MainMenu1", "表示(&D)")),
        Component("Font1", menu("Show1", "フォント(&F)...", "フォントを変更します。", "Font1Click")),
        Component("X1", menu("MainMenu1", "実行(&X)")),
        Component("Execute1", menu("X1", "選択文字列で起動(&E)", "現在選択されている文字列で関連アプリケーションを起動します。",
                                   "Execute1Click", 0, false)),
        Component("N2", menu("X1", "-")),
        Component("MokeTop", menu("X1", "もけらトップ(&M)", "ブラウザを起動して、ほろぴトップページを開きます。",
                                  "MokeTopClick")),
        Component("Help1", menu("MainMenu1", "ヘルプ(&H)")),
        Component("About1", menu("Help1", "バージョン情報(&A)...", "プログラム情報、バージョン、著作権を表示します。",
                                 "About1Click")),

        Component("OpenDialog", OpenDialogDef{{.filter = kTextFilter}}),
        Component("SaveDialog", SaveDialogDef{{.filter = kTextFilter, .defaultExt = "txt"}}),
        Component("FontDialog", FontDialogDef{}),
        Component("Timer1", TimerDef{.onTimer = "Timer1Timer"}),
    };
}

} // namespace moke::definition
