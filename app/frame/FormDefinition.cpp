#include "app/frame/FormDefinition.h"

#include "app/frame/Failure.h"

namespace moke {

namespace {
[[noreturn]] void Unknown(std::string_view what, std::string_view name) {
    throw Failure("フォーム定義: " + std::string(what) + " " + std::string(name) + " が見つかりません");
}
} // namespace

TComponent& FormBuilder::Find(std::string_view name) const {
    if (TComponent* found = form_.FindComponent(name)) return *found;
    Unknown("部品", name);
}

TNotifyEvent FormBuilder::Notify(const char* handler) const {
    if (!handler) return {};
    TNotifyEvent bound = notify_(handler);
    if (!bound) Unknown("処理", handler);
    return bound;
}

TCloseQueryEvent FormBuilder::CloseQuery(const char* handler) const {
    if (!handler) return {};
    TCloseQueryEvent bound = closeQuery_(handler);
    if (!bound) Unknown("処理", handler);
    return bound;
}

namespace {
void ApplyFont(TFont& font, const FontDef& def) {
    font.SetName(def.name);
    font.SetHeight(def.height);
    font.SetCharset(def.charset);
    font.SetStyles(def.styles);
    font.SetColor(def.color);
}

HICON LoadIconResource(int id, int width, int height) {
    return static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, width, height, 0));
}
} // namespace

void FormBuilder::Place(TControl& control, const ControlDef& def) {
    TWinControl* parent = def.parent ? &FindAs<TWinControl>(def.parent) : &form_;
    if (def.font) ApplyFont(control.Font(), *def.font);
    control.SetBounds(def.left, def.top, def.width >= 0 ? def.width : control.Width(),
                      def.height >= 0 ? def.height : control.Height());
    control.SetAlign(def.align);
    if (def.caption) control.SetCaption(def.caption);
    if (def.hint) control.SetHint(def.hint);
    control.SetVisible(def.visible);
    control.SetEnabled(def.enabled);
    if (def.tabStop)
        if (auto* windowed = dynamic_cast<TWinControl*>(&control)) windowed->SetTabStop(*def.tabStop);
    if (def.onClick) control.OnClick = Notify(def.onClick);
    control.SetParent(parent);
    // A control on a tool bar takes a slot of its width among the buttons.
    if (auto* bar = dynamic_cast<TToolBar*>(parent))
        if (auto* windowed = dynamic_cast<TWinControl*>(&control)) bar->AddControl(*windowed);
    if (def.showHint) control.SetShowHint(*def.showHint);
}

TComponent& Build(FormBuilder& b, const ImageListDef& def) {
    auto& list = b.Form().Make<TImageList>();
    list.LoadStrip(def.resource, def.width, def.height, def.mask);
    return list;
}

TComponent& Build(FormBuilder& b, const CoolBarDef& def) {
    auto& bar = b.Form().Make<TCoolBar>();
    if (def.bitmap) bar.SetBitmap(def.bitmap);
    b.Place(bar, def.control);
    return bar;
}

TComponent& Build(FormBuilder& b, const ToolBarDef& def) {
    auto& bar = b.Form().Make<TToolBar>();
    bar.SetButtonSize(def.buttonWidth, def.buttonHeight);
    if (def.images) bar.SetImages(&b.FindAs<TImageList>(def.images));
    b.Place(bar, def.control);
    if (auto* band = dynamic_cast<TCoolBar*>(bar.Parent())) band->AddBand(bar, def.bandMinHeight);
    return bar;
}

TComponent& Build(FormBuilder& b, const ToolButtonDef& def) {
    auto& bar = b.FindAs<TToolBar>(def.toolBar);
    auto& button = b.Form().Make<TToolButton>();
    button.SetStyle(def.style);
    button.SetCaption(def.caption);
    button.SetHint(def.hint);
    button.SetImageIndex(def.image);
    button.SetWrap(def.wrap);
    if (def.style == TToolButtonStyle::Separator) button.SetWidth(def.width);
    button.OnClick = b.Notify(def.onClick);
    bar.AddButton(button);
    return button;
}

TComponent& Build(FormBuilder& b, const ComboBoxDef& def) {
    auto& box = b.Form().Make<TComboBox>();
    if (def.itemHeight > 0) box.SetItemHeight(def.itemHeight);
    for (const char* item : def.items) box.Add(item);
    box.OnChange = b.Notify(def.onChange);
    b.Place(box, def.control);
    return box;
}

