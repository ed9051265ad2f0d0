#include "foundation/setting_number.h"

#include <cstdint>

namespace kelvane {

bool ParseSettingNumber(const std::string& text, int minimum, int maximum, int& value) {
  const char* const blanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return false;
  const std::size_t last = text.find_last_not_of(blanks);
  std::size_t pos = first;
  const bool negative = text[pos] == '-';
  if (text[pos] == '-' || text[pos] == '+') ++pos;
  if (pos > last) return false;
  std::int64_t number = 0;
  for (; pos <= last; ++pos) {
    const char c = text[pos];
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
    if (number > 0x7FFFFFFFLL + 1) return false;  // overflows any int
  }
  if (negative) number = -number;
  if (number < minimum || number > maximum) return false;
  value = static_cast<int>(number);
  return true;
}

}  // namespace kelvane
