#include "app/frame/Application.h"

#include "app/frame/Failure.h"
#include "app/frame/FailureText.h"
#include "app/frame/Forms.h"
#include "app/frame/HintText.h"
#include "app/frame/HintWindow.h"
#include "app/frame/LeadBytes.h"

#include <commctrl.h>

#include <new>

namespace moke {

// The hidden top-level window that carries the application title and owns the
// taskbar button; it owns the forms, the standard error box and the system dialogs.
class TApplicationWindow : public TWinControl {
public:
    explicit TApplicationWindow(TComponent* owner) : TWinControl(owner) { SetName("ApplicationWindow"); }

protected:
    void CreateParams(TCreateParams& params) override {
        params.className = "TApplication";
        params.ownClass = true;
        params.caption = Caption();
        params.style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
        params.x = GetSystemMetrics(SM_CXSCREEN) / 2;
        params.y = GetSystemMetrics(SM_CYSCREEN) / 2;
        params.width = 0;
        params.height = 0;
    }

    void WndProc(TMessage& message) override {
        TApplication& app = Application();
        switch (message.Msg) {
        case WM_CLOSE:
            if (TForm* main = app.MainForm()) main->Close();
            return;
        case WM_SYSCOMMAND:
            switch (message.WParam & 0xFFF0) {
            case SC_MINIMIZE: app.Minimize(); return;
            case SC_RESTORE: app.Restore(); return;
            default: break;
            }
            break;
        case WM_ACTIVATE:
            // Activating the taskbar button activates the window the user last worked in.
            if (LOWORD(message.WParam) != WA_INACTIVE && !IsIconic(Handle())) {
                HWND popup = GetLastActivePopup(Handle());
                if (popup && popup != Handle() && IsWindowVisible(popup) && IsWindowEnabled(popup)) {
                    SetActiveWindow(popup);
                    return;
                }
            }
            break;
        case WM_ACTIVATEAPP:
            // Seen by the loop's message hook (tips vanish when the program is left).
            PostMessageA(Handle(), message.WParam ? CM_APPACTIVATED : CM_APPDEACTIVATED, 0, 0);
            break;
        case WM_QUERYENDSESSION:
            message.Result = TRUE;
            return;
        default: break;
        }
        DefaultHandler(message);
    }
};

TApplication& Application() {
    static TApplication* application = new TApplication(); // lives until the process ends
    return *application;
}

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() = default;

void TApplication::Initialize() {
    if (appWindow_) return;
    LeadBytes lead;
    if (GetSystemMetrics(SM_DBCSENABLED)) {
        CPINFO info{};
        if (GetCPInfo(CP_ACP, &info)) {
            for (int i = 0; i + 1 < MAX_LEADBYTES && i < 12; i += 2) {
                if (info.LeadByte[i] == 0 && info.LeadByte[i + 1] == 0) break;
                lead.AddRange(info.LeadByte[i], info.LeadByte[i + 1]);
            }
        }
    }
    SetSystemLeadBytes(lead);

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);

    // Tool tips are on from the start, before any window of the program.
    ToolTips().SetEnabled(true);

