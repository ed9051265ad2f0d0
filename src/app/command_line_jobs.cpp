#include "app/command_line_jobs.h"

#include <exception>

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "defrag/hive_compactor.h"
#include "foundation/program_paths.h"
#include "repair/backup_manager.h"
#include "repair/fix_jobs.h"
#include "repair/issue_fixer.h"

namespace kelvane {

namespace {

// One job; an exception (memory running out, above all) ends that job only,
// and the run reports it. The fix backs up everything before it deletes
// anything, so a job that stops half-way has lost nothing.
int RunJob(int failureCode, bool (*job)(const std::string&), const std::string& programFolder) {
  try {
    return job(programFolder) ? kExitSuccess : failureCode;
  } catch (const std::exception&) {
    return kExitJobCrashed;
  }
}

bool BackupJob(const std::string& programFolder) { return MakeFullBackup(programFolder); }
bool FixJob(const std::string& programFolder) { return !RunFixJob(programFolder).backupFailed; }
bool DefragJob(const std::string&) { return RunDefragJob(); }

}  // namespace

int RunCommandLineJobs() {
  const std::string programFolder = GetProgramFolder();
  int code = kExitSuccess;
  if (HasCommandLineWord("backup")) code |= RunJob(kExitBackupFailed, BackupJob, programFolder);
  if (HasCommandLineWord("fix")) code |= RunJob(kExitFixBlocked, FixJob, programFolder);
  if (HasCommandLineWord("defrag")) code |= RunJob(kExitDefragFailed, DefragJob, programFolder);
  return code;
}

}  // namespace kelvane
