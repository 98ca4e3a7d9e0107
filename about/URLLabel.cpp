#include "about/URLLabel.h"

#include "shell/ShellLaunch.h"

namespace moke {

TURLLabel::TURLLabel(TComponent* owner) : TLabel(owner) {
    SetCursor(LoadCursorA(nullptr, IDC_HAND));
    normalColor_ = Font().Color();
}

void TURLLabel::SetHotTrack(bool value) {
    if (hotTrack_ == value) return;
    hotTrack_ = value;
    Invalidate();
}

void TURLLabel::SetHotColor(COLORREF value) {
    if (hotColor_ == value) return;
    hotColor_ = value;
    Invalidate();
}

void TURLLabel::SetPushedColor(COLORREF value) {
    if (pushedColor_ == value) return;
    pushedColor_ = value;
    Invalidate();
}

std::vector<std::string> TURLLabel::StoredProperties() const {
    std::vector<std::string> stored;
    if (!hotTrack_) stored.push_back("HotTrack");
    if (hotColor_ != kDefaultHotColor) stored.push_back("HotColor");
    if (pushedColor_ != kDefaultPushedColor) stored.push_back("PushedColor");
    if (executable_) stored.push_back("Executable");
    if (Cursor() != LoadCursorA(nullptr, IDC_HAND)) stored.push_back("Cursor");
    return stored;
}

void TURLLabel::MouseEnter() {
    TLabel::MouseEnter();
    if (!hotTrack_) return;
    normalColor_ = Font().Color();
    Font().SetColor(hotColor_);
    Repaint();
}

void TURLLabel::MouseLeave() {
    TLabel::MouseLeave();
    if (!hotTrack_) return;
    Font().SetColor(normalColor_);
    Repaint();
}

void TURLLabel::MouseDown(TMouseButton button, WPARAM keys, int x, int y) {
    TLabel::MouseDown(button, keys, x, y);
    if (hotTrack_) {
        Font().SetColor(pushedColor_);
        Repaint();
    }
    if (executable_) ShellOpen(Caption());
}

void TURLLabel::MouseUp(TMouseButton button, WPARAM keys, int x, int y) {
    TLabel::MouseUp(button, keys, x, y);
    if (!hotTrack_) return;
    POINT p;
    GetCursorPos(&p);
    p = ScreenToClient(p);
    RECT client = ClientRect();
    Font().SetColor(PtInRect(&client, p) ? hotColor_ : normalColor_);
    Repaint();
}

TComponent& Build(FormBuilder& b, const URLLabelDef& def) {
    auto& label = b.Form().Make<TURLLabel>();
    label.SetTransparent(def.transparent);
    if (def.hotTrack) label.SetHotTrack(*def.hotTrack);
    if (def.hotColor) label.SetHotColor(*def.hotColor);
    if (def.pushedColor) label.SetPushedColor(*def.pushedColor);
    if (def.executable) label.SetExecutable(*def.executable);
    b.Place(label, def.control);
    return label;
}

} // namespace moke
