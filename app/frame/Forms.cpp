#include "app/frame/Forms.h"

#include "app/frame/Application.h"
#include "app/frame/CaptionText.h"
#include "app/frame/Failure.h"
#include "app/frame/HintText.h"
#include "app/frame/Menus.h"
#include "app/frame/MessageLayout.h"
#include "app/frame/StdCtrls.h"

#include <algorithm>
#include <cctype>

namespace moke {

TForm::TForm(TComponent* owner, std::string className) : TWinControl(owner), className_(std::move(className)) {
    routesMouse_ = true;
    TControl::SetVisible(false);
}

TForm::~TForm() = default;

void TForm::SetWindowState(TWindowState state) {
    windowState_ = state;
    if (HandleAllocated() && IsWindowVisible(Handle()))
        ShowWindow(Handle(), state == TWindowState::Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
}

void TForm::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    if (HandleAllocated()) {
        RECT r{0, 0, width, height};
        AdjustWindowRectEx(&r, GetWindowLongA(Handle(), GWL_STYLE), menu_ != nullptr,
                           GetWindowLongA(Handle(), GWL_EXSTYLE));
        SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
    }
}

void TForm::SetIcon(HICON icon) {
    icon_ = icon;
    if (HandleAllocated()) SendIcon();
}

// Windows with the dialog border take no icon.
void TForm::SendIcon() {
    if (borderStyle_ != TBorderStyle::Dialog)
        SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
}

void TForm::SetMenu(TMainMenu* menu) {
    menu_ = menu;
    if (HandleAllocated() && menu_) menu_->AttachTo(Handle());
}

void TForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.className = className_;
    params.ownClass = true;
    params.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    params.parent = Application().Handle(); // owner: the application window
    if (borderStyle_ == TBorderStyle::Dialog) {
        params.style = kDialogStyle | WS_CLIPCHILDREN;
        params.exStyle = kDialogExStyle;
    } else {
        params.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
        params.exStyle = WS_EX_WINDOWEDGE;
        params.icon = icon_;
    }
    if (clientWidth_ >= 0) {
        RECT r{0, 0, clientWidth_, clientHeight_};
        AdjustWindowRectEx(&r, params.style, menu_ != nullptr, params.exStyle);
        params.width = r.right - r.left;
        params.height = r.bottom - r.top;
    }
    if (position_ == TPosition::Default) {
        params.x = params.y = params.width = params.height = CW_USEDEFAULT;
    }
}

void TForm::InitializeWnd() {
    if (menu_) menu_->AttachTo(Handle());
    if (icon_) SendIcon();
}

void TForm::DoCreate() {
    if (!OnCreate) return;
    try {
        OnCreate(*this);
    } catch (...) {
        Application().HandleException();
    }
}

