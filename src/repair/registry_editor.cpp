// The registry editor as its own process.
#include "repair/registry_editor.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "foundation/file_checks.h"
#include "foundation/scoped_handle.h"
#include "foundation/wow64_redirection.h"

namespace kelvane {
namespace {

std::string Format(const char* format, const std::string& first, const std::string& second) {
  const int needed = std::snprintf(nullptr, 0, format, first.c_str(), second.c_str());
  if (needed <= 0) return std::string();
  std::vector<char> buffer(static_cast<std::size_t>(needed) + 1, 0);
  std::snprintf(buffer.data(), buffer.size(), format, first.c_str(), second.c_str());
  return std::string(buffer.data(), static_cast<std::size_t>(needed));
}

// Under WOW64 a plain start of the Windows folder's editor runs the 32-bit
// one, which sees only the 32-bit software keys: the editor is started with
// the redirection switched off, by CreateProcess (the shell may do its work
// on other threads, which would still be redirected).
bool StartWithoutRedirection(const std::string& exe, const std::string& parameters,
                             ScopedKernelHandle& process) {
  std::string commandLine = "\"" + exe + "\" " + parameters;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started = {};
  {
    const FsRedirectionOff redirection(true);
    if (!redirection.ok()) return false;
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
      return false;
  }
  CloseHandle(started.hThread);
  process.Reset(started.hProcess);
  return true;
}

bool WaitForEditor(const ScopedKernelHandle& process, EditorWait wait) {
  if (wait == EditorWait::kNo) return true;
  // No process handle means no process was started to do the work.
  if (process.Get() == nullptr) return false;
  if (WaitForSingleObject(process.Get(), INFINITE) != WAIT_OBJECT_0) return false;
  DWORD exitCode = 1;
  return GetExitCodeProcess(process.Get(), &exitCode) && exitCode == 0;
}

// Starts `exe` with `parameters`; with `wait`, waits for it to end. True when
// it was started and, if waited for, ended with exit code 0.
bool RunEditor(const std::string& exe, const std::string& parameters, EditorWait wait) {
  if (NativeRegistryEditor(SystemWindowsFolder(), IsRunningUnderWow64()).redirectionOff) {
    ScopedKernelHandle process;
    return StartWithoutRedirection(exe, parameters, process) && WaitForEditor(process, wait);
  }
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
  const ScopedKernelHandle process(info.hProcess);
  return WaitForEditor(process, wait);
}

}  // namespace

std::string RegistryEditorPath() {
  return NativeRegistryEditor(SystemWindowsFolder(), IsRunningUnderWow64()).path;
}

bool ExportRegistry(const std::string& key, const std::string& file, const std::string& exe,
                    EditorWait wait) {
  const std::string parameters =
      key.empty() ? Format("/e \"%s\" ", file, "") : Format("/e \"%s\" \"%s\" ", file, key);
  return RunEditor(exe, parameters, wait);
}

bool ImportRegistry(const std::string& file, const std::string& exe, EditorWait wait,
                    ImportMode mode) {
  return RunEditor(exe, Format(mode == ImportMode::kSilent ? "/s \"%s\" " : "\"%s\" ", file, ""),
                   wait);
}

}  // namespace kelvane
