// The jobs' tasks in the prefix's real Task Scheduler: made whole with their
// triggers, read back, found by what they run, deleted; a taken name left
// alone; and the words for a trigger where the scheduler gives none.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/language_table.h"
#include "support/scheduler_sandbox.h"
#include "support/scratch_folder.h"
#include "support/test_paths.h"
#include "ui/schedule/task_scheduler.h"
#include "ui/schedule/trigger_text.h"

using namespace kelvane;

namespace {

const char kProgram[] = "C:\\Program Files\\Kelvane\\Kelvane.exe";

class TaskSchedulerTest : public testing::Test {
 protected:
  void SetUp() override {
    UseRepositoryLanguage();
    ASSERT_TRUE(sandbox_.running()) << "the Schedule service does not start";
  }
  SchedulerSandbox sandbox_{"KelvaneTest"};
};

JobTaskDefinition Definition(const std::string& name, const std::string& parameters) {
  return {name, kProgram, "C:\\Program Files\\Kelvane", "Registry cleanup", parameters};
}

const TASK_TRIGGER kMonWedFri = WeeklyTrigger(2024, 3, 10, 12, 29, 1, 0x2A);
const TASK_TRIGGER kEveryOtherFriday = WeeklyTrigger(2024, 3, 10, 11, 59, 2, 0x20);

}  // namespace

TEST_F(TaskSchedulerTest, ATaskIsMadeWithItsTriggersReadBackAndDeleted) {
  ASSERT_TRUE(
      CreateJobTask(Definition("KelvaneTestMade", "/fix"), {kMonWedFri, kEveryOtherFriday}));
  const TaskFacts facts = SchedulerSandbox::ReadTask("KelvaneTestMade");
  ASSERT_TRUE(facts.exists);
  EXPECT_EQ(facts.application, kProgram);
  EXPECT_EQ(facts.parameters, "/fix");
  EXPECT_EQ(facts.workingFolder, "C:\\Program Files\\Kelvane");
  EXPECT_EQ(facts.comment, "Registry cleanup");
  EXPECT_EQ(facts.flags & TASK_FLAG_RUN_ONLY_IF_LOGGED_ON, TASK_FLAG_RUN_ONLY_IF_LOGGED_ON);
  // Exactly the triggers given: a task saved before its triggers were added
  // would carry one the scheduler makes up for a task without any.
  ASSERT_EQ(facts.triggers.size(), 2u);
  EXPECT_TRUE(SameTrigger(facts.triggers[0], kMonWedFri)) << TriggerText(facts.triggers[0]);
  EXPECT_TRUE(SameTrigger(facts.triggers[1], kEveryOtherFriday)) << TriggerText(facts.triggers[1]);

  TaskTriggers read;
  ASSERT_TRUE(ReadJobTriggers("KelvaneTestMade", read));
  ASSERT_EQ(read.size(), 2u);
  EXPECT_TRUE(SameTrigger(read[1], kEveryOtherFriday)) << TriggerText(read[1]);
  EXPECT_EQ(GetTaskApplicationName("KelvaneTestMade"), kProgram);
  EXPECT_EQ(GetTaskParameters("KelvaneTestMade"), "/fix");

  EXPECT_TRUE(DeleteJobTask("KelvaneTestMade"));
  EXPECT_FALSE(SchedulerSandbox::ReadTask("KelvaneTestMade").exists);
  EXPECT_FALSE(JobTaskExists("KelvaneTestMade"));
  EXPECT_FALSE(DeleteJobTask("KelvaneTestMade")) << "a task that is gone";
  EXPECT_FALSE(ReadJobTriggers("KelvaneTestMade", read));
  EXPECT_EQ(read.size(), 2u) << "a failed read keeps what was remembered";
}

TEST_F(TaskSchedulerTest, ATakenNameIsRefusedAndItsTaskKeptAsItWas) {
  ASSERT_TRUE(SchedulerSandbox::MakeTask("KelvaneTestTaken", "C:\\Other\\other.exe", "/keep",
                                         {kEveryOtherFriday}));
  EXPECT_FALSE(CreateJobTask(Definition("KelvaneTestTaken", "/fix"), {kMonWedFri}));
  const TaskFacts facts = SchedulerSandbox::ReadTask("KelvaneTestTaken");
  EXPECT_EQ(facts.application, "C:\\Other\\other.exe");
  EXPECT_EQ(facts.parameters, "/keep");
  ASSERT_EQ(facts.triggers.size(), 1u);
  EXPECT_TRUE(SameTrigger(facts.triggers[0], kEveryOtherFriday)) << TriggerText(facts.triggers[0]);
}

