#include "foundation/registry_access.h"

#include <new>
#include <vector>

#include "foundation/registry_key.h"

bool DeleteRegistryValue(const std::string& fullKeyPath, const std::string& valueName) {
  RootKey root = 0;
  std::string subkey;
  if (!SplitRegistryPath(fullKeyPath, root, subkey)) return false;
  RegKey key;
  if (key.Open(root, subkey) != ERROR_SUCCESS) return false;
  return RegDeleteValueA(key.Get(), valueName.c_str()) == ERROR_SUCCESS;
}

DWORD LongestValueData(HKEY key) {
  DWORD longest = 0;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, &longest, nullptr, nullptr) != ERROR_SUCCESS)
    return 0;
  return longest;
}

std::string ReadRegistryString(RootKey root, const std::string& subkey,
                               const std::string& valueName) {
  RegKey key;
  if (key.Open(root, subkey) != ERROR_SUCCESS) return std::string();
  // One byte more than the longest data keeps the text terminated; a
  // buffer that cannot be had gives "" like any other failure.
  std::vector<char> buffer;
  try {
    buffer.assign(static_cast<std::size_t>(LongestValueData(key.Get())) + 1, 0);
  } catch (const std::bad_alloc&) {
    return std::string();
  }
  DWORD size = static_cast<DWORD>(buffer.size());
  if (RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, nullptr,
                       reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
    return std::string();
  buffer.back() = 0;
  return std::string(buffer.data());
}
