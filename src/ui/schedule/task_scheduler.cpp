#include "ui/schedule/task_scheduler.h"

#include <commctrl.h>
#include <prsht.h>

#include <array>

#include "foundation/ansi_text.h"
#include "foundation/case_map.h"
#include "foundation/com_ptr.h"
#include "foundation/scoped_handle.h"
#include "ui/schedule/trigger_text.h"

namespace kelvane {

namespace {

struct ServiceHandleTraits {
  using Handle = SC_HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { CloseServiceHandle(handle); }
};
using ScopedServiceHandle = ScopedHandle<ServiceHandleTraits>;

// Frees what the scheduler hands out with CoTaskMemAlloc.
class TaskMemText {
 public:
  TaskMemText() = default;
  ~TaskMemText() { CoTaskMemFree(text_); }
  TaskMemText(const TaskMemText&) = delete;
  TaskMemText& operator=(const TaskMemText&) = delete;
  LPWSTR* Put() { return &text_; }
  std::string ToAnsi() const { return text_ == nullptr ? std::string() : WideToAnsi(text_); }

 private:
  LPWSTR text_ = nullptr;
};

constexpr HRESULT kSharingViolation = HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION);
constexpr HRESULT kNotFound = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
constexpr int kSharedRetries = 40;
constexpr DWORD kSharedRetryMs = 25;

// The scheduler's service reads a job file for a moment after it changed;
// a call that meets it then is tried again for about a second.
template <typename Call>
HRESULT RetryWhileShared(Call call) {
  HRESULT result = call();
  for (int attempt = 0; result == kSharingViolation && attempt < kSharedRetries; ++attempt) {
    Sleep(kSharedRetryMs);
    result = call();
  }
  return result;
}

// COM and the scheduler for the length of one call.
class SchedulerSession {
 public:
  SchedulerSession() {
    // Also on a thread whose COM was set up otherwise before: the scheduler
    // is an in-process object and works in either apartment.
    CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                     scheduler_.PutVoid());
  }
  explicit operator bool() const { return static_cast<bool>(scheduler_); }
  ITaskScheduler* operator->() const { return scheduler_.Get(); }

  // The task, or empty with the reason in `result`.
  ComPtr<ITask> Open(const std::string& name, HRESULT* result = nullptr) const {
    ComPtr<ITask> task;
    const std::wstring wide = AnsiToWide(name);
    const HRESULT hr = RetryWhileShared([&] {
      return scheduler_->Activate(wide.c_str(), IID_ITask,
                                  reinterpret_cast<IUnknown**>(task.Put()));
    });
    if (FAILED(hr)) task.Reset();
    if (result != nullptr) *result = hr;
    return task;
  }

 private:
  ComApartment apartment_;
  ComPtr<ITaskScheduler> scheduler_;
};

bool SaveTask(const ComPtr<ITask>& task) {
  const ComPtr<IPersistFile> file = task.As<IPersistFile>(IID_IPersistFile);
  if (!file) return false;
  return SUCCEEDED(RetryWhileShared([&] { return file->Save(nullptr, TRUE); }));
}

bool ReadTriggers(const ComPtr<ITask>& task, TaskTriggers& triggers) {
  WORD count = 0;
  if (FAILED(task->GetTriggerCount(&count))) return false;
  TaskTriggers read;
  for (WORD index = 0; index < count; ++index) {
    ComPtr<ITaskTrigger> trigger;
    if (FAILED(task->GetTrigger(index, trigger.Put()))) return false;
    TASK_TRIGGER record = {};
    record.cbTriggerSize = sizeof record;
    if (FAILED(trigger->GetTrigger(&record))) return false;
    read.push_back(record);
  }
  triggers = std::move(read);
  return true;
}

// The text one of the task's getters hands out; "" when it fails.
template <typename Getter>
std::string TaskText(const ComPtr<ITask>& task, Getter get) {
  TaskMemText text;
  if (!task || FAILED(get(task.Get(), text.Put()))) return std::string();
  return text.ToAnsi();
}

std::string ApplicationOf(const ComPtr<ITask>& task) {
  return TaskText(task, [](ITask* t, LPWSTR* text) { return t->GetApplicationName(text); });
}

