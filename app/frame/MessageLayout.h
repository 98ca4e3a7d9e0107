// The program's own message box: its kinds, its buttons and the layout of its
// window, computed from measured sizes so that the window code only measures
// and places.
#pragma once

#include <span>
#include <vector>

namespace moke {

// a * b / c with a 64-bit intermediate, rounded to the nearest integer with
// halves away from zero. c == 0, and a result outside the range of int, give -1
// (the same answers as the system's MulDiv).
int MulDiv(int a, int b, int c);

struct LayoutRect {
    int left, top, width, height;
    bool operator==(const LayoutRect&) const = default;
};

struct MessageLayoutInput {
    int charWidth;  // average width of "A".."Z" "a".."z", truncated
    int charHeight; // height of that string
    int textWidth;  // the message measured with word wrap at MessageTextWrapWidth()
    int textHeight;
    bool hasIcon;
    // Cache entries (measured caption width + 8) of the requested buttons, in
    // table order; one entry per button.
    std::vector<int> buttonCaptionWidths;
    int screenWidth;
    int screenHeight;
    int frameWidth; // outer size minus client size
    int frameHeight;
};

struct MessageLayout {
    // Margins and spacings; bw is the button width after widening to the
    // widest caption (at least the base width MulDiv(50, X, 4)).
    int hm, vm, hs, vs, bw, bh, bs;
    int clientWidth, clientHeight;
    LayoutRect window; // outer rectangle, centred on the screen
    LayoutRect icon;   // all zero without an icon
    LayoutRect text;
    std::vector<LayoutRect> buttons; // client coordinates, table order
};

MessageLayout ComputeMessageLayout(const MessageLayoutInput& input);

// Width of the rectangle the message text is wrapped in: screen width div 2.
int MessageTextWrapWidth(int screenWidth);

enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

// Bit values of the button set.
enum MessageButton : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
    mbAll = 1u << 7,
    mbNoToAll = 1u << 8,
    mbYesToAll = 1u << 9,
    mbHelp = 1u << 10,
};

struct MessageButtonKind {
    unsigned bit;        // bit value in the button set (1, 2, 4, ...)
    const char* name;    // name of the button control
    const char* caption; // "&" marks the access letter
    int result;          // ModalResult; mrNone for Help, which does not close the box
};

// The eleven button kinds in the order they appear, left to right.
std::span<const MessageButtonKind> MessageButtonKinds();

// The button Enter presses: OK, else Yes, else Retry; 0 when that one is not
// in the set.
int DefaultButtonBit(unsigned set);
// The button Esc presses: Cancel, else No, else OK; 0 when that one is not in
// the set.
int CancelButtonBit(unsigned set);

struct MessageKindInfo {
    const char* caption; // nullptr for the custom kind: the application title
    int stockIcon;       // 0 for none, else the IDI_ number
};

// Codes 0 warning, 1 error, 2 information, 3 confirmation, 4 custom; any
// other code is taken as custom (no fixed caption, no icon).
MessageKindInfo MessageKind(int code);

} // namespace moke
