// A label that behaves like a hyperlink: the hand cursor, a colour while the
// pointer is over it and while it is pressed, and, when executable, its
// caption handed to the shell on a press.
#pragma once

#include "app/frame/FormDefinition.h"
#include "app/frame/StdCtrls.h"

#include <optional>
#include <string>
#include <vector>

namespace moke {

class TURLLabel : public TLabel {
public:
    static constexpr COLORREF kDefaultHotColor = 0xFFFF00;    // aqua
    static constexpr COLORREF kDefaultPushedColor = 0x0000FF; // red

    explicit TURLLabel(TComponent* owner);

    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool value);
    COLORREF HotColor() const { return hotColor_; }
    void SetHotColor(COLORREF value);
    COLORREF PushedColor() const { return pushedColor_; }
    void SetPushedColor(COLORREF value);
    bool Executable() const { return executable_; }
    void SetExecutable(bool value) { executable_ = value; }
    COLORREF NormalColor() const { return normalColor_; }

    // The published properties that differ from their defaults (the ones a
    // stored definition carries).
    std::vector<std::string> StoredProperties() const;

    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(TMouseButton button, WPARAM keys, int x, int y) override;
    void MouseUp(TMouseButton button, WPARAM keys, int x, int y) override;

private:
    bool hotTrack_ = true;
    COLORREF hotColor_ = kDefaultHotColor;
    COLORREF pushedColor_ = kDefaultPushedColor;
    bool executable_ = false;
    COLORREF normalColor_ = 0;
};

struct URLLabelDef {
    ControlDef control;
    bool transparent = false;
    std::optional<bool> hotTrack;
    std::optional<COLORREF> hotColor;
    std::optional<COLORREF> pushedColor;
    std::optional<bool> executable;
};

TComponent& Build(FormBuilder& b, const URLLabelDef& def);

} // namespace moke
