#include "app/handover.h"

#include <windows.h>

#include "app/exit_codes.h"
#include "foundation/file_checks.h"
#include "foundation/scoped_handle.h"
#include "foundation/wow64_rules.h"

namespace kelvane {

bool IsNative64BitProgram(const std::string& file) {
  DWORD type = 0;
  return FileExists(file) && GetBinaryTypeA(file.c_str(), &type) && type == SCS_64BIT_BINARY;
}

bool HandOverToNativeBuild(const std::string& programFolder, const char* commandLine,
                           int showCommand, int& exitCode) {
  const std::string program = programFolder + "\\" + kNativeBuildFileName;
  if (PlanRun(IsRunningUnderWow64(), IsNative64BitProgram(program)) != RunPlan::kHandOver)
    return false;
  // The same words, after the program's own quoted name.
  std::string line = "\"" + program + "\"";
  if (commandLine != nullptr && *commandLine != 0) line += std::string(" ") + commandLine;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION started = {};
  // The current folder is inherited: a relative report path names the same
  // file for both.
  if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started))
    return false;
  const ScopedKernelHandle process(started.hProcess);
  const ScopedKernelHandle thread(started.hThread);
  // Once started, the run is the 64-bit build's: running the jobs here as
  // well would do them twice, so a lost wait counts as a crashed run.
  DWORD code = kExitJobCrashed;
  if (WaitForSingleObject(process.Get(), INFINITE) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process.Get(), &code))
    code = kExitJobCrashed;
  exitCode = static_cast<int>(code);
  return true;
}

}  // namespace kelvane
