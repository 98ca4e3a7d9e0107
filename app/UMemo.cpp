#include "app/UMemo.h"

#include "app/frame/Application.h"
#include "app/frame/CodePage.h"
#include "app/frame/Failure.h"
#include "app/frame/FormDefinition.h"
#include "app/frame/MessageBox.h"
#include "app/frame/WaitCursor.h"
#include "document/LongPath.h"
#include "document/PathParts.h"
#include "document/TextFile.h"
#include "editing/RegionalTime.h"
#include "about/About.h"
#include "shell/ShellLaunch.h"
#include "resources/MainForm.def.h"

#include <shellapi.h>

#include <exception>

namespace moke {

namespace {

template <class T>
T& Named(TComponent& owner, const char* name) {
    auto* found = dynamic_cast<T*>(owner.FindComponent(name));
    if (!found) throw Failure("フォーム定義: " + std::string(name) + " が見つかりません");
    return *found;
}

const Handler<TMainForm> kHandlers[] = {
    {"FormCreate", &TMainForm::FormCreate},
    {"FormCloseQuery", nullptr, &TMainForm::FormCloseQuery},
    {"FormResize", &TMainForm::FormResize},
    {"Memo1Change", &TMainForm::Memo1Change},
    {"New1Click", &TMainForm::New1Click},
    {"Open1Click", &TMainForm::Open1Click},
    {"Save1Click", &TMainForm::Save1Click},
    {"SaveAs1Click", &TMainForm::SaveAs1Click},
    {"Exit1Click", &TMainForm::Exit1Click},
    {"Edit1Click", &TMainForm::Edit1Click},
    {"Undo1Click", &TMainForm::Undo1Click},
    {"Cut1Click", &TMainForm::Cut1Click},
    {"Copy1Click", &TMainForm::Copy1Click},
    {"Paste1Click", &TMainForm::Paste1Click},
    {"Delete1Click", &TMainForm::Delete1Click},
    {"SelectAll1Click", &TMainForm::SelectAll1Click},
    {"DateTime1Click", &TMainForm::DateTime1Click},
    {"CBPasteClick", &TMainForm::CBPasteClick},
    {"Wrap1Click", &TMainForm::Wrap1Click},
    {"Font1Click", &TMainForm::Font1Click},
    {"Execute1Click", &TMainForm::Execute1Click},
    {"MokeTopClick", &TMainForm::MokeTopClick},
    {"About1Click", &TMainForm::About1Click},
    {"Timer1Timer", &TMainForm::Timer1Timer},
};

std::string ModuleFileName() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD got = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (got < path.size()) {
            path.resize(got);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

bool TMainForm::ReadDefinition() {
    BuildForm<TMainForm>(*this, definition::MainForm, definition::MainFormComponents(), kHandlers);
    return true;
}

TMainForm::TMainForm(TComponent* owner, std::vector<std::string> arguments)
    : TForm(owner, "TMainForm"), definitionRead_(ReadDefinition()), Memo1(Named<TMemo>(*this, "Memo1")),
      ComboBox1(Named<TComboBox>(*this, "ComboBox1")), StatusBar(Named<TStatusBar>(*this, "StatusBar")),
      CoolBar1(Named<TCoolBar>(*this, "CoolBar1")), ToolBar1(Named<TToolBar>(*this, "ToolBar1")),
      ToolBar2(Named<TToolBar>(*this, "ToolBar2")), MainMenu1(Named<TMainMenu>(*this, "MainMenu1")),
      ImageList1(Named<TImageList>(*this, "ImageList1")), Timer1(Named<TTimer>(*this, "Timer1")),
      OpenDialog(Named<TOpenDialog>(*this, "OpenDialog")), SaveDialog(Named<TSaveDialog>(*this, "SaveDialog")),
      FontDialog(Named<TFontDialog>(*this, "FontDialog")),
      Undo1(Named<TMenuItem>(*this, "Undo1")), Cut1(Named<TMenuItem>(*this, "Cut1")),
      Copy1(Named<TMenuItem>(*this, "Copy1")), Paste1(Named<TMenuItem>(*this, "Paste1")),
      Delete1(Named<TMenuItem>(*this, "Delete1")), Wrap1(Named<TMenuItem>(*this, "Wrap1")),
      Execute1(Named<TMenuItem>(*this, "Execute1")), arguments_(std::move(arguments)),
      timeSettings_(ReadTimeSettings()) {
    DoCreate();
}

TMainForm::~TMainForm() {
    // The window and the application let go of the frames before they go.
    DestroyHandle();
    if (Application().Icon() == frameA_ || Application().Icon() == frameB_) Application().SetIcon(nullptr);
    if (frameA_) DestroyIcon(frameA_);
    if (frameB_) DestroyIcon(frameB_);
}

// ---------------------------------------------------------------------------
// Life of the window

void TMainForm::FormCreate(TObject&) {
    TApplication& app = Application();
    app.OnHint = [this](TObject& sender) { ShowHint(sender); };
    app.SetIcon(Icon());
    DragAcceptFiles(Handle(), TRUE);
    listFileName_ = ListFileNameFor(ModuleFileName());
    // The document is set up whether or not the phrase list can be read; a
    // failure to read it is reported after that.
    std::exception_ptr listFailure;
    try {
        LoadListFile(ComboBox1, listFileName_);
    } catch (...) {
        listFailure = std::current_exception();
    }
    if (arguments_.size() > 1) {
        // Made full first: the document's name must not change its meaning
        // when a file dialog later makes another folder the current one.
        OpenFile(ExpandLongPath(FullPathName(arguments_[1])));
    } else {
        NewDocument();
    }
    if (listFailure) std::rethrow_exception(listFailure);
}

void TMainForm::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_DROPFILES: WMDropFiles(message); return;
    case WM_WININICHANGE: timeSettings_ = ReadTimeSettings(); break;
    default: break;
    }
    TForm::WndProc(message);
}

void TMainForm::FormCloseQuery(TObject&, bool& canClose) {
    try {
        QuerySaveChanges();
    } catch (...) {
        canClose = false;
    }
}

void TMainForm::FormResize(TObject&) {
    ToolBar1.Invalidate();
    ToolBar2.Invalidate();
}

void TMainForm::Exit1Click(TObject&) { Close(); }

// ---------------------------------------------------------------------------
// Document state

void TMainForm::SetFileName(std::string_view name) {
    currentFile_ = name;
    std::string caption(NamePart(currentFile_));
    caption += " - ";
    caption += kProgramTitle;
    SetCaption(caption);
    Application().SetTitle(Caption());
}

void TMainForm::ShowModified(bool modified) { StatusBar.SetPanelText(0, modified ? "変更あり" : ""); }

void TMainForm::ShowEncoding() { StatusBar.SetPanelText(1, EncodingName(format_.encoding)); }

void TMainForm::Memo1Change(TObject&) { ShowModified(Memo1.Modified()); }

void TMainForm::ShowHint(TObject&) {
    const std::string& hint = Application().Hint();
    if (!hint.empty()) {
        StatusBar.SetSimplePanel(true);
        StatusBar.SetSimpleText(hint);
    } else {
        StatusBar.SetSimplePanel(false);
    }
}

void TMainForm::QuerySaveChanges() {
    if (!Memo1.Modified()) return;
    std::string question = "ファイル ";
    question += NamePart(currentFile_);
    question += " の内容が変更されています。\r変更を保存しますか?";
    switch (ShowMessageBox(question, mtConfirmation, mbYes | mbNo | mbCancel)) {
    case mrCancel: Abort();
    case mrYes:
        // Changes the user asked to save are never discarded: a save that
        // wrote nothing ends the calling command as Cancel would.
        if (!Save()) Abort();
        return;
    default: return;
    }
}

// ---------------------------------------------------------------------------
// File commands

void TMainForm::New1Click(TObject&) {
    QuerySaveChanges();
    NewDocument();
}

void TMainForm::NewDocument() {
    Memo1.Clear();
    format_ = DocumentFormat{};
    SetFileName(kUntitled);
    MarkUnmodified();
    ShowEncoding();
}

void TMainForm::MarkUnmodified() {
    Memo1.SetModified(false);
    ShowModified(false);
}

void TMainForm::Open1Click(TObject&) {
    QuerySaveChanges();
    if (!OpenDialog.Execute()) return;
    OpenFile(OpenDialog.FileName());
    Memo1.SetReadOnly((OpenDialog.Options() & ofReadOnly) != 0);
}

void TMainForm::OpenFile(const std::string& path) {
    try {
        {
            WaitCursor busy(Handle());
            format_ = LoadTextFile(Memo1, path);
        }
        SetFileName(path);
        MarkUnmodified();
        ShowEncoding();
    } catch (...) {
        ShowMessageBox("もけらメモ帳で扱える範囲を超える文書です", mtError, mbOK);
        NewDocument();
    }
}

bool TMainForm::Save() {
    if (currentFile_ == kUntitled) return SaveAs();
    WriteDocument(currentFile_);
    MarkUnmodified();
    return true;
}

void TMainForm::WriteDocument(const std::string& path) {
    {
        WaitCursor busy(Handle());
        if (SaveTextFile(Memo1, path, format_.encoding, format_)) return;
    }
    if (ShowMessageBox("この文書には Shift_JIS で保存できない文字があります。\rUTF-8 で保存しますか?", mtConfirmation,
                       mbYes | mbNo | mbCancel) != mrYes)
        Abort();
    {
        WaitCursor busy(Handle());
        if (!SaveTextFile(Memo1, path, TextEncoding::Utf8, format_)) Abort(); // UTF-8 holds every character
    }
    ShowEncoding();
}

bool TMainForm::SaveAs() {
    if (!SaveDialog.Execute()) return false;
    const std::string chosen = SaveDialog.FileName();
    if (FileExists(chosen)) {
        const std::string question = chosen + "\rこのファイルはすでに存在します。\r上書きしますか?";
        if (ShowMessageBox(question, mtConfirmation, mbYes | mbNo | mbCancel) != mrYes) return false;
    }
    WriteDocument(chosen);
    SetFileName(chosen);
    MarkUnmodified();
    return true;
}

void TMainForm::Save1Click(TObject&) { Save(); }

void TMainForm::SaveAs1Click(TObject&) { SaveAs(); }

void TMainForm::WMDropFiles(TMessage& message) {
    auto* drop = reinterpret_cast<HDROP>(message.WParam);
    message.Result = 0;
    struct Finish {
        HDROP drop;
        ~Finish() { DragFinish(drop); }
    } finish{drop};
    // While a dialog or message box is up the window is disabled: a drop then
    // would replace the document under the dialog's feet.
    if (!IsWindowEnabled(Handle())) return;
    if (DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) == 0) return;
    // The name whole, however long the shell makes it.
    const UINT length = DragQueryFileA(drop, 0, nullptr, 0);
    std::string name(length, '\0');
    name.resize(DragQueryFileA(drop, 0, name.data(), length + 1));
    QuerySaveChanges();
    OpenFile(name);
}

