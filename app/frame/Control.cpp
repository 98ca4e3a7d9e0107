#include "app/frame/Control.h"

#include "app/frame/Application.h"
#include "app/frame/CodePage.h"
#include "app/frame/Failure.h"
#include "app/frame/Forms.h"

#include <algorithm>
#include <cstddef>
#include <cwchar>

namespace moke {

// ---------------------------------------------------------------------------
// TComponent

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_) owner_->Insert(this);
}

TComponent::~TComponent() {
    DestroyComponents();
    if (owner_) owner_->Remove(this);
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        delete last; // removes itself from components_
    }
}

void TComponent::Remove(TComponent* component) {
    auto it = std::find(components_.begin(), components_.end(), component);
    if (it != components_.end()) components_.erase(it);
    component->owner_ = nullptr;
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    for (TComponent* component : components_)
        if (component->name_ == name) return component;
    return nullptr;
}

// ---------------------------------------------------------------------------
// TFont

TFont::TFont() = default;
TFont::~TFont() { Release(); }

void TFont::Release() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
}

void TFont::Changed() {
    Release();
    if (OnChange) OnChange();
}

void TFont::Assign(const TFont& source) {
    name_ = source.name_;
    height_ = source.height_;
    charset_ = source.charset_;
    styles_ = source.styles_;
    color_ = source.color_;
    Changed();
}

unsigned TFont::StylesOf(const LOGFONTA& logFont) {
    return (logFont.lfWeight > FW_NORMAL ? unsigned{Bold} : 0u) | (logFont.lfItalic ? unsigned{Italic} : 0u) |
           (logFont.lfUnderline ? unsigned{Underline} : 0u) | (logFont.lfStrikeOut ? unsigned{StrikeOut} : 0u);
}

void TFont::Assign(const LOGFONTA& logFont, COLORREF color) {
    name_ = logFont.lfFaceName;
    height_ = logFont.lfHeight;
    charset_ = logFont.lfCharSet;
    styles_ = StylesOf(logFont);
    color_ = color;
    Changed();
}

void TFont::SetName(std::string_view name) {
    if (name_ == name) return;
    name_ = name;
    Changed();
}
void TFont::SetHeight(int height) {
    if (height_ == height) return;
    height_ = height;
    Changed();
}
void TFont::SetCharset(int charset) {
    if (charset_ == charset) return;
    charset_ = charset;
    Changed();
}
void TFont::SetStyles(unsigned styles) {
    if (styles_ == styles) return;
    styles_ = styles;
    Changed();
}
void TFont::SetColor(COLORREF color) {
    if (color_ == color) return;
    color_ = color;
    // The colour is not part of the font object; only tell the owner.
    if (OnChange) OnChange();
}

