// The time and date stamp "t yy/m/d" inserted by the Date/Time command.
#pragma once

#include <string>
#include <string_view>

#include "app/frame/LeadBytes.h"

namespace moke {

// The user's regional time and date settings the stamp uses. The separators
// are single characters already (see FirstCharacter).
struct TimeSettings {
    bool leadingZeroHour = false;
    bool twelveHour = false;
    bool designatorFirst = false;
    std::string am = "AM", pm = "PM";
    std::string dateSeparator = "/", timeSeparator = ":";
};

struct StampTime {
    int year, month, day, hour, minute; // hour 0-23
};

// The hour (two digits with the leading-zero setting), the time separator and
// two-digit minutes; on a 12-hour clock hour 0 shows as 12 and 13-23 as 1-11,
// and the morning (0-11) or afternoon (12-23) string follows after a blank, or
// comes first followed by a blank.
std::string ShortTimeText(const StampTime& time, const TimeSettings& settings);

// The short time, a blank, the year modulo 100 as two digits, the month and
// the day without leading zeros, joined by the date separator: "9:05 01/1/5".
std::string DateStampText(const StampTime& time, const TimeSettings& settings);

// The first character (one byte, or a lead byte and the byte after it) of a
// regional setting; `fallback` when the setting is empty.
std::string FirstCharacter(std::string_view setting, std::string_view fallback,
                           const LeadBytes& lead = SystemLeadBytes());

} // namespace moke
