#include "support/registry_sandbox.h"

#include <sddl.h>
#include <shlwapi.h>

#include "foundation/ansi_text.h"
#include "foundation/registry_delete.h"
#include "foundation/scoped_handle.h"

#include <atomic>
#include <cstdlib>
#include <vector>

namespace kelvane {

namespace {

RegKey CreatedKey(HKEY parent, const std::string& key) {
  RegKey created;
  EXPECT_EQ(created.Create(parent, key, 0, KEY_ALL_ACCESS), ERROR_SUCCESS)
      << "cannot create " << key;
  return created;
}

// Tests build registry links: a deletion that followed them would reach
// their targets, or go round a loop for ever.
void DeleteTree(HKEY parent, const std::string& key) {
  RegKey tree;
  if (tree.OpenAsItIs(parent, AnsiToWide(key), kDeleteTreeAccess) != ERROR_SUCCESS) return;
  DeleteKeysBelow(tree.Get());
  DeleteOpenKey(tree.Get());
}

std::wstring CurrentUserSid() {
  ScopedKernelHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive())) return std::wstring();
  BYTE buffer[256];
  DWORD size = 0;
  std::wstring sid;
  wchar_t* text = nullptr;
  if (GetTokenInformation(token.Get(), TokenUser, buffer, sizeof buffer, &size) &&
      ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text)) {
    sid = text;
    LocalFree(text);
  }
  return sid;
}

// Deletes the scratch keys of test processes that are gone (a crashed run
// leaves its keys behind).
void RemoveStaleSandboxes(const char* parent) {
  RegKey sandboxes;
  if (sandboxes.Open(HKEY_CURRENT_USER, parent) != ERROR_SUCCESS) return;
  std::vector<std::string> stale;
  char name[256];
  for (DWORD i = 0; RegEnumKeyA(sandboxes.Get(), i, name, sizeof name) == ERROR_SUCCESS; ++i) {
    const ScopedKernelHandle process(
        OpenProcess(SYNCHRONIZE, FALSE, std::strtoul(name, nullptr, 10)));
    const bool alive = process.IsValid() && WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
    if (!alive) stale.push_back(name);
  }
  for (const std::string& key : stale) DeleteTree(sandboxes.Get(), key);
}

}  // namespace

RegistrySandbox::RegistrySandbox() {
  static std::atomic<int> sequence{0};
  if (sequence == 0) RemoveStaleSandboxes("Software\\KelvaneTestSandbox");
  base_ = "Software\\KelvaneTestSandbox\\" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++sequence);
  // A run that crashed may have left its keys under a process id now reused.
  DeleteTree(HKEY_CURRENT_USER, base_);
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
  DeleteTree(HKEY_CURRENT_USER, base_);
}

std::wstring RegistrySandbox::KernelPath(RootKey root, const std::string& key) const {
  return L"\\REGISTRY\\USER\\" + CurrentUserSid() + L"\\" +
         AnsiToWide(base_ + "\\" + RootKeyName(root) + (key.empty() ? "" : "\\" + key));
}

void CreateLink(RootKey root, const std::string& key, const std::wstring& target) {
  RegKey link;
  ASSERT_EQ(link.Create(ToHkey(root), AnsiToWide(key), REG_OPTION_CREATE_LINK,
                        KEY_ALL_ACCESS | KEY_CREATE_LINK),
            ERROR_SUCCESS)
      << "cannot create the link " << key;
  EXPECT_EQ(RegSetValueExW(link.Get(), L"SymbolicLinkValue", 0, REG_LINK,
                           reinterpret_cast<const BYTE*>(target.data()),
                           static_cast<DWORD>(target.size() * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

void CreateKey(RootKey root, const std::string& key) { CreatedKey(ToHkey(root), key); }

}  // namespace kelvane
