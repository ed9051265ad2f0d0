#include "ui/schedule/trigger_text.h"

#include <cstdio>
#include <vector>

#include "foundation/language_table.h"
#include "foundation/text_split.h"
#include "ui/rules/text_format.h"

namespace kelvane {

namespace {

// A language text that lists words separated by "|"; entry `index`, or
// `fallback` when the translation has fewer entries.
std::string ListEntry(const char* key, std::size_t index, const std::string& fallback) {
  const std::vector<std::string> entries = SplitText(LanguageText(key), {"|"}, false);
  return index < entries.size() && !entries[index].empty() ? entries[index] : fallback;
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

std::string TimeText(const TASK_TRIGGER& trigger) {
  char text[16];
  std::snprintf(text, sizeof text, "%02u:%02u", trigger.wStartHour % 100u,
                trigger.wStartMinute % 100u);
  return text;
}

// The same form as the program's own stamps, whatever the locale.
std::string DateText(const TASK_TRIGGER& trigger) {
  char text[16];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u", trigger.wBeginYear % 10000u,
                trigger.wBeginMonth % 100u, trigger.wBeginDay % 100u);
  return text;
}

// TASK_SUNDAY (bit 0) to TASK_SATURDAY (bit 6).
std::string WeekdaysText(WORD days) {
  std::vector<std::string> names;
  for (std::size_t day = 0; day < 7; ++day)
    if (days & (1u << day)) names.push_back(ListEntry("L0278", day, std::to_string(day + 1)));
  return Joined(names);
}

// Bit n: day n + 1 of the month.
std::string MonthDaysText(DWORD days) {
  std::vector<std::string> numbers;
  for (int day = 0; day < 31; ++day)
    if (days & (1ul << day)) numbers.push_back(std::to_string(day + 1));
  return Joined(numbers);
}

// TASK_JANUARY (bit 0) to TASK_DECEMBER (bit 11).
std::string MonthsText(WORD months) {
  constexpr WORD kEveryMonth = 0x0FFF;
  if ((months & kEveryMonth) == kEveryMonth) return LanguageText("L0276");
  std::vector<std::string> names;
  for (int month = 0; month < 12; ++month) {
    if (!(months & (1u << month))) continue;
    char key[8];
    std::snprintf(key, sizeof key, "L%04d", 153 + month);  // L0153 January to L0164 December
    names.push_back(LanguageText(key));
  }
  return Joined(names);
}

}  // namespace

std::string DescribeTrigger(const TASK_TRIGGER& trigger) {
  const std::string time = TimeText(trigger);
  const std::string date = DateText(trigger);
  switch (trigger.TriggerType) {
    case TASK_TIME_TRIGGER_ONCE:
      return FormatChecked(LanguageText("L0270"), {time, date});
    case TASK_TIME_TRIGGER_DAILY:
      return FormatChecked(LanguageText("L0271"), {time, trigger.Type.Daily.DaysInterval, date});
    case TASK_TIME_TRIGGER_WEEKLY:
      return FormatChecked(LanguageText("L0272"),
                           {time, WeekdaysText(trigger.Type.Weekly.rgfDaysOfTheWeek),
                            trigger.Type.Weekly.WeeksInterval, date});
    case TASK_TIME_TRIGGER_MONTHLYDATE:
      return FormatChecked(LanguageText("L0273"),
                           {time, MonthDaysText(trigger.Type.MonthlyDate.rgfDays),
                            MonthsText(trigger.Type.MonthlyDate.rgfMonths), date});
    case TASK_TIME_TRIGGER_MONTHLYDOW: {
      const WORD week =
          trigger.Type.MonthlyDOW.wWhichWeek;  // TASK_FIRST_WEEK 1 to TASK_LAST_WEEK 5
      return FormatChecked(LanguageText("L0274"),
                           {time, ListEntry("L0277", week - 1u, std::to_string(week)),
                            WeekdaysText(trigger.Type.MonthlyDOW.rgfDaysOfTheWeek),
                            MonthsText(trigger.Type.MonthlyDOW.rgfMonths), date});
    }
    case TASK_EVENT_TRIGGER_ON_IDLE:
      return ListEntry("L0275", 0, std::string());
    case TASK_EVENT_TRIGGER_AT_SYSTEMSTART:
      return ListEntry("L0275", 1, std::string());
    case TASK_EVENT_TRIGGER_AT_LOGON:
      return ListEntry("L0275", 2, std::string());
  }
  return std::string();
}

}  // namespace kelvane
