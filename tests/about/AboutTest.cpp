// The About box on real windows: every component at its place and size, the
// program's icon, the link labels, centring on the display, the memory
// figures (checked against the platform's own query and number formatting,
// fresh for every instance), the keys and close box with their results, and
// the About command making and freeing a box each time.
#include "about/About.h"

#include "about/URLLabel.h"
#include "app/frame/Menus.h"
#include "resources/resource.h"
#include "shell/ShellLaunch.h"
#include "tests/support/Later.h"
#include "tests/support/MainFormFixture.h"
#include "tests/support/Pointer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace moke::test {
namespace {

using namespace std::chrono_literals;


// The memory figures as the platform reports and formats them, independently
// of the program's own formatting.
std::string ThousandsSeparator() {
    char text[16] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, text, sizeof text);
    return text;
}
std::string ExpectedKilobytes(unsigned long long kilobytes) {
    std::string separator = ThousandsSeparator();
    char decimal[] = ".";
    NUMBERFMTA format{};
    format.NumDigits = 0;
    format.LeadingZero = 0;
    format.Grouping = 3;
    format.lpDecimalSep = decimal;
    format.lpThousandSep = separator.data();
    format.NegativeOrder = 1;
    const std::string digits = std::to_string(kilobytes);
    char out[64] = {};
    GetNumberFormatA(LOCALE_USER_DEFAULT, 0, digits.c_str(), &format, out, sizeof out);
    return std::string(out) + " KB";
}
unsigned long long TotalPhysicalBytes() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatusEx(&status);
    return status.ullTotalPhys;
}
unsigned MemoryLoad() {
    MEMORYSTATUS status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    return status.dwMemoryLoad;
}
int LoadShown(const std::string& text) {
    int load = -1;
    char percent = 0;
    if (std::sscanf(text.c_str(), "%d %c", &load, &percent) != 2 || percent != '%') return -1;
    return load;
}

// --- The box as built ---------------------------------------------------------

class AboutBoxTest : public testing::Test {
  protected:
    void SetUp() override {
        about = std::make_unique<TAboutDlg>(nullptr);
        about->Show();
        Pump();
    }
    void TearDown() override {
        about.reset();
        Pump();
    }
    std::unique_ptr<TAboutDlg> about;
};

TEST_F(AboutBoxTest, WindowIsAFixedDialogOfTheGivenClientSizeAndFont) {
    HWND window = about->Handle();
    EXPECT_EQ(ClassName(window), "TAboutDlg");
    EXPECT_EQ(WindowText(window), "もけらメモ帳のバージョン情報");
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 349);
    EXPECT_EQ(client.bottom, 260);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU) << "a close box";
    EXPECT_FALSE(style & WS_THICKFRAME) << "not resizable";
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    HMENU system = GetSystemMenu(window, FALSE);
    ASSERT_NE(system, nullptr);
    const UINT close = GetMenuState(system, SC_CLOSE, MF_BYCOMMAND);
    ASSERT_NE(close, static_cast<UINT>(-1));
    EXPECT_FALSE(close & MF_GRAYED) << "Close on the system menu";
    EXPECT_EQ(about->Font().Name(), "ＭＳ Ｐゴシック");
    EXPECT_EQ(about->Font().Height(), -12);
    EXPECT_EQ(about->Font().Charset(), SHIFTJIS_CHARSET);
    EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_BIG, 0), 0) << "a dialog border takes no icon";
}

