// The program's own message box on real windows: answers by key, access
// letter, close box and click; captions, icons and buttons; focus movement;
// the layout measured independently from the message font; modality.
#include "app/frame/MessageBox.h"

#include "app/frame/Application.h"
#include "app/frame/StdCtrls.h"
#include "app/frame/Timer.h"
#include "tests/support/Gui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>

namespace moke::test {
namespace {

constexpr unsigned kYesNoCancel = 11;
constexpr unsigned kOkOnly = 4;

TMessageForm* BoxOf(HWND window) {
    return dynamic_cast<TMessageForm*>(TWinControl::FromHandle(window));
}

HWND ButtonWindow(HWND box, const char* name) {
    auto* form = BoxOf(box);
    if (!form) return nullptr;
    auto* button = dynamic_cast<TButton*>(form->FindComponent(name));
    return button ? button->ExistingHandle() : nullptr;
}

POINT CentreOf(HWND child) {
    RECT r;
    GetClientRect(child, &r);
    return POINT{(r.right - r.left) / 2, (r.bottom - r.top) / 2};
}

// Shows a box and answers it from inside its loop. A box still up after a few
// seconds is closed, and the test fails.
struct Answer {
    int result = -1;
    ModalAnswerer::Seen seen{};
    bool answered = false;
};

bool watchdogFired = false;
void CALLBACK CloseLeftoverBoxes(HWND, UINT, UINT_PTR, DWORD) {
    for (HWND box : ThreadWindows("TMessageForm")) {
        watchdogFired = true;
        PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}

Answer Ask(std::string_view message, int kind, unsigned buttons, std::function<void(HWND)> answer) {
    Answer out;
    watchdogFired = false;
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 5000, CloseLeftoverBoxes);
    {
        ModalAnswerer answerer;
        answerer.Expect("TMessageForm", std::move(answer));
        out.result = ShowMessageBox(message, kind, buttons);
        out.answered = answerer.Done();
        if (!answerer.Answered().empty()) out.seen = answerer.Answered()[0];
    }
    KillTimer(nullptr, watchdog);
    EXPECT_FALSE(watchdogFired) << "the box did not take the answer";
    EXPECT_TRUE(out.answered);
    EXPECT_TRUE(ThreadWindows("TMessageForm").empty());
    return out;
}

std::function<void(HWND)> ClickButton(const char* name) {
    return [name](HWND box) {
        HWND button = ButtonWindow(box, name);
        ASSERT_NE(button, nullptr) << name;
        PostClick(button, CentreOf(button));
    };
}

// --- Answers ---------------------------------------------------------------

TEST(MessageForm, YesNoCancelAnswers) {
    EXPECT_EQ(Ask("質問", mtConfirmation, kYesNoCancel, ModalAnswerer::Key(VK_RETURN)).result, mrYes);
    EXPECT_EQ(Ask("質問", mtConfirmation, kYesNoCancel, ModalAnswerer::Key(VK_ESCAPE)).result, mrCancel);
    EXPECT_EQ(Ask("質問", mtConfirmation, kYesNoCancel, ModalAnswerer::Char('Y')).result, mrYes);
    EXPECT_EQ(Ask("質問", mtConfirmation, kYesNoCancel, ModalAnswerer::Char('y')).result, mrYes);
    EXPECT_EQ(Ask("質問", mtConfirmation, kYesNoCancel, ModalAnswerer::Char('N')).result, mrNo);
    EXPECT_EQ(Ask("質問", mtConfirmation, kYesNoCancel, ModalAnswerer::Char('n')).result, mrNo);
    EXPECT_EQ(Ask("質問", mtConfirmation, kYesNoCancel, ModalAnswerer::CloseBox()).result, mrCancel);
    EXPECT_EQ(Ask("質問", mtConfirmation, kYesNoCancel, ClickButton("Yes")).result, mrYes);
    EXPECT_EQ(Ask("質問", mtConfirmation, kYesNoCancel, ClickButton("No")).result, mrNo);
    EXPECT_EQ(Ask("質問", mtConfirmation, kYesNoCancel, ClickButton("Cancel")).result, mrCancel);
    // Alt+F4 closes the box like its close box.
    EXPECT_EQ(Ask("質問", mtConfirmation, kYesNoCancel,
                  [](HWND) { PostKey(GetFocus(), VK_F4, false, false, true); })
                  .result,
              mrCancel);
    // Enter presses the button that has the focus, not the default one.
    EXPECT_EQ(Ask("質問", mtConfirmation, kYesNoCancel,
                  [](HWND) {
                      PostKey(GetFocus(), VK_TAB);
                      PostKey(GetFocus(), VK_RETURN);
                  })
                  .result,
              mrNo);
}

TEST(MessageForm, OkAnswers) {
    EXPECT_EQ(Ask("失敗", mtError, kOkOnly, ModalAnswerer::Key(VK_RETURN)).result, mrOk);
    EXPECT_EQ(Ask("失敗", mtError, kOkOnly, ModalAnswerer::Key(VK_ESCAPE)).result, mrOk);
    EXPECT_EQ(Ask("失敗", mtError, kOkOnly, ModalAnswerer::CloseBox()).result, mrCancel);
    EXPECT_EQ(Ask("失敗", mtError, kOkOnly, ClickButton("OK")).result, mrOk);
    // "OK" has no access letter: Y, N and O do nothing; then Enter answers.
    const Answer letters = Ask("失敗", mtError, kOkOnly, [](HWND box) {
        for (char c : {'Y', 'y', 'N', 'n', 'O', 'o'}) {
            ModalAnswerer::Char(c)(box);
            Pump();
            ASSERT_TRUE(IsWindowVisible(box)) << c;
        }
        ModalAnswerer::Key(VK_RETURN)(box);
    });
    EXPECT_EQ(letters.result, mrOk);
}

TEST(MessageForm, EnterAndEscapeWithModifiersDoNothing) {
    const Answer answer = Ask("質問", mtConfirmation, kYesNoCancel, [](HWND box) {
        HWND focus = GetFocus();
        PostKey(focus, VK_RETURN, true);
        PostKey(focus, VK_ESCAPE, false, true);
        Pump();
        ASSERT_TRUE(IsWindowVisible(box));
        PostMessageA(focus, WM_KEYDOWN, 'N', 0);
        PostMessageA(focus, WM_CHAR, 'n', 0);
    });
    EXPECT_EQ(answer.result, mrNo);
}

// --- Captions, icons, buttons -------------------------------------------------

TEST(MessageForm, KindsGiveCaptionAndStockIcon) {
    const struct {
        int kind;
        const char* caption; // null: the application title
        LPCSTR icon;         // null: none
    } kinds[] = {{mtWarning, "警告", IDI_EXCLAMATION},
                 {mtError, "ｴﾗｰ", IDI_HAND},
                 {mtInformation, "情報", IDI_ASTERISK},
                 {mtConfirmation, "確認", IDI_QUESTION},
                 {mtCustom, nullptr, nullptr}};
    Application().SetTitle("題名のテスト");
    for (const auto& k : kinds) {
        HICON shown = nullptr;
        bool hasImage = false;
        const Answer answer = Ask("本文", k.kind, kOkOnly, [&](HWND box) {
            if (auto* image = dynamic_cast<TImage*>(BoxOf(box)->FindComponent("Image"))) {
                hasImage = true;
                shown = image->Icon();
                EXPECT_EQ(image->Width(), 32);
                EXPECT_EQ(image->Height(), 32);
            }
            ModalAnswerer::Key(VK_RETURN)(box);
        });
        EXPECT_EQ(answer.seen.caption, k.caption ? k.caption : "題名のテスト") << k.kind;
        EXPECT_EQ(answer.seen.className, "TMessageForm");
        EXPECT_EQ(answer.seen.text, "本文");
        EXPECT_EQ(hasImage, k.icon != nullptr) << k.kind;
        if (k.icon) {
            EXPECT_EQ(shown, LoadIconA(nullptr, k.icon)) << k.kind;
        }
    }
    Application().SetTitle("もけらメモ帳");
}

TEST(MessageForm, ButtonsInTableOrderWithTheirCaptions) {
    Answer answer = Ask("x", mtConfirmation, kYesNoCancel, ModalAnswerer::Key(VK_ESCAPE));
    EXPECT_EQ(answer.seen.buttons, (std::vector<std::string>{"はい(&Y)", "いいえ(&N)", "ｷｬﾝｾﾙ"}));
    answer = Ask("x", mtError, kOkOnly, ModalAnswerer::Key(VK_ESCAPE));
    EXPECT_EQ(answer.seen.buttons, (std::vector<std::string>{"OK"}));

    // Every kind, left to right in table order, whatever the set's value.
    TMessageForm all(&Application(), "x", mtInformation, 0x3FF, 0);
    all.HandleNeeded();
    const char* const names[] = {"Yes",   "No",     "OK",  "Cancel",  "Abort",
                                 "Retry", "Ignore", "All", "NoToAll", "YesToAll"};
    const char* const captions[] = {"はい(&Y)",         "いいえ(&N)",    "OK",       "ｷｬﾝｾﾙ",
                                    "中止(&A)",         "再試行(&R)",    "無視(&I)", "すべて",
                                    "すべていいえ(&O)", "すべてはい(&E)"};
    const int results[] = {mrYes,   mrNo,     mrOk,  mrCancel,  mrAbort,
                           mrRetry, mrIgnore, mrAll, mrNoToAll, mrYesToAll};
    int lastLeft = -1;
    for (size_t i = 0; i < std::size(names); ++i) {
        auto* button = dynamic_cast<TButton*>(all.FindComponent(names[i]));
        ASSERT_NE(button, nullptr) << names[i];
        EXPECT_EQ(WindowText(button->Handle()), captions[i]);
        EXPECT_EQ(button->ModalResult(), results[i]);
        EXPECT_GT(button->Left(), lastLeft) << names[i];
        lastLeft = button->Left();
    }
    EXPECT_EQ(all.FindComponent("Help"), nullptr);
}

TEST(MessageForm, DefaultAndCancelButtons) {
    const struct {
        unsigned set;
        const char* defaultButton; // null: none
        const char* cancelButton;
    } sets[] = {
        {kYesNoCancel, "Yes", "Cancel"},
        {kOkOnly, "OK", "OK"},
        {mbYes | mbNo, "Yes", "No"},
        {mbOK | mbCancel, "OK", "Cancel"},
        {mbAbort | mbRetry | mbIgnore, "Retry", nullptr},
        {mbNo, nullptr, "No"},
    };
    for (const auto& s : sets) {
        TMessageForm box(&Application(), "x", mtConfirmation, s.set, 0);
        box.HandleNeeded();
        for (TComponent* component : box.Components()) {
            auto* button = dynamic_cast<TButton*>(component);
            if (!button) continue;
            const bool isDefault = s.defaultButton && button->Name() == s.defaultButton;
            const bool isCancel = s.cancelButton && button->Name() == s.cancelButton;
            EXPECT_EQ(button->Default(), isDefault) << s.set << " " << button->Name();
            EXPECT_EQ(button->Cancel(), isCancel) << s.set << " " << button->Name();
            const LONG_PTR style = GetWindowLongPtrA(button->Handle(), GWL_STYLE) & 0xF;
            EXPECT_EQ(style == BS_DEFPUSHBUTTON, isDefault) << s.set << " " << button->Name();
        }
    }
}

TEST(MessageForm, FocusStartsLeftAndMovesAmongTheButtonsAllAround) {
    std::vector<std::string> path;
    const Answer answer = Ask("質問", mtConfirmation, kYesNoCancel, [&](HWND box) {
        auto focusedName = [box]() -> std::string {
            auto* control = TWinControl::FromHandle(GetFocus());
            return control && GetParent(GetFocus()) == box ? control->Name() : "(elsewhere)";
        };
        path.push_back(focusedName());
        const struct {
            UINT key;
            bool shift;
        } keys[] = {{VK_TAB, false},  {VK_TAB, false},  {VK_TAB, false}, {VK_TAB, true}, {VK_RIGHT, false},
                    {VK_DOWN, false}, {VK_LEFT, false}, {VK_UP, false},  {VK_UP, false}};
        for (const auto& k : keys) {
            PostKey(GetFocus(), k.key, k.shift);
            Pump();
            path.push_back(focusedName());
        }
        // Space presses the focused button (No).
        HWND focus = GetFocus();
        PostMessageA(focus, WM_KEYDOWN, VK_SPACE, 0x00390001);
        PostMessageA(focus, WM_KEYUP, VK_SPACE, 0xC0390001);
    });
    EXPECT_EQ(path, (std::vector<std::string>{"Yes", "No", "Cancel", "Yes", "Cancel", "Yes", "No", "Yes",
                                              "Cancel", "No"}));
    EXPECT_EQ(answer.result, mrNo);
}

// The thick frame marks the button Enter presses: it moves with the focus
// among the push buttons, and Enter presses the framed one.
TEST(MessageForm, TheDefaultFrameFollowsTheFocusedButton) {
    const struct {
        std::vector<bool> shiftTabs; // Tab presses, true for Shift+Tab
        const char* framed;
        int result;
    } cases[] = {
        {{}, "Yes", mrYes},
        {{false}, "No", mrNo},
        {{false, false}, "Cancel", mrCancel},
        {{false, false, false}, "Yes", mrYes},
        {{true}, "Cancel", mrCancel},
        {{false, false, true}, "No", mrNo},
    };
    for (const auto& c : cases) {
        std::vector<std::string> framed;
        const Answer answer = Ask("質問", mtConfirmation, kYesNoCancel, [&](HWND box) {
            for (bool shift : c.shiftTabs) {
                PostKey(GetFocus(), VK_TAB, shift);
                Pump();
            }
            for (const char* name : {"Yes", "No", "Cancel"})
                if (GetWindowLongPtrA(ButtonWindow(box, name), GWL_STYLE) & BS_DEFPUSHBUTTON) framed.push_back(name);
            PostKey(GetFocus(), VK_RETURN);
        });
        EXPECT_EQ(framed, std::vector<std::string>{c.framed}) << "after " << c.shiftTabs.size() << " Tab keys";
        EXPECT_EQ(answer.result, c.result) << "after " << c.shiftTabs.size() << " Tab keys";
    }
}

// In a window with other controls, the frame goes back to the default button
// once the focus leaves the push buttons, and Enter presses that one again.
TEST(MessageForm, TheDefaultFrameReturnsWhenTheFocusLeavesTheButtons) {
    TForm form(&Application(), "TDefaultFrameForm");
    form.SetBorderStyle(TBorderStyle::Dialog);
    form.SetPosition(TPosition::ScreenCenter);
    form.SetClientSize(300, 120);
    auto& list = form.Make<TComboBox>();
    list.SetParent(&form);
    list.SetBounds(10, 10, 150, 200);
    auto& ok = form.Make<TButton>();
    ok.SetName("OK");
    ok.SetParent(&form);
    ok.SetBounds(10, 80, 75, 25);
    ok.SetDefault(true);
    ok.SetModalResult(mrOk);
    auto& cancel = form.Make<TButton>();
    cancel.SetName("Cancel");
    cancel.SetParent(&form);
    cancel.SetBounds(100, 80, 75, 25);
    cancel.SetModalResult(mrCancel);
    cancel.SetCaption("ｷｬﾝｾﾙ");

    std::vector<std::string> steps;
    ModalAnswerer answerer;
    answerer.Expect("TDefaultFrameForm", [&](HWND) {
        auto record = [&] {
            std::string focused = GetFocus() == list.Handle() ? "list" : TWinControl::FromHandle(GetFocus())->Name();
            steps.push_back(focused + ":" + (ok.DefaultFrameShown() ? "OK" : "") +
                            (cancel.DefaultFrameShown() ? "Cancel" : ""));
        };
        record();
        for (int i = 0; i < 3; ++i) {
            PostKey(GetFocus(), VK_TAB);
            Pump();
            record();
        }
        PostKey(GetFocus(), VK_RETURN);
    });
    const int result = form.ShowModal();
    EXPECT_EQ(steps, (std::vector<std::string>{"list:OK", "OK:OK", "Cancel:Cancel", "list:OK"}));
    EXPECT_EQ(result, mrOk) << "Enter on the list presses the default button";
}

// --- Layout ---------------------------------------------------------------

struct Expected {
    int X, Y, hm, vm, hs, vs, bw, bh, bs;
    int tw, th, itw, ith, gw;
    int clientWidth, clientHeight;
};

// The message font as the system reports it.
HFONT MessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

// DrawText's rectangle for code page 932 text, measured wide (as the system
// would draw it in any code page).
RECT Measured(HDC dc, const std::string& text, RECT r, UINT flags) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()),
                                                        wide.data(), static_cast<int>(wide.size()))));
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r, flags | DT_CALCRECT);
    return r;
}

