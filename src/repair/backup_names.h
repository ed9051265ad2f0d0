#pragma once
// Backups carry their time in their names: Backup\<stamp>\ for full backups
// and PartialBackup\<stamp>.reg for partial ones. The age of a backup is read
// from that name only, never from file times.
#include <string>

#include "foundation/time_stamp.h"

namespace kelvane {

// The folder name of a full backup taken at `time`.
std::string FullBackupName(const LocalDateTime& time);

// The file name, without extension, of a partial backup written at `time`.
std::string PartialBackupName(const LocalDateTime& time);

// The stamp of a full backup folder's name. False for any name that is no
// backup: fewer than six numbers, or six numbers that are no real date.
bool ParseFullBackupName(const std::string& folderName, LocalDateTime& stamp);

// The stamp of a partial backup file's name (its extension is ignored), by
// the same rules.
bool ParsePartialBackupName(const std::string& fileName, LocalDateTime& stamp);

// Whether a backup stamped `stamp` is `days` or more whole days older than
// `now`. A stamp that lies in the future is never old enough (a clock set
// back must not make every backup look old), nor is any backup for a day
// count below 1.
bool IsBackupOldEnough(const LocalDateTime& stamp, const LocalDateTime& now, int days);

}  // namespace kelvane
