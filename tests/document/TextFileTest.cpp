// Text files on a real disk, into and out of a real edit control and combo
// box: line breaks, byte-exact saving, the exclusive open, the update batch,
// every failure with its message and the path as passed, and a save that
// never puts the file on disk at risk (read-only target, a file held open by
// another process, a full disk).
#include "document/TextFile.h"
#include "document/editor/EditorWindow.h"

#include "app/frame/Application.h"
#include "app/frame/Failure.h"
#include "tests/support/Files.h"
#include "tests/support/ProgramText.h"
#include "tests/support/Gui.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

namespace moke::test {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

class TextFileTest : public testing::Test {
  protected:
    void SetUp() override {
        form = std::make_unique<TForm>(&Application(), "TTextFileTestForm");
        form->SetPosition(TPosition::Designed);
        form->SetBounds(60, 60, 420, 300);
        memo = &form->Make<TMemo>();
        memo->SetParent(form.get());
        memo->SetBounds(0, 40, 400, 200);
        memo->OnChange = [this](TObject&) {
            ++changes;
            if (duringChange) duringChange();
        };
        list = &form->Make<TComboBox>();
        list->SetParent(form.get());
        list->SetBounds(0, 0, 200, 24);
        form->Show();
        Pump();
        changes = 0;
    }
    void TearDown() override {
        form.reset();
        Pump();
    }

    std::string File(const std::string& name, const std::string& bytes) {
        const std::string path = folder / name;
        WriteBytes(path, bytes);
        return path;
    }
    Lines Entries() const {
        Lines entries;
        for (int i = 0; i < list->Count(); ++i)
            entries.push_back(list->Item(i));
        return entries;
    }
    // The failure raised by `action`, or a failed check when there is none.
    static Failure FailureOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const Failure& failure) {
            return failure;
        }
        ADD_FAILURE() << "no failure raised";
        return Failure("");
    }
    // Saves the editor's text as Shift-JIS, as a new document is.
    void Save(const std::string& path) {
        DocumentFormat format;
        if (!SaveTextFile(*memo, path, TextEncoding::ShiftJis, format)) ADD_FAILURE() << "not saved: " << path;
    }
    std::vector<WPARAM> Redraws(const SentMessageLog& log, HWND window) const {
        std::vector<WPARAM> seen;
        for (const auto& entry : log.Of(window, WM_SETREDRAW))
            seen.push_back(entry.wParam);
        return seen;
    }

    ScratchFolder folder;
    std::unique_ptr<TForm> form;
    TMemo* memo = nullptr;
    TComboBox* list = nullptr;
    int changes = 0;
    std::function<void()> duringChange;
};

const std::vector<WPARAM> kOffThenOn = {FALSE, TRUE};

// --- Loading into the editor ---------------------------------------------------

