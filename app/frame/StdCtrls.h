// Standard controls: push button, drop-down list, and the controls drawn by
// their parent (label, image, bevel).
#pragma once

#include "app/frame/Control.h"

#include <string>
#include <vector>

namespace moke {

// A push button ("BUTTON"): clicking it runs OnClick and hands its result to the form.
class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);

    // The button Enter presses while no push button has the focus.
    bool Default() const { return default_; }
    void SetDefault(bool value);
    // The thick frame of the button Enter presses now: the focused push
    // button, or the default button while none has the focus (kept by the form).
    void ShowDefaultFrame(bool shown);
    bool DefaultFrameShown() const;
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }

    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    bool default_ = false;
    bool cancel_ = false;
    int modalResult_ = 0;
};

// A text label drawn by its parent.
class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);

    void SetCaption(std::string_view caption) override;
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);

    void Paint(HDC dc) override;

protected:
    void FontChanged() override;
    UINT DrawFlags() const;
    void AdjustBounds();

private:
    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool showAccelChar_ = true;
};

// A picture drawn by its parent: an icon.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    // The image takes a copy of shared icons only when `owned` is false.
    void SetIcon(HICON icon, bool owned);
    HICON Icon() const { return icon_; }
    void Paint(HDC dc) override;

private:
    HICON icon_ = nullptr;
    bool owned_ = false;
};

// A sunken separator line drawn by its parent.
class TBevel : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    void Paint(HDC dc) override;
};

// A drop-down list that offers choices only ("COMBOBOX", CBS_DROPDOWNLIST).
class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* owner);

    void SetItemHeight(int height);
    int ItemHeight() const { return itemHeight_; }

    // The entries; while there is no window the component holds them.
    int Count() const;
    std::string Item(int index) const;
    // Appends an entry; false when the list refuses it.
    bool Add(std::string_view text);
    void Clear();
    int ItemIndex() const;
    void SetItemIndex(int index);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void FinalizeWnd() override;
    void WndProc(TMessage& message) override;

private:
    int itemHeight_ = 0;
    std::vector<std::string> items_; // while there is no window
    int itemIndex_ = -1;
};

} // namespace moke
