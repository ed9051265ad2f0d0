#include "scan/key_checkers.h"

#include <windows.h>

#include "foundation/case_map.h"
#include "foundation/file_checks.h"
#include "foundation/registry_access.h"
#include "foundation/registry_key.h"
#include "foundation/value_format.h"
#include "scan/enumerated_key.h"
#include "scan/missing_path.h"

namespace kelvane {

namespace {

constexpr DWORD kUninstallStringBuffer = 500;

void ReportKey(ScanContext& scan, RootKey root, const std::string& key, const char* category,
               const std::string& subkeyName) {
  AddIssue(scan, MakeKeyIssue(root, key, "", category, subkeyName));
}

// The entry's "UninstallString" as text, whatever its type; false when it
// is absent or does not fit the buffer.
bool ReadUninstallString(HKEY entry, std::string& text) {
  return ReadValueText(entry, "UninstallString", kUninstallStringBuffer, text);
}

bool NamesMissingProgram(const std::string& text) {
  std::string path;
  return FindMissingPath(text, path);
}

bool IsUninstallEntryInvalid(HKEY entry) {
  DWORD subkeys = 0, values = 0;
  // Empty only with neither values nor subkeys: a subkey may hold the real
  // uninstaller. A failed count says nothing: the uninstall string decides.
  if (RegQueryInfoKeyA(entry, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
      values == 0 && subkeys == 0)
    return true;
  std::string uninstallString;
  return ReadUninstallString(entry, uninstallString) && NamesMissingProgram(uninstallString);
}

bool HasFolderNamed(const std::map<std::string, std::string>& folders, const std::string& name) {
  const std::string lowered = ToLowerText(name);
  for (const auto& folder : folders)
    if (ToLowerText(folder.first) == lowered) return true;
  return false;
}

}  // namespace

int CheckUninstallEntry(RootKey root, const std::string& parentPath, const std::string& subkeyName,
                        std::uint32_t, std::uint32_t, const unsigned char*, std::uint32_t,
                        void* context) {
  ScanContext& scan = *static_cast<ScanContext*>(context);
  const std::string entryKey = ShowEnumeratedKey(scan, parentPath, subkeyName);
  RegKey entry;
  if (entry.Open(root, entryKey) == ERROR_SUCCESS && IsUninstallEntryInvalid(entry.Get()))
    ReportKey(scan, root, entryKey, IssueCategory::kUninstallEntry, subkeyName);
  return ContinueAnswer(scan);
}

int CheckStartMenuOrder(RootKey root, const std::string& parentPath, const std::string& subkeyName,
                        std::uint32_t, std::uint32_t, const unsigned char*, std::uint32_t,
                        void* context) {
  const StartMenuContext& menu = *static_cast<const StartMenuContext*>(context);
  ScanContext& scan = *menu.scan;
  const std::string entryKey = ShowEnumeratedKey(scan, parentPath, subkeyName);
  // An empty map means neither Programs folder could be listed; judging by
  // it would call every entry's folder missing.
  if (menu.folders != nullptr && !menu.folders->empty() &&
      !HasFolderNamed(*menu.folders, subkeyName))
    ReportKey(scan, root, entryKey, IssueCategory::kMenuOrder, subkeyName);
  return ContinueAnswer(scan);
}

int CheckEmptySoftwareKey(RootKey root, const std::string& parentPath,
                          const std::string& subkeyName, std::uint32_t, std::uint32_t,
                          const unsigned char*, std::uint32_t, void* context) {
  ScanContext& scan = *static_cast<ScanContext*>(context);
  const std::string softwareKey = ShowEnumeratedKey(scan, parentPath, subkeyName);
  RegKey key;
  DWORD subkeys = 0;
  DWORD values = 0;
  if (key.Open(root, softwareKey) == ERROR_SUCCESS &&
      RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
      subkeys + values == 0)
    ReportKey(scan, root, softwareKey, IssueCategory::kEmptySoftwareKey, subkeyName);
  return ContinueAnswer(scan);
}

}  // namespace kelvane
