#include "app/frame/MessageBox.h"

#include "app/frame/Application.h"
#include "app/frame/StdCtrls.h"

#include <array>
#include <cstddef>

namespace moke {

namespace {

std::array<int, 11> captionWidths{}; // one per button kind, for the whole process

int BitIndex(unsigned bit) {
    int index = 0;
    while (bit > 1) {
        bit >>= 1;
        ++index;
    }
    return index;
}

// The system's message font (the non-client metrics of the original, smaller size).
bool MessageFont(LOGFONTA& font) {
    NONCLIENTMETRICSA metrics;
    if (!ReadNonClientMetrics(metrics)) return false;
    font = metrics.lfMessageFont;
    return true;
}

} // namespace

int CachedCaptionWidth(unsigned bit) { return captionWidths[static_cast<size_t>(BitIndex(bit))]; }

TMessageForm::TMessageForm(TComponent* owner, std::string_view message, int kind, unsigned buttons, int helpContext)
    : TForm(owner, "TMessageForm"), helpContext_(helpContext) {
    SetBorderStyle(TBorderStyle::Dialog);
    SetPosition(TPosition::Designed);
    LOGFONTA font;
    if (MessageFont(font)) Font().Assign(font, Font().Color());

    const MessageKindInfo info = MessageKind(kind);
    SetCaption(info.caption ? std::string(info.caption) : Application().Title());

    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font().Handle());
    struct Release {
        HDC dc;
        HGDIOBJ old;
        ~Release() {
            SelectObject(dc, old);
            ReleaseDC(nullptr, dc);
        }
    } release{dc, old};

    const SIZE extent = ProgramTextExtent(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");

    MessageLayoutInput input{};
    input.charWidth = extent.cx / 52;
    input.charHeight = extent.cy;
    for (const MessageButtonKind& button : MessageButtonKinds()) {
        if (!(buttons & button.bit)) continue;
        int& cached = captionWidths[static_cast<size_t>(BitIndex(button.bit))];
        if (cached == 0) {
            RECT r{0, 0, 0, 0};
            DrawProgramText(dc, button.caption, r, DT_CALCRECT | DT_LEFT | DT_SINGLELINE);
            cached = (r.right - r.left) + 8;
        }
        input.buttonCaptionWidths.push_back(cached);
    }
    input.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    input.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT text{0, 0, MessageTextWrapWidth(input.screenWidth), 0};
    DrawProgramText(dc, message, text, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_LEFT);
    input.textWidth = text.right - text.left;
    input.textHeight = text.bottom - text.top;
    input.hasIcon = info.stockIcon != 0;
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, TForm::kDialogStyle, FALSE, TForm::kDialogExStyle);
    input.frameWidth = frame.right - frame.left;
    input.frameHeight = frame.bottom - frame.top;

    const MessageLayout layout = ComputeMessageLayout(input);
    SetBounds(layout.window.left, layout.window.top, layout.window.width, layout.window.height);

    if (info.stockIcon) {
        auto& image = Make<TImage>();
        image.SetName("Image");
        image.SetParent(this);
        image.SetBounds(layout.icon.left, layout.icon.top, layout.icon.width, layout.icon.height);
        image.SetIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(info.stockIcon)), false);
    }
    auto& label = Make<TLabel>();
    label.SetName("Message");
    label.SetAutoSize(false);
    label.SetWordWrap(true);
    label.SetParent(this);
    label.SetBounds(layout.text.left, layout.text.top, layout.text.width, layout.text.height);
    label.SetCaption(message);

    const unsigned defaultBit = static_cast<unsigned>(DefaultButtonBit(buttons));
    const unsigned cancelBit = static_cast<unsigned>(CancelButtonBit(buttons));
    size_t n = 0;
    for (const MessageButtonKind& kindRow : MessageButtonKinds()) {
        if (!(buttons & kindRow.bit)) continue;
        auto& button = Make<TButton>();
        button.SetName(kindRow.name);
        button.SetCaption(kindRow.caption);
        button.SetModalResult(kindRow.result);
        button.SetDefault(kindRow.bit == defaultBit);
        button.SetCancel(kindRow.bit == cancelBit);
        const LayoutRect& r = layout.buttons.at(n++);
        button.SetBounds(r.left, r.top, r.width, r.height);
        button.SetParent(this);
    }
}

int ShowMessageBox(std::string_view message, int kind, unsigned buttons, int helpContext) {
    TMessageForm box(&Application(), message, kind, buttons, helpContext);
    return box.ShowModal();
}

} // namespace moke