TComponent& Build(FormBuilder& b, const StatusBarDef& def) {
    auto& bar = b.Form().Make<TStatusBar>();
    bar.SetSizeGrip(def.sizeGrip);
    for (const StatusPanelDef& panel : def.panels) {
        TStatusPanel made;
        made.width = panel.width;
        made.alignment = panel.alignment;
        bar.AddPanel(made);
    }
    bar.SetSimplePanel(def.simplePanel);
    b.Place(bar, def.control);
    return bar;
}

TComponent& Build(FormBuilder& b, const MainMenuDef&) { return b.Form().Make<TMainMenu>(); }

TComponent& Build(FormBuilder& b, const MenuItemDef& def) {
    auto& item = b.Form().Make<TMenuItem>();
    item.SetCaption(def.caption);
    item.SetShortcut(def.shortcut);
    item.SetEnabled(def.enabled);
    item.SetChecked(def.checked);
    item.SetHint(def.hint);
    item.OnClick = b.Notify(def.onClick);
    TComponent& parent = b.Find(def.parent);
    if (auto* menu = dynamic_cast<TMainMenu*>(&parent))
        menu->Items().Add(item);
    else
        b.FindAs<TMenuItem>(def.parent).Add(item);
    return item;
}

TComponent& Build(FormBuilder& b, const TimerDef& def) {
    auto& timer = b.Form().Make<TTimer>();
    timer.SetInterval(def.interval);
    timer.SetEnabled(def.enabled);
    timer.SetOnTimer(b.Notify(def.onTimer));
    return timer;
}

TComponent& Build(FormBuilder& b, const LabelDef& def) {
    auto& label = b.Form().Make<TLabel>();
    label.SetTransparent(def.transparent);
    label.SetWordWrap(def.wordWrap);
    b.Place(label, def.control);
    return label;
}

TComponent& Build(FormBuilder& b, const ImageDef& def) {
    auto& image = b.Form().Make<TImage>();
    if (def.icon) {
        const int w = def.control.width > 0 ? def.control.width : 32;
        const int h = def.control.height > 0 ? def.control.height : 32;
        image.SetIcon(LoadIconResource(def.icon, w, h), true);
    }
    b.Place(image, def.control);
    return image;
}

TComponent& Build(FormBuilder& b, const BevelDef& def) {
    auto& bevel = b.Form().Make<TBevel>();
    b.Place(bevel, def.control);
    return bevel;
}

TComponent& Build(FormBuilder& b, const ButtonDef& def) {
    auto& button = b.Form().Make<TButton>();
    button.SetModalResult(def.modalResult);
    button.SetDefault(def.isDefault);
    button.SetCancel(def.cancel);
    b.Place(button, def.control);
    return button;
}

namespace {
void Configure(TFileDialog& dialog, const FileDialogDef& def) {
    dialog.SetFilter(def.filter);
    dialog.SetFilterIndex(def.filterIndex);
    dialog.SetDefaultExt(def.defaultExt);
    dialog.SetOptions(def.options);
}
} // namespace

TComponent& Build(FormBuilder& b, const OpenDialogDef& def) {
    auto& dialog = b.Form().Make<TOpenDialog>();
    Configure(dialog, def.dialog);
    return dialog;
}

TComponent& Build(FormBuilder& b, const SaveDialogDef& def) {
    auto& dialog = b.Form().Make<TSaveDialog>();
    Configure(dialog, def.dialog);
    return dialog;
}

TComponent& Build(FormBuilder& b, const FontDialogDef&) { return b.Form().Make<TFontDialog>(); }

void BuildFormDefinition(FormBuilder& builder, const FormDef& def, std::span<const ComponentDef> components) {
    TForm& form = builder.Form();
    form.SetCaption(def.caption);
    form.SetBorderStyle(def.borderStyle);
    form.SetPosition(def.position);
    ApplyFont(form.Font(), def.font);
    if (def.width >= 0) form.SetBounds(form.Left(), form.Top(), def.width, def.height);
    if (def.clientWidth >= 0) form.SetClientSize(def.clientWidth, def.clientHeight);
    if (def.icon) form.SetIcon(LoadIconResource(def.icon, 16, 16));

    for (const ComponentDef& row : components) {
        TComponent& made = row.make(builder);
        made.SetName(row.name);
    }
    if (def.menu) form.SetMenu(&builder.FindAs<TMainMenu>(def.menu));
    form.OnCreate = builder.Notify(def.onCreate);
    form.OnResize = builder.Notify(def.onResize);
    form.OnCloseQuery = builder.CloseQuery(def.onCloseQuery);
    for (TComponent* component : form.Components()) component->Loaded();
    // The window itself is made when it is first needed: a form that stays
    // hidden costs no windows.
    if (def.activeControl) form.SetActiveControl(&builder.FindAs<TWinControl>(def.activeControl));
}

} // namespace moke
