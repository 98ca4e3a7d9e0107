// The system's open, save and font dialogs, really shown and answered from
// inside their own message loops: placement, owner and modality, the filter
// list, what is read back after OK and after Cancel, what carries over to the
// next use, and the font dialog's colour and script tracking.
#include "app/frame/Dialogs.h"

#include "app/frame/Application.h"
#include "app/frame/CodePage.h"
#include "app/frame/Forms.h"
#include "tests/support/FileDialogs.h"
#include "tests/support/Files.h"
#include "tests/support/Gui.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <memory>

namespace moke::test {
namespace {

constexpr const char* kTextFilter = "テキストファイル(*.txt)|*.txt|すべてのファイル(*.*)|*.*";
constexpr const char* kSystemDialog = "#32770";

// What a dialog looked like while it was up.
struct Shown {
    bool seen = false;
    RECT bounds{};
    HWND owner = nullptr;
    bool formEnabled = true;
    std::string caption;
    std::string fileName;             // the file name field
    std::string folder;               // the folder it shows
    std::vector<std::string> filters; // the file type list
    int filterShown = -1;             // its selected row
    bool readOnlyBoxVisible = false;
};

std::string ComboItem(HWND combo, int index) {
    const auto length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
    if (length < 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

bool Centred(const RECT& r) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    return r.left == (GetSystemMetrics(SM_CXSCREEN) - width) / 2 &&
           r.top == (GetSystemMetrics(SM_CYSCREEN) - height) / 3;
}

class DialogsTest : public testing::Test {
  protected:
    void SetUp() override {
        form = std::make_unique<TForm>(&Application(), "TDialogsTestForm");
        form->SetPosition(TPosition::Designed);
        form->SetBounds(40, 40, 300, 200);
        form->Show();
        Pump();
        WriteBytes(folder / "first.txt", "1");
        WriteBytes(folder / "second.txt", "2");
        WriteBytes(folder / "other.dat", "3");
    }
    void TearDown() override {
        form.reset();
        Pump();
    }

    // Records the file dialog, then runs `act` on it.
    std::function<void(HWND)> Record(Shown& shown, std::function<void(HWND)> act) {
        return [this, &shown, act](HWND dialog) {
            shown.seen = true;
            GetWindowRect(dialog, &shown.bounds);
            shown.owner = GetWindow(dialog, GW_OWNER);
            shown.formEnabled = IsWindowEnabled(form->Handle()) != FALSE;
            shown.caption = WindowText(dialog);
            shown.fileName = WindowText(FileNameField(dialog));
            char path[MAX_PATH] = {};
            SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
            shown.folder = path;
            HWND types = GetDlgItem(dialog, cmb1);
            for (int i = 0; i < SendMessageA(types, CB_GETCOUNT, 0, 0); ++i)
                shown.filters.push_back(ComboItem(types, i));
            shown.filterShown = static_cast<int>(SendMessageA(types, CB_GETCURSEL, 0, 0));
            HWND readOnly = GetDlgItem(dialog, chx1);
            shown.readOnlyBoxVisible = readOnly && IsWindowVisible(readOnly);
            act(dialog);
        };
    }
    static std::function<void(HWND)> Choose(const std::string& name, int filterRow = -1) {
        return ChooseFile(name, filterRow);
    }
    static std::function<void(HWND)> Cancel() { return CancelDialog(); }
    // Runs the dialog with one answer; a second system window (such as an
    // overwrite prompt) would be closed and counted.
    bool Run(TFileDialog& dialog, std::function<void(HWND)> answer, size_t* windowsSeen = nullptr) {
        ModalAnswerer answerer;
        answerer.Expect(kSystemDialog, std::move(answer));
        answerer.Expect(kSystemDialog, Cancel());
        const bool chosen = dialog.Execute();
        if (windowsSeen) *windowsSeen = answerer.Answered().size();
        EXPECT_FALSE(answerer.Answered().empty()) << "no dialog appeared";
        return chosen;
    }

    ScratchFolder folder;
    std::unique_ptr<TForm> form;
};

// --- File dialogs -------------------------------------------------------------

TEST_F(DialogsTest, OpenDialogIsCentredOwnedByTheApplicationAndModal) {
    TOpenDialog dialog(form.get());
    dialog.SetFilter(kTextFilter);
    Shown shown;
    ASSERT_TRUE(Run(dialog, Record(shown, Choose(folder / "first.txt"))));
    ASSERT_TRUE(shown.seen);
    EXPECT_TRUE(Centred(shown.bounds)) << shown.bounds.left << "," << shown.bounds.top;
    EXPECT_EQ(shown.owner, Application().Handle());
    EXPECT_FALSE(shown.formEnabled);
    EXPECT_FALSE(shown.readOnlyBoxVisible);
    // Enabled and active again afterwards.
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_EQ(dialog.Flags(), 0x80024u);
}

TEST_F(DialogsTest, FilterListIsSplitAtSingleByteBarsOnly) {
    TOpenDialog dialog(form.get());
    // ポ is 83 7C: its second byte is "|".
    dialog.SetFilter("ポスター(*.txt)|*.txt|表とポ(*.*)|*.*");
    Shown shown;
    Run(dialog, Record(shown, Cancel()));
    EXPECT_EQ(shown.filters, (std::vector<std::string>{"ポスター(*.txt)", "表とポ(*.*)"}));

    TOpenDialog standard(form.get());
    standard.SetFilter(kTextFilter);
    Shown shownStandard;
    Run(standard, Record(shownStandard, Cancel()));
    EXPECT_EQ(shownStandard.filters,
              (std::vector<std::string>{"テキストファイル(*.txt)", "すべてのファイル(*.*)"}));
    EXPECT_EQ(shownStandard.filterShown, 0);
}

TEST_F(DialogsTest, ConfirmedChoiceIsReadBackAndOfferedNextTimeWhileCancelChangesNothing) {
    TOpenDialog dialog(form.get());
    dialog.SetFilter(kTextFilter);
    EXPECT_EQ(dialog.FilterIndex(), 1);
    EXPECT_EQ(dialog.FileName(), "");

    ASSERT_TRUE(Run(dialog, Choose(folder / "other.dat", 1)));
    EXPECT_EQ(dialog.FileName(), folder / "other.dat");
    EXPECT_EQ(dialog.FilterIndex(), 2);
    EXPECT_EQ(dialog.Options() & ofReadOnly, 0u);

    // The second time: the last path's folder and name, the last filter.
    Shown second;
    EXPECT_FALSE(Run(dialog, Record(second, Cancel())));
    EXPECT_EQ(second.folder, folder.Path());
    EXPECT_TRUE(second.fileName == "other.dat" || second.fileName == folder / "other.dat") << second.fileName;
    EXPECT_EQ(second.filterShown, 1);
    // Cancelled: nothing changed.
    EXPECT_EQ(dialog.FileName(), folder / "other.dat");
    EXPECT_EQ(dialog.FilterIndex(), 2);

    // Cancel after picking another filter and name changes nothing either.
    EXPECT_FALSE(Run(dialog, [](HWND d) {
        Select(d, cmb1, 0);
        SetWindowTextA(FileNameField(d), "first.txt");
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    }));
    EXPECT_EQ(dialog.FileName(), folder / "other.dat");
    EXPECT_EQ(dialog.FilterIndex(), 2);

    // A name typed alone is taken in the folder shown.
    ASSERT_TRUE(Run(dialog, Choose("second.txt", 0)));
    EXPECT_EQ(dialog.FileName(), folder / "second.txt");
    EXPECT_EQ(dialog.FilterIndex(), 1);
}

TEST_F(DialogsTest, SaveDialogAppendsTheDefaultExtensionAndAsksNoOverwriteQuestion) {
    TSaveDialog dialog(form.get());
    dialog.SetFilter(kTextFilter);
    dialog.SetDefaultExt("txt");
    Shown shown;
    ASSERT_TRUE(Run(dialog, Record(shown, Choose(folder / "notes"))));
    EXPECT_EQ(dialog.FileName(), folder / "notes.txt");
    EXPECT_TRUE(Centred(shown.bounds));
    EXPECT_EQ(shown.owner, Application().Handle());
    EXPECT_FALSE(shown.formEnabled);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));