const char* const kCaptions[] = {"はい(&Y)",         "いいえ(&N)",     "OK",       "ｷｬﾝｾﾙ",
                                 "中止(&A)",         "再試行(&R)",     "無視(&I)", "すべて",
                                 "すべていいえ(&O)", "すべてはい(&E)", "ﾍﾙﾌﾟ(&H)"};

Expected Compute(const std::string& message, bool icon, unsigned buttons) {
    Expected e{};
    HFONT font = MessageFont();
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &size);
    e.X = size.cx / 52;
    e.Y = size.cy;
    e.hm = MulDiv(8, e.X, 4);
    e.vm = MulDiv(8, e.Y, 8);
    e.hs = MulDiv(10, e.X, 4);
    e.vs = MulDiv(10, e.Y, 8);
    e.bw = MulDiv(50, e.X, 4);
    e.bh = MulDiv(14, e.Y, 8);
    e.bs = MulDiv(4, e.X, 4);
    int n = 0;
    for (int bit = 0; bit < 11; ++bit) {
        if (!(buttons & (1u << bit))) continue;
        ++n;
        const RECT r = Measured(dc, kCaptions[bit], RECT{0, 0, 0, 0}, DT_SINGLELINE);
        e.bw = std::max<int>(e.bw, r.right - r.left + 8);
    }
    const RECT text = Measured(dc, message, RECT{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0},
                               DT_WORDBREAK | DT_EXPANDTABS | DT_LEFT);
    e.tw = text.right - text.left;
    e.th = text.bottom - text.top;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    e.itw = icon ? e.tw + 32 + e.hs : e.tw;
    e.ith = icon ? std::max(e.th, 32) : e.th;
    e.gw = n ? n * e.bw + (n - 1) * e.bs : 0;
    e.clientWidth = std::max(e.itw, e.gw) + 2 * e.hm;
    e.clientHeight = e.ith + e.bh + e.vs + 2 * e.vm;
    return e;
}

