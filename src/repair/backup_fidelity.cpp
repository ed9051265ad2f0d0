#include "repair/backup_fidelity.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>
#include <new>
#include <vector>

#include "foundation/registry_key.h"
#include "repair/reg_export_writer.h"

// How `regedit /s` imports a REGEDIT4 file (observed under Wine 8.0, ANSI
// code page 1252; the model below follows it and answers false for any
// line it does not recognise as one the writer produces):
//  - Each line is converted from the ANSI code page to UTF-16 before it is
//    parsed, so key paths, value names and quoted strings come back as
//    their characters in that code page; a byte the code page lacks comes
//    back as the code page's mapping of it.
//  - Quoted names and strings: "\\" and "\"" are unescaped (Wine also reads
//    "\n" and "\r"; the writer never produces them). A quoted string is
//    stored as REG_SZ with one terminating NUL.
//  - hex(1), hex(2) and hex(7) bytes are taken as ANSI text: a NUL is
//    appended when the last byte is not one, then the bytes, embedded NULs
//    included, are converted to UTF-16. No bytes stay no bytes.
//  - hex: and every other hex(N) keep their bytes; N is read as a
//    hexadecimal number (hex(10) is type 16, hex(ffffffff) type 0xFFFFFFFF).
//  - A key line creates the key with every missing parent, also when no
//    value follows. Key names with "]", "[", quotes, leading or trailing
//    blanks and control characters other than CR and LF come back intact.
// So a string with a character outside the code page, a string without its
// terminating NUL, or wide data of odd length does not come back as it was.

namespace {

using Bytes = std::vector<unsigned char>;

struct StoredValue {
  DWORD type = 0;
  Bytes data;
  bool operator==(const StoredValue& other) const {
    return type == other.type && data == other.data;
  }
};

using KeyValues = std::map<std::wstring, StoredValue>;
using KeyTree = std::map<std::wstring, KeyValues>;  // full key path -> its values

enum class Lookup { kFound, kAbsent, kFailed };

std::wstring Widen(const char* text, std::size_t length) {
  if (length == 0) return std::wstring();
  const int size = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0)
    MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), &wide[0], size);
  return wide;
}
std::wstring Widen(const std::string& text) { return Widen(text.data(), text.size()); }

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &narrow[0], size,
                        nullptr, nullptr);
  return narrow;
}

Bytes WideBytes(const std::wstring& text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  return Bytes(bytes, bytes + text.size() * sizeof(wchar_t));
}

// Names as the ANSI API finds them: its lookups ignore case.
bool SameAnsiName(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.data(),
                        static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

// ---- The registry as the wide-character API reports it ----

struct KeySizes {
  DWORD longestSubkey = 0, longestValueName = 0, longestData = 0;
};

bool QuerySizes(HKEY key, KeySizes& sizes) {
  return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &sizes.longestSubkey, nullptr,
                          nullptr, &sizes.longestValueName, &sizes.longestData, nullptr,
                          nullptr) == ERROR_SUCCESS;
}

// A subkey whose name the ANSI API spells as it spells `wanted`, though no
// key has exactly that name.
Lookup FindApproximateSubkey(HKEY key, const std::wstring& wanted) {
  KeySizes sizes;
  if (!QuerySizes(key, sizes)) return Lookup::kFailed;
  const std::string ansiName = Narrow(wanted);
  std::vector<wchar_t> name(sizes.longestSubkey + 2);
  for (DWORD j = 0;; ++j) {
    DWORD length = static_cast<DWORD>(name.size());
    const LONG status =
        RegEnumKeyExW(key, j, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return Lookup::kAbsent;
    if (status != ERROR_SUCCESS) return Lookup::kFailed;
    if (SameAnsiName(Narrow(std::wstring(name.data(), length)), ansiName)) return Lookup::kFound;
  }
}

// Opens the key the ANSI path names, as the ANSI API does: the whole path
// is widened first (in a double-byte code page a backslash byte may be
// half of a character), then opened name by name. Absent when nothing
// stands behind the path; failed when the path only approximates a key's
// real name or a key cannot be read.
Lookup OpenNamedKey(RootKey root, const std::string& subkey, RegKey& opened) {
  const std::wstring path = Widen(subkey);
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
      const Lookup similar = FindApproximateSubkey(current.Get(), name);
      return similar == Lookup::kAbsent ? Lookup::kAbsent : Lookup::kFailed;
    }
    if (status != ERROR_SUCCESS) return Lookup::kFailed;
    current = RegKey(next);
    start = end + 1;
  }
  opened = std::move(current);
  return Lookup::kFound;
}

