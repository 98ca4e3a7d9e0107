#include "app/frame/ComCtrls.h"

#include "app/frame/Failure.h"

#include <algorithm>

namespace moke {

namespace {
// A bitmap of the program's resources; a failure naming it when it is missing.
HBITMAP LoadBitmapResource(int resourceId, UINT flags) {
    auto* bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, flags));
    if (!bitmap) throw Failure("画像 " + std::to_string(resourceId) + " を読み込めません");
    return bitmap;
}
} // namespace

// ---------------------------------------------------------------------------
// TImageList

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() {
    if (handle_) ImageList_Destroy(handle_);
}

void TImageList::LoadStrip(int resourceId, int width, int height, COLORREF maskColor) {
    HBITMAP strip = LoadBitmapResource(resourceId, LR_CREATEDIBSECTION);
    BITMAP info{};
    GetObjectA(strip, sizeof info, &info);
    const int count = width > 0 ? info.bmWidth / width : 0;
    HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, count, 0);
    if (!list) {
        DeleteObject(strip);
        throw Failure("イメージリストを作成できません");
    }
    const int added = ImageList_AddMasked(list, strip, maskColor);
    DeleteObject(strip);
    if (added < 0) {
        ImageList_Destroy(list);
        throw Failure("イメージリストに画像を追加できません");
    }
    if (handle_) ImageList_Destroy(handle_);
    handle_ = list;
    width_ = width;
    height_ = height;
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

HICON TImageList::GetIcon(int index) const {
    if (!handle_) return nullptr;
    return ImageList_GetIcon(handle_, index, ILD_NORMAL);
}

// ---------------------------------------------------------------------------
// TToolBar

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 23, 22); }

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {}

void TToolBar::SetButtonSize(int width, int height) {
    buttonWidth_ = width;
    buttonHeight_ = height;
}

void TToolBar::AddButton(TToolButton& button) {
    button.command_ = static_cast<int>(buttons_.size()) + 1;
    buttons_.push_back(&button);
    button.SetParent(this);
}

void TToolBar::AddControl(TWinControl& control) {
    auto* slot = new TToolButton(this); // owned by the tool bar
    slot->SetHolder(&control);
    AddButton(*slot);
}

void TToolBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.className = TOOLBARCLASSNAMEA;
    params.style |= WS_CLIPCHILDREN | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_FLAT |
                    TBSTYLE_TRANSPARENT;
}

void TToolBar::InitializeWnd() {
    HWND window = ExistingHandle();
    SendMessageA(window, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (images_ && images_->Handle())
        SendMessageA(window, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->Handle()));
    std::vector<TBBUTTON> items;
    items.reserve(buttons_.size());
    for (TToolButton* button : buttons_) {
        TBBUTTON item{};
        item.idCommand = button->command_;
        // A wrap on the last item has nothing to wrap: it adds no row.
        const bool wrap = button->Wrap() && button != buttons_.back();
        item.fsState = static_cast<BYTE>(TBSTATE_ENABLED | (wrap ? TBSTATE_WRAP : 0));
        if (button->Style() == TToolButtonStyle::Separator || button->Holder()) {
            item.fsStyle = BTNS_SEP;
            item.iBitmap = button->Holder() ? button->Holder()->Width() : button->Width();
        } else {
            item.fsStyle = BTNS_BUTTON;
            item.iBitmap = button->ImageIndex();
            item.iString = reinterpret_cast<INT_PTR>(button->Caption().c_str());
        }
        items.push_back(item);
    }
    // Little padding, so that an image with a caption under it fits the set height.
    SendMessageA(window, TB_SETPADDING, 0, MAKELPARAM(6, 2));
    SendMessageA(window, TB_ADDBUTTONSA, items.size(), reinterpret_cast<LPARAM>(items.data()));
    SendMessageA(window, TB_SETBUTTONWIDTH, 0, MAKELPARAM(buttonWidth_, buttonWidth_));
    SendMessageA(window, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
    SendMessageA(window, TB_AUTOSIZE, 0, 0);
    LayoutButtons();
}

void TToolBar::LayoutButtons() {
    HWND window = ExistingHandle();
    if (!window) return;
    RECT all{0, 0, 0, 0};
    for (size_t i = 0; i < buttons_.size(); ++i) {
        TToolButton* button = buttons_[i];
        RECT r{};
        SendMessageA(window, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        button->TControl::SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        // A trailing separator adds neither a row nor width.
        const bool trailingSeparator = i + 1 == buttons_.size() && button->Style() == TToolButtonStyle::Separator;
        if (!trailingSeparator) UnionRect(&all, &all, &r);
        if (TWinControl* holder = button->Holder()) {
            const int top = r.top + std::max(0L, ((r.bottom - r.top) - holder->Height()) / 2);
            holder->SetBounds(r.left, top, r.right - r.left, holder->Height());
        }
    }
    ideal_ = SIZE{all.right - all.left, all.bottom - all.top};
}

SIZE TToolBar::IdealSize() const { return ideal_; }

void TToolBar::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND:
        // Transparent on a band container: its picture shows behind the buttons.
        if (auto* bar = dynamic_cast<TCoolBar*>(Parent()); bar && bar->Bitmap()) {
            RECT area;
            GetClientRect(ExistingHandle(), &area);
            bar->PaintBackground(reinterpret_cast<HDC>(message.WParam), area, POINT{Left(), Top()});
            message.Result = 1;
            return;
        }
        break;
    case CN_COMMAND: {
        const int command = LOWORD(message.WParam);
        for (TToolButton* button : buttons_)
            if (button->command_ == command) {
                button->Click();
                return;
            }
        return;
    }
    case CN_NOTIFY: message.Result = 0; return;
    default: break;
    }
    TWinControl::WndProc(message);
}

