#include "registry_dump.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "registry_path_w.h"
#include "wide_text.h"

namespace {

struct KeyRecord {
  std::wstring sortPath;                                     // wide path, for the order
  std::string path;                                          // escaped path, as printed
  std::vector<std::pair<std::wstring, std::string>> values;  // name, printed line
  bool unreadable = false;
};

struct Dumper {
  const std::vector<std::wstring>& skip;
  std::vector<KeyRecord> keys;

  bool IsSkipped(const std::wstring& path) const {
    for (const std::wstring& item : skip) {
      if (path.size() < item.size()) continue;
      if (_wcsnicmp(path.c_str(), item.c_str(), item.size()) != 0) continue;
      if (path.size() == item.size() || path[item.size()] == L'\\') return true;
    }
    return false;
  }

  static std::string ValueLine(const std::wstring& name, DWORD type, const unsigned char* data,
                               DWORD size) {
    std::string line = name.empty() ? "@" : "\"" + EscapeName(name) + "\"";
    line += "=" + std::to_string(type) + ":" + HexBytes(data, size);
    return line;
  }

  void ReadValues(HKEY key, KeyRecord& record) {
    DWORD valueCount = 0, longestName = 0, longestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount,
                         &longestName, &longestData, nullptr, nullptr) != ERROR_SUCCESS) {
      record.unreadable = true;
      return;
    }
    std::wstring name(longestName + 2, L'\0');
    std::vector<unsigned char> data(longestData + 2);
    for (DWORD i = 0; i < valueCount; ++i) {
      DWORD nameLength = static_cast<DWORD>(name.size());
      DWORD dataLength = static_cast<DWORD>(data.size());
      DWORD type = 0;
      const LONG status =
          RegEnumValueW(key, i, &name[0], &nameLength, nullptr, &type, data.data(), &dataLength);
      if (status != ERROR_SUCCESS) {
        record.unreadable = true;
        continue;
      }
      const std::wstring valueName(name.c_str(), nameLength);
      record.values.emplace_back(valueName, ValueLine(valueName, type, data.data(), dataLength));
    }
    std::sort(record.values.begin(), record.values.end(),
              [](const auto& a, const auto& b) { return NameLess(a.first, b.first); });
  }

  void Walk(HKEY root, const std::wstring& subkey, const std::wstring& fullPath,
            const std::string& printedPath) {
    if (IsSkipped(fullPath)) return;
    keys.push_back({fullPath, printedPath, {}, false});
    const size_t index = keys.size() - 1;
    KeyHandle key;
    // A symbolic link is listed as itself (its SymbolicLinkValue), not
    // followed, so that every key appears once, under its real path.
    if (RegOpenKeyExW(root, subkey.c_str(), REG_OPTION_OPEN_LINK, KEY_READ, key.Out()) !=
        ERROR_SUCCESS) {
      keys[index].unreadable = true;
      return;
    }
    KeyRecord record = std::move(keys[index]);
    ReadValues(key.Get(), record);
    keys[index] = std::move(record);

    std::vector<std::wstring> children;
    wchar_t child[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = 256;
      const LONG status =
          RegEnumKeyExW(key.Get(), i, child, &length, nullptr, nullptr, nullptr, nullptr);
      if (status == ERROR_NO_MORE_ITEMS) break;
      if (status != ERROR_SUCCESS) {
        keys[index].unreadable = true;
        break;
      }
      children.emplace_back(child, length);
    }
    for (const std::wstring& name : children) {
      const std::wstring childSubkey = subkey.empty() ? name : subkey + L"\\" + name;
      Walk(root, childSubkey, fullPath + L"\\" + name, printedPath + "\\" + EscapeName(name));
    }
  }
};

}  // namespace

bool DumpRegistry(const std::vector<std::wstring>& roots, const std::vector<std::wstring>& skip,
                  std::FILE* out) {
  Dumper dumper{skip, {}};
  for (std::wstring path : roots) {
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    HKEY root = nullptr;
    std::wstring subkey;
    if (!SplitPathW(path, root, subkey)) return false;
    std::string printed;
    for (wchar_t c : path)
      printed += c == L'\\' ? std::string("\\") : EscapeName(std::wstring(1, c));
    dumper.Walk(root, subkey, path, printed);
  }
  std::sort(dumper.keys.begin(), dumper.keys.end(), [](const KeyRecord& a, const KeyRecord& b) {
    return NameLess(a.sortPath, b.sortPath);
  });
  for (const KeyRecord& key : dumper.keys) {
    std::fprintf(out, "[%s]\n", key.path.c_str());
    if (key.unreadable) std::fprintf(out, "!unreadable\n");
    for (const auto& value : key.values) std::fprintf(out, "%s\n", value.second.c_str());
  }
  return true;
}
