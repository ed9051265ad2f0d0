#pragma once
// The two callers' ends of a fix: the unattended job and the interactive
// fix of the result list.
#include "repair/issue_fixer.h"

namespace kelvane {

// The end of the interactive fix, once the checked rows' issues went
// through FixIssues: "ErrorCnt" becomes the rows that stay and "LastClean"
// the time now, and the fixed rows are to leave the list (the answer). When
// the backup failed nothing was deleted: the rows stay, nothing is written.
bool FinishInteractiveFix(const FixResult& result, int rowsLeft);

// The unattended fix: a whole scan of Settings.xml's areas, then FixIssues
// on everything found; writes "LastScan", "ErrorCnt" and "LastClean". The
// issues found are handed out through `found` when given, in the order of
// the result's flags.
FixResult RunFixJob(const std::string& programFolder, IssueList* found = nullptr);

}  // namespace kelvane
