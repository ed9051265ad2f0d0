#include "defrag/hive_compactor.h"

#include <windows.h>

#include "defrag/process_privileges.h"
#include "foundation/file_checks.h"
#include "foundation/registry_key.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/wow64_redirection.h"

namespace kelvane {

namespace {

int Report(HiveProgressCallback callback, void* context, int code, const HiveEntry* entry,
           std::size_t index) {
  return callback != nullptr ? callback(code, entry, index, context) : 1;
}

// Opens the key a hive is mounted at with backup semantics. A key that
// does not exist is no loaded hive: the key the open just created is
// removed again rather than left behind in the live registry.
RegKey OpenHiveKey(RootKey root, const std::string& subkey, REGSAM access) {
  RegKey key;
  DWORD disposition = 0;
  if (key.Create(ToHkey(root), subkey, REG_OPTION_BACKUP_RESTORE, access, &disposition) !=
      ERROR_SUCCESS)
    return RegKey();
  if (disposition == REG_CREATED_NEW_KEY) {
    key.Close();
    RegDeleteKeyA(ToHkey(root), subkey.c_str());
  }
  return key;
}

void AnalyseOne(HiveEntry& entry, REGSAM access) {
  // A copy recorded by an earlier analysis may be older than the live hive:
  // it must never be swapped in after this analysis failed to renew it.
  entry.compactFile.clear();
  entry.compactSize = 0;

  std::string subkey;
  const RootKey root = HiveRootAndKey(entry.name, subkey);
  if (root == 0 || subkey.empty()) return;
  RegKey key = OpenHiveKey(root, subkey, access);
  if (!key.IsOpen()) return;

  // The hive files lie below System32\config: under WOW64 the native folder,
  // not SysWOW64's, for the file calls and the save alike.
  const FsRedirectionOff redirection(IsRunningUnderWow64());
  if (!redirection.ok()) return;
  RegFlushKey(ToHkey(root));
  const std::string compact = entry.file + kCompactCopySuffix;
  if (FileExists(compact)) DeleteFileForced(compact);
  if (RegSaveKeyA(key.Get(), compact.c_str(), nullptr) != ERROR_SUCCESS) return;
  entry.compactFile = compact;
  entry.compactSize = GetFileSize64(compact);
}

}  // namespace

bool AnalyseHives(HiveList& hives, HiveProgressCallback callback, void* context) {
  const REGSAM access = IsRunningUnderWow64() ? KEY_ALL_ACCESS | KEY_WOW64_64KEY : KEY_QUERY_VALUE;
  if (hives.empty()) {
    Report(callback, context, kHiveListEmpty, nullptr, 0);
    return true;
  }
  Report(callback, context, kHiveAnalysisStart, nullptr, hives.size());
  for (std::size_t i = 0; i < hives.size(); ++i) {
    HiveEntry& entry = hives[i];
    if (Report(callback, context, kHiveBefore, &entry, i) == 0) {
      Report(callback, context, kHiveAnalysisStopped, &entry, i);
      return false;
    }
    AnalyseOne(entry, access);
    if (Report(callback, context, kHiveAfter, &entry, i) == 0) {
      Report(callback, context, kHiveAnalysisStopped, &entry, i);
      return false;
    }
  }
  Report(callback, context, kHiveAnalysisEnd, nullptr, hives.size());
  return true;
}

std::size_t ReplaceHives(HiveList& hives) {
  std::size_t accepted = 0;
  const FsRedirectionOff redirection(IsRunningUnderWow64());
  if (!redirection.ok()) return 0;
  for (HiveEntry& entry : hives) {
    if (entry.compactFile.empty() || !FileExists(entry.compactFile)) continue;
    std::string subkey;
    const RootKey root = HiveRootAndKey(entry.name, subkey);
    if (root == 0 || subkey.empty()) continue;
    entry.backupFile = entry.file + kOldHiveSuffix;
    // The system will not keep the old hive under a name that is taken; the
    // older one is the only copy of an earlier hive until the request stands.
    const std::string aside = entry.backupFile + ".old";
    const bool movedAside = FileExists(entry.backupFile) &&
                            (!FileExists(aside) || DeleteFileForced(aside)) &&
                            MoveFileA(entry.backupFile.c_str(), aside.c_str()) != FALSE;
    if (FileExists(entry.backupFile)) continue;  // could not be moved: no request
    if (RegReplaceKeyA(ToHkey(root), subkey.c_str(), entry.compactFile.c_str(),
                       entry.backupFile.c_str()) == ERROR_SUCCESS) {
      ++accepted;
      if (movedAside) DeleteFileForced(aside);
    } else if (movedAside) {
      MoveFileA(aside.c_str(), entry.backupFile.c_str());
    }
  }
  return accepted;
}

bool RestartWindows() {
  EnableProcessPrivilege(kShutdownPrivilege);
  return ExitWindowsEx(EWX_REBOOT, 0) != FALSE;
}

DefragSavings SumDefragSavings(const HiveList& hives) {
  std::uint64_t oldSize = 0;
  std::uint64_t newSize = 0;
  const FsRedirectionOff redirection(IsRunningUnderWow64());
  for (const HiveEntry& entry : hives) {
    if (entry.compactFile.empty() || !FileExists(entry.compactFile)) continue;
    oldSize += entry.fileSize;
    newSize += entry.compactSize;
  }
  return ComputeDefragSavings(oldSize, newSize);
}

std::size_t CountAnalysedHives(const HiveList& hives) {
  std::size_t count = 0;
  const FsRedirectionOff redirection(IsRunningUnderWow64());
  for (const HiveEntry& entry : hives)
    if (!entry.compactFile.empty() && FileExists(entry.compactFile)) ++count;
  return count;
}

bool RunDefragJob() {
  HiveList& hives = ProcessHiveList();
  AnalyseHives(hives, nullptr, nullptr);
  // Nothing compacted is nothing done: the home page must not say otherwise.
  if (CountAnalysedHives(hives) == 0) return false;
  ReplaceHives(hives);
  WriteSettingNow(kKeyLastDefrag);
  return true;
}

}  // namespace kelvane
