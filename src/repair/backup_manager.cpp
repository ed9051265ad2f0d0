// Making, listing, restoring and deleting full and partial backups.
#include "repair/backup_manager.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "foundation/ansi_chars.h"
#include "foundation/file_checks.h"
#include "foundation/file_path_rules.h"
#include "foundation/file_size_text.h"
#include "foundation/language_table.h"
#include "foundation/local_time.h"
#include "foundation/printf_format.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "repair/backup_folders.h"
#include "repair/backup_names.h"
#include "repair/backup_retention.h"

namespace kelvane {

namespace {

// Used when the language file's row text is not safe to fill with six ints.
constexpr const char* kFallbackPartialRowFormat = "%02d/%02d/%04d %02d:%02d:%02d";

std::string Format3(const char* format, int a, int b, int c) {
  char text[64];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

int AddFullBackupRow(const std::string& fullPath, const std::string& name, const std::string&,
                     WIN32_FIND_DATAA, void* userData) {
  LocalDateTime stamp;
  if (!ParseFullBackupName(name, stamp)) return 1;
  FullBackupRow row;
  row.date = Format3("%04d-%02d-%02d", stamp.year, stamp.month, stamp.day);
  row.time = Format3("%02d:%02d:%02d", stamp.hour, stamp.minute, stamp.second);
  row.size = FormatFileSize(GetFileSize64(fullPath + "\\" + kFullBackupFileName));
  row.folder = fullPath;
  static_cast<std::vector<FullBackupRow>*>(userData)->push_back(row);
  return 1;
}

std::string PartialRowText(const LocalDateTime& stamp) {
  std::string format = LanguageText("L0090");
  if (!TakesOnlyInts(format, 6)) format = kFallbackPartialRowFormat;
  const int needed = std::snprintf(nullptr, 0, format.c_str(), stamp.month, stamp.day, stamp.year,
                                   stamp.hour, stamp.minute, stamp.second);
  if (needed <= 0) return std::string();
  std::string text(static_cast<std::size_t>(needed) + 1, '\0');
  std::snprintf(&text[0], text.size(), format.c_str(), stamp.month, stamp.day, stamp.year,
                stamp.hour, stamp.minute, stamp.second);
  text.resize(static_cast<std::size_t>(needed));
  return text;
}

int AddPartialBackupRow(const std::string& fullPath, const std::string&, WIN32_FIND_DATAA,
                        void* userData) {
  LocalDateTime stamp;
  if (!ParsePartialBackupName(GetFileNameOf(fullPath, true), stamp)) return 1;
  static_cast<std::vector<PartialBackupRow>*>(userData)->push_back(
      {PartialRowText(stamp), fullPath});
  return 1;
}

}  // namespace

bool MakeFullBackup(const std::string& programFolder) {
  const std::string stamped = FullBackupRoot(programFolder) + "\\" + FullBackupName(NowLocal());
  const std::string folder = stamped + "\\";
  CreateFolderPath(folder);
  NoteBackupOfThisRun(stamped);
  const std::string file = folder + kFullBackupFileName;
  ExportRegistry("", file, RegistryEditorPath(), EditorWait::kUntilEnd);
  // The editor's exit code says nothing reliable about an export; the file
  // does. A failed export must not look like a recent backup, nor leave an
  // empty backup behind.
  if (!FileExists(file) || GetFileSize64(file) == 0) {
    DeleteFileForced(file);
    RemoveDirectoryA(stamped.c_str());
    return false;
  }
  WriteSettingNow(kKeyLastBackup);
  return true;
}

std::vector<FullBackupRow> ListFullBackups(const std::string& programFolder) {
  std::vector<FullBackupRow> rows;
  SearchFolders(FullBackupRoot(programFolder), AnyName(), AddFullBackupRow, &rows);
  return rows;
}

bool DeleteFullBackup(const std::string& folder) {
  std::string source = WithoutTrailingBackslashes(folder);
  LocalDateTime stamp;
  // A recursive delete is only ever aimed at a stamped backup folder.
  if (!ParseFullBackupName(GetFileNameOf(source, true), stamp)) return false;
  source.push_back('\0');  // the list of sources ends with two NULs
  SHFILEOPSTRUCTA operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = source.c_str();
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
  const int result = SHFileOperationA(&operation);
  return result == 0 && !operation.fAnyOperationsAborted && !FolderExists(folder);
}

bool RestoreFullBackup(const std::string& folder) {
  std::string file = folder;
  if (!file.empty() && file.back() != '\\') file += '\\';
  file += kFullBackupFileName;
  if (!FileExists(file)) return false;
  return ImportRegistry(file, RegistryEditorPath(), EditorWait::kUntilEnd, ImportMode::kSilent);
}

std::vector<PartialBackupRow> ListPartialBackups(const std::string& programFolder) {
  std::vector<PartialBackupRow> rows;
  SearchFiles(PartialBackupRoot(programFolder), AnyName(), AddPartialBackupRow, &rows, {});
  return rows;
}

bool RestorePartialBackup(const std::string& path, const std::string& exe) {
  // Deleting a backup whose import did not happen would lose it.
  if (!FileExists(path) || !ImportRegistry(path, exe, EditorWait::kUntilEnd, ImportMode::kSilent))
    return false;
  return DeleteFileForced(path);
}

bool DeletePartialBackup(const std::string& path) { return DeleteFileForced(path); }

bool ShowFileInExplorer(const std::string& path) {
  // Quoted, so that a folder with a comma in its name is not cut there.
  const std::string parameters = "/e,/select,\"" + path + "\"";
  const HINSTANCE result =
      ShellExecuteA(nullptr, "open", "Explorer", parameters.c_str(), nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace kelvane
