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

}  // namespace

void PrunePartialBackups(const std::string& programFolder) {
  if (ReadSettingInt(kKeyAutoDelBackup, kDefaultAutoDelBackup) == 0) return;
  const int days = ReadSettingInt(kKeyAutoDelBackupDays, kDefaultAutoDelBackupDays);
  // Listed first, deleted afterwards: no deletion under an open search.
  std::vector<std::string> files;
  SearchFiles(PartialBackupRoot(programFolder), AnyName(), CollectFile, &files, {});
  const LocalDateTime now = NowLocal();
  for (const std::string& file : files) {
    LocalDateTime stamp;
    if (ParsePartialBackupName(GetFileNameOf(file, true), stamp) &&
        IsBackupOldEnough(stamp, now, days))
      DeleteFileForced(file);
  }
}

void PruneFullBackups(const std::string& programFolder) {
  if (ReadSettingInt(kKeyAutoDelFullBackup, kDefaultAutoDelFullBackup) == 0) return;
  const int days = ReadSettingInt(kKeyAutoDelFullBackupDays, kDefaultAutoDelFullBackupDays);
  std::vector<std::string> folders;
  SearchFolders(FullBackupRoot(programFolder), AnyName(), CollectFolder, &folders);
  const LocalDateTime now = NowLocal();
  for (const std::string& folder : folders) {
    LocalDateTime stamp;
    if (ParseFullBackupName(GetFileNameOf(folder, true), stamp) &&
        IsBackupOldEnough(stamp, now, days))
      DeleteFullBackup(folder);
  }
}