    appWindow_ = &Make<TApplicationWindow>();
    char module[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string title = module;
    if (auto slash = title.find_last_of('\\'); slash != std::string::npos) title.erase(0, slash + 1);
    if (auto dot = title.rfind('.'); dot != std::string::npos) title.erase(dot);
    appWindow_->SetCaption(title);
    appWindow_->HandleNeeded();
}

HWND TApplication::Handle() const { return appWindow_ ? appWindow_->Handle() : nullptr; }

std::string TApplication::Title() const {
    HWND window = Handle();
    if (!window) return {};
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void TApplication::SetTitle(std::string_view title) {
    if (appWindow_) appWindow_->SetCaption(title);
}

void TApplication::SetIcon(HICON icon) {
    icon_ = icon;
    if (HWND window = Handle()) SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void TApplication::Run(int showCommand) {
    ShowMainForm(showCommand);
    while (!terminated_) HandleMessage();
}

// The launching program's request: maximised, or minimised without
// activation (to the taskbar button only); any other request shows the
// window in the normal state.
void TApplication::ShowMainForm(int showCommand) {
    if (!mainForm_) return;
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    switch (showCommand) {
    case SW_SHOWMINNOACTIVE: Minimize(); break;
    case SW_SHOWMAXIMIZED:
        mainForm_->SetWindowState(TWindowState::Maximized);
        mainForm_->Show();
        break;
    default: mainForm_->Show(); break;
    }
}

void TApplication::Terminate() {
    if (!terminated_) PostQuitMessage(0);
}

void TApplication::HandleMessage() {
    MSG message;
    if (!ProcessMessage(message)) {
        RunIdlePass();
        WaitMessage();
    }
}

void TApplication::ProcessMessages() {
    MSG message;
    while (ProcessMessage(message)) {
    }
}

bool TApplication::ProcessMessage(MSG& message) {
    // Wide: a character typed into a control that keeps UTF-16 reaches it whole.
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return false;
    if (message.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    ToolTips().MessageTaken(message);
    if (IsKeyMessage(message)) return true;
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return true;
}

// Keyboard path: a key-down is offered to the control that owns its window
// before it is translated, unless the mouse is captured.
bool TApplication::IsKeyMessage(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    if (GetCapture()) return false;
    TWinControl* control = TWinControl::FromWindowOrAncestor(message.hwnd);
    if (!control) return false;
    try {
        return control->PreviewKeyDown(message);
    } catch (...) {
        HandleException();
        return true;
    }
}

TControl* TApplication::ControlAtScreenPoint(POINT point) {
    TWinControl* control = TWinControl::FromWindowOrAncestor(WindowFromPoint(point));
    if (!control) return nullptr;
    if (TControl* inner = control->ControlAtPos(control->ScreenToClient(point), true)) return inner;
    return control;
}

TControl* TApplication::CaptureControl() {
    TWinControl* control = TWinControl::FromHandle(GetCapture());
    if (!control) return nullptr;
    if (TControl* child = control->CapturedChild()) return child;
    return control;
}

// The idle pass: runs whenever the queue is empty, before the loop waits.
void TApplication::RunIdlePass() {
    POINT point{};
    GetCursorPos(&point);
    TControl* under = ControlAtScreenPoint(point);

    // Mouse enter and leave; while a control holds the capture only it is told.
    TControl* target = under;
    if (TControl* capture = CaptureControl(); capture && target != capture) target = nullptr;
    if (target != mouseControl_) {
        TControl* left = mouseControl_;
        mouseControl_ = target;
        if (left) left->Perform(CM_MOUSELEAVE);
        if (target) target->Perform(CM_MOUSEENTER);
    }

    ToolTips().Idle(under);
    SetHint(under ? LongHint(under->InheritedHint()) : std::string_view{});
    if (OnIdle) OnIdle(under);
}

void TApplication::SetHint(std::string_view hint) {
    if (hint_ == hint) return;
    hint_ = hint;
    if (OnHint) OnHint(*this);
}

void TApplication::ControlDestroyed(TControl* control) {
    if (mouseControl_ == control) mouseControl_ = nullptr;
    ToolTips().ControlDestroyed(control);
}

void TApplication::Minimize() {
    HWND window = Handle();
    if (!window) return;
    if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_HIDE);
    ShowWindow(window, SW_SHOWMINNOACTIVE);
}

void TApplication::Restore() {
    HWND window = Handle();
    if (!window) return;
    ShowWindow(window, SW_RESTORE);
    if (mainForm_) {
        mainForm_->Show();
        SetActiveWindow(mainForm_->Handle());
    }
}

void TApplication::HandleException() noexcept {
    if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
    try {
        throw;
    } catch (const SilentCancel&) {
        return;
    } catch (const Failure& failure) {
        if (failure.Kind() == FailureKind::Abort) return;
        ShowErrorBox(failure.Message());
    } catch (const std::bad_alloc&) {
        ShowErrorBox(FailureFormat(FailureKind::OutOfMemory));
    } catch (const std::exception& failure) {
        ShowErrorBox(failure.what());
    } catch (...) {
        ShowErrorBox("予期しないエラーが発生しました");
    }
}

void TApplication::ShowErrorBox(std::string_view message) noexcept {
    try {
        const std::string text = WithFullStop(message);
        const std::string title = Title();
        TaskWindowsDisabled disabled;
        MessageBoxA(Handle(), text.c_str(), title.c_str(), MB_OK | MB_ICONHAND);
        disabled.Restore(true);
    } catch (...) {
        // Nothing more can be shown; the failure ends here.
    }
}

// ---------------------------------------------------------------------------

namespace {
BOOL CALLBACK DisableWindow(HWND window, LPARAM data) {
    auto* state = reinterpret_cast<std::pair<HWND, std::vector<HWND>*>*>(data);
    if (window != state->first && IsWindowVisible(window) && IsWindowEnabled(window)) {
        state->second->push_back(window);
        EnableWindow(window, FALSE);
    }
    return TRUE;
}
} // namespace

TaskWindowsDisabled::TaskWindowsDisabled(HWND except) : activeBefore_(GetActiveWindow()) {
    std::pair<HWND, std::vector<HWND>*> state{except, &disabled_};
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&state));
}

TaskWindowsDisabled::~TaskWindowsDisabled() { Restore(false); }

void TaskWindowsDisabled::Restore(bool reactivate) {
    if (restored_) return;
    restored_ = true;
    for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it)
        if (IsWindow(*it)) EnableWindow(*it, TRUE);
    if (reactivate && activeBefore_ && IsWindow(activeBefore_)) SetActiveWindow(activeBefore_);
}

void ShowLastResortAndExit() noexcept {
    std::string message;
    std::string_view kind = FailureKindName(FailureKind::General);
    try {
        throw;
    } catch (const Failure& failure) {
        message = failure.Message();
        kind = FailureKindName(failure.Kind());
    } catch (const std::exception& failure) {
        message = failure.what();
    } catch (...) {
    }
    char module[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    try {
        const std::string text = LastResortText(kind, module, nullptr, message);
        MessageBoxA(nullptr, text.c_str(), "ｱﾌﾟﾘｹｰｼｮﾝ ｴﾗｰ", MB_TASKMODAL | MB_ICONHAND);
    } catch (...) {
    }
    ExitProcess(1);
}

} // namespace moke
