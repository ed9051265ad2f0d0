#include <gtest/gtest.h>

#include <cstdint>

#include "foundation/file_size_text.h"
#include "foundation/printf_format.h"
#include "repair/backup_names.h"

TEST(FormatFileSize, UnitBoundaries) {
  const struct {
    std::uint64_t bytes;
    const char* text;
  } kCases[] = {
      {0, "0B"},
      {1023, "1023B"},
      {1024, "1.00KB"},
      {1536, "1.50KB"},
      {1048575, "1024.00KB"},  // rounded, still below the MB boundary
      {1048576, "1.00MB"},
      {88362762, "84.27MB"},
      {1073741824, "1.00GB"},
      {5ULL * 1073741824 + 536870912, "5.50GB"},
      {UINT64_C(1) << 40, "1024.00GB"},
  };
  for (const auto& c : kCases) EXPECT_EQ(FormatFileSize(c.bytes), c.text) << c.bytes;
}

TEST(TakesOnlyInts, AcceptsIntConversionsUpToTheCount) {
  EXPECT_TRUE(TakesOnlyInts("Backup of %02d/%02d/%04d %02d:%02d:%02d", 6));
  EXPECT_TRUE(TakesOnlyInts("%d.%d.%d %d:%d:%d", 6));
  EXPECT_TRUE(TakesOnlyInts("%-4i %+u %#x %X %o %c", 6));
  EXPECT_TRUE(TakesOnlyInts("%ld %hd 100%%", 6));
  EXPECT_TRUE(TakesOnlyInts("no numbers at all", 6));
  EXPECT_TRUE(TakesOnlyInts("", 6));
  EXPECT_TRUE(TakesOnlyInts("%.3d", 1));
}

TEST(TakesOnlyInts, RefusesWhatSixIntsCannotFill) {
  EXPECT_FALSE(TakesOnlyInts("%d %d %d %d %d %d %d", 6));  // seven
  EXPECT_FALSE(TakesOnlyInts("Backup %s", 6));
  EXPECT_FALSE(TakesOnlyInts("%02d %n", 6));
  EXPECT_FALSE(TakesOnlyInts("%f", 6));
  EXPECT_FALSE(TakesOnlyInts("%*d", 6));
  EXPECT_FALSE(TakesOnlyInts("%1$d", 6));
  EXPECT_FALSE(TakesOnlyInts("%lld", 6));
  EXPECT_FALSE(TakesOnlyInts("%p", 6));
  EXPECT_FALSE(TakesOnlyInts("ends with %", 6));
  EXPECT_FALSE(TakesOnlyInts("%02", 6));
  EXPECT_FALSE(TakesOnlyInts(std::string("%\0d", 3), 6));
}

TEST(BackupNames, FullBackupFolderNames) {
  EXPECT_EQ(FullBackupName({2009, 3, 14, 8, 5, 9}), "2009-03-14-08-05-09");
  LocalDateTime stamp;
  ASSERT_TRUE(ParseFullBackupName("2009-03-14-08-05-09", stamp));
  EXPECT_EQ(FullBackupName(stamp), "2009-03-14-08-05-09");
  ASSERT_TRUE(ParseFullBackupName("2024-02-29-23-59-59", stamp));
  EXPECT_EQ(stamp.day, 29);
}

TEST(BackupNames, PartialBackupFileNamesIgnoreTheExtension) {
  LocalDateTime stamp;
  ASSERT_TRUE(ParsePartialBackupName("2009-03-14_08-05-09.reg", stamp));
  EXPECT_EQ(stamp.year, 2009);
  EXPECT_EQ(stamp.month, 3);
  EXPECT_EQ(stamp.day, 14);
  EXPECT_EQ(stamp.hour, 8);
  EXPECT_EQ(stamp.minute, 5);
  EXPECT_EQ(stamp.second, 9);
  EXPECT_TRUE(ParsePartialBackupName("2009-03-14_08-05-09", stamp));
  EXPECT_TRUE(ParsePartialBackupName("C:\\K\\PartialBackup\\2009-03-14_08-05-09.REG", stamp));
}

TEST(BackupNames, NamesThatAreNoBackup) {
  const char* const kFullNames[] = {
      "old", "", "2009-03-14", "2009-03-14 08:05:09",
      "2009-13-14-08-05-09",                          // month 13
      "2009-02-30-08-05-09", "2023-02-29-00-00-00",   // no such day
      "2009-04-31-08-05-09", "2009-03-32-08-05-09", "2009-00-10-08-05-09",
      "2009-03-14-24-00-00", "2009-03-14-08-60-00", "2009-03-14-08-05-60",
      "1600-12-31-23-59-59",                          // before the first tick
      "2009-03-14--1-05-09",                          // a negative hour
  };
  LocalDateTime stamp{1, 2, 3, 4, 5, 6};
  for (const char* name : kFullNames) {
    EXPECT_FALSE(ParseFullBackupName(name, stamp)) << name;
    EXPECT_FALSE(ParsePartialBackupName(std::string(name) + ".reg", stamp)) << name;
  }
  EXPECT_FALSE(ParseFullBackupName("2009-03-14_08-05-09", stamp));  // the partial form
  EXPECT_FALSE(ParsePartialBackupName("notes.txt", stamp));
  EXPECT_FALSE(ParsePartialBackupName("2009-03-14-08-05-09.reg", stamp));  // the full form
  EXPECT_FALSE(ParsePartialBackupName("2009-13-14_08-05-09.reg", stamp));
  // A refused name leaves the output alone.
  EXPECT_EQ(stamp.year, 1);
  EXPECT_EQ(stamp.second, 6);
}

TEST(BackupAgeRule, WholeDaysInEitherDirection) {
  const LocalDateTime now{2024, 3, 1, 12, 0, 0};
  // Exactly 60 days before, one second less, 59 days and 23 hours.
  EXPECT_TRUE(IsBackupOldEnough({2024, 1, 1, 12, 0, 0}, now, 60));
  EXPECT_FALSE(IsBackupOldEnough({2024, 1, 1, 12, 0, 1}, now, 60));
  EXPECT_FALSE(IsBackupOldEnough({2024, 1, 1, 13, 0, 0}, now, 60));
  // The age is an absolute difference: stamps in the future count too.
  EXPECT_TRUE(IsBackupOldEnough({2024, 4, 30, 12, 0, 0}, now, 60));
  EXPECT_FALSE(IsBackupOldEnough({2024, 4, 30, 11, 59, 59}, now, 60));
  // Across a year with a leap day: 2023-12-02 to 2024-03-01 is 90 days.
  EXPECT_TRUE(IsBackupOldEnough({2023, 12, 2, 12, 0, 0}, now, 90));
  EXPECT_FALSE(IsBackupOldEnough({2023, 12, 3, 12, 0, 0}, now, 90));
}

TEST(BackupAgeRule, DayCountIsUnsigned) {
  const LocalDateTime now{2024, 3, 1, 12, 0, 0};
  // 0 makes every backup old enough, even one taken this very second.
  EXPECT_TRUE(IsBackupOldEnough(now, now, 0));
  // A negative count is a huge unsigned one: nothing is ever old enough.
  EXPECT_FALSE(IsBackupOldEnough({1601, 1, 1, 0, 0, 0}, now, -1));
  EXPECT_FALSE(IsBackupOldEnough({1601, 1, 1, 0, 0, 0}, now, -60));
  EXPECT_TRUE(IsBackupOldEnough({1601, 1, 1, 0, 0, 0}, now, 100000));
}
