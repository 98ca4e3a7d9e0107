#include "app/frame/StdCtrls.h"

#include "app/frame/CodePage.h"
#include "app/frame/Forms.h"

#include <algorithm>

namespace moke {

// ---------------------------------------------------------------------------
// TButton

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool value) {
    if (default_ == value) return;
    default_ = value;
    if (HandleAllocated()) SendMessageA(Handle(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::ShowDefaultFrame(bool shown) {
    if (!HandleAllocated() || DefaultFrameShown() == shown) return;
    SendMessageA(ExistingHandle(), BM_SETSTYLE, shown ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool TButton::DefaultFrameShown() const {
    HWND window = ExistingHandle();
    return window && (GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

void TButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.className = "BUTTON";
    params.style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click() {
    TControl::Click();
    if (modalResult_ != 0) {
        if (TForm* form = ParentForm()) form->SetModalResult(modalResult_);
    }
}

void TButton::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == BN_CLICKED) Click();
        return;
    }
    TWinControl::WndProc(message);
}

// ---------------------------------------------------------------------------
// TLabel

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {}

UINT TLabel::DrawFlags() const {
    UINT flags = DT_EXPANDTABS;
    if (wordWrap_) flags |= DT_WORDBREAK;
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    return flags;
}

void TLabel::AdjustBounds() {
    if (!autoSize_) return;
    const RECT r = MeasureText(Font().Handle(), Caption().empty() ? std::string_view(" ") : Caption(),
                               RECT{0, 0, wordWrap_ ? Width() : 0, 0}, DrawFlags());
    SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

void TLabel::SetCaption(std::string_view caption) {
    if (Caption() == caption) return;
    TControl::SetCaption(caption);
    AdjustBounds();
}

void TLabel::SetAutoSize(bool value) {
    autoSize_ = value;
    AdjustBounds();
}
void TLabel::SetWordWrap(bool value) {
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}
void TLabel::SetTransparent(bool value) {
    transparent_ = value;
    Invalidate();
}
void TLabel::SetShowAccelChar(bool value) {
    showAccelChar_ = value;
    AdjustBounds();
    Invalidate();
}
void TLabel::FontChanged() {
    AdjustBounds();
    Invalidate();
}

void TLabel::Paint(HDC dc) {
    RECT r{0, 0, Width(), Height()};
    if (!transparent_) FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, Font().Handle());
    SetTextColor(dc, Enabled() ? Font().Color() : GetSysColor(COLOR_GRAYTEXT));
    DrawProgramText(dc, Caption(), r, DrawFlags());
    SelectObject(dc, old);
}

// ---------------------------------------------------------------------------
// TImage and TBevel

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {}

TImage::~TImage() {
    if (icon_ && owned_) DestroyIcon(icon_);
}

void TImage::SetIcon(HICON icon, bool owned) {
    if (icon_ && owned_) DestroyIcon(icon_);
    icon_ = icon;
    owned_ = owned;
    Invalidate();
}

void TImage::Paint(HDC dc) {
    if (icon_) DrawIconEx(dc, 0, 0, icon_, Width(), Height(), 0, nullptr, DI_NORMAL);
}

void TBevel::Paint(HDC dc) {
    RECT r{0, 0, Width(), Height()};
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_TOP | BF_BOTTOM);
}

// ---------------------------------------------------------------------------
// TComboBox

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 145, 200);
}

void TComboBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.className = "COMBOBOX";
    params.style |= CBS_DROPDOWNLIST | WS_VSCROLL;
    // Screen readers read the entries with wide messages from their own
    // process; a narrow procedure would make the platform pass each entry
    // through a conversion buffer of fixed size.
    params.wideProcedure = true;
}

namespace {

LRESULT AddEntry(HWND window, std::string_view text) {
    const std::wstring wide = WideFromProgram(text);
    return SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

} // namespace

void TComboBox::InitializeWnd() {
    HWND window = ExistingHandle();
    if (itemHeight_ > 0) SendMessageA(window, CB_SETITEMHEIGHT, 0, itemHeight_);
    for (const std::string& item : items_) AddEntry(window, item);
    items_.clear();
    SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

void TComboBox::FinalizeWnd() {
    std::vector<std::string> kept;
    const int count = Count();
    kept.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) kept.push_back(Item(i));
    itemIndex_ = ItemIndex();
    items_ = std::move(kept);
}

void TComboBox::SetItemHeight(int height) {
    itemHeight_ = height;
    if (HWND window = ExistingHandle()) SendMessageA(window, CB_SETITEMHEIGHT, 0, height);
}

int TComboBox::Count() const {
    if (HWND window = ExistingHandle()) return static_cast<int>(SendMessageA(window, CB_GETCOUNT, 0, 0));
    return static_cast<int>(items_.size());
}

std::string TComboBox::Item(int index) const {
    if (HWND window = ExistingHandle()) {
        // Read wide, with room for the whole entry, and made code page 932 here.
        const LRESULT length = SendMessageW(window, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length == CB_ERR) return {};
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const LRESULT got =
            SendMessageW(window, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(got == CB_ERR ? 0 : std::min(static_cast<size_t>(got), static_cast<size_t>(length)));
        return ProgramFromWide(text);
    }
    if (index < 0 || index >= static_cast<int>(items_.size())) return {};
    return items_[static_cast<size_t>(index)];
}

bool TComboBox::Add(std::string_view text) {
    if (HWND window = ExistingHandle()) return AddEntry(window, text) >= 0;
    items_.emplace_back(text);
    return true;
}

void TComboBox::Clear() {
    if (HWND window = ExistingHandle())
        SendMessageA(window, CB_RESETCONTENT, 0, 0);
    else
        items_.clear();
    itemIndex_ = -1;
}

int TComboBox::ItemIndex() const {
    if (HWND window = ExistingHandle()) return static_cast<int>(SendMessageA(window, CB_GETCURSEL, 0, 0));
    return itemIndex_;
}

void TComboBox::SetItemIndex(int index) {
    itemIndex_ = index;
    if (HWND window = ExistingHandle()) SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TComboBox::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == CBN_SELCHANGE && OnChange) OnChange(*this);
        return;
    }
    TWinControl::WndProc(message);
}

} // namespace moke
