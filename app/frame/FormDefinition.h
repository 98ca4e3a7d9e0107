// Form definitions as data: a form's properties and a table of components in
// creation order, each with its properties and the names of its handlers.
// BuildForm makes the components, places them and binds every handler name to
// a method of the form; a name that cannot be resolved is a failure.
#pragma once

#include "app/frame/ComCtrls.h"
#include "app/frame/Dialogs.h"
#include "app/frame/Failure.h"
#include "app/frame/Forms.h"
#include "app/frame/Menus.h"
#include "app/frame/ShortcutText.h"
#include "app/frame/StdCtrls.h"
#include "app/frame/Timer.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace moke {

struct FontDef {
    const char* name;
    int height;
    int charset = SHIFTJIS_CHARSET;
    unsigned styles = 0;
    COLORREF color = 0x000000;
};

struct FormDef {
    const char* className;
    const char* caption;
    TBorderStyle borderStyle = TBorderStyle::Sizeable;
    TPosition position = TPosition::Default;
    int width = -1, height = -1;             // outer size (design size)
    int clientWidth = -1, clientHeight = -1; // or the client size
    FontDef font = {"ＭＳ Ｐゴシック", -12};
    int icon = 0; // icon resource, 0 for none
    const char* menu = nullptr;
    const char* activeControl = nullptr;
    const char* onCreate = nullptr;
    const char* onCloseQuery = nullptr;
    const char* onResize = nullptr;
};

// Properties shared by all controls.
struct ControlDef {
    const char* parent = nullptr; // null: the form
    int left = 0, top = 0, width = -1, height = -1;
    TAlign align = TAlign::None;
    const char* caption = nullptr;
    const char* hint = nullptr;
    std::optional<bool> showHint;
    std::optional<FontDef> font;
    bool visible = true;
    bool enabled = true;
    std::optional<bool> tabStop;
    const char* onClick = nullptr;
};

struct ImageListDef {
    int resource;
    int width = 16, height = 16;
    COLORREF mask = RGB(255, 0, 255);
};

struct CoolBarDef {
    ControlDef control;
    int bitmap = 0;
};

struct ToolBarDef {
    ControlDef control;
    int bandMinHeight = 0; // when placed in a band container
    const char* images = nullptr;
    int buttonWidth = 23, buttonHeight = 22;
};

struct ToolButtonDef {
    const char* toolBar;
    const char* caption = "";
    const char* hint = "";
    int image = -1;
    TToolButtonStyle style = TToolButtonStyle::Button;
    int width = 8; // separators
    bool wrap = false;
    const char* onClick = nullptr;
};

struct ComboBoxDef {
    ControlDef control;
    int itemHeight = 0;
    std::vector<const char*> items;
    const char* onChange = nullptr;
};

struct StatusPanelDef {
    int width = 50;
    int alignment = 0; // 0 left, 1 right, 2 centre
};

struct StatusBarDef {
    ControlDef control;
    std::vector<StatusPanelDef> panels;
    bool simplePanel = false;
    bool sizeGrip = true;
};

struct MainMenuDef {};

struct MenuItemDef {
    const char* parent; // the menu or the item it belongs to
    const char* caption;
    ShortCut shortcut = 0;
    bool enabled = true;
    bool checked = false;
    const char* hint = "";
    const char* onClick = nullptr;
};

struct TimerDef {
    unsigned interval = 1000;
    bool enabled = true;
    const char* onTimer = nullptr;
};

struct LabelDef {
    ControlDef control;
    bool transparent = false;
    bool wordWrap = false;
};

struct ImageDef {
    ControlDef control;
    int icon = 0; // icon resource
};

struct BevelDef {
    ControlDef control;
};

struct ButtonDef {
    ControlDef control;
    int modalResult = 0;
    bool isDefault = false;
    bool cancel = false;
};

struct FileDialogDef {
    const char* filter = "";
    int filterIndex = 1;
    const char* defaultExt = "";
    unsigned options = ofHideReadOnly;
};

struct OpenDialogDef {
    FileDialogDef dialog;
};

struct SaveDialogDef {
    FileDialogDef dialog;
};

struct FontDialogDef {};

