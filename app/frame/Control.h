// The component layer's base classes: components with owners and names,
// controls with bounds, hints and fonts, and windowed controls that own a
// window handle and receive its messages through one window procedure.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace moke {

class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject& sender)>;

// A message as a window procedure sees it; Result is what the procedure returns.
struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// Signed pointer coordinates of a mouse message.
inline int LParamX(LPARAM l) { return static_cast<short>(LOWORD(l)); }
inline int LParamY(LPARAM l) { return static_cast<short>(HIWORD(l)); }

// Messages of the component layer itself.
enum : UINT {
    CM_BASE = 0xB000,
    CM_MOUSEENTER = CM_BASE + 1,  // the pointer came onto a control (idle pass)
    CM_MOUSELEAVE = CM_BASE + 2,  // the pointer left it
    CM_APPDEACTIVATED = CM_BASE + 3, // posted by the application window on WM_ACTIVATEAPP
    CM_APPACTIVATED = CM_BASE + 4,
    CN_BASE = 0xBC00,             // notifications handed back to the control that sent them
    CN_COMMAND = CN_BASE + WM_COMMAND,
    CN_NOTIFY = CN_BASE + WM_NOTIFY,
    CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT,
    CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC,
};

// A component: named, owned by another component, and owning components in turn.
// Owned components are destroyed with their owner, the last created first.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner = nullptr);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(std::string_view name) { name_ = name; }
    TComponent* Owner() const { return owner_; }
    const std::vector<TComponent*>& Components() const { return components_; }
    TComponent* FindComponent(std::string_view name) const;
    // Destroys every owned component, the last created first.
    void DestroyComponents();
    // Runs once after the form definition that made the component has been read.
    virtual void Loaded() {}

    // Creates a component owned by this one.
    template <class T, class... Args>
    T& Make(Args&&... args) {
        auto* made = new T(this, std::forward<Args>(args)...);
        return *made;
    }

private:
    void Insert(TComponent* component) { components_.push_back(component); }
    void Remove(TComponent* component);

    std::string name_;
    TComponent* owner_;
    std::vector<TComponent*> components_;
};

// A font description and its system font object, made on demand.
// A logical font described with a code page 932 face name, as the wide
// calls take it (the name converted explicitly, whatever the system's code
// page; a name is never more characters than bytes).
LOGFONTW WideLogFont(const LOGFONTA& narrow);

class TFont {
public:
    enum Style : unsigned { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };

    TFont();
    ~TFont();
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    // Copies the description (not the change handler).
    void Assign(const TFont& source);
    void Assign(const LOGFONTA& logFont, COLORREF color);
    // The styles a logical font describes.
    static unsigned StylesOf(const LOGFONTA& logFont);

    const std::string& Name() const { return name_; }
    int Height() const { return height_; }
    int Charset() const { return charset_; }
    unsigned Styles() const { return styles_; }
    COLORREF Color() const { return color_; }
    void SetName(std::string_view name);
    void SetHeight(int height);
    void SetCharset(int charset);
    void SetStyles(unsigned styles);
    void SetColor(COLORREF color);

    HFONT Handle();
    LOGFONTA Describe() const;
    // The same description with the face name in UTF-16, as the font is made:
    // the name is code page 932 whatever the system's code page.
    LOGFONTW DescribeWide() const { return WideLogFont(Describe()); }

    std::function<void()> OnChange;

private:
    void Changed();
    void Release();

    std::string name_ = "ＭＳ Ｐゴシック";
    int height_ = -12;
    int charset_ = SHIFTJIS_CHARSET;
    unsigned styles_ = 0;
    COLORREF color_ = 0x000000;
    HFONT handle_ = nullptr;
};

class TWinControl;
class TForm;

enum class TAlign { None, Top, Bottom, Left, Right, Client };
enum class TMouseButton { Left, Right, Middle };

// A visible element of a window: either a windowed control or one drawn by its parent.
class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    TForm* ParentForm() const;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
    virtual void SetBounds(int left, int top, int width, int height);
    void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
    void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
    virtual RECT ClientRect() const { return RECT{0, 0, width_, height_}; }
    // Converts a point of this control's client area to the screen, and back.
    virtual POINT ClientToScreen(POINT point) const;
    virtual POINT ScreenToClient(POINT point) const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    const std::string& Caption() const { return caption_; }
    virtual void SetCaption(std::string_view caption);

    const std::string& Hint() const { return hint_; }
    // The first hint that is not empty, from this control up its parents.
    std::string_view InheritedHint() const;
    void SetHint(std::string_view hint) { hint_ = hint; }
    bool ShowHint() const { return showHint_; }
    // A different value also ends the copying from the parent.
    void SetShowHint(bool show);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool inherit);

    TFont& Font() { return font_; }
    bool ParentFont() const { return parentFont_; }

    HCURSOR Cursor() const { return cursor_; }
    void SetCursor(HCURSOR cursor) { cursor_ = cursor; }

    virtual bool IsWindowed() const { return false; }
    virtual void Invalidate();
    void Repaint();

    TNotifyEvent OnClick;
    virtual void Click();

    // Sends a message to the control's own handling (windowed or not).
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual void WndProc(TMessage& message);

    // Mouse notifications (client coordinates of this control).
    virtual void MouseDown(TMouseButton button, WPARAM keys, int x, int y);
    virtual void MouseUp(TMouseButton button, WPARAM keys, int x, int y);
    virtual void MouseMove(WPARAM keys, int x, int y);
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}

    // Painted by the parent; the device context has its origin at the control's top-left.
    virtual void Paint(HDC) {}

