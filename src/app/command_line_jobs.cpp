#include "app/command_line_jobs.h"

#include <exception>

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/report_file.h"
#include "app/run_report.h"
#include "app/run_report_json.h"
#include "defrag/hive_compactor.h"
#include "foundation/file_checks.h"
#include "foundation/language_table.h"
#include "foundation/local_time.h"
#include "foundation/program_paths.h"
#include "foundation/version_info.h"
#include "foundation/wow64_redirection.h"
#include "repair/backup_manager.h"
#include "repair/fix_jobs.h"
#include "repair/issue_fixer.h"

namespace kelvane {

namespace {

// Each job fills its report and answers whether it did its work.
bool BackupJob(const std::string& programFolder, JobReport& report) {
  if (!MakeFullBackup(programFolder, &report.backupFolder)) return false;
  report.backupSize = GetFileSize64(report.backupFolder + "\\" + kFullBackupFileName);
  return true;
}

bool FixJob(const std::string& programFolder, JobReport& report) {
  const FixResult result = RunFixJob(programFolder, &report.found);
  if (result.backupFailed) return false;
  report.removed = result.removed;
  report.partialBackup = result.backupPath;
  return true;
}

bool DefragJob(const std::string&, JobReport& report) {
  const bool done = RunDefragJob();
  report.hives = ProcessHiveList();
  return done;
}

// One job, unless this process cannot do it completely. An exception
// (memory running out, above all) ends that job only, and the run reports
// it. The fix backs up everything before it deletes anything, so a job that
// stops half-way has lost nothing.
JobReport RunJob(const char* name, ProgramJob kind, int failureCode,
                 bool (*job)(const std::string&, JobReport&), const std::string& programFolder,
                 const Wow64Facts& facts) {
  JobReport report;
  report.job = name;
  if (PlanJob(kind, facts) == JobPlan::kRefuse) {
    report.outcome = JobOutcome::kRefused;
    report.exitCode = kExitRefusedOnWow64;
    report.message = LanguageText(RefusalTextKey(kind));
    return report;
  }
  try {
    if (!job(programFolder, report)) {
      report.outcome = JobOutcome::kFailed;
      report.exitCode = failureCode;
    }
  } catch (const std::exception&) {
    report.outcome = JobOutcome::kCrashed;
    report.exitCode = kExitJobCrashed;
  }
  return report;
}

}  // namespace

int RunCommandLineJobs(const ReportRequest& reportRequest) {
  const std::string programFolder = GetProgramFolder();
  const Wow64Facts facts = CurrentWow64Facts();
  RunReport run;
  run.started = NowLocal();
  if (HasCommandLineWord("backup"))
    run.jobs.push_back(
        RunJob("backup", ProgramJob::kBackup, kExitBackupFailed, BackupJob, programFolder, facts));
  if (HasCommandLineWord("fix"))
    run.jobs.push_back(
        RunJob("fix", ProgramJob::kFix, kExitFixBlocked, FixJob, programFolder, facts));
  if (HasCommandLineWord("defrag"))
    run.jobs.push_back(
        RunJob("defrag", ProgramJob::kDefrag, kExitDefragFailed, DefragJob, programFolder, facts));
  for (const JobReport& job : run.jobs) run.exitCode |= job.exitCode;
  if (!reportRequest.asked) return run.exitCode;

  run.ended = NowLocal();
  run.version = GetProductVersion(GetProgramFilePath());
  bool written = false;
  try {
    written = WriteReportFile(reportRequest.path, RunReportJson(run));
  } catch (const std::exception&) {
    written = false;  // memory ran out while the document was built
  }
  return written ? run.exitCode : run.exitCode | kExitReportFailed;
}

}  // namespace kelvane
