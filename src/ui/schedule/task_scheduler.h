#pragma once
// The jobs' tasks in the system's Task Scheduler (version 1.0 interfaces).
// Every call is whole in itself: it initialises COM, takes the scheduler,
// does its work and releases everything again, on the calling thread. Names
// and texts cross the interface in UTF-16, converted from and to the ANSI
// code page. A call that fails changes nothing further and says so.
#include <windows.h>
#include <mstask.h>

#include <string>
#include <vector>

namespace kelvane {

using TaskTriggers = std::vector<TASK_TRIGGER>;

// What a job's task is made with.
struct JobTaskDefinition {
  std::string name;
  std::string application;
  std::string workingFolder;
  std::string comment;
  std::string parameters;
};

// Whether the scheduler's service runs (on the old Windows 9x line: whether
// its agent window exists).
bool IsTaskSchedulerAvailable();

// The names of every task, in the scheduler's order, without the ".job"
// that the enumeration appends: the other calls take them without it.
bool ListTaskNames(std::vector<std::string>& names);

// The first task, in the scheduler's order, that runs `programPath` with
// `parameters` (both compared without regard to case): its name and its
// triggers. Nothing is handed back when none does.
bool FindJobTask(const std::string& programPath, const std::string& parameters,
                 std::string& taskName, TaskTriggers& triggers);

bool JobTaskExists(const std::string& taskName);

// Makes the task with its triggers and saves it once, so that it is either
// there whole or not at all. Refuses a name that is taken: the task of that
// name stays as it is (the scheduler of some systems would overwrite it).
bool CreateJobTask(const JobTaskDefinition& definition, const TaskTriggers& triggers);

bool DeleteJobTask(const std::string& taskName);

// The task's triggers in their order; `triggers` is replaced only when
// every one could be read.
bool ReadJobTriggers(const std::string& taskName, TaskTriggers& triggers);

// One text per trigger: the scheduler's own description, or, where it has
// none to give, one made from the trigger's record.
std::vector<std::string> GetJobTriggerTexts(const std::string& taskName);

enum class EditOutcome {
  kClosed,           // the system's property sheet was shown and closed
  kNoPropertySheet,  // the task is there but the system offers no sheet for it
  kFailed,           // the task could not be opened
};
// Shows the system's property sheet of the task, owned by `owner`, and
// returns when it closes.
EditOutcome EditJobTask(const std::string& taskName, HWND owner);

// "" when the task cannot be read.
std::string GetTaskApplicationName(const std::string& taskName);
std::string GetTaskParameters(const std::string& taskName);

}  // namespace kelvane