protected:
    virtual void FontChanged();
    virtual void ParentFontChanged();
    virtual void ParentShowHintChanged();
    virtual void VisibleChanged();
    void RequestAlign();

private:
    friend class TWinControl;

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = TAlign::None;
    bool visible_ = true;
    bool enabled_ = true;
    std::string caption_;
    std::string hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TFont font_;
    bool parentFont_ = true;
    HCURSOR cursor_ = nullptr;
    bool mouseCaptured_ = false;
};

// A control drawn by its parent window; it has no window of its own.
class TGraphicControl : public TControl {
public:
    using TControl::TControl;
};

// Creation parameters of a control's window.
struct TCreateParams {
    std::string className;   // a class of the platform ("EDIT") or one of ours ("TMainForm")
    bool ownClass = false;   // true: registered by us with our window procedure
    // A platform control subclassed with the wide window procedure: its
    // messages then reach the platform's own wide handling unconverted, also
    // those that other processes send (a list read by a screen reader).
    bool wideProcedure = false;
    UINT classStyle = CS_DBLCLKS;
    HBRUSH background = nullptr;
    HICON icon = nullptr;
    std::string caption;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    HWND parent = nullptr;
    HMENU menu = nullptr;
};

// A control with a window of its own.
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    bool IsWindowed() const override { return true; }
    // The window, made on first use (parents first).
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    // The window if there is one; never makes it.
    HWND ExistingHandle() const { return handle_; }
    void HandleNeeded() { (void)Handle(); }
    void DestroyHandle();
    // Destroys the window and makes a new one with the current properties.
    void RecreateWnd();

    const std::vector<TControl*>& Controls() const { return controls_; }
    // The topmost visible child drawn by this control at a client point.
    TControl* ControlAtPos(POINT point, bool allowDisabled) const;
    // The control of the program that owns a window of this thread, or null.
    static TWinControl* FromHandle(HWND window);
    // The control of the window, or of the nearest of its parents that has one.
    static TWinControl* FromWindowOrAncestor(HWND window);
    // The child drawn by this control that holds the mouse capture, if any.
    TControl* CapturedChild() const { return mouseCapture_; }

    void SetBounds(int left, int top, int width, int height) override;
    RECT ClientRect() const override;
    POINT ClientToScreen(POINT point) const override;
    POINT ScreenToClient(POINT point) const override;
    void SetEnabled(bool enabled) override;
    void SetCaption(std::string_view caption) override;
    void Invalidate() override;
    void SetParent(TWinControl* parent) override;

    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop) { tabStop_ = tabStop; }
    bool Focused() const;
    bool CanFocus() const;
    virtual void SetFocus();

    // Drawing switched off for a batch of changes (WM_SETREDRAW); batches nest
    // by count and only the outermost begin and end act. At the end the
    // control is repainted whole.
    void BeginUpdate();
    void EndUpdate();

    // Lays out the children with an alignment, in creation order.
    virtual void AlignControls();

    void WndProc(TMessage& message) override;
    // The window's own default handling (the platform class, or DefWindowProc).
    void DefaultHandler(TMessage& message);
    // True when the window's messages arrive in their wide form (characters
    // and texts in UTF-16).
    bool WideProcedure() const { return wideProcedure_; }

    // Keyboard path of the message loop: a key-down offered before it reaches the control.
    // True when it was consumed.
    virtual bool PreviewKeyDown(const MSG& message);

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // Runs right after the window exists (fonts, texts and state the window needs).
    virtual void InitializeWnd() {}
    // Runs just before the window goes (state to keep for the next window).
    virtual void FinalizeWnd() {}
    void PaintHandler(TMessage& message);
    void PaintControls(HDC dc);
    void FontChanged() override;
    void ParentShowHintChanged() override;
    void VisibleChanged() override;
    bool Creating() const { return creating_; }
    // True while mouse messages are handed to the graphic children under the pointer.
    bool routesMouse_ = false;

private:
    friend class TControl;
    friend LRESULT RouteToControl(HWND, UINT, WPARAM, LPARAM, WNDPROC);
    friend LRESULT CALLBACK OwnClassWindowProc(HWND, UINT, WPARAM, LPARAM);

    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool RouteMouseToGraphic(TMessage& message);
    void Attach(HWND window);
    void Detach();
    void ApplyFont();
    void UpdateBoundsFromWindow();

    HWND handle_ = nullptr;
    WNDPROC defaultProc_ = nullptr;
    bool wideProcedure_ = false; // messages arrive in their wide form
    std::vector<TControl*> controls_;
    bool tabStop_ = false;
    bool creating_ = false;
    int updateCount_ = 0;
    bool aligning_ = false;
    TControl* mouseCapture_ = nullptr;
};

// The system's non-client metrics (in the original, smaller structure), the
// face names as code page 932 bytes whatever the system's code page; false
// when they cannot be read.
bool ReadNonClientMetrics(NONCLIENTMETRICSA& metrics);

// Text of the program (code page 932) drawn and measured through the wide
// calls, so that it comes out the same whatever the system's code page.
// DrawText with the text converted; returns the height drawn.
int DrawProgramText(HDC dc, std::string_view text, RECT& bounds, UINT flags);
// The extent of a single line of text in the font selected into `dc`.
SIZE ProgramTextExtent(HDC dc, std::string_view text);

// The rectangle `text` takes when drawn in `font` on the screen with
// DrawText's `flags` (DT_CALCRECT added), starting from `bounds`.
RECT MeasureText(HFONT font, std::string_view text, RECT bounds, UINT flags);

} // namespace moke
