#pragma once
// Shared helpers of the defragmentation tests.
#include <windows.h>

#include <string>

// Whether this process's token has the privilege enabled now.
bool IsPrivilegeEnabled(const char* name);
// Disables the privilege again, so that a test sees who enables it.
void DisablePrivilege(const char* name);
// QueryDosDeviceA of a drive such as "C:"; "" when it has none.
std::string DeviceOfDrive(const std::string& drive);
