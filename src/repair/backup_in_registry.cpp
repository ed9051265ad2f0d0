#include "repair/backup_in_registry.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "foundation/ansi_text.h"
#include "foundation/registry_key.h"
#include "foundation/registry_path.h"
#include "foundation/scoped_handle.h"
#include "repair/reg_file_format.h"
#include "repair/reg_import_model.h"

namespace kelvane {

namespace {

bool ReadFileBytes(const std::string& path, std::string& bytes) {
  ScopedStdioFile file(std::fopen(path.c_str(), "rb"));
  if (!file.IsValid()) return false;
  char buffer[4096];
  for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, file.Get())) > 0;)
    bytes.append(buffer, read);
  return std::ferror(file.Get()) == 0;
}

// The lines after the header, each ending in "\n", as the import model
// reads them: files are written in text mode (CR LF), and blank lines
// carry nothing.
bool ReadBackupLines(const std::string& path, std::string& lines) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return false;
  bool header = false;
  for (std::size_t start = 0; start < bytes.size();) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!header) {
      if (line != kRegFileHeader) return false;
      header = true;
    } else if (!line.empty()) {
      lines += line + "\n";
    }
  }
  return header;
}

bool SameValue(HKEY key, const std::wstring& name, const WideRegValue& expected) {
  WideRegValue found;
  DWORD size = static_cast<DWORD>(expected.data.size()) + 2;
  for (int attempt = 0; attempt < 4; ++attempt) {
    found.data.assign(size, 0);
    DWORD length = size;
    const LONG status =
        RegQueryValueExW(key, name.c_str(), nullptr, &found.type, found.data.data(), &length);
    if (status == ERROR_SUCCESS) {
      found.data.resize(length);
      return found == expected;
    }
    if (status != ERROR_MORE_DATA) return false;
    size = length + 2;
  }
  return false;
}

bool KeyHoldsValues(const std::wstring& path, const WideRegValues& values) {
  const std::size_t cut = path.find(L'\\');
  const RootKey root = ParseRootKeyName(WideToAnsi(path.substr(0, cut)));
  if (root == 0) return false;
  const std::wstring subkey = cut == std::wstring::npos ? std::wstring() : path.substr(cut + 1);
  RegKey key;
  if (key.OpenFollowingLinks(ToHkey(root), subkey, KEY_QUERY_VALUE) != ERROR_SUCCESS) return false;
  for (const auto& value : values)
    if (!SameValue(key.Get(), value.first, value.second)) return false;
  return true;
}

}  // namespace

bool RegistryHoldsBackup(const std::string& regFilePath) {
  std::string lines;
  WideRegTree tree;
  if (!ReadBackupLines(regFilePath, lines) || !ImportModel(lines, tree) || tree.empty())
    return false;
  for (const auto& key : tree)
    if (!KeyHoldsValues(key.first, key.second)) return false;
  return true;
}

}  // namespace kelvane
