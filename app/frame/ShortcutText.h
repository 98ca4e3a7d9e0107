// Shortcut values and the texts menus show for them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/frame/LeadBytes.h"

namespace moke {

// 16 bits: the virtual-key code in the low byte plus the modifier bits.
using ShortCut = std::uint16_t;
inline constexpr ShortCut kShift = 0x2000;
inline constexpr ShortCut kCtrl = 0x4000;
inline constexpr ShortCut kAlt = 0x8000;

ShortCut MakeShortCut(std::uint8_t vk, bool shift, bool ctrl, bool alt);

// The platform's name of a key (GetKeyNameText of its scan code); an empty
// function means there are no platform names.
using KeyNameFunction = std::function<std::string(std::uint8_t virtualKey)>;

// "Shift+", "Ctrl+", "Alt+" (in that order, each when its bit is set) and the
// key's name. Keys outside the program's own table take the platform's name
// when that name is exactly one character (one byte, or a lead byte and its
// second byte); a key without a name gives the empty text, modifiers and all.
std::string ShortCutToText(ShortCut value, const KeyNameFunction& platformName = {},
                           const LeadBytes& lead = SystemLeadBytes());

// The text handed to the platform menu: the caption, and a Tab and the
// shortcut text when the item has a shortcut, no children and is not a title
// on the menu bar (the Tab comes even when the shortcut text is empty).
std::string MenuItemText(std::string_view caption, ShortCut value, bool hasChildren, bool isMenuBarTitle,
                         const KeyNameFunction& platformName = {}, const LeadBytes& lead = SystemLeadBytes());

} // namespace moke
