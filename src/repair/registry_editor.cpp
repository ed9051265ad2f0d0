// Exports and imports through the system registry editor, started as its own
// process.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "repair/backup_manager.h"

namespace {

// Owns the process handle that SEE_MASK_NOCLOSEPROCESS hands over.
class ProcessHandle {
 public:
  explicit ProcessHandle(HANDLE handle) : handle_(handle) {}
  ~ProcessHandle() {
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

std::string Format(const char* format, const std::string& first, const std::string& second) {
  const int needed = std::snprintf(nullptr, 0, format, first.c_str(), second.c_str());
  if (needed <= 0) return std::string();
  std::vector<char> buffer(static_cast<std::size_t>(needed) + 1, 0);
  std::snprintf(buffer.data(), buffer.size(), format, first.c_str(), second.c_str());
  return std::string(buffer.data(), static_cast<std::size_t>(needed));
}

// Starts `exe` with `parameters`; with `wait`, waits for it to end. True when
// it was started and, if waited for, ended with exit code 0.
bool RunEditor(const std::string& exe, const std::string& parameters, int wait) {
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.hwnd = nullptr;
  info.lpVerb = nullptr;
  info.lpFile = exe.c_str();
  info.lpParameters = parameters.c_str();
  info.lpDirectory = nullptr;
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExA(&info)) return false;
  ProcessHandle process(info.hProcess);
  if (wait == 0) return true;
  // No process handle means no process was started to do the work.
  if (process.Get() == nullptr) return false;
  if (WaitForSingleObject(process.Get(), INFINITE) != WAIT_OBJECT_0) return false;
  DWORD exitCode = 1;
  return GetExitCodeProcess(process.Get(), &exitCode) && exitCode == 0;
}

}  // namespace

bool ExportRegistry(const std::string& key, const std::string& file, const std::string& exe,
                    int wait) {
  const std::string parameters =
      key.empty() ? Format("/e \"%s\" ", file, "") : Format("/e \"%s\" \"%s\" ", file, key);
  return RunEditor(exe, parameters, wait);
}

bool ImportRegistry(const std::string& file, const std::string& exe, int wait, int silent) {
  return RunEditor(exe, Format(silent != 0 ? "/s \"%s\" " : "\"%s\" ", file, ""), wait);
}
