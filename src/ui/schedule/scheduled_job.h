#pragma once
// The three unattended jobs as scheduled tasks: what each task is made
// with, its default trigger, and the caption of the button that shows its
// times. The tasks in the Task Scheduler are the only record of a schedule;
// a job remembers the triggers last read from its task so that clearing and
// ticking its box again brings the same times back.
#include <windows.h>
#include <mstask.h>

#include <array>
#include <string>

#include "foundation/time_stamp.h"
#include "ui/schedule/task_scheduler.h"

namespace kelvane {

enum class JobKind { kFix, kDefrag, kBackup };
constexpr int kScheduledJobCount = 3;
// In the order the strip shows and refreshes them.
constexpr std::array<JobKind, kScheduledJobCount> kScheduledJobKinds = {
    JobKind::kFix, JobKind::kDefrag, JobKind::kBackup};

struct ScheduledJob {
  JobKind kind = JobKind::kFix;
  int checkBoxId = 0;
  std::string programPath;
  std::string taskName;  // the default name until a task of the job is found
  std::string parameters;
  TaskTriggers triggers;  // the task's triggers as last read
};

// The job as the strip starts it: the default task name, no triggers.
ScheduledJob MakeScheduledJob(JobKind kind, const std::string& programPath);

// The product name of `programPath` and the job's name, spaces made "_".
std::string DefaultTaskName(JobKind kind, const std::string& programPath);

// Weekly from `today` on: cleanup Monday, Wednesday and Friday at 12:29,
// defragmentation Friday at 23:59, backup every other Friday at 11:59.
TASK_TRIGGER DefaultTrigger(JobKind kind, const LocalDateTime& today);

// The task for the job: the program from its folder with the job's word.
JobTaskDefinition TaskDefinitionOf(const ScheduledJob& job);

// The caption of a job's button: "L0217", a space, then each trigger's
// text followed by "; ", or "L0218" when there is none (or no task).
std::string GetScheduleText(const std::string& taskName);
// The caption of a job that has no task.
std::string NoScheduleText();

}  // namespace kelvane
