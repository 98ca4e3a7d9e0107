// The file commands of the main window with real files, real dialogs and real
// boxes answered from inside their loops: New, Open, Save, Save As, Exit, the
// close and session-end queries, drops and the document named on the command
// line. The save-changes guard never discards what the user asked to save; a
// failed save leaves the file on disk and the document as they were.
#include "app/UMemo.h"

#include "app/frame/Application.h"
#include "app/frame/CommandLine.h"
#include "app/frame/Menus.h"
#include "tests/support/FileDialogs.h"
#include "tests/support/ProgramText.h"
#include "tests/support/Files.h"
#include "tests/support/Gui.h"
#include "tests/support/MainFormFixture.h"
#include "tests/support/WindowSpy.h"

#include <gtest/gtest.h>

#include <commdlg.h>
#include <dlgs.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <cstdio>
#include <memory>

namespace moke::test {
namespace {

using namespace std::string_literals;

constexpr const char* kMessageBox = "TMessageForm";
constexpr const char* kSystemDialog = "#32770";
constexpr const char* kYes = "はい(&Y)";
constexpr const char* kNo = "いいえ(&N)";
constexpr const char* kCancel = "ｷｬﾝｾﾙ";
constexpr const char* kTooLarge = "もけらメモ帳で扱える範囲を超える文書です";
const std::vector<std::string> kYesNoCancel = {kYes, kNo, kCancel};

std::string Question(const std::string& name) {
    return "ファイル " + name + " の内容が変更されています。\r変更を保存しますか?";
}
std::string OverwriteQuestion(const std::string& path) {
    return path + "\rこのファイルはすでに存在します。\r上書きしますか?";
}

// Answers for the boxes and dialogs a command shows.
std::function<void(HWND)> Press(const std::string& caption) {
    return ModalAnswerer::Click(caption);
}
std::function<void(HWND)> Dismiss() {
    return [](HWND window) { PostMessageA(window, WM_COMMAND, IDOK, 0); };
}

// Expected boxes and dialogs, answered in order; anything else that appears
// is closed and counted as unexpected, so that no test waits forever.
class Boxes {
  public:
    Boxes() {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 50, &Boxes::Watch);
        started_ = std::chrono::steady_clock::now();
    }
    ~Boxes() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    Boxes& Expect(const std::string& className, std::function<void(HWND)> answer) {
        answerer_.Expect(className, std::move(answer));
        return *this;
    }
    const std::vector<ModalAnswerer::Seen>& Seen() const { return answerer_.Answered(); }
    const ModalAnswerer::Seen& At(size_t i) const {
        static const ModalAnswerer::Seen none{};
        return i < Seen().size() ? Seen()[i] : none;
    }
    size_t Count() const { return Seen().size(); }
    const std::vector<std::string>& Unexpected() const { return unexpected_; }

  private:
    static void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD) {
        Boxes* self = current_;
        if (!self) return;
        // Until every expected window has come, only a stuck test closes anything.
        const bool late = std::chrono::steady_clock::now() - self->started_ > std::chrono::seconds(15);
        if (!self->answerer_.Done() && !late) return;
        for (const char* kind : {kMessageBox, kSystemDialog}) {
            for (HWND window : ThreadWindows(kind)) {
                if (!IsWindowEnabled(window) || self->Handled(window)) continue;
                self->closed_.push_back(window);
                HWND text = GetDlgItem(window, 0xFFFF);
                self->unexpected_.push_back(std::string(kind) + ": " + WindowText(window) + " " +
                                            (text ? WindowText(text) : std::string()));
                if (std::string(kind) == kMessageBox)
                    PostMessageA(window, WM_CLOSE, 0, 0);
                else
                    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            }
        }
    }
    bool Handled(HWND window) const {
        for (const auto& seen : Seen())
            if (seen.window == window) return true;
        return std::find(closed_.begin(), closed_.end(), window) != closed_.end();
    }

    static inline Boxes* current_ = nullptr;
    ModalAnswerer answerer_;
    UINT_PTR timer_ = 0;
    std::chrono::steady_clock::time_point started_;
    std::vector<std::string> unexpected_;
    std::vector<HWND> closed_;
};

