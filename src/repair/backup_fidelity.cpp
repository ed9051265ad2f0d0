#include "repair/backup_fidelity.h"

#include <windows.h>

#include <algorithm>

#include "foundation/ansi_text.h"
#include "foundation/registry_delete.h"
#include "repair/reg_file_format.h"
#include "repair/reg_import_model.h"

namespace kelvane {

namespace {

enum class Lookup { kFound, kAbsent, kFailed };

// The registry nests keys at most 512 deep; anything deeper is a loop.
constexpr unsigned kMaximumDepth = 512;
constexpr REGSAM kValueAccess = KEY_QUERY_VALUE | KEY_SET_VALUE;
constexpr REGSAM kTreeAccess = kDeleteTreeAccess;
constexpr DWORD kFirstDataSize = 1024;

bool IsStringType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// Names as the ANSI API finds them: its lookups ignore case.
bool SameAnsiName(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.data(),
                        static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

// A subkey (or value) whose name the ANSI API spells `ansiName`, though no
// key (value) has exactly the name that spelling stands for.
Lookup FindApproximateName(HKEY key, bool subkeys, const std::string& ansiName) {
  std::vector<wchar_t> name(16384);  // the longest name the registry allows
  for (DWORD i = 0;; ++i) {
    DWORD length = static_cast<DWORD>(name.size());
    const LONG status =
        subkeys ? RegEnumKeyExW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr)
                : RegEnumValueW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return Lookup::kAbsent;
    if (status != ERROR_SUCCESS) return Lookup::kFailed;
    if (SameAnsiName(WideToAnsi(name.data(), length), ansiName)) return Lookup::kFound;
  }
}

// Opens the key the ANSI path names: the whole path is widened first (in a
// double-byte code page a backslash byte may be half of a character) and
// opened at once, its last key as it is, a link as the link. The walk name
// by name is needed only to tell an absent key from one the ANSI name
// misses. Absent when nothing stands behind the path; failed when the path
// only approximates a key's real name or the key cannot be opened.
Lookup OpenNamedKey(RootKey root, const std::string& subkey, REGSAM access, RegKey& opened) {
  const std::wstring path = AnsiToWide(subkey);
  if (path.empty() || path.find(L"\\\\") != std::wstring::npos || path.back() == L'\\' ||
      path.front() == L'\\')
    return Lookup::kFailed;
  const LONG status = opened.OpenAsItIs(ToHkey(root), path, access);
  if (status == ERROR_SUCCESS) return Lookup::kFound;
  if (status != ERROR_FILE_NOT_FOUND) return Lookup::kFailed;
  RegKey current;
  if (current.Open(ToHkey(root), "") != ERROR_SUCCESS) return Lookup::kFailed;
  for (std::size_t start = 0; start <= path.size();) {
    std::size_t end = path.find(L'\\', start);
    if (end == std::wstring::npos) end = path.size();
    const std::wstring name = path.substr(start, end - start);
    RegKey next;
    const LONG step = next.OpenFollowingLinks(current.Get(), name);
    if (step == ERROR_FILE_NOT_FOUND) {
      const Lookup similar = FindApproximateName(current.Get(), true, WideToAnsi(name));
      return similar == Lookup::kAbsent ? Lookup::kAbsent : Lookup::kFailed;
    }
    if (step != ERROR_SUCCESS) return Lookup::kFailed;
    current = std::move(next);
    start = end + 1;
  }
  return Lookup::kFailed;  // every name is there after all: the key changed meanwhile
}

bool IsLinkValue(const wchar_t* name, std::size_t length, DWORD type) {
  static const wchar_t kLinkValue[] = L"SymbolicLinkValue";
  return type == REG_LINK && length == sizeof kLinkValue / sizeof kLinkValue[0] - 1 &&
         _wcsnicmp(name, kLinkValue, length) == 0;
}

// A key opened as it is shows a link as its value "SymbolicLinkValue".
bool IsLinkKey(HKEY key) {
  DWORD type = 0;
  return RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) ==
             ERROR_SUCCESS &&
         type == REG_LINK;
}

Lookup ReadWideValue(HKEY key, const std::wstring& name, WideRegValue& value) {
  DWORD size = kFirstDataSize;
  for (int attempt = 0; attempt < 4; ++attempt) {
    value.data.assign(size, 0);
    DWORD length = size;
    const LONG status =
        RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.data.data(), &length);
    if (status == ERROR_FILE_NOT_FOUND) return Lookup::kAbsent;
    if (status == ERROR_SUCCESS) {
      value.data.resize(length);
      return Lookup::kFound;
    }
    if (status != ERROR_MORE_DATA) return Lookup::kFailed;
    size = length + 2;
  }
  return Lookup::kFailed;
}

