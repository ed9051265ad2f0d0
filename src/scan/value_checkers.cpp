#include "scan/value_checkers.h"

#include <windows.h>

#include "foundation/ansi_text.h"
#include "foundation/case_map.h"
#include "foundation/file_checks.h"
#include "foundation/registry_access.h"
#include "foundation/registry_key.h"
#include "foundation/value_format.h"
#include "scan/enumerated_key.h"
#include "scan/missing_path.h"

namespace kelvane {

namespace {

constexpr DWORD kZoneNameBuffer = 500;

// Wide text of at most `capacity` characters (not always terminated) in the
// system code page.
std::string NarrowText(const WCHAR* text, std::size_t capacity) {
  std::size_t length = 0;
  while (length < capacity && text[length] != 0) ++length;
  return WideToAnsi(text, length);
}

// The standard-time name of the zone in effect; "" when it cannot be had.
std::string CurrentStandardName() {
  TIME_ZONE_INFORMATION info = {};
  if (GetTimeZoneInformation(&info) == TIME_ZONE_ID_INVALID) return std::string();
  return NarrowText(info.StandardName, sizeof info.StandardName / sizeof info.StandardName[0]);
}

// The key name of the zone in effect; "" when it cannot be had. Guards the
// zone in effect when its "Std" text differs from the standard-time name
// (that name follows the user's display language, "Std" the install's).
std::string CurrentZoneKeyName() {
  DYNAMIC_TIME_ZONE_INFORMATION info = {};
  if (GetDynamicTimeZoneInformation(&info) == TIME_ZONE_ID_INVALID) return std::string();
  return NarrowText(info.TimeZoneKeyName,
                    sizeof info.TimeZoneKeyName / sizeof info.TimeZoneKeyName[0]);
}

// The zone's "Std" text; false when it is absent or does not fit.
bool ReadZoneStandardName(HKEY zone, std::string& text) {
  return ReadValueText(zone, "std", kZoneNameBuffer, text);
}

bool IsZoneInEffect(const std::string& subkeyName, const std::string& standardName,
                    const std::string& currentStandardName) {
  if (standardName == currentStandardName) return true;
  const std::string currentKeyName = CurrentZoneKeyName();
  return !currentKeyName.empty() && ToLowerText(currentKeyName) == ToLowerText(subkeyName);
}

}  // namespace

int CheckHistoryValue(RootKey root, const std::string& keyPath, const std::string& valueName,
                      std::uint32_t, std::uint32_t type, const unsigned char* data,
                      std::uint32_t dataLength, void* context) {
  ScanContext& scan = *static_cast<ScanContext*>(context);
  const std::string formatted = FormatValueData(data, dataLength, type);
  AddIssue(scan, MakeIssue(root, keyPath, valueName, formatted, IssueCategory::kHistoryList,
                           formatted, type));
  return ContinueAnswer(scan);
}

int CheckSharedDllValue(RootKey root, const std::string& keyPath, const std::string& valueName,
                        std::uint32_t, std::uint32_t type, const unsigned char* data,
                        std::uint32_t dataLength, void* context) {
  ScanContext& scan = *static_cast<ScanContext*>(context);
  std::string path;
  if (FindMissingPath(valueName, path))
    AddIssue(scan, MakeIssue(root, keyPath, valueName, FormatValueData(data, dataLength, type),
                             IssueCategory::kSharedDll, valueName, type));
  return ContinueAnswer(scan);
}

int CheckStartupValue(RootKey root, const std::string& keyPath, const std::string& valueName,
                      std::uint32_t, std::uint32_t type, const unsigned char* data,
                      std::uint32_t dataLength, void* context) {
  ScanContext& scan = *static_cast<ScanContext*>(context);
  const std::string text = DataAsText(data, dataLength);
  std::string path;
  if (FindMissingPath(text, path))
    AddIssue(scan, MakeIssue(root, keyPath, valueName, text, IssueCategory::kStartup, path, type));
  return ContinueAnswer(scan);
}

int CheckLocaleValue(RootKey root, const std::string& keyPath, const std::string& valueName,
                     std::uint32_t, std::uint32_t type, const unsigned char* data,
                     std::uint32_t dataLength, void* context) {
  ScanContext& scan = *static_cast<ScanContext*>(context);
  const std::string text = DataAsText(data, dataLength);
  if (text.empty())
    AddIssue(scan,
             MakeIssue(root, keyPath, valueName, text, IssueCategory::kLocale, valueName, type));
  return ContinueAnswer(scan);
}

int CheckTimeZone(RootKey root, const std::string& parentPath, const std::string& subkeyName,
                  std::uint32_t, std::uint32_t, const unsigned char*, std::uint32_t,
                  void* context) {
  ScanContext& scan = *static_cast<ScanContext*>(context);
  const std::string zoneKey = ShowEnumeratedKey(scan, parentPath, subkeyName);
  // Asked for every zone: a change of zone during the scan is seen at once.
  const std::string currentStandardName = CurrentStandardName();
  RegKey zone;
  std::string standardName;
  // Without the current name every zone, the one in effect too, would be
  // reported.
  if (!currentStandardName.empty() && zone.Open(root, zoneKey) == ERROR_SUCCESS &&
      ReadZoneStandardName(zone.Get(), standardName) &&
      !IsZoneInEffect(subkeyName, standardName, currentStandardName))
    AddIssue(scan,
             MakeKeyIssue(root, zoneKey, standardName, IssueCategory::kTimeZone, standardName));
  return ContinueAnswer(scan);
}

}  // namespace kelvane