Lookup ReadWideValue(HKEY key, const std::wstring& name, StoredValue& value) {
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

// A value whose name the ANSI API spells `ansiName`, though no value has
// exactly the name that spelling stands for.
Lookup FindApproximateValue(HKEY key, const std::string& ansiName) {
  KeySizes sizes;
  if (!QuerySizes(key, sizes)) return Lookup::kFailed;
  std::vector<wchar_t> name(sizes.longestValueName + 2);
  for (DWORD i = 0;; ++i) {
    DWORD length = static_cast<DWORD>(name.size());
    const LONG status =
        RegEnumValueW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return Lookup::kAbsent;
    if (status != ERROR_SUCCESS) return Lookup::kFailed;
    if (SameAnsiName(Narrow(std::wstring(name.data(), length)), ansiName)) return Lookup::kFound;
  }
}

// Every key of the subtree with its values, below `path` (the key's own).
bool ReadWideTree(HKEY key, const std::wstring& path, KeyTree& tree) {
  KeySizes sizes;
  if (!QuerySizes(key, sizes)) return false;
  KeyValues& values = tree[path];
  std::vector<wchar_t> name(std::max(sizes.longestValueName, sizes.longestSubkey) + 2);
  std::unique_ptr<unsigned char[]> data(new (std::nothrow) unsigned char[sizes.longestData + 2]);
  if (!data) return false;
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataLength = sizes.longestData + 2;
    StoredValue value;
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

// ---- What the registry editor makes of the backup lines ----

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// Quoted text from just after its opening quote; `pos` ends after the
// closing quote. Only the two escapes the writer produces are accepted.
bool ReadQuoted(const std::wstring& line, std::size_t& pos, std::wstring& text) {
  text.clear();
  while (pos < line.size()) {
    const wchar_t c = line[pos++];
    if (c == L'"') return true;
    if (c == L'\\') {
      if (pos >= line.size() || (line[pos] != L'\\' && line[pos] != L'"')) return false;
      text += line[pos++];
    } else {
      text += c;
    }
  }
  return false;
}

bool ReadByteList(const std::wstring& list, Bytes& bytes) {
  bytes.clear();
  for (std::size_t pos = 0; pos < list.size();) {
    if (pos + 2 > list.size()) return false;
    const int high = HexDigit(list[pos]), low = HexDigit(list[pos + 1]);
    if (high < 0 || low < 0) return false;
    bytes.push_back(static_cast<unsigned char>(high * 16 + low));
    pos += 2;
    if (pos == list.size()) break;
    if (list[pos] != L',' || pos + 1 == list.size()) return false;
    ++pos;
  }
  return true;
}

bool ReadData(const std::wstring& part, StoredValue& value) {
  if (!part.empty() && part[0] == L'"') {
    std::size_t pos = 1;
    std::wstring text;
    if (!ReadQuoted(part, pos, text) || pos != part.size()) return false;
    value.type = REG_SZ;
    value.data = WideBytes(text + L'\0');
    return true;
  }
  if (part.compare(0, 6, L"dword:") == 0) {
    if (part.size() != 14) return false;
    DWORD number = 0;
    for (std::size_t i = 6; i < 14; ++i) {
      const int digit = HexDigit(part[i]);
      if (digit < 0) return false;
      number = number * 16 + static_cast<DWORD>(digit);
    }
    value.type = REG_DWORD;
    value.data.assign(reinterpret_cast<unsigned char*>(&number),
                      reinterpret_cast<unsigned char*>(&number) + sizeof number);
    return true;
  }
  std::size_t listStart = 0;
  if (part.compare(0, 4, L"hex:") == 0) {
    value.type = REG_BINARY;
    listStart = 4;
  } else if (part.compare(0, 4, L"hex(") == 0) {
    const std::size_t close = part.find(L"):", 4);
    if (close == std::wstring::npos || close == 4 || close > 12) return false;
    unsigned long long number = 0;
    for (std::size_t i = 4; i < close; ++i) {
      const int digit = HexDigit(part[i]);
      if (digit < 0) return false;
      number = number * 16 + static_cast<unsigned>(digit);
    }
    if (number > 0xFFFFFFFFull) return false;
    value.type = static_cast<DWORD>(number);
    listStart = close + 2;
  } else {
    return false;
  }
  if (!ReadByteList(part.substr(listStart), value.data)) return false;
  if ((value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ) &&
      !value.data.empty()) {
    if (value.data.back() != 0) value.data.push_back(0);
    value.data = WideBytes(Widen(reinterpret_cast<const char*>(value.data.data()),
                                 value.data.size()));
  }
  return true;
}

bool ReadValueLine(const std::wstring& line, std::wstring& name, StoredValue& value) {
  std::size_t pos = 0;
  if (line.compare(0, 2, L"@=") == 0) {
    name.clear();
    pos = 1;
  } else if (!line.empty() && line[0] == L'"') {
    pos = 1;
    if (!ReadQuoted(line, pos, name)) return false;
  } else {
    return false;
  }
  if (pos >= line.size() || line[pos] != L'=') return false;
  return ReadData(line.substr(pos + 1), value);
}

// The registry that importing `text` builds, or false for a line the
// model does not know (the caller then cannot vouch for the restore).
bool ImportModel(const std::string& text, KeyTree& tree) {
  std::wstring current;
  bool inKey = false;
  std::string logical;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    logical.append(text, start, end - start);
    start = end + 1;
    // A byte list goes on in the next line after ",\".
    if (logical.size() >= 2 && logical.compare(logical.size() - 2, 2, ",\\") == 0) {
      logical.pop_back();
      continue;
    }
    const std::wstring line = Widen(logical);
    logical.clear();
    if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
      current = line.substr(1, line.size() - 2);
      if (current.empty() || current.back() == L'\\') return false;
      // The import creates every missing parent as well.
      for (std::size_t cut = current.find(L'\\'); cut != std::wstring::npos;
           cut = current.find(L'\\', cut + 1)) {
        if (cut == 0 || current[cut - 1] == L'\\') return false;
        tree[current.substr(0, cut)];
      }
      tree[current];
      inKey = true;
      continue;
    }
    std::wstring name;
    StoredValue value;
    if (!inKey || !ReadValueLine(line, name, value)) return false;
    tree[current][name] = value;
  }
  return logical.empty();
}

