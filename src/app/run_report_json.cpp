#include "app/run_report_json.h"

#include <windows.h>

#include <map>
#include <nlohmann/json.hpp>

#include "foundation/ansi_text.h"
#include "foundation/registry_path.h"

namespace kelvane {

namespace {

using nlohmann::json;

constexpr const char* kReportTimeFormat = "%04d-%02d-%02dT%02d:%02d:%02d";

const char* OutcomeName(JobOutcome outcome) {
  switch (outcome) {
    case JobOutcome::kDone:
      return "done";
    case JobOutcome::kFailed:
      return "failed";
    case JobOutcome::kRefused:
      return "refused";
    case JobOutcome::kCrashed:
      return "crashed";
  }
  return "crashed";
}

json Text(const std::string& ansi) { return AnsiToUtf8(ansi); }

// Null rather than "" for what does not exist, so a script cannot take it
// for a path.
json TextOrNull(const std::string& ansi) { return ansi.empty() ? json() : Text(ansi); }

json EntryJson(const ScanIssue& issue) {
  json entry;
  entry["root"] = RootKeyName(issue.root);
  entry["key"] = Text(issue.key);
  // A whole key has no value; "" is the key's default value.
  entry["value"] = issue.wholeKey ? json() : Text(issue.valueName);
  entry["category"] = CategoryReportName(issue.category);
  return entry;
}

void AddFixFields(const JobReport& job, json& out) {
  const bool judged = job.removed.size() == job.found.size();
  json removed = json::array();
  json kept = json::array();
  std::map<std::string, std::pair<int, int>> counts;  // found, removed
  for (std::size_t i = 0; i < job.found.size(); ++i) {
    const ScanIssue& issue = job.found[i];
    auto& count = counts[CategoryReportName(issue.category)];
    ++count.first;
    if (!judged) continue;
    if (job.removed[i]) {
      ++count.second;
      removed.push_back(EntryJson(issue));
    } else {
      kept.push_back(EntryJson(issue));
    }
  }
  json categories = json::object();
  for (const auto& count : counts)
    categories[count.first] = {{"found", count.second.first}, {"removed", count.second.second}};
  out["found"] = job.found.size();
  out["categories"] = categories;
  out["removed"] = removed;
  out["cannotRemove"] = kept;
  out["partialBackup"] = TextOrNull(job.partialBackup);
}

void AddDefragFields(const JobReport& job, json& out) {
  json hives = json::array();
  for (const HiveEntry& hive : job.hives) {
    hives.push_back({{"name", Text(hive.name)},
                     {"file", Text(hive.file)},
                     {"size", hive.fileSize},
                     {"compactFile", TextOrNull(hive.compactFile)},
                     {"compactSize", hive.compactSize}});
  }
  out["hives"] = hives;
}

json JobJson(const JobReport& job) {
  json out;
  out["job"] = job.job;
  out["outcome"] = OutcomeName(job.outcome);
  out["exitCode"] = job.exitCode;
  if (!job.message.empty()) out["message"] = Text(job.message);
  if (job.outcome == JobOutcome::kRefused || job.outcome == JobOutcome::kCrashed) return out;
  if (job.job == "backup") {
    out["folder"] = TextOrNull(job.backupFolder);
    out["size"] = job.backupSize;
  } else if (job.job == "fix") {
    AddFixFields(job, out);
  } else if (job.job == "defrag") {
    AddDefragFields(job, out);
  }
  return out;
}

}  // namespace

std::string CategoryReportName(const std::string& category) {
  static const std::map<std::string, std::string> kNames = {
      {IssueCategory::kSoftwarePath, "SoftwarePath"},
      {IssueCategory::kComObject, "ComObject"},
      {IssueCategory::kUninstallEntry, "UninstallEntry"},
      {IssueCategory::kHistoryList, "HistoryList"},
      {IssueCategory::kMenuOrder, "MenuOrder"},
      {IssueCategory::kEmptySoftwareKey, "EmptySoftwareKey"},
      {IssueCategory::kFileAssociation, "FileAssociation"},
      {IssueCategory::kSharedDll, "SharedDll"},
      {IssueCategory::kLocale, "Locale"},
      {IssueCategory::kTimeZone, "TimeZone"},
      {IssueCategory::kStartup, "Startup"},
  };
  const auto found = kNames.find(category);
  return found != kNames.end() ? found->second : category;
}

std::string AnsiToUtf8(const std::string& text) {
  const std::wstring wide = AnsiToWide(text);
  if (wide.empty()) return std::string();
  const int length = static_cast<int>(wide.size());
  const int needed =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return std::string();
  std::string utf8(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, &utf8[0], needed, nullptr, nullptr);
  return utf8;
}

std::string RunReportJson(const RunReport& report) {
  json document;
  document["program"] = "Kelvane";
  document["version"] = Text(report.version);
  document["started"] = FormatStamp(kReportTimeFormat, report.started);
  document["ended"] = FormatStamp(kReportTimeFormat, report.ended);
  document["exitCode"] = report.exitCode;
  json jobs = json::array();
  for (const JobReport& job : report.jobs) jobs.push_back(JobJson(job));
  document["jobs"] = jobs;
  // Text that is not UTF-8 after all is replaced, never a reason to lose
  // the whole report.
  return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace kelvane
