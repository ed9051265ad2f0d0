#pragma once
// Runs the unattended jobs the command line names, each to its end, in the
// fixed order backup, fix, defrag, whatever the order of the words.
// Returns the exit code (exit_codes.h): the flags of the jobs that failed.
#include "app/report_switch.h"

namespace kelvane {

// With `report.asked` the run report is written to `report.path` after the
// jobs; a report that could not be written adds kExitReportFailed.
int RunCommandLineJobs(const ReportRequest& report);

}  // namespace kelvane