LOGFONTA TFont::Describe() const {
    LOGFONTA lf{};
    lf.lfHeight = height_;
    lf.lfWeight = (styles_ & Bold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (styles_ & Italic) ? 1 : 0;
    lf.lfUnderline = (styles_ & Underline) ? 1 : 0;
    lf.lfStrikeOut = (styles_ & StrikeOut) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(charset_);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    return lf;
}

// Everything of a logical font but its face name, from either form to either.
template <class To, class From> void CopyLogFontMetrics(To& lf, const From& from) {
    lf.lfHeight = from.lfHeight;
    lf.lfWidth = from.lfWidth;
    lf.lfEscapement = from.lfEscapement;
    lf.lfOrientation = from.lfOrientation;
    lf.lfWeight = from.lfWeight;
    lf.lfItalic = from.lfItalic;
    lf.lfUnderline = from.lfUnderline;
    lf.lfStrikeOut = from.lfStrikeOut;
    lf.lfCharSet = from.lfCharSet;
    lf.lfOutPrecision = from.lfOutPrecision;
    lf.lfClipPrecision = from.lfClipPrecision;
    lf.lfQuality = from.lfQuality;
    lf.lfPitchAndFamily = from.lfPitchAndFamily;
}

LOGFONTW WideLogFont(const LOGFONTA& narrow) {
    LOGFONTW lf{};
    CopyLogFontMetrics(lf, narrow);
    const std::wstring face = WideFromProgram(std::string_view(narrow.lfFaceName, strnlen(narrow.lfFaceName, LF_FACESIZE)));
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    return lf;
}

HFONT TFont::Handle() {
    if (!handle_) {
        const LOGFONTW lf = DescribeWide();
        handle_ = CreateFontIndirectW(&lf);
    }
    return handle_;
}

// ---------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
    font_.OnChange = [this] {
        parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl() {
    if (parent_) parent_->RemoveControl(this);
    Application().ControlDestroyed(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent_ == parent) return;
    if (parent_) parent_->RemoveControl(this);
    parent_ = nullptr;
    if (parent) {
        parent->InsertControl(this);
        parent_ = parent;
        if (parentFont_) ParentFontChanged();
        if (parentShowHint_) ParentShowHintChanged();
        if (parent_->HandleAllocated() && IsWindowed()) static_cast<TWinControl*>(this)->HandleNeeded();
        RequestAlign();
        Invalidate();
    }
}

TForm* TControl::ParentForm() const {
    const TControl* control = this;
    while (control->parent_) control = control->parent_;
    return dynamic_cast<TForm*>(const_cast<TControl*>(control));
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    Invalidate();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Invalidate();
    RequestAlign();
}

POINT TControl::ClientToScreen(POINT point) const {
    if (!parent_) return point;
    return parent_->ClientToScreen(POINT{point.x + left_, point.y + top_});
}

POINT TControl::ScreenToClient(POINT point) const {
    if (!parent_) return point;
    POINT inParent = parent_->ScreenToClient(point);
    return POINT{inParent.x - left_, inParent.y - top_};
}

void TControl::SetAlign(TAlign align) {
    if (align_ == align) return;
    align_ = align;
    RequestAlign();
}

void TControl::RequestAlign() {
    if (parent_ && align_ != TAlign::None) parent_->AlignControls();
}

void TControl::SetVisible(bool visible) {
    if (visible_ == visible) return;
    if (!visible) Invalidate();
    visible_ = visible;
    VisibleChanged();
    if (visible) Invalidate();
    RequestAlign();
}

void TControl::VisibleChanged() {}

void TControl::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Invalidate();
}

void TControl::SetCaption(std::string_view caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    Invalidate();
}

std::string_view TControl::InheritedHint() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Hint().empty()) return c->Hint();
    return {};
}

void TControl::SetShowHint(bool show) {
    if (showHint_ != show) {
        showHint_ = show;
        parentShowHint_ = false;
        ParentShowHintChanged(); // a windowed control passes it on to its children
    }
}

void TControl::SetParentShowHint(bool inherit) {
    if (parentShowHint_ == inherit) return;
    parentShowHint_ = inherit;
    if (inherit) ParentShowHintChanged();
}

void TControl::ParentShowHintChanged() {
    if (parentShowHint_ && parent_) showHint_ = parent_->showHint_;
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    auto keep = std::move(font_.OnChange);
    font_.Assign(parent_->font_);
    font_.OnChange = std::move(keep);
    FontChanged();
}

void TControl::FontChanged() { Invalidate(); }

void TControl::Invalidate() {
    if (!visible_ || !parent_ || !parent_->HandleAllocated()) return;
    RECT r = BoundsRect();
    InvalidateRect(parent_->handle_, &r, TRUE);
}

void TControl::Repaint() {
    Invalidate();
    if (parent_ && parent_->HandleAllocated()) UpdateWindow(parent_->handle_);
}