std::string ParametersOf(const ComPtr<ITask>& task) {
  return TaskText(task, [](ITask* t, LPWSTR* text) { return t->GetParameters(text); });
}

// The property pages the task offers itself, in a sheet of our own: the
// other way to the same pages when the scheduler will not show them.
bool ShowTaskPages(const ComPtr<ITask>& task, HWND owner) {
  const ComPtr<IProvideTaskPage> provider = task.As<IProvideTaskPage>(IID_IProvideTaskPage);
  if (!provider) return false;
  std::array<HPROPSHEETPAGE, 3> pages = {};
  UINT count = 0;
  for (TASKPAGE which : {TASKPAGE_TASK, TASKPAGE_SCHEDULE, TASKPAGE_SETTINGS}) {
    HPROPSHEETPAGE page = nullptr;
    if (SUCCEEDED(provider->GetPage(which, TRUE, &page)) && page != nullptr) pages[count++] = page;
  }
  if (count == 0) return false;
  PROPSHEETHEADERA header = {};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_DEFAULT;
  header.hwndParent = owner;
  header.nPages = count;
  header.phpage = pages.data();
  // The sheet destroys the pages it was given, shown or not.
  return PropertySheetA(&header) >= 0;
}

}  // namespace

bool IsTaskSchedulerAvailable() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
    return FindWindowA("SAGEWINDOWCLASS", "SYSTEM AGENT COM WINDOW") != nullptr;

  ScopedServiceHandle service;
  {
    const ScopedServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager.IsValid()) return false;
    service.Reset(OpenServiceA(manager.Get(), "Schedule", SERVICE_START | SERVICE_QUERY_STATUS));
  }
  if (!service.IsValid()) return false;
  SERVICE_STATUS status = {};
  return QueryServiceStatus(service.Get(), &status) && status.dwCurrentState == SERVICE_RUNNING;
}

bool ListTaskNames(std::vector<std::string>& names) {
  names.clear();
  SchedulerSession scheduler;
  if (!scheduler) return false;
  ComPtr<IEnumWorkItems> items;
  if (FAILED(scheduler->Enum(items.Put()))) return false;
  for (;;) {
    LPWSTR* batch = nullptr;
    ULONG fetched = 0;
    const HRESULT hr = items->Next(5, &batch, &fetched);
    if (FAILED(hr)) return false;
    for (ULONG i = 0; i < fetched; ++i) {
      std::string name = WideToAnsi(batch[i]);
      CoTaskMemFree(batch[i]);
      constexpr char kSuffix[] = ".job";
      constexpr std::size_t kSuffixLength = sizeof kSuffix - 1;
      if (name.size() > kSuffixLength &&
          ToLowerText(name.substr(name.size() - kSuffixLength)) == kSuffix)
        name.resize(name.size() - kSuffixLength);
      names.push_back(name);
    }
    CoTaskMemFree(batch);
    // S_FALSE: fewer than asked for, the last batch.
    if (hr != S_OK || fetched == 0) return true;
  }
}

bool FindJobTask(const std::string& programPath, const std::string& parameters,
                 std::string& taskName, TaskTriggers& triggers) {
  std::vector<std::string> names;
  if (!ListTaskNames(names)) return false;
  SchedulerSession scheduler;
  if (!scheduler) return false;
  const std::string wantedProgram = ToLowerText(programPath);
  const std::string wantedParameters = ToLowerText(parameters);
  for (const std::string& name : names) {
    const ComPtr<ITask> task = scheduler.Open(name);
    if (!task || ToLowerText(ApplicationOf(task)) != wantedProgram ||
        ToLowerText(ParametersOf(task)) != wantedParameters)
      continue;
    taskName = name;
    ReadTriggers(task, triggers);
    return true;
  }
  return false;
}

bool JobTaskExists(const std::string& taskName) {
  SchedulerSession scheduler;
  return scheduler && scheduler.Open(taskName);
}

