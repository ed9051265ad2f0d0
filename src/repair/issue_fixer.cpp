#include "repair/issue_fixer.h"

#include <windows.h>

#include <cstdio>

#include "foundation/file_checks.h"
#include "foundation/local_time.h"
#include "foundation/program_paths.h"
#include "foundation/registry_access.h"
#include "foundation/registry_key.h"
#include "foundation/scoped_handle.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "repair/backup_fidelity.h"
#include "repair/backup_folders.h"
#include "repair/backup_names.h"
#include "repair/backup_retention.h"
#include "scan/cannot_remove_list.h"
#include "repair/protected_keys.h"
#include "repair/reg_file_format.h"

namespace kelvane {

namespace {

bool IsWholeKey(const ScanIssue& issue) { return issue.wholeKey; }

// Writes the partial backup: the header, then the lines of every entry in
// order, as the read of the entry formatted and judged them. False when the file could not be
// created or not every byte reached the disk.
bool WritePartialBackup(const std::vector<std::string>& lines, const std::string& path) {
  ScopedStdioFile file(std::fopen(path.c_str(), "w"));
  if (!file.IsValid()) return false;
  bool headerWritten = false;
  for (const std::string& entry : lines) {
    if (entry.empty()) continue;
    if (!headerWritten) std::fprintf(file.Get(), "%s\n", kRegFileHeader);
    headerWritten = true;
    std::fputs(entry.c_str(), file.Get());
  }
  return CloseStdioFile(file);
}

// After a failed deletion: whether the entry is still there (an earlier
// deletion of this run may have removed it).
bool EntryExists(const ScanIssue& issue) {
  RegKey key;
  if (key.Open(issue.root, issue.key) != ERROR_SUCCESS) return false;
  return IsWholeKey(issue) || RegQueryValueExA(key.Get(), issue.valueName.c_str(), nullptr, nullptr,
                                               nullptr, nullptr) == ERROR_SUCCESS;
}

// The issue with its key as the registry path functions split it (trailing
// backslashes as whole characters), so that the check, the backup and the
// deletion all name the very same key; false for a root that is not known.
bool Normalize(const ScanIssue& issue, ScanIssue& target) {
  target = issue;
  RootKey root = 0;
  return SplitRegistryPath(FullRegistryPath(issue.root, issue.key), root, target.key);
}

}  // namespace

std::string NewPartialBackupPath(const std::string& programFolder) {
  const std::string base = PartialBackupRoot(programFolder) + "\\" + PartialBackupName(NowLocal());
  std::string path = base + ".reg";
  for (int n = 2; FileExists(path); ++n) path = base + "-" + std::to_string(n) + ".reg";
  return path;
}

FixResult FixIssues(const std::vector<ScanIssue>& issues, const std::string& programFolder) {
  FixResult result;
  result.removed.assign(issues.size(), false);
  const bool backup = ReadBackupWhenClean();
  // Every entry is read once, before anything is deleted: whether it is
  // there, whether its backup gives it back exactly (an entry that it could
  // not is neither deleted nor written into the backup: restoring the backup
  // later would overwrite the entry, which stays, with the lossy text), and
  // the keys it is then deleted through.
  std::vector<FixEntry> entries(issues.size());
  std::vector<ScanIssue> targets(issues.size());
  std::vector<bool> allowed(issues.size(), false);
  for (std::size_t i = 0; i < issues.size(); ++i) {
    const ScanIssue& target = targets[i];
    if (!Normalize(issues[i], targets[i])) continue;
    if (IsWholeKey(target) && IsProtectedKey(target.root, target.key)) continue;
    entries[i] =
        ReadFixEntry(target.root, target.key, target.valueName, IsWholeKey(target), backup);
    allowed[i] = backup ? entries[i].exact : entries[i].deletable;
    if (!allowed[i]) {
      entries[i].key.Close();
      entries[i].below.clear();
    }
  }
  if (backup) {
    std::vector<std::string> backupLines;
    for (std::size_t i = 0; i < issues.size(); ++i)
      if (allowed[i]) backupLines.push_back(std::move(entries[i].lines));
    CreateFolderPath(PartialBackupRoot(programFolder) + "\\");
    result.backupPath = NewPartialBackupPath(programFolder);
    if (!WritePartialBackup(backupLines, result.backupPath)) {
      // Deleting without the backup the user asked for would lose data.
      result.backupFailed = true;
      return result;
    }
    NoteBackupOfThisRun(result.backupPath);
  }
  // The same entry can be reported twice (HKEY_CURRENT_USER is also below
  // HKEY_USERS, a value can lie inside a key reported whole): once an earlier
  // deletion of this run has removed it, its own deletion fails without any
  // fault and is not recorded.
  for (std::size_t i = 0; i < issues.size(); ++i) {
    const ScanIssue& target = targets[i];
    FixEntry& entry = entries[i];
    if (allowed[i] && (DeleteFixEntry(entry, target.valueName, IsWholeKey(target)) ||
                       (entry.exists && !EntryExists(target)))) {
      ++result.deleted;
      result.removed[i] = true;
    } else {
      ++result.notDeleted;
      RecordCannotRemove(programFolder, IssueFullPath(issues[i]));
    }
    entry.key.Close();
    entry.below.clear();
  }
  return result;
}

}  // namespace kelvane