class FormBuilder;

// One row of a definition table.
struct ComponentDef {
    const char* name;
    std::function<TComponent&(FormBuilder&)> make;
};

// Resolves the names in a definition while a form is built.
class FormBuilder {
public:
    using NotifyResolver = std::function<TNotifyEvent(std::string_view)>;
    using CloseQueryResolver = std::function<TCloseQueryEvent(std::string_view)>;

    FormBuilder(TForm& form, NotifyResolver notify, CloseQueryResolver closeQuery)
        : form_(form), notify_(std::move(notify)), closeQuery_(std::move(closeQuery)) {}

    TForm& Form() { return form_; }
    TComponent& Find(std::string_view name) const;
    template <class T>
    T& FindAs(std::string_view name) const {
        auto* found = dynamic_cast<T*>(&Find(name));
        if (!found) throw Failure("フォーム定義: " + std::string(name) + " の種類が違います");
        return *found;
    }
    // The handler bound to a name; empty for a null name; a failure for an unknown one.
    TNotifyEvent Notify(const char* handler) const;
    TCloseQueryEvent CloseQuery(const char* handler) const;
    // Places a control in its parent and applies the shared properties.
    void Place(TControl& control, const ControlDef& def);

private:
    TForm& form_;
    NotifyResolver notify_;
    CloseQueryResolver closeQuery_;
};

TComponent& Build(FormBuilder& b, const ImageListDef& def);
TComponent& Build(FormBuilder& b, const CoolBarDef& def);
TComponent& Build(FormBuilder& b, const ToolBarDef& def);
TComponent& Build(FormBuilder& b, const ToolButtonDef& def);
TComponent& Build(FormBuilder& b, const ComboBoxDef& def);
TComponent& Build(FormBuilder& b, const StatusBarDef& def);
TComponent& Build(FormBuilder& b, const MainMenuDef& def);
TComponent& Build(FormBuilder& b, const MenuItemDef& def);
TComponent& Build(FormBuilder& b, const TimerDef& def);
TComponent& Build(FormBuilder& b, const LabelDef& def);
TComponent& Build(FormBuilder& b, const ImageDef& def);
TComponent& Build(FormBuilder& b, const BevelDef& def);
TComponent& Build(FormBuilder& b, const ButtonDef& def);
TComponent& Build(FormBuilder& b, const OpenDialogDef& def);
TComponent& Build(FormBuilder& b, const SaveDialogDef& def);
TComponent& Build(FormBuilder& b, const FontDialogDef& def);

// A table row: a named component made from its definition.
template <class Def>
ComponentDef Component(const char* name, Def def) {
    return ComponentDef{name, [def](FormBuilder& b) -> TComponent& { return Build(b, def); }};
}

// A form's handlers by name.
template <class F>
struct Handler {
    const char* name;
    void (F::*notify)(TObject&) = nullptr;
    void (F::*closeQuery)(TObject&, bool&) = nullptr;
};

// Makes every component of the table, applies the form's properties and binds
// the handlers. The window is made on first use; the creation handler is not
// run here.
void BuildFormDefinition(FormBuilder& builder, const FormDef& def, std::span<const ComponentDef> components);

template <class F>
void BuildForm(F& form, const FormDef& def, std::span<const ComponentDef> components,
               std::span<const Handler<F>> handlers) {
    auto find = [handlers](std::string_view name) -> const Handler<F>* {
        for (const Handler<F>& h : handlers)
            if (name == h.name) return &h;
        return nullptr;
    };
    FormBuilder builder(
        form,
        [&form, find](std::string_view name) -> TNotifyEvent {
            const Handler<F>* h = find(name);
            if (!h || !h->notify) return {};
            auto method = h->notify;
            return [&form, method](TObject& sender) { (form.*method)(sender); };
        },
        [&form, find](std::string_view name) -> TCloseQueryEvent {
            const Handler<F>* h = find(name);
            if (!h || !h->closeQuery) return {};
            auto method = h->closeQuery;
            return [&form, method](TObject& sender, bool& canClose) { (form.*method)(sender, canClose); };
        });
    BuildFormDefinition(builder, def, components);
}

} // namespace moke