// ---------------------------------------------------------------------------
// Edit commands

void TMainForm::Edit1Click(TObject&) {
    Paste1.SetEnabled(IsClipboardFormatAvailable(CF_TEXT) != 0);
    const bool selection = Memo1.SelectionLength() > 0;
    Cut1.SetEnabled(selection);
    Copy1.SetEnabled(selection);
    Delete1.SetEnabled(selection);
    Undo1.SetEnabled(Memo1.CanUndo());
    Memo1.SetFocus();
}

void TMainForm::Undo1Click(TObject&) { Memo1.Undo(); }
void TMainForm::Cut1Click(TObject&) { Memo1.CutToClipboard(); }
void TMainForm::Copy1Click(TObject&) { Memo1.CopyToClipboard(); }
void TMainForm::Paste1Click(TObject&) { Memo1.PasteFromClipboard(); }
void TMainForm::Delete1Click(TObject&) { Memo1.ClearSelection(); }
void TMainForm::SelectAll1Click(TObject&) { Memo1.SelectAll(); }

void TMainForm::Wrap1Click(TObject&) {
    const bool wrap = !Memo1.WordWrap();
    Memo1.SetWordWrapAndScrollBars(wrap, wrap ? TScrollStyle::Vertical : TScrollStyle::Both);
    Wrap1.SetChecked(Memo1.WordWrap());
}

