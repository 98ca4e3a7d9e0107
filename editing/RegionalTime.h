// The user's regional settings for the time and date stamp.
#pragma once

#include "editing/DateStamp.h"

namespace moke {

// Read from the user's regional settings ("/" and ":" where a separator
// cannot be read).
TimeSettings ReadTimeSettings();

// The current local date and time.
StampTime CurrentStampTime();

} // namespace moke
