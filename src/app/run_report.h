#pragma once
// What an unattended run did, job by job, as the run report states it.
#include <cstdint>
#include <string>
#include <vector>

#include "defrag/hive_discovery.h"
#include "foundation/time_stamp.h"
#include "scan/scan_issue.h"

namespace kelvane {

enum class JobOutcome {
  kDone,     // did its work (a fix that found nothing included)
  kFailed,   // its exit code flag: see exit_codes.h
  kRefused,  // cannot be done completely in this process (32-bit build on 64-bit Windows)
  kCrashed,  // an unexpected error ended it
};

struct JobReport {
  std::string job;  // "backup", "fix" or "defrag"
  JobOutcome outcome = JobOutcome::kDone;
  int exitCode = 0;     // the flag this job adds to the run's exit code
  std::string message;  // why it was refused, in the user's language

  // backup: the stamped folder and the size of its allbak.reg.
  std::string backupFolder;
  std::uint64_t backupSize = 0;

  // fix: everything the scan found, and which of it the fix removed (the
  // rest is kept as cannot-remove); no flags when the partial backup failed.
  IssueList found;
  std::vector<bool> removed;
  std::string partialBackup;  // empty when none was written

  // defrag: the hive list after the analysis and the replacement.
  HiveList hives;
};

struct RunReport {
  std::string version;  // the program's product version
  LocalDateTime started;
  LocalDateTime ended;
  int exitCode = 0;  // of the jobs, as the process ends with it
  std::vector<JobReport> jobs;
};

}  // namespace kelvane