void TControl::Click() {
    if (OnClick) OnClick(*this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    WndProc(message);
    return message.Result;
}

void TControl::MouseDown(TMouseButton, WPARAM, int, int) {}
void TControl::MouseUp(TMouseButton, WPARAM, int, int) {}
void TControl::MouseMove(WPARAM, int, int) {}

// Mouse messages of a control drawn by its parent, in its own client coordinates.
void TControl::WndProc(TMessage& message) {
    const int x = LParamX(message.LParam);
    const int y = LParamY(message.LParam);
    switch (message.Msg) {
    case WM_MOUSEMOVE: MouseMove(message.WParam, x, y); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!IsWindowed() && parent_) {
            parent_->mouseCapture_ = this;
            SetCapture(parent_->Handle());
            mouseCaptured_ = true;
        }
        MouseDown(TMouseButton::Left, message.WParam, x, y);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: MouseDown(TMouseButton::Right, message.WParam, x, y); break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: MouseDown(TMouseButton::Middle, message.WParam, x, y); break;
    case WM_LBUTTONUP: {
        const bool wasCaptured = mouseCaptured_;
        if (mouseCaptured_) {
            mouseCaptured_ = false;
            if (parent_) parent_->mouseCapture_ = nullptr;
            if (GetCapture() && parent_ && GetCapture() == parent_->handle_) ReleaseCapture();
        }
        MouseUp(TMouseButton::Left, message.WParam, x, y);
        if (wasCaptured && x >= 0 && y >= 0 && x < width_ && y < height_) Click();
        break;
    }
    case WM_RBUTTONUP: MouseUp(TMouseButton::Right, message.WParam, x, y); break;
    case WM_MBUTTONUP: MouseUp(TMouseButton::Middle, message.WParam, x, y); break;
    case CM_MOUSEENTER: MouseEnter(); break;
    case CM_MOUSELEAVE: MouseLeave(); break;
    case WM_CANCELMODE:
        if (mouseCaptured_) {
            mouseCaptured_ = false;
            if (parent_) parent_->mouseCapture_ = nullptr;
        }
        break;
    default: break;
    }
}

// ---------------------------------------------------------------------------
// Window procedures

LRESULT CALLBACK ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ControlWindowProcW(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK OwnClassWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

namespace {

const char* const kControlProperty = "MokeControl";

// The single byte of code page 932 that a character of a wide message is, or
// 0 when it is none (access letters are single bytes).
char ProgramCharacter(wchar_t character) {
    if (character < 0x80) return static_cast<char>(character);
    const std::wstring_view wide(&character, 1);
    const std::string bytes = ProgramFromWide(wide);
    // A character the code page lacks comes back as the default character.
    return bytes.size() == 1 && WideFromProgram(bytes) == wide ? bytes[0] : '\0';
}

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

void RegisterOwnClass(const TCreateParams& params) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(Instance(), params.className.c_str(), &existing)) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = params.classStyle;
    wc.lpfnWndProc = OwnClassWindowProc;
    wc.hInstance = Instance();
    wc.hIcon = params.icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = params.background;
    wc.lpszClassName = params.className.c_str();
    if (!RegisterClassExA(&wc)) throw Failure("window class " + params.className + " cannot be registered");
}

} // namespace

TWinControl* TWinControl::FromWindowOrAncestor(HWND window) {
    TWinControl* control = nullptr;
    while (window && !(control = FromHandle(window))) window = GetParent(window);
    return control;
}

TWinControl* TWinControl::FromHandle(HWND window) {
    if (!window) return nullptr;
    DWORD process = 0;
    if (GetWindowThreadProcessId(window, &process) != GetCurrentThreadId()) return nullptr;
    return static_cast<TWinControl*>(GetPropA(window, kControlProperty));
}

namespace {

// Every message of the program's windows is handled here: no failure goes
// back into the system's code.
LRESULT Dispatch(TWinControl& control, UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    try {
        control.WndProc(message);
    } catch (...) {
        Application().HandleException();
    }
    return message.Result;
}

} // namespace

// A message of a window to its component; `defaultProc` answers for a window
// that has none. The component lets go of its window after the last message.
LRESULT RouteToControl(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, WNDPROC defaultProc) {
    TWinControl* control = TWinControl::FromHandle(window);
    if (!control) return defaultProc(window, msg, wParam, lParam);
    const LRESULT result = Dispatch(*control, msg, wParam, lParam);
    if (msg == WM_NCDESTROY && TWinControl::FromHandle(window) == control) control->Detach();
    return result;
}

