#pragma once
// Runs the unattended jobs the command line names, each to its end, in the
// fixed order backup, fix, defrag, whatever the order of the words.
void RunCommandLineJobs();