void TMainForm::Font1Click(TObject&) {
    struct FocusEditor {
        TMemo& memo;
        ~FocusEditor() {
            if (memo.CanFocus()) memo.SetFocus();
        }
    } focus{Memo1};
    FontDialog.Font().Assign(Memo1.Font());
    if (FontDialog.Execute()) Memo1.Font().Assign(FontDialog.Font());
}

// ---------------------------------------------------------------------------
// Insertion

void TMainForm::CBPasteClick(TObject&) {
    const int index = ComboBox1.ItemIndex();
    if (index < 0) return;
    Memo1.ReplaceSelection(WideFromProgram(ComboBox1.Item(index)));
}

void TMainForm::DateTime1Click(TObject&) { Memo1.ReplaceSelection(WideFromProgram(DateStamp(CurrentStampTime()))); }

void TMainForm::Execute1Click(TObject&) { ShellOpen(std::wstring_view(Memo1.SelectedText())); }

void TMainForm::MokeTopClick(TObject&) { ShellOpen(kHomePage); }

void TMainForm::About1Click(TObject&) {
    TAboutDlg about(this); // freed when it closes, also when showing fails
    about.ShowModal();
}

// ---------------------------------------------------------------------------
// The animated icon: frame A for two ticks, frame B for one.

void TMainForm::Timer1Timer(TObject&) {
    if (!frameA_) frameA_ = ImageList1.GetIcon(6);
    if (!frameB_) frameB_ = ImageList1.GetIcon(8);
    switch (iconPhase_) {
    case 0:
        iconPhase_ = 1;
        SetIcon(frameA_);
        break;
    case 1: iconPhase_ = 2; break;
    case 2:
        iconPhase_ = 0;
        SetIcon(frameB_);
        break;
    default: break;
    }
    Application().SetIcon(Icon());
}

} // namespace moke