LRESULT CALLBACK ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    return RouteToControl(window, msg, wParam, lParam, DefWindowProcA);
}

LRESULT CALLBACK ControlWindowProcW(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    return RouteToControl(window, msg, wParam, lParam, DefWindowProcW);
}

LRESULT CALLBACK OwnClassWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* control = static_cast<TWinControl*>(create->lpCreateParams);
        if (control) control->Attach(window);
    }
    return ControlWindowProc(window, msg, wParam, lParam);
}

void TWinControl::Attach(HWND window) {
    handle_ = window;
    SetPropA(window, kControlProperty, this);
}

void TWinControl::Detach() {
    if (!handle_) return;
    RemovePropA(handle_, kControlProperty);
    if (defaultProc_) {
        if (wideProcedure_)
            SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defaultProc_));
        else
            SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defaultProc_));
        defaultProc_ = nullptr;
    }
    wideProcedure_ = false;
    handle_ = nullptr;
    mouseCapture_ = nullptr;
}

// ---------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    for (TControl* child : controls_) child->parent_ = nullptr;
    controls_.clear();
    if (handle_) {
        HWND window = handle_;
        Detach(); // no further messages reach this half-destroyed object
        DestroyWindow(window);
    }
}

void TWinControl::InsertControl(TControl* control) { controls_.push_back(control); }

void TWinControl::RemoveControl(TControl* control) {
    if (mouseCapture_ == control) mouseCapture_ = nullptr;
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it != controls_.end()) controls_.erase(it);
    if (!control->IsWindowed()) {
        RECT r = control->BoundsRect();
        if (handle_) InvalidateRect(handle_, &r, TRUE);
    }
}

void TWinControl::SetParent(TWinControl* parent) {
    if (parent == Parent()) return;
    if (handle_ && parent && parent->HandleAllocated()) {
        TControl::SetParent(parent);
        ::SetParent(handle_, parent->Handle());
        return;
    }
    if (handle_) DestroyHandle();
    TControl::SetParent(parent);
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.caption = Caption();
    params.style = WS_CHILD | WS_CLIPSIBLINGS;
    if (Visible()) params.style |= WS_VISIBLE;
    if (!Enabled()) params.style |= WS_DISABLED;
    if (tabStop_) params.style |= WS_TABSTOP;
    params.x = Left();
    params.y = Top();
    params.width = Width();
    params.height = Height();
    if (Parent()) params.parent = Parent()->Handle();
}

HWND TWinControl::Handle() {
    if (!handle_) {
        if (Parent()) Parent()->HandleNeeded();
        if (!handle_) CreateWnd();
    }
    return handle_;
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if (params.className.empty()) throw Failure("control " + Name() + " has no window class");
    creating_ = true;
    struct CreatingFlag {
        bool& flag;
        ~CreatingFlag() { flag = false; }
    } reset{creating_};

    // Windows of our own classes are bound as they are made; platform
    // controls are subclassed once they exist.
    if (params.ownClass) RegisterOwnClass(params);
    HWND window = CreateWindowExA(params.exStyle, params.className.c_str(), params.caption.c_str(), params.style,
                                  params.x, params.y, params.width, params.height, params.parent, params.menu,
                                  Instance(), params.ownClass ? this : nullptr);
    if (window && !params.ownClass) {
        Attach(window);
        wideProcedure_ = params.wideProcedure;
        if (wideProcedure_)
            defaultProc_ = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlWindowProcW)));
        else
            defaultProc_ = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlWindowProc)));
    }
    if (!window) throw Failure("window of " + Name() + " (" + params.className + ") cannot be created");
    ApplyFont();
    UpdateBoundsFromWindow();
    InitializeWnd();
    for (TControl* child : controls_)
        if (child->IsWindowed()) static_cast<TWinControl*>(child)->HandleNeeded();
    AlignControls();
}

void TWinControl::DestroyWnd() {
    FinalizeWnd();
    for (TControl* child : controls_)
        if (child->IsWindowed()) static_cast<TWinControl*>(child)->FinalizeWnd();
    HWND window = handle_;
    DestroyWindow(window); // WM_NCDESTROY detaches this and every child
    if (handle_ == window) Detach();
}

