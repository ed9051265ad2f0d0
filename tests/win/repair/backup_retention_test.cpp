#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "backup_test_fixture.h"
#include "foundation/file_checks.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/time_stamp.h"
#include "repair/backup_manager.h"

namespace {

// Names that are not backups, whatever their age: never deleted.
const char* const kForeignPartialFiles[] = {
    "notes.txt",
    "2009-13-14_08-05-09.reg",  // month 13
    "2009-02-30_08-05-09.reg",  // no such day
    "2009-03-32_08-05-09.reg",
    "2009-03-14-08-05-09.reg",  // a full-backup name
    "backup.reg",
};
const char* const kForeignFullFolders[] = {
    "old",
    "2009-13-14-08-05-09",
    "2009-02-30-08-05-09",
    "2009-03-14-25-05-09",
    "2009-03-14_08-05-09",  // a partial-backup name
};

class PartialRetentionTest : public BackupTest {
 protected:
  // Creates PartialBackup\<stamp now + offset>.reg and returns its path.
  std::string Partial(LONGLONG offset) {
    return program.WriteFile("PartialBackup\\" + StampFromNow(offset, kPartialBackupStampFormat) +
                                 ".reg",
                             "REGEDIT4\r\n");
  }
  std::vector<std::string> Foreign() {
    std::vector<std::string> paths;
    for (const char* name : kForeignPartialFiles)
      paths.push_back(program.WriteFile(std::string("PartialBackup\\") + name));
    // A folder below PartialBackup is no backup either, and the pass does not
    // descend into it.
    paths.push_back(program.MakeFolder("PartialBackup\\Backup\\old"));
    paths.push_back(program.WriteFile("PartialBackup\\2000-01-01_00-00-00\\2000-01-01_00-00-00.reg"));
    return paths;
  }
};

class FullRetentionTest : public BackupTest {
 protected:
  // Creates Backup\<stamp now + offset>\ with an allbak.reg and a subfolder.
  std::string Full(LONGLONG offset) {
    const std::string folder =
        program.MakeFolder("Backup\\" + StampFromNow(offset, kFullBackupStampFormat));
    program.WriteFile(folder.substr(program.path().size() + 1) + "\\allbak.reg", "data");
    program.WriteFile(folder.substr(program.path().size() + 1) + "\\extra\\kept.txt", "data");
    return folder;
  }
  std::vector<std::string> Foreign() {
    std::vector<std::string> paths;
    for (const char* name : kForeignFullFolders) {
      paths.push_back(program.MakeFolder(std::string("Backup\\") + name));
      program.WriteFile(std::string("Backup\\") + name + "\\allbak.reg");
    }
    paths.push_back(program.WriteFile("Backup\\2000-01-01-00-00-00.reg"));  // a file
    paths.push_back(program.WriteFile("Backup\\notes.txt"));
    return paths;
  }
};

void ExpectAll(const std::vector<std::string>& paths, bool exist) {
  for (const std::string& path : paths) EXPECT_EQ(PathExists(path), exist) << path;
}

}  // namespace

TEST_F(PartialRetentionTest, DeletesFromSixtyDaysInEitherDirectionByDefault) {
  const std::vector<std::string> old = {
      Partial(-60 * kDay), Partial(-61 * kDay), Partial(-400 * kDay),
      Partial(60 * kDay + kHour),  // the future counts as well
  };
  const std::vector<std::string> young = {
      Partial(-(59 * kDay + 23 * kHour)), Partial(-kDay), Partial(0),
      Partial(59 * kDay),
  };
  const std::vector<std::string> foreign = Foreign();
  PrunePartialBackups(program.path());
  ExpectAll(old, false);
  ExpectAll(young, true);
  ExpectAll(foreign, true);
}

TEST_F(PartialRetentionTest, ReadOnlyOldBackupsAreDeletedToo) {
  const std::string path = Partial(-70 * kDay);
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  PrunePartialBackups(program.path());
  EXPECT_FALSE(PathExists(path));
}

