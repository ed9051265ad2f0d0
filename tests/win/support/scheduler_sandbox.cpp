#include "support/scheduler_sandbox.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "foundation/ansi_text.h"
#include "foundation/com_ptr.h"

namespace kelvane {

namespace {

constexpr int kServicePolls = 200;
constexpr DWORD kServicePollMs = 50;

class Scheduler {
 public:
  Scheduler() {
    CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                     scheduler_.PutVoid());
  }
  ITaskScheduler* operator->() const { return scheduler_.Get(); }
  explicit operator bool() const { return static_cast<bool>(scheduler_); }
  ComPtr<ITask> Open(const std::string& name) const {
    ComPtr<ITask> task;
    if (FAILED(scheduler_->Activate(AnsiToWide(name).c_str(), IID_ITask,
                                    reinterpret_cast<IUnknown**>(task.Put()))))
      task.Reset();
    return task;
  }

 private:
  ComApartment apartment_;
  ComPtr<ITaskScheduler> scheduler_;
};

std::string Taken(LPWSTR text) {
  std::string ansi = text == nullptr ? std::string() : WideToAnsi(text);
  CoTaskMemFree(text);
  return ansi;
}

bool Save(const ComPtr<ITask>& task) {
  const ComPtr<IPersistFile> file = task.As<IPersistFile>(IID_IPersistFile);
  return file && SUCCEEDED(file->Save(nullptr, TRUE));
}

bool AddTriggers(const ComPtr<ITask>& task, const std::vector<TASK_TRIGGER>& triggers) {
  for (TASK_TRIGGER record : triggers) {
    WORD index = 0;
    ComPtr<ITaskTrigger> trigger;
    if (FAILED(task->CreateTrigger(&index, trigger.Put())) || FAILED(trigger->SetTrigger(&record)))
      return false;
  }
  return true;
}

}  // namespace

bool StartSchedulerService() {
  const SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (manager == nullptr) return false;
  const SC_HANDLE service = OpenServiceA(manager, "Schedule", SERVICE_START | SERVICE_QUERY_STATUS);
  CloseServiceHandle(manager);
  if (service == nullptr) return false;
  SERVICE_STATUS status = {};
  bool running = false;
  for (int poll = 0; poll < kServicePolls && !running; ++poll) {
    running = QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_RUNNING;
    if (running) break;
    if (status.dwCurrentState == SERVICE_STOPPED) StartServiceA(service, 0, nullptr);
    Sleep(kServicePollMs);
  }
  CloseServiceHandle(service);
  return running;
}

SchedulerSandbox::SchedulerSandbox(std::string namePrefix)
    : namePrefix_(std::move(namePrefix)),
      running_(StartSchedulerService()),
      before_(EnumeratedNames()) {}

SchedulerSandbox::~SchedulerSandbox() {
  Scheduler scheduler;
  if (!scheduler) return;
  for (std::string name : EnumeratedNames()) {
    if (name.rfind(namePrefix_, 0) != 0 ||
        std::find(before_.begin(), before_.end(), name) != before_.end())
      continue;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".job") == 0)
      name.resize(name.size() - 4);
    scheduler->Delete(AnsiToWide(name).c_str());
  }
}

bool SchedulerSandbox::MakeTask(const std::string& name, const std::string& application,
                                const std::string& parameters,
                                const std::vector<TASK_TRIGGER>& triggers) {
  Scheduler scheduler;
  ComPtr<ITask> task;
  if (!scheduler || FAILED(scheduler->NewWorkItem(AnsiToWide(name).c_str(), CLSID_CTask, IID_ITask,
                                                  reinterpret_cast<IUnknown**>(task.Put()))))
    return false;
  return SUCCEEDED(task->SetApplicationName(AnsiToWide(application).c_str())) &&
         SUCCEEDED(task->SetParameters(AnsiToWide(parameters).c_str())) &&
         AddTriggers(task, triggers) && Save(task);
}

