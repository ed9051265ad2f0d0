#include "foundation/wow64_rules.h"

#include "foundation/ansi_chars.h"

namespace kelvane {

RunPlan PlanRun(bool underWow64, bool nativeBuildBeside) {
  return underWow64 && nativeBuildBeside ? RunPlan::kHandOver : RunPlan::kRunHere;
}

JobPlan PlanJob(ProgramJob job, const Wow64Facts& facts) {
  if (!facts.underWow64) return JobPlan::kRun;
  switch (job) {
    case ProgramJob::kBackup:
    case ProgramJob::kDefrag:
      return facts.redirectionSwitchable ? JobPlan::kRun : JobPlan::kRefuse;
    case ProgramJob::kFix:
      return JobPlan::kRefuse;
  }
  return JobPlan::kRefuse;
}

const char* RefusalTextKey(ProgramJob job) {
  switch (job) {
    case ProgramJob::kBackup:
      return "L0291";
    case ProgramJob::kFix:
      return "L0290";
    case ProgramJob::kDefrag:
      return "L0292";
  }
  return "L0290";
}

EditorLaunch NativeRegistryEditor(const std::string& windowsFolder, bool underWow64) {
  EditorLaunch launch;
  launch.path = WithoutTrailingBackslashes(windowsFolder) + "\\regedit.exe";
  launch.redirectionOff = underWow64;
  return launch;
}

}  // namespace kelvane