RECT ChildRect(HWND parent, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void CheckLayout(const std::string& message, int kind, unsigned buttons, Expected* out = nullptr) {
    const bool icon = kind != mtCustom;
    const Expected e = Compute(message, icon, buttons);
    if (out) *out = e;
    Ask(message, kind, buttons, [&](HWND box) {
        SCOPED_TRACE(Utf8(message));
        RECT client;
        GetClientRect(box, &client);
        EXPECT_EQ(client.right, e.clientWidth);
        EXPECT_EQ(client.bottom, e.clientHeight);
        RECT outer;
        GetWindowRect(box, &outer);
        const int width = outer.right - outer.left, height = outer.bottom - outer.top;
        EXPECT_EQ(outer.left, GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2);
        EXPECT_EQ(outer.top, GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2);
        const LONG_PTR style = GetWindowLongPtrA(box, GWL_STYLE);
        EXPECT_TRUE(style & WS_CAPTION);
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

        TMessageForm* form = BoxOf(box);
        ASSERT_NE(form, nullptr);
        auto* image = dynamic_cast<TImage*>(form->FindComponent("Image"));
        ASSERT_EQ(image != nullptr, icon);
        if (image) {
            EXPECT_EQ(image->BoundsRect(), (RECT{e.hm, e.vm, e.hm + 32, e.vm + 32}));
        }
        auto* label = dynamic_cast<TLabel*>(form->FindComponent("Message"));
        ASSERT_NE(label, nullptr);
        const int textLeft = e.itw - e.tw + e.hm;
        EXPECT_EQ(label->BoundsRect(), (RECT{textLeft, e.vm, textLeft + e.tw, e.vm + e.th}));
        EXPECT_TRUE(label->WordWrap());
        EXPECT_TRUE(label->ShowAccelChar());
        EXPECT_EQ(label->Caption(), message);

        int left = (e.clientWidth - e.gw) / 2;
        const int top = e.ith + e.vm + e.vs;
        for (int bit = 0; bit < 11; ++bit) {
            if (!(buttons & (1u << bit))) continue;
            HWND button = FindChild(box, "Button", kCaptions[bit]);
            ASSERT_NE(button, nullptr) << bit;
            EXPECT_EQ(ChildRect(box, button), (RECT{left, top, left + e.bw, top + e.bh})) << bit;
            left += e.bw + e.bs;
        }
        PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
}

TEST(MessageBoxLayout, SizesFollowTheMessageFont) {
    CheckLayout("ファイル 無題 の内容が変更されています。\r変更を保存しますか?", mtConfirmation,
                kYesNoCancel);
    CheckLayout("ﾌｧｲﾙ C:\\tmp\\a.txt は開けません", mtError, kOkOnly);
    CheckLayout("a", mtCustom, kOkOnly);
    CheckLayout("タブ\tの展開", mtInformation, kOkOnly);
    CheckLayout("", mtWarning, 0);
}

TEST(MessageBoxLayout, ALongWordWidensTheBoxBeyondHalfTheScreen) {
    // One word without blanks (Wine's text drawing would break a path at its
    // "\" marks, so the word has none).
    std::string word = "C:";
    for (int i = 0; i < 12; ++i)
        word += "LongFolderName_";
    word += "file.txt";
    const std::string message = "ファイル " + word + " を上書きしますか?";
    Expected e{};
    CheckLayout(message, mtConfirmation, kYesNoCancel, &e);
    const int half = GetSystemMetrics(SM_CXSCREEN) / 2;
    EXPECT_GT(e.tw, half);
    EXPECT_GT(e.clientWidth, half);
}

TEST(MessageBoxLayout, ACarriageReturnStartsASecondLine) {
    Expected one{}, two{};
    CheckLayout("first", mtCustom, kOkOnly, &one);
    CheckLayout("first\rsecond", mtCustom, kOkOnly, &two);
    EXPECT_EQ(two.th, 2 * one.th);
    EXPECT_EQ(two.clientHeight - one.clientHeight, one.th);
    Expected lf{};
    CheckLayout("first\nsecond", mtCustom, kOkOnly, &lf);
    EXPECT_EQ(lf.th, 2 * one.th);
}

TEST(MessageBoxLayout, AmpersandMarksAnAccessLetterAndIsKept) {
    // Measured and drawn with "&" as the marker: "a&b" is as wide as "ab",
    // narrower than the three characters.
    HFONT font = MessageFont();
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    auto width = [dc](const char* text, UINT flags) {
        const RECT r = Measured(dc, text, RECT{0, 0, 0, 0}, DT_SINGLELINE | flags);
        return static_cast<int>(r.right - r.left);
    };
    const int marked = width("Tom&Jerry", 0), plain = width("TomJerry", DT_NOPREFIX),
              literal = width("Tom&Jerry", DT_NOPREFIX), doubled = width("Tom&&Jerry", 0),
              oneAmpersand = width("Tom&Jerry", DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    ASSERT_EQ(marked, plain);
    ASSERT_LT(marked, literal);
    ASSERT_EQ(doubled, oneAmpersand);

    for (const char* message : {"Tom&Jerry", "Tom&&Jerry"}) {
        int labelWidth = -1;
        std::string labelCaption;
        Ask(message, mtCustom, kOkOnly, [&](HWND box) {
            auto* label = dynamic_cast<TLabel*>(BoxOf(box)->FindComponent("Message"));
            labelWidth = label->Width();
            labelCaption = label->Caption();
            PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
        EXPECT_EQ(labelCaption, message);
        EXPECT_EQ(labelWidth, std::string(message) == "Tom&Jerry" ? marked : doubled) << message;
    }
}

// Sets the system's message font for the span of a test.
class MessageFontChange {
  public:
    explicit MessageFontChange(int height) {
        saved_.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, saved_.cbSize, &saved_, 0);
        NONCLIENTMETRICSW changed = saved_;
        changed.lfMessageFont.lfHeight = height;
        changed.lfMessageFont.lfWidth = 0;
        ok_ = SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, changed.cbSize, &changed, 0) != 0;
    }
    ~MessageFontChange() { SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, saved_.cbSize, &saved_, 0); }
    bool Ok() const { return ok_; }

  private:
    NONCLIENTMETRICSW saved_{};
    bool ok_ = false;
};

TEST(MessageBoxLayout, CaptionWidthsAreMeasuredOncePerProcess) {
    // No other test asks for "ﾍﾙﾌﾟ(&H)": its entry is still empty.
    ASSERT_EQ(CachedCaptionWidth(mbHelp), 0);
    {
        TMessageForm first(&Application(), "x", mtCustom, mbHelp, 0);
        first.HandleNeeded();
    }
    HFONT font = MessageFont();
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    const RECT r = Measured(dc, "ﾍﾙﾌﾟ(&H)", RECT{0, 0, 0, 0}, DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    const int cached = r.right - r.left + 8;
    EXPECT_EQ(CachedCaptionWidth(mbHelp), cached);

    // With a much smaller message font the base width and a fresh measurement
    // are both narrower; the button keeps the width measured first.
    MessageFontChange smaller(-5);
    ASSERT_TRUE(smaller.Ok());
    const Expected small = Compute("x", false, mbHelp);
    ASSERT_LT(small.bw, cached);
    TMessageForm second(&Application(), "x", mtCustom, mbHelp, 0);
    second.HandleNeeded();
    auto* button = dynamic_cast<TButton*>(second.FindComponent("Help"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Width(), cached);
    EXPECT_EQ(CachedCaptionWidth(mbHelp), cached);
}

// --- Modality ----------------------------------------------------------------

TEST(MessageForm, OtherWindowsAreDisabledWhileTheBoxIsUpAndTimersTick) {
    TForm main(&Application(), "TBoxOwnerTestForm");
    main.SetPosition(TPosition::Designed);
    main.SetBounds(40, 40, 300, 200);
    main.Show();
    TForm disabledOne(&Application(), "TBoxOwnerTestForm");
    disabledOne.SetPosition(TPosition::Designed);
    disabledOne.SetBounds(360, 40, 200, 100);
    disabledOne.Show();
    EnableWindow(disabledOne.Handle(), FALSE);
    TForm hidden(&Application(), "TBoxOwnerTestForm");
    hidden.HandleNeeded();
    SetActiveWindow(main.Handle());
    Pump();
    ASSERT_EQ(GetActiveWindow(), main.Handle());

    int ticks = 0;
    TTimer timer(&main);
    timer.SetInterval(10);
    timer.SetOnTimer([&](TObject&) { ++ticks; });

    bool mainEnabled = true, boxEnabled = false, hiddenEnabled = false, ticked = false;
    const Answer answer = Ask("待機中", mtInformation, kOkOnly, [&](HWND box) {
        mainEnabled = IsWindowEnabled(main.Handle());
        boxEnabled = IsWindowEnabled(box);
        hiddenEnabled = IsWindowEnabled(hidden.Handle());
        const int start = ticks;
        ticked = PumpUntil([&] { return ticks >= start + 3; }, std::chrono::seconds(3));
        ModalAnswerer::Key(VK_RETURN)(box);
    });
    EXPECT_EQ(answer.result, mrOk);
    EXPECT_FALSE(mainEnabled);
    EXPECT_TRUE(boxEnabled);
    EXPECT_TRUE(hiddenEnabled);
    EXPECT_TRUE(ticked);
    EXPECT_TRUE(IsWindowEnabled(main.Handle()));
    EXPECT_FALSE(IsWindowEnabled(disabledOne.Handle()));
    EXPECT_EQ(GetActiveWindow(), main.Handle());
}

} // namespace
} // namespace moke::test
