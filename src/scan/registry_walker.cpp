#include "scan/registry_walker.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>

#include "foundation/ansi_chars.h"
#include "foundation/ansi_text.h"
#include "foundation/case_map.h"
#include "foundation/registry_key.h"
#include "foundation/wildcard.h"

namespace kelvane {

namespace {

constexpr std::size_t kMinimumBuffer = 256;
constexpr std::size_t kInitialDataBuffer = 4096;
constexpr std::size_t kMaximumBuffer = 64u * 1024 * 1024;  // far above any real value
constexpr DWORD kCurrentKeyInterval = 70;                  // ms between throttled key reports
// The registry nests keys at most 512 deep; a deeper walk can only be going
// round a loop.
constexpr unsigned kMaximumDepth = 512;
constexpr REGSAM kWalkAccess = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;

// Process-wide time of the last throttled current-key report.
DWORD g_lastThrottledReport = 0;

// Leading bytes are always whole characters; trailing ones are taken as
// whole characters of the code page.
std::string TrimChars(const std::string& text, const char* chars) {
  const std::size_t first = text.find_first_not_of(chars);
  if (first == std::string::npos) return std::string();
  return TrimTrailingAnsiChars(text.substr(first), chars);
}

bool IsStringType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// A key opened without following a link shows the link as its one value.
bool IsLinkValue(const wchar_t* name, DWORD nameLength, DWORD type) {
  static const wchar_t kLinkValue[] = L"SymbolicLinkValue";
  return type == REG_LINK && nameLength == sizeof kLinkValue / sizeof kLinkValue[0] - 1 &&
         _wcsnicmp(name, kLinkValue, nameLength) == 0;
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
  std::vector<wchar_t> name = std::vector<wchar_t>(kMinimumBuffer);
  std::vector<BYTE> data = std::vector<BYTE>(kInitialDataBuffer);
  std::vector<wchar_t> subkey = std::vector<wchar_t>(kMinimumBuffer);
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

// Grows a buffer to at least `wanted` elements (at least doubling it); false
// beyond the limit, which ends that key's enumeration like any other error.
template <typename T>
bool Grow(std::vector<T>& buffer, std::size_t wanted) {
  const std::size_t size = std::max(wanted + 1, buffer.size() * 2);
  if (size * sizeof(T) > kMaximumBuffer) return false;
  buffer.resize(size);
  return true;
}

// RegEnumValueW of entry `index`, with buffers grown until it fits.
LONG EnumValue(HKEY key, DWORD index, Walk& walk, DWORD& nameLength, DWORD& type,
               DWORD& dataLength) {
  for (;;) {
    nameLength = static_cast<DWORD>(walk.name.size());
    dataLength = static_cast<DWORD>(walk.data.size());
    type = 0;
    const LONG status = RegEnumValueW(key, index, walk.name.data(), &nameLength, nullptr, &type,
                                      walk.data.data(), &dataLength);
    if (status != ERROR_MORE_DATA) return status;
    const bool grown = dataLength > walk.data.size() ? Grow(walk.data, dataLength)
                                                     : Grow(walk.name, walk.name.size());
    if (!grown) return status;
  }
}

LONG EnumSubkey(HKEY key, DWORD index, std::vector<wchar_t>& buffer, DWORD& length) {
  for (;;) {
    length = static_cast<DWORD>(buffer.size());
    const LONG status =
        RegEnumKeyExW(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_MORE_DATA || !Grow(buffer, buffer.size())) return status;
  }
}

// The data as the checkers read it: string types in the ANSI code page,
// without best-fit letters (a path with a character the code page lacks
// then holds "?" and is never taken for some other, missing path); every
// other type as its bytes.
void HandOnData(const Walk& walk, DWORD type, DWORD length, std::string& out) {
  if (!IsStringType(type)) {
    out.assign(reinterpret_cast<const char*>(walk.data.data()), length);
    return;
  }
  out = WideToAnsiNoBestFit(reinterpret_cast<const wchar_t*>(walk.data.data()),
                            length / sizeof(wchar_t));
}

// The values of one open key, then (with `recurse`) its subtree. Subkeys
// are opened as they are, a link as the link: the walk never leaves the
// subtree, and a link key is left out with everything it seems to hold.
// Entries whose names the ANSI code page cannot spell exactly are left out
// too: any ANSI spelling of them names some other entry, or none.
int WalkOpenKey(Walk& walk, HKEY key, const std::string& path, unsigned depth) {
  std::string valueName, data;
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = 0, type = 0, dataLength = 0;
    if (EnumValue(key, i, walk, nameLength, type, dataLength) != ERROR_SUCCESS) break;
    if (depth > 0 && IsLinkValue(walk.name.data(), nameLength, type)) return 1;
    if (walk.valueVisitor == nullptr || !PassesFilter(walk.typeFilter, type)) continue;
    if (!ToExactAnsiName(walk.name.data(), nameLength, valueName)) continue;
    HandOnData(walk, type, dataLength, data);
    if (walk.valueVisitor(walk.root, path, valueName, static_cast<std::uint32_t>(valueName.size()),
                          type, reinterpret_cast<const unsigned char*>(data.data()),
                          static_cast<std::uint32_t>(data.size()), walk.valueContext) == 0)
      return 0;
  }

  std::string name;
  DWORD length = 0;
  for (DWORD j = 0; EnumSubkey(key, j, walk.subkey, length) == ERROR_SUCCESS; ++j) {
    if (!ToExactAnsiName(walk.subkey.data(), length, name)) continue;
    const std::wstring wideName(walk.subkey.data(), length);
    const std::string child = JoinKeyPath(path, name);
    if (walk.keyVisitor != nullptr &&
        walk.keyVisitor(walk.root, child, name, 0, 0, nullptr, 0, walk.keyContext) == 0)
      return 0;
    if (walk.recurse == 0 || depth + 1 >= kMaximumDepth || IsSkipped(walk, child)) continue;
    RegKey sub;
    if (sub.OpenAsItIs(key, wideName, kWalkAccess) != ERROR_SUCCESS) continue;
    if (WalkOpenKey(walk, sub.Get(), child, depth + 1) == 0) return 0;
  }
  return 1;
}

int WalkOne(Walk& walk, const std::string& path) {
  if (IsSkipped(walk, path)) return 1;
  RegKey key;
  if (key.Open(walk.root, path, kWalkAccess) != ERROR_SUCCESS) return 1;
  return WalkOpenKey(walk, key.Get(), path, 0);
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
  if (key.Open(root, path, kWalkAccess) != ERROR_SUCCESS) return;
  std::vector<wchar_t> buffer(kMinimumBuffer);
  std::string name;
  DWORD length = 0;
  for (DWORD j = 0; EnumSubkey(key.Get(), j, buffer, length) == ERROR_SUCCESS; ++j) {
    // A subkey the ANSI code page cannot spell is never handed on: its
    // checker would open, judge and report some other key, or none.
    if (!ToExactAnsiName(buffer.data(), length, name)) continue;
    if (keyVisitor != nullptr && keyVisitor(root, path, name, 0, 0, nullptr, 0, context) == 0)
      break;
    if (recurse != 0 && depth + 1 < kMaximumDepth)
      EnumSubkeys(root, JoinKeyPath(path, name), keyVisitor, context, recurse, maxDepth, depth + 1);
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

}  // namespace kelvane