    // A name with an extension keeps it.
    ASSERT_TRUE(Run(dialog, Choose(folder / "data.dat")));
    EXPECT_EQ(dialog.FileName(), folder / "data.dat");

    // An existing file is returned without a question from the system.
    size_t windows = 0;
    ASSERT_TRUE(Run(dialog, Choose(folder / "first.txt"), &windows));
    EXPECT_EQ(dialog.FileName(), folder / "first.txt");
    EXPECT_EQ(windows, 1u);
    EXPECT_EQ(ReadBytes(folder / "first.txt"), "1");

    // The open dialog has no default extension.
    TOpenDialog open(form.get());
    open.SetFilter(kTextFilter);
    ASSERT_TRUE(Run(open, Choose(folder / "notes")));
    EXPECT_EQ(open.FileName(), folder / "notes");
}

TEST_F(DialogsTest, OpenAndSaveDialogsRememberSeparately) {
    TOpenDialog open(form.get());
    TSaveDialog save(form.get());
    open.SetFilter(kTextFilter);
    save.SetFilter(kTextFilter);
    save.SetDefaultExt("txt");
    ASSERT_TRUE(Run(open, Choose(folder / "first.txt")));
    EXPECT_EQ(save.FileName(), "");
    ASSERT_TRUE(Run(save, Choose(folder / "saved.txt", 1)));
    EXPECT_EQ(open.FileName(), folder / "first.txt");
    EXPECT_EQ(open.FilterIndex(), 1);
    EXPECT_EQ(save.FileName(), folder / "saved.txt");
    EXPECT_EQ(save.FilterIndex(), 2);
}

// The box where a name is typed, whichever the dialog shows: the edit inside
// the combo box, or the plain edit.
HWND NameEdit(HWND dialog) {
    HWND field = FileNameField(dialog);
    if (ClassName(field) == "Edit" || ClassName(field) == "EDIT") return field;
    return FindChild(field, "Edit");
}

TEST_F(DialogsTest, OverLongTypedNameIsCutToWhatFitsAndTheProgramLives) {
    // A name typed alone is joined to the folder shown (and, on saving, to
    // the default extension); a longer whole overruns the system's buffers.
    struct Case {
        bool save;
        bool absolute;
        size_t typed;
    };
    for (const Case& c : {Case{false, false, 300}, Case{true, false, 300}, Case{false, true, 300},
                          Case{true, true, 300}, Case{true, true, 1000}}) {
        SCOPED_TRACE(testing::Message() << (c.save ? "save " : "open ") << (c.absolute ? "absolute " : "relative ")
                                        << c.typed);
        std::unique_ptr<TFileDialog> dialog = c.save ? std::unique_ptr<TFileDialog>(new TSaveDialog(form.get()))
                                                     : std::unique_ptr<TFileDialog>(new TOpenDialog(form.get()));
        dialog->SetFilter(kTextFilter);
        if (c.save) dialog->SetDefaultExt("txt");
        // Start in the scratch folder.
        ASSERT_TRUE(Run(*dialog, Choose(folder / "first.txt")));
        const std::string start = folder / "";
        std::string typed = c.absolute ? start : "";
        while (typed.size() < c.typed)
            typed += 'n';
        std::string held;
        const bool chosen = Run(*dialog, [&](HWND d) {
            HWND edit = NameEdit(d);
            SendMessageA(edit, EM_SETSEL, 0, -1);
            for (char ch : typed)
                SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(ch), 1);
            held = WindowText(edit);
            PostMessageA(d, WM_COMMAND, IDOK, 0);
        });
        // What the box took is the start of what was typed, cut so that the
        // whole path fits in MAX_PATH characters even when joined to the
        // folder (and so a little shorter than needed for a full path).
        ASSERT_LT(held.size(), typed.size());
        EXPECT_EQ(held, typed.substr(0, held.size()));
        const std::string whole = (c.absolute ? "" : start) + held + (c.save ? ".txt" : "");
        EXPECT_LT(whole.size(), size_t{MAX_PATH});
        if (!c.absolute) EXPECT_EQ(whole.size(), size_t{MAX_PATH} - 1) << whole;
        // The dialog either returns that path or nothing.
        EXPECT_EQ(dialog->FileName(), chosen ? whole : folder / "first.txt");
    }
}

