#include "scan/registry_walker.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <memory>
#include <new>

#include "foundation/case_map.h"
#include "foundation/registry_key.h"
#include "foundation/wildcard.h"

namespace {

constexpr DWORD kMinimumBuffer = 256;
constexpr DWORD kCurrentKeyInterval = 70;  // ms between throttled key reports

// Process-wide time of the last throttled current-key report.
DWORD g_lastThrottledReport = 0;

std::string TrimChars(const std::string& text, const char* chars) {
  const std::size_t first = text.find_first_not_of(chars);
  if (first == std::string::npos) return std::string();
  const std::size_t last = text.find_last_not_of(chars);
  return text.substr(first, last - first + 1);
}

std::string ChildPath(const std::string& parent, const char* name) {
  return parent.empty() ? std::string(name) : parent + "\\" + name;
}

struct Walk {
  RootKey root;
  int recurse;
  ValueVisitor valueVisitor;
  void* valueContext;
  KeyVisitor keyVisitor;
  void* keyContext;
  const TypeFilter& typeFilter;
  std::vector<std::string> loweredSkipList;  // lower-cased once per walk
  std::string rootPrefix;                    // lower-cased root name + "\"
};

bool IsSkipped(const Walk& walk, const std::string& path) {
  if (walk.loweredSkipList.empty()) return false;
  const std::string full = walk.rootPrefix + ToLowerText(path);
  for (const std::string& item : walk.loweredSkipList)
    if (full.find(item) != std::string::npos || WildcardMatch(item, full)) return true;
  return false;
}

bool PassesFilter(const TypeFilter& filter, DWORD type) {
  return filter.empty() || std::find(filter.begin(), filter.end(), type) != filter.end();
}

// Allocation that reports failure instead of throwing: a key whose buffers
// cannot be had counts as empty.
std::unique_ptr<char[]> Allocate(DWORD size) {
  return std::unique_ptr<char[]>(new (std::nothrow) char[size]);
}

int WalkOne(const Walk& walk, const std::string& path) {
  if (IsSkipped(walk, path)) return 1;

  RegKey key;
  key.Open(walk.root, path);
  if (!key.IsOpen()) return 1;

  DWORD longestSubkey = 0, longestValueName = 0, longestData = 0;
  RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, nullptr, &longestSubkey, nullptr,
                   nullptr, &longestValueName, &longestData, nullptr, nullptr);
  const DWORD nameSize = std::max(longestValueName + 1, kMinimumBuffer);
  const DWORD dataSize = std::max(longestData + 1, kMinimumBuffer);
  const DWORD subkeySize = std::max(longestSubkey + 1, kMinimumBuffer);
  std::unique_ptr<char[]> name = Allocate(nameSize);
  std::unique_ptr<char[]> data = Allocate(dataSize);
  std::unique_ptr<char[]> subkey = Allocate(subkeySize);
  if (!name || !data || !subkey) return 1;

  for (DWORD i = 0;; ++i) {
    DWORD nameLength = nameSize;
    DWORD dataLength = dataSize;
    DWORD type = 0;
    if (RegEnumValueA(key.Get(), i, name.get(), &nameLength, nullptr, &type,
                      reinterpret_cast<BYTE*>(data.get()), &dataLength) != ERROR_SUCCESS)
      break;
    if (walk.valueVisitor == nullptr || !PassesFilter(walk.typeFilter, type)) continue;
    if (walk.valueVisitor(walk.root, path, std::string(name.get(), nameLength), nameLength, type,
                          reinterpret_cast<const unsigned char*>(data.get()), dataLength,
                          walk.valueContext) == 0)
      return 0;
  }

  for (DWORD j = 0; RegEnumKeyA(key.Get(), j, subkey.get(), subkeySize) == ERROR_SUCCESS; ++j) {
    const std::string child = ChildPath(path, subkey.get());
    if (walk.keyVisitor != nullptr &&
        walk.keyVisitor(walk.root, child, subkey.get(), 0, 0, nullptr, 0, walk.keyContext) == 0)
      return 0;
    if (walk.recurse != 0 && WalkOne(walk, child) == 0) return 0;
  }
  return 1;
}

int CountSubkey(RootKey, const std::string&, const std::string&, std::uint32_t, std::uint32_t,
                const unsigned char*, std::uint32_t, void* context) {
  ++*static_cast<unsigned*>(context);
  return 1;
}

}  // namespace

int WalkKey(RootKey root, const std::string& subkey, int recurse, ValueVisitor valueVisitor,
            void* valueContext, KeyVisitor keyVisitor, void* keyContext,
            const TypeFilter& typeFilter, const SkipList& skipList) {
  Walk walk{root, recurse, valueVisitor, valueContext, keyVisitor, keyContext, typeFilter, {}, {}};
  walk.rootPrefix = ToLowerText(RootKeyName(root)) + "\\";
  for (const std::string& item : skipList) walk.loweredSkipList.push_back(ToLowerText(item));
  return WalkOne(walk, TrimChars(subkey, "\\"));
}

void EnumSubkeys(RootKey root, const std::string& subkey, KeyVisitor keyVisitor, void* context,
                 int recurse, std::uint32_t maxDepth, std::uint32_t depth) {
  if (depth >= maxDepth) return;
  const std::string path = TrimChars(subkey, " \\");
  RegKey key;
  key.Open(root, path);
  if (!key.IsOpen()) return;
  for (DWORD j = 0;; ++j) {
    char name[256] = {};
    // 255: a name longer than 254 characters ends the enumeration.
    if (RegEnumKeyA(key.Get(), j, name, 255) != ERROR_SUCCESS) break;
    if (keyVisitor != nullptr && keyVisitor(root, path, name, 0, 0, nullptr, 0, context) == 0)
      break;
    if (recurse != 0)
      EnumSubkeys(root, ChildPath(path, name), keyVisitor, context, recurse, maxDepth, depth + 1);
  }
}

bool HasNoSubkeys(RootKey root, const std::string& subkey) {
  unsigned count = 0;
  EnumSubkeys(root, subkey, CountSubkey, &count, 0, 0xFFFFFFFFu, 0);
  return count < 1;
}

int ReportKeyAndCheckCancel(RootKey, const std::string& path, const std::string&, std::uint32_t,
                            std::uint32_t, const unsigned char*, std::uint32_t, void* context) {
  ScanContext& scan = *static_cast<ScanContext*>(context);
  ReportCurrentKey(scan, path, true);
  return ContinueAnswer(scan);
}

void ReportCurrentKey(ScanContext& context, const std::string& text, bool throttled) {
  if (context.hwndCurrentKey == nullptr || !IsWindow(context.hwndCurrentKey)) return;
  if (throttled) {
    const DWORD now = timeGetTime();
    if (now - g_lastThrottledReport <= kCurrentKeyInterval) return;
    g_lastThrottledReport = now;
  }
  SendMessageA(context.hwndCurrentKey, WM_SCAN_CURRENT_KEY, 0, reinterpret_cast<LPARAM>(&text));
}

void ReportProgressPercent(ScanContext& context, int percent) {
  SendToWindow(context.hwndProgress, WM_SCAN_PROGRESS, static_cast<LPARAM>(percent));
}
