#include "defrag/process_privileges.h"

#include <windows.h>

#include <initializer_list>

#include "foundation/scoped_handle.h"

namespace kelvane {

namespace {

// The process token, opened for adjusting privileges.
ScopedKernelHandle OpenProcessTokenForPrivileges() {
  ScopedKernelHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                        token.Receive()))
    token.Release();
  return token;
}

enum class Grant { kUnknownName, kRefused, kGranted };

Grant EnableOn(HANDLE token, const char* name) {
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!LookupPrivilegeValueA(nullptr, name, &privileges.Privileges[0].Luid))
    return Grant::kUnknownName;
  // AdjustTokenPrivileges succeeds even when the token lacks the privilege;
  // only the last error tells.
  SetLastError(ERROR_SUCCESS);
  if (!AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr))
    return Grant::kRefused;
  return GetLastError() == ERROR_SUCCESS ? Grant::kGranted : Grant::kRefused;
}

}  // namespace

bool EnableDefragPrivileges() {
  const ScopedKernelHandle token = OpenProcessTokenForPrivileges();
  if (!token.IsValid()) return false;
  bool all = true;
  for (const char* name : {kBackupPrivilege, kRestorePrivilege, kShutdownPrivilege}) {
    const Grant grant = EnableOn(token.Get(), name);
    if (grant == Grant::kUnknownName) return false;
    if (grant == Grant::kRefused) all = false;
  }
  return all;
}

bool EnableProcessPrivilege(const char* name) {
  const ScopedKernelHandle token = OpenProcessTokenForPrivileges();
  return token.IsValid() && EnableOn(token.Get(), name) == Grant::kGranted;
}

}  // namespace kelvane