TEST_F(TextFileTest, LoadingTurnsEveryLineBreakIntoCrLf) {
    struct Case {
        std::string file, text;
    };
    const Case cases[] = {
        {"a\r\nb", "a\r\nb"},
        {"a\nb\n", "a\r\nb\r\n"},
        {"a\rb\r", "a\r\nb\r\n"},
        {"a\n\rb", "a\r\n\r\nb"},
        {"a\r\r\nb", "a\r\n\r\nb"},
        {"no break at the end", "no break at the end"},
        {"表示\r\nﾃｷｽﾄ\n", "表示\r\nﾃｷｽﾄ\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.file));
        LoadTextFile(*memo, File("in.txt", c.file));
        EXPECT_EQ(memo->Text(), W(c.text));
    }
}

TEST_F(TextFileTest, LoadedTextIsSavedByteForByteWithCrLfBreaks) {
    struct Case {
        std::string file, saved;
    };
    const Case cases[] = {
        {"one\r\ntwo\r\n\r\nthree\r\n", "one\r\ntwo\r\n\r\nthree\r\n"},
        {"no final break\r\nhere", "no final break\r\nhere"},
        {"lf\nbreaks\n", "lf\r\nbreaks\r\n"},
        {"cr\rbreaks\r", "cr\r\nbreaks\r\n"},
        {"表\\示 ｶﾅ\t\r\n", "表\\示 ｶﾅ\t\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.file));
        const std::string in = File("in.txt", c.file);
        LoadTextFile(*memo, in);
        Save(folder / "out.txt");
        EXPECT_EQ(ReadBytes(folder / "out.txt"), c.saved);
        // Saved onto itself, too.
        Save(in);
        EXPECT_EQ(ReadBytes(in), c.saved);
    }
}

TEST_F(TextFileTest, EmptyFileAndUnchangedFileChangeNothing) {
    LoadTextFile(*memo, File("empty.txt", ""));
    EXPECT_EQ(memo->Text(), W(""));
    EXPECT_EQ(changes, 0);

    const std::string path = File("text.txt", "line\nline\n");
    LoadTextFile(*memo, path);
    EXPECT_EQ(changes, 1);
    // The same text again leaves the editor as it is: selection and undo too.
    memo->SetSelection(2, 4);
    SendMessageW(memo->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"ne"));
    memo->SetSelection(1, 3);
    const std::string edited = File("edited.txt", "line\r\nline\r\n");
    const int before = changes;
    LoadTextFile(*memo, edited);
    EXPECT_EQ(changes, before);
    EXPECT_NE(SendMessageW(memo->Handle(), EM_CANUNDO, 0, 0), 0);
    DWORD start = 0, end = 0;
    SendMessageW(memo->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);

    // A non-empty editor is emptied by an empty file.
    LoadTextFile(*memo, folder / "empty.txt");
    EXPECT_EQ(memo->Text(), W(""));
    EXPECT_EQ(changes, before + 1);
}

TEST_F(TextFileTest, FileIsHeldExclusivelyUntilTheEditorHasTheText) {
    const std::string path = File("locked.txt", "text");
    DWORD errorDuringLoad = 0;
    duringChange = [&] {
        HANDLE other =
            CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
        errorDuringLoad = other == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    };
    LoadTextFile(*memo, path);
    ASSERT_EQ(changes, 1);
    EXPECT_EQ(errorDuringLoad, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    // Closed afterwards: an exclusive open goes through.
    HANDLE after = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(after, INVALID_HANDLE_VALUE);
    if (after != INVALID_HANDLE_VALUE) CloseHandle(after);
}

TEST_F(TextFileTest, DrawingIsOffForTheSpanOfALoadOnEveryPath) {
    {
        SentMessageLog log;
        LoadTextFile(*memo, File("ok.txt", "text"));
        EXPECT_EQ(Redraws(log, memo->Handle()), kOffThenOn);
        // The text went in while drawing was off.
        bool off = false, setWhileOff = false;
        for (const auto& entry : log.Entries()) {
            if (entry.window != memo->Handle()) continue;
            if (entry.msg == WM_SETREDRAW) off = entry.wParam == FALSE;
            if (entry.msg == editor::EM_TAKETEXT) setWhileOff = off;
        }
        EXPECT_TRUE(setWhileOff);
    }
    {
        SentMessageLog log;
        FailureOf([&] { LoadTextFile(*memo, File("zero.txt", "a\0b"s)); });
        EXPECT_EQ(Redraws(log, memo->Handle()), kOffThenOn);
    }
    {
        // A file that cannot be opened begins no batch.
        SentMessageLog log;
        FailureOf([&] { LoadTextFile(*memo, folder / "missing.txt"); });
        EXPECT_TRUE(Redraws(log, memo->Handle()).empty());
    }
}

// --- Load failures -------------------------------------------------------------

TEST_F(TextFileTest, FileThatCannotBeOpenedIsAFileOpenFailureNamingThePathAsPassed) {
    memo->SetText(W("before"));
    changes = 0;
    const std::string paths[] = {
        folder / "missing.txt",  "missing relative.txt", folder / "no such folder\\a.txt",
        folder / "bad?name.txt",
        folder.Path(), // a folder
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(Utf8(path));
        const Failure failure = FailureOf([&] { LoadTextFile(*memo, path); });
        EXPECT_EQ(failure.Kind(), FailureKind::FileOpen);
        EXPECT_EQ(failure.Message(), "ﾌｧｲﾙ " + path + " は開けません");
    }
    EXPECT_EQ(memo->Text(), W("before"));
    EXPECT_EQ(changes, 0);
}

TEST_F(TextFileTest, FileHeldOpenByAnotherProgramCannotBeLoadedWhateverItShares) {
    const std::string path = File("held.txt", "held text");
    memo->SetText(W("before"));
    changes = 0;
    for (DWORD share :
         {DWORD{0}, DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}}) {
        SCOPED_TRACE(share);
        HeldFile held(path, share);
        ASSERT_TRUE(held.Holding());
        const Failure failure = FailureOf([&] { LoadTextFile(*memo, path); });
        EXPECT_EQ(failure.Kind(), FailureKind::FileOpen);
        EXPECT_EQ(failure.Message(), "ﾌｧｲﾙ " + path + " は開けません");
        EXPECT_EQ(memo->Text(), W("before"));
        EXPECT_EQ(changes, 0);
        held.Release();
        LoadTextFile(*memo, path);
        EXPECT_EQ(memo->Text(), W("held text"));
        memo->SetText(W("before"));
        changes = 0;
    }
}

TEST_F(TextFileTest, FileHoldingANulByteIsNotLoadedCutShort) {
    memo->SetText(W("before"));
    changes = 0;
    const std::string files[] = {
        "ab\0cd"s,
        "\0"s,
        "line\r\n\0"s,
        // UTF-16 with a byte-order mark: "a", then a NUL character.
        "\xFF\xFE"
        "a\0\0\0b\0"s,
    };
    for (const std::string& bytes : files) {
        SCOPED_TRACE(::testing::PrintToString(bytes));
        const std::string path = File("zero.txt", bytes);
        const Failure failure = FailureOf([&] { LoadTextFile(*memo, path); });
        EXPECT_EQ(failure.Kind(), FailureKind::Capacity);
        EXPECT_EQ(memo->Text(), W("before"));
        EXPECT_EQ(changes, 0);
        // Closed: an exclusive open goes through.
        HANDLE after = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(after, INVALID_HANDLE_VALUE);
        if (after != INVALID_HANDLE_VALUE) CloseHandle(after);
    }
}

TEST_F(TextFileTest, TextTheControlWouldGiveBackChangedIsNotLoaded) {
    // A lead byte before a line break or at the very end is no character:
    // the control would hand back another one, and Save would write it.
    const std::string files[] = {"ok\r\n\x81\nnext", "ends in a lead byte \x81", "\x81\r\n"};
    for (const std::string& bytes : files) {
        SCOPED_TRACE(::testing::PrintToString(bytes));
        const Failure failure = FailureOf([&] { LoadTextFile(*memo, File("odd.txt", bytes)); });
        EXPECT_EQ(failure.Kind(), FailureKind::Capacity);
    }
    // Well-formed double-byte text and half-width katakana pass whole.
    const std::string good = "表示 ソ能 ｱｲｳ ①Ⅰ〜～∥－￢ \x81\x40\r\n";
    LoadTextFile(*memo, File("good.txt", good));
    EXPECT_EQ(memo->Text(), W(good));
}

TEST_F(TextFileTest, CharactersWithTwoCodesAreLoadedByTheirStandardCodes) {
    // ≒ and ∵ of the NEC row, 纊 of the NEC-selected IBM rows and Ⅰ of the
    // IBM rows: well-formed Shift-JIS, shown as the same characters.
    const std::string bytes = "a\x87\x90 \x87\x9A \xED\x40 \xFA\x4A\r\n";
    LoadTextFile(*memo, File("duplicates.txt", bytes));
    EXPECT_EQ(memo->Text(), W("a\x81\xE0 \x81\xE6 \xFA\x5C \x87\x54\r\n"));
    // The same characters with a malformed sequence among them are refused.
    memo->SetText(W("before"));
    const Failure failure =
        FailureOf([&] { LoadTextFile(*memo, File("mixed.txt", "\x87\x90 \x81\n")); });
    EXPECT_EQ(failure.Kind(), FailureKind::Capacity);
}

TEST_F(TextFileTest, FileThatDeliversFewerBytesThanItsSizeIsNotLoaded) {
    // Kernel attribute files report a size of a page and deliver a few bytes.
    const char* candidates[] = {"Z:\\sys\\kernel\\mm\\transparent_hugepage\\enabled",
                                "Z:\\sys\\devices\\system\\cpu\\online", "Z:\\sys\\kernel\\osrelease"};
    std::string path;
    for (const char* candidate : candidates) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA(candidate, GetFileExInfoStandard, &data)) continue;
        const std::string bytes = ReadBytes(candidate);
        if (bytes != "<missing>" && !bytes.empty() && data.nFileSizeLow > bytes.size()) {
            path = candidate;
            break;
        }
    }
    if (path.empty()) GTEST_SKIP() << "no file here reports a size larger than what it delivers";
    memo->SetText(W("before"));
    changes = 0;
    const Failure failure = FailureOf([&] { LoadTextFile(*memo, path); });
    EXPECT_EQ(failure.Kind(), FailureKind::FileOpen);
    EXPECT_EQ(failure.Message(), "ﾌｧｲﾙ " + path + " は開けません");
    EXPECT_EQ(memo->Text(), W("before"));
    EXPECT_EQ(changes, 0);
}

