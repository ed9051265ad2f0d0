#include "repair/fix_jobs.h"

#include <utility>

#include "foundation/program_paths.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "scan/scan_orchestrator.h"

namespace kelvane {

bool FinishInteractiveFix(const FixResult& result, int rowsLeft) {
  if (result.backupFailed) return false;
  WriteSettingInt(kKeyErrorCount, rowsLeft);
  WriteSettingNow(kKeyLastClean);
  return true;
}

FixResult RunFixJob(const std::string& programFolder, IssueList* found) {
  ScanContext context;
  context.configPath = SettingsXmlPath();
  RunScan(context);
  WriteSettingNow(kKeyLastScan);
  WriteSettingInt(kKeyErrorCount, static_cast<int>(context.issues.size()));
  const FixResult result = FixIssues(context.issues, programFolder);
  if (!result.backupFailed) {
    WriteSettingInt(kKeyErrorCount, 0);
    WriteSettingNow(kKeyLastClean);
  }
  if (found != nullptr) *found = std::move(context.issues);
  return result;
}

}  // namespace kelvane
