#pragma once
// The run report as a JSON document (UTF-8).
#include <string>

#include "app/run_report.h"

namespace kelvane {

// The stable name a script reads for a problem kind ("SoftwarePath" for
// IssueCategory::kSoftwarePath); the language key itself for one not known.
std::string CategoryReportName(const std::string& category);

// Registry names and paths are ANSI text; JSON is UTF-8.
std::string AnsiToUtf8(const std::string& text);

// The document, indented for a person to read as well.
std::string RunReportJson(const RunReport& report);

}  // namespace kelvane
