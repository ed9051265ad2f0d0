#include "support/registry_sandbox.h"

#include <shlwapi.h>

#include <atomic>
#include <cstdlib>
#include <vector>

namespace {

RegKey CreatedKey(HKEY parent, const std::string& key) {
  HKEY created = nullptr;
  EXPECT_EQ(RegCreateKeyA(parent, key.c_str(), &created), ERROR_SUCCESS) << "cannot create " << key;
  return RegKey(created);
}

// Deletes the scratch keys of test processes that are gone (a crashed run
// leaves its keys behind).
void RemoveStaleSandboxes(const char* parent) {
  RegKey sandboxes;
  if (sandboxes.Open(HKEY_CURRENT_USER, parent) != ERROR_SUCCESS) return;
  std::vector<std::string> stale;
  char name[256];
  for (DWORD i = 0; RegEnumKeyA(sandboxes.Get(), i, name, sizeof name) == ERROR_SUCCESS; ++i) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, std::strtoul(name, nullptr, 10));
    const bool alive = process != nullptr && WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    if (process != nullptr) CloseHandle(process);
    if (!alive) stale.push_back(name);
  }
  for (const std::string& key : stale) SHDeleteKeyA(sandboxes.Get(), key.c_str());
}

}  // namespace

RegistrySandbox::RegistrySandbox() {
  static std::atomic<int> sequence{0};
  if (sequence == 0) RemoveStaleSandboxes("Software\\KelvaneTestSandbox");
  base_ = "Software\\KelvaneTestSandbox\\" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++sequence);
  // A run that crashed may have left its keys under a process id now reused.
  SHDeleteKeyA(HKEY_CURRENT_USER, base_.c_str());
  for (RootKey root : {kClassesRoot, kCurrentUser, kLocalMachine, kUsers}) {
    RegKey scratch = CreatedKey(HKEY_CURRENT_USER, base_ + "\\" + RootKeyName(root));
    if (scratch.IsOpen()) overrides_.emplace_back(ToHkey(root), scratch.Release());
  }
  // Redirect only after every scratch key exists below the real root.
  for (auto& entry : overrides_)
    EXPECT_EQ(RegOverridePredefKey(entry.first, entry.second), ERROR_SUCCESS);
}

RegistrySandbox::~RegistrySandbox() {
  for (auto& entry : overrides_) {
    RegOverridePredefKey(entry.first, nullptr);
    RegCloseKey(entry.second);
  }
  SHDeleteKeyA(HKEY_CURRENT_USER, base_.c_str());
}

void CreateKey(RootKey root, const std::string& key) { CreatedKey(ToHkey(root), key); }
