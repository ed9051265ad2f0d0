#pragma once
// The stored text of an integer setting, judged strictly: the profile
// functions read "yes" as 0 and "1x" as 1, which would silently switch a
// safeguard off.
#include <string>

namespace kelvane {

// True when `text` is a whole decimal number (blanks and line ends around
// it, an optional sign) within [minimum, maximum]; `value` is then set.
bool ParseSettingNumber(const std::string& text, int minimum, int maximum, int& value);

}  // namespace kelvane
