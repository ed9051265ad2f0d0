#include "foundation/settings_store.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "foundation/program_paths.h"
#include "foundation/settings_keys.h"
#include "support/scratch_folder.h"

class SettingsStoreTest : public ::testing::Test {
 protected:
  ScratchFolder folder;
  std::string ini = folder / "Settings.ini";

  void SetUp() override { SetSettingsPaths(ini, folder / "Settings.xml"); }
  void TearDown() override { SetSettingsPaths("", ""); }
};

TEST_F(SettingsStoreTest, DefaultsWithoutAFile) {
  EXPECT_EQ(ReadSettingInt(kKeyAutoDelBackupDays, kDefaultAutoDelBackupDays), 60);
  EXPECT_EQ(ReadSettingInt(kKeyAutoDelFullBackupDays, kDefaultAutoDelFullBackupDays), 90);
  EXPECT_EQ(ReadSettingInt(kKeyBackupWhenClean, kDefaultBackupWhenClean), 1);
  EXPECT_EQ(ReadSettingInt(kKeyAutoDelBackup, kDefaultAutoDelBackup), 1);
  EXPECT_EQ(ReadSettingInt(kKeyAutoDelFullBackup, kDefaultAutoDelFullBackup), 1);
  EXPECT_EQ(ReadSettingInt(kKeyInitPage, kDefaultInitPage), 0);
  EXPECT_EQ(ReadSetting(kKeyLastScan), "");
  EXPECT_EQ(ReadSetting(kKeyLanguageFile), "");
}

TEST_F(SettingsStoreTest, WritesCreateTheFileInProfileFormat) {
  EXPECT_TRUE(WriteSettingInt(kKeyErrorCount, -1));
  EXPECT_TRUE(WriteSetting(kKeyLastScan, "2024-03-07 09:05:00"));
  EXPECT_EQ(ReadSettingInt(kKeyErrorCount, 5), -1);
  EXPECT_EQ(ReadSetting(kKeyLastScan), "2024-03-07 09:05:00");
  const std::string content = ReadWholeFile(ini);
  EXPECT_NE(content.find("[Settings]"), std::string::npos);
  EXPECT_NE(content.find("ErrorCnt=-1"), std::string::npos);
}

TEST_F(SettingsStoreTest, IntegersWithoutLeadingDigitsReadAsZero) {
  WriteSetting(kKeyInitPage, "abc");
  EXPECT_EQ(ReadSettingInt(kKeyInitPage, 3), 0);
  WriteSetting(kKeyInitPage, "42xyz");
  EXPECT_EQ(ReadSettingInt(kKeyInitPage, 3), 42);
}

TEST_F(SettingsStoreTest, WriteSettingNowWritesALocalStamp) {
  ASSERT_TRUE(WriteSettingNow(kKeyLastClean));
  const std::string stamp = ReadSetting(kKeyLastClean);
  int y, mo, d, h, mi, s;
  EXPECT_EQ(std::sscanf(stamp.c_str(), "%4d-%2d-%2d %2d:%2d:%2d", &y, &mo, &d, &h, &mi, &s), 6)
      << stamp;
  EXPECT_EQ(stamp.size(), 19u);
}

TEST_F(SettingsStoreTest, OnlyTheFirstPathTokenFoundIsExpanded) {
  char windows[MAX_PATH], temp[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  GetTempPathA(MAX_PATH, temp);
  std::string tempFolder = temp;
  if (tempFolder.back() == '\\') tempFolder.pop_back();
  const std::string program = GetProgramFolder();

  struct Case {
    const char* stored;
    std::string expected;
  } cases[] = {
      {"%module_path%\\x", program + "\\x"},
      {"%temp_path%\\%module_path%", "%temp_path%\\" + program},
      {"%window_path%;%window_path%", std::string(windows) + ";" + windows},
      {"%temp_path%\\a", tempFolder + "\\a"},
      {"%MODULE_PATH%\\x", "%MODULE_PATH%\\x"},
      {"plain", "plain"},
  };
  for (const Case& c : cases) {
    WriteSetting(kKeySkinName, c.stored);
    EXPECT_EQ(ReadSetting(kKeySkinName), c.expected) << c.stored;
  }
  EXPECT_EQ(SettingsStore::ReadString("Settings", "Missing", "%module_path%", ini), program);
}

TEST(ProgramFolder, CutsAtTheLastSeparator) {
  EXPECT_EQ(ProgramFolderOf("C:\\Tools\\Kelvane\\Kelvane.exe"), "C:\\Tools\\Kelvane");
  EXPECT_EQ(ProgramFolderOf("C:\\Kelvane.exe"), "C:");
  EXPECT_EQ(ProgramFolderOf("C:Kelvane.exe"), "C:");
  const std::string folder = GetProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  EXPECT_EQ(GetProgramFilePath().rfind(folder + "\\", 0), 0u);
}
