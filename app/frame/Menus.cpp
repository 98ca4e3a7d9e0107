#include "app/frame/Menus.h"

#include "app/frame/Application.h"
#include "app/frame/Failure.h"

#include <algorithm>

namespace moke {

namespace {

// Command identifiers shared by every menu of the program.
std::vector<bool>& CommandPool() {
    static std::vector<bool> used(0x10000, false);
    return used;
}

UINT TakeCommand() {
    auto& used = CommandPool();
    for (UINT id = 1; id < used.size(); ++id) {
        if (!used[id]) {
            used[id] = true;
            return id;
        }
    }
    throw Failure("メニュー項目が多すぎます");
}

void FreeCommand(UINT id) {
    if (id) CommandPool()[id] = false;
}

TMenuItem* FindIn(const TMenuItem& parent, UINT_PTR value, TMenuFind kind) {
    for (TMenuItem* item : parent.Items()) {
        bool match = false;
        switch (kind) {
        case TMenuFind::Command: match = item->Command() == value; break;
        case TMenuFind::Handle: match = item->Handle() && reinterpret_cast<UINT_PTR>(item->Handle()) == value; break;
        case TMenuFind::ShortCut: match = item->Shortcut() != 0 && item->Shortcut() == value; break;
        }
        if (match) return item;
        if (TMenuItem* inner = FindIn(*item, value, kind)) return inner;
    }
    return nullptr;
}

} // namespace

std::string PlatformKeyName(std::uint8_t virtualKey) {
    const UINT scan = MapVirtualKeyA(virtualKey, 0 /* MAPVK_VK_TO_VSC */);
    char name[64] = {};
    if (!scan || GetKeyNameTextA(static_cast<LONG>(scan << 16), name, sizeof name) <= 0) return {};
    return name;
}

// ---------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(TakeCommand()) {}

TMenuItem::~TMenuItem() {
    for (TMenuItem* child : items_) child->parent_ = nullptr;
    if (parent_) parent_->Destroyed(*this);
    FreeCommand(command_);
}

void TMenuItem::Destroyed(TMenuItem& child) {
    auto it = std::find(items_.begin(), items_.end(), &child);
    if (it != items_.end()) items_.erase(it);
}

void TMenuItem::Add(TMenuItem& item) {
    item.parent_ = this;
    items_.push_back(&item);
}

TMainMenu* TMenuItem::Menu() const {
    const TMenuItem* item = this;
    while (item->parent_) item = item->parent_;
    return item->menu_;
}

HMENU TMenuItem::ParentHandle() const {
    if (!parent_) return nullptr;
    if (!parent_->parent_) {
        TMainMenu* menu = parent_->menu_;
        return menu ? menu->handle_ : nullptr;
    }
    return parent_->handle_;
}

int TMenuItem::Position() const {
    if (!parent_) return -1;
    const auto& siblings = parent_->items_;
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

std::string TMenuItem::PlatformText() const {
    const bool barTitle = parent_ && !parent_->parent_;
    return MenuItemText(caption_, shortcut_, !items_.empty(), barTitle, PlatformKeyName);
}

void TMenuItem::Build(HMENU into) {
    for (TMenuItem* child : items_) {
        const UINT state = (child->enabled_ ? MF_ENABLED : MF_GRAYED) | (child->checked_ ? MF_CHECKED : 0);
        const std::string text = child->PlatformText();
        if (child->IsSeparator()) {
            AppendMenuA(into, MF_SEPARATOR, child->command_, nullptr);
        } else if (!child->items_.empty()) {
            child->handle_ = CreatePopupMenu();
            child->Build(child->handle_);
            AppendMenuA(into, MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(child->handle_), text.c_str());
        } else {
            AppendMenuA(into, MF_STRING | state, child->command_, text.c_str());
        }
    }
}

void TMenuItem::Refresh() {
    if (TMainMenu* menu = Menu()) menu->ItemChanged(*this);
}

void TMenuItem::SetCaption(std::string_view caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    Refresh();
}

void TMenuItem::SetShortcut(ShortCut shortcut) {
    if (shortcut_ == shortcut) return;
    shortcut_ = shortcut;
    Refresh();
}

void TMenuItem::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Refresh();
}

void TMenuItem::SetChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    Refresh();
}