TEST_F(AboutBoxTest, EveryComponentAtItsPlace) {
    struct Place {
        const char* name;
        int left, top;
    };
    const Place places[] = {
        {"Image1", 8, 8},       {"Label1", 64, 8},       {"Label2", 64, 24},    {"Label6", 64, 48},
        {"URLLabel1", 72, 64},  {"Label8", 64, 80},      {"URLLabel2", 72, 96}, {"Label3", 64, 112},
        {"AuthorURL", 72, 128}, {"AuthorMail", 72, 144}, {"Label7", 64, 160},   {"Bevel1", 16, 184},
        {"Label4", 48, 192},    {"PhysMem", 240, 192},   {"Label5", 49, 208},   {"FreeRes", 240, 208},
        {"OKBtn", 248, 228},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.name);
        auto* control = dynamic_cast<TControl*>(about->FindComponent(place.name));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->Parent(), about.get());
        EXPECT_EQ(control->Left(), place.left);
        EXPECT_EQ(control->Top(), place.top);
        EXPECT_TRUE(control->Visible());
    }
    auto& image = Part<TImage>(*about, "Image1");
    EXPECT_EQ(image.Width(), 32);
    EXPECT_EQ(image.Height(), 32);
    auto& bevel = Part<TBevel>(*about, "Bevel1");
    EXPECT_EQ(bevel.Width(), 321);
    EXPECT_EQ(bevel.Height(), 2);
    // The button's own window is where the component says.
    auto& ok = Part<TButton>(*about, "OKBtn");
    RECT r{};
    GetWindowRect(ok.Handle(), &r);
    MapWindowPoints(nullptr, about->Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r, (RECT{248, 228, 248 + 79, 228 + 23}));
    EXPECT_EQ(WindowText(ok.Handle()), "OK");
    EXPECT_TRUE(GetWindowLongA(ok.Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_TRUE(ok.Default());
    EXPECT_FALSE(ok.Cancel());
    EXPECT_EQ(ok.ModalResult(), 1);
}

TEST_F(AboutBoxTest, TextsAndFonts) {
    EXPECT_EQ(Part<TLabel>(*about, "Label1").Caption(), "もけらメモ帳 for Windows95/98");
    EXPECT_TRUE(Part<TLabel>(*about, "Label1").Font().Styles() & TFont::Bold);
    EXPECT_EQ(Part<TLabel>(*about, "Label2").Caption(), "第五版");
    EXPECT_EQ(Part<TLabel>(*about, "Label4").Caption(), "Windows が使用できる物理メモリ：");
    EXPECT_EQ(Part<TLabel>(*about, "Label5").Caption(), "メモリ使用率：");
    for (const char* credit : {"Label6", "Label8", "Label3", "Label7"}) {
        SCOPED_TRACE(credit);
        EXPECT_FALSE(Part<TLabel>(*about, credit).Caption().empty());
        EXPECT_FALSE(Part<TLabel>(*about, credit).Font().Styles() & TFont::Bold);
    }
}

TEST_F(AboutBoxTest, LinkLabelsOpenNeutralAddressesOfTheirKinds) {
    struct Link {
        const char* name;
        COLORREF colour;
        COLORREF hot;
        const char* scheme;
    };
    const Link links[] = {
        {"URLLabel1", 0xFF0000, 0xFFFF00, "http://"},
        {"URLLabel2", 0xFF0000, 0xFFFF00, "http://"},
        {"AuthorURL", 0xFF0000, 0xFFFF00, "http://"},
        {"AuthorMail", 0x008000, 0x00FF00, "mailto:"},
    };
    for (const Link& link : links) {
        SCOPED_TRACE(link.name);
        auto& label = Part<TURLLabel>(*about, link.name);
        EXPECT_EQ(label.Font().Color(), link.colour);
        EXPECT_EQ(label.HotColor(), link.hot);
        EXPECT_EQ(label.PushedColor(), 0x0000FFu);
        EXPECT_TRUE(label.HotTrack());
        EXPECT_TRUE(label.Executable());
        EXPECT_TRUE(label.Transparent());
        EXPECT_EQ(label.Font().Height(), -12);
        EXPECT_EQ(label.Font().Name(), "ＭＳ Ｐゴシック");
        const std::string& address = label.Caption();
        EXPECT_EQ(address.rfind(link.scheme, 0), 0u) << address;
        EXPECT_NE(address.find("example."), std::string::npos) << "a neutral address: " << address;
    }
    EXPECT_NE(Part<TURLLabel>(*about, "URLLabel1").Caption(), Part<TURLLabel>(*about, "URLLabel2").Caption());
}

TEST_F(AboutBoxTest, OkButtonIsTheOnlyWindowAndTakesTheFocus) {
    HWND window = about->Handle();
    std::vector<HWND> children;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    ASSERT_EQ(children.size(), 1u) << "labels, image and bevel are drawn by the box";
    EXPECT_EQ(children[0], Part<TButton>(*about, "OKBtn").Handle());
    SetActiveWindow(window);
    Pump();
    EXPECT_EQ(GetFocus(), children[0]);
    PostKey(children[0], VK_TAB);
    EXPECT_EQ(GetFocus(), children[0]);
    PostKey(children[0], VK_TAB, true);
    EXPECT_EQ(GetFocus(), children[0]);
}

TEST_F(AboutBoxTest, ProgramIconIsShownAndStoredInFourImages) {
    auto& image = Part<TImage>(*about, "Image1");
    ASSERT_NE(image.Icon(), nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(image.Icon(), &info));
    BITMAP bitmap{};
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 32);
    EXPECT_EQ(bitmap.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    // The icon group: 32 x 32 and 16 x 16, each in 256 and in 16 colours.
    HRSRC found =
        FindResourceA(nullptr, MAKEINTRESOURCEA(IDI_PROGRAM), MAKEINTRESOURCEA(14)); // RT_GROUP_ICON
    ASSERT_NE(found, nullptr);
    const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    ASSERT_NE(group, nullptr);
    WORD count = 0;
    std::memcpy(&count, group + 4, sizeof count);
    ASSERT_EQ(count, 4);
    std::vector<std::pair<int, int>> kinds; // size, bits per pixel
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = group + 6 + 14 * i;
        WORD bits = 0;
        std::memcpy(&bits, entry + 6, sizeof bits);
        kinds.emplace_back(entry[0] == 0 ? 256 : entry[0], bits);
        EXPECT_EQ(entry[0], entry[1]) << "square";
    }
    std::sort(kinds.begin(), kinds.end());
    EXPECT_EQ(kinds, (std::vector<std::pair<int, int>>{{16, 4}, {16, 8}, {32, 4}, {32, 8}}));

    // The box paints it: the image's area is not plain background.
    HDC dc = GetDC(about->Handle());
    UpdateWindow(about->Handle());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    int drawn = 0;
    for (int y = 8; y < 40; ++y)
        for (int x = 8; x < 40; ++x)
            if (GetPixel(dc, x, y) != face) ++drawn;
    ReleaseDC(about->Handle(), dc);
    EXPECT_GT(drawn, 100);
}