// ---------------------------------------------------------------------------
// TCoolBar

TCoolBar::TCoolBar(TComponent* owner) : TWinControl(owner) {}

TCoolBar::~TCoolBar() {
    if (bitmap_) DeleteObject(bitmap_);
}

void TCoolBar::SetBitmap(int resourceId) {
    HBITMAP loaded = LoadBitmapResource(resourceId, 0);
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = loaded;
}

void TCoolBar::AddBand(TWinControl& control, int minHeight) {
    bands_.push_back(Band{&control, minHeight});
    control.SetParent(this);
}

void TCoolBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.className = REBARCLASSNAMEA;
    params.style |= WS_CLIPCHILDREN | RBS_VARHEIGHT | RBS_BANDBORDERS | CCS_NODIVIDER | CCS_NOPARENTALIGN |
                    CCS_NORESIZE;
}

void TCoolBar::InitializeWnd() {
    HWND window = ExistingHandle();
    REBARINFO info{};
    info.cbSize = sizeof info;
    SendMessageA(window, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    for (const Band& band : bands_) {
        HWND child = band.control->Handle();
        REBARBANDINFOA rb{};
        rb.cbSize = sizeof rb;
        rb.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_COLORS |
                   (bitmap_ ? RBBIM_BACKGROUND : 0);
        rb.clrFore = CLR_DEFAULT;
        rb.clrBack = bitmap_ ? CLR_NONE : CLR_DEFAULT;
        rb.fStyle = RBBS_BREAK | RBBS_FIXEDBMP;
        rb.hwndChild = child;
        rb.cxMinChild = 0;
        rb.cyMinChild = static_cast<UINT>(std::max(band.minHeight, band.control->Height()));
        rb.cx = static_cast<UINT>(band.control->Width());
        rb.hbmBack = bitmap_;
        SendMessageA(window, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&rb));
    }
    FitHeight();
}

void TCoolBar::FitHeight() {
    HWND window = ExistingHandle();
    if (!window) return;
    const int height = static_cast<int>(SendMessageA(window, RB_GETBARHEIGHT, 0, 0));
    if (height > 0 && height != Height()) SetHeight(height);
}

void TCoolBar::PaintBackground(HDC dc, const RECT& area, POINT offset) const {
    HBRUSH pattern = CreatePatternBrush(bitmap_);
    POINT old;
    SetBrushOrgEx(dc, -offset.x, -offset.y, &old);
    FillRect(dc, &area, pattern);
    SetBrushOrgEx(dc, old.x, old.y, nullptr);
    DeleteObject(pattern);
}