// Centred on the primary display: halves truncated toward zero, never negative.
void TForm::PlaceOnScreen() {
    if (position_ != TPosition::ScreenCenter) return;
    RECT r;
    GetWindowRect(Handle(), &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int left = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    const int top = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::Show() {
    HWND window = Handle();
    if (!shownOnce_) {
        shownOnce_ = true;
        PlaceOnScreen();
    }
    TControl::SetVisible(true);
    ShowWindow(window, windowState_ == TWindowState::Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    SetForegroundWindow(window);
    UpdateWindow(window);
}

void TForm::Hide() {
    TControl::SetVisible(false);
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
}

int TForm::ShowModal() {
    if (modal_ || Visible()) throw Failure("表示中のウィンドウはモーダルにできません");
    if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
    HWND window = Handle();
    TaskWindowsDisabled disabled(window);
    modal_ = true;
    modalResult_ = 0;
    struct ModalEnd {
        TForm& form;
        ~ModalEnd() {
            form.modal_ = false;
            if (form.Visible()) form.Hide();
        }
    } end{*this};
    Show();
    TApplication& app = Application();
    while (modalResult_ == 0) {
        app.HandleMessage();
        if (app.Terminated()) modalResult_ = mrCancel;
    }
    const bool stillActive = GetActiveWindow() == window;
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    TControl::SetVisible(false);
    disabled.Restore(stillActive);
    return modalResult_;
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(*this, canClose);
    return canClose;
}

void TForm::Close() {
    if (modal_) {
        if (CloseQuery()) modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    if (Application().MainForm() == this)
        Application().Terminate();
    else
        Hide();
}

void TForm::SetActiveControl(TWinControl* control) {
    activeControl_ = control;
    if (control && HandleAllocated() && GetActiveWindow() == Handle() && control->CanFocus()) control->SetFocus();
}

void TForm::FocusChanged(TWinControl* control) {
    activeControl_ = control;
    MoveDefaultFrame(control);
}

// As in the platform's dialogs: the focused push button shows the thick
// frame, being the one Enter presses; when the focus is elsewhere, the
// default button shows it again.
void TForm::MoveDefaultFrame(TWinControl* focused) {
    std::vector<TButton*> buttons;
    CollectButtons(*this, buttons);
    auto* focusedButton = dynamic_cast<TButton*>(focused);
    for (TButton* button : buttons) button->ShowDefaultFrame(focusedButton ? button == focusedButton : button->Default());
}

void TForm::CollectFocusable(TWinControl& parent, std::vector<TWinControl*>& list) const {
    for (TControl* child : parent.Controls()) {
        if (!child->IsWindowed()) continue;
        auto* windowed = static_cast<TWinControl*>(child);
        list.push_back(windowed);
        CollectFocusable(*windowed, list);
    }
}

void TForm::CollectButtons(TWinControl& parent, std::vector<TButton*>& list) const {
    for (TControl* child : parent.Controls()) {
        if (auto* button = dynamic_cast<TButton*>(child)) list.push_back(button);
        if (child->IsWindowed()) CollectButtons(*static_cast<TWinControl*>(child), list);
    }
}

bool TForm::SelectNext(TWinControl* current, bool forward, bool siblingsOnly) {
    std::vector<TWinControl*> candidates;
    if (siblingsOnly && current && current->Parent()) {
        for (TControl* child : current->Parent()->Controls())
            if (child->IsWindowed()) candidates.push_back(static_cast<TWinControl*>(child));
    } else {
        CollectFocusable(*this, candidates);
    }
    auto usable = [&](TWinControl* c) { return c->CanFocus() && (siblingsOnly || c->TabStop()); };
    if (candidates.empty()) return false;
    const auto n = static_cast<long>(candidates.size());
    long start = std::find(candidates.begin(), candidates.end(), current) - candidates.begin();
    if (start == n) start = forward ? -1 : n;
    for (long step = 1; step <= n; ++step) {
        long i = ((start + (forward ? step : -step)) % n + n) % n;
        if (usable(candidates[i])) {
            candidates[i]->SetFocus();
            return true;
        }
    }
    return false;
}

bool TForm::IsShortCut(const MSG& message) { return menu_ && menu_->IsShortCut(message); }

bool TForm::DialogKey(TWinControl& focused, const MSG& message) {
    const auto key = static_cast<UINT>(message.wParam);
    // Asked without the message: an edit control told of a key message
    // would take itself for a dialog's and stop taking Enter.
    const LRESULT code = SendMessageA(message.hwnd, WM_GETDLGCODE, key, 0);
    const bool alt = (message.lParam & (1 << 29)) != 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (key) {
    case VK_TAB:
        if ((code & DLGC_WANTTAB) || alt || ctrl) return false;
        SelectNext(&focused, !shift, false);
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        if ((code & DLGC_WANTARROWS) || alt) return false;
        SelectNext(&focused, key == VK_RIGHT || key == VK_DOWN, true);
        return true;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: {
        if ((code & DLGC_WANTALLKEYS) || alt || ctrl || shift) return false;
        std::vector<TButton*> buttons;
        CollectButtons(*this, buttons);
        const bool enter = key == VK_RETURN || key == VK_EXECUTE;
        if (enter) {
            if (auto* button = dynamic_cast<TButton*>(&focused); button && button->CanFocus()) {
                button->Click();
                return true;
            }
        }
        for (TButton* button : buttons) {
            if ((enter ? button->Default() : button->Cancel()) && button->Visible() && button->Enabled()) {
                button->Click();
                return true;
            }
        }
        return false;
    }
    default: return false;
    }
}

bool TForm::DialogChar(char character) {
    const char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(character)));
    if (wanted == 0) return false;
    std::vector<TButton*> buttons;
    CollectButtons(*this, buttons);
    for (TButton* button : buttons) {
        if (!button->Visible() || !button->Enabled()) continue;
        if (AccessLetter(button->Caption()) == wanted) {
            button->Click();
            return true;
        }
    }
    return false;
}

void TForm::MenuSelect(TMessage& message) {
    const UINT item = LOWORD(message.WParam);
    const UINT flags = HIWORD(message.WParam);
    auto* menu = reinterpret_cast<HMENU>(message.LParam);
    if (flags == 0xFFFF && item == 0) {
        Application().SetHint("");
        return;
    }
    TMenuItem* found = nullptr;
    if (menu_) {
        if (flags & MF_POPUP) {
            if (HMENU popup = GetSubMenu(menu, static_cast<int>(item)))
                found = menu_->FindItem(reinterpret_cast<UINT_PTR>(popup), TMenuFind::Handle);
        } else {
            found = menu_->FindItem(item, TMenuFind::Command);
        }
    }
    Application().SetHint(found ? LongHint(found->Hint()) : std::string_view{});
}

void TForm::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_CLOSE: Close(); return;
    case WM_QUERYENDSESSION: message.Result = CloseQuery() ? TRUE : FALSE; return;
    case WM_COMMAND:
        if (message.LParam == 0 && menu_) {
            if (menu_->DispatchCommand(LOWORD(message.WParam))) return;
        }
        break;
    case WM_INITMENUPOPUP:
        if (menu_ && menu_->DispatchPopup(reinterpret_cast<HMENU>(message.WParam))) return;
        break;
    case WM_MENUSELECT:
        // Menu hints come from the window that owns a menu bar; the system
        // menu of a window without one leaves the hint alone.
        if (menu_) {
            MenuSelect(message);
            return;
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(message.WParam) != WA_INACTIVE && !HIWORD(message.WParam)) {
            // The control that had the focus, or else the first that takes it.
            bool focused = activeControl_ && activeControl_->CanFocus();
            if (focused)
                activeControl_->SetFocus();
            else
                focused = SelectNext(nullptr, true, false);
            if (focused) {
                message.Result = 0;
                return;
            }
        }
        break;
    case WM_SIZE:
        TWinControl::WndProc(message);
        if (OnResize) OnResize(*this);
        return;
    default: break;
    }
    TWinControl::WndProc(message);
}

} // namespace moke