void TMenuItem::Click() {
    if (enabled_ && OnClick) OnClick(*this);
}

// ---------------------------------------------------------------------------
// TMainMenu

TMainMenu::TMainMenu(TComponent* owner) : TComponent(owner), root_(new TMenuItem(this)) { root_->menu_ = this; }

TMainMenu::~TMainMenu() {
    if (handle_ && IsMenu(handle_)) {
        if (window_ && IsWindow(window_) && GetMenu(window_) == handle_) SetMenu(window_, nullptr);
        DestroyMenu(handle_);
    }
}

HMENU TMainMenu::Handle() {
    if (!handle_) {
        handle_ = CreateMenu();
        if (!handle_) throw Failure("メニューを作成できません");
        root_->Build(handle_);
    }
    return handle_;
}

void TMainMenu::AttachTo(HWND window) {
    window_ = window;
    ::SetMenu(window, Handle());
}

void TMainMenu::ItemChanged(TMenuItem& item) {
    HMENU parent = item.ParentHandle();
    if (!parent || !IsMenu(parent)) return;
    const UINT position = static_cast<UINT>(item.Position());
    EnableMenuItem(parent, position, MF_BYPOSITION | (item.enabled_ ? MF_ENABLED : MF_GRAYED));
    CheckMenuItem(parent, position, MF_BYPOSITION | (item.checked_ ? MF_CHECKED : MF_UNCHECKED));
    if (!item.IsSeparator()) {
        std::string text = item.PlatformText();
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING;
        info.dwTypeData = text.data();
        SetMenuItemInfoA(parent, position, TRUE, &info);
    }
    if (parent == handle_ && window_ && IsWindow(window_)) DrawMenuBar(window_);
}

TMenuItem* TMainMenu::FindItem(UINT_PTR value, TMenuFind kind) const { return FindIn(*root_, value, kind); }

bool TMainMenu::ClickFound(UINT_PTR value, TMenuFind kind) {
    TMenuItem* item = FindItem(value, kind);
    if (!item) return false;
    item->Click();
    return true;
}

bool TMainMenu::DispatchCommand(UINT command) { return ClickFound(command, TMenuFind::Command); }

bool TMainMenu::DispatchPopup(HMENU popup) {
    return ClickFound(reinterpret_cast<UINT_PTR>(popup), TMenuFind::Handle);
}

bool TMainMenu::IsShortCut(const MSG& message) {
    if (!window_) return false;
    const ShortCut value = MakeShortCut(static_cast<std::uint8_t>(message.wParam & 0xFF), GetKeyState(VK_SHIFT) < 0,
                                        GetKeyState(VK_CONTROL) < 0, (message.lParam & (1 << 29)) != 0);
    TMenuItem* item = FindItem(value, TMenuFind::ShortCut);
    if (!item) return false;
    // Click chain from the root down to the item; a click that changes the
    // item's shortcut starts the search again (a bounded number of times).
    for (int restarts = 0; item && restarts < 64; ++restarts) {
        std::vector<TMenuItem*> chain;
        for (TMenuItem* level = item; level; level = level->Parent()) chain.push_back(level);
        bool again = false;
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            TMenuItem* level = *it;
            if (!level->Enabled()) break;
            try {
                level->Click();
            } catch (...) {
                Application().HandleException();
            }
            if (item->Shortcut() != value) {
                again = true;
                break;
            }
        }
        if (!again) break;
        item = FindItem(value, TMenuFind::ShortCut);
    }
    return true;
}

} // namespace moke
