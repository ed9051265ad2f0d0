#include "defrag/hive_discovery.h"

#include <windows.h>

#include <utility>

#include "defrag/process_privileges.h"
#include "foundation/ansi_chars.h"
#include "foundation/file_checks.h"
#include "foundation/registry_access.h"
#include "foundation/registry_key.h"
#include "foundation/wow64_redirection.h"

namespace kelvane {

namespace {

constexpr const char* kHiveListKey = "System\\CurrentControlSet\\Control\\hivelist";
constexpr DWORD kTextBufferSize = 1024;

HiveList g_processHiveList;

}  // namespace

DeviceMap BuildDeviceMap() {
  DeviceMap devices;
  char roots[kTextBufferSize] = {};
  const DWORD length = GetLogicalDriveStringsA(kTextBufferSize - 1, roots);
  if (length == 0 || length >= kTextBufferSize) return devices;
  for (const char* root = roots; *root != 0; root += lstrlenA(root) + 1) {
    if (GetDriveTypeA(root) != DRIVE_FIXED) continue;
    const std::string drive = WithoutTrailingBackslashes(root);
    char target[kTextBufferSize] = {};
    if (QueryDosDeviceA(drive.c_str(), target, kTextBufferSize) == 0) continue;
    if (target[0] != 0) devices[target] = drive;
  }
  return devices;
}

HiveList ReadHiveList(const DeviceMap& devices) {
  HiveList hives;
  const REGSAM access = KEY_READ | (IsRunningUnderWow64() ? KEY_WOW64_64KEY : 0);
  RegKey list;
  if (list.Open(HKEY_LOCAL_MACHINE, kHiveListKey, access) != ERROR_SUCCESS) return hives;
  // Under WOW64 the machine hives' folder, System32\config, would be looked
  // up in SysWOW64 and every machine hive passed over.
  const FsRedirectionOff redirection(IsRunningUnderWow64());
  for (DWORD index = 0;; ++index) {
    char name[kTextBufferSize];
    DWORD nameLength = kTextBufferSize;
    if (RegEnumValueA(list.Get(), index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    // A value that vanished or is too long for a path is passed over; the
    // hives after it are still found.
    std::string devicePath;
    if (!ReadValueText(list.Get(), name, kTextBufferSize, devicePath) || devicePath.empty())
      continue;
    // A path left in device form would be read as relative to the current
    // drive, so hives on unmapped devices are passed over too.
    std::string file;
    if (!DevicePathToDrivePath(devices, devicePath, file) || !FileExists(file)) continue;
    HiveEntry entry;
    entry.name = name;
    entry.file = file;
    entry.fileSize = GetFileSize64(file);
    hives.push_back(std::move(entry));
  }
  return hives;
}

HiveList DiscoverHives() {
  const DeviceMap devices = BuildDeviceMap();
  if (devices.empty()) return HiveList();
  EnableDefragPrivileges();
  return ReadHiveList(devices);
}

void SetProcessHiveList(HiveList list) { g_processHiveList = std::move(list); }

HiveList& ProcessHiveList() { return g_processHiveList; }

}  // namespace kelvane
