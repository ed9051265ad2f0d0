#include "repair/backup_names.h"

#include <cstdint>

#include "foundation/file_path_rules.h"

namespace kelvane {

namespace {

// A name with six numbers that are no real date has no age: treating it as
// a backup would delete it on a meaningless day count.
bool ParseBackupStamp(const std::string& text, const char* format, LocalDateTime& stamp) {
  LocalDateTime parsed;
  if (!ParseStamp(text, format, parsed) || !IsValidDateTime(parsed)) return false;
  stamp = parsed;
  return true;
}

}  // namespace

std::string FullBackupName(const LocalDateTime& time) {
  return FormatStamp(kFullBackupStampFormat, time);
}

std::string PartialBackupName(const LocalDateTime& time) {
  return FormatStamp(kPartialBackupStampFormat, time);
}

bool ParseFullBackupName(const std::string& folderName, LocalDateTime& stamp) {
  return ParseBackupStamp(folderName, kFullBackupStampFormat, stamp);
}

bool ParsePartialBackupName(const std::string& fileName, LocalDateTime& stamp) {
  return ParseBackupStamp(GetFileNameOf(fileName, false), kPartialBackupStampFormat, stamp);
}

bool IsBackupOldEnough(const LocalDateTime& stamp, const LocalDateTime& now, int days) {
  if (days < 1 || ToTicks(stamp) > ToTicks(now)) return false;
  return BackupAge(now, stamp).days >= static_cast<std::uint64_t>(days);
}

}  // namespace kelvane
