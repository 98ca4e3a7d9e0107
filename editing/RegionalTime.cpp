#include "editing/RegionalTime.h"

#include <windows.h>

namespace moke {

namespace {
std::string LocaleText(LCTYPE type) {
    char text[128] = {};
    const int got = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text);
    return got > 0 ? std::string(text) : std::string();
}
} // namespace

TimeSettings ReadTimeSettings() {
    TimeSettings settings;
    settings.leadingZeroHour = LocaleText(LOCALE_ITLZERO) == "1";
    settings.twelveHour = LocaleText(LOCALE_ITIME) == "0";
    settings.designatorFirst = LocaleText(LOCALE_ITIMEMARKPOSN) == "1";
    settings.am = LocaleText(LOCALE_S1159);
    settings.pm = LocaleText(LOCALE_S2359);
    settings.dateSeparator = FirstCharacter(LocaleText(LOCALE_SDATE), "/");
    settings.timeSeparator = FirstCharacter(LocaleText(LOCALE_STIME), ":");
    return settings;
}

StampTime CurrentStampTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return StampTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
}

} // namespace moke
