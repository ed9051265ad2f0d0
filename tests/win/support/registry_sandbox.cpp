#include "support/registry_sandbox.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <atomic>
#include <cstdio>

#include "foundation/registry_key.h"

namespace {

constexpr const char* kSandboxParent = "Software\\KelvaneTestSandbox";

std::atomic<int> g_sequence{0};

bool ProcessIsAlive(DWORD pid) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (process == nullptr) return false;
  const bool alive = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return alive;
}

const RootKey kSandboxedRoots[] = {kClassesRoot, kCurrentUser, kLocalMachine, kUsers};

}  // namespace

void RemoveStaleSandboxes() {
  RegKey parent;
  if (parent.Open(HKEY_CURRENT_USER, kSandboxParent) != ERROR_SUCCESS) return;
  std::vector<std::string> stale;
  char name[256];
  for (DWORD i = 0; RegEnumKeyA(parent.Get(), i, name, sizeof name) == ERROR_SUCCESS; ++i) {
    unsigned long pid = 0;
    if (std::sscanf(name, "%lu-", &pid) == 1 && !ProcessIsAlive(pid)) stale.push_back(name);
  }
  for (const std::string& key : stale) SHDeleteKeyA(parent.Get(), key.c_str());
}

RegistrySandbox::RegistrySandbox() {
  static bool cleaned = false;
  if (!cleaned) {
    RemoveStaleSandboxes();
    cleaned = true;
  }
  char id[64];
  std::snprintf(id, sizeof id, "%lu-%d", GetCurrentProcessId(), ++g_sequence);
  base_ = std::string(kSandboxParent) + "\\" + id;
  for (RootKey root : kSandboxedRoots) {
    HKEY scratch = nullptr;
    const std::string path = ScratchPathOf(root);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &scratch, nullptr) != ERROR_SUCCESS) {
      ADD_FAILURE() << "cannot create sandbox key " << path;
      continue;
    }
    overrides_.emplace_back(ToHkey(root), scratch);
  }
  // Redirect only after every scratch key exists below the real root.
  for (auto& entry : overrides_) {
    if (RegOverridePredefKey(entry.first, entry.second) != ERROR_SUCCESS)
      ADD_FAILURE() << "RegOverridePredefKey failed";
  }
}

RegistrySandbox::~RegistrySandbox() {
  for (auto& entry : overrides_) {
    RegOverridePredefKey(entry.first, nullptr);
    RegCloseKey(entry.second);
  }
  SHDeleteKeyA(HKEY_CURRENT_USER, base_.c_str());
}

std::string RegistrySandbox::ScratchPathOf(RootKey root) const {
  return base_ + "\\" + RootKeyName(root);
}

void CreateKey(RootKey root, const std::string& key) {
  HKEY created = nullptr;
  const LONG status = RegCreateKeyExA(ToHkey(root), key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                      nullptr, &created, nullptr);
  ASSERT_EQ(status, ERROR_SUCCESS) << "create " << RootKeyName(root) << "\\" << key;
  RegCloseKey(created);
}

void SetValue(RootKey root, const std::string& key, const std::string& name, DWORD type,
              const void* data, DWORD size) {
  HKEY created = nullptr;
  LONG status = RegCreateKeyExA(ToHkey(root), key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &created, nullptr);
  ASSERT_EQ(status, ERROR_SUCCESS) << "create " << RootKeyName(root) << "\\" << key;
  status = RegSetValueExA(created, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(created);
  ASSERT_EQ(status, ERROR_SUCCESS) << "set " << key << "\\" << name;
}

void SetString(RootKey root, const std::string& key, const std::string& name,
               const std::string& value, DWORD type) {
  SetValue(root, key, name, type, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void SetDword(RootKey root, const std::string& key, const std::string& name, DWORD value) {
  SetValue(root, key, name, REG_DWORD, &value, sizeof value);
}

bool KeyExists(RootKey root, const std::string& key) {
  RegKey opened;
  return opened.Open(root, key) == ERROR_SUCCESS;
}

bool ValueExists(RootKey root, const std::string& key, const std::string& name) {
  RegKey opened;
  if (opened.Open(root, key) != ERROR_SUCCESS) return false;
  return RegQueryValueExA(opened.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

void DeleteTree(RootKey root, const std::string& key) { SHDeleteKeyA(ToHkey(root), key.c_str()); }
