#pragma once
// Exit codes of an unattended run, so that a scheduled task shows what went
// wrong. Flags: a run with several jobs combines the codes of those that
// failed. 0 means every job asked for did its work, or there was nothing to
// do.

namespace kelvane {

enum ExitCode : int {
  kExitSuccess = 0,
  kExitBackupFailed = 1,  // /backup wrote no complete full backup
  kExitFixBlocked = 2,    // /fix deleted nothing: its partial backup could not be written
  kExitDefragFailed = 4,  // /defrag could not analyse a single hive
  kExitJobCrashed = 8,    // a job ended in an unexpected error
  // The 32-bit build on 64-bit Windows without the 64-bit build beside it
  // refused a job it cannot do completely there.
  kExitRefusedOnWow64 = 16,
  kExitReportFailed = 32,  // /report: the report could not be written
};

}  // namespace kelvane