TEST_F(AboutBoxTest, MailLinkLightsUpInItsHotColourUnderThePointer) {
    auto& mail = Part<TURLLabel>(*about, "AuthorMail");
    HWND window = about->Handle();
    const auto painted = [&](COLORREF colour) {
        UpdateWindow(window);
        HDC dc = GetDC(window);
        int count = 0;
        for (int y = mail.Top(); y < mail.Top() + mail.Height(); ++y)
            for (int x = mail.Left(); x < mail.Left() + mail.Width(); ++x)
                if (GetPixel(dc, x, y) == colour) ++count;
        ReleaseDC(window, dc);
        return count;
    };
    ASSERT_TRUE(PointAt(POINT{2, 2}));
    EXPECT_GT(painted(0x008000), 0);
    ASSERT_TRUE(PointAt(mail.ClientToScreen(POINT{4, mail.Height() / 2})));
    EXPECT_EQ(mail.Font().Color(), 0x00FF00u);
    EXPECT_GT(painted(0x00FF00), 0);
    EXPECT_EQ(painted(0x008000), 0);
    ASSERT_TRUE(PointAt(POINT{2, 2}));
    EXPECT_EQ(mail.Font().Color(), 0x008000u);
    EXPECT_GT(painted(0x008000), 0);
    EXPECT_EQ(painted(0x00FF00), 0) << "the transparent label's earlier colour is gone";
}

TEST(AboutBoxPlacement, CentredOnThePrimaryDisplayWhenFirstShown) {
    TAboutDlg about(nullptr);
    about.Show();
    Pump();
    RECT r{};
    GetWindowRect(about.Handle(), &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    EXPECT_EQ(r.left, std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2));
    EXPECT_EQ(r.top, std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2));
    RECT client{};
    GetClientRect(about.Handle(), &client);
    EXPECT_EQ(client.right, 349) << "the window keeps its size";
    EXPECT_EQ(client.bottom, 260);
}

// --- Memory figures -------------------------------------------------------------

TEST_F(AboutBoxTest, MemoryFiguresAsThePlatformReportsThemWithTheRegionalSeparator) {
    const std::string shown = Part<TLabel>(*about, "PhysMem").Caption();
    const unsigned long long total = TotalPhysicalBytes();
    EXPECT_EQ(shown, ExpectedKilobytes((total + 512) / 1024)) << shown;
    EXPECT_NE(shown.find(ThousandsSeparator()), std::string::npos)
        << "a machine of more than 1 GB groups its digits";
    // The plain query agrees wherever it does not saturate.
    MEMORYSTATUS plain{};
    plain.dwLength = sizeof plain;
    GlobalMemoryStatus(&plain);
    if (plain.dwTotalPhys != static_cast<SIZE_T>(-1) && plain.dwTotalPhys < 0xFFFFFFFFull) {
        EXPECT_EQ(shown, ExpectedKilobytes((plain.dwTotalPhys + 512) / 1024));
    }
    const int load = LoadShown(Part<TLabel>(*about, "FreeRes").Caption());
    EXPECT_GE(load, 0) << Part<TLabel>(*about, "FreeRes").Caption();
    EXPECT_LE(load, 100);
    EXPECT_LE(std::abs(load - static_cast<int>(MemoryLoad())), 3);
    EXPECT_EQ(Part<TLabel>(*about, "FreeRes").Caption(), std::to_string(load) + " %");
    EXPECT_EQ(QueryMemory().totalPhysical, total);
}