// A real drop: a DROPFILES block followed by the names, each ending in NUL,
// and one more NUL.
HDROP MakeDrop(const std::vector<std::string>& names) {
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& name : names)
        size += name.size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* at = reinterpret_cast<char*>(drop + 1);
    for (const std::string& name : names) {
        std::memcpy(at, name.c_str(), name.size() + 1);
        at += name.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

class FileCommandsTest : public MainFormTest {
  protected:
    // Types into the editor as the user would.
    void Type(const std::string& text) {
        Form().Memo1.SetFocus();
        for (char c : text)
            PostChar(Form().Memo1.Handle(), c);
        Pump();
        ASSERT_TRUE(Form().Memo1.Modified());
    }
    // Opens a file as Open would, without the dialog.
    void Load(const std::string& path) {
        Boxes none;
        Form().OpenFile(path);
        ASSERT_TRUE(none.Unexpected().empty()) << none.Unexpected()[0];
        ASSERT_EQ(Form().CurrentFile(), path);
    }
    LRESULT Drop(const std::vector<std::string>& names) {
        return SendMessageA(Form().Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(names)), 0);
    }
    std::string Caption() { return WindowText(Form().Handle()); }
    std::string Indicator() { return Form().StatusBar.Panel(0).text; }

    void ExpectUntitledAndEmpty() {
        EXPECT_EQ(Form().CurrentFile(), "無題");
        EXPECT_EQ(Caption(), "無題 - もけらメモ帳");
        EXPECT_EQ(Application().Title(), "無題 - もけらメモ帳");
        EXPECT_EQ(Form().Memo1.Text(), W(""));
        EXPECT_FALSE(Form().Memo1.Modified());
        EXPECT_EQ(Indicator(), "");
    }
    void ExpectNamed(const std::string& path, const std::string& name, const std::string& text) {
        EXPECT_EQ(Form().CurrentFile(), path);
        EXPECT_EQ(Caption(), name + " - もけらメモ帳");
        EXPECT_EQ(Application().Title(), name + " - もけらメモ帳");
        EXPECT_EQ(Form().Memo1.Text(), W(text));
        EXPECT_FALSE(Form().Memo1.Modified());
        EXPECT_EQ(Indicator(), "");
    }
    // The document as it was: text, name and the modified state.
    void ExpectStillModified(const std::string& file, const std::string& text) {
        EXPECT_EQ(Form().CurrentFile(), file);
        EXPECT_EQ(Form().Memo1.Text(), W(text));
        EXPECT_TRUE(Form().Memo1.Modified());
        EXPECT_EQ(Indicator(), "変更あり");
    }
    static void ExpectGuardQuestion(const ModalAnswerer::Seen& seen, const std::string& name) {
        EXPECT_EQ(seen.className, kMessageBox);
        EXPECT_EQ(seen.text, Question(name)) << Utf8(seen.text);
        EXPECT_EQ(seen.buttons, kYesNoCancel);
    }

    ScratchFolder folder;
};

// --- New -------------------------------------------------------------------------

TEST_F(FileCommandsTest, NewOnAnUnmodifiedDocumentAsksNothing) {
    WriteBytes(folder / "a.txt", "text");
    Load(folder / "a.txt");
    Form().Memo1.SetReadOnly(true);
    Boxes boxes;
    Command("New1");
    EXPECT_TRUE(boxes.Unexpected().empty());
    ExpectUntitledAndEmpty();
    // The read-only state is left as it was.
    EXPECT_TRUE(Form().Memo1.ReadOnly());
}

TEST_F(FileCommandsTest, NewAnsweredNoDiscardsAndCancelKeepsEverything) {
    Type("draft");
    {
        Boxes boxes;
        boxes.Expect(kMessageBox, Press(kCancel));
        Command("New1");
        EXPECT_TRUE(boxes.Unexpected().empty());
        ASSERT_EQ(boxes.Count(), 1u);
        ExpectGuardQuestion(boxes.At(0), "無題");
        EXPECT_EQ(boxes.At(0).caption, "確認");
        ExpectStillModified("無題", "draft");
        EXPECT_EQ(Caption(), "無題 - もけらメモ帳");
    }
    {
        Boxes boxes;
        boxes.Expect(kMessageBox, Press(kNo));
        Command("New1");
        EXPECT_TRUE(boxes.Unexpected().empty());
        EXPECT_EQ(boxes.Count(), 1u);
        ExpectUntitledAndEmpty();
    }
}

TEST_F(FileCommandsTest, NewAnsweredYesSavesTheNamedDocumentFirst) {
    const std::string path = folder / "named.txt";
    WriteBytes(path, "old\r\n");
    Load(path);
    Type("new ");
    Boxes boxes;
    boxes.Expect(kMessageBox, Press(kYes));
    Command("New1");
    EXPECT_TRUE(boxes.Unexpected().empty());
    ASSERT_EQ(boxes.Count(), 1u);
    ExpectGuardQuestion(boxes.At(0), "named.txt");
    EXPECT_EQ(ReadBytes(path), "new old\r\n");
    ExpectUntitledAndEmpty();
}

TEST_F(FileCommandsTest, NewAnsweredYesOnAnUntitledDocumentSavesAsTheNameChosen) {
    Type("keep me");
    Boxes boxes;
    boxes.Expect(kMessageBox, Press(kYes)).Expect(kSystemDialog, ChooseFile(folder / "kept"));
    Command("New1");
    EXPECT_TRUE(boxes.Unexpected().empty());
    EXPECT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(ReadBytes(folder / "kept.txt"), "keep me");
    ExpectUntitledAndEmpty();
}

TEST_F(FileCommandsTest, YesThenCancellingSaveAsEndsNewAsCancelWould) {
    Type("precious");
    Boxes boxes;
    boxes.Expect(kMessageBox, Press(kYes)).Expect(kSystemDialog, CancelDialog());
    Command("New1");
    EXPECT_TRUE(boxes.Unexpected().empty());
    EXPECT_EQ(boxes.Count(), 2u);
    ExpectStillModified("無題", "precious");
    EXPECT_TRUE(folder.Files().empty());
}

TEST_F(FileCommandsTest, YesThenDecliningTheOverwriteEndsNewAsCancelWould) {
    WriteBytes(folder / "taken.txt", "someone else's");
    Type("precious");
    Boxes boxes;
    boxes.Expect(kMessageBox, Press(kYes))
        .Expect(kSystemDialog, ChooseFile(folder / "taken.txt"))
        .Expect(kMessageBox, Press(kNo));
    Command("New1");
    EXPECT_TRUE(boxes.Unexpected().empty());
    ASSERT_EQ(boxes.Count(), 3u);
    EXPECT_EQ(boxes.At(2).text, OverwriteQuestion(folder / "taken.txt")) << Utf8(boxes.At(2).text);
    ExpectStillModified("無題", "precious");
    EXPECT_EQ(ReadBytes(folder / "taken.txt"), "someone else's");
}

