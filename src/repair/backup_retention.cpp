// The retention passes: at the end of every run, old backups are deleted.
#include <windows.h>

#include <vector>

#include "foundation/file_checks.h"
#include "foundation/file_path_rules.h"
#include "foundation/local_time.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "repair/backup_folders.h"
#include "repair/backup_manager.h"
#include "repair/backup_names.h"
#include "repair/backup_retention.h"

#include "foundation/case_map.h"

namespace kelvane {

namespace {

std::vector<std::string>& BackupsOfThisRun() {
  static std::vector<std::string> paths;
  return paths;
}

bool IsBackupOfThisRun(const std::string& path) {
  const std::string lowered = ToLowerText(path);
  for (const std::string& own : BackupsOfThisRun())
    if (own == lowered) return true;
  return false;
}

int CollectFile(const std::string& fullPath, const std::string&, WIN32_FIND_DATAA, void* userData) {
  static_cast<std::vector<std::string>*>(userData)->push_back(fullPath);
  return 1;
}

int CollectFolder(const std::string& fullPath, const std::string&, const std::string&,
                  WIN32_FIND_DATAA, void* userData) {
  static_cast<std::vector<std::string>*>(userData)->push_back(fullPath);
  return 1;
}

// One pass over the listed backups of one kind: those whose name is a stamp
// at least `days` days away from now are deleted.
void DeleteOldBackups(const std::vector<std::string>& paths, int days,
                      bool (*parse)(const std::string&, LocalDateTime&),
                      bool (*remove)(const std::string&)) {
  const LocalDateTime now = NowLocal();
  for (const std::string& path : paths) {
    LocalDateTime stamp;
    if (parse(GetFileNameOf(path, true), stamp) && IsBackupOldEnough(stamp, now, days) &&
        !IsBackupOfThisRun(path))
      remove(path);
  }
}

}  // namespace

void PrunePartialBackups(const std::string& programFolder) {
  if (!ReadAutoDelBackup()) return;
  const int days = ReadAutoDelBackupDays();
  // Listed first, deleted afterwards: no deletion under an open search.
  std::vector<std::string> files;
  SearchFiles(PartialBackupRoot(programFolder), AnyName(), CollectFile, &files, {});
  DeleteOldBackups(files, days, ParsePartialBackupName, DeleteFileForced);
}

void PruneFullBackups(const std::string& programFolder) {
  if (!ReadAutoDelFullBackup()) return;
  const int days = ReadAutoDelFullBackupDays();
  std::vector<std::string> folders;
  SearchFolders(FullBackupRoot(programFolder), AnyName(), CollectFolder, &folders);
  DeleteOldBackups(folders, days, ParseFullBackupName, DeleteFullBackup);
}

void NoteBackupOfThisRun(const std::string& path) {
  BackupsOfThisRun().push_back(ToLowerText(path));
}

}  // namespace kelvane
