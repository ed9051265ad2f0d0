#include <gtest/gtest.h>

#include "app/report_switch.h"
#include "foundation/wow64_rules.h"

using namespace kelvane;

TEST(PlanRun, HandsOverOnlyUnderWow64WithTheNativeBuildBeside) {
  EXPECT_EQ(PlanRun(true, true), RunPlan::kHandOver);
  EXPECT_EQ(PlanRun(true, false), RunPlan::kRunHere);
  // A 64-bit or a 32-bit process on 32-bit Windows never starts another build.
  EXPECT_EQ(PlanRun(false, true), RunPlan::kRunHere);
}

TEST(PlanJob, Under64BitWindowsOnlyWhatCanBeDoneCompletely) {
  // clang-format off
  const struct { ProgramJob job; bool wow64, switchable; JobPlan plan; } kCases[] = {
      {ProgramJob::kBackup, false, false, JobPlan::kRun},
      {ProgramJob::kFix, false, false, JobPlan::kRun},
      {ProgramJob::kDefrag, false, false, JobPlan::kRun},
      // The native editor and the native System32\config need the redirection off.
      {ProgramJob::kBackup, true, true, JobPlan::kRun},
      {ProgramJob::kBackup, true, false, JobPlan::kRefuse},
      {ProgramJob::kDefrag, true, true, JobPlan::kRun},
      {ProgramJob::kDefrag, true, false, JobPlan::kRefuse},
      // The scan would judge 64-bit entries through the 32-bit view.
      {ProgramJob::kFix, true, true, JobPlan::kRefuse},
      {ProgramJob::kFix, true, false, JobPlan::kRefuse}};
  // clang-format on
  for (const auto& c : kCases) {
    Wow64Facts facts;
    facts.underWow64 = c.wow64;
    facts.redirectionSwitchable = c.switchable;
    EXPECT_EQ(PlanJob(c.job, facts), c.plan)
        << static_cast<int>(c.job) << " wow64=" << c.wow64 << " switchable=" << c.switchable;
  }
}

TEST(RefusalTextKey, EachJobHasItsOwnKeyInTheRangeForThem) {
  const std::string backup = RefusalTextKey(ProgramJob::kBackup);
  const std::string fix = RefusalTextKey(ProgramJob::kFix);
  const std::string defrag = RefusalTextKey(ProgramJob::kDefrag);
  EXPECT_NE(backup, fix);
  EXPECT_NE(fix, defrag);
  EXPECT_NE(backup, defrag);
  for (const std::string& key : {backup, fix, defrag}) {
    EXPECT_GE(key, "L0290");
    EXPECT_LE(key, "L0299");
  }
}

TEST(NativeRegistryEditor, TheWindowsFolderEditorWithTheRedirectionOffUnderWow64) {
  const EditorLaunch native = NativeRegistryEditor("C:\\Windows\\", false);
  EXPECT_EQ(native.path, "C:\\Windows\\regedit.exe");
  EXPECT_FALSE(native.redirectionOff);
  const EditorLaunch wow64 = NativeRegistryEditor("D:\\WINNT", true);
  EXPECT_EQ(wow64.path, "D:\\WINNT\\regedit.exe");
  EXPECT_TRUE(wow64.redirectionOff);
}

TEST(FindReportRequest, ThePathFollowsTheSwitchWithItsSpellingKept) {
  // clang-format off
  const struct { std::vector<std::string> words; bool asked; const char* path; } kCases[] = {
      {{"fix"}, false, ""},
      {{"fix", "report", "C:\\Reports\\Run One.json"}, true, "C:\\Reports\\Run One.json"},
      {{"REPORT", "D:\\Out\\Run.JSON", "backup"}, true, "D:\\Out\\Run.JSON"},
      // No path: the switch stands, and a job word after it stays a job.
      {{"fix", "report"}, true, ""},
      {{"report", "Fix"}, true, ""},
      {{"report", "defrag"}, true, ""},
      {{"report", "report", "x.json"}, true, ""},
      // Only the first switch counts.
      {{"report", "a.json", "report", "b.json"}, true, "a.json"},
      {{"reports", "a.json"}, false, ""}};
  // clang-format on
  for (const auto& c : kCases) {
    const ReportRequest request = FindReportRequest(c.words);
    EXPECT_EQ(request.asked, c.asked) << c.words.size() << " words, first " << c.words[0];
    EXPECT_EQ(request.path, c.path) << c.words.size() << " words, first " << c.words[0];
  }
}