// --- Open --------------------------------------------------------------------------

TEST_F(FileCommandsTest, OpenLoadsTheChosenFileWritableAndUnmodified) {
    const std::string path = folder / "document.txt";
    WriteBytes(path, "line one\nline two\rline three");
    Form().Memo1.SetReadOnly(true);
    Boxes boxes;
    boxes.Expect(kSystemDialog, ChooseFile(path));
    Command("Open1");
    EXPECT_TRUE(boxes.Unexpected().empty());
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.At(0).owner, Application().Handle());
    ExpectNamed(path, "document.txt", "line one\r\nline two\r\nline three");
    EXPECT_FALSE(Form().Memo1.ReadOnly());
}

TEST_F(FileCommandsTest, OpenCancelledInTheDialogLeavesTheDocument) {
    Type("draft");
    Boxes boxes;
    boxes.Expect(kMessageBox, Press(kNo)).Expect(kSystemDialog, CancelDialog());
    Command("Open1");
    EXPECT_TRUE(boxes.Unexpected().empty());
    EXPECT_EQ(boxes.Count(), 2u);
    ExpectStillModified("無題", "draft");
}

TEST_F(FileCommandsTest, OpenCancelledInTheGuardShowsNoDialog) {
    Type("draft");
    Boxes boxes;
    boxes.Expect(kMessageBox, Press(kCancel));
    Command("Open1");
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_TRUE(boxes.Unexpected().empty()) << boxes.Unexpected()[0];
    ExpectStillModified("無題", "draft");
}

TEST_F(FileCommandsTest, OpenAfterYesAndACancelledSaveAsShowsNoOpenDialog) {
    Type("precious");
    Boxes boxes;
    boxes.Expect(kMessageBox, Press(kYes)).Expect(kSystemDialog, CancelDialog());
    Command("Open1");
    EXPECT_EQ(boxes.Count(), 2u);
    EXPECT_TRUE(boxes.Unexpected().empty()) << boxes.Unexpected()[0];
    ExpectStillModified("無題", "precious");
}