// Changes the user's thousands separator for the life of the object.
class RegionalSeparator {
  public:
    explicit RegionalSeparator(const char* separator) : saved_(ThousandsSeparator()) {
        changed_ = SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator) &&
                   ThousandsSeparator() == separator;
    }
    ~RegionalSeparator() { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, saved_.c_str()); }
    bool Changed() const { return changed_; }

  private:
    std::string saved_;
    bool changed_ = false;
};

TEST(AboutBoxFigures, ThousandsSeparatorFollowsTheRegionalSetting) {
    RegionalSeparator separator(".");
    if (!separator.Changed()) GTEST_SKIP() << "the regional thousands separator cannot be changed here";
    TAboutDlg about(nullptr);
    const std::string shown = Part<TLabel>(about, "PhysMem").Caption();
    EXPECT_EQ(shown, ExpectedKilobytes((TotalPhysicalBytes() + 512) / 1024));
    EXPECT_NE(shown.find('.'), std::string::npos) << shown;
    EXPECT_EQ(shown.find(','), std::string::npos) << shown;
}

// --- Results ----------------------------------------------------------------------

class AboutModalTest : public MainFormTest {
  protected:
    struct Outcome {
        int result = -1;
        bool answered = false;
        bool stillUpBeforeLastAnswer = false;
    };
    // Shows a box modally and answers it from inside its loop; `first` runs
    // first and, when `then` is given, `then` runs a moment later.
    Outcome Run(std::function<void(HWND)> first, std::function<void(HWND)> then = {}) {
        Outcome outcome;
        std::unique_ptr<Later> later;
        std::unique_ptr<Later> watchdog;
        ModalAnswerer answerer;
        answerer.Expect("TAboutDlg", [&](HWND box) {
            first(box);
            if (then)
                later = std::make_unique<Later>(400ms, [&, box] {
                    outcome.stillUpBeforeLastAnswer = IsWindowVisible(box) != FALSE;
                    then(box);
                });
            watchdog = std::make_unique<Later>(5s, [box] {
                ADD_FAILURE() << "the box did not take the answer";
                PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
            });
        });
        TAboutDlg box(&Form());
        outcome.result = box.ShowModal();
        outcome.answered = answerer.Done();
        return outcome;
    }
};

TEST_F(AboutModalTest, EnterSpaceAndTheButtonGiveOk) {
    EXPECT_EQ(Run(ModalAnswerer::Key(VK_RETURN)).result, 1);
    EXPECT_EQ(Run(ModalAnswerer::Char(' ')).result, 1);
    const auto click = [](HWND box) {
        HWND button = FindChild(box, "Button", "OK");
        ASSERT_NE(button, nullptr);
        PostClick(button, POINT{10, 10});
    };
    EXPECT_EQ(Run(click).result, 1);
}

TEST_F(AboutModalTest, CloseBoxAndAltF4GiveCancel) {
    EXPECT_EQ(Run(ModalAnswerer::CloseBox()).result, 2);
    const auto altF4 = [](HWND box) {
        HWND target = GetFocus();
        if (!target || (target != box && !IsChild(box, target))) target = box;
        const LPARAM data = 1 | (static_cast<LPARAM>(MapVirtualKeyA(VK_F4, 0)) << 16) | (1 << 29);
        PostMessageA(target, WM_SYSKEYDOWN, VK_F4, data);
        PostMessageA(target, WM_SYSKEYUP, VK_F4, data | (1u << 30) | (1u << 31));
    };
    EXPECT_EQ(Run(altF4).result, 2);
}

TEST_F(AboutModalTest, EscAndEnterWithModifiersDoNothing) {
    const Outcome esc = Run(ModalAnswerer::Key(VK_ESCAPE), ModalAnswerer::Key(VK_RETURN));
    EXPECT_TRUE(esc.stillUpBeforeLastAnswer) << "Esc closed the box";
    EXPECT_EQ(esc.result, 1);
    const auto shiftEnter = [](HWND box) {
        HeldKeys shift(true, false);
        HWND focus = GetFocus();
        PostMessageA(focus ? focus : box, WM_KEYDOWN, VK_RETURN, 1);
        Pump();
    };
    const Outcome shifted = Run(shiftEnter, ModalAnswerer::CloseBox());
    EXPECT_TRUE(shifted.stillUpBeforeLastAnswer) << "Shift+Enter closed the box";
    EXPECT_EQ(shifted.result, 2);
}

