#pragma once
// Defragments the registry: the system writes a compact copy of every hive
// beside its file, and is asked to swap the copies in at the next start.
#include <cstddef>

#include "defrag/defrag_savings.h"
#include "defrag/hive_discovery.h"

namespace kelvane {

// Suffixes added to the hive file's path.
constexpr const char* kCompactCopySuffix = ".regan613";  // compact copy
constexpr const char* kOldHiveSuffix = ".regbk109";      // old hive after the swap

// Progress codes of AnalyseHives.
enum HiveProgressCode : int {
  kHiveAnalysisStart = 0,    // entry none, index = number of hives
  kHiveAnalysisEnd = 1,      // entry none, index = number of hives
  kHiveBefore = 2,           // before the hive at index
  kHiveAfter = 3,            // after the hive at index
  kHiveAnalysisStopped = 4,  // the hive at index answered stop
  kHiveListEmpty = 5,        // instead of start and end
};

// Answers non-zero to go on, 0 to stop; only the answers to kHiveBefore and
// kHiveAfter count.
using HiveProgressCallback = int (*)(int code, const HiveEntry* entry, std::size_t index,
                                     void* context);

// Saves a compact copy of every usable hive (hive file + ".regan613", an
// older copy of that name deleted first) and records it in the entry. An
// entry whose hive cannot be opened or saved ends with no copy recorded.
// `callback` may be null. False when the callback stopped the analysis.
bool AnalyseHives(HiveList& hives, HiveProgressCallback callback, void* context);

// For every entry whose compact copy exists: records backupFile (hive file
// + ".regbk109") and asks the system to swap the copy in at the next start.
// An older file of that name is moved aside for the request and deleted only
// once the system accepted it; otherwise it is put back. Returns how many
// requests the system accepted.
std::size_t ReplaceHives(HiveList& hives);

// Asks Windows to restart; true when the request was accepted (the restart
// itself happens later, while this process keeps running).
bool RestartWindows();

// The sizes of the hives that have a compact copy, and what the copies save.
DefragSavings SumDefragSavings(const HiveList& hives);

// How many entries hold a compact copy made by the last analysis.
std::size_t CountAnalysedHives(const HiveList& hives);

// The unattended job: analysis of the process hive list without progress,
// then replacement. "LastDefrag" is written only when at least one hive was
// analysed. Never restarts, never shows a window. False when no hive could
// be analysed.
bool RunDefragJob();

}  // namespace kelvane