TEST_F(FileCommandsTest, OpeningTwiceOffersThePathAndFilterChosenFirst) {
    WriteBytes(folder / "first.dat", "first");
    std::string offeredName, offeredFolder;
    int offeredFilter = -1;
    {
        Boxes boxes;
        boxes.Expect(kSystemDialog, [&](HWND dialog) {
            HWND types = GetDlgItem(dialog, cmb1);
            SendMessageA(types, CB_SETCURSEL, 1, 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(types));
            ChooseFile(folder / "first.dat")(dialog);
        });
        Command("Open1");
        EXPECT_TRUE(boxes.Unexpected().empty());
    }
    ExpectNamed(folder / "first.dat", "first.dat", "first");
    {
        Boxes boxes;
        boxes.Expect(kSystemDialog, [&](HWND dialog) {
            offeredName = WindowText(FileNameField(dialog));
            char path[MAX_PATH] = {};
            SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
            offeredFolder = path;
            offeredFilter = static_cast<int>(SendMessageA(GetDlgItem(dialog, cmb1), CB_GETCURSEL, 0, 0));
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        Command("Open1");
        EXPECT_TRUE(boxes.Unexpected().empty());
    }
    EXPECT_TRUE(offeredName == "first.dat" || offeredName == folder / "first.dat") << offeredName;
    EXPECT_EQ(offeredFolder, folder.Path());
    EXPECT_EQ(offeredFilter, 1);
    EXPECT_EQ(Form().OpenDialog.FilterIndex(), 2);
    ExpectNamed(folder / "first.dat", "first.dat", "first");
}

TEST_F(FileCommandsTest, FileThatCannotBeLoadedEndsInTheErrorBoxAndAnUntitledDocument) {
    WriteBytes(folder / "zero.txt", "before\0after"s);
    WriteBytes(folder / "odd.txt", "a lead byte before a break \x81\n");
    WriteBytes(folder / "held.txt", "held");
    WriteBytes(folder / "shown.txt", "shown");
    HeldFile held(folder / "held.txt");
    ASSERT_TRUE(held.Holding());
    for (const std::string& path :
         {folder / "missing.txt", folder / "zero.txt", folder / "odd.txt", folder / "held.txt"}) {
        SCOPED_TRACE(path);
        Load(folder / "shown.txt");
        Boxes boxes;
        boxes.Expect(kMessageBox, Press("OK"));
        Form().OpenFile(path);
        EXPECT_TRUE(boxes.Unexpected().empty());
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.At(0).caption, "ｴﾗｰ");
        EXPECT_EQ(boxes.At(0).text, kTooLarge);
        EXPECT_EQ(boxes.At(0).buttons, std::vector<std::string>{"OK"});
        ExpectUntitledAndEmpty();
    }
}

// --- Save and Save As ----------------------------------------------------------------

TEST_F(FileCommandsTest, SaveWritesLoadedFilesBackWithCrLfBreaks) {
    struct Case {
        std::string bytes, saved;
    };
    const Case cases[] = {
        {"crlf\r\nfile\r\n\r\nend", "crlf\r\nfile\r\n\r\nend"},
        {"lf\nfile\n", "lf\r\nfile\r\n"},
        {"cr\rfile\r", "cr\r\nfile\r\n"},
        {"表示\r\nﾃｷｽﾄ", "表示\r\nﾃｷｽﾄ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes));
        const std::string path = folder / "doc.txt";
        WriteBytes(path, c.bytes);
        Load(path);
        Boxes boxes;
        Command("Save1");
        EXPECT_TRUE(boxes.Unexpected().empty());
        EXPECT_EQ(ReadBytes(path), c.saved);
        EXPECT_EQ(folder.Files(), std::vector<std::string>{"doc.txt"});
    }
}

TEST_F(FileCommandsTest, SaveWritesWithoutADialogAndCreatesADeletedFileAgain) {
    const std::string path = folder / "doc.txt";
    WriteBytes(path, "old");
    Load(path);
    Type("new ");
    {
        Boxes boxes;
        Command("Save1");
        EXPECT_TRUE(boxes.Unexpected().empty());
    }
    EXPECT_EQ(ReadBytes(path), "new old");
    ExpectNamed(path, "doc.txt", "new old");

    ASSERT_TRUE(DeleteFileA(path.c_str()));
    Type("again ");
    {
        Boxes boxes;
        Command("Save1");
        EXPECT_TRUE(boxes.Unexpected().empty());
    }
    // The caret stayed after the first words typed.
    EXPECT_EQ(ReadBytes(path), "new again old");
    ExpectNamed(path, "doc.txt", "new again old");
}

TEST_F(FileCommandsTest, SaveOnAnUntitledDocumentAsksForANameAndAppendsTxt) {
    Type("fresh");
    Boxes boxes;
    boxes.Expect(kSystemDialog, ChooseFile(folder / "fresh"));
    Command("Save1");
    EXPECT_TRUE(boxes.Unexpected().empty());
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(ReadBytes(folder / "fresh.txt"), "fresh");
    ExpectNamed(folder / "fresh.txt", "fresh.txt", "fresh");
    EXPECT_EQ(Form().SaveDialog.FileName(), folder / "fresh.txt");
}

TEST_F(FileCommandsTest, SaveAsOntoTheCurrentFileAsksTheOverwriteQuestion) {
    const std::string path = folder / "same.txt";
    WriteBytes(path, "old");
    Load(path);
    Type("new ");
    {
        Boxes boxes;
        boxes.Expect(kSystemDialog, ChooseFile(path)).Expect(kMessageBox, Press(kNo));
        Command("SaveAs1");
        EXPECT_TRUE(boxes.Unexpected().empty());
        ASSERT_EQ(boxes.Count(), 2u);
        EXPECT_EQ(boxes.At(1).text, OverwriteQuestion(path)) << Utf8(boxes.At(1).text);
        EXPECT_EQ(boxes.At(1).caption, "確認");
        EXPECT_EQ(boxes.At(1).buttons, kYesNoCancel);
        EXPECT_EQ(ReadBytes(path), "old");
        ExpectStillModified(path, "new old");
    }
    {
        Boxes boxes;
        boxes.Expect(kSystemDialog, ChooseFile(path)).Expect(kMessageBox, Press(kCancel));
        Command("SaveAs1");
        EXPECT_TRUE(boxes.Unexpected().empty());
        EXPECT_EQ(ReadBytes(path), "old");
        ExpectStillModified(path, "new old");
    }
    {
        Boxes boxes;
        boxes.Expect(kSystemDialog, ChooseFile(path)).Expect(kMessageBox, Press(kYes));
        Command("SaveAs1");
        EXPECT_TRUE(boxes.Unexpected().empty());
        EXPECT_EQ(ReadBytes(path), "new old");
        ExpectNamed(path, "same.txt", "new old");
    }
}

TEST_F(FileCommandsTest, SaveAsToANewNameRenamesTheDocument) {
    const std::string path = folder / "old name.txt";
    WriteBytes(path, "text");
    Load(path);
    Boxes boxes;
    boxes.Expect(kSystemDialog, ChooseFile(folder / "新しい名前.txt"));
    Command("SaveAs1");
    EXPECT_TRUE(boxes.Unexpected().empty());
    EXPECT_EQ(ReadBytes(folder / "新しい名前.txt"), "text");
    EXPECT_EQ(ReadBytes(path), "text");
    ExpectNamed(folder / "新しい名前.txt", "新しい名前.txt", "text");
}

// The standard error box of a failed save.
void ExpectErrorBox(const ModalAnswerer::Seen& seen, const std::string& text) {
    EXPECT_EQ(seen.className, kSystemDialog);
    EXPECT_EQ(seen.text, text) << Utf8(seen.text);
    EXPECT_EQ(seen.caption, Application().Title());
    EXPECT_EQ(seen.owner, Application().Handle());
}

TEST_F(FileCommandsTest, SaveOntoAReadOnlyFileFailsAndLeavesFileAndDocument) {
    const std::string path = folder / "readonly.txt";
    WriteBytes(path, "keep\r\n");
    Load(path);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    Type("lost? ");
    Boxes boxes;
    boxes.Expect(kSystemDialog, Dismiss());
    Command("Save1");
    EXPECT_TRUE(boxes.Unexpected().empty());
    ASSERT_EQ(boxes.Count(), 1u);
    ExpectErrorBox(boxes.At(0), "ﾌｧｲﾙ " + path + " を作成できません.");
    EXPECT_EQ(boxes.At(0).caption, "readonly.txt - もけらメモ帳");
    EXPECT_EQ(ReadBytes(path), "keep\r\n");
    ExpectStillModified(path, "lost? keep\r\n");
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"readonly.txt"});
}