TEST_F(TextFileTest, TextTheControlRefusesIsACapacityFailureWithDrawingBackOnAndTheFileClosed) {
    memo->SetText(W("abc"));
    changes = 0;
    SendMessageA(memo->Handle(), EM_LIMITTEXT, 5, 0);
    const std::string path = File("big.txt", "0123456789");
    SentMessageLog log;
    const Failure failure = FailureOf([&] { LoadTextFile(*memo, path); });
    EXPECT_EQ(failure.Kind(), FailureKind::Capacity);
    EXPECT_EQ(failure.Message(), "文字列の大きさが ﾒﾓ の制限を越えました");
    EXPECT_EQ(memo->Text(), W("abc"));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(Redraws(log, memo->Handle()), kOffThenOn);
    HANDLE after = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(after, INVALID_HANDLE_VALUE);
    if (after != INVALID_HANDLE_VALUE) CloseHandle(after);
}

// --- Loading into a list ----------------------------------------------------------

TEST_F(TextFileTest, ListLoadingSplitsLinesByEveryRowOfTheTable) {
    struct Case {
        std::string file;
        Lines entries;
    };
    const Case cases[] = {
        {"a\r\nb", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"", {}},
        {"a\0b\r\nc"s, {"a"}},
        // Two lines and a final break give two entries; each further CR LF one more.
        {"x\r\ny\r\n\r\n\r\n", {"x", "y", "", ""}},
        // Nothing is trimmed; double-byte text passes whole.
        {" 表示\t\r\nﾃｷｽﾄ ", {" 表示\t", "ﾃｷｽﾄ "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.file));
        list->Clear();
        list->Add("stale");
        list->SetItemIndex(0);
        LoadListFile(*list, File("MokeList.txt", c.file));
        EXPECT_EQ(Entries(), c.entries);
        EXPECT_EQ(list->ItemIndex(), -1);
    }
}

