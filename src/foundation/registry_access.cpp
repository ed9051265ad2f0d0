#include "foundation/registry_access.h"

#include <vector>

#include "foundation/ansi_text.h"
#include "foundation/registry_key.h"

namespace kelvane {

bool DeleteRegistryValue(const std::string& fullKeyPath, const std::string& valueName) {
  RootKey root = 0;
  std::string subkey;
  if (!SplitRegistryPath(fullKeyPath, root, subkey)) return false;
  RegKey key;
  if (key.Open(root, subkey, KEY_SET_VALUE) != ERROR_SUCCESS) return false;
  return RegDeleteValueA(key.Get(), valueName.c_str()) == ERROR_SUCCESS;
}

DWORD LongestValueData(HKEY key) {
  DWORD longest = 0;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       &longest, nullptr, nullptr) != ERROR_SUCCESS)
    return 0;
  return longest;
}

bool ReadValueText(HKEY key, const std::string& valueName, std::size_t limit, std::string& text) {
  const std::wstring name = AnsiToWide(valueName);
  std::vector<BYTE> data;
  DWORD type = 0;
  DWORD size = 512;
  LONG status = ERROR_MORE_DATA;
  for (int attempt = 0; attempt < 4 && status == ERROR_MORE_DATA; ++attempt) {
    data.assign(size + sizeof(wchar_t), 0);
    status = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
  }
  if (status != ERROR_SUCCESS) return false;
  if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)
    text =
        WideToAnsiNoBestFit(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
  else
    text.assign(reinterpret_cast<const char*>(data.data()), size);
  text = text.c_str();  // up to the first NUL
  return text.size() < limit;
}

std::string ReadRegistryString(RootKey root, const std::string& subkey,
                               const std::string& valueName) {
  RegKey key;
  std::string text;
  if (key.Open(root, subkey) != ERROR_SUCCESS ||
      !ReadValueText(key.Get(), valueName, static_cast<std::size_t>(-1), text))
    return std::string();
  return text;
}

}  // namespace kelvane
