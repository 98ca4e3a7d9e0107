// The phrase list and the time stamp on the real main window: the list read
// at start-up from MokeList.txt beside the executable, every line-splitting
// case, the paste command, and the stamp built from the regional settings.
#include "app/frame/Failure.h"
#include "document/TextFile.h"
#include "editing/RegionalTime.h"
#include "tests/support/Files.h"
#include "tests/support/ProgramText.h"
#include "tests/support/MainFormFixture.h"

#include <memory>

namespace moke::test {
namespace {

using Entries = std::vector<std::string>;

Entries Items(TComboBox& list) {
    Entries items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list.Item(i));
    return items;
}

std::string ListFileBesideTheExecutable() {
    return ExecutableFolder() + "MokeList.txt";
}

// The phrase file beside the executable, given other contents (or removed)
// for the span of a test and put back afterwards.
class ListFileReplaced {
  public:
    ListFileReplaced() : path_(ListFileBesideTheExecutable()), saved_(ReadBytes(path_)) {}
    ~ListFileReplaced() {
        if (saved_ == "<missing>")
            DeleteFileA(path_.c_str());
        else
            WriteBytes(path_, saved_);
    }
    ListFileReplaced(const ListFileReplaced&) = delete;
    ListFileReplaced& operator=(const ListFileReplaced&) = delete;
    void Write(const std::string& bytes) { WriteBytes(path_, bytes); }
    void Remove() { DeleteFileA(path_.c_str()); }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
    std::string saved_;
};

// A main window made as the program makes it, for tests that watch its start-up.
class StartedForm {
  public:
    explicit StartedForm(std::vector<std::string> arguments = {"MokeMemo.exe"}) {
        StartMainForm(form_, std::move(arguments));
    }
    ~StartedForm() { EndMainForm(form_); }
    TMainForm& operator*() { return *form_; }
    TMainForm* operator->() { return form_.get(); }

