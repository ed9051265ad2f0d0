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
#include "repair/backup_in_registry.h"
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

// Explorer by its full path in the Windows folder: a bare name would be
// searched in the current folder first, where anyone could plant one.
bool RunExplorer(const std::string& parameters) {
  char windows[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  const std::string exe =
      WithoutTrailingBackslashes(std::string(windows, length)) + "\\explorer.exe";
  const HINSTANCE result =
      ShellExecuteA(nullptr, "open", exe.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace

bool MakeFullBackup(const std::string& programFolder, std::string* madeFolder) {
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
  if (madeFolder != nullptr) *madeFolder = stamped;
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
  if (!FileExists(path)) return false;
  ImportRegistry(path, exe, EditorWait::kUntilEnd, ImportMode::kSilent);
  // The file is the only copy of what the fix removed: it goes only once
  // its entries are found in the registry again, whatever the editor's exit
  // code says (it is 0 after a failed import as well).
  if (!RegistryHoldsBackup(path)) return false;
  return DeleteFileForced(path);
}

bool DeletePartialBackup(const std::string& path) { return DeleteFileForced(path); }

bool ShowFileInExplorer(const std::string& path) {
  // Quoted, so that a folder with a comma in its name is not cut there.
  return RunExplorer("/e,/select,\"" + path + "\"");
}

bool ShowFolderInExplorer(const std::string& folder) {
  return RunExplorer("/e,\"" + folder + "\"");
}

}  // namespace kelvane
