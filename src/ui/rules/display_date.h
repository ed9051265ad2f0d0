#pragma once
// The date line of the home page: "March 07, 2024. 09:05 AM".
#include <string>
#include <vector>

#include "foundation/time_stamp.h"

namespace kelvane {

// "%s %02d, %04d. %02d:%02d %s": month name, day, year, hour on a twelve-hour
// dial, minute, "AM" (hours 0 to 11) or "PM". Hours after noon lose twelve, so
// midnight shows as 00 AM and noon as 12 PM. `monthNames` holds January first
// (the language keys L0153 to L0164); a month outside 1 to 12, or one the list
// does not reach, has an empty name.
std::string FormatDisplayDate(const LocalDateTime& time,
                              const std::vector<std::string>& monthNames);

}  // namespace kelvane