TEST_F(TextFileTest, ListFileThatCannotBeReadLeavesTheListAsItWas) {
    for (const char* entry : {"1", "2", "3", "4", "5"})
        list->Add(entry);
    const std::string path = folder / "MokeList.txt";
    SentMessageLog log;
    const Failure failure = FailureOf([&] { LoadListFile(*list, path); });
    EXPECT_EQ(failure.Kind(), FailureKind::FileOpen);
    EXPECT_EQ(failure.Message(), "ﾌｧｲﾙ " + path + " は開けません");
    EXPECT_EQ(Entries(), (Lines{"1", "2", "3", "4", "5"}));
    EXPECT_TRUE(Redraws(log, list->Handle()).empty());

    WriteBytes(path, "held");
    HeldFile held(path, FILE_SHARE_READ);
    ASSERT_TRUE(held.Holding());
    EXPECT_EQ(FailureOf([&] { LoadListFile(*list, path); }).Kind(), FailureKind::FileOpen);
    EXPECT_EQ(Entries(), (Lines{"1", "2", "3", "4", "5"}));
}

TEST_F(TextFileTest, ListLoadingDrawsOnceAtTheEnd) {
    SentMessageLog log;
    LoadListFile(*list, File("MokeList.txt", "a\r\nb\r\nc\r\n"));
    EXPECT_EQ(Redraws(log, list->Handle()), kOffThenOn);
    EXPECT_EQ(log.Of(list->Handle(), CB_ADDSTRING).size(), 3u);
    EXPECT_EQ(log.Of(list->Handle(), CB_RESETCONTENT).size(), 1u);
}

// The combo box refuses the entry "refused", as a list out of room would.
WNDPROC previousListProc = nullptr;
LRESULT CALLBACK RefusingListProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == CB_ADDSTRING && std::string(reinterpret_cast<const char*>(lParam)) == "refused")
        return CB_ERRSPACE;
    return CallWindowProcA(previousListProc, window, msg, wParam, lParam);
}

