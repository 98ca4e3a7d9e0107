#include "app/frame/MessageLayout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace moke {

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    // |a * b| <= 2^62 and |c| <= 2^31, so neither the magnitudes nor their sum
    // overflow.
    const std::uint64_t magnitude =
        product < 0 ? 0 - static_cast<std::uint64_t>(product) : static_cast<std::uint64_t>(product);
    const std::uint64_t divisor =
        c < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(c)) : static_cast<std::uint64_t>(c);
    const std::uint64_t quotient = (magnitude + divisor / 2) / divisor;
    if (quotient > static_cast<std::uint64_t>(INT_MAX)) return -1;
    return negative ? -static_cast<int>(quotient) : static_cast<int>(quotient);
}

int MessageTextWrapWidth(int screenWidth) {
    return screenWidth / 2;
}

MessageLayout ComputeMessageLayout(const MessageLayoutInput& in) {
    constexpr int kIconSize = 32;
    MessageLayout out{};
    const int x = in.charWidth;
    const int y = in.charHeight;
    out.hm = MulDiv(8, x, 4);
    out.vm = MulDiv(8, y, 8);
    out.hs = MulDiv(10, x, 4);
    out.vs = MulDiv(10, y, 8);
    out.bw = MulDiv(50, x, 4);
    out.bh = MulDiv(14, y, 8);
    out.bs = MulDiv(4, x, 4);
    for (int width : in.buttonCaptionWidths)
        out.bw = std::max(out.bw, width);

    const int tw = in.textWidth;
    const int th = in.textHeight;
    const int itw = in.hasIcon ? tw + kIconSize + out.hs : tw;
    const int ith = in.hasIcon ? std::max(th, kIconSize) : th;

    const int n = static_cast<int>(in.buttonCaptionWidths.size());
    const int gw = n == 0 ? 0 : n * out.bw + (n - 1) * out.bs;

    out.clientWidth = std::max(itw, gw) + 2 * out.hm;
    out.clientHeight = ith + out.bh + out.vs + 2 * out.vm;

    const int windowWidth = out.clientWidth + in.frameWidth;
    const int windowHeight = out.clientHeight + in.frameHeight;
    out.window = {in.screenWidth / 2 - windowWidth / 2, in.screenHeight / 2 - windowHeight / 2, windowWidth,
                  windowHeight};

    if (in.hasIcon) out.icon = {out.hm, out.vm, kIconSize, kIconSize};
    out.text = {itw - tw + out.hm, out.vm, tw, th};

    out.buttons.reserve(in.buttonCaptionWidths.size());
    int left = (out.clientWidth - gw) / 2;
    const int top = ith + out.vm + out.vs;
    for (int i = 0; i < n; ++i) {
        out.buttons.push_back({left, top, out.bw, out.bh});
        left += out.bw + out.bs;
    }
    return out;
}

namespace {
constexpr MessageButtonKind kButtonKinds[] = {
    {mbYes, "Yes", "はい(&Y)", mrYes},
    {mbNo, "No", "いいえ(&N)", mrNo},
    {mbOK, "OK", "OK", mrOk},
    {mbCancel, "Cancel", "ｷｬﾝｾﾙ", mrCancel},
    {mbAbort, "Abort", "中止(&A)", mrAbort},
    {mbRetry, "Retry", "再試行(&R)", mrRetry},
    {mbIgnore, "Ignore", "無視(&I)", mrIgnore},
    {mbAll, "All", "すべて", mrAll},
    {mbNoToAll, "NoToAll", "すべていいえ(&O)", mrNoToAll},
    {mbYesToAll, "YesToAll", "すべてはい(&E)", mrYesToAll},
    {mbHelp, "Help", "ﾍﾙﾌﾟ(&H)", mrNone},
};

int FirstOf(unsigned set, unsigned preferred, unsigned second, unsigned third) {
    const unsigned chosen = (set & preferred) ? preferred : (set & second) ? second : third;
    return (set & chosen) ? static_cast<int>(chosen) : 0;
}
} // namespace

std::span<const MessageButtonKind> MessageButtonKinds() {
    return kButtonKinds;
}

int DefaultButtonBit(unsigned set) {
    return FirstOf(set, mbOK, mbYes, mbRetry);
}

int CancelButtonBit(unsigned set) {
    return FirstOf(set, mbCancel, mbNo, mbOK);
}

MessageKindInfo MessageKind(int code) {
    switch (code) {
    case 0: return {"警告", 32515}; // IDI_EXCLAMATION
    case 1: return {"ｴﾗｰ", 32513};  // IDI_HAND
    case 2: return {"情報", 32516}; // IDI_ASTERISK
    case 3: return {"確認", 32514}; // IDI_QUESTION
    default: return {nullptr, 0};
    }
}

} // namespace moke
