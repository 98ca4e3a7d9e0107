#include "app/UMemo.h"

#include "app/frame/Application.h"
#include "app/frame/Failure.h"
#include "app/frame/FormDefinition.h"
#include "document/PathParts.h"
#include "resources/MainForm.def.h"

#include <shellapi.h>

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
      Undo1(Named<TMenuItem>(*this, "Undo1")), Cut1(Named<TMenuItem>(*this, "Cut1")),
      Copy1(Named<TMenuItem>(*this, "Copy1")), Paste1(Named<TMenuItem>(*this, "Paste1")),
      Delete1(Named<TMenuItem>(*this, "Delete1")), Wrap1(Named<TMenuItem>(*this, "Wrap1")),
      Execute1(Named<TMenuItem>(*this, "Execute1")), arguments_(std::move(arguments)) {
    DoCreate();
}

// ---------------------------------------------------------------------------
// Life of the window

void TMainForm::FormCreate(TObject&) {
    TApplication& app = Application();
    app.OnHint = [this](TObject& sender) { ShowHint(sender); };
    app.SetIcon(Icon());
    DragAcceptFiles(Handle(), TRUE);
    listFileName_ = ListFileNameFor(ModuleFileName());
    if (arguments_.size() > 1) {
        OpenFile(arguments_[1]);
    } else {
        Memo1.Clear();
        SetFileName(kUntitled);
    }
    Memo1.SetModified(false);
    ShowModified(false);
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

// ---------------------------------------------------------------------------
// Commands that later work fills in

void TMainForm::QuerySaveChanges() {}
void TMainForm::OpenFile(const std::string&) {}
void TMainForm::New1Click(TObject&) {}
void TMainForm::Open1Click(TObject&) {}
void TMainForm::Save1Click(TObject&) {}
void TMainForm::SaveAs1Click(TObject&) {}
void TMainForm::Edit1Click(TObject&) {}
void TMainForm::Undo1Click(TObject&) {}
void TMainForm::Cut1Click(TObject&) {}
void TMainForm::Copy1Click(TObject&) {}
void TMainForm::Paste1Click(TObject&) {}
void TMainForm::Delete1Click(TObject&) {}
void TMainForm::SelectAll1Click(TObject&) {}
void TMainForm::DateTime1Click(TObject&) {}
void TMainForm::CBPasteClick(TObject&) {}
void TMainForm::Wrap1Click(TObject&) {}
void TMainForm::Font1Click(TObject&) {}
void TMainForm::Execute1Click(TObject&) {}
void TMainForm::MokeTopClick(TObject&) {}
void TMainForm::About1Click(TObject&) {}
void TMainForm::Timer1Timer(TObject&) {}

} // namespace moke
