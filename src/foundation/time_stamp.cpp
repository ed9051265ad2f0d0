#include "foundation/time_stamp.h"

#include <cstdio>

namespace kelvane {

std::string FormatStamp(const char* format, const LocalDateTime& t) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, t.year, t.month, t.day, t.hour, t.minute, t.second);
  return buffer;
}

bool ParseStamp(const std::string& text, const char* format, LocalDateTime& t) {
  LocalDateTime parsed;
  if (std::sscanf(text.c_str(), format, &parsed.year, &parsed.month, &parsed.day, &parsed.hour,
                  &parsed.minute, &parsed.second) != 6)
    return false;
  t = parsed;
  return true;
}

namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1601-01-01 to the given date (proleptic Gregorian).
std::int64_t DaysSince1601(int year, int month, int day) {
  const std::int64_t y = year - 1601;
  std::int64_t days = y * 365 + y / 4 - y / 100 + y / 400;
  for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
  return days + day - 1;
}

}  // namespace

bool IsValidDateTime(const LocalDateTime& t) {
  return t.year >= 1601 && t.year <= 30827 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
         t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

std::int64_t ToTicks(const LocalDateTime& t) {
  const std::int64_t seconds =
      DaysSince1601(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
  return seconds * 10000000LL;
}

TimeSpanParts BackupAge(const LocalDateTime& first, const LocalDateTime& second) {
  const std::int64_t a = ToTicks(first);
  const std::int64_t b = ToTicks(second);
  std::uint64_t diff = static_cast<std::uint64_t>(b > a ? b - a : a - b);
  TimeSpanParts parts;
  parts.secondIsLater = b > a;
  parts.days = diff / kTicksPerDay;
  diff %= kTicksPerDay;
  parts.hours = diff / kTicksPerHour;
  diff %= kTicksPerHour;
  parts.minutes = diff / kTicksPerMinute;
  return parts;
}

}  // namespace kelvane
