#include "foundation/printf_format.h"

#include <cstring>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// strchr would also find the terminating NUL.
bool IsOneOf(char c, const char* set) { return c != 0 && std::strchr(set, c) != nullptr; }

}  // namespace

bool TakesOnlyInts(const std::string& format, int count) {
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
    // An int, or a long, which is as wide as an int on Windows; "hh" and
    // "ll" are refused along with "*" widths and positional arguments.
    if (i < format.size() && (format[i] == 'h' || format[i] == 'l')) ++i;
    if (i >= format.size() || !IsOneOf(format[i], "diuoxXc")) return false;
    ++i;
    if (++conversions > count) return false;
  }
  return true;
}
