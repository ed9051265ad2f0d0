#include <gtest/gtest.h>

#include "foundation/time_stamp.h"
#include "repair/backup_names.h"

using namespace kelvane;

TEST(BackupNames, NamesThatAreNoBackupLeaveTheStampAlone) {
  // clang-format off
  const char* const kNames[] = {"old", "", "2009-03-14", "2009-03-14 08:05:09",
      "2009-13-14-08-05-09", "2009-02-30-08-05-09", "2023-02-29-00-00-00", "2009-04-31-08-05-09",
      "2009-03-14-08-05-60", "2009-03-14--1-05-09", "1600-12-31-23-59-59"};  // before tick 0
  // clang-format on
  LocalDateTime stamp{1, 2, 3, 4, 5, 6};
  for (const char* name : kNames) {
    EXPECT_FALSE(ParseFullBackupName(name, stamp)) << name;
    std::string partial = std::string(name) + ".reg";
    if (partial.size() > 10) partial[10] = '_';  // the partial form of the same stamp
    EXPECT_FALSE(ParsePartialBackupName(partial, stamp)) << partial;
  }
  EXPECT_FALSE(ParseFullBackupName("2009-03-14_08-05-09", stamp));
  EXPECT_FALSE(ParsePartialBackupName("2009-03-14-08-05-09.reg", stamp));
  EXPECT_EQ(FullBackupName(stamp), "0001-02-03-04-05-06");
}

// Whole days back from now; a stamp in the future is never old (a clock set back must not
// empty the folders), and a count below 1 takes nothing.
TEST(BackupAge, RetentionDayRule) {
  EXPECT_EQ(BackupAge({2000, 2, 28, 0, 0, 0}, {2000, 3, 1, 0, 0, 0}).days, 2u);  // a leap year
  EXPECT_EQ(BackupAge({1900, 3, 1, 0, 0, 0}, {1900, 2, 28, 0, 0, 0}).days, 1u);
  const LocalDateTime now{2024, 3, 1, 12, 0, 0};
  // clang-format off
  const struct { LocalDateTime stamp; int days; bool old; } kCases[] = {
      {{2024, 1, 1, 12, 0, 0}, 60, true}, {{2024, 1, 1, 12, 0, 1}, 60, false},
      {{2024, 4, 30, 12, 0, 0}, 60, false}, {{1601, 1, 1, 0, 0, 0}, 0, false},
      {{2025, 3, 1, 12, 0, 0}, 1, false}, {{2024, 3, 1, 12, 0, 1}, 1, false},
      {{1601, 1, 1, 0, 0, 0}, -1, false},
      {{1601, 1, 1, 0, 0, 0}, -60, false}, {{1601, 1, 1, 0, 0, 0}, 100000, true}};
  // clang-format on
  for (const auto& c : kCases)
    EXPECT_EQ(IsBackupOldEnough(c.stamp, now, c.days), c.old)
        << FullBackupName(c.stamp) << " " << c.days;
}