void TWinControl::DestroyHandle() {
    if (handle_) DestroyWnd();
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    DestroyHandle();
    HandleNeeded();
}

void TWinControl::ApplyFont() {
    if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
}

void TWinControl::FontChanged() {
    ApplyFont();
    for (TControl* child : controls_)
        if (child->ParentFont()) child->ParentFontChanged();
    Invalidate();
}

void TWinControl::ParentShowHintChanged() {
    TControl::ParentShowHintChanged();
    for (TControl* child : controls_)
        if (child->ParentShowHint()) child->ParentShowHintChanged();
}

void TWinControl::VisibleChanged() {
    if (handle_) ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::UpdateBoundsFromWindow() {
    if (!handle_) return;
    RECT r;
    GetWindowRect(handle_, &r);
    if (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD) {
        HWND parent = GetParent(handle_);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    }
    TControl::SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (handle_) {
        SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateBoundsFromWindow();
        return;
    }
    TControl::SetBounds(left, top, width, height);
}

RECT TWinControl::ClientRect() const {
    RECT r{0, 0, Width(), Height()};
    if (handle_) GetClientRect(handle_, &r);
    return r;
}

POINT TWinControl::ClientToScreen(POINT point) const {
    if (handle_) {
        ::ClientToScreen(handle_, &point);
        return point;
    }
    return TControl::ClientToScreen(point);
}

POINT TWinControl::ScreenToClient(POINT point) const {
    if (handle_) {
        ::ScreenToClient(handle_, &point);
        return point;
    }
    return TControl::ScreenToClient(point);
}

void TWinControl::SetEnabled(bool enabled) {
    if (Enabled() == enabled) return;
    TControl::SetEnabled(enabled);
    if (handle_) EnableWindow(handle_, enabled);
}

void TWinControl::SetCaption(std::string_view caption) {
    if (Caption() == caption) return;
    TControl::SetCaption(caption);
    if (handle_) SetWindowTextA(handle_, Caption().c_str());
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
    for (const TControl* control = this; control; control = control->Parent())
        if (!control->Visible() || !control->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

void TWinControl::BeginUpdate() {
    if (updateCount_++ == 0 && handle_) SendMessageA(handle_, WM_SETREDRAW, FALSE, 0);
}

void TWinControl::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0 && handle_) {
        SendMessageA(handle_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(handle_, nullptr, TRUE);
    }
}

void TWinControl::AlignControls() {
    if (aligning_) return;
    aligning_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{aligning_};
    RECT area = ClientRect();
    auto place = [&](TAlign which) {
        for (TControl* c : controls_) {
            if (c->Align() != which || !c->Visible()) continue;
            switch (which) {
            case TAlign::Top:
                c->SetBounds(area.left, area.top, area.right - area.left, c->Height());
                area.top += c->Height();
                break;
            case TAlign::Bottom:
                c->SetBounds(area.left, area.bottom - c->Height(), area.right - area.left, c->Height());
                area.bottom -= c->Height();
                break;
            case TAlign::Left:
                c->SetBounds(area.left, area.top, c->Width(), area.bottom - area.top);
                area.left += c->Width();
                break;
            case TAlign::Right:
                c->SetBounds(area.right - c->Width(), area.top, c->Width(), area.bottom - area.top);
                area.right -= c->Width();
                break;
            case TAlign::Client:
                c->SetBounds(area.left, area.top, std::max<LONG>(0, area.right - area.left),
                             std::max<LONG>(0, area.bottom - area.top));
                break;
            case TAlign::None: break;
            }
        }
    };
    place(TAlign::Top);
    place(TAlign::Bottom);
    place(TAlign::Left);
    place(TAlign::Right);
    place(TAlign::Client);
}

TControl* TWinControl::ControlAtPos(POINT point, bool allowDisabled) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (c->IsWindowed() || !c->Visible() || (!allowDisabled && !c->Enabled())) continue;
        RECT r = c->BoundsRect();
        if (PtInRect(&r, point)) return c;
    }
    return nullptr;
}

