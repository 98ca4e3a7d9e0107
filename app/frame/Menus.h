// Menus: a tree of items under an invisible root, handed to the platform as
// a menu bar with drop-downs. Items are found by command identifier, drop-down
// handle or shortcut, depth-first in menu order.
#pragma once

#include "app/frame/Control.h"
#include "app/frame/ShortcutText.h"

#include <windows.h>

#include <string>
#include <vector>

namespace moke {

class TMainMenu;

enum class TMenuFind { Command, Handle, ShortCut };

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string_view caption);
    ShortCut Shortcut() const { return shortcut_; }
    void SetShortcut(ShortCut shortcut);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string_view hint) { hint_ = hint; }
    bool IsSeparator() const { return caption_ == "-"; }

    TMenuItem* Parent() const { return parent_; }
    const std::vector<TMenuItem*>& Items() const { return items_; }
    void Add(TMenuItem& item);

    // Identifier of the item in WM_COMMAND and WM_MENUSELECT: the lowest free
    // number of a pool shared by every menu, taken for the item's lifetime.
    UINT Command() const { return command_; }
    // The drop-down of an item with children, once the menu has been built.
    HMENU Handle() const { return handle_; }
    // The text handed to the platform: caption, and a Tab with the shortcut text.
    std::string PlatformText() const;

    // Runs OnClick if the item is enabled and has a handler.
    void Click();
    TNotifyEvent OnClick;

private:
    friend class TMainMenu;
    TMainMenu* Menu() const;
    HMENU ParentHandle() const;
    int Position() const;
    void Build(HMENU into);
    void Refresh();
    void Destroyed(TMenuItem& child);

    std::string caption_;
    ShortCut shortcut_ = 0;
    bool enabled_ = true;
    bool checked_ = false;
    std::string hint_;
    TMenuItem* parent_ = nullptr;
    TMainMenu* menu_ = nullptr; // set on the root
    std::vector<TMenuItem*> items_;
    UINT command_ = 0;
    HMENU handle_ = nullptr;
};

class TMainMenu : public TComponent {
public:
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;

    // The invisible root; the top-level menus are its children.
    TMenuItem& Items() { return *root_; }

    // The menu bar, built from the items on first use.
    HMENU Handle();
    void AttachTo(HWND window);

    TMenuItem* FindItem(UINT_PTR value, TMenuFind kind) const;
    // WM_COMMAND without a control: clicks the item with that identifier.
    bool DispatchCommand(UINT command);
    // WM_INITMENUPOPUP: clicks the item that owns the drop-down.
    bool DispatchPopup(HMENU popup);
    // The shortcut check of the keyboard path; true when the key is consumed.
    bool IsShortCut(const MSG& message);

private:
    friend class TMenuItem;
    void ItemChanged(TMenuItem& item);
    bool ClickFound(UINT_PTR value, TMenuFind kind);

    TMenuItem* root_;
    HMENU handle_ = nullptr;
    HWND window_ = nullptr;
};

// The platform's name of a key, when it is a single character (for shortcut texts).
std::string PlatformKeyName(std::uint8_t virtualKey);

} // namespace moke
