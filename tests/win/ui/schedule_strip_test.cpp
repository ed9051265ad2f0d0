// The home page's scheduled tasks strip against the prefix's real Task
// Scheduler: a box makes and deletes its job's task, the times a task had
// come back when it is made again, a task is recognised by what it runs, a
// taken name is left alone, and the box always shows what the scheduler
// holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/language_table.h"
#include "foundation/program_paths.h"
#include "foundation/time_stamp.h"
#include "resource_ids.h"
#include "support/scheduler_sandbox.h"
#include "ui/pages/home_page.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

LocalDateTime Now() { return LocalDateTime{2024, 3, 10, 12, 0, 0}; }

// The home page alone; it reads the scheduler when made.
struct HomeOnly : HostedPage<HomePage> {
  HomeOnly() : HostedPage<HomePage>(PageContext{}, Now) {}
};

class ScheduleStripTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sandbox_.running()) << "the Schedule service does not start";
  }
  static std::string NotSet() { return LanguageText("L0217") + " " + LanguageText("L0218"); }

  ProgramFolder program_;
  SchedulerSandbox sandbox_{"Kelvane"};
};

struct Job {
  int box;
  int button;
  const char* task;
  const char* parameters;
  const char* commentKey;
  TASK_TRIGGER trigger;
  const char* times;
};

const Job kJobs[] = {
    {IDC_SCHEDULE_FIX_CHECK, IDC_SCHEDULE_FIX_BUTTON, "Kelvane_Clean_Registry", "/fix", "L0152",
     WeeklyTrigger(2024, 3, 10, 12, 29, 1, 0x2A),
     "12:29 on Mon, Wed, Fri every 1 week(s) from 2024-03-10"},
    {IDC_SCHEDULE_DEFRAG_CHECK, IDC_SCHEDULE_DEFRAG_BUTTON, "Kelvane_Defragment_Registry",
     "/defrag", "L0166", WeeklyTrigger(2024, 3, 10, 23, 59, 1, 0x20),
     "23:59 on Fri every 1 week(s) from 2024-03-10"},
    {IDC_SCHEDULE_BACKUP_CHECK, IDC_SCHEDULE_BACKUP_BUTTON, "Kelvane_Back_Up_Registry", "/backup",
     "L0168", WeeklyTrigger(2024, 3, 10, 11, 59, 2, 0x20),
     "11:59 on Fri every 2 week(s) from 2024-03-10"},
};

}  // namespace

TEST_F(ScheduleStripTest, TickingAJobMakesItsTaskFromTodayAndClearingDeletesIt) {
  HomeOnly home;
  for (const Job& job : kJobs) {
    SCOPED_TRACE(job.task);
    EXPECT_FALSE(home.Ticked(job.box));
    EXPECT_FALSE(home.Enabled(job.button));
    EXPECT_EQ(home.Text(job.button), NotSet());

    home.Click(job.box);
    const TaskFacts facts = SchedulerSandbox::ReadTask(job.task);
    ASSERT_TRUE(facts.exists);
    EXPECT_EQ(facts.application, GetProgramFilePath());
    EXPECT_EQ(facts.parameters, job.parameters);
    EXPECT_EQ(facts.workingFolder, GetProgramFolder());
    EXPECT_EQ(facts.comment, LanguageText(job.commentKey));
    ASSERT_EQ(facts.triggers.size(), 1u);
    EXPECT_TRUE(SameTrigger(facts.triggers[0], job.trigger)) << TriggerText(facts.triggers[0]);
    EXPECT_TRUE(home.Ticked(job.box));
    EXPECT_TRUE(home.Enabled(job.button));
    EXPECT_EQ(home.Text(job.button), LanguageText("L0217") + " " + job.times + "; ");

    home.Click(job.box);
    EXPECT_FALSE(SchedulerSandbox::ReadTask(job.task).exists);
    EXPECT_FALSE(home.Ticked(job.box));
    EXPECT_FALSE(home.Enabled(job.button));
    EXPECT_EQ(home.Text(job.button), NotSet());
  }
}