TEST_F(TaskSchedulerTest, AJobsTaskIsFoundByWhatItRunsUnderTheNameTheOtherCallsTake) {
  // Made by hand: another name, the path in other letter case, "/FIX".
  ASSERT_TRUE(SchedulerSandbox::MakeTask("KelvaneTestOther", "C:\\Other\\other.exe", "/fix", {}));
  ASSERT_TRUE(SchedulerSandbox::MakeTask("KelvaneTestExtra", kProgram, "/fix /quiet", {}));
  ASSERT_TRUE(SchedulerSandbox::MakeTask("KelvaneTest my cleanup",
                                         "c:\\program files\\KELVANE\\kelvane.EXE", "/FIX",
                                         {kEveryOtherFriday}));
  const std::vector<std::string> enumerated = SchedulerSandbox::EnumeratedNames();
  ASSERT_NE(std::find(enumerated.begin(), enumerated.end(), "KelvaneTest my cleanup.job"),
            enumerated.end())
      << "the scheduler enumerates names with .job";

  std::vector<std::string> names;
  ASSERT_TRUE(ListTaskNames(names));
  EXPECT_NE(std::find(names.begin(), names.end(), "KelvaneTest my cleanup"), names.end());

  std::string name = "Kelvane_Clean_Registry";
  TaskTriggers triggers;
  ASSERT_TRUE(FindJobTask(kProgram, "/fix", name, triggers));
  EXPECT_EQ(name, "KelvaneTest my cleanup");
  ASSERT_EQ(triggers.size(), 1u);
  EXPECT_TRUE(SameTrigger(triggers[0], kEveryOtherFriday)) << TriggerText(triggers[0]);

  name = "unchanged";
  EXPECT_FALSE(FindJobTask(kProgram, "/defrag", name, triggers));
  EXPECT_EQ(name, "unchanged") << "nothing is handed back without a match";

  EXPECT_TRUE(DeleteJobTask("KelvaneTest my cleanup"))
      << "the name found is one the scheduler takes";
}

TEST_F(TaskSchedulerTest, OfTwoMatchingTasksTheFirstEnumeratedIsTheJobs) {
  for (const char* name : {"KelvaneTestTwinA", "KelvaneTestTwinB"})
    ASSERT_TRUE(SchedulerSandbox::MakeTask(name, kProgram, "/backup", {}));
  std::vector<std::string> names;
  ASSERT_TRUE(ListTaskNames(names));
  const auto first = std::find_if(names.begin(), names.end(), [](const std::string& n) {
    return n.rfind("KelvaneTestTwin", 0) == 0;
  });
  ASSERT_NE(first, names.end());
  std::string found;
  TaskTriggers triggers;
  ASSERT_TRUE(FindJobTask(kProgram, "/backup", found, triggers));
  EXPECT_EQ(found, *first);
}

TEST_F(TaskSchedulerTest, WhereTheSchedulerDescribesNoTriggerItsRecordIsPutInWords) {
  ASSERT_TRUE(SchedulerSandbox::MakeTask("KelvaneTestWords", kProgram, "/fix",
                                         {kMonWedFri, kEveryOtherFriday}));
  const std::vector<std::string> texts = GetJobTriggerTexts("KelvaneTestWords");
  // Wine's GetTriggerString answers E_NOTIMPL: these are the texts made here.
  EXPECT_EQ(texts,
            (std::vector<std::string>{"12:29 on Mon, Wed, Fri every 1 week(s) from 2024-03-10",
                                      "11:59 on Fri every 2 week(s) from 2024-03-10"}));
  EXPECT_TRUE(GetJobTriggerTexts("KelvaneTestNoSuchTask").empty());
}