// The part of the tree at and below `path`.
KeyTree Subtree(const KeyTree& tree, const std::wstring& path) {
  KeyTree part;
  for (const auto& entry : tree) {
    const std::wstring& key = entry.first;
    if (key == path || (key.size() > path.size() && key.compare(0, path.size(), path) == 0 &&
                        key[path.size()] == L'\\'))
      part.insert(entry);
  }
  return part;
}

bool ValueRestoresExactly(HKEY key, const std::string& keyPath, const std::string& valueName) {
  StoredValue stored;
  const Lookup found = ReadWideValue(key, Widen(valueName), stored);
  if (found == Lookup::kFailed) return false;
  if (found == Lookup::kAbsent) return FindApproximateValue(key, valueName) == Lookup::kAbsent;
  KeyTree restored;
  if (!ImportModel(ExportValueText(keyPath, valueName), restored)) return false;
  KeyTree expected;
  expected[Widen(keyPath)][Widen(valueName)] = stored;
  return Subtree(restored, Widen(keyPath)) == expected;
}

bool KeyRestoresExactly(HKEY key, const std::string& keyPath) {
  KeyTree stored;
  if (!ReadWideTree(key, Widen(keyPath), stored)) return false;
  KeyTree restored;
  if (!ImportModel(ExportKeyText(keyPath, 1), restored)) return false;
  return Subtree(restored, Widen(keyPath)) == stored;
}

}  // namespace

bool BackupRestoresExactly(RootKey root, const std::string& key, const std::string& valueName,
                           bool wholeKey) {
  RootKey parsedRoot = 0;
  std::string subkey;
  if (!SplitRegistryPath(FullRegistryPath(root, key), parsedRoot, subkey)) return false;
  const std::string keyPath = subkey.empty() ? RootKeyName(root) : FullRegistryPath(root, subkey);
  RegKey opened;
  const Lookup found = OpenNamedKey(root, subkey, opened);
  if (found != Lookup::kFound) return found == Lookup::kAbsent;
  return wholeKey ? KeyRestoresExactly(opened.Get(), keyPath)
                  : ValueRestoresExactly(opened.Get(), keyPath, valueName);
}
