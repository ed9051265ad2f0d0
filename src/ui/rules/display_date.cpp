#include "ui/rules/display_date.h"

#include <cstddef>
#include <cstdio>

namespace kelvane {

std::string FormatDisplayDate(const LocalDateTime& time,
                              const std::vector<std::string>& monthNames) {
  const std::size_t index = static_cast<std::size_t>(time.month) - 1;
  const bool named = time.month >= 1 && time.month <= 12 && index < monthNames.size();
  const std::string month = named ? monthNames[index] : std::string();
  const bool morning = time.hour >= 0 && time.hour <= 11;
  const int shownHour = time.hour > 12 ? time.hour - 12 : time.hour;

  const char* format = "%s %02d, %04d. %02d:%02d %s";
  const char* suffix = morning ? "AM" : "PM";
  // A translated month name has no length limit: measure first.
  const int length = std::snprintf(nullptr, 0, format, month.c_str(), time.day, time.year,
                                   shownHour, time.minute, suffix);
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(&text[0], text.size(), format, month.c_str(), time.day, time.year, shownHour,
                time.minute, suffix);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

}  // namespace kelvane
