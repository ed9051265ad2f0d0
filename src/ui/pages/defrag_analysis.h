#pragma once
// The analysis the defragmentation page runs behind its wait window: every
// hive's compact copy, with the bar at (i + 1) / n before hive i, and a stop
// request honoured only between two hives, never inside a save.
#include "defrag/hive_discovery.h"
#include "ui/dialogs/wait_dialog.h"

namespace kelvane {

// Runs on the wait window's worker. True when every hive was analysed (the
// message then reads "L0039"); false when it stopped on request ("L0040"),
// and then no entry holds a copy: a half-done analysis is never offered for
// replacement.
bool AnalyseHivesForWaitWindow(HiveList& hives, const WaitReporter& reporter);

}  // namespace kelvane
