#pragma once
// The "/report "path"" switch of an unattended run: the path of the JSON
// document that tells a script what the run did.
#include <string>
#include <vector>

namespace kelvane {

struct ReportRequest {
  bool asked = false;  // the switch stands on the command line
  std::string path;    // the word after it; empty when none could be taken
};

// Looks for the word "report" (any case) in the words as the command line
// gave them (not lower-cased: the path keeps its spelling). The next word is
// the path, unless there is none or it is itself a switch word ("backup",
// "fix", "defrag", "report"): a path must never swallow a job.
ReportRequest FindReportRequest(const std::vector<std::string>& words);

}  // namespace kelvane