bool CreateJobTask(const JobTaskDefinition& definition, const TaskTriggers& triggers) {
  SchedulerSession scheduler;
  if (!scheduler) return false;
  // Only a name that is certainly free: saving a new task under a taken
  // name would replace someone else's task.
  HRESULT opened = S_OK;
  if (scheduler.Open(definition.name, &opened) || opened != kNotFound) return false;

  ComPtr<ITask> task;
  const std::wstring name = AnsiToWide(definition.name);
  if (FAILED(scheduler->NewWorkItem(name.c_str(), CLSID_CTask, IID_ITask,
                                    reinterpret_cast<IUnknown**>(task.Put()))))
    return false;
  char user[512] = "";
  DWORD userLength = 511;
  if (!GetUserNameA(user, &userLength)) return false;
  const bool set =
      SUCCEEDED(task->SetApplicationName(AnsiToWide(definition.application).c_str())) &&
      SUCCEEDED(task->SetWorkingDirectory(AnsiToWide(definition.workingFolder).c_str())) &&
      SUCCEEDED(task->SetComment(AnsiToWide(definition.comment).c_str())) &&
      SUCCEEDED(task->SetParameters(AnsiToWide(definition.parameters).c_str())) &&
      SUCCEEDED(task->SetFlags(TASK_FLAG_RUN_ONLY_IF_LOGGED_ON)) &&
      SUCCEEDED(task->SetAccountInformation(AnsiToWide(user).c_str(), nullptr));
  if (!set) return false;
  for (const TASK_TRIGGER& record : triggers) {
    WORD index = 0;
    ComPtr<ITaskTrigger> trigger;
    if (FAILED(task->CreateTrigger(&index, trigger.Put()))) return false;
    TASK_TRIGGER copy = record;
    copy.cbTriggerSize = sizeof copy;
    if (FAILED(trigger->SetTrigger(&copy))) return false;
  }
  return SaveTask(task);
}

bool DeleteJobTask(const std::string& taskName) {
  SchedulerSession scheduler;
  if (!scheduler) return false;
  const std::wstring name = AnsiToWide(taskName);
  return SUCCEEDED(RetryWhileShared([&] { return scheduler->Delete(name.c_str()); }));
}

bool ReadJobTriggers(const std::string& taskName, TaskTriggers& triggers) {
  SchedulerSession scheduler;
  if (!scheduler) return false;
  const ComPtr<ITask> task = scheduler.Open(taskName);
  return task && ReadTriggers(task, triggers);
}

std::vector<std::string> GetJobTriggerTexts(const std::string& taskName) {
  std::vector<std::string> texts;
  SchedulerSession scheduler;
  if (!scheduler) return texts;
  const ComPtr<ITask> task = scheduler.Open(taskName);
  WORD count = 0;
  if (!task || FAILED(task->GetTriggerCount(&count))) return texts;
  for (WORD index = 0; index < count; ++index) {
    TaskMemText text;
    if (SUCCEEDED(task->GetTriggerString(index, text.Put()))) {
      texts.push_back(text.ToAnsi());
      continue;
    }
    // Some schedulers (Wine's) describe no trigger: the record is there.
    ComPtr<ITaskTrigger> trigger;
    TASK_TRIGGER record = {};
    record.cbTriggerSize = sizeof record;
    if (FAILED(task->GetTrigger(index, trigger.Put())) || FAILED(trigger->GetTrigger(&record)))
      continue;
    std::string described = DescribeTrigger(record);
    if (!described.empty()) texts.push_back(std::move(described));
  }
  return texts;
}

EditOutcome EditJobTask(const std::string& taskName, HWND owner) {
  SchedulerSession scheduler;
  if (!scheduler) return EditOutcome::kFailed;
  const ComPtr<ITask> task = scheduler.Open(taskName);
  if (!task) return EditOutcome::kFailed;
  if (SUCCEEDED(task->EditWorkItem(owner, 0)) || ShowTaskPages(task, owner))
    return EditOutcome::kClosed;
  return EditOutcome::kNoPropertySheet;
}

std::string GetTaskApplicationName(const std::string& taskName) {
  SchedulerSession scheduler;
  return scheduler ? ApplicationOf(scheduler.Open(taskName)) : std::string();
}

std::string GetTaskParameters(const std::string& taskName) {
  SchedulerSession scheduler;
  return scheduler ? ParametersOf(scheduler.Open(taskName)) : std::string();
}

}  // namespace kelvane