TEST_F(PartialRetentionTest, SettingsDecideWhatIsOld) {
  const struct {
    const char* autoDel;  // nullptr: not in Settings.ini
    const char* days;
    bool oldDeleted;
    bool youngDeleted;
  } kCases[] = {
      {nullptr, nullptr, true, false},  // defaults: on, 60 days
      {"0", "0", false, false},         // switched off: nothing is deleted
      {"1", "10", true, true},
      {"1", "0", true, true},           // 0: every stamped backup
      {"1", "-1", false, false},        // negative: unsigned, so none
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.autoDel ? c.autoDel : "-") + "/" + (c.days ? c.days : "-"));
    WritePrivateProfileStringA(kSettingsSection, kKeyAutoDelBackup, c.autoDel,
                               (program / "Settings.ini").c_str());
    WritePrivateProfileStringA(kSettingsSection, kKeyAutoDelBackupDays, c.days,
                               (program / "Settings.ini").c_str());
    const std::string old = Partial(-(70 * kDay));
    const std::string young = Partial(-(12 * kDay));
    const std::string now = Partial(0);
    const std::vector<std::string> foreign = Foreign();
    PrunePartialBackups(program.path());
    EXPECT_EQ(!PathExists(old), c.oldDeleted);
    EXPECT_EQ(!PathExists(young), c.youngDeleted);
    // Only a day count of 0 takes a backup of this very moment.
    EXPECT_EQ(!PathExists(now), c.youngDeleted && std::string(c.days) == "0");
    ExpectAll(foreign, true);
    DeleteFileForced(old);
    DeleteFileForced(young);
    DeleteFileForced(now);
  }
}

TEST_F(PartialRetentionTest, NoFolderNoHarm) {
  PrunePartialBackups(program.path());
  EXPECT_FALSE(PathExists(program / "PartialBackup"));
}

TEST_F(FullRetentionTest, DeletesFromNinetyDaysInEitherDirectionByDefault) {
  const std::vector<std::string> old = {
      Full(-90 * kDay), Full(-91 * kDay), Full(-1000 * kDay), Full(90 * kDay + kHour),
  };
  const std::vector<std::string> young = {
      Full(-(89 * kDay + 23 * kHour)), Full(-kDay), Full(0), Full(89 * kDay),
  };
  const std::vector<std::string> foreign = Foreign();
  PruneFullBackups(program.path());
  ExpectAll(old, false);
  ExpectAll(young, true);
  ExpectAll(foreign, true);
  for (const std::string& folder : young) EXPECT_TRUE(FileExists(folder + "\\extra\\kept.txt"));
  EXPECT_TRUE(FolderExists(program / "Backup"));
}

TEST_F(FullRetentionTest, SettingsDecideWhatIsOld) {
  const struct {
    const char* autoDel;
    const char* days;
    bool oldDeleted;
    bool youngDeleted;
  } kCases[] = {
      {"0", "0", false, false},
      {"1", "20", true, true},
      {"1", "0", true, true},
      {"1", "-1", false, false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.autoDel ? c.autoDel : "-") + "/" + (c.days ? c.days : "-"));
    WritePrivateProfileStringA(kSettingsSection, kKeyAutoDelFullBackup, c.autoDel,
                               (program / "Settings.ini").c_str());
    WritePrivateProfileStringA(kSettingsSection, kKeyAutoDelFullBackupDays, c.days,
                               (program / "Settings.ini").c_str());
    // The partial-backup keys must not steer this pass.
    WriteSettingInt(kKeyAutoDelBackup, 0);
    WriteSettingInt(kKeyAutoDelBackupDays, 1);
    const std::string old = Full(-(100 * kDay));
    const std::string young = Full(-(25 * kDay));
    const std::vector<std::string> foreign = Foreign();
    PruneFullBackups(program.path());
    EXPECT_EQ(!PathExists(old), c.oldDeleted);
    EXPECT_EQ(!PathExists(young), c.youngDeleted);
    ExpectAll(foreign, true);
    RemoveFolderTree(old);
    RemoveFolderTree(young);
  }
}
