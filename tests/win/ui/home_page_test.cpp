// The home page: whether each job is due, from the stamp of its last run, and
// done texts whose conversions do not fit their values shown unfilled.
#include <gtest/gtest.h>

#include <string>

#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "resource_ids.h"
#include "ui/pages/home_page.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

LocalDateTime Now() { return LocalDateTime{2024, 3, 10, 12, 0, 0}; }
using HomeOnly = HostedPage<HomePage>;

}  // namespace

TEST(HomePage, EachJobIsDueFromItsOwnAgeOn) {
  const struct {
    const char* key;
    const char* stamp;
    int advice;
    const char* expected;  // L0150 not due, L0151 due
  } cases[] = {
      {kKeyLastClean, "2024-03-07 12:00:01", IDC_HOME_FIX_ADVICE, "L0150"},
      {kKeyLastClean, "2024-03-07 12:00:00", IDC_HOME_FIX_ADVICE, "L0151"},
      {kKeyLastDefrag, "2024-03-04 12:00:00", IDC_HOME_DEFRAG_ADVICE, "L0150"},
      {kKeyLastDefrag, "2024-03-03 12:00:00", IDC_HOME_DEFRAG_ADVICE, "L0151"},
      {kKeyLastBackup, "2024-02-25 12:00:00", IDC_HOME_BACKUP_ADVICE, "L0151"},
      {kKeyLastBackup, "2024-02-30 10:00:00", IDC_HOME_BACKUP_ADVICE, "L0151"},  // no such day
  };
  for (const auto& c : cases) {
    ProgramFolder program;
    WriteSetting(c.key, c.stamp);
    HomeOnly home(PageContext{}, Now);
    EXPECT_EQ(home.Text(c.advice), LanguageText(c.expected)) << c.key << "=" << c.stamp;
  }
}

TEST(HomePage, ADoneTextWhoseConversionsDoNotFitIsShownUnfilled) {
  ProgramFolder program;
  const std::string translation = program.files().WriteFile(
      "Language\\Test.txt",
      "[String]\nL0149=%d times, last on %s\nL0170=Saved %s %n\nL0155=Maerz\n");
  ProcessLanguageTable().Open(translation, program.files() / "Language\\English.txt");
  WriteSetting(kKeyLastClean, "2024-03-08 12:00:00");
  WriteSetting(kKeyLastBackup, "2024-03-08 12:00:00");
  HomeOnly home(PageContext{}, Now);
  EXPECT_EQ(home.Text(IDC_HOME_FIX_STATUS), "%d times, last on %s Maerz 08, 2024. 12:00 PM 2")
      << "a number where the date goes";
  EXPECT_EQ(home.Text(IDC_HOME_BACKUP_STATUS), "Saved %s %n Maerz 08, 2024. 12:00 PM 2")
      << "%n is never filled";
}
