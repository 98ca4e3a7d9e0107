// The main window: built from its definition, with every handler of the
// editor's commands.
#pragma once

#include "app/frame/ComCtrls.h"
#include "app/frame/Dialogs.h"
#include "app/frame/Forms.h"
#include "app/frame/Menus.h"
#include "app/frame/StdCtrls.h"
#include "app/frame/Timer.h"
#include "document/Memo.h"
#include "document/TextFile.h"
#include "editing/DateStamp.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace moke {

class TMainForm : public TForm {
public:
    // Builds the window from its definition, then runs FormCreate with the
    // program's arguments (element 0 is the program itself).
    TMainForm(TComponent* owner, std::vector<std::string> arguments);
    ~TMainForm() override;

private:
    // Reads the definition; runs before the component references below are bound.
    bool definitionRead_;

public:
    // Components, found by name once the definition has been read.
    TMemo& Memo1;
    TComboBox& ComboBox1;
    TStatusBar& StatusBar;
    TCoolBar& CoolBar1;
    TToolBar& ToolBar1;
    TToolBar& ToolBar2;
    TMainMenu& MainMenu1;
    TImageList& ImageList1;
    TTimer& Timer1;
    TOpenDialog& OpenDialog;
    TSaveDialog& SaveDialog;
    TFontDialog& FontDialog;
    TMenuItem& Undo1;
    TMenuItem& Cut1;
    TMenuItem& Copy1;
    TMenuItem& Paste1;
    TMenuItem& Delete1;
    TMenuItem& Wrap1;
    TMenuItem& Execute1;

    // Handlers bound by the definition.
    void FormCreate(TObject& sender);
    void FormCloseQuery(TObject& sender, bool& canClose);
    void FormResize(TObject& sender);
    void Memo1Change(TObject& sender);
    void New1Click(TObject& sender);
    void Open1Click(TObject& sender);
    void Save1Click(TObject& sender);
    void SaveAs1Click(TObject& sender);
    void Exit1Click(TObject& sender);
    void Edit1Click(TObject& sender);
    void Undo1Click(TObject& sender);
    void Cut1Click(TObject& sender);
    void Copy1Click(TObject& sender);
    void Paste1Click(TObject& sender);
    void Delete1Click(TObject& sender);
    void SelectAll1Click(TObject& sender);
    void DateTime1Click(TObject& sender);
    void CBPasteClick(TObject& sender);
    void Wrap1Click(TObject& sender);
    void Font1Click(TObject& sender);
    void Execute1Click(TObject& sender);
    void MokeTopClick(TObject& sender);
    void About1Click(TObject& sender);
    void Timer1Timer(TObject& sender);
    void ShowHint(TObject& sender);

    // Document state.
    void SetFileName(std::string_view name);
    void ShowModified(bool modified);
    // The document's encoding, in the status bar's second panel.
    void ShowEncoding();
    void QuerySaveChanges();
    void OpenFile(const std::string& path);
    // The shell's file-drop message.
    void WMDropFiles(TMessage& message);

    std::int32_t IconPhase() const { return iconPhase_; }
    const std::string& CurrentFile() const { return currentFile_; }
    TextEncoding CurrentEncoding() const { return format_.encoding; }
    const std::string& ListFileName() const { return listFileName_; }
    // The stamp for a given moment, as DateTime1Click inserts it, in the
    // regional settings read at start-up and on every change of them.
    std::string DateStamp(const StampTime& time) const { return DateStampText(time, timeSettings_); }

protected:
    void WndProc(TMessage& message) override;

private:
    bool ReadDefinition();
    // Save and Save As; false when nothing was written because the user
    // cancelled the dialog or declined to overwrite.
    bool Save();
    bool SaveAs();
    // Writes the document to `path` in its encoding. A character that the
    // encoding cannot hold is never replaced: the user is asked whether to
    // write UTF-8 instead; any other answer ends the command as Cancel would.
    void WriteDocument(const std::string& path);
    // An empty, untitled, unmodified document; the modified flag and its
    // indicator cleared.
    void NewDocument();
    void MarkUnmodified();

    std::int32_t iconPhase_ = 0;
    std::string currentFile_;
    DocumentFormat format_;
    std::string listFileName_;
    std::vector<std::string> arguments_;
    TimeSettings timeSettings_;
    // The two frames of the icon animation, made from ImageList1 on first use.
    HICON frameA_ = nullptr;
    HICON frameB_ = nullptr;
};

// The untitled marker.
inline constexpr std::string_view kUntitled = "無題";
inline constexpr std::string_view kProgramTitle = "もけらメモ帳";

} // namespace moke
