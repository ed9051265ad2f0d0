#pragma once
// The test prefix's Task Scheduler for a test: its service running (wine
// starts it on demand only), and the tasks the test made deleted again:
// those that were not there before and whose names start with the prefix
// given (other test programs may use the same scheduler).
// Tasks are made and read here straight through the scheduler's interface,
// not through the code under test.
#include <windows.h>
#include <mstask.h>

#include <string>
#include <vector>

namespace kelvane {

// Starts the "Schedule" service and waits (bounded) until it runs. Wine's
// service cannot be stopped again: it accepts no control.
bool StartSchedulerService();

struct TaskFacts {
  bool exists = false;
  std::string application;
  std::string parameters;
  std::string workingFolder;
  std::string comment;
  DWORD flags = 0;
  std::vector<TASK_TRIGGER> triggers;
};

class SchedulerSandbox {
 public:
  explicit SchedulerSandbox(std::string namePrefix);
  ~SchedulerSandbox();
  SchedulerSandbox(const SchedulerSandbox&) = delete;
  SchedulerSandbox& operator=(const SchedulerSandbox&) = delete;

  bool running() const { return running_; }

  // A task as a user could make it by hand; false when it could not be saved.
  static bool MakeTask(const std::string& name, const std::string& application,
                       const std::string& parameters, const std::vector<TASK_TRIGGER>& triggers);
  // Replaces every trigger of the task, as the task's property sheet would.
  static bool SetTriggers(const std::string& name, const std::vector<TASK_TRIGGER>& triggers);
  static TaskFacts ReadTask(const std::string& name);
  // The names the scheduler enumerates, as it gives them.
  static std::vector<std::string> EnumeratedNames();

 private:
  std::string namePrefix_;
  bool running_;
  std::vector<std::string> before_;
};

// A weekly trigger; two triggers are equal when the scheduler keeps the
// same times.
TASK_TRIGGER WeeklyTrigger(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD weeks,
                           WORD weekdays);
bool SameTrigger(const TASK_TRIGGER& a, const TASK_TRIGGER& b);
std::string TriggerText(const TASK_TRIGGER& trigger);  // for failure messages

}  // namespace kelvane