void TCoolBar::WndProc(TMessage& message) {
    if (message.Msg == WM_ERASEBKGND && bitmap_) {
        // The picture first; the bands have no colour of their own, so the
        // control then only draws their borders and grippers over it.
        RECT area;
        GetClientRect(ExistingHandle(), &area);
        PaintBackground(reinterpret_cast<HDC>(message.WParam), area, POINT{0, 0});
        DefaultHandler(message);
        message.Result = 1;
        return;
    }
    if (message.Msg == CN_NOTIFY) {
        const auto* header = reinterpret_cast<NMHDR*>(message.LParam);
        if (header->code == RBN_HEIGHTCHANGE) FitHeight();
        message.Result = 0;
        return;
    }
    TWinControl::WndProc(message);
}

// ---------------------------------------------------------------------------
// TStatusBar

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 0, 19); }

void TStatusBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.className = STATUSCLASSNAMEA;
    params.style |= CCS_NOPARENTALIGN | CCS_NORESIZE | (sizeGrip_ ? SBARS_SIZEGRIP : CCS_TOP);
}

void TStatusBar::InitializeWnd() {
    UpdatePanels();
    if (!simpleText_.empty())
        SendMessageA(ExistingHandle(), SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
    if (simplePanel_) SendMessageA(ExistingHandle(), SB_SIMPLE, TRUE, 0);
}

void TStatusBar::SetSimplePanel(bool value) {
    if (simplePanel_ == value) return;
    simplePanel_ = value;
    if (HWND window = ExistingHandle()) SendMessageA(window, SB_SIMPLE, value ? 1 : 0, 0);
}

void TStatusBar::SetSimpleText(std::string_view text) {
    if (simpleText_ == text) return;
    simpleText_ = text;
    if (HWND window = ExistingHandle())
        SendMessageA(window, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TStatusBar::SetSizeGrip(bool value) {
    if (sizeGrip_ == value) return;
    sizeGrip_ = value;
    RecreateWnd();
}

void TStatusBar::AddPanel(const TStatusPanel& panel) {
    panels_.push_back(panel);
    UpdatePanels();
}

void TStatusBar::SetPanelText(int index, std::string_view text) {
    TStatusPanel& panel = panels_.at(static_cast<size_t>(index));
    if (panel.text == text) return;
    panel.text = text;
    UpdatePanel(index);
}

void TStatusBar::SetPanelWidth(int index, int width) {
    TStatusPanel& panel = panels_.at(static_cast<size_t>(index));
    if (panel.width == width) return;
    panel.width = width;
    UpdatePanels();
}

void TStatusBar::SetPanelBevel(int index, TBevelKind bevel) {
    TStatusPanel& panel = panels_.at(static_cast<size_t>(index));
    if (panel.bevel == bevel) return;
    panel.bevel = bevel;
    UpdatePanels();
}

void TStatusBar::SetPanelAlignment(int index, int alignment) {
    TStatusPanel& panel = panels_.at(static_cast<size_t>(index));
    if (panel.alignment == alignment) return;
    panel.alignment = alignment;
    UpdatePanel(index);
}

void TStatusBar::UpdatePanels() {
    HWND window = ExistingHandle();
    if (!window) return;
    const int count = std::min<int>(static_cast<int>(panels_.size()), 128);
    if (count == 0) {
        int edge = -1;
        SendMessageA(window, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&edge));
        SendMessageA(window, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
        return;
    }
    std::vector<int> edges(static_cast<size_t>(count));
    int right = 0;
    for (int i = 0; i < count - 1; ++i) {
        right += panels_[static_cast<size_t>(i)].width;
        edges[static_cast<size_t>(i)] = right;
    }
    edges[static_cast<size_t>(count - 1)] = -1;
    SendMessageA(window, SB_SETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < count; ++i) UpdatePanel(i);
}

void TStatusBar::UpdatePanel(int index) {
    HWND window = ExistingHandle();
    if (!window || index >= 128) return;
    const TStatusPanel& panel = panels_.at(static_cast<size_t>(index));
    WPARAM flags = 0;
    switch (panel.bevel) {
    case TBevelKind::None: flags = SBT_NOBORDERS; break;
    case TBevelKind::Lowered: flags = 0; break;
    case TBevelKind::Raised: flags = SBT_POPOUT; break;
    }
    if (panel.style == TPanelStyle::OwnerDraw) flags |= SBT_OWNERDRAW;
    std::string text = panel.alignment == 1 ? "\t\t" + panel.text : panel.alignment == 2 ? "\t" + panel.text : panel.text;
    SendMessageA(window, SB_SETTEXTA, flags | static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
    InvalidateRect(window, nullptr, TRUE);
}

} // namespace moke
