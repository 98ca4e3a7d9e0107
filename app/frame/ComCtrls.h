// Common controls: image list, tool bar with its buttons, band container and
// status bar.
#pragma once

#include "app/frame/Control.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace moke {

// A list of equally sized masked images.
class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner);
    ~TImageList() override;

    // Loads a strip of images side by side from a bitmap resource; pixels of
    // `maskColor` are transparent.
    void LoadStrip(int resourceId, int width, int height, COLORREF maskColor);
    HIMAGELIST Handle() const { return handle_; }
    int Count() const;
    int Width() const { return width_; }
    int Height() const { return height_; }
    // A new icon made of image `index` and its mask (normal drawing style); the caller destroys it.
    HICON GetIcon(int index) const;

private:
    HIMAGELIST handle_ = nullptr;
    int width_ = 16, height_ = 16;
};

class TToolBar;

enum class TToolButtonStyle { Button, Separator };

// A button or separator of a tool bar: drawn by the tool bar, found under the
// pointer by its bounds.
class TToolButton : public TGraphicControl {
public:
    explicit TToolButton(TComponent* owner);

    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle style) { style_ = style; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index) { imageIndex_ = index; }
    bool Wrap() const { return wrap_; }
    void SetWrap(bool wrap) { wrap_ = wrap; }
    // A control that the tool bar places over this slot (the slot takes its width).
    TWinControl* Holder() const { return holder_; }
    void SetHolder(TWinControl* control) { holder_ = control; }
    // Identifier of the button in the tool bar's commands.
    int Command() const { return command_; }

private:
    friend class TToolBar;
    TToolButtonStyle style_ = TToolButtonStyle::Button;
    int imageIndex_ = -1;
    bool wrap_ = false;
    TWinControl* holder_ = nullptr;
    int command_ = 0;
};

// A flat tool bar ("ToolbarWindow32") with the captions under the images.
class TToolBar : public TWinControl {
public:
    explicit TToolBar(TComponent* owner);

    void SetImages(TImageList* images) { images_ = images; }
    void SetButtonSize(int width, int height);
    void AddButton(TToolButton& button);
    // Places a control of this tool bar over a slot of its own width, after the buttons so far.
    void AddControl(TWinControl& control);
    // The size that fits every button in one row per wrap.
    SIZE IdealSize() const;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void WndProc(TMessage& message) override;

private:
    void LayoutButtons();

    TImageList* images_ = nullptr;
    int buttonWidth_ = 23, buttonHeight_ = 22;
    std::vector<TToolButton*> buttons_;
    SIZE ideal_{0, 0};
};

// A band container ("ReBarWindow32"): each band holds one control and begins
// a row of its own; the bar's background picture shows behind every band,
// anchored to the bar.
class TCoolBar : public TWinControl {
public:
    explicit TCoolBar(TComponent* owner);
    ~TCoolBar() override;

    void SetBitmap(int resourceId);
    HBITMAP Bitmap() const { return bitmap_; }
    void AddBand(TWinControl& control, int minHeight);
    // Tiles the background picture over `area` of a child's device context;
    // `offset` is the child's position in the bar, so the pattern stays anchored to the bar.
    void PaintBackground(HDC dc, const RECT& area, POINT offset) const;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void WndProc(TMessage& message) override;

private:
    void FitHeight();
    struct Band {
        TWinControl* control;
        int minHeight;
    };
    std::vector<Band> bands_;
    HBITMAP bitmap_ = nullptr;
};

enum class TBevelKind { None, Lowered, Raised };
enum class TPanelStyle { Text, OwnerDraw };

struct TStatusPanel {
    int width = 50;
    TBevelKind bevel = TBevelKind::Lowered;
    int alignment = 0; // 0 left, 1 right, 2 centre
    TPanelStyle style = TPanelStyle::Text;
    std::string text;
};

// The status bar ("msctls_statusbar32"): panels, or one simple text across the bar.
class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* owner);

    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool value);
    const std::string& SimpleText() const { return simpleText_; }
    void SetSimpleText(std::string_view text);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool value);

    int PanelCount() const { return static_cast<int>(panels_.size()); }
    const TStatusPanel& Panel(int index) const { return panels_.at(static_cast<size_t>(index)); }
    void AddPanel(const TStatusPanel& panel);
    void SetPanelText(int index, std::string_view text);
    void SetPanelWidth(int index, int width);
    void SetPanelBevel(int index, TBevelKind bevel);
    void SetPanelAlignment(int index, int alignment);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;

private:
    void UpdatePanels();
    void UpdatePanel(int index);

    bool simplePanel_ = false;
    std::string simpleText_;
    bool sizeGrip_ = true;
    std::vector<TStatusPanel> panels_;
};

} // namespace moke
