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

namespace {

int CollectFile(const std::string& fullPath, const std::string&, WIN32_FIND_DATAA,
                void* userData) {
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
    if (parse(GetFileNameOf(path, true), stamp) && IsBackupOldEnough(stamp, now, days))
      remove(path);
  }
}

}  // namespace

void PrunePartialBackups(const std::string& programFolder) {
  if (ReadSettingInt(kKeyAutoDelBackup, kDefaultAutoDelBackup) == 0) return;
  const int days = ReadSettingInt(kKeyAutoDelBackupDays, kDefaultAutoDelBackupDays);
  // Listed first, deleted afterwards: no deletion under an open search.
  std::vector<std::string> files;
  SearchFiles(PartialBackupRoot(programFolder), AnyName(), CollectFile, &files, {});
  DeleteOldBackups(files, days, ParsePartialBackupName, DeleteFileForced);
}

void PruneFullBackups(const std::string& programFolder) {
  if (ReadSettingInt(kKeyAutoDelFullBackup, kDefaultAutoDelFullBackup) == 0) return;
  const int days = ReadSettingInt(kKeyAutoDelFullBackupDays, kDefaultAutoDelFullBackupDays);
  std::vector<std::string> folders;
  SearchFolders(FullBackupRoot(programFolder), AnyName(), CollectFolder, &folders);
  DeleteOldBackups(folders, days, ParseFullBackupName, DeleteFullBackup);
}
