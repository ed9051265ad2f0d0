#pragma once
// Runs the unattended jobs the command line names, each to its end, in the
// fixed order backup, fix, defrag, whatever the order of the words.
// Returns the exit code (exit_codes.h): the flags of the jobs that failed.

namespace kelvane {

int RunCommandLineJobs();

}  // namespace kelvane