bool SchedulerSandbox::SetTriggers(const std::string& name,
                                   const std::vector<TASK_TRIGGER>& triggers) {
  Scheduler scheduler;
  const ComPtr<ITask> task = scheduler ? scheduler.Open(name) : ComPtr<ITask>();
  if (!task) return false;
  WORD count = 0;
  task->GetTriggerCount(&count);
  while (count > 0 && SUCCEEDED(task->DeleteTrigger(0))) --count;
  return count == 0 && AddTriggers(task, triggers) && Save(task);
}

TaskFacts SchedulerSandbox::ReadTask(const std::string& name) {
  TaskFacts facts;
  Scheduler scheduler;
  const ComPtr<ITask> task = scheduler ? scheduler.Open(name) : ComPtr<ITask>();
  if (!task) return facts;
  facts.exists = true;
  LPWSTR text = nullptr;
  if (SUCCEEDED(task->GetApplicationName(&text))) facts.application = Taken(text);
  if (SUCCEEDED(task->GetParameters(&text))) facts.parameters = Taken(text);
  if (SUCCEEDED(task->GetWorkingDirectory(&text))) facts.workingFolder = Taken(text);
  if (SUCCEEDED(task->GetComment(&text))) facts.comment = Taken(text);
  task->GetFlags(&facts.flags);
  WORD count = 0;
  task->GetTriggerCount(&count);
  for (WORD index = 0; index < count; ++index) {
    ComPtr<ITaskTrigger> trigger;
    TASK_TRIGGER record = {};
    record.cbTriggerSize = sizeof record;
    if (SUCCEEDED(task->GetTrigger(index, trigger.Put())) &&
        SUCCEEDED(trigger->GetTrigger(&record)))
      facts.triggers.push_back(record);
  }
  return facts;
}

std::vector<std::string> SchedulerSandbox::EnumeratedNames() {
  std::vector<std::string> names;
  Scheduler scheduler;
  ComPtr<IEnumWorkItems> items;
  if (!scheduler || FAILED(scheduler->Enum(items.Put()))) return names;
  for (;;) {
    LPWSTR* batch = nullptr;
    ULONG fetched = 0;
    const HRESULT hr = items->Next(1, &batch, &fetched);
    if (FAILED(hr) || fetched == 0) break;
    names.push_back(Taken(batch[0]));
    CoTaskMemFree(batch);
  }
  return names;
}

TASK_TRIGGER WeeklyTrigger(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD weeks,
                           WORD weekdays) {
  TASK_TRIGGER trigger = {};
  trigger.cbTriggerSize = sizeof trigger;
  trigger.wBeginYear = year;
  trigger.wBeginMonth = month;
  trigger.wBeginDay = day;
  trigger.wStartHour = hour;
  trigger.wStartMinute = minute;
  trigger.TriggerType = TASK_TIME_TRIGGER_WEEKLY;
  trigger.Type.Weekly.WeeksInterval = weeks;
  trigger.Type.Weekly.rgfDaysOfTheWeek = weekdays;
  return trigger;
}

bool SameTrigger(const TASK_TRIGGER& a, const TASK_TRIGGER& b) {
  return TriggerText(a) == TriggerText(b);
}

std::string TriggerText(const TASK_TRIGGER& t) {
  char text[160];
  std::snprintf(
      text, sizeof text,
      "type %d from %04u-%02u-%02u to %04u-%02u-%02u at %02u:%02u flags %lx "
      "type data %u/%u/%u duration %lu interval %lu",
      static_cast<int>(t.TriggerType), t.wBeginYear, t.wBeginMonth, t.wBeginDay, t.wEndYear,
      t.wEndMonth, t.wEndDay, t.wStartHour, t.wStartMinute, static_cast<unsigned long>(t.rgFlags),
      t.Type.MonthlyDOW.wWhichWeek, t.Type.MonthlyDOW.rgfDaysOfTheWeek, t.Type.MonthlyDOW.rgfMonths,
      static_cast<unsigned long>(t.MinutesDuration), static_cast<unsigned long>(t.MinutesInterval));
  return text;
}

}  // namespace kelvane