// The key line and value line of one value, with its data as the ANSI API
// hands it out (string types in the code page, best fit and all: the
// comparison with the stored value tells whether that loses anything).
std::string ValueLines(const std::string& linePath, const std::string& ansiName,
                       const WideRegValue& value) {
  std::string ansiData;
  if (IsStringType(value.type))
    ansiData = WideToAnsi(reinterpret_cast<const wchar_t*>(value.data.data()),
                          value.data.size() / sizeof(wchar_t));
  else
    ansiData.assign(value.data.begin(), value.data.end());
  return RegKeyLine(linePath) + "\n" +
         RegValueLine(ansiName, value.type, reinterpret_cast<const unsigned char*>(ansiData.data()),
                      static_cast<std::uint32_t>(ansiData.size())) +
         "\n";
}

// One read of a whole subtree.
struct TreeRead {
  bool formatLines;
  std::string lines;
  WideRegTree stored;
  std::vector<RegKey> below;  // deepest first once the read is done
  std::vector<wchar_t> name = std::vector<wchar_t>(256);
  std::vector<BYTE> data = std::vector<BYTE>(kFirstDataSize);
};

LONG EnumValue(HKEY key, DWORD index, TreeRead& read, DWORD& nameLength, DWORD& type,
               DWORD& dataLength) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    nameLength = static_cast<DWORD>(read.name.size());
    dataLength = static_cast<DWORD>(read.data.size());
    const LONG status = RegEnumValueW(key, index, read.name.data(), &nameLength, nullptr, &type,
                                      read.data.data(), &dataLength);
    if (status != ERROR_MORE_DATA) return status;
    if (dataLength > read.data.size())
      read.data.resize(dataLength + 2);
    else if (read.name.size() < 16384)
      read.name.resize(16384);
    else
      return status;
  }
  return ERROR_MORE_DATA;
}

// The key's values, then its subkeys, depth first: the order the backup
// restores them in. False for anything that cannot be deleted exactly as
// read or spelt in the file: a link, a name the code page cannot hold or a
// line break cuts, a read that fails, a loop.
bool ReadTree(HKEY key, const std::string& linePath, const std::wstring& widePath, unsigned depth,
              TreeRead& read) {
  if (depth >= kMaximumDepth || !FitsOnOneLine(linePath)) return false;
  WideRegValues& values = read.stored[widePath];
  bool hasValues = false;
  std::string ansiName;
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = 0, type = 0, dataLength = 0;
    const LONG status = EnumValue(key, i, read, nameLength, type, dataLength);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) return false;  // changed while read: cannot vouch for it
    // A key opened as it is shows a link as this one value: a REGEDIT4 file
    // cannot make a link again.
    if (IsLinkValue(read.name.data(), nameLength, type)) return false;
    if (!ToExactAnsiName(read.name.data(), nameLength, ansiName) || !FitsOnOneLine(ansiName))
      return false;
    WideRegValue value;
    value.type = type;
    value.data.assign(read.data.data(), read.data.data() + dataLength);
    if (read.formatLines) read.lines += ValueLines(linePath, ansiName, value);
    values[std::wstring(read.name.data(), nameLength)] = std::move(value);
    hasValues = true;
  }
  // A key without values is written as its key line alone, so that
  // restoring brings it back; the line goes before its subkeys' lines.
  if (!hasValues && read.formatLines) read.lines += RegKeyLine(linePath) + "\n";
  std::vector<wchar_t> child(256);
  std::string childName;
  for (DWORD j = 0;; ++j) {
    DWORD length = static_cast<DWORD>(child.size());
    const LONG status =
        RegEnumKeyExW(key, j, child.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) return false;
    if (!ToExactAnsiName(child.data(), length, childName)) return false;
    const std::wstring wideName(child.data(), length);
    RegKey sub;
    if (sub.OpenAsItIs(key, wideName, kTreeAccess) != ERROR_SUCCESS) return false;
    if (!ReadTree(sub.Get(), linePath + "\\" + childName, widePath + L"\\" + wideName, depth + 1,
                  read))
      return false;
    read.below.push_back(std::move(sub));  // after its own subkeys: deepest first
  }
  return true;
}

