#include "scan/registry_walker.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <new>

#include "foundation/ansi_chars.h"
#include "foundation/case_map.h"
#include "foundation/registry_key.h"
#include "foundation/wildcard.h"

namespace {

constexpr std::size_t kMinimumBuffer = 256;
constexpr std::size_t kInitialDataBuffer = 4096;
constexpr std::size_t kMaximumBuffer = 64u * 1024 * 1024;  // far above any real value
constexpr DWORD kCurrentKeyInterval = 70;  // ms between throttled key reports

// Process-wide time of the last throttled current-key report.
DWORD g_lastThrottledReport = 0;

// Leading bytes are always whole characters; trailing ones are taken as
// whole characters of the code page.
std::string TrimChars(const std::string& text, const char* chars) {
  const std::size_t first = text.find_first_not_of(chars);
  if (first == std::string::npos) return std::string();
  return TrimTrailingAnsiChars(text.substr(first), chars);
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
  // One set of buffers for the whole walk, grown when an entry does not fit:
  // a level needs them only until it has handed its entry on, and asking
  // every key for its maxima first would cost a registry call per key.
  std::vector<char> name = std::vector<char>(kMinimumBuffer);
  std::vector<char> data = std::vector<char>(kInitialDataBuffer);
  std::vector<char> subkey = std::vector<char>(kMinimumBuffer);
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

// Grows a buffer to at least `wanted` bytes (at least doubling it); false
// when the limit is reached or memory is short, which ends that key's
// enumeration like any other error.
bool Grow(std::vector<char>& buffer, std::size_t wanted) {
  const std::size_t size = std::max(wanted + 1, buffer.size() * 2);
  if (size > kMaximumBuffer) return false;
  try {
    buffer.resize(size);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

// RegEnumValueA of entry `index`, with buffers grown until it fits.
LONG EnumValue(HKEY key, DWORD index, Walk& walk, DWORD& nameLength, DWORD& type,
               DWORD& dataLength) {
  for (;;) {
    nameLength = static_cast<DWORD>(walk.name.size());
    dataLength = static_cast<DWORD>(walk.data.size());
    type = 0;
    const LONG status =
        RegEnumValueA(key, index, walk.name.data(), &nameLength, nullptr, &type,
                      reinterpret_cast<BYTE*>(walk.data.data()), &dataLength);
    if (status != ERROR_MORE_DATA) return status;
    const bool grown = dataLength > walk.data.size() ? Grow(walk.data, dataLength)
                                                     : Grow(walk.name, walk.name.size());
    if (!grown) return status;
  }
}

LONG EnumSubkey(HKEY key, DWORD index, Walk& walk) {
  for (;;) {
    const LONG status = RegEnumKeyA(key, index, walk.subkey.data(),
                                    static_cast<DWORD>(walk.subkey.size()));
    if (status != ERROR_MORE_DATA || !Grow(walk.subkey, walk.subkey.size())) return status;
  }
}

int WalkOne(Walk& walk, const std::string& path) {
  if (IsSkipped(walk, path)) return 1;

  RegKey key;
  key.Open(walk.root, path);
  if (!key.IsOpen()) return 1;

  for (DWORD i = 0;; ++i) {
    DWORD nameLength = 0, type = 0, dataLength = 0;
    if (EnumValue(key.Get(), i, walk, nameLength, type, dataLength) != ERROR_SUCCESS) break;
    if (walk.valueVisitor == nullptr || !PassesFilter(walk.typeFilter, type)) continue;
    if (walk.valueVisitor(walk.root, path, std::string(walk.name.data(), nameLength), nameLength,
                          type, reinterpret_cast<const unsigned char*>(walk.data.data()),
                          dataLength, walk.valueContext) == 0)
      return 0;
  }

  for (DWORD j = 0; EnumSubkey(key.Get(), j, walk) == ERROR_SUCCESS; ++j) {
    const std::string name = walk.subkey.data();
    const std::string child = ChildPath(path, name.c_str());
    if (walk.keyVisitor != nullptr &&
        walk.keyVisitor(walk.root, child, name, 0, 0, nullptr, 0, walk.keyContext) == 0)
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