TEST_F(TextFileTest, RefusedEntryIsAListInsertFailureKeepingTheEntriesBeforeIt) {
    const std::string path = File("MokeList.txt", "a\r\nb\r\nrefused\r\nc\r\n");
    HWND combo = list->Handle();
    previousListProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(combo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RefusingListProc)));
    SentMessageLog log;
    const Failure failure = FailureOf([&] { LoadListFile(*list, path); });
    SetWindowLongPtrA(combo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousListProc));
    EXPECT_EQ(failure.Kind(), FailureKind::ListInsert);
    EXPECT_EQ(failure.Message(), "行を挿入できません");
    EXPECT_EQ(Entries(), (Lines{"a", "b"}));
    EXPECT_EQ(Redraws(log, combo), kOffThenOn);
    HANDLE after = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(after, INVALID_HANDLE_VALUE);
    if (after != INVALID_HANDLE_VALUE) CloseHandle(after);
}

// --- Saving ---------------------------------------------------------------------

TEST_F(TextFileTest, SaveReplacesOrCreatesTheTargetAndLeavesNoOtherFile) {
    const std::string target = File("doc.txt", "old contents\r\n");
    memo->SetText(W("new\r\ncontents"));
    Save(target);
    EXPECT_EQ(ReadBytes(target), "new\r\ncontents");
    EXPECT_EQ(folder.Files(), (Lines{"doc.txt"}));

    Save(folder / "made.txt");
    EXPECT_EQ(ReadBytes(folder / "made.txt"), "new\r\ncontents");
    EXPECT_EQ(folder.Files(), (Lines{"doc.txt", "made.txt"}));

    // An empty document leaves a file of 0 bytes.
    memo->SetText(W(""));
    Save(target);
    EXPECT_EQ(ReadBytes(target), "");
    EXPECT_EQ(folder.Files(), (Lines{"doc.txt", "made.txt"}));
}

TEST_F(TextFileTest, SaveWorksInAFolderNestedAsDeepAsAPathMayGo) {
    // Folders until the document's path is the longest the system takes.
    constexpr size_t kDeep = MAX_PATH - 1 - 6; // room for "\a.txt"
    std::string deep = folder.Path();
    while (deep.size() < kDeep) {
        const size_t left = kDeep - deep.size(); // each step adds "\" and a name
        const size_t name = left <= 61 ? left - 1 : std::min<size_t>(60, left - 3);
        deep += "\\" + std::string(name, 'd');
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep.size();
    }
    const std::string target = deep + "\\a.txt";
    ASSERT_EQ(target.size(), static_cast<size_t>(MAX_PATH - 1));
    memo->SetText(W("deep"));
    Save(target);
    memo->SetText(W("deeper"));
    Save(target);
    EXPECT_EQ(ReadBytes(target), "deeper");
    EXPECT_EQ(FilesIn(deep), (Lines{"a.txt"}));
}

TEST_F(TextFileTest, SaveToARelativePathWritesInTheCurrentFolder) {
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    memo->SetText(W("relative"));
    Save("rel.txt");
    Save("rel.txt");
    SetCurrentDirectoryA(before);
    EXPECT_EQ(ReadBytes(folder / "rel.txt"), "relative");
    EXPECT_EQ(folder.Files(), (Lines{"rel.txt"}));
}

TEST_F(TextFileTest, SaveKeepsTheTargetsAttributes) {
    const std::string target = File("hidden.txt", "old");
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    memo->SetText(W("new"));
    Save(target);
    EXPECT_EQ(ReadBytes(target), "new");
    EXPECT_TRUE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(folder.Files(), (Lines{"hidden.txt"}));
}

TEST_F(TextFileTest, ReadOnlyTargetIsAFileCreateFailureAndStaysAsItWas) {
    const std::string target = File("readonly.txt", "keep me\r\n");
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    memo->SetText(W("never written"));
    const Failure failure = FailureOf([&] { Save(target); });
    EXPECT_EQ(failure.Kind(), FailureKind::FileCreate);
    EXPECT_EQ(failure.Message(), "ﾌｧｲﾙ " + target + " を作成できません");
    EXPECT_EQ(ReadBytes(target), "keep me\r\n");
    EXPECT_TRUE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(folder.Files(), (Lines{"readonly.txt"}));

    // The message names the path as passed.
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    const Failure relative = FailureOf([&] { Save("readonly.txt"); });
    SetCurrentDirectoryA(before);
    EXPECT_EQ(relative.Message(), "ﾌｧｲﾙ readonly.txt を作成できません");
    EXPECT_EQ(ReadBytes(target), "keep me\r\n");
}

