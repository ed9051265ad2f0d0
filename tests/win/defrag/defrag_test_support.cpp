#include "defrag_test_support.h"

#include <vector>

namespace {

bool LookupLuid(const char* name, LUID& luid) {
  return LookupPrivilegeValueA(nullptr, name, &luid) != FALSE;
}

}  // namespace

bool IsPrivilegeEnabled(const char* name) {
  LUID luid;
  HANDLE token = nullptr;
  if (!LookupLuid(name, luid) || !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
    return false;
  DWORD size = 0;
  GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  bool enabled = false;
  if (size != 0 && GetTokenInformation(token, TokenPrivileges, buffer.data(), size, &size)) {
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
      const LUID_AND_ATTRIBUTES& entry = privileges->Privileges[i];
      if (entry.Luid.LowPart == luid.LowPart && entry.Luid.HighPart == luid.HighPart)
        enabled = (entry.Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
  }
  CloseHandle(token);
  return enabled;
}

void DisablePrivilege(const char* name) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = 0;
  if (LookupLuid(name, privileges.Privileges[0].Luid))
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  CloseHandle(token);
}

std::string DeviceOfDrive(const std::string& drive) {
  char target[1024] = {};
  if (QueryDosDeviceA(drive.c_str(), target, sizeof target) == 0) return std::string();
  return target;
}
