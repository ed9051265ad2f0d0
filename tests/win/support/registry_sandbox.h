#pragma once
// Gives a test exactly the registry it builds: HKEY_CLASSES_ROOT,
// HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and HKEY_USERS are redirected for this
// process to empty scratch keys, which are removed again afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "foundation/registry_key.h"

namespace kelvane {

class RegistrySandbox {
 public:
  RegistrySandbox();
  ~RegistrySandbox();
  RegistrySandbox(const RegistrySandbox&) = delete;
  RegistrySandbox& operator=(const RegistrySandbox&) = delete;

  // The kernel path of a key below a sandboxed root, as a registry link
  // names its target ("\\REGISTRY\\USER\\<sid>\\...").
  std::wstring KernelPath(RootKey root, const std::string& key) const;

 private:
  std::string base_;
  std::vector<std::pair<HKEY, HKEY>> overrides_;  // root -> its scratch key
};

// For building test registries through the (redirected) roots. Missing keys
// are created; a failure fails the current test.
void CreateKey(RootKey root, const std::string& key);

inline void SetValue(RootKey root, const std::string& key, const std::string& name, DWORD type,
                     const void* data, DWORD size) {
  EXPECT_EQ(RegSetKeyValueA(ToHkey(root), key.c_str(), name.c_str(), type, data, size),
            ERROR_SUCCESS)
      << "cannot set " << RootKeyName(root) << "\\" << key << "\\" << name;
}
inline void SetString(RootKey root, const std::string& key, const std::string& name,
                      const std::string& value, DWORD type = REG_SZ) {
  SetValue(root, key, name, type, value.c_str(), static_cast<DWORD>(value.size() + 1));
}
inline void SetDword(RootKey root, const std::string& key, const std::string& name, DWORD value) {
  SetValue(root, key, name, REG_DWORD, &value, sizeof value);
}

// A registry link at `key` whose target is the kernel path `target`.
void CreateLink(RootKey root, const std::string& key, const std::wstring& target);

inline bool KeyExists(RootKey root, const std::string& key) {
  return OpenRegKey(root, key).IsOpen();
}
inline bool ValueExists(RootKey root, const std::string& key, const std::string& name) {
  return RegQueryValueExA(OpenRegKey(root, key).Get(), name.c_str(), nullptr, nullptr, nullptr,
                          nullptr) == ERROR_SUCCESS;
}

}  // namespace kelvane
