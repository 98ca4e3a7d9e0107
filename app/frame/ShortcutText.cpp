#include "app/frame/ShortcutText.h"

namespace moke {

ShortCut MakeShortCut(std::uint8_t vk, bool shift, bool ctrl, bool alt) {
    ShortCut value = vk;
    if (shift) value |= kShift;
    if (ctrl) value |= kCtrl;
    if (alt) value |= kAlt;
    return value;
}

namespace {

// The program's own key names; empty for keys it does not name.
std::string OwnKeyName(std::uint8_t vk) {
    static constexpr const char* kNavigation[] = {"Space", "PgUp", "PgDn",  "End", "Home",
                                                  "Left",  "Up",   "Right", "Down"};
    switch (vk) {
    case 0x08: return "BkSp";
    case 0x09: return "Tab";
    case 0x0D: return "Enter";
    case 0x1B: return "Esc";
    case 0x2D: return "Ins";
    case 0x2E: return "Del";
    default: break;
    }
    if (vk >= 0x20 && vk <= 0x28) return kNavigation[vk - 0x20];
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, static_cast<char>(vk));
    if (vk >= 0x60 && vk <= 0x69) return std::string(1, static_cast<char>('0' + (vk - 0x60))); // keypad
    if (vk >= 0x70 && vk <= 0x87) return "F" + std::to_string(vk - 0x70 + 1);
    return {};
}

bool IsOneCharacter(std::string_view name, const LeadBytes& lead) {
    if (name.size() == 1) return !lead.IsLead(static_cast<unsigned char>(name[0]));
    return name.size() == 2 && lead.IsLead(static_cast<unsigned char>(name[0]));
}

} // namespace

std::string ShortCutToText(ShortCut value, const KeyNameFunction& platformName, const LeadBytes& lead) {
    const auto vk = static_cast<std::uint8_t>(value & 0xFF);
    std::string name = OwnKeyName(vk);
    if (name.empty() && platformName) {
        std::string platform = platformName(vk);
        if (IsOneCharacter(platform, lead)) name = std::move(platform);
    }
    if (name.empty()) return {};

    std::string text;
    if (value & kShift) text += "Shift+";
    if (value & kCtrl) text += "Ctrl+";
    if (value & kAlt) text += "Alt+";
    return text + name;
}

std::string MenuItemText(std::string_view caption, ShortCut value, bool hasChildren, bool isMenuBarTitle,
                         const KeyNameFunction& platformName, const LeadBytes& lead) {
    std::string text(caption);
    if (value != 0 && !hasChildren && !isMenuBarTitle) {
        text += '\t';
        text += ShortCutToText(value, platformName, lead);
    }
    return text;
}

} // namespace moke