bool TWinControl::RouteMouseToGraphic(TMessage& message) {
    if (!routesMouse_) return false;
    POINT point{LParamX(message.LParam), LParamY(message.LParam)};
    TControl* target = mouseCapture_;
    if (!target) target = ControlAtPos(point, false);
    if (!target) return false;
    TMessage translated = message;
    translated.LParam = MAKELPARAM(point.x - target->Left(), point.y - target->Top());
    target->WndProc(translated);
    message.Result = translated.Result;
    return true;
}

void TWinControl::PaintControls(HDC dc) {
    for (TControl* c : controls_) {
        if (c->IsWindowed() || !c->Visible()) continue;
        RECT r = c->BoundsRect();
        if (!RectVisible(dc, &r)) continue;
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        SetViewportOrgEx(dc, r.left, r.top, nullptr);
        c->Paint(dc);
        RestoreDC(dc, saved);
    }
}

void TWinControl::PaintHandler(TMessage& message) {
    PAINTSTRUCT ps;
    HDC dc = message.WParam ? reinterpret_cast<HDC>(message.WParam) : BeginPaint(handle_, &ps);
    try {
        PaintControls(dc);
    } catch (...) {
        if (!message.WParam) EndPaint(handle_, &ps);
        throw;
    }
    if (!message.WParam) EndPaint(handle_, &ps);
}

void TWinControl::DefaultHandler(TMessage& message) {
    if (!handle_) return;
    if (wideProcedure_)
        message.Result = CallWindowProcW(defaultProc_, handle_, message.Msg, message.WParam, message.LParam);
    else
        message.Result = defaultProc_
                             ? CallWindowProcA(defaultProc_, handle_, message.Msg, message.WParam, message.LParam)
                             : DefWindowProcA(handle_, message.Msg, message.WParam, message.LParam);
}

void TWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_COMMAND:
        if (message.LParam) {
            if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(message.LParam))) {
                message.Result = child->Perform(CN_COMMAND, message.WParam, message.LParam);
                return;
            }
        }
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(message.LParam);
        if (header) {
            if (TWinControl* child = FromHandle(header->hwndFrom); child && child != this) {
                message.Result = child->Perform(CN_NOTIFY, message.WParam, message.LParam);
                return;
            }
        }
        break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(message.LParam)); child && child != this) {
            message.Result = child->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
            return;
        }
        break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
        // Nobody asked for special colours: the parent's default answer.
        if (HWND parent = GetParent(handle_))
            message.Result = DefWindowProcA(parent, message.Msg - CN_BASE, message.WParam, message.LParam);
        return;
    case WM_SIZE:
        DefaultHandler(message);
        UpdateBoundsFromWindow();
        AlignControls();
        return;
    case WM_MOVE:
        DefaultHandler(message);
        UpdateBoundsFromWindow();
        return;
    case WM_SETFOCUS:
        if (TForm* form = ParentForm(); form && form != this) form->FocusChanged(this);
        break;
    case WM_SETCURSOR:
        if (routesMouse_ && reinterpret_cast<HWND>(message.WParam) == handle_ && LOWORD(message.LParam) == HTCLIENT) {
            POINT p;
            GetCursorPos(&p);
            ::ScreenToClient(handle_, &p);
            TControl* target = mouseCapture_ ? mouseCapture_ : ControlAtPos(p, false);
            if (target && target->Cursor()) {
                ::SetCursor(target->Cursor());
                message.Result = TRUE;
                return;
            }
        }
        break;
    case WM_CHAR:
    case WM_SYSCHAR: {
        const LRESULT code = SendMessageA(handle_, WM_GETDLGCODE, message.WParam, 0);
        if (!(code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS))) {
            const char character = wideProcedure_ ? ProgramCharacter(static_cast<wchar_t>(message.WParam))
                                                  : static_cast<char>(message.WParam);
            if (TForm* form = ParentForm(); form && character && form->DialogChar(character)) {
                message.Result = 0;
                return;
            }
        }
        break;
    }
    case WM_PAINT:
        if (routesMouse_) {
            PaintHandler(message);
            return;
        }
        break;
    case WM_CAPTURECHANGED:
        // The capture taken for a pressed child went elsewhere without a
        // release (another program came to the front, say): the child is
        // pressed no longer, and later clicks go where they are made.
        if (reinterpret_cast<HWND>(message.LParam) == handle_) break;
        [[fallthrough]];
    case WM_CANCELMODE:
        if (mouseCapture_) {
            mouseCapture_->Perform(WM_CANCELMODE);
            mouseCapture_ = nullptr;
        }
        break;
    default:
        if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MBUTTONDBLCLK && message.Msg != WM_MOUSEWHEEL) {
            if (RouteMouseToGraphic(message)) return;
            TControl::WndProc(message);
        }
        break;
    }
    DefaultHandler(message);
}

