#pragma once
// Full registry backups (Backup\<stamp>\allbak.reg, exported by the system
// registry editor), partial backups (PartialBackup\<stamp>.reg, written by
// the fix engine), their restore, listing and deletion, and the retention
// passes that remove old ones. Every operation takes the program folder.
#include <string>
#include <vector>

#include "repair/registry_editor.h"

namespace kelvane {

// The file of a full backup inside its stamped folder.
constexpr const char* kFullBackupFileName = "allbak.reg";

// Exports the whole registry to Backup\<now>\allbak.reg and, when the file was
// written, stores the time in "LastBackup". True when the file was written;
// then `madeFolder`, when given, receives the stamped folder.
bool MakeFullBackup(const std::string& programFolder, std::string* madeFolder = nullptr);

// One row of the full backup list.
struct FullBackupRow {
  std::string date;    // "2009-03-14"
  std::string time;    // "08:05:09"
  std::string size;    // size of allbak.reg as FormatFileSize text, "0B" when missing
  std::string folder;  // full path of the stamped folder
};

// The stamped folders of Backup, in the order the file system lists them.
std::vector<FullBackupRow> ListFullBackups(const std::string& programFolder);

// Deletes a full backup folder with its content (not to the recycle bin).
// Refuses any folder whose name is not a backup stamp. True when it is gone.
bool DeleteFullBackup(const std::string& folder);

// Imports folder\allbak.reg silently and waits for it. Does nothing and
// returns false when the folder holds no allbak.reg.
bool RestoreFullBackup(const std::string& folder);

// One row of the partial backup list.
struct PartialBackupRow {
  std::string text;  // "L0090" filled with month, day, year, hour, minute, second
  std::string path;  // full path of the file
};

// The stamped files of PartialBackup, in the order the file system lists them.
std::vector<PartialBackupRow> ListPartialBackups(const std::string& programFolder);

// Imports the file silently, waits, and then deletes it: a restored partial
// backup is consumed. The file is kept unless every entry of it is found in
// the registry afterwards. True when restored and deleted. `exe` is for tests.
bool RestorePartialBackup(const std::string& path, const std::string& exe = RegistryEditorPath());

// Deletes a partial backup file (read-only or not).
bool DeletePartialBackup(const std::string& path);

// Opens a folder window with the file selected.
bool ShowFileInExplorer(const std::string& path);

// Opens a folder window on the folder.
bool ShowFolderInExplorer(const std::string& folder);

}  // namespace kelvane
