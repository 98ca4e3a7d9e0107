// Forms: top-level windows of the program, registered under their own class
// names, with a menu, a creation handler, the close query and modal showing.
#pragma once

#include "app/frame/Control.h"

#include <functional>
#include <string>

namespace moke {

class TMainMenu;
class TButton;

enum class TBorderStyle { Sizeable, Dialog };
// Default: the system's position and size. Designed: the bounds as set.
// ScreenCenter: the set size, centred on the primary display when first shown.
enum class TPosition { Default, Designed, ScreenCenter };
enum class TWindowState { Normal, Maximized };

using TCloseQueryEvent = std::function<void(TObject& sender, bool& canClose)>;

class TForm : public TWinControl {
public:
    TForm(TComponent* owner, std::string className);

    // The frame of a window with the dialog border.
    static constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    static constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    ~TForm() override;


    void SetBorderStyle(TBorderStyle style) { borderStyle_ = style; }
    void SetPosition(TPosition position) { position_ = position; }
    void SetWindowState(TWindowState state);
    // Size of the client area; applied to the window's outer size when it is made.
    void SetClientSize(int width, int height);
    HICON Icon() const { return icon_; }
    void SetIcon(HICON icon);

    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);

    // Runs the creation handler at the window-construction dispatch point.
    void DoCreate();

    void Show();
    void Hide();
    // Shows the form modally: returns the result when ModalResult is set.
    int ShowModal();
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // The close box, Alt+F4 and the Exit command: asks the close query first.
    void Close();
    bool CloseQuery();

    void SetActiveControl(TWinControl* control);
    void FocusChanged(TWinControl* control);

    // Keyboard path steps: the menu's shortcuts, dialog navigation, access letters.
    bool IsShortCut(const MSG& message);
    bool DialogKey(TWinControl& focused, const MSG& message);
    bool DialogChar(char character);
    // Moves the focus to the next (or previous) control that can take it;
    // false when there is none.
    bool SelectNext(TWinControl* current, bool forward, bool siblingsOnly);

    TNotifyEvent OnCreate;
    TNotifyEvent OnResize;
    TCloseQueryEvent OnCloseQuery;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void SendIcon();
    void WndProc(TMessage& message) override;

private:
    void CollectFocusable(TWinControl& parent, std::vector<TWinControl*>& list) const;
    void CollectButtons(TWinControl& parent, std::vector<TButton*>& list) const;
    void MoveDefaultFrame(TWinControl* focused);
    void PlaceOnScreen();
    void MenuSelect(TMessage& message);

    std::string className_;
    TBorderStyle borderStyle_ = TBorderStyle::Sizeable;
    TPosition position_ = TPosition::Default;
    TWindowState windowState_ = TWindowState::Normal;
    int clientWidth_ = -1, clientHeight_ = -1;
    HICON icon_ = nullptr;
    TMainMenu* menu_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    bool modal_ = false;
    int modalResult_ = 0;
    bool shownOnce_ = false;
};

} // namespace moke
