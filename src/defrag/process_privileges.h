#pragma once
// Privileges of this process's token that hive saving, hive replacement and
// the restart need.

namespace kelvane {

constexpr const char* kBackupPrivilege = "SeBackupPrivilege";
constexpr const char* kRestorePrivilege = "SeRestorePrivilege";
constexpr const char* kShutdownPrivilege = "SeShutdownPrivilege";

// Enables the backup, restore and shutdown privileges, in this order, each
// on its own; a name the system does not know ends the list. True when the
// token could be opened and every one of them was granted.
bool EnableDefragPrivileges();

// Enables one privilege alone; true when the system granted it.
bool EnableProcessPrivilege(const char* name);

}  // namespace kelvane
