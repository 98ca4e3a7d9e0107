// The application object: title, icon and application window, the message
// loop with its idle pass and keyboard path, the application hint, and the
// standard error report.
#pragma once

#include "app/frame/Control.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace moke {

class TForm;
class TApplicationWindow;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    // Builds the lead-byte set, registers the common controls and makes the
    // application window. Runs once, before any form.
    void Initialize();

    // The hidden top-level window that carries the title and the taskbar button.
    HWND Handle() const;

    // The title, read back from the application window's text.
    std::string Title() const;
    void SetTitle(std::string_view title);
    HICON Icon() const { return icon_; }
    // Hands the icon to the application window (large icon).
    void SetIcon(HICON icon);

    // Creates a form owned by the application; the first one becomes the main form.
    template <class F, class... Args>
    F& CreateForm(Args&&... args) {
        auto* form = new F(this, std::forward<Args>(args)...);
        if (!mainForm_) mainForm_ = form;
        return *form;
    }
    TForm* MainForm() const { return mainForm_; }
    // For a host that runs several main windows in turn (the tests): makes a
    // form the main form and forgets an earlier termination.
    void SetMainForm(TForm* form) { mainForm_ = form; }
    void ClearTerminated() { terminated_ = false; }

    // Shows the main form as the launching program asked and serves messages
    // until the application terminates.
    void Run(int showCommand = SW_SHOWNORMAL);
    void ShowMainForm(int showCommand);
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Takes and handles one message, or runs the idle pass when there is none.
    void HandleMessage();
    // Handles every message waiting in the queue, without the idle pass.
    void ProcessMessages();
    // The idle pass: mouse enter and leave, the hint from the pointer, the idle hook.
    void RunIdlePass();

    // The application hint: a change calls OnHint with the application as sender.
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string_view hint);
    TNotifyEvent OnHint;

    // The standard error report for the failure currently being handled.
    // Call only inside a catch block.
    void HandleException() noexcept;
    // Shows `message` in the standard error box (full stop rule applied).
    void ShowErrorBox(std::string_view message) noexcept;

    // The control under a screen point: the innermost control of the program,
    // children drawn by their parent included (disabled ones too); null outside.
    static TControl* ControlAtScreenPoint(POINT point);
    // The control that holds the mouse capture, or null.
    static TControl* CaptureControl();

    // Hook for the pieces that watch the loop: runs in the idle pass after the hint, with the control under the pointer.
    std::function<void(TControl* underPointer)> OnIdle;

    void Minimize();
    void Restore();

    // Forgets a control that is going away.
    void ControlDestroyed(TControl* control);

private:
    friend class TApplicationWindow;
    bool ProcessMessage(MSG& message);
    bool IsKeyMessage(const MSG& message);

    TApplicationWindow* appWindow_ = nullptr;
    TForm* mainForm_ = nullptr;
    HICON icon_ = nullptr;
    bool terminated_ = false;
    std::string hint_;
    TControl* mouseControl_ = nullptr;
};

// The program's one application object.
TApplication& Application();

// Keeps the program's other windows disabled while a modal window or box is up,
// then enables them again and gives the activation back.
class TaskWindowsDisabled {
public:
    explicit TaskWindowsDisabled(HWND except = nullptr);
    ~TaskWindowsDisabled();
    TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
    TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;
    // Enables the windows again; `reactivate` gives the activation back to the window active before.
    void Restore(bool reactivate);

private:
    std::vector<HWND> disabled_;
    HWND activeBefore_;
    bool restored_ = false;
};

// The last resort for a failure that escaped every dispatch point: a task-modal
// box, then the process ends with exit code 1.
[[noreturn]] void ShowLastResortAndExit() noexcept;

} // namespace moke
