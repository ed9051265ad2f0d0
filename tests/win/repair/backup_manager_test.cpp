#include "repair/backup_manager.h"
#include "repair/backup_retention.h"

#include <cstdio>

#include "foundation/file_checks.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/time_stamp.h"
#include "repair_test_support.h"
#include "support/registry_sandbox.h"
#include "support/test_paths.h"

using namespace kelvane;

namespace {

constexpr LONGLONG kHour = 36000000000LL, kDay = 24 * kHour;

// The local time now moved by `offset` (100 ns units), by the system's own conversions.
std::string StampFromNow(LONGLONG offset, const char* format) {
  SYSTEMTIME time;
  GetLocalTime(&time);
  ULARGE_INTEGER ticks;
  SystemTimeToFileTime(&time, reinterpret_cast<FILETIME*>(&ticks));
  ticks.QuadPart += offset;
  FileTimeToSystemTime(reinterpret_cast<FILETIME*>(&ticks), &time);
  char text[32];
  std::snprintf(text, sizeof text, format, time.wYear, time.wMonth, time.wDay, time.wHour,
                time.wMinute, time.wSecond);
  return text;
}

// A REGEDIT4 file that sets `name` in HKEY_CURRENT_USER\<key>.
std::string RegFileSetting(const std::string& key, const std::string& name) {
  return "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + key + "]\r\n\"" + name + "\"=\"1\"\r\n\r\n";
}

// Names that are no backup, whatever they seem to say: never touched.
// clang-format off
const char* const kNoBackups[] = {
    "PartialBackup\\notes.txt",               "PartialBackup\\2009-02-30_08-05-09.reg",
    "PartialBackup\\2009-03-14-08-05-09.reg", "PartialBackup\\2000-01-01_00-00-00\\a.reg",
    "Backup\\old\\allbak.reg",                "Backup\\2009-13-14-08-05-09\\allbak.reg",
    "Backup\\2009-03-14_08-05-09\\allbak.reg", "Backup\\2000-01-01-00-00-00"};  // a file
// clang-format on

using BackupManager = ProgramFolderTest;

}  // namespace

TEST_F(BackupManager, RetentionDeletesExactlyTheStampedBackupsOldEnough) {
  const char* const kKeys[] = {kKeyAutoDelBackup, kKeyAutoDelBackupDays, kKeyAutoDelFullBackup,
                               kKeyAutoDelFullBackupDays};
  const struct {
    const char* settings[4];                   // as kKeys; nullptr: not set
    const char *partialDeleted, *fullDeleted;  // per age below, '1' = deleted
  } kCases[] = {// 60 and 90 days; a stamp in the future is never old, however far ahead.
                {{nullptr, nullptr, nullptr, nullptr}, "100000", "100000"},
                {{"0", "0", "1", "0"}, "000000", "100000"},    // switched off; 0 days reads as 90
                {{"1", "10", "1", "-1"}, "110010", "100000"},  // 10 days; -1 reads as 90
                {{"1", "0", "0", "0"}, "100000", "000000"},    // 0 reads as 60; switched off
                {{"1", "-1", "1", "10"}, "100000", "110010"},
                {{"yes", "5x", "1", "99999999999"}, "100000", "100000"}};  // typos read as defaults
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.partialDeleted + std::string(" ") + c.fullDeleted);
    for (int k = 0; k < 4; ++k)
      WritePrivateProfileStringA(kSettingsSection, kKeys[k], c.settings[k],
                                 (program / "Settings.ini").c_str());
    std::vector<std::string> partial, full;
    for (LONGLONG d : {60, 90}) {
      // The days ago, an hour less, the days and an hour ahead, a day less ahead, 12 days ago, now.
      for (LONGLONG age :
           {-d * kDay, kHour - d * kDay, d * kDay + kHour, (d - 1) * kDay, -12 * kDay, 0LL}) {
        if (d == 60) {
          partial.push_back(program.WriteFile(
              "PartialBackup\\" + StampFromNow(age, kPartialBackupStampFormat) + ".reg"));
        } else {
          full.push_back(program.WriteFile("Backup\\" + StampFromNow(age, kFullBackupStampFormat) +
                                           "\\sub\\allbak.reg"));
        }
      }
    }
    SetFileAttributesA(partial[0].c_str(), FILE_ATTRIBUTE_READONLY);
    for (const char* name : kNoBackups) program.WriteFile(name);
    PrunePartialBackups(program.path());
    PruneFullBackups(program.path());
    for (std::size_t i = 0; i < 6; ++i) {
      EXPECT_EQ(PathExists(partial[i]), c.partialDeleted[i] == '0') << partial[i];
      EXPECT_EQ(PathExists(full[i]), c.fullDeleted[i] == '0') << full[i];
    }
    for (const char* name : kNoBackups) EXPECT_TRUE(PathExists(program / name)) << name;
    RemoveFolderTree(program / "PartialBackup");
    RemoveFolderTree(program / "Backup");
  }
}

TEST_F(BackupManager, DeletionTakesStampedBackupsOnly) {
  for (const char* name : kNoBackups) program.WriteFile(name);
  program.WriteFile("Backup\\2009-03-14-08-05-09\\allbak.reg");
  program.MakeFolder("Backup\\2010-11-02-23-04-05");
  for (const std::string& folder :
       {program / "Backup\\old", program / "Backup", program.path(), std::string()})
    EXPECT_FALSE(DeleteFullBackup(folder)) << folder;
  for (const char* name : kNoBackups) EXPECT_TRUE(PathExists(program / name)) << name;
  EXPECT_TRUE(DeleteFullBackup(program / "Backup\\2009-03-14-08-05-09\\"));
  EXPECT_FALSE(PathExists(program / "Backup\\2009-03-14-08-05-09"));
  EXPECT_TRUE(PathExists(program / "Backup\\2010-11-02-23-04-05"));
}

// The editor imports into the real registry of the test prefix, in a scratch key.
TEST_F(BackupManager, RestoresImportOnlyWhatTheyShould) {
  RealScratchKey key;
  const std::string content = RegFileSetting(key.path(), "Partial");
  const std::string file = program.WriteFile("PartialBackup\\2009-03-14_08-05-09.reg", content);
  // reg.exe knows no "/s" and fails: nothing was imported, so the file is kept.
  EXPECT_FALSE(RestorePartialBackup(file, "reg.exe"));
  EXPECT_FALSE(ValueExists(kCurrentUser, key.path(), "Partial"));
  EXPECT_EQ(ReadWholeFile(file), content);

  EXPECT_FALSE(RestoreFullBackup(program.MakeFolder("Backup\\2009-03-14-08-05-09")));
  const std::string full = program.WriteFile("Backup\\2009-03-15-08-05-09\\allbak.reg",
                                             RegFileSetting(key.path(), "Full"));
  EXPECT_TRUE(RestoreFullBackup(program / "Backup\\2009-03-15-08-05-09"));
  EXPECT_TRUE(ValueExists(kCurrentUser, key.path(), "Full"));
  EXPECT_TRUE(FileExists(full));
}
