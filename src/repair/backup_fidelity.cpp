#include "repair/backup_fidelity.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "foundation/ansi_text.h"
#include "foundation/registry_key.h"
#include "repair/reg_export_writer.h"
#include "repair/reg_import_model.h"

namespace {

enum class Lookup { kFound, kAbsent, kFailed };

// Names as the ANSI API finds them: its lookups ignore case.
bool SameAnsiName(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.data(),
                        static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

struct KeySizes {
  DWORD longestSubkey = 0, longestValueName = 0, longestData = 0;
};

bool QuerySizes(HKEY key, KeySizes& sizes) {
  return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &sizes.longestSubkey, nullptr,
                          nullptr, &sizes.longestValueName, &sizes.longestData, nullptr,
                          nullptr) == ERROR_SUCCESS;
}

// A subkey (or value) whose name the ANSI API spells `ansiName`, though no
// key (value) has exactly the name that spelling stands for.
Lookup FindApproximateName(HKEY key, bool subkeys, const std::string& ansiName) {
  KeySizes sizes;
  if (!QuerySizes(key, sizes)) return Lookup::kFailed;
  std::vector<wchar_t> name((subkeys ? sizes.longestSubkey : sizes.longestValueName) + 2);
  for (DWORD i = 0;; ++i) {
    DWORD length = static_cast<DWORD>(name.size());
    const LONG status =
        subkeys ? RegEnumKeyExW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr)
                : RegEnumValueW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return Lookup::kAbsent;
    if (status != ERROR_SUCCESS) return Lookup::kFailed;
    if (SameAnsiName(WideToAnsi(std::wstring(name.data(), length)), ansiName))
      return Lookup::kFound;
  }
}

// Opens the key the ANSI path names, as the ANSI API does: the whole path
// is widened first (in a double-byte code page a backslash byte may be
// half of a character), then opened name by name. Absent when nothing
// stands behind the path; failed when the path only approximates a key's
// real name or a key cannot be read.
Lookup OpenNamedKey(RootKey root, const std::string& subkey, RegKey& opened) {
  const std::wstring path = AnsiToWide(subkey);
  // The whole path at once first; the walk below, one name at a time, is
  // needed only to tell an absent key from one the ANSI name misses.
  HKEY direct = nullptr;
  if (!path.empty() && path.find(L"\\\\") == std::wstring::npos && path.back() != L'\\' &&
      path.front() != L'\\' &&
      RegOpenKeyExW(ToHkey(root), path.c_str(), 0, KEY_READ, &direct) == ERROR_SUCCESS) {
    opened = RegKey(direct);
    return Lookup::kFound;
  }
  HKEY self = nullptr;
  if (RegOpenKeyExW(ToHkey(root), nullptr, 0, KEY_READ, &self) != ERROR_SUCCESS)
    return Lookup::kFailed;
  RegKey current(self);
  for (std::size_t start = 0; !path.empty() && start <= path.size();) {
    std::size_t end = path.find(L'\\', start);
    if (end == std::wstring::npos) end = path.size();
    const std::wstring name = path.substr(start, end - start);
    if (name.empty()) return Lookup::kFailed;
    HKEY next = nullptr;
    const LONG status = RegOpenKeyExW(current.Get(), name.c_str(), 0, KEY_READ, &next);
    if (status == ERROR_FILE_NOT_FOUND) {
      const Lookup similar = FindApproximateName(current.Get(), true, WideToAnsi(name));
      return similar == Lookup::kAbsent ? Lookup::kAbsent : Lookup::kFailed;
    }
    if (status != ERROR_SUCCESS) return Lookup::kFailed;
    current = RegKey(next);
    start = end + 1;
  }
  opened = std::move(current);
  return Lookup::kFound;
}

Lookup ReadWideValue(HKEY key, const std::wstring& name, WideRegValue& value) {
  KeySizes sizes;
  if (!QuerySizes(key, sizes)) return Lookup::kFailed;
  DWORD size = sizes.longestData + 2;
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

// Every key of the subtree with its values, below `path` (the key's own).
bool ReadWideTree(HKEY key, const std::wstring& path, WideRegTree& tree) {
  KeySizes sizes;
  if (!QuerySizes(key, sizes)) return false;
  WideRegValues& values = tree[path];
  std::vector<wchar_t> name(std::max(sizes.longestValueName, sizes.longestSubkey) + 2);
  std::unique_ptr<unsigned char[]> data(new (std::nothrow) unsigned char[sizes.longestData + 2]);
  if (!data) return false;
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataLength = sizes.longestData + 2;
    WideRegValue value;
    const LONG status = RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &value.type,
                                      data.get(), &dataLength);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) return false;  // changed while read: cannot vouch for it
    value.data.assign(data.get(), data.get() + dataLength);
    values[std::wstring(name.data(), nameLength)] = value;
  }
  for (DWORD j = 0;; ++j) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    const LONG status =
        RegEnumKeyExW(key, j, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) return false;
    const std::wstring child(name.data(), nameLength);
    HKEY opened = nullptr;
    if (RegOpenKeyExW(key, child.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegKey sub(opened);
    if (!ReadWideTree(sub.Get(), path + L"\\" + child, tree)) return false;
  }
  return true;
}

void CheckValue(HKEY key, const std::string& keyPath, const std::string& valueName,
                BackupCheck& check) {
  WideRegValue stored;
  const Lookup found = ReadWideValue(key, AnsiToWide(valueName), stored);
  check.exists = found != Lookup::kAbsent;
  if (found == Lookup::kFailed) return;
  if (found == Lookup::kAbsent) {
    // Present only under a name the ANSI API cannot spell: still there.
    check.exists = FindApproximateName(key, false, valueName) != Lookup::kAbsent;
    check.exact = !check.exists;
    return;
  }
  check.lines = ExportValueText(keyPath, valueName);
  WideRegTree restored;
  if (!ImportModel(check.lines, restored)) return;
  WideRegTree expected;
  expected[AnsiToWide(keyPath)][AnsiToWide(valueName)] = stored;
  check.exact = Subtree(restored, AnsiToWide(keyPath)) == expected;
}

void CheckKey(HKEY key, const std::string& keyPath, BackupCheck& check) {
  check.exists = true;
  WideRegTree stored;
  if (!ReadWideTree(key, AnsiToWide(keyPath), stored)) return;
  check.lines = ExportKeyText(keyPath, 1);
  WideRegTree restored;
  if (!ImportModel(check.lines, restored)) return;
  check.exact = Subtree(restored, AnsiToWide(keyPath)) == stored;
}

}  // namespace

BackupCheck CheckBackup(RootKey root, const std::string& key, const std::string& valueName,
                        bool wholeKey) {
  BackupCheck check;
  RootKey parsedRoot = 0;
  std::string subkey;
  if (!SplitRegistryPath(FullRegistryPath(root, key), parsedRoot, subkey)) return check;
  const std::string keyPath = subkey.empty() ? RootKeyName(root) : FullRegistryPath(root, subkey);
  RegKey opened;
  const Lookup found = OpenNamedKey(root, subkey, opened);
  if (found != Lookup::kFound) {
    check.exists = found != Lookup::kAbsent;
    check.exact = found == Lookup::kAbsent;
    return check;
  }
  if (wholeKey)
    CheckKey(opened.Get(), keyPath, check);
  else
    CheckValue(opened.Get(), keyPath, valueName, check);
  return check;
}

bool BackupRestoresExactly(RootKey root, const std::string& key, const std::string& valueName,
                           bool wholeKey) {
  return CheckBackup(root, key, valueName, wholeKey).exact;
}