TEST_F(TextFileTest, TargetHeldOpenByAnotherProgramIsAFileCreateFailureWhateverItShares) {
    const std::string target = File("held.txt", "held contents");
    memo->SetText(W("never written"));
    for (DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE},
                        DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}}) {
        SCOPED_TRACE(share);
        HeldFile held(target, share);
        ASSERT_TRUE(held.Holding());
        const Failure failure = FailureOf([&] { Save(target); });
        EXPECT_EQ(failure.Kind(), FailureKind::FileCreate);
        EXPECT_EQ(failure.Message(), "ﾌｧｲﾙ " + target + " を作成できません");
        held.Release();
        EXPECT_EQ(ReadBytes(target), "held contents");
        EXPECT_EQ(folder.Files(), (Lines{"held.txt"}));
    }
    // Released, it is saved.
    Save(target);
    EXPECT_EQ(ReadBytes(target), "never written");
}

TEST_F(TextFileTest, TargetThatCannotBeMadeIsAFileCreateFailureLeavingNoFile) {
    CreateDirectoryA((folder / "sub").c_str(), nullptr);
    memo->SetText(W("text"));
    const std::string paths[] = {
        folder / "sub",                   // a folder
        folder / "no such folder\\a.txt", // a missing folder
        folder / "bad?name.txt",          // an invalid name
        folder / "bad*name.txt",
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(Utf8(path));
        const Failure failure = FailureOf([&] { Save(path); });
        EXPECT_EQ(failure.Kind(), FailureKind::FileCreate);
        EXPECT_EQ(failure.Message(), "ﾌｧｲﾙ " + path + " を作成できません");
        EXPECT_EQ(folder.Files(), (Lines{"sub"}));
        EXPECT_TRUE(FilesIn(folder / "sub").empty());
    }
}

TEST_F(TextFileTest, FullDiskIsAWriteFailureAndTheOldFileStaysByteIdentical) {
    const std::string disk = FullDiskFolder();
    if (disk.empty())
        GTEST_SKIP() << "MOKE_FULL_DISK is not set (make test mounts a 64 KiB tmpfs for this test)";
    ScratchFolder small(disk);
    ASSERT_TRUE(Exists(small.Path())) << "cannot make a folder in " << disk;
    std::string old;
    for (int i = 0; i < 200; ++i)
        old += "line " + std::to_string(i) + "\r\n";
    const std::string target = small / "doc.txt";
    WriteBytes(target, old);
    std::string big;
    while (big.size() < 256 * 1024)
        big += "a longer document than the disk can hold\r\n";
    memo->SetText(W(big));
    const Failure failure = FailureOf([&] { Save(target); });
    EXPECT_EQ(failure.Kind(), FailureKind::Write);
    EXPECT_EQ(failure.Message(), "ｽﾄﾘｰﾑへの書き込みｴﾗｰ");
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_EQ(small.Files(), (Lines{"doc.txt"}));

    // A new file that does not fit is not left behind either.
    EXPECT_EQ(FailureOf([&] { Save(small / "new.txt"); }).Kind(), FailureKind::Write);
    EXPECT_EQ(small.Files(), (Lines{"doc.txt"}));
}

TEST_F(TextFileTest, SaveThroughALinkWritesTheFileItPointsToAndLeavesTheLink) {
    const char* made = std::getenv("MOKE_LINK_FOLDER");
    if (!made || !*made) GTEST_SKIP() << "MOKE_LINK_FOLDER is not set (make test makes a folder with a link)";
    const std::string root = WindowsPathOf(made);
    const std::string file = root + "\\docs\\notes.txt", link = root + "\\links\\notes.txt";
    WriteBytes(file, "old text");
    LoadTextFile(*memo, link);
    ASSERT_EQ(memo->Text(), L"old text");
    memo->SetText(L"new text");
    Save(link);
    EXPECT_EQ(ReadBytes(file), "new text");
    // Still a link: what is written to the file shows through it.
    WriteBytes(file, "through the link");
    EXPECT_EQ(ReadBytes(link), "through the link");
    EXPECT_EQ(FilesIn(root + "\\docs"), Lines{"notes.txt"});
    EXPECT_EQ(FilesIn(root + "\\links"), Lines{"notes.txt"});
}

} // namespace
} // namespace moke::test