bool TWinControl::PreviewKeyDown(const MSG& message) {
    TForm* form = ParentForm();
    // 1. Shortcuts of the menu of the window that holds the control.
    if (form && form->IsShortCut(message)) return true;
    // 2. The main window's menu, for keys typed in the program's other windows.
    TForm* mainForm = Application().MainForm();
    if (mainForm && mainForm != form && mainForm->HandleAllocated() && IsWindowEnabled(mainForm->Handle()) &&
        mainForm->IsShortCut(message))
        return true;
    // 3. Dialog navigation.
    return form && form->DialogKey(*this, message);
}

namespace {

LOGFONTA ProgramLogFont(const LOGFONTW& wide) {
    LOGFONTA lf{};
    CopyLogFontMetrics(lf, wide);
    const std::wstring_view face(wide.lfFaceName, wcsnlen(wide.lfFaceName, LF_FACESIZE));
    // Cut at a whole character: a face of 31 double-byte characters does not fit.
    std::string bytes = ProgramFromWide(face);
    std::wstring_view kept = face;
    while (bytes.size() >= LF_FACESIZE && !kept.empty()) {
        kept.remove_suffix(1);
        bytes = ProgramFromWide(kept);
    }
    lstrcpynA(lf.lfFaceName, bytes.c_str(), LF_FACESIZE);
    return lf;
}

} // namespace

bool ReadNonClientMetrics(NONCLIENTMETRICSA& metrics) {
    metrics = NONCLIENTMETRICSA{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    NONCLIENTMETRICSW wide{};
    wide.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, wide.cbSize, &wide, 0)) return false;
    metrics.iBorderWidth = wide.iBorderWidth;
    metrics.iScrollWidth = wide.iScrollWidth;
    metrics.iScrollHeight = wide.iScrollHeight;
    metrics.iCaptionWidth = wide.iCaptionWidth;
    metrics.iCaptionHeight = wide.iCaptionHeight;
    metrics.lfCaptionFont = ProgramLogFont(wide.lfCaptionFont);
    metrics.iSmCaptionWidth = wide.iSmCaptionWidth;
    metrics.iSmCaptionHeight = wide.iSmCaptionHeight;
    metrics.lfSmCaptionFont = ProgramLogFont(wide.lfSmCaptionFont);
    metrics.iMenuWidth = wide.iMenuWidth;
    metrics.iMenuHeight = wide.iMenuHeight;
    metrics.lfMenuFont = ProgramLogFont(wide.lfMenuFont);
    metrics.lfStatusFont = ProgramLogFont(wide.lfStatusFont);
    metrics.lfMessageFont = ProgramLogFont(wide.lfMessageFont);
    return true;
}

int DrawProgramText(HDC dc, std::string_view text, RECT& bounds, UINT flags) {
    const std::wstring wide = WideFromProgram(text);
    return DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &bounds, flags);
}

SIZE ProgramTextExtent(HDC dc, std::string_view text) {
    const std::wstring wide = WideFromProgram(text);
    SIZE extent{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    return extent;
}

RECT MeasureText(HFONT font, std::string_view text, RECT bounds, UINT flags) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    DrawProgramText(dc, text, bounds, flags | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return bounds;
}

} // namespace moke