TEST_F(AboutModalTest, PressOnALinkOpensItsAddressAndTheBoxStaysOpen) {
    std::vector<std::string> opened;
    SetShellOpenHookForTesting([&](const std::string& target) { opened.push_back(target); });
    std::string address;
    const auto press = [&](HWND box) {
        auto* dialog = dynamic_cast<TAboutDlg*>(TWinControl::FromHandle(box));
        ASSERT_NE(dialog, nullptr);
        auto& mail = Part<TURLLabel>(*dialog, "AuthorMail");
        address = mail.Caption();
        const LPARAM at = MAKELPARAM(mail.Left() + 5, mail.Top() + mail.Height() / 2);
        PostMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(box, WM_LBUTTONUP, 0, at);
    };
    const Outcome outcome = Run(press, ModalAnswerer::Key(VK_RETURN));
    SetShellOpenHookForTesting({});
    EXPECT_TRUE(outcome.stillUpBeforeLastAnswer);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(opened, std::vector<std::string>{address});
}

// --- The About command ------------------------------------------------------------

class AboutCommandTest : public MainFormTest {
  protected:
    // Runs バージョン情報 from the menu; `during` runs inside the box, which
    // is then closed with Enter. Returns the box's window.
    HWND RunAbout(const std::function<void(TAboutDlg&)>& during) {
        HWND seen = nullptr;
        ModalAnswerer answerer;
        answerer.Expect("TAboutDlg", [&](HWND box) {
            seen = box;
            if (auto* dialog = dynamic_cast<TAboutDlg*>(TWinControl::FromHandle(box))) during(*dialog);
            ModalAnswerer::Key(VK_RETURN)(box);
        });
        SendMessageA(Form().Handle(), WM_COMMAND, Part<TMenuItem>(Form(), "About1").Command(), 0);
        EXPECT_TRUE(answerer.Done());
        return seen;
    }
    int AboutBoxesOwned() {
        int count = 0;
        for (TComponent* c : Form().Components())
            if (dynamic_cast<TAboutDlg*>(c)) ++count;
        return count;
    }
};

TEST_F(AboutCommandTest, EachCommandMakesABoxOwnedByTheMainWindowAndFreesIt) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        int ownedDuring = -1;
        const HWND box = RunAbout([&](TAboutDlg& dialog) {
            ownedDuring = AboutBoxesOwned();
            EXPECT_EQ(dialog.Owner(), &Form());
            EXPECT_FALSE(IsWindowEnabled(Form().Handle())) << "modal over the main window";
        });
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(ownedDuring, 1);
        EXPECT_EQ(AboutBoxesOwned(), 0) << "freed when it closed";
        EXPECT_FALSE(IsWindow(box));
        EXPECT_TRUE(IsWindowEnabled(Form().Handle()));
    }
}

TEST_F(AboutCommandTest, EachOpeningShowsFiguresTakenAtThatOpening) {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatusEx(&status);
    // Take an eighth of the memory (at most a third of what is free) so that
    // the memory load moves by several points between the two openings.
    const unsigned long long size = std::min(status.ullTotalPhys / 8, status.ullAvailPhys / 3);
    const int expectedRise = static_cast<int>(size * 100 / status.ullTotalPhys);
    if (expectedRise < 6) GTEST_SKIP() << "too little free memory to move the memory load visibly";

    std::string firstLoad, secondLoad, firstTotal, secondTotal;
    RunAbout([&](TAboutDlg& dialog) {
        firstLoad = dialog.FreeRes().Caption();
        firstTotal = dialog.PhysMem().Caption();
    });
    void* block = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(block, nullptr);
    for (unsigned long long at = 0; at < size; at += 4096)
        static_cast<volatile char*>(block)[at] = 1;
    Sleep(1200); // the platform may keep a reading for up to a second
    RunAbout([&](TAboutDlg& dialog) {
        secondLoad = dialog.FreeRes().Caption();
        secondTotal = dialog.PhysMem().Caption();
    });
    VirtualFree(block, 0, MEM_RELEASE);
    EXPECT_EQ(firstTotal, secondTotal);
    const int before = LoadShown(firstLoad), after = LoadShown(secondLoad);
    ASSERT_GE(before, 0) << firstLoad;
    ASSERT_GE(after, 0) << secondLoad;
    EXPECT_GE(after - before, expectedRise / 2) << firstLoad << " then " << secondLoad;
}

} // namespace
} // namespace moke::test
