#include "foundation/printf_format.h"

#include <cstring>

namespace kelvane {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// strchr would also find the terminating NUL.
bool IsOneOf(char c, const char* set) { return c != 0 && std::strchr(set, c) != nullptr; }

}  // namespace

// The number of conversions in `format`, or -1 when one of them is not in
// `kinds` or has what the caller will not pass ("*" widths, positional
// arguments, a length other than h or l where `lengthAllowed`).
static int CountConversions(const std::string& format, const char* kinds, bool lengthAllowed) {
  int conversions = 0;
  std::size_t i = 0;
  while (i < format.size()) {
    if (format[i++] != '%') continue;
    if (i < format.size() && format[i] == '%') {
      ++i;
      continue;
    }
    while (i < format.size() && IsOneOf(format[i], "-+ #0")) ++i;
    while (i < format.size() && IsDigit(format[i])) ++i;
    if (i < format.size() && format[i] == '.') {
      ++i;
      while (i < format.size() && IsDigit(format[i])) ++i;
    }
    // A long is as wide as an int on Windows; "hh" and "ll" are refused.
    if (lengthAllowed && i < format.size() && (format[i] == 'h' || format[i] == 'l')) ++i;
    if (i >= format.size() || !IsOneOf(format[i], kinds)) return -1;
    ++i;
    ++conversions;
  }
  return conversions;
}

bool TakesOnlyInts(const std::string& format, int count) {
  const int conversions = CountConversions(format, "diuoxXc", true);
  return conversions >= 0 && conversions <= count;
}

bool TakesOnlyStrings(const std::string& format, int count) {
  const int conversions = CountConversions(format, "s", false);
  return conversions >= 0 && conversions <= count;
}

}  // namespace kelvane
