#pragma once
// Gives a test exactly the registry it builds: the four predefined roots
// HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and HKEY_USERS
// are redirected for this process to empty scratch keys, which are removed
// again afterwards.
#include <windows.h>

#include <string>
#include <vector>

#include "foundation/registry_path.h"

class RegistrySandbox {
 public:
  RegistrySandbox();
  ~RegistrySandbox();
  RegistrySandbox(const RegistrySandbox&) = delete;
  RegistrySandbox& operator=(const RegistrySandbox&) = delete;

  // The real path (below the real HKEY_CURRENT_USER) that stands for `root`.
  std::string ScratchPathOf(RootKey root) const;

 private:
  std::string base_;
  std::vector<std::pair<HKEY, HKEY>> overrides_;
};

// Registry helpers for building test registries (through the redirected
// roots while a sandbox exists). They fail the current test on error.
void CreateKey(RootKey root, const std::string& key);
void SetValue(RootKey root, const std::string& key, const std::string& name, DWORD type,
              const void* data, DWORD size);
void SetString(RootKey root, const std::string& key, const std::string& name,
               const std::string& value, DWORD type = REG_SZ);
void SetDword(RootKey root, const std::string& key, const std::string& name, DWORD value);
bool KeyExists(RootKey root, const std::string& key);
bool ValueExists(RootKey root, const std::string& key, const std::string& name);
void DeleteTree(RootKey root, const std::string& key);

// Removes the scratch keys of test runs whose process is gone.
void RemoveStaleSandboxes();
