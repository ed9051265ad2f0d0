#include "app/command_line_jobs.h"

#include "app/command_line.h"
#include "defrag/hive_compactor.h"
#include "foundation/program_paths.h"
#include "repair/backup_manager.h"
#include "repair/issue_fixer.h"

void RunCommandLineJobs() {
  const std::string programFolder = GetProgramFolder();
  if (HasCommandLineWord("backup")) MakeFullBackup(programFolder);
  if (HasCommandLineWord("fix")) RunFixJob(programFolder);
  if (HasCommandLineWord("defrag")) RunDefragJob();
}
