#include "editing/DateStamp.h"

namespace moke {

namespace {
std::string TwoDigits(int value) {
    std::string text = std::to_string(value);
    if (text.size() < 2) text.insert(0, 1, '0');
    return text;
}
} // namespace

std::string ShortTimeText(const StampTime& time, const TimeSettings& settings) {
    int hour = time.hour;
    if (settings.twelveHour) {
        hour %= 12;
        if (hour == 0) hour = 12;
    }
    std::string text = settings.leadingZeroHour ? TwoDigits(hour) : std::to_string(hour);
    text += settings.timeSeparator;
    text += TwoDigits(time.minute);
    if (!settings.twelveHour) return text;

    const std::string& designator = time.hour < 12 ? settings.am : settings.pm;
    return settings.designatorFirst ? designator + " " + text : text + " " + designator;
}

std::string DateStampText(const StampTime& time, const TimeSettings& settings) {
    std::string text = ShortTimeText(time, settings);
    text += ' ';
    text += TwoDigits((time.year % 100 + 100) % 100);
    text += settings.dateSeparator;
    text += std::to_string(time.month);
    text += settings.dateSeparator;
    text += std::to_string(time.day);
    return text;
}

std::string FirstCharacter(std::string_view setting, std::string_view fallback, const LeadBytes& lead) {
    if (setting.empty()) return std::string(fallback);
    return std::string(setting.substr(0, CharacterLength(setting, 0, lead)));
}

} // namespace moke