TEST_F(ScheduleStripTest, ClearingAndTickingAgainBringsBackTheTimesTheTaskHad) {
  const Job& backup = kJobs[2];
  HomeOnly home;
  home.Click(backup.box);
  // The user sets other times in the task's own property sheet.
  const TASK_TRIGGER tuesdays = WeeklyTrigger(2024, 4, 2, 6, 15, 1, TASK_TUESDAY);
  ASSERT_TRUE(SchedulerSandbox::SetTriggers(backup.task, {tuesdays}));
  home.page.Refresh();
  EXPECT_EQ(home.Text(backup.button),
            LanguageText("L0217") + " 06:15 on Tue every 1 week(s) from 2024-04-02; ");

  home.Click(backup.box);
  ASSERT_FALSE(SchedulerSandbox::ReadTask(backup.task).exists);
  home.Click(backup.box);
  const TaskFacts facts = SchedulerSandbox::ReadTask(backup.task);
  ASSERT_EQ(facts.triggers.size(), 1u);
  EXPECT_TRUE(SameTrigger(facts.triggers[0], tuesdays)) << TriggerText(facts.triggers[0]);
}

TEST_F(ScheduleStripTest, ATaskMadeByHandThatRunsTheJobIsTheJobsAndClearedByItsName) {
  const std::string program = GetProgramFilePath();
  std::string shouted = program;
  CharUpperBuffA(&shouted[0], static_cast<DWORD>(shouted.size()));
  ASSERT_TRUE(SchedulerSandbox::MakeTask("KelvaneTest nightly fix", shouted, "/FIX",
                                         {WeeklyTrigger(2024, 1, 1, 3, 0, 1, TASK_SUNDAY)}));
  HomeOnly home;
  EXPECT_TRUE(home.Ticked(IDC_SCHEDULE_FIX_CHECK));
  EXPECT_EQ(home.Text(IDC_SCHEDULE_FIX_BUTTON),
            LanguageText("L0217") + " 03:00 on Sun every 1 week(s) from 2024-01-01; ");
  EXPECT_FALSE(home.Ticked(IDC_SCHEDULE_DEFRAG_CHECK));

  home.Click(IDC_SCHEDULE_FIX_CHECK);
  EXPECT_FALSE(SchedulerSandbox::ReadTask("KelvaneTest nightly fix").exists);
  EXPECT_FALSE(home.Ticked(IDC_SCHEDULE_FIX_CHECK));
}

TEST_F(ScheduleStripTest, ATakenNameIsLeftAloneAndTheBoxShowsTheJobHasNoTask) {
  const TASK_TRIGGER theirs = WeeklyTrigger(2024, 1, 1, 9, 0, 1, TASK_MONDAY);
  ASSERT_TRUE(SchedulerSandbox::MakeTask("Kelvane_Clean_Registry", "C:\\Other\\other.exe", "/fix",
                                         {theirs}));
  HomeOnly home;
  EXPECT_FALSE(home.Ticked(IDC_SCHEDULE_FIX_CHECK));
  EXPECT_EQ(home.Text(IDC_SCHEDULE_FIX_BUTTON), NotSet())
      << "the other task's times are not the job's";

  home.Click(IDC_SCHEDULE_FIX_CHECK);
  EXPECT_FALSE(home.Ticked(IDC_SCHEDULE_FIX_CHECK)) << "the box shows what the scheduler holds";
  EXPECT_FALSE(home.Enabled(IDC_SCHEDULE_FIX_BUTTON));
  const TaskFacts facts = SchedulerSandbox::ReadTask("Kelvane_Clean_Registry");
  EXPECT_EQ(facts.application, "C:\\Other\\other.exe");
  ASSERT_EQ(facts.triggers.size(), 1u) << "no trigger of the job was added to it";
  EXPECT_TRUE(SameTrigger(facts.triggers[0], theirs)) << TriggerText(facts.triggers[0]);
}

TEST_F(ScheduleStripTest, WhereNoPropertySheetOpensTheButtonSaysSo) {
  HomeOnly home;
  home.Click(IDC_SCHEDULE_FIX_CHECK);
  ASSERT_TRUE(home.Enabled(IDC_SCHEDULE_FIX_BUTTON));
  const std::string before = home.Text(IDC_SCHEDULE_FIX_BUTTON);
  EXPECT_EQ(AnswerBoxes({"Kelvane"}, [&] { home.Click(IDC_SCHEDULE_FIX_BUTTON); }),
            LanguageText("L0279"));
  EXPECT_EQ(home.Text(IDC_SCHEDULE_FIX_BUTTON), before);
}
