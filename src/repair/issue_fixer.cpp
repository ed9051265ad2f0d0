#include "repair/issue_fixer.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdio>

#include "foundation/file_checks.h"
#include "foundation/local_time.h"
#include "foundation/program_paths.h"
#include "foundation/registry_access.h"
#include "foundation/registry_key.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "repair/backup_fidelity.h"
#include "repair/cannot_remove_list.h"
#include "repair/reg_file_format.h"
#include "scan/scan_orchestrator.h"

namespace {

bool IsWholeKey(const ScanIssue& issue) { return issue.type == kWholeKeyType; }

std::string KeyPathOf(const ScanIssue& issue) {
  return RootKeyName(issue.root) + "\\" + issue.key;
}

// Writes the partial backup: the header, then the lines of every entry in
// order (the lines ExportValue and ExportKey write, as the fidelity check
// judged them). False when the file could not be created or not every byte
// reached the disk.
bool WritePartialBackup(const std::vector<std::string>& lines, const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return false;
  bool headerWritten = false;
  for (const std::string& entry : lines) {
    if (entry.empty()) continue;
    if (!headerWritten) std::fprintf(file, "%s\n", kRegFileHeader);
    headerWritten = true;
    std::fputs(entry.c_str(), file);
  }
  const bool written = std::fflush(file) == 0 && std::ferror(file) == 0;
  return std::fclose(file) == 0 && written;
}

bool EntryExists(const ScanIssue& issue) {
  RegKey key;
  if (key.Open(issue.root, issue.key) != ERROR_SUCCESS) return false;
  return IsWholeKey(issue) || RegQueryValueExA(key.Get(), issue.valueName.c_str(), nullptr,
                                               nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// The issue with its key as the registry path functions split it (trailing
// backslashes as whole characters), so that the check, the backup and the
// deletion all name the very same key; false for a root that is not known.
bool Normalize(const ScanIssue& issue, ScanIssue& target) {
  target = issue;
  RootKey root = 0;
  return SplitRegistryPath(FullRegistryPath(issue.root, issue.key), root, target.key);
}

bool DeleteIssue(const ScanIssue& issue) {
  if (IsWholeKey(issue)) {
    // An empty key would name the whole root.
    if (issue.key.find_first_not_of('\\') == std::string::npos) return false;
    return SHDeleteKeyA(ToHkey(issue.root), issue.key.c_str()) == ERROR_SUCCESS;
  }
  return DeleteRegistryValue(KeyPathOf(issue), issue.valueName);
}

}  // namespace

std::string NewPartialBackupPath(const std::string& programFolder) {
  const LocalDateTime now = NowLocal();
  char base[MAX_PATH + 64];
  std::snprintf(base, sizeof base, "%s\\PartialBackup\\%04d-%02d-%02d_%02d-%02d-%02d",
                programFolder.c_str(), now.year, now.month, now.day, now.hour, now.minute,
                now.second);
  std::string path = std::string(base) + ".reg";
  for (int n = 2; FileExists(path); ++n) path = std::string(base) + "-" + std::to_string(n) + ".reg";
  return path;
}

FixResult FixIssues(const std::vector<ScanIssue>& issues, const std::string& programFolder) {
  FixResult result;
  const bool backup = ReadSettingInt(kKeyBackupWhenClean, kDefaultBackupWhenClean) != 0;
  // An entry that its backup could not give back exactly is neither deleted
  // nor written into the backup: restoring the backup later would overwrite
  // the entry, which stays, with the lossy text the REGEDIT4 file carries.
  std::vector<bool> restorable(issues.size(), true);
  // The same entry can be reported twice (HKEY_CURRENT_USER is also below
  // HKEY_USERS, a value can lie inside a key reported whole): once an earlier
  // deletion of this run has removed it, its own deletion fails without any
  // fault and is not recorded.
  std::vector<bool> existed(issues.size(), false);
  std::vector<std::string> backupLines(backup ? issues.size() : 0);
  std::vector<ScanIssue> targets(issues.size());
  for (std::size_t i = 0; i < issues.size(); ++i) {
    const ScanIssue& issue = targets[i];
    if (!Normalize(issues[i], targets[i])) {
      restorable[i] = false;
    } else if (backup) {
      BackupCheck check = CheckBackup(issue.root, issue.key, issue.valueName, IsWholeKey(issue));
      existed[i] = check.exists;
      restorable[i] = check.exact;
      if (check.exact) backupLines[i] = std::move(check.lines);
    } else {
      existed[i] = EntryExists(issue);
    }
  }
  if (backup) {
    CreateFolderPath(programFolder + "\\PartialBackup\\");
    result.backupPath = NewPartialBackupPath(programFolder);
    if (!WritePartialBackup(backupLines, result.backupPath)) {
      // Deleting without the backup the user asked for would lose data.
      result.backupFailed = true;
      return result;
    }
  }
  for (std::size_t i = 0; i < issues.size(); ++i) {
    const ScanIssue& target = targets[i];
    if (restorable[i] && (DeleteIssue(target) || (existed[i] && !EntryExists(target)))) {
      ++result.deleted;
    } else {
      ++result.notDeleted;
      RecordCannotRemove(programFolder, IssueFullPath(issues[i]));
    }
  }
  return result;
}

bool FinishInteractiveFix(const FixResult& result, int rowsLeft) {
  if (result.backupFailed) return false;
  WriteSettingInt(kKeyErrorCount, rowsLeft);
  WriteSettingNow(kKeyLastClean);
  return true;
}

FixResult RunFixJob(const std::string& programFolder) {
  ScanContext context;
  context.configPath = SettingsXmlPath();
  RunScan(context);
  WriteSettingNow(kKeyLastScan);
  WriteSettingInt(kKeyErrorCount, static_cast<int>(context.issues.size()));
  const FixResult result = FixIssues(context.issues, programFolder);
  if (!result.backupFailed) {
    WriteSettingInt(kKeyErrorCount, 0);
    WriteSettingNow(kKeyLastClean);
  }
  return result;
}
