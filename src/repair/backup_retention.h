#pragma once
// The retention passes run at the end of every run: delete the backups of
// each kind whose stamp is "AutoDel...Days" or more days older than now,
// when "AutoDel..." is on. Names that are no stamp are never touched, nor is
// a backup stamped in the future or one this process made.
#include <string>

namespace kelvane {

void PrunePartialBackups(const std::string& programFolder);
void PruneFullBackups(const std::string& programFolder);

// Remembers a backup (a partial backup file or a full backup folder) that
// this process wrote: retention leaves it alone whatever its stamp says.
void NoteBackupOfThisRun(const std::string& path);

}  // namespace kelvane