TEST_F(FileCommandsTest, SaveAsOntoAReadOnlyFileFailsAndKeepsTheOldName) {
    const std::string target = folder / "readonly.txt";
    WriteBytes(target, "keep");
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    Type("draft");
    Boxes boxes;
    boxes.Expect(kSystemDialog, ChooseFile(target))
        .Expect(kMessageBox, Press(kYes))
        .Expect(kSystemDialog, Dismiss());
    Command("SaveAs1");
    EXPECT_TRUE(boxes.Unexpected().empty());
    ASSERT_EQ(boxes.Count(), 3u);
    ExpectErrorBox(boxes.At(2), "ﾌｧｲﾙ " + target + " を作成できません.");
    EXPECT_EQ(ReadBytes(target), "keep");
    ExpectStillModified("無題", "draft");
    EXPECT_EQ(Caption(), "無題 - もけらメモ帳");
}

TEST_F(FileCommandsTest, SaveOntoAFileHeldByAnotherProgramFails) {
    const std::string path = folder / "held.txt";
    WriteBytes(path, "held");
    Load(path);
    Type("more ");
    HeldFile held(path);
    ASSERT_TRUE(held.Holding());
    Boxes boxes;
    boxes.Expect(kSystemDialog, Dismiss());
    Command("Save1");
    EXPECT_TRUE(boxes.Unexpected().empty());
    ASSERT_EQ(boxes.Count(), 1u);
    ExpectErrorBox(boxes.At(0), "ﾌｧｲﾙ " + path + " を作成できません.");
    held.Release();
    EXPECT_EQ(ReadBytes(path), "held");
    ExpectStillModified(path, "more held");
}

TEST_F(FileCommandsTest, SaveOnAFullDiskFailsAndLeavesTheOldFile) {
    const std::string disk = FullDiskFolder();
    if (disk.empty())
        GTEST_SKIP() << "MOKE_FULL_DISK is not set (make test mounts a 64 KiB tmpfs for this test)";
    ScratchFolder small(disk);
    const std::string path = small / "doc.txt";
    WriteBytes(path, "small old file\r\n");
    Load(path);
    std::string big;
    while (big.size() < 200 * 1024)
        big += "more than the disk holds\r\n";
    Form().Memo1.SetText(W(big));
    Form().Memo1.SetModified(true);
    Boxes boxes;
    boxes.Expect(kSystemDialog, Dismiss());
    Command("Save1");
    EXPECT_TRUE(boxes.Unexpected().empty());
    ASSERT_EQ(boxes.Count(), 1u);
    ExpectErrorBox(boxes.At(0), "ｽﾄﾘｰﾑへの書き込みｴﾗｰ.");
    EXPECT_EQ(ReadBytes(path), "small old file\r\n");
    EXPECT_EQ(Form().CurrentFile(), path);
    EXPECT_TRUE(Form().Memo1.Modified());
    EXPECT_EQ(small.Files(), std::vector<std::string>{"doc.txt"});
}

// --- Drops --------------------------------------------------------------------------