  private:
    std::unique_ptr<TMainForm> form_;
};

// ---------------------------------------------------------------------------
// The phrase list at start-up

TEST(PhraseListAtStartUp, TheSampleListBesideTheExecutableFillsTheDropDown) {
    ASSERT_TRUE(Exists(ListFileBesideTheExecutable())) << "the sample list is copied beside the tests";
    StartedForm form;
    EXPECT_EQ(form->ListFileName(), ListFileBesideTheExecutable())
        << "the module's folder, not the current one";
    EXPECT_EQ(Items(form->ComboBox1),
              (Entries{"お世話になっております。", "よろしくお願いいたします。", "ありがとうございました。",
                       "取り急ぎご連絡まで。", "http://www.example.com/", "mailto:someone@example.com"}));
    EXPECT_EQ(form->ComboBox1.ItemIndex(), -1) << "nothing is selected after start-up";
}

TEST(PhraseListAtStartUp, TheSampleListShipsBesideTheBuiltProgram) {
    const std::string buildFolder = ExecutableFolder() + "..\\";
    if (!Exists(buildFolder + "MokeMemo.exe")) GTEST_SKIP() << "the tests do not run in a build tree";
    const std::string shipped = ReadBytes(buildFolder + "MokeList.txt");
    EXPECT_NE(shipped, "<missing>");
    EXPECT_EQ(shipped, ReadBytes(ListFileBesideTheExecutable()));
}

TEST(PhraseListAtStartUp, TheFileIsReadFromTheExecutablesFolderWhateverTheCurrentFolder) {
    ListFileReplaced file;
    file.Write("eins\r\n\r\nzwei\tdrei");
    ScratchFolder elsewhere;
    WriteBytes(elsewhere / "MokeList.txt", "falsch\r\n");
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    SetCurrentDirectoryA(elsewhere.Path().c_str());
    Entries items;
    {
        StartedForm form;
        items = Items(form->ComboBox1);
    }
    SetCurrentDirectoryA(current);
    EXPECT_EQ(items, (Entries{"eins", "", "zwei\tdrei"}));
}

TEST(PhraseListAtStartUp, AMissingFileIsReportedBeforeTheWindowAndTheDesignItemsStay) {
    ListFileReplaced file;
    file.Remove();
    bool windowVisible = true;
    ModalAnswerer answerer;
    answerer.Expect("#32770", [&](HWND box) {
        windowVisible = !ThreadWindows("TMainForm").empty();
        ModalAnswerer::Key(VK_RETURN)(box);
    });
    answerer.Expect("#32770", ModalAnswerer::Key(VK_RETURN)); // a second report would be answered here
    StartedForm form;
    ASSERT_EQ(answerer.Answered().size(), 1u) << "the standard error box was shown once";
    const auto& seen = answerer.Answered()[0];
    EXPECT_EQ(seen.text, "ﾌｧｲﾙ " + file.Path() + " は開けません.");
    EXPECT_EQ(seen.caption, "無題 - もけらメモ帳") << "titled with the application title of that moment";
    EXPECT_FALSE(windowVisible) << "the box comes before the main window shows";
    EXPECT_EQ(Items(form->ComboBox1), (Entries{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(form->CurrentFile(), "無題");
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST(PhraseListAtStartUp, WithADocumentTheDocumentOpensFirstAndTheMissingListIsReportedAfter) {
    ListFileReplaced file;
    file.Remove();
    ScratchFolder folder;
    const std::string document = folder / "doc.txt";
    WriteBytes(document, "document");
    ModalAnswerer answerer;
    answerer.Expect("#32770", ModalAnswerer::Key(VK_RETURN));
    StartedForm form({"MokeMemo.exe", document});
    ASSERT_EQ(answerer.Answered().size(), 1u);
    EXPECT_EQ(answerer.Answered()[0].text, "ﾌｧｲﾙ " + file.Path() + " は開けません.");
    // Titled with the document's name: it was open when the box came.
    EXPECT_EQ(answerer.Answered()[0].caption, "doc.txt - もけらメモ帳");
    EXPECT_EQ(form->CurrentFile(), document);
    EXPECT_EQ(form->Memo1.Text(), W("document"));
}

// ---------------------------------------------------------------------------
// Every line-splitting case, through the routine that start-up uses

using PhraseList = MainFormTest;

TEST_F(PhraseList, EveryLineBreakCaseGivesItsEntries) {
    ScratchFolder folder;
    const std::string path = folder / "list.txt";
    const std::string nul(1, '\0');
    const struct {
        const char* name;
        std::string bytes;
        Entries entries;
    } cases[] = {
        {"CR LF", "a\r\nb", {"a", "b"}},
        {"LF", "a\nb", {"a", "b"}},
        {"CR", "a\rb", {"a", "b"}},
        {"final break adds nothing", "a\r\nb\r\n", {"a", "b"}},
        {"blank last line", "a\r\n\r\n", {"a", ""}},
        {"blank line between", "a\r\n\r\nb", {"a", "", "b"}},
        {"LF then CR is two breaks", "a\n\rb", {"a", "", "b"}},
        {"CR CR LF", "a\r\r\nb", {"a", "", "b"}},
        {"CR LF alone", "\r\n", {""}},
        {"empty file", "", {}},
        {"NUL ends the list", "a" + nul + "b\r\nc", {"a"}},
        {"three lines, the last unterminated", "一\r\n二\r\n三", {"一", "二", "三"}},
        {"blanks, tabs and double-byte text stay", " 表示 \t\r\n\tソ", {" 表示 \t", "\tソ"}},
        {"each further CR LF adds an empty entry", "a\r\nb\r\n\r\n\r\n", {"a", "b", "", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Form().ComboBox1.SetItemIndex(0);
        WriteBytes(path, c.bytes);
        LoadListFile(Form().ComboBox1, path);
        EXPECT_EQ(Items(Form().ComboBox1), c.entries);
        EXPECT_EQ(Form().ComboBox1.ItemIndex(), -1);
        SendMessageA(Form().ComboBox1.Handle(), CB_SHOWDROPDOWN, TRUE, 0);
        Pump();
        EXPECT_EQ(SendMessageA(Form().ComboBox1.Handle(), CB_GETCOUNT, 0, 0),
                  static_cast<LRESULT>(c.entries.size()))
            << "the drop-down shows them";
        SendMessageA(Form().ComboBox1.Handle(), CB_SHOWDROPDOWN, FALSE, 0);
        Pump();
    }
}

TEST_F(PhraseList, AFileThatCannotBeOpenedLeavesTheListAsItWas) {
    ScratchFolder folder;
    const std::string path = folder / "missing.txt";
    const Entries before = Items(Form().ComboBox1);
    try {
        LoadListFile(Form().ComboBox1, path);
        ADD_FAILURE() << "no failure raised";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Kind(), FailureKind::FileOpen);
        EXPECT_EQ(failure.Message(), "ﾌｧｲﾙ " + path + " は開けません");
    }
    EXPECT_EQ(Items(Form().ComboBox1), before);
}

// Subclasses the drop-down so that it refuses every entry after the first few.
class RefusingList {
  public:
    RefusingList(HWND window, int accepted) : window_(window), accepted_(accepted) {
        current_ = this;
        previous_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RefusingList::Proc)));
    }
    ~RefusingList() {
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        current_ = nullptr;
    }
    RefusingList(const RefusingList&) = delete;
    RefusingList& operator=(const RefusingList&) = delete;

  private:
    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == CB_ADDSTRING && current_->accepted_-- <= 0) return CB_ERRSPACE;
        return CallWindowProcA(current_->previous_, window, msg, wParam, lParam);
    }
    static inline RefusingList* current_ = nullptr;
    HWND window_;
    int accepted_;
    WNDPROC previous_;
};

TEST_F(PhraseList, AnEntryTheListRefusesEndsTheLoadKeepingWhatWasAdded) {
    ScratchFolder folder;
    WriteBytes(folder / "list.txt", "a\r\nb\r\nc\r\nd");
    HWND combo = Form().ComboBox1.Handle();
    SentMessageLog log;
    {
        RefusingList refusing(combo, 2);
        try {
            LoadListFile(Form().ComboBox1, folder / "list.txt");
            ADD_FAILURE() << "no failure raised";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.Kind(), FailureKind::ListInsert);
            EXPECT_EQ(failure.Message(), "行を挿入できません");
        }
    }
    EXPECT_EQ(Items(Form().ComboBox1), (Entries{"a", "b"}));
    const auto redraw = log.Of(combo, WM_SETREDRAW);
    ASSERT_FALSE(redraw.empty());
    EXPECT_EQ(redraw.front().wParam, 0u);
    EXPECT_EQ(redraw.back().wParam, 1u) << "drawing is back on";
    HANDLE file =
        CreateFileA((folder / "list.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << "the file is closed";
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

TEST_F(PhraseList, APhraseLongerThanTheReadBackBufferIsNeitherCutNorCorrupted) {
    ScratchFolder folder;
    std::string phrase;
    for (int i = 0; i < 2500; ++i)
        phrase += "あ"; // 5000 bytes
    phrase += "end";
    WriteBytes(folder / "long.txt", phrase + "\r\nshort");
    LoadListFile(Form().ComboBox1, folder / "long.txt");
    ASSERT_EQ(Form().ComboBox1.Count(), 2);
    EXPECT_EQ(Form().ComboBox1.Item(0), phrase);
    Form().ComboBox1.SetItemIndex(0);
    SendMessageA(Form().Handle(), WM_COMMAND,
                 MAKEWPARAM(dynamic_cast<TMenuItem*>(Form().FindComponent("CBPaste"))->Command(), 0), 0);
    EXPECT_EQ(Form().Memo1.Text(), W(phrase));
}

// ---------------------------------------------------------------------------
// The paste command

class PhrasePaste : public MainFormTest {
  protected:
    void SetUp() override {
        MainFormTest::SetUp();
        WriteBytes(folder / "phrases.txt", "一つ目\r\nタブ\tあり\r\n\r\nlast");
        LoadListFile(Form().ComboBox1, folder / "phrases.txt");
    }
    void Choose() { Command("CBPaste"); }
    void ClickPasteButton() { ClickToolButton("ToolButton10"); }
    ScratchFolder folder;
};

TEST_F(PhrasePaste, NothingSelectedInTheListInsertsNothing) {
    TMemo& memo = Form().Memo1;
    memo.SetText(W("abc"));
    memo.SetModified(false);
    ASSERT_EQ(Form().ComboBox1.ItemIndex(), -1);
    Choose();
    ClickPasteButton();
    EXPECT_EQ(memo.Text(), W("abc"));
    EXPECT_FALSE(memo.Modified());
}

TEST_F(PhrasePaste, TheChosenPhraseReplacesTheSelectionAndCannotBeUndone) {
    TMemo& memo = Form().Memo1;
    memo.SetText(W("abcd"));
    memo.SetModified(false);
    memo.SetSelection(1, 3);
    Form().ComboBox1.SetItemIndex(0);
    Choose();
    EXPECT_EQ(memo.Text(), W("a一つ目d"));
    EXPECT_TRUE(memo.Modified());
    EXPECT_EQ(Form().StatusBar.Panel(0).text, "変更あり");
    EXPECT_FALSE(memo.CanUndo()) << "the insertion itself cannot be undone";
    EXPECT_EQ(Form().ComboBox1.ItemIndex(), 0) << "the entry stays selected";

    Form().ComboBox1.SetItemIndex(1);
    ClickPasteButton();
    EXPECT_EQ(memo.Text(), W("a一つ目タブ\tありd")) << "at the caret, with the tab";
    ClickPasteButton();
    EXPECT_EQ(memo.Text(), W("a一つ目タブ\tありタブ\tありd")) << "the command can be repeated";

    memo.SetSelection(0, 1);
    Form().ComboBox1.SetItemIndex(2);
    Choose();
    EXPECT_EQ(memo.Text(), W("一つ目タブ\tありタブ\tありd"))
        << "an empty entry replaces the selection with nothing";
}

TEST_F(PhrasePaste, ChoosingAnEntryInsertsNothingByItself) {
    TComboBox& combo = Form().ComboBox1;
    combo.SetFocus();
    Pump();
    PostKey(combo.Handle(), VK_DOWN);
    EXPECT_EQ(combo.ItemIndex(), 0);
    EXPECT_EQ(Form().Memo1.Text(), W(""));
}

// ---------------------------------------------------------------------------
// The time stamp

// The regional settings the stamp reads, changed for a test and put back.
class RegionalSettings {
  public:
    RegionalSettings() {
        for (LCTYPE type : kSaved)
            saved_.emplace_back(type, Read(type));
    }
    ~RegionalSettings() {
        // The time format last: setting the separators rewrites it.
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
            if (it->first != LOCALE_STIMEFORMAT)
                SetLocaleInfoA(LOCALE_USER_DEFAULT, it->first, it->second.c_str());
        for (const auto& [type, value] : saved_)
            if (type == LOCALE_STIMEFORMAT) SetLocaleInfoA(LOCALE_USER_DEFAULT, type, value.c_str());
    }
    RegionalSettings(const RegionalSettings&) = delete;
    RegionalSettings& operator=(const RegionalSettings&) = delete;

    static std::string Read(LCTYPE type) {
        char text[128] = {};
        GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text);
        return text;
    }
    // The hour form, the clock and the designator's place are read from the
    // time format, as the platform derives them.
    static bool SetTimeFormat(const char* format) { return Set(LOCALE_STIMEFORMAT, format); }
    static bool Set(LCTYPE type, const char* value) {
        return SetLocaleInfoA(LOCALE_USER_DEFAULT, type, value) != FALSE;
    }

  private:
    static constexpr LCTYPE kSaved[] = {LOCALE_STIMEFORMAT, LOCALE_ITIME,      LOCALE_S1159, LOCALE_S2359,
                                        LOCALE_STIME,       LOCALE_SSHORTDATE, LOCALE_SDATE};
    std::vector<std::pair<LCTYPE, std::string>> saved_;
};

class TimeStamp : public MainFormTest {
  protected:
    void Announce() { SendMessageA(Form().Handle(), WM_WININICHANGE, 0, reinterpret_cast<LPARAM>("intl")); }
    std::string At(int hour, int minute) { return Form().DateStamp(StampTime{2001, 1, 5, hour, minute}); }
    void Settings(const char* format, const char* timeSeparator = ":", const char* dateSeparator = "/") {
        ASSERT_TRUE(RegionalSettings::SetTimeFormat(format));
        ASSERT_TRUE(RegionalSettings::Set(LOCALE_STIME, timeSeparator));
        ASSERT_TRUE(RegionalSettings::Set(LOCALE_SDATE, dateSeparator));
        ASSERT_TRUE(RegionalSettings::Set(LOCALE_S1159, "午前"));
        ASSERT_TRUE(RegionalSettings::Set(LOCALE_S2359, "午後"));
        Announce();
    }
    RegionalSettings restore;
};

TEST_F(TimeStamp, FifthOfJanuary2001At0905InEachRegionalVariant) {
    Settings("H:mm:ss");
    EXPECT_EQ(At(9, 5), "9:05 01/1/5") << "24-hour clock, no leading zero";
    Settings("HH:mm:ss");
    EXPECT_EQ(At(9, 5), "09:05 01/1/5") << "leading zero";
    Settings("h:mm:ss tt");
    EXPECT_EQ(At(9, 5), "9:05 午前 01/1/5") << "12-hour clock, designator after the time";
    EXPECT_EQ(At(13, 5), "1:05 午後 01/1/5");
    EXPECT_EQ(At(0, 30), "12:30 午前 01/1/5") << "hour 0 shows as 12";
    EXPECT_EQ(At(12, 0), "12:00 午後 01/1/5");
    EXPECT_EQ(At(23, 59), "11:59 午後 01/1/5");
    Settings("tt h:mm:ss");
    EXPECT_EQ(At(9, 5), "午前 9:05 01/1/5") << "designator first";
    Settings("tt hh:mm:ss");
    EXPECT_EQ(At(13, 5), "午後 01:05 01/1/5");
    Settings("H:mm:ss", ".", "-");
    EXPECT_EQ(At(9, 5), "9.05 01-1-5") << "the regional separators";
    Settings("H:mm:ss", ":", "年");
    EXPECT_EQ(At(9, 5), "9:05 01年1年5") << "a double-byte separator is one character";
    EXPECT_EQ(Form().DateStamp(StampTime{2000, 12, 31, 23, 0}), "23:00 00年12年31");
}

TEST_F(TimeStamp, SettingsAreReadAgainWhenTheSystemAnnouncesAChange) {
    Settings("H:mm:ss");
    ASSERT_EQ(At(9, 5), "9:05 01/1/5");
    ASSERT_TRUE(RegionalSettings::Set(LOCALE_STIME, "."));
    ASSERT_TRUE(RegionalSettings::Set(LOCALE_SDATE, "-"));
    EXPECT_EQ(At(9, 5), "9:05 01/1/5") << "read at start-up and on the notice, not for every stamp";
    Announce();
    EXPECT_EQ(At(9, 5), "9.05 01-1-5");
    EXPECT_EQ(ReadTimeSettings().timeSeparator, ".");
}

TEST_F(TimeStamp, TheCommandPutsTheStampInPlaceOfTheSelection) {
    Settings("H:mm:ss", ".", "-");
    TMemo& memo = Form().Memo1;
    memo.SetText(W("[selected]"));
    memo.SetModified(false);
    memo.SetSelection(1, 9);
    const std::string before = Form().DateStamp(CurrentStampTime());
    auto* item = dynamic_cast<TMenuItem*>(Form().FindComponent("DateTime1"));
    SendMessageA(Form().Handle(), WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
    const std::string after = Form().DateStamp(CurrentStampTime());
    const std::wstring text = memo.Text();
    EXPECT_TRUE(text == W("[" + before + "]") || text == W("[" + after + "]"));
    EXPECT_NE(text.find(L'.'), std::wstring::npos) << "the settings of the moment";
    EXPECT_TRUE(memo.Modified());
    EXPECT_EQ(Form().StatusBar.Panel(0).text, "変更あり");
    EXPECT_FALSE(memo.CanUndo()) << "the insertion cannot be undone";
}

} // namespace
} // namespace moke::test
