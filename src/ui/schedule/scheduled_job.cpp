#include "ui/schedule/scheduled_job.h"

#include <algorithm>
#include <vector>

#include "foundation/language_table.h"
#include "foundation/program_paths.h"
#include "foundation/version_info.h"
#include "resource_ids.h"

namespace kelvane {

namespace {

struct JobFacts {
  int checkBoxId;
  const char* commentKey;
  const char* nameKey;
  const char* parameters;
  WORD weeksInterval;
  WORD weekdays;  // TASK_SUNDAY bit 0 .. TASK_SATURDAY bit 6
  WORD hour;
  WORD minute;
};

const JobFacts& FactsOf(JobKind kind) {
  static const JobFacts kFacts[kScheduledJobCount] = {
      {IDC_SCHEDULE_FIX_CHECK, "L0152", "L0003", "/fix", 1,
       TASK_MONDAY | TASK_WEDNESDAY | TASK_FRIDAY, 12, 29},
      {IDC_SCHEDULE_DEFRAG_CHECK, "L0166", "L0004", "/defrag", 1, TASK_FRIDAY, 23, 59},
      {IDC_SCHEDULE_BACKUP_CHECK, "L0168", "L0005", "/backup", 2, TASK_FRIDAY, 11, 59},
  };
  return kFacts[static_cast<int>(kind)];
}

}  // namespace

ScheduledJob MakeScheduledJob(JobKind kind, const std::string& programPath) {
  ScheduledJob job;
  job.kind = kind;
  job.checkBoxId = FactsOf(kind).checkBoxId;
  job.programPath = programPath;
  job.taskName = DefaultTaskName(kind, programPath);
  job.parameters = FactsOf(kind).parameters;
  return job;
}

std::string DefaultTaskName(JobKind kind, const std::string& programPath) {
  std::string name = GetProductName(programPath) + " " + LanguageText(FactsOf(kind).nameKey);
  std::replace(name.begin(), name.end(), ' ', '_');
  return name;
}

TASK_TRIGGER DefaultTrigger(JobKind kind, const LocalDateTime& today) {
  const JobFacts& facts = FactsOf(kind);
  TASK_TRIGGER trigger = {};
  trigger.cbTriggerSize = sizeof trigger;
  trigger.wBeginYear = static_cast<WORD>(today.year);
  trigger.wBeginMonth = static_cast<WORD>(today.month);
  trigger.wBeginDay = static_cast<WORD>(today.day);
  trigger.wStartHour = facts.hour;
  trigger.wStartMinute = facts.minute;
  trigger.TriggerType = TASK_TIME_TRIGGER_WEEKLY;
  trigger.Type.Weekly.WeeksInterval = facts.weeksInterval;
  trigger.Type.Weekly.rgfDaysOfTheWeek = facts.weekdays;
  return trigger;
}

JobTaskDefinition TaskDefinitionOf(const ScheduledJob& job) {
  JobTaskDefinition definition;
  definition.name = job.taskName;
  definition.application = job.programPath;
  definition.workingFolder = ProgramFolderOf(job.programPath);
  definition.comment = LanguageText(FactsOf(job.kind).commentKey);
  definition.parameters = job.parameters;
  return definition;
}

std::string GetScheduleText(const std::string& taskName) {
  std::string texts;
  for (const std::string& text : GetJobTriggerTexts(taskName)) texts += text + "; ";
  return texts.empty() ? NoScheduleText() : LanguageText("L0217") + " " + texts;
}

std::string NoScheduleText() { return LanguageText("L0217") + " " + LanguageText("L0218"); }

}  // namespace kelvane
