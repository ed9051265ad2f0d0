#pragma once
// Where the two kinds of backups live below the program folder.
#include <string>

#include "foundation/file_checks.h"

namespace kelvane {

// programFolder\Backup: one stamped subfolder per full backup.
inline std::string FullBackupRoot(const std::string& programFolder) {
  return programFolder + "\\Backup";
}

// programFolder\PartialBackup: one stamped .reg file per fix.
inline std::string PartialBackupRoot(const std::string& programFolder) {
  return programFolder + "\\PartialBackup";
}

// Every name: backups are recognised by parsing the name, not by a pattern.
inline const PatternTable& AnyName() {
  static const PatternTable kAnyName = {{"*", ""}};
  return kAnyName;
}

}  // namespace kelvane