TEST_F(FileCommandsTest, WindowAcceptsDroppedFiles) {
    EXPECT_TRUE(GetWindowLongPtrA(Form().Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(FileCommandsTest, DropOfThreeFilesOpensTheFirst) {
    WriteBytes(folder / "one.txt", "one");
    WriteBytes(folder / "two.txt", "two");
    WriteBytes(folder / "three.txt", "three");
    Form().Memo1.SetReadOnly(true);
    Boxes boxes;
    EXPECT_EQ(Drop({folder / "one.txt", folder / "two.txt", folder / "three.txt"}), 0);
    EXPECT_TRUE(boxes.Unexpected().empty());
    ExpectNamed(folder / "one.txt", "one.txt", "one");
    // A drop leaves the read-only state alone.
    EXPECT_TRUE(Form().Memo1.ReadOnly());
}

TEST_F(FileCommandsTest, DropReleasesTheDropHandle) {
    WriteBytes(folder / "one.txt", "one");
    HDROP drop = MakeDrop({folder / "one.txt"});
    SendMessageA(Form().Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(GlobalSize(reinterpret_cast<HGLOBAL>(drop)), 0u);
    // Also when the guard cancels.
    Type("x");
    drop = MakeDrop({folder / "one.txt"});
    Boxes boxes;
    boxes.Expect(kMessageBox, Press(kCancel));
    EXPECT_EQ(SendMessageA(Form().Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0), 0);
    EXPECT_EQ(GlobalSize(reinterpret_cast<HGLOBAL>(drop)), 0u);
}

TEST_F(FileCommandsTest, DropOnAModifiedDocumentRunsTheGuard) {
    const std::string dropped = folder / "dropped.txt";
    WriteBytes(dropped, "dropped");
    Type("draft");
    {
        Boxes boxes;
        boxes.Expect(kMessageBox, Press(kCancel));
        Drop({dropped});
        EXPECT_TRUE(boxes.Unexpected().empty());
        ASSERT_EQ(boxes.Count(), 1u);
        ExpectGuardQuestion(boxes.At(0), "無題");
        ExpectStillModified("無題", "draft");
    }
    {
        Boxes boxes;
        boxes.Expect(kMessageBox, Press(kYes)).Expect(kSystemDialog, CancelDialog());
        Drop({dropped});
        EXPECT_TRUE(boxes.Unexpected().empty());
        EXPECT_EQ(boxes.Count(), 2u);
        ExpectStillModified("無題", "draft");
    }
    {
        Boxes boxes;
        boxes.Expect(kMessageBox, Press(kYes)).Expect(kSystemDialog, ChooseFile(folder / "draft.txt"));
        Drop({dropped});
        EXPECT_TRUE(boxes.Unexpected().empty());
        EXPECT_EQ(ReadBytes(folder / "draft.txt"), "draft");
        ExpectNamed(dropped, "dropped.txt", "dropped");
    }
    Type("changed ");
    {
        Boxes boxes;
        boxes.Expect(kMessageBox, Press(kNo));
        Drop({folder / "draft.txt"});
        EXPECT_TRUE(boxes.Unexpected().empty());
        ExpectGuardQuestion(boxes.At(0), "dropped.txt");
        EXPECT_EQ(ReadBytes(dropped), "dropped");
        ExpectNamed(folder / "draft.txt", "draft.txt", "draft");
    }
}

TEST_F(FileCommandsTest, DroppedPathIsUsedWholeHoweverLong) {
    // A path of 259 bytes, the most a file name can have here: longer than
    // any 256-byte buffer.
    std::string path = folder.Path() + "\\";
    std::string sub = path + std::string(100, 'd');
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    path = sub + "\\" + std::string(259 - sub.size() - 1 - 4, 'f') + ".txt";
    ASSERT_EQ(path.size(), 259u);
    WriteBytes(path, "far away");
    {
        Boxes boxes;
        Drop({path, folder / "other.txt"});
        EXPECT_TRUE(boxes.Unexpected().empty()) << boxes.Unexpected()[0];
        EXPECT_EQ(Form().CurrentFile(), path);
        EXPECT_EQ(Form().Memo1.Text(), W("far away"));
    }
    // Longer than the system lets a file have: the whole name is tried and
    // ends in the error box, never in the file that a name cut at 255 bytes
    // would find.
    const std::string tooLong = path + std::string(40, 'x');
    WriteBytes(tooLong.substr(0, 255), "cut");
    {
        Boxes boxes;
        boxes.Expect(kMessageBox, Press("OK"));
        Drop({tooLong});
        EXPECT_TRUE(boxes.Unexpected().empty());
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.At(0).text, kTooLarge);
        ExpectUntitledAndEmpty();
    }
}

// --- Closing ----------------------------------------------------------------------------

TEST_F(FileCommandsTest, ClosingAnUnmodifiedDocumentAsksNothing) {
    Boxes boxes;
    SendMessageA(Form().Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_TRUE(boxes.Unexpected().empty());
    EXPECT_TRUE(Application().Terminated());
}

TEST_F(FileCommandsTest, ClosingAModifiedDocumentRunsTheGuard) {
    Type("draft");
    {
        Boxes boxes;
        boxes.Expect(kMessageBox, Press(kCancel));
        SendMessageA(Form().Handle(), WM_CLOSE, 0, 0);
        Pump();
        EXPECT_TRUE(boxes.Unexpected().empty());
        ASSERT_EQ(boxes.Count(), 1u);
        ExpectGuardQuestion(boxes.At(0), "無題");
        EXPECT_FALSE(Application().Terminated());
        ExpectStillModified("無題", "draft");
    }
    {
        // Yes, then no name: the window stays open with the changes.
        Boxes boxes;
        boxes.Expect(kMessageBox, Press(kYes)).Expect(kSystemDialog, CancelDialog());
        Command("Exit1");
        EXPECT_TRUE(boxes.Unexpected().empty());
        EXPECT_EQ(boxes.Count(), 2u);
        EXPECT_FALSE(Application().Terminated());
        ExpectStillModified("無題", "draft");
    }
    {
        Boxes boxes;
        boxes.Expect(kMessageBox, Press(kNo));
        Command("Exit1");
        EXPECT_TRUE(boxes.Unexpected().empty());
        EXPECT_TRUE(Application().Terminated());
    }
}

TEST_F(FileCommandsTest, ClosingWithYesSavesAndAFailedSaveKeepsTheWindowOpenSilently) {
    const std::string path = folder / "doc.txt";
    WriteBytes(path, "old");
    Load(path);
    Type("new ");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    {
        Boxes boxes;
        boxes.Expect(kMessageBox, Press(kYes));
        SendMessageA(Form().Handle(), WM_CLOSE, 0, 0);
        Pump();
        // The failure is swallowed: no error box.
        EXPECT_TRUE(boxes.Unexpected().empty()) << boxes.Unexpected()[0];
        EXPECT_FALSE(Application().Terminated());
        EXPECT_EQ(ReadBytes(path), "old");
        ExpectStillModified(path, "new old");
    }
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));
    {
        Boxes boxes;
        boxes.Expect(kMessageBox, Press(kYes));
        SendMessageA(Form().Handle(), WM_CLOSE, 0, 0);
        Pump();
        EXPECT_TRUE(boxes.Unexpected().empty());
        EXPECT_TRUE(Application().Terminated());
        EXPECT_EQ(ReadBytes(path), "new old");
    }
}

TEST_F(FileCommandsTest, SessionEndRunsTheCloseQuery) {
    EXPECT_EQ(SendMessageA(Form().Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    Type("draft");
    {
        Boxes boxes;
        boxes.Expect(kMessageBox, Press(kCancel));
        EXPECT_EQ(SendMessageA(Form().Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
        EXPECT_EQ(boxes.Count(), 1u);
        EXPECT_TRUE(boxes.Unexpected().empty());
        ExpectStillModified("無題", "draft");
    }
    {
        Boxes boxes;
        boxes.Expect(kMessageBox, Press(kNo));
        EXPECT_EQ(SendMessageA(Form().Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
        EXPECT_EQ(boxes.Count(), 1u);
        EXPECT_TRUE(boxes.Unexpected().empty());
    }
}

// --- Start-up ------------------------------------------------------------------------

class StartUpTest : public testing::Test {
  protected:
    void Start(std::vector<std::string> arguments) { StartMainForm(form, std::move(arguments)); }
    void TearDown() override { EndMainForm(form); }

    ScratchFolder folder;
    std::unique_ptr<TMainForm> form;
};

TEST_F(StartUpTest, ShortNameOnTheCommandLineOpensWithTheLongName) {
    const std::string longFolder = folder / "Long Folder Name";
    ASSERT_TRUE(CreateDirectoryA(longFolder.c_str(), nullptr));
    const std::string path = longFolder + "\\Long Document Name.txt";
    WriteBytes(path, "from the command line\n");
    char shortPath[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameA(path.c_str(), shortPath, MAX_PATH), 0u);
    ASSERT_NE(std::string(shortPath), path);
    Boxes boxes;
    Start({"MokeMemo.exe", shortPath});
    EXPECT_TRUE(boxes.Unexpected().empty());
    EXPECT_EQ(form->CurrentFile(), path);
    EXPECT_EQ(WindowText(form->Handle()), "Long Document Name.txt - もけらメモ帳");
    EXPECT_EQ(form->Memo1.Text(), W("from the command line\r\n"));
    EXPECT_FALSE(form->Memo1.Modified());
}

TEST_F(StartUpTest, QuotedArgumentWithBlanksOpensThatFileAndUnquotedOnlyItsFirstPart) {
    const std::string path = folder / "name with blanks.txt";
    WriteBytes(path, "blanks");
    {
        Boxes boxes;
        Start(SplitCommandLine("\"C:\\Program Files\\MokeMemo.exe\" \"" + path + "\" second.txt"));
        EXPECT_TRUE(boxes.Unexpected().empty());
        EXPECT_EQ(form->CurrentFile(), path);
        EXPECT_EQ(form->Memo1.Text(), W("blanks"));
        TearDown();
    }
    {
        Boxes boxes;
        boxes.Expect(kMessageBox, Press("OK"));
        Start(SplitCommandLine("MokeMemo.exe " + path));
        EXPECT_TRUE(boxes.Unexpected().empty());
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.At(0).text, kTooLarge);
        EXPECT_EQ(form->CurrentFile(), "無題");
        EXPECT_EQ(WindowText(form->Handle()), "無題 - もけらメモ帳");
    }
}

// A name relative to the folder the program was started in names that file
// for good: Save still writes it after a file dialog has made another folder
// the current one.
TEST_F(StartUpTest, RelativeArgumentsNameTheFileInTheStartingFolderForGood) {
    const std::string sub = folder / "sub";
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    const std::string path = sub + "\\rel.txt";
    WriteBytes(path, "relative");
    for (const char* argument : {"rel.txt", ".\\rel.txt", "..\\sub\\rel.txt"}) {
        SCOPED_TRACE(argument);
        {
            CurrentFolder in(sub);
            ASSERT_TRUE(in.Changed());
            Boxes boxes;
            Start({"MokeMemo.exe", argument});
            EXPECT_TRUE(boxes.Unexpected().empty());
        }
        EXPECT_EQ(form->CurrentFile(), path);
        EXPECT_EQ(form->Memo1.Text(), W("relative"));
        TearDown();
    }
    {
        CurrentFolder in(sub);
        Start({"MokeMemo.exe", "rel.txt"});
    }
    CurrentFolder elsewhere(folder.Path());
    form->Memo1.SetText(W("saved again"));
    TObject& sender = *form;
    form->Save1Click(sender);
    EXPECT_EQ(ReadBytes(path), "saved again");
    EXPECT_EQ(ReadBytes(folder / "rel.txt"), "<missing>");
}

TEST_F(StartUpTest, LongArgumentIsUsedWhole) {
    const std::string sub = folder / std::string(120, 'd');
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    const std::string path = sub + "\\" + std::string(259 - sub.size() - 1 - 4, 'f') + ".txt";
    ASSERT_EQ(path.size(), 259u);
    WriteBytes(path, "long");
    Boxes boxes;
    Start(SplitCommandLine("MokeMemo.exe \"" + path + "\""));
    EXPECT_TRUE(boxes.Unexpected().empty());
    EXPECT_EQ(form->CurrentFile(), path);
    EXPECT_EQ(form->Memo1.Text(), W("long"));
}

TEST_F(StartUpTest, MissingDocumentStartsUntitledAfterTheErrorBox) {
    Boxes boxes;
    boxes.Expect(kMessageBox, Press("OK"));
    Start({"MokeMemo.exe", folder / "missing.txt"});
    EXPECT_TRUE(boxes.Unexpected().empty());
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.At(0).text, kTooLarge);
    EXPECT_EQ(boxes.At(0).caption, "ｴﾗｰ");
    EXPECT_EQ(form->CurrentFile(), "無題");
    EXPECT_EQ(form->Memo1.Text(), W(""));
    EXPECT_FALSE(form->Memo1.Modified());
}

// --- Speed -------------------------------------------------------------------------------

// Not a timed test: prints how long a 10 MB document takes to load and save
// through the main window, and checks that it comes back byte for byte.
TEST_F(FileCommandsTest, TenMegabyteDocumentLoadsAndSavesWhole) {
    std::string bytes;
    const std::string line =
        "0123456789 もけらメモ帳 ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz\r\n";
    while (bytes.size() < 10 * 1000 * 1000)
        bytes += line;
    const std::string path = folder / "big.txt";
    WriteBytes(path, bytes);

    const auto loadStart = std::chrono::steady_clock::now();
    Load(path);
    const auto loaded = std::chrono::steady_clock::now();
    EXPECT_EQ(Form().Memo1.TextLength(), W(bytes).size());
    Form().Memo1.SetModified(true);
    const auto saveStart = std::chrono::steady_clock::now();
    Command("Save1");
    const auto saved = std::chrono::steady_clock::now();
    EXPECT_FALSE(Form().Memo1.Modified());
    EXPECT_TRUE(ReadBytes(path) == bytes);
    using ms = std::chrono::milliseconds;
    std::printf("[ figures  ] %zu bytes: load %lld ms, save %lld ms\n", bytes.size(),
                static_cast<long long>(std::chrono::duration_cast<ms>(loaded - loadStart).count()),
                static_cast<long long>(std::chrono::duration_cast<ms>(saved - saveStart).count()));
}


// --- Encodings -------------------------------------------------------------------------

TEST_F(FileCommandsTest, StatusBarNamesTheEncodingOfEachDocument) {
    const struct {
        std::string bytes;
        const char* shown;
    } cases[] = {
        {"\x93\xFA\x96\x7B", "Shift_JIS"},
        {"\xE6\x97\xA5", "UTF-8"},
        {"\xEF\xBB\xBFx", "UTF-8 BOM"},
        {"\xFF\xFEx\0"s, "UTF-16LE"},
        {"\xFE\xFF\0x"s, "UTF-16BE"},
    };
    for (const auto& c : cases) {
        WriteBytes(folder / "doc.txt", c.bytes);
        Load(folder / "doc.txt");
        EXPECT_EQ(Form().StatusBar.Panel(1).text, c.shown);
    }
    Command("New1");
    EXPECT_EQ(Form().StatusBar.Panel(1).text, "Shift_JIS") << "a new document is Shift-JIS";
}

TEST_F(FileCommandsTest, UnicodePasteIntoAShiftJisDocumentAsksBeforeItIsSaved) {
    const std::string path = folder / "doc.txt";
    WriteBytes(path, "abc");
    Load(path);
    const std::wstring pasted = L"A\U0001F600 \ud55c\uad6d \u00e4 \u20ac Z";
    ASSERT_TRUE(PutWideTextOnClipboard(pasted));
    Form().Memo1.SetFocus();
    Form().Memo1.SetSelection(3, 3);
    PostKey(Form().Memo1.Handle(), 'V', false, true); // Ctrl+V
    Pump();
    ASSERT_EQ(Form().Memo1.Text(), L"abc" + pasted) << "the control holds every character";
    const std::string question = "この文書には Shift_JIS で保存できない文字があります。\rUTF-8 で保存しますか?";

    // No and Cancel write nothing and keep the document as it is.
    for (const char* answer : {kNo, kCancel}) {
        Boxes boxes;
        boxes.Expect(kMessageBox, Press(answer));
        Command("Save1");
        EXPECT_TRUE(boxes.Unexpected().empty());
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.At(0).text, question) << Utf8(boxes.At(0).text);
        EXPECT_EQ(boxes.At(0).buttons, kYesNoCancel);
        EXPECT_EQ(ReadBytes(path), "abc");
        EXPECT_EQ(Form().Memo1.Text(), L"abc" + pasted);
        EXPECT_TRUE(Form().Memo1.Modified());
        EXPECT_EQ(Indicator(), "変更あり");
        EXPECT_EQ(Form().StatusBar.Panel(1).text, "Shift_JIS");
    }

    // Nor does the window close when the guard's Yes meets that question's No.
    {
        Boxes boxes;
        boxes.Expect(kMessageBox, Press(kYes)).Expect(kMessageBox, Press(kNo));
        Command("Exit1");
        EXPECT_TRUE(boxes.Unexpected().empty());
        EXPECT_EQ(boxes.Count(), 2u);
        EXPECT_TRUE(IsWindowVisible(Form().Handle())) << "the window stays";
        EXPECT_EQ(ReadBytes(path), "abc");
    }

    // Yes writes UTF-8, and the document is UTF-8 from then on.
    Boxes boxes;
    boxes.Expect(kMessageBox, Press(kYes));
    Command("Save1");
    EXPECT_TRUE(boxes.Unexpected().empty());
    EXPECT_EQ(ReadBytes(path), "abcA\xF0\x9F\x98\x80 \xED\x95\x9C\xEA\xB5\xAD \xC3\xA4 \xE2\x82\xAC Z");
    EXPECT_FALSE(Form().Memo1.Modified());
    EXPECT_EQ(Indicator(), "");
    EXPECT_EQ(Form().StatusBar.Panel(1).text, "UTF-8");
    Boxes none;
    Command("Save1");
    EXPECT_EQ(none.Count(), 0u) << "no question for a UTF-8 document";
}

TEST_F(FileCommandsTest, DropWhileADialogIsUpIsReleasedAndIgnored) {
    WriteBytes(folder / "dropped.txt", "dropped text");
    Type("typed");
    Boxes boxes;
    HDROP drop = MakeDrop({folder / "dropped.txt"});
    boxes.Expect(kSystemDialog, [&](HWND dialog) {
        SendMessageA(Form().Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    Command("SaveAs1");
    EXPECT_TRUE(boxes.Unexpected().empty()) << "no question over the dialog";
    EXPECT_EQ(boxes.Count(), 1u);
    ExpectStillModified("無題", "typed");
    EXPECT_EQ(GlobalSize(reinterpret_cast<HGLOBAL>(drop)), 0u) << "the drop handle is released";
}

} // namespace
} // namespace moke::test