TEST_F(TaskSchedulerTest, EditingWithoutAPropertySheetSaysSo) {
  ASSERT_TRUE(SchedulerSandbox::MakeTask("KelvaneTestEdit", kProgram, "/fix", {kMonWedFri}));
  // Wine offers neither EditWorkItem nor the task's own pages.
  EXPECT_EQ(EditJobTask("KelvaneTestEdit", nullptr), EditOutcome::kNoPropertySheet);
  EXPECT_EQ(EditJobTask("KelvaneTestNoSuchTask", nullptr), EditOutcome::kFailed);
}

TEST(TriggerText, EachKindOfTriggerIsToldFromItsRecord) {
  UseRepositoryLanguage();
  TASK_TRIGGER once = WeeklyTrigger(2025, 1, 2, 7, 5, 0, 0);
  once.TriggerType = TASK_TIME_TRIGGER_ONCE;
  TASK_TRIGGER daily = once;
  daily.TriggerType = TASK_TIME_TRIGGER_DAILY;
  daily.Type.Daily.DaysInterval = 3;
  TASK_TRIGGER weekend = WeeklyTrigger(2025, 1, 2, 23, 0, 1, TASK_SUNDAY | TASK_SATURDAY);
  TASK_TRIGGER dates = once;
  dates.TriggerType = TASK_TIME_TRIGGER_MONTHLYDATE;
  dates.Type.MonthlyDate.rgfDays = 1u | (1u << 14) | (1ul << 30);
  dates.Type.MonthlyDate.rgfMonths = TASK_JANUARY | TASK_DECEMBER;
  TASK_TRIGGER lastMonday = once;
  lastMonday.TriggerType = TASK_TIME_TRIGGER_MONTHLYDOW;
  lastMonday.Type.MonthlyDOW.wWhichWeek = TASK_LAST_WEEK;
  lastMonday.Type.MonthlyDOW.rgfDaysOfTheWeek = TASK_MONDAY;
  lastMonday.Type.MonthlyDOW.rgfMonths = 0x0FFF;
  TASK_TRIGGER logon = once;
  logon.TriggerType = TASK_EVENT_TRIGGER_AT_LOGON;
  TASK_TRIGGER unknown = once;
  unknown.TriggerType = static_cast<TASK_TRIGGER_TYPE>(42);

  const struct {
    TASK_TRIGGER trigger;
    const char* expected;
  } cases[] = {
      {once, "Once, 07:05 on 2025-01-02"},
      {daily, "07:05 every 3 day(s) from 2025-01-02"},
      {weekend, "23:00 on Sun, Sat every 1 week(s) from 2025-01-02"},
      {dates, "07:05 on day 1, 15, 31 of January, December from 2025-01-02"},
      {lastMonday, "07:05 on the last Mon of every month from 2025-01-02"},
      {logon, "At log on"},
      {unknown, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DescribeTrigger(c.trigger), c.expected) << TriggerText(c.trigger);
}

TEST(TriggerText, ATranslationWithTooFewWordsOrOtherConversionsStaysSafe) {
  ScratchFolder folder;
  const std::string translation =
      folder.WriteFile("Test.txt", "[String]\nL0278=Dim|Lun\nL0277=premier\nL0272=%d fois %s\n");
  ProcessLanguageTable().Open(translation, SourcePath("package\\Language\\English.txt"));
  TASK_TRIGGER weekly =
      WeeklyTrigger(2025, 1, 2, 8, 30, 1, TASK_SUNDAY | TASK_MONDAY | TASK_FRIDAY);
  TASK_TRIGGER second = weekly;
  second.TriggerType = TASK_TIME_TRIGGER_MONTHLYDOW;
  second.Type.MonthlyDOW.wWhichWeek = TASK_SECOND_WEEK;
  second.Type.MonthlyDOW.rgfDaysOfTheWeek = TASK_SUNDAY;
  second.Type.MonthlyDOW.rgfMonths = TASK_MARCH;
  // Days the translation lacks go by their number; a format that does not
  // fit its values is shown unfilled, then the values.
  EXPECT_EQ(DescribeTrigger(weekly), "%d fois %s 08:30 Dim, Lun, 6 1 2025-01-02");
  EXPECT_EQ(DescribeTrigger(second), "08:30 on the 2 Dim of March from 2025-01-02");
  UseRepositoryLanguage();
}
