#include <gtest/gtest.h>

#include "foundation/language_escapes.h"
#include "foundation/time_stamp.h"

TEST(ExpandLanguageEscapes, ReplacesTheThreeEscapesInOrder) {
  EXPECT_EQ(ExpandLanguageEscapes("Line one\\nLine two"), "Line one\nLine two");
  EXPECT_EQ(ExpandLanguageEscapes("a\\r\\nb\\tc"), "a\r\nb\tc");
  // "\\n" in a file: a backslash followed by a line feed.
  EXPECT_EQ(ExpandLanguageEscapes("x\\\\ny"), "x\\\ny");
  EXPECT_EQ(ExpandLanguageEscapes("100%"), "100%");
  EXPECT_EQ(ExpandLanguageEscapes("\\x\\"), "\\x\\");
}

TEST(TimeStamps, FormatAndParseTheThreeForms) {
  LocalDateTime t{2009, 3, 14, 8, 5, 9};
  EXPECT_EQ(FormatStamp(kSettingsStampFormat, t), "2009-03-14 08:05:09");
  EXPECT_EQ(FormatStamp(kFullBackupStampFormat, t), "2009-03-14-08-05-09");
  EXPECT_EQ(FormatStamp(kPartialBackupStampFormat, t), "2009-03-14_08-05-09");

  LocalDateTime parsed;
  ASSERT_TRUE(ParseStamp("2024-03-07 09:05:00", kSettingsStampFormat, parsed));
  EXPECT_EQ(parsed.year, 2024);
  EXPECT_EQ(parsed.minute, 5);
  EXPECT_FALSE(ParseStamp("notes", kPartialBackupStampFormat, parsed));
  EXPECT_FALSE(ParseStamp("2009-03-14-08-05-09", kPartialBackupStampFormat, parsed));
  EXPECT_FALSE(ParseStamp("", kSettingsStampFormat, parsed));
}

TEST(TimeStamps, ValidDates) {
  EXPECT_TRUE(IsValidDateTime({2024, 2, 29, 23, 59, 59}));
  EXPECT_FALSE(IsValidDateTime({2023, 2, 29, 0, 0, 0}));
  EXPECT_FALSE(IsValidDateTime({2000, 13, 1, 0, 0, 0}));
  EXPECT_FALSE(IsValidDateTime({2000, 1, 1, 24, 0, 0}));
  EXPECT_FALSE(IsValidDateTime({1600, 1, 1, 0, 0, 0}));
}

TEST(BackupAge, WholeDaysHoursMinutesAcrossMonthsAndLeapYears) {
  EXPECT_EQ(ToTicks({1601, 1, 1, 0, 0, 0}), 0);
  EXPECT_EQ(ToTicks({1601, 1, 2, 0, 0, 0}), kTicksPerDay);
  // 2000 is a leap year, 1900 is not.
  EXPECT_EQ(BackupAge({2000, 2, 28, 0, 0, 0}, {2000, 3, 1, 0, 0, 0}).days, 2u);
  EXPECT_EQ(BackupAge({1900, 2, 28, 0, 0, 0}, {1900, 3, 1, 0, 0, 0}).days, 1u);

  const TimeSpanParts span = BackupAge({2024, 1, 1, 12, 0, 0}, {2024, 3, 1, 11, 59, 0});
  EXPECT_EQ(span.days, 59u);
  EXPECT_EQ(span.hours, 23u);
  EXPECT_EQ(span.minutes, 59u);
  EXPECT_TRUE(span.secondIsLater);
  EXPECT_EQ(BackupAge({2024, 3, 1, 12, 0, 0}, {2024, 1, 1, 12, 0, 0}).days, 60u);
  EXPECT_FALSE(BackupAge({2024, 3, 1, 12, 0, 0}, {2024, 1, 1, 12, 0, 0}).secondIsLater);
}
