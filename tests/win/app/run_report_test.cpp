#include "app/run_report_json.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

using namespace kelvane;
using nlohmann::json;

namespace {

ScanIssue Issue(RootKey root, const std::string& key, const std::string& value, bool wholeKey,
                const char* category) {
  ScanIssue issue;
  issue.root = root;
  issue.key = key;
  issue.valueName = value;
  issue.wholeKey = wholeKey;
  issue.category = category;
  return issue;
}

JobReport FixJob() {
  JobReport fix;
  fix.job = "fix";
  const RootKey hkcu = static_cast<RootKey>(0x80000001u);
  const RootKey hklm = static_cast<RootKey>(0x80000002u);
  fix.found = {Issue(hkcu, "Software\\Gone", "Path", false, IssueCategory::kSoftwarePath),
               Issue(hklm, "Software\\Classes\\.gone", "", true, IssueCategory::kFileAssociation),
               Issue(hkcu, "Software\\Caf\xe9", "", false, IssueCategory::kSoftwarePath)};
  fix.removed = {true, true, false};
  fix.partialBackup = "C:\\Kelvane\\PartialBackup\\2024-05-01_10-00-00.reg";
  return fix;
}

json Parse(const RunReport& report) { return json::parse(RunReportJson(report)); }

}  // namespace

TEST(RunReportJson, FixEntriesCarryRootKeyValueAndCategory) {
  RunReport report;
  report.jobs = {FixJob()};
  const json fix = Parse(report)["jobs"][0];
  EXPECT_EQ(fix["outcome"], "done");
  EXPECT_EQ(fix["found"], 3);
  ASSERT_EQ(fix["removed"].size(), 2u);
  EXPECT_EQ(fix["removed"][0], json({{"root", "HKEY_CURRENT_USER"},
                                     {"key", "Software\\Gone"},
                                     {"value", "Path"},
                                     {"category", "SoftwarePath"}}));
  // A whole key has no value; a key's default value is the empty name.
  EXPECT_TRUE(fix["removed"][1]["value"].is_null());
  EXPECT_EQ(fix["removed"][1]["root"], "HKEY_LOCAL_MACHINE");
  ASSERT_EQ(fix["cannotRemove"].size(), 1u);
  EXPECT_EQ(fix["cannotRemove"][0]["value"], "");
  // ANSI text (code page 1252 here) arrives as UTF-8.
  EXPECT_EQ(fix["cannotRemove"][0]["key"], "Software\\Caf\xc3\xa9");
  EXPECT_EQ(fix["categories"], json({{"SoftwarePath", {{"found", 2}, {"removed", 1}}},
                                     {"FileAssociation", {{"found", 1}, {"removed", 1}}}}));
  EXPECT_EQ(fix["partialBackup"], "C:\\Kelvane\\PartialBackup\\2024-05-01_10-00-00.reg");
}

TEST(RunReportJson, AFixWhoseBackupFailedListsNothingAsRemovedOrKept) {
  JobReport fix = FixJob();
  fix.outcome = JobOutcome::kFailed;
  fix.exitCode = 2;
  fix.removed.clear();
  fix.partialBackup.clear();
  RunReport report;
  report.exitCode = 2;
  report.jobs = {fix};
  const json document = Parse(report);
  const json& job = document["jobs"][0];
  EXPECT_EQ(document["exitCode"], 2);
  EXPECT_EQ(job["outcome"], "failed");
  EXPECT_EQ(job["found"], 3);
  EXPECT_TRUE(job["removed"].empty());
  EXPECT_TRUE(job["cannotRemove"].empty());
  EXPECT_TRUE(job["partialBackup"].is_null());
  EXPECT_EQ(job["categories"]["SoftwarePath"]["removed"], 0);
}

TEST(RunReportJson, BackupDefragRefusedAndTimes) {
  JobReport backup;
  backup.job = "backup";
  backup.backupFolder = "C:\\Kelvane\\Backup\\2024-05-01-10-00-00";
  backup.backupSize = 5000000000ull;  // beyond 32 bits
  JobReport refused;
  refused.job = "fix";
  refused.outcome = JobOutcome::kRefused;
  refused.exitCode = 16;
  refused.message = "Run the 64-bit build.";
  refused.found = FixJob().found;  // nothing of a refused job is reported but why
  JobReport defrag;
  defrag.job = "defrag";
  HiveEntry analysed;
  analysed.name = "\\REGISTRY\\MACHINE\\SOFTWARE";
  analysed.file = "C:\\Windows\\System32\\config\\SOFTWARE";
  analysed.fileSize = 4096;
  analysed.compactFile = analysed.file + ".regan613";
  analysed.compactSize = 2048;
  HiveEntry skipped = analysed;
  skipped.compactFile.clear();
  skipped.compactSize = 0;
  defrag.hives = {analysed, skipped};
  RunReport report;
  report.version = "3.0.0.0";
  report.started = {2024, 5, 1, 10, 0, 0};
  report.ended = {2024, 5, 1, 10, 2, 9};
  report.exitCode = 16;
  report.jobs = {backup, refused, defrag};
  const json document = Parse(report);
  EXPECT_EQ(document["program"], "Kelvane");
  EXPECT_EQ(document["version"], "3.0.0.0");
  EXPECT_EQ(document["started"], "2024-05-01T10:00:00");
  EXPECT_EQ(document["ended"], "2024-05-01T10:02:09");
  const json& jobs = document["jobs"];
  EXPECT_EQ(jobs[0]["folder"], "C:\\Kelvane\\Backup\\2024-05-01-10-00-00");
  EXPECT_EQ(jobs[0]["size"], 5000000000ull);
  EXPECT_EQ(jobs[1], json({{"job", "fix"},
                           {"outcome", "refused"},
                           {"exitCode", 16},
                           {"message", "Run the 64-bit build."}}));
  ASSERT_EQ(jobs[2]["hives"].size(), 2u);
  EXPECT_EQ(jobs[2]["hives"][0]["compactSize"], 2048);
  EXPECT_EQ(jobs[2]["hives"][0]["size"], 4096);
  EXPECT_TRUE(jobs[2]["hives"][1]["compactFile"].is_null());
}

TEST(CategoryReportName, EveryProblemKindHasAStableName) {
  const char* kKinds[] = {
      IssueCategory::kSoftwarePath,    IssueCategory::kComObject, IssueCategory::kUninstallEntry,
      IssueCategory::kHistoryList,     IssueCategory::kMenuOrder, IssueCategory::kEmptySoftwareKey,
      IssueCategory::kFileAssociation, IssueCategory::kSharedDll, IssueCategory::kLocale,
      IssueCategory::kTimeZone,        IssueCategory::kStartup};
  std::set<std::string> names;
  for (const char* kind : kKinds) {
    const std::string name = CategoryReportName(kind);
    EXPECT_NE(name, kind);
    EXPECT_TRUE(names.insert(name).second) << name;
  }
}