TEST_F(DialogsTest, TypedNameIsCutWhenTheDialogMovesIntoADeeperFolder) {
    const std::string deeper = folder / std::string(150, 'd');
    ASSERT_TRUE(CreateDirectoryA(deeper.c_str(), nullptr));
    TSaveDialog dialog(form.get());
    dialog.SetFilter(kTextFilter);
    dialog.SetDefaultExt("txt");
    ASSERT_TRUE(Run(dialog, Choose(folder / "first.txt")));
    const bool chosen = Run(dialog, [&](HWND d) {
        HWND edit = NameEdit(d);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        for (int i = 0; i < MAX_PATH; ++i)
            SendMessageA(edit, WM_CHAR, 'n', 1);
        // Double-click the folder (the first row of the list), then confirm.
        HWND list = FindChild(d, "SysListView32");
        RECT row{LVIR_LABEL};
        SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
        const LPARAM at = MAKELPARAM(row.left + 4, (row.top + row.bottom) / 2);
        for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
            SendMessageA(list, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
        PostMessageA(d, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(chosen);
    const std::string fits = std::string(MAX_PATH - 1 - deeper.size() - 5, 'n') + ".txt";
    EXPECT_EQ(dialog.FileName(), deeper + "\\" + fits);
}

// --- Font dialog ----------------------------------------------------------------

class FontDialogTest : public DialogsTest {
  protected:
    // Runs the font dialog; `act` gets the dialog and ends it.
    bool RunFont(TFontDialog& dialog, std::function<void(HWND)> act) {
        ModalAnswerer answerer;
        answerer.Expect(kSystemDialog, [this, act](HWND window) {
            seen = true;
            GetWindowRect(window, &bounds);
            owner = GetWindow(window, GW_OWNER);
            formEnabled = IsWindowEnabled(form->Handle()) != FALSE;
            act(window);
        });
        const bool chosen = dialog.Execute();
        EXPECT_TRUE(seen) << "no font dialog appeared";
        return chosen;
    }
    static int Row(HWND dialog, int list, const std::function<bool(HWND, int)>& wanted) {
        HWND combo = GetDlgItem(dialog, list);
        for (int i = 0; i < SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i)
            if (wanted(combo, i)) return i;
        return -1;
    }

    bool seen = false;
    RECT bounds{};
    HWND owner = nullptr;
    bool formEnabled = true;
};

TEST_F(FontDialogTest, IsCentredOwnedByTheApplicationAndModal) {
    TFontDialog dialog(form.get());
    EXPECT_FALSE(RunFont(dialog, [](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); }));
    EXPECT_TRUE(Centred(bounds)) << bounds.left << "," << bounds.top;
    EXPECT_EQ(owner, Application().Handle());
    EXPECT_FALSE(formEnabled);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}

TEST_F(FontDialogTest, OkWithoutTouchingTheColourListKeepsTheColour) {
    TFontDialog dialog(form.get());
    // A colour the dialog's list does not hold.
    dialog.Font().SetColor(0x123456);
    const std::string face = dialog.Font().Name();
    const int height = dialog.Font().Height();
    ASSERT_TRUE(RunFont(dialog, [](HWND d) { PostMessageA(d, WM_COMMAND, IDOK, 0); }));
    EXPECT_EQ(dialog.Font().Color(), 0x123456u);
    EXPECT_EQ(dialog.Font().Height(), height);
    EXPECT_EQ(dialog.Font().Name(), face);
}

// How a font looks on the screen: the face shown and its cell measures.
struct Look {
    std::wstring face;
    LONG height = 0, ascent = 0, averageWidth = 0;
    bool operator==(const Look&) const = default;
};

Look LookOf(TFont& font) {
    const LOGFONTA narrow = font.Describe();
    LOGFONTW wide{};
    wide.lfHeight = narrow.lfHeight;
    wide.lfWeight = narrow.lfWeight;
    wide.lfCharSet = narrow.lfCharSet;
    const std::wstring face = WideFromProgram(narrow.lfFaceName);
    face.copy(wide.lfFaceName, LF_FACESIZE - 1);
    Look look;
    HFONT handle = CreateFontIndirectW(&wide);
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, handle);
    wchar_t shown[LF_FACESIZE] = {};
    GetTextFaceW(screen, LF_FACESIZE, shown);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    DeleteObject(handle);
    return Look{shown, metrics.tmHeight, metrics.tmAscent, metrics.tmAveCharWidth};
}

void PrintTo(const Look& look, std::ostream* out) {
    *out << Utf8(ProgramFromWide(look.face)) << " " << look.height << "/" << look.ascent << "/" << look.averageWidth;
}

TEST_F(FontDialogTest, OkWithoutAChangeKeepsTheLookOfAFaceTheSystemLacks) {
    TFontDialog dialog(form.get());
    dialog.Font().SetName("zoz");
    dialog.Font().SetHeight(-16);
    const Look before = LookOf(dialog.Font());
    ASSERT_NE(before.face, L"zoz") << "the system has a face named zoz";
    ASSERT_TRUE(RunFont(dialog, [](HWND d) { PostMessageA(d, WM_COMMAND, IDOK, 0); }));
    EXPECT_EQ(LookOf(dialog.Font()), before) << Utf8(dialog.Font().Name()) << " " << dialog.Font().Height();
    EXPECT_EQ(dialog.Font().Charset(), SHIFTJIS_CHARSET);
}

TEST_F(FontDialogTest, ColourChosenInTheListIsTaken) {
    TFontDialog dialog(form.get());
    dialog.Font().SetColor(0x123456);
    COLORREF chosen = 0;
    ASSERT_TRUE(RunFont(dialog, [&](HWND d) {
        const int red = Row(
            d, cmb4, [](HWND combo, int i) { return SendMessageA(combo, CB_GETITEMDATA, i, 0) == 0x0000FF; });
        const int row = red >= 0 ? red : 1;
        chosen = static_cast<COLORREF>(SendMessageA(GetDlgItem(d, cmb4), CB_GETITEMDATA, row, 0));
        Select(d, cmb4, row);
        PostMessageA(d, WM_COMMAND, IDOK, 0);
    }));
    EXPECT_NE(chosen, 0x123456u);
    EXPECT_EQ(dialog.Font().Color(), chosen);
}

TEST_F(FontDialogTest, ScriptIsTakenWhenChosenOrWhenTheFaceChanges) {
    TFontDialog dialog(form.get());
    // A character set that the dialog will not offer for this face.
    dialog.Font().SetCharset(0x42);
    const std::string startFace = dialog.Font().Name();
    ASSERT_TRUE(RunFont(dialog, [](HWND d) { PostMessageA(d, WM_COMMAND, IDOK, 0); }));
    // Same face, script list untouched: the character set stays.
    ASSERT_EQ(dialog.Font().Name(), startFace);
    EXPECT_EQ(dialog.Font().Charset(), 0x42);

    // A script chosen in its list is taken.
    int scriptChosen = -1;
    ASSERT_TRUE(RunFont(dialog, [&](HWND d) {
        HWND scripts = GetDlgItem(d, cmb5);
        const int rows = static_cast<int>(SendMessageA(scripts, CB_GETCOUNT, 0, 0));
        ASSERT_GT(rows, 0);
        const int row = rows - 1;
        scriptChosen = static_cast<int>(SendMessageA(scripts, CB_GETITEMDATA, row, 0));
        Select(d, cmb5, row);
        PostMessageA(d, WM_COMMAND, IDOK, 0);
    }));
    EXPECT_EQ(dialog.Font().Charset(), scriptChosen);

    // Another face takes its character set with it.
    dialog.Font().SetCharset(0x42);
    std::string otherFace;
    int otherScript = -1;
    ASSERT_TRUE(RunFont(dialog, [&](HWND d) {
        HWND faces = GetDlgItem(d, cmb1);
        const std::string current = dialog.Font().Name();
        const int row = Row(d, cmb1, [&](HWND combo, int i) {
            return lstrcmpiA(ComboItem(combo, i).c_str(), current.c_str()) != 0;
        });
        ASSERT_GE(row, 0);
        otherFace = ComboItem(faces, row);
        Select(d, cmb1, row);
        HWND scripts = GetDlgItem(d, cmb5);
        otherScript = static_cast<int>(
            SendMessageA(scripts, CB_GETITEMDATA, SendMessageA(scripts, CB_GETCURSEL, 0, 0), 0));
        PostMessageA(d, WM_COMMAND, IDOK, 0);
    }));
    EXPECT_EQ(dialog.Font().Name(), otherFace);
    EXPECT_EQ(dialog.Font().Charset(), otherScript);
}

TEST_F(FontDialogTest, SizeStyleAndEffectsChosenAreTaken) {
    TFontDialog dialog(form.get());
    const int before = dialog.Font().Height();
    int points = 0;
    bool boldItalic = false;
    ASSERT_TRUE(RunFont(dialog, [&](HWND d) {
        // The largest size offered, and the style that is both heavy and slanted.
        HWND sizes = GetDlgItem(d, cmb3);
        const int sizeRows = static_cast<int>(SendMessageA(sizes, CB_GETCOUNT, 0, 0));
        if (sizeRows > 0) {
            points = static_cast<int>(SendMessageA(sizes, CB_GETITEMDATA, sizeRows - 1, 0));
            Select(d, cmb3, sizeRows - 1);
        }
        const int style = Row(d, cmb2, [](HWND combo, int i) {
            const auto data = static_cast<DWORD>(SendMessageA(combo, CB_GETITEMDATA, i, 0));
            return LOWORD(data) > FW_NORMAL && HIWORD(data) != 0;
        });
        if (style >= 0) {
            boldItalic = true;
            Select(d, cmb2, style);
        }
        for (int box : {chx1, chx2}) {
            SendDlgItemMessageA(d, box, BM_SETCHECK, BST_CHECKED, 0);
            SendMessageA(d, WM_COMMAND, MAKEWPARAM(box, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, box)));
        }
        PostMessageA(d, WM_COMMAND, IDOK, 0);
    }));
    ASSERT_GT(points, 0) << "the dialog offered no sizes";
    ASSERT_TRUE(boldItalic) << "the dialog offered no bold italic style";
    HDC screen = GetDC(nullptr);
    const int expected = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    EXPECT_NE(expected, before);
    EXPECT_EQ(dialog.Font().Height(), expected);
    EXPECT_EQ(dialog.Font().Styles(), unsigned{TFont::Bold | TFont::Italic | TFont::Underline | TFont::StrikeOut});
}

TEST_F(FontDialogTest, CancelLeavesTheFontAsItWas) {
    TFontDialog dialog(form.get());
    dialog.Font().SetColor(0x123456);
    dialog.Font().SetCharset(0x42);
    const std::string face = dialog.Font().Name();
    EXPECT_FALSE(RunFont(dialog, [](HWND d) {
        Select(d, cmb4, 1);
        Select(d, cmb5, 0);
        Select(d, cmb1, 0);
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    }));
    EXPECT_EQ(dialog.Font().Color(), 0x123456u);
    EXPECT_EQ(dialog.Font().Charset(), 0x42);
    EXPECT_EQ(dialog.Font().Name(), face);
}

} // namespace
} // namespace moke::test
