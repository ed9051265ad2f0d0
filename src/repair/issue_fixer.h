#pragma once
// Backs up and deletes scan issues.
#include <cstddef>
#include <string>
#include <vector>

#include "scan/scan_issue.h"

namespace kelvane {

struct FixResult {
  // The partial backup was asked for but could not be created or completely
  // written: nothing was deleted.
  bool backupFailed = false;
  std::string backupPath;      // the partial backup written, if any
  std::size_t deleted = 0;     // issues removed from the registry
  std::size_t notDeleted = 0;  // recorded in the cannot-remove list
  // One flag per issue, in the order given: true when this fix removed it.
  // All false when the backup failed.
  std::vector<bool> removed;
};

// programFolder\PartialBackup\<local stamp>.reg; a name already taken (two
// fixes within one second) gets a "-2", "-3", ... suffix so that no earlier
// backup is overwritten.
std::string NewPartialBackupPath(const std::string& programFolder);

// Writes every issue into one partial backup (when "BackupWhenClean" is on),
// then deletes them in order. Deletions that fail, and entries whose backup
// could not give them back exactly, are recorded as cannot-remove.
FixResult FixIssues(const std::vector<ScanIssue>& issues, const std::string& programFolder);

}  // namespace kelvane
