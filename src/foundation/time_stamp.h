#pragma once
// Local date-time values, their text forms and day counts.
#include <cstdint>
#include <string>

namespace kelvane {

struct LocalDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Formats used for the stamps the program writes.
constexpr const char* kSettingsStampFormat = "%04d-%02d-%02d %02d:%02d:%02d";
constexpr const char* kFullBackupStampFormat = "%04d-%02d-%02d-%02d-%02d-%02d";
constexpr const char* kPartialBackupStampFormat = "%04d-%02d-%02d_%02d-%02d-%02d";

// Six numbers in year, month, day, hour, minute, second order.
std::string FormatStamp(const char* format, const LocalDateTime& time);

// True when `format` reads all six numbers from `text`.
bool ParseStamp(const std::string& text, const char* format, LocalDateTime& time);

// Whether the fields name a real calendar moment.
bool IsValidDateTime(const LocalDateTime& time);

// 100-nanosecond units since 1601-01-01 00:00 of a valid date-time.
std::int64_t ToTicks(const LocalDateTime& time);

constexpr std::int64_t kTicksPerDay = 864000000000LL;
constexpr std::int64_t kTicksPerHour = 36000000000LL;
constexpr std::int64_t kTicksPerMinute = 600000000LL;

// Whole days, hours and minutes between two local times (absolute).
struct TimeSpanParts {
  std::uint64_t days = 0;
  std::uint64_t hours = 0;
  std::uint64_t minutes = 0;
  bool secondIsLater = false;
};
TimeSpanParts BackupAge(const LocalDateTime& first, const LocalDateTime& second);

}  // namespace kelvane