bool RestoresExactly(const std::string& lines, const std::wstring& widePath,
                     const WideRegTree& stored) {
  WideRegTree restored;
  return ImportModel(lines, restored) && Subtree(restored, widePath) == stored;
}

void ReadValueEntry(const std::string& linePath, const std::string& valueName, bool formatLines,
                    FixEntry& entry) {
  WideRegValue stored;
  const std::wstring wideName = AnsiToWide(valueName);
  const Lookup found = ReadWideValue(entry.key.Get(), wideName, stored);
  if (found == Lookup::kAbsent) {
    // Present only under a name the ANSI API cannot spell: still there, and
    // out of reach. A link key holds none of its target's values.
    entry.exists = FindApproximateName(entry.key.Get(), false, valueName) != Lookup::kAbsent ||
                   IsLinkKey(entry.key.Get());
    entry.exact = !entry.exists;
    return;
  }
  entry.exists = true;
  if (found == Lookup::kFailed || IsLinkValue(wideName.data(), wideName.size(), stored.type) ||
      IsLinkKey(entry.key.Get()) || !FitsOnOneLine(linePath) || !FitsOnOneLine(valueName))
    return;
  entry.deletable = true;
  if (!formatLines) return;
  entry.lines = ValueLines(linePath, valueName, stored);
  WideRegTree expected;
  expected[AnsiToWide(linePath)][wideName] = stored;
  entry.exact = RestoresExactly(entry.lines, AnsiToWide(linePath), expected);
}

void ReadKeyEntry(const std::string& linePath, bool formatLines, FixEntry& entry) {
  entry.exists = true;
  TreeRead read{formatLines, {}, {}, {}};
  if (!ReadTree(entry.key.Get(), linePath, AnsiToWide(linePath), 0, read)) return;
  entry.deletable = true;
  entry.below = std::move(read.below);
  if (!formatLines) return;
  entry.exact = RestoresExactly(read.lines, AnsiToWide(linePath), read.stored);
  if (entry.exact) entry.lines = std::move(read.lines);
}

}  // namespace

FixEntry ReadFixEntry(RootKey root, const std::string& key, const std::string& valueName,
                      bool wholeKey, bool formatLines) {
  FixEntry entry;
  RootKey parsedRoot = 0;
  std::string subkey;
  // A root itself is never an entry of a fix.
  if (!SplitRegistryPath(FullRegistryPath(root, key), parsedRoot, subkey) || subkey.empty()) {
    entry.exists = true;
    return entry;
  }
  const std::string linePath = FullRegistryPath(root, subkey);
  const Lookup found = OpenNamedKey(root, subkey, wholeKey ? kTreeAccess : kValueAccess, entry.key);
  if (found != Lookup::kFound) {
    entry.exists = found != Lookup::kAbsent;
    entry.exact = found == Lookup::kAbsent;
    return entry;
  }
  if (wholeKey)
    ReadKeyEntry(linePath, formatLines, entry);
  else
    ReadValueEntry(linePath, valueName, formatLines, entry);
  return entry;
}

bool DeleteFixEntry(FixEntry& entry, const std::string& valueName, bool wholeKey) {
  if (!entry.deletable || !entry.key.IsOpen()) return false;
  if (!wholeKey)
    return RegDeleteValueW(entry.key.Get(), AnsiToWide(valueName).c_str()) == ERROR_SUCCESS;
  // Subkeys that appeared after the read go the same way, deepest first.
  for (RegKey& key : entry.below)
    if (!DeleteOpenKey(key.Get()) && !(DeleteKeysBelow(key.Get()) && DeleteOpenKey(key.Get())))
      return false;
  return DeleteOpenKey(entry.key.Get()) ||
         (DeleteKeysBelow(entry.key.Get()) && DeleteOpenKey(entry.key.Get()));
}

bool BackupRestoresExactly(RootKey root, const std::string& key, const std::string& valueName,
                           bool wholeKey) {
  return ReadFixEntry(root, key, valueName, wholeKey, true).exact;
}

}  // namespace kelvane
